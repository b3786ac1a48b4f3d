#include "settings/Registrering.h"

#include "settings/frmInstallningar.h"
#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "shell/Programdelar.h"

namespace Installningsfonster {

void registrera(const Programdelar& delar) {
    // While the settings are open, nothing under Inskrivning may work on the
    // classes, rounds and teams being changed.
    const QList<Meny> medanOppen = {Meny::mnuInskrivning, Meny::mnuInstallningar};
    delar.fonster.registreraFonster(Fonsternamn::Installningar,
                                    [](Formkontext& k) { return new frmInstallningar(k); },
                                    {.menyer = {.avVidOppning = medanOppen, .paVidStangning = medanOppen}});
}

} // namespace Installningsfonster
