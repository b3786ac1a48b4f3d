#pragma once

#include <QString>
#include <optional>

// The one way the program asks or tells the operator something. The application
// answers with real message and input boxes; tests queue answers and read back
// what was shown.
class Meddelanden {
public:
    enum class Ikon { Ingen, Kritisk, Fraga, Utropstecken, Information };
    enum class Knappar { OK, OKAvbryt, JaNej, JaNejAvbryt };
    enum class Svar { OK, Avbryt, Ja, Nej };

    virtual ~Meddelanden() = default;

    // An empty title means the program's own title.
    virtual Svar visa(const QString& text, const QString& titel = {}, Ikon ikon = Ikon::Ingen,
                      Knappar knappar = Knappar::OK) = 0;
    // The typed text, or nothing when the operator cancelled.
    virtual std::optional<QString> inmatning(const QString& fraga, const QString& titel = {},
                                             const QString& standard = {}) = 0;

    // Closes an open box that shows exactly this text as if the operator had
    // answered No (or cancelled, or OK where there is no No): a question about
    // something that has gone by must not wait for an answer. False when no
    // such box is open.
    virtual bool stangFraga(const QString& text) = 0;

    // The answer a box gives when it is closed without a button: No where it
    // has one, else Cancel where it has one, else OK.
    static Svar utanKnapp(Knappar knappar) {
        switch (knappar) {
        case Knappar::JaNej:
            return Svar::Nej;
        case Knappar::OKAvbryt:
        case Knappar::JaNejAvbryt:
            return Svar::Avbryt;
        case Knappar::OK:
            break;
        }
        return Svar::OK;
    }

    static QString programtitel() { return QStringLiteral("Pilkrona"); }
};
