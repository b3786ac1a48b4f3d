#include "registration/Inskrivningslage.h"

#include "competition/Skjutlag.h"

Inskrivningslage::Knappar Inskrivningslage::knappar() const {
    Knappar k;
    switch (lage) {
    case Lage::Ledig:
        break;
    case Lage::Ny:
        k.spara = banaSkriven;
        k.taBort = true;
        break;
    case Lage::Visad:
        k.andra = k.taBort = k.tomFalt = k.kopiera = true;
        break;
    case Lage::Andrar:
        k.spara = k.tomFalt = true;
        break;
    case Lage::Kopierar:
        k.spara = k.taBort = true;
        break;
    }
    const bool fri = !pagarInmatning();
    k.nyttSkjutlag = k.infogaSkjutlag = fri && antalSkjutlag < Skjutlag::StorstaAntal;
    k.taBortSistaSkjutlag = k.taBortValtSkjutlag = fri && antalSkjutlag > Skjutlag::MinstaAntal;
    // A copy is not yet anything the search could lose: it only shows the
    // shooter it finds in its place, as choosing a row would.
    k.sokSkytt = lage != Lage::Ny && lage != Lage::Andrar;
    k.taBortText = lage == Lage::Kopierar ? QStringLiteral("&Avbryt") : QStringLiteral("&Ta bort");
    k.tomFaltText = lage == Lage::Andrar ? QStringLiteral("&Avbryt") : QStringLiteral("Töm &fält");
    return k;
}

void Inskrivningslage::visaLedig() {
    lage = Lage::Ledig;
    lopnummer = 0;
    banaSkriven = false;
}

void Inskrivningslage::visa(qint64 nr) {
    lage = Lage::Visad;
    lopnummer = nr;
    banaSkriven = false;
}

void Inskrivningslage::borjaNy() {
    lage = Lage::Ny;
    lopnummer = 0;
    banaSkriven = false;
}

void Inskrivningslage::andra() {
    if (lage != Lage::Visad)
        return;
    lage = Lage::Andrar;
}

void Inskrivningslage::kopiera() {
    if (lage != Lage::Visad)
        return;
    lage = Lage::Kopierar;
    lopnummer = 0;
}
