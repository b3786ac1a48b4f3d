#include "lists/Utskriftsomgivning.h"
#include "printouts/Registrering.h"
#include "printouts/Vandringsprislista.h"
#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Programdelar.h"
#include "shell/frmStatusUtskrift.h"
#include "shell/modGlobalt.h"

namespace Utskrifter {

namespace {

// No shooter can be entered and no other list started while the prize list
// is made.
const Menylagen Lagen{.avVidOppning = {Meny::mnuInskrivning, Meny::mnuUtskrift},
                      .paVidStangning = {Meny::mnuInskrivning, Meny::mnuUtskrift}};

// Gives the items back however the builder leaves.
class Tillbaka {
public:
    explicit Tillbaka(Fonstervard& vard) : m_vard(vard) {}
    ~Tillbaka() { m_vard.stangdes(Lagen); }
    Tillbaka(const Tillbaka&) = delete;
    Tillbaka& operator=(const Tillbaka&) = delete;

private:
    Fonstervard& m_vard;
};

// The status text stays the same from the start to the saved file; only the
// status window is painted while the list is made.
// The saved file's folder is told once the status window is gone.
void SkrivVandringsprisLista(Formkontext& k, const Utskriftsmal& mal) {
    const Tillbaka tillbaka(k.fonster());
    std::optional<QString> sparad;
    {
        frmStatusUtskrift status(k.g().strProgrammapp, k.m(), k.fonster().dialogforalder());
        status.show();
        status.visaStatus(QStringLiteral("Skapar resultatlistan.\r\nVänta..."));
        const Utskriftsomgivning omgivning(k);
        const Arbetsboksram::Omgivning& o = omgivning.omgivning();
        sparad = Vandringsprislista::kor(o, mal);
    }
    if (sparad && mal == Utskriftsmal::Fil)
        Arbetsboksram::visaSparad(k.m(), k.g());
}

} // namespace

void registreraVandringsprislista(const Programdelar& delar) {
    delar.fonster.registreraListbyggare(Fonsternamn::VandringsprisLista, SkrivVandringsprisLista, Lagen);
}

} // namespace Utskrifter
