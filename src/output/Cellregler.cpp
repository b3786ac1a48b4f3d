#include "output/Cellregler.h"

#include "platform/workbook/Arbetsblad.h"
#include "platform/workbook/Kalkylkoder.h"

namespace Cellregler {

void poang(const Kalkyl::Omrade& cell, int varde, int fullt, bool fet, Annars annars) {
    Kalkyl::Omrade c = cell;
    if (fet)
        c.Font().setBold(true);
    c.setValue(varde);
    if (varde == fullt)
        c.Font().setColor(Kalkyl::Rod);
    else if (annars == Annars::Svart)
        c.Font().setColor(Kalkyl::Svart);
}

} // namespace Cellregler
