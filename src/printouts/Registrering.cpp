#include "printouts/Registrering.h"

#include "output/Listkorning.h"
#include "printouts/Vandringsprisbok.h"
#include "printouts/frmForeningsutskrift.h"
#include "printouts/frmLagutskrift.h"
#include "printouts/frmUtskriftSkjutlag.h"
#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Programdelar.h"

namespace Utskrifter {

namespace {

// While a list's dialog is open no shooter, squad or setting can change under
// the list, and no other list can be started.
const Menylagen Dialoglagen{
    .avVidOppning = {Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning},
    .paVidStangning = {Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning}};

// No shooter can be entered and no other list started while the prize list
// is made.
const Menylagen Prislagen{.avVidOppning = {Meny::mnuInskrivning, Meny::mnuUtskrift},
                          .paVidStangning = {Meny::mnuInskrivning, Meny::mnuUtskrift}};

// Gives the items back however the builder leaves.
class Tillbaka {
public:
    explicit Tillbaka(Fonstervard& vard) : m_vard(vard) {}
    ~Tillbaka() { m_vard.stangdes(Prislagen); }
    Tillbaka(const Tillbaka&) = delete;
    Tillbaka& operator=(const Tillbaka&) = delete;

private:
    Fonstervard& m_vard;
};

// The challenge-prize list has no dialog: the main window's command builds it
// at once. The status text stays the same from the start to the saved file.
void SkrivVandringsprisLista(Formkontext& k, const Utskriftsmal& mal) {
    const Tillbaka tillbaka(k.fonster());
    Listkorning::kor(k,
                     {.mal = mal,
                      .lista = &Vandringsprisbok::ark(),
                      .status = QStringLiteral("Skapar resultatlistan.\r\nVänta...")},
                     [&](const Arbetsboksram::Omgivning& o) { return Vandringsprisbok::kor(o, mal); });
}

// A dialog that could not read what it offers is not shown.
template <class Dialog> QWidget* laddad(Dialog* dialog) {
    if (!dialog->laddad()) {
        delete dialog;
        return nullptr;
    }
    return dialog;
}

} // namespace

void registrera(const Programdelar& delar) {
    delar.fonster.registreraFonster(
        Fonsternamn::UtskriftSkjutlag,
        [](Formkontext& k, const Utskriftsmal& mal) -> QWidget* { return new frmUtskriftSkjutlag(k, mal); },
        {.menyer = Dialoglagen, .normalLage = true});
    delar.fonster.registreraListbyggare(Fonsternamn::VandringsprisLista, SkrivVandringsprisLista, Prislagen);
    delar.fonster.registreraFonster(
        Fonsternamn::Lagutskrift,
        [](Formkontext& k, const Utskriftsmal& mal) { return laddad(new frmLagutskrift(k, mal)); },
        {.menyer = Dialoglagen, .storlek = QSize(frmLagutskrift::Bredd, frmLagutskrift::Hojd)});
    delar.fonster.registreraFonster(
        Fonsternamn::Foreningsutskrift,
        [](Formkontext& k, const Utskriftsmal& mal) { return laddad(new frmForeningsutskrift(k, mal)); },
        {.menyer = Dialoglagen,
         .storlek = QSize(frmForeningsutskrift::Bredd, frmForeningsutskrift::Hojd),
         .normalLage = true});
}

} // namespace Utskrifter
