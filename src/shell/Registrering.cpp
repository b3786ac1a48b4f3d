#include "shell/Registrering.h"

#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "shell/Programdelar.h"
#include "shell/frmNyTavling.h"
#include "shell/frmOm.h"
#include "shell/frmOppnat.h"

namespace Skal {

void registrera(const Programdelar& delar) {
    // The dialog opens and closes with no competition open: closing gives back
    // the menus of no competition. A competition it created is taken over by the
    // main window after it has closed, with the menus of an open competition.
    delar.fonster.registreraFonster(
        Fonsternamn::NyTavling, [](Formkontext& k) { return new frmNyTavling(k); },
        {.menyer = {.avVidOppning = {Meny::mnuNy, Meny::mnuOppna, Meny::mnuImportera, Meny::mnuStang},
                    .paVidStangning = {Meny::mnuNy, Meny::mnuOppna, Meny::mnuImportera},
                    .avVidStangning = {Meny::mnuStang, Meny::mnuUtskrift}}});
    // The note on the opened competition: a title bar only, at its own place.
    delar.fonster.registreraFonster(Fonsternamn::Oppnat,
                                    [](Formkontext& k) { return new frmOppnat(k.g(), k.m()); },
                                    {.placering = QPoint(4000, 2800),
                                     .storlek = QSize(3975, 2310),
                                     .ramflaggor = Qt::Dialog | Qt::WindowTitleHint});
    delar.fonster.registreraDialog(Fonsternamn::Om, [](Formkontext& k) {
        frmOm om(k);
        return k.fonster().korDialog(Fonsternamn::Om, om) == QDialog::Accepted;
    });
}

} // namespace Skal
