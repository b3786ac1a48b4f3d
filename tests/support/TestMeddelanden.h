#pragma once

#include "platform/Meddelanden.h"

#include <QList>
#include <QQueue>
#include <QString>

// The message seam for tests: answers from a queue (OK, or the no-answer of the
// buttons, when the queue is empty) and a record of everything shown.
class TestMeddelanden : public Meddelanden {
public:
    struct Visat {
        QString text;
        QString titel;
        Ikon ikon;
        Knappar knappar;
    };

    Svar visa(const QString& text, const QString& titel, Ikon ikon, Knappar knappar) override;
    std::optional<QString> inmatning(const QString& fraga, const QString& titel,
                                     const QString& standard) override;

    void svara(Svar s) { m_svar.enqueue(s); }
    void skriv(std::optional<QString> text) { m_inmatningar.enqueue(text); }

    QList<Visat> visade;
    QStringList fragor;

    QString senasteText() const { return visade.isEmpty() ? QString() : visade.back().text; }
    void tom() {
        visade.clear();
        fragor.clear();
    }

private:
    QQueue<Svar> m_svar;
    QQueue<std::optional<QString>> m_inmatningar;
};
