#include "entry/Registrering.h"

#include "shell/Formkontext.h"
#include "spectator/Askadarflode.h"

namespace Resultatfonster {

void registrera(Fonsterregister& register_, Askadarflode& flode) {
    (void)register_;
    (void)flode;
}

} // namespace Resultatfonster
