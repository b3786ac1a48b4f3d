#include "shell/Registrering.h"

#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "shell/Programdelar.h"
#include "shell/frmNyTavling.h"
#include "shell/frmOm.h"

namespace Skal {

void registrera(const Programdelar& delar) {
    // What the dialog gives back when it closes depends on whether it created a
    // competition; that stays in the dialog.
    delar.fonster.registreraFonster(
        Fonsternamn::NyTavling, [](Formkontext& k) { return new frmNyTavling(k); },
        {.menyer = {.avVidOppning = {Meny::mnuNy, Meny::mnuOppna, Meny::mnuImportera, Meny::mnuStang}}});
    delar.fonster.registreraDialog(Fonsternamn::Om, [](Formkontext& k) {
        frmOm om(k);
        return om.exec() == QDialog::Accepted;
    });
}

} // namespace Skal
