#include "registration/Registrering.h"

#include "registration/frmInskrivningSkyttar.h"
#include "registration/frmLagInskrivning.h"
#include "registration/frmSokSkytt.h"
#include "shell/Fonsternamn.h"
#include "shell/Formkontext.h"

namespace Registreringsfonster {

void registrera(Fonsterregister& register_) {
    register_.registreraFonster(
        Fonsternamn::InskrivningSkyttar, [](Formkontext& k) { return new frmInskrivningSkyttar(k); },
        Menylagen{{Meny::mnuInstallningar, Meny::mnuInskrivning},
                  {},
                  {Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning, Meny::mnuKonfigAskSkarm},
                  {Meny::mnuSokSkytt}});
    register_.registreraDialog(Fonsternamn::SokSkytt, [](Formkontext& k) {
        frmSokSkytt sok(k, k.fonster().dialogforalder());
        return sok.exec() == QDialog::Accepted;
    });
    register_.registreraFonster(
        Fonsternamn::LagInskrivning, [](Formkontext& k) { return new frmLagInskrivning(k); },
        Menylagen{{Meny::mnuInstallningar, Meny::mnuInskrivning},
                  {},
                  {Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning},
                  {}});
}

} // namespace Registreringsfonster
