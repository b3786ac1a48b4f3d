#pragma once

class QPagedPaintDevice;

namespace Kalkyl {

class Arbetsblad;

// Paints a sheet's pages, as Sidindelning lays them out, on a printer or a PDF
// writer. The device's page layout must already be the sheet's paper and
// orientation with no margins of its own: the sheet's margins are painted here.
class Bladritare {
public:
    // Throws Fel when the device cannot be painted on. `kopior` repeats the
    // whole document, for printers that cannot make copies themselves.
    static void rita(const Arbetsblad& blad, QPagedPaintDevice& enhet, int kopior = 1);
};

} // namespace Kalkyl
