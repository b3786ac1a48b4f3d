#include "settings/Registrering.h"

#include "settings/frmInstallningar.h"
#include "shell/Fonsternamn.h"
#include "shell/Formkontext.h"

namespace Installningsfonster {

void registrera(Fonsterregister& register_) {
    // While the settings are open, nothing under Inskrivning may work on the
    // classes, rounds and teams being changed.
    const QList<Meny> medanOppen = {Meny::mnuInskrivning, Meny::mnuInstallningar};
    register_.registreraFonster(
        Fonsternamn::Installningar, [](Formkontext& k) { return new frmInstallningar(k); },
        Menylagen{medanOppen, {}, medanOppen, {}});
}

} // namespace Installningsfonster
