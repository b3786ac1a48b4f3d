#include "app/Delsystem.h"

#include "registration/Registrering.h"
#include "settings/Registrering.h"
#include "shell/Registrering.h"

void registreraDelsystem(Fonsterregister& register_) {
    Skal::registrera(register_);
    Installningsfonster::registrera(register_);
    Registreringsfonster::registrera(register_);
}
