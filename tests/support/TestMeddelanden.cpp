#include "support/TestMeddelanden.h"

Meddelanden::Svar TestMeddelanden::visa(const QString& text, const QString& titel, Ikon ikon,
                                        Knappar knappar) {
    visade.append({text, titel, ikon, knappar});
    if (!m_svar.isEmpty())
        return m_svar.dequeue();
    switch (knappar) {
    case Knappar::OK:
        return Svar::OK;
    case Knappar::OKAvbryt:
        return Svar::Avbryt;
    case Knappar::JaNej:
        return Svar::Nej;
    case Knappar::JaNejAvbryt:
        return Svar::Avbryt;
    }
    return Svar::OK;
}

std::optional<QString> TestMeddelanden::inmatning(const QString& fraga, const QString&, const QString&) {
    fragor.append(fraga);
    if (!m_inmatningar.isEmpty())
        return m_inmatningar.dequeue();
    return std::nullopt;
}
