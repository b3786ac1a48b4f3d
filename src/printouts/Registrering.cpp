#include "printouts/Registrering.h"

#include "shell/Programdelar.h"

namespace Utskrifter {

// Each list registers itself in its own function below, so that the lists
// can be added one at a time.
void registrera(const Programdelar& delar) {
    registreraSkjutlagslista(delar);
    registreraVandringsprislista(delar);
    registreraLagutskrift(delar);
    registreraForeningslista(delar);
}

} // namespace Utskrifter
