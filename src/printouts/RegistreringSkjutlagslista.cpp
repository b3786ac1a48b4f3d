#include "printouts/Registrering.h"
#include "printouts/frmUtskriftSkjutlag.h"
#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "shell/Programdelar.h"

namespace Utskrifter {

void registreraSkjutlagslista(const Programdelar& delar) {
    // While the dialog is open no shooter, squad or setting can change under
    // the list, and no other list can be started.
    delar.fonster.registreraFonster(
        Fonsternamn::UtskriftSkjutlag,
        [](Formkontext& k, const Utskriftsmal& mal) -> QWidget* { return new frmUtskriftSkjutlag(k, mal); },
        {.menyer = {.avVidOppning = {Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning},
                    .paVidStangning = {Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning}},
         .normalLage = true});
}

} // namespace Utskrifter
