#include "shell/Registrering.h"

#include "shell/Fonsternamn.h"
#include "shell/Formkontext.h"
#include "shell/frmNyTavling.h"
#include "shell/frmOm.h"

namespace Skal {

void registrera(Fonsterregister& register_) {
    register_.registreraFonster(Fonsternamn::NyTavling, [](Formkontext& k) { return new frmNyTavling(k); });
    register_.registreraDialog(Fonsternamn::Om, [](Formkontext& k) {
        frmOm om(k);
        return om.exec() == QDialog::Accepted;
    });
}

} // namespace Skal
