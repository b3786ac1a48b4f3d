#include "app/Delsystem.h"

#include "app/MDIfrmHuvudmeny.h"
#include "entry/Registrering.h"
#include "registration/Registrering.h"
#include "settings/Registrering.h"
#include "shell/Registrering.h"
#include "spectator/Registrering.h"

void registreraDelsystem(MDIfrmHuvudmeny& huvudmeny) {
    Skal::registrera(huvudmeny);
    Installningsfonster::registrera(huvudmeny);
    Registreringsfonster::registrera(huvudmeny);
    Askadarskarm::registrera(huvudmeny, huvudmeny, huvudmeny.askadarflode(), &huvudmeny);
    Resultatfonster::registrera(huvudmeny, huvudmeny.askadarflode());
}
