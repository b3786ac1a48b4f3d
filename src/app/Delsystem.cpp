#include "app/Delsystem.h"

#include "entry/Registrering.h"
#include "lists/Registrering.h"
#include "printouts/Registrering.h"
#include "registration/Registrering.h"
#include "settings/Registrering.h"
#include "shell/Programdelar.h"
#include "shell/Registrering.h"
#include "spectator/Registrering.h"
#include "transfer/Registrering.h"

void registreraDelsystem(const Programdelar& delar) {
    Skal::registrera(delar);
    Installningsfonster::registrera(delar);
    Registreringsfonster::registrera(delar);
    Askadarskarm::registrera(delar);
    Resultatfonster::registrera(delar);
    Resultatlistor::registrera(delar);
    Utskrifter::registrera(delar);
    Overforingsfonster::registrera(delar);
}
