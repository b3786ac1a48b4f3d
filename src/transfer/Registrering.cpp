#include "transfer/Registrering.h"

#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "shell/Programdelar.h"
#include "transfer/frmOverforingsguide.h"

namespace Overforingsfonster {

void registrera(const Programdelar& delar) {
    const auto guide = [](Overforing::Riktning riktning) {
        return [riktning](Formkontext& k) {
            frmOverforingsguide g(k, riktning, k.fonster().dialogforalder());
            return g.exec() == QDialog::Accepted;
        };
    };
    delar.fonster.registreraDialog(Fonsternamn::ImporteraGuide, guide(Overforing::Riktning::Import));
    delar.fonster.registreraDialog(Fonsternamn::ExporteraGuide, guide(Overforing::Riktning::Export));
}

} // namespace Overforingsfonster
