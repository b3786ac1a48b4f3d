#include "app/Delsystem.h"

#include "settings/Registrering.h"
#include "shell/Registrering.h"

void registreraDelsystem(Fonsterregister& register_) {
    Skal::registrera(register_);
    Installningsfonster::registrera(register_);
}
