#include "spectator/Registrering.h"

#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "shell/Programdelar.h"
#include "spectator/Askadarflode.h"
#include "spectator/Askadarmenyer.h"
#include "spectator/frmKonfigAskSkarm.h"
#include "spectator/frmVisaAskSkarm.h"

#include <QPointer>

namespace Askadarskarm {

void registrera(const Programdelar& delar) {
    Askadarflode* flode = &delar.askadarflode;
    delar.fonster.registreraFonster(Fonsternamn::KonfigAskSkarm,
                                    [flode](Formkontext& k) { return new frmKonfigAskSkarm(k, *flode); });
    // "&Konfigurera" comes back at closing unless registration or result entry
    // still holds it: the window gives it back itself.
    delar.fonster.registreraFonster(
        Fonsternamn::VisaAskSkarm, [flode](Formkontext& k) { return new frmVisaAskSkarm(k, *flode); },
        {.menyer = {.avVidOppning = {Meny::mnuKonfigAskSkarm}}, .storlek = QSize(3525, 5115)});
    // Whether result entry is open is the host's to say; the feed outlives the
    // main window and its host.
    flode->sattInskrivningsfraga([fonster = QPointer<Fonstervard>(&delar.fonster)] {
        return fonster && fonster->fonster(Fonsternamn::ResultatInskrivning) != nullptr;
    });
    new Askadarmenyer(delar.fonster, *flode, &delar.fonster);
}

} // namespace Askadarskarm
