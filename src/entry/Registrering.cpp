#include "entry/Registrering.h"

#include "entry/frmResultatInskrivning.h"
#include "entry/frmValjSkjutlag.h"
#include "shell/Fonsternamn.h"
#include "shell/Formkontext.h"
#include "shell/modGlobalt.h"
#include "spectator/Askadarflode.h"

#include <QCoreApplication>

namespace Resultatfonster {

void registrera(Fonsterregister& register_, Askadarflode& flode) {
    Askadarflode* f = &flode;
    // The window is made only when a squad has been chosen, and opens on it.
    register_.registreraFonster(
        Fonsternamn::ResultatInskrivning,
        [f](Formkontext& k) -> QWidget* {
            auto* fonster = new frmResultatInskrivning(k, *f);
            fonster->Oppna_databaser_mm(k.g().intValtSkjutlag);
            fonster->txtVisible();
            return fonster;
        },
        Menylagen{{Meny::mnuInstallningar, Meny::mnuInskrivning},
                  {},
                  {Meny::mnuInskrivning, Meny::mnuInstallningar, Meny::mnuUtskrift, Meny::mnuKonfigAskSkarm},
                  {}});
    // The main menu's "&Resultat": result entry has no squad yet. A cancelled
    // picker opens nothing, and the main window gives its menu items back.
    register_.registreraDialog(Fonsternamn::ValjSkjutlag, [f](Formkontext& k) {
        frmValjSkjutlag valj(k, k.fonster().dialogforalder());
        if (valj.exec() != QDialog::Accepted)
            return false;
        // The picker is off the screen before the rows are built.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        // Typing goes to the program at once, also where no window manager hands
        // the keyboard back when a dialog closes.
        if (QWidget* huvud = k.fonster().dialogforalder())
            huvud->activateWindow();
        f->begarOmritning(true);
        k.g().intValtSkjutlag = valj.valtSkjutlag();
        return k.fonster().visaFonster(Fonsternamn::ResultatInskrivning) != nullptr;
    });
}

} // namespace Resultatfonster
