#include "registration/Tangentvag.h"

#include <initializer_list>

namespace Tangentvag {

namespace {
using Gor = Steg::Gor;

Steg gor(Gor g, Forst forst = Forst::Inget) {
    return {g, Falt::Ingen, forst};
}
Steg till(Falt falt) {
    return {Gor::Till, falt, Forst::Inget};
}
} // namespace

Steg steg(Falt falt, Tangent tangent, const Lage& lage) {
    const bool enter = tangent == Tangent::Enter;
    // Enter types too: it opens the next field as a letter would.
    const bool skriver = tangent != Tangent::Annan;
    const bool iHeltal = tangent == Tangent::Siffra || tangent == Tangent::Backsteg;
    const auto pa = [&](Falt f) { return lage.pa && lage.pa(f); };
    // A text field: typing opens `oppnar`, Enter goes on to the next field.
    const auto textfalt = [&](Forst oppnar) {
        const Forst f = skriver ? oppnar : Forst::Inget;
        return gor(enter ? Gor::Nasta : Gor::Slapp, f);
    };

    switch (falt) {
    case Falt::Namn:
        return textfalt(lage.pagarInmatning ? Forst::Inget : Forst::NySkytt);
    case Falt::Efternamn:
        return textfalt(Forst::ForeningPa);
    case Falt::Forening:
        return textfalt(Forst::KlassPa);
    case Falt::Klass:
        return textfalt(Forst::Klassfalt);
    case Falt::Licensnr:
        // The card number belongs with the licence: Enter goes there even
        // where the tab order would pass it by.
        return enter ? Steg{Gor::Till, Falt::SkyttekortNr, Forst::BanaPa} : textfalt(Forst::BanaPa);
    case Falt::SkyttekortNr:
        return textfalt(Forst::BanaPa);
    case Falt::Fodelsear:
        if (skriver && !enter && !iHeltal)
            return gor(Gor::Pip, Forst::BanaPa);
        return textfalt(Forst::BanaPa);
    case Falt::Bana:
        if (enter) {
            if (lage.vandringsprisForHand && pa(Falt::Vandringspris))
                return till(Falt::Vandringspris);
            return pa(Falt::Spara) ? till(Falt::Spara) : gor(Gor::Ata);
        }
        if (tangent == Tangent::Siffra)
            return gor(Gor::Slapp, Forst::BanaSkriven);
        return gor(tangent == Tangent::Tecken ? Gor::Pip : Gor::Slapp);
    case Falt::Vandringspris:
        if (!enter)
            return {};
        return pa(Falt::Spara) ? till(Falt::Spara) : gor(Gor::Ata);
    case Falt::TavlingsOmg:
        if (!enter)
            return {};
        return pa(Falt::Namn) ? till(Falt::Namn) : gor(Gor::Ata);
    case Falt::Startnummer: {
        if (enter) {
            const Falt mal = lage.fleraTavlingar ? Falt::TavlingsOmg : Falt::Namn;
            return pa(mal) ? till(mal) : gor(Gor::Nasta);
        }
        return gor(tangent == Tangent::Tecken ? Gor::Pip : Gor::Slapp);
    }
    case Falt::Skjuttid:
        if (!enter)
            return {};
        for (Falt f : {Falt::Startnummer, Falt::TavlingsOmg, Falt::Namn})
            if (pa(f))
                return till(f);
        return gor(Gor::Nasta);
    case Falt::Rutnat:
        return enter ? gor(Gor::ValjRad) : Steg{};
    case Falt::Ingen:
    case Falt::Spara:
        break;
    }
    return {};
}

} // namespace Tangentvag
