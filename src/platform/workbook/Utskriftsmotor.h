#pragma once

namespace Kalkyl {

class Arbetsblad;

// Where PrintOut sends a sheet. The core only knows this seam: the printer itself
// (Qt Print Support, which needs Qt Widgets) lives in the ui library.
class Utskriftsmotor {
public:
    virtual ~Utskriftsmotor() = default;
    // Prints every page of the sheet with the given number of copies. Throws Fel
    // with a text for the operator when nothing reached a printer.
    virtual void skrivUt(const Arbetsblad& blad, int kopior) = 0;
};

} // namespace Kalkyl
