#include "registration/Registrering.h"

#include "registration/frmInskrivningSkyttar.h"
#include "registration/frmLagInskrivning.h"
#include "registration/frmSokSkytt.h"
#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "shell/Programdelar.h"

namespace Registreringsfonster {

void registrera(const Programdelar& delar) {
    Fonstervard& f = delar.fonster;
    // The spectator items come back when the window closes only while a
    // display is connected: the window gives that one back itself.
    f.registreraFonster(
        Fonsternamn::InskrivningSkyttar, [](Formkontext& k) { return new frmInskrivningSkyttar(k); },
        {.menyer = {.avVidOppning = {Meny::mnuInstallningar, Meny::mnuInskrivning, Meny::mnuUtskrift,
                                     Meny::mnuKonfigAskSkarm, Meny::mnuVisaAskSkarm},
                    .paVidOppning = {Meny::mnuSokSkytt},
                    .paVidStangning = {Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning,
                                       Meny::mnuKonfigAskSkarm},
                    .avVidStangning = {Meny::mnuSokSkytt}},
         .placering = std::nullopt});
    f.registreraDialog(Fonsternamn::SokSkytt, [](Formkontext& k) {
        frmSokSkytt sok(k, k.fonster().dialogforalder());
        return k.fonster().korDialog(Fonsternamn::SokSkytt, sok) == QDialog::Accepted;
    });
    f.registreraFonster(
        Fonsternamn::LagInskrivning, [](Formkontext& k) { return new frmLagInskrivning(k); },
        {.menyer = {.avVidOppning = {Meny::mnuInstallningar, Meny::mnuInskrivning, Meny::mnuUtskrift},
                    .paVidStangning = {Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning}}});
}

} // namespace Registreringsfonster
