#include "app/Delsystem.h"

#include "shell/Registrering.h"

void registreraDelsystem(Fonsterregister& register_) {
    Skal::registrera(register_);
}
