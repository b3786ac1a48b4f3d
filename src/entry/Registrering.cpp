#include "entry/Registrering.h"

#include "entry/frmResultatInskrivning.h"
#include "entry/frmValjSkjutlag.h"
#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "shell/Programdelar.h"
#include "spectator/Askadarflode.h"

namespace Resultatfonster {

void registrera(const Programdelar& delar) {
    Askadarflode* f = &delar.askadarflode;
    // The window is made only when a squad has been chosen, and opens on it. The
    // display's "&Visa" comes back at closing only while a display is connected:
    // the window gives that one back itself.
    delar.fonster.registreraFonster(
        Fonsternamn::ResultatInskrivning,
        [f](Formkontext& k, const Skjutlagsbegaran& b) -> QWidget* {
            auto* fonster = new frmResultatInskrivning(k, *f);
            fonster->Oppna_databaser_mm(b.skjutlag);
            fonster->txtVisible();
            return fonster;
        },
        {.menyer = {.avVidOppning = {Meny::mnuInstallningar, Meny::mnuInskrivning, Meny::mnuUtskrift,
                                     Meny::mnuKonfigAskSkarm, Meny::mnuVisaAskSkarm},
                    .paVidStangning = {Meny::mnuInskrivning, Meny::mnuInstallningar, Meny::mnuUtskrift,
                                       Meny::mnuKonfigAskSkarm}}});
    // The main menu's "&Resultat": the picker, then the window on the chosen
    // squad. A cancelled picker opens nothing.
    delar.fonster.registreraDialog(Fonsternamn::ValjSkjutlag, [f](Formkontext& k, const Skjutlagsbegaran& b) {
        QWidget* huvud = k.fonster().dialogforalder();
        const std::optional<int> valt = frmValjSkjutlag::valj(k, b.skjutlag, huvud);
        if (!valt)
            return false;
        // Typing goes to the program at once, also where no window manager hands
        // the keyboard back when a dialog closes.
        if (huvud)
            huvud->activateWindow();
        f->begarOmritning(true);
        return k.fonster().visaFonster(Fonsternamn::ResultatInskrivning, Skjutlagsbegaran{*valt}) != nullptr;
    });
}

} // namespace Resultatfonster
