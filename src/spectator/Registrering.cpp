#include "spectator/Registrering.h"

#include "shell/Fonsternamn.h"
#include "shell/Formkontext.h"
#include "spectator/Askadarflode.h"
#include "spectator/Askadarmenyer.h"
#include "spectator/frmKonfigAskSkarm.h"
#include "spectator/frmVisaAskSkarm.h"

namespace Askadarskarm {

void registrera(Fonsterregister& register_, Fonstervard& fonster, Askadarflode& flode, QObject* agare) {
    register_.registreraFonster(Fonsternamn::KonfigAskSkarm,
                                [&flode](Formkontext& k) { return new frmKonfigAskSkarm(k, flode); });
    register_.registreraFonster(Fonsternamn::VisaAskSkarm,
                                [&flode](Formkontext& k) { return new frmVisaAskSkarm(k, flode); });
    new Askadarmenyer(fonster, flode, agare ? agare : &flode);
}

} // namespace Askadarskarm
