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

    static QString programtitel() { return QStringLiteral("Pilkrona"); }
};
