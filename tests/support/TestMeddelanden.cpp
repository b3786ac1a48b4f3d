#include "support/TestMeddelanden.h"

#include <QGuiApplication>
#include <utility>

Meddelanden::Svar TestMeddelanden::visa(const QString& text, const QString& titel, Ikon ikon,
                                        Knappar knappar) {
    if (!vantaPaTur(text)) {
        if (avslutas())
            obesvarade.append(text);
        return utanKnapp(knappar);
    }
    visade.append({text, titel, ikon, knappar, QGuiApplication::overrideCursor() != nullptr});
    if (m_svar.isEmpty())
        return utanKnapp(knappar);
    const std::function<Svar()> svar = m_svar.dequeue();
    m_oppna.append(text);
    const bool stangdForut = std::exchange(m_stangdNu, false);
    const Svar s = svar();
    m_oppna.removeOne(text);
    const bool stangd = std::exchange(m_stangdNu, stangdForut);
    return stangd ? utanKnapp(knappar) : s;
}

bool TestMeddelanden::stangFraga(const QString& text) {
    if (!m_oppna.contains(text)) {
        if (!slappVantande(text))
            return false;
        stangda.append(text);
        return true;
    }
    stangda.append(text);
    m_stangdNu = true;
    return true;
}

void TestMeddelanden::stangOppna() {
    // Only the innermost box can be told apart here; tests open one at a time.
    if (m_oppna.isEmpty())
        return;
    stangda.append(m_oppna.back());
    m_stangdNu = true;
}

std::optional<QString> TestMeddelanden::inmatning(const QString& fraga, const QString&, const QString&) {
    if (!vantaPaTur(fraga)) {
        if (avslutas())
            obesvarade.append(fraga);
        return std::nullopt;
    }
    fragor.append(fraga);
    if (!m_inmatningar.isEmpty())
        return m_inmatningar.dequeue();
    return std::nullopt;
}
