#pragma once

#include "platform/Meddelanden.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <functional>

// The message seam for tests: answers from a queue (OK, or the no-answer of the
// buttons, when the queue is empty) and a record of everything shown. A hold
// on the seam is kept as the program's own seam keeps it: a box waits for it
// in an event loop before it is recorded.
class TestMeddelanden : public Meddelanden {
public:
    struct Visat {
        QString text;
        QString titel;
        Ikon ikon;
        Knappar knappar;
        // The hourglass was up as the box would have opened.
        bool underTimglas = false;
    };

    Svar visa(const QString& text, const QString& titel, Ikon ikon, Knappar knappar) override;
    std::optional<QString> inmatning(const QString& fraga, const QString& titel,
                                     const QString& standard) override;

    bool stangFraga(const QString& text) override;

    void svara(Svar s) {
        m_svar.enqueue([s] { return s; });
    }
    // The answer is worked out while the box would be open: the function may
    // let events happen (a display leaving), as an operator who waits does.
    void svaraMed(std::function<Svar()> f) { m_svar.enqueue(std::move(f)); }
    void skriv(std::optional<QString> text) { m_inmatningar.enqueue(text); }

    QList<Visat> visade;
    QStringList fragor;
    // Texts of the boxes the program closed itself (stangFraga on an open box
    // or one waiting for a hold).
    QStringList stangda;
    // Texts asked once the program was ending: answered at once, never shown.
    QStringList obesvarade;

    QString senasteText() const { return visade.isEmpty() ? QString() : visade.back().text; }
    void tom() {
        visade.clear();
        fragor.clear();
    }

protected:
    void stangOppna() override;

private:
    QQueue<std::function<Svar()>> m_svar;
    QList<QString> m_oppna;
    bool m_stangdNu = false;
    QQueue<std::optional<QString>> m_inmatningar;
};
