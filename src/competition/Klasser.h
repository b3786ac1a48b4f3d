#pragma once

#include "common/Poster.h"

#include <QList>
#include <QString>
#include <optional>

class Databas;
class Meddelanden;
class modGlobalt;

// The classes of the open competition, in the class table of its kind, and the
// main classes (SammanslagningKlasser) that classes are merged into for the
// result lists. Every change is written at once. Rows are found by their key
// (Räknare); codes and names are data and may hold anything, apostrophes too.
// A refusal is shown to the operator through the message seam and returned, so
// that the form can act on it (empty a box, keep the focus).
class Klasser {
public:
    // What became of a check or an operation.
    enum class Utfall {
        Ok,
        ForLang,           // the code has more than six characters
        Ofullstandig,      // a box is empty
        SkottNationellt,   // shots outside 10 to 40
        SkottSport,        // shots outside 10 to 60
        Dublett,           // the code exists
        FinnsBlandSkyttar, // a shooter carries the class, it cannot go
        Avbrutet,          // the operator said no
        FelAntalSkott,     // the class and the main class have different shot counts
        FelSportNat,       // sport class and national main class, or the reverse
    };

    // What the class dialog holds: the code, the name, the shot count as typed
    // and, in a mixed competition, "Sport" or "Nat".
    struct Uppgifter {
        QString kod;
        QString namn;
        QString antalSkott;
        QString sportNat;
    };

    static constexpr int MaxTeckenIKod = 6;
    static constexpr int MinstaAntalSkott = 10;
    static constexpr int StorstaAntalSkottNationellt = 40;
    static constexpr int StorstaAntalSkottSport = 60;
    // A row that is gone when an action looks for it; the merge dialog ends such
    // an action without a word, as it always has for a grid row that vanished.
    static constexpr int RadenFinnsInte = 9;

    Klasser(modGlobalt& g, Meddelanden& m);

    // The class table of the competition's kind, and whether it has Sport/Nat.
    const QString& tabell() const;
    bool mixad() const;

    // --- Classes ---
    // All classes in Räknare order.
    QList<Klass> lista() const;
    // The class with this key; throws Fel RadenFinnsInte when it is gone.
    Klass klass(qint64 raknare) const;
    // Checks the dialog's values (length, completeness, shot range) without
    // looking at other rows; shows the refusal.
    Utfall kontrollera(const Uppgifter& u) const;
    // A new class; refuses what kontrollera refuses and a code that exists in any
    // letter case. The new class belongs to no main class.
    Utfall laggTill(const Uppgifter& u);
    // Changes the class with this key. A new code must not be another class's; a
    // code that changes (letter case too) is carried over to every shooter of the
    // class in the same transaction. A changed class leaves its main class.
    Utfall andra(qint64 raknare, const Uppgifter& u);
    // Whether a shooter carries the code of the class.
    bool anvandsAvSkyttar(qint64 raknare) const;
    // Deletes the class after asking; refused while a shooter carries its code.
    Utfall taBort(qint64 raknare);

    // --- Main classes ---
    // All main classes in table order.
    QList<Klass> huvudklasser() const;
    Klass huvudklass(qint64 raknare) const;
    // Classes in no main class, and the classes of one main class, in Räknare order.
    QList<Klass> friaKlasser() const;
    QList<Klass> klasserI(qint64 huvudklass) const;
    // A new main class: checked as a class, its code unique among the main classes.
    Utfall nyHuvudklass(const Uppgifter& u);
    // Puts a class into a main class: same shot count and, in a mixed
    // competition, the same Sport/Nat.
    Utfall slaSamman(qint64 klass, qint64 huvudklass);
    // Takes a class out of its main class.
    void lyftUr(qint64 klass);
    // Deletes a main class and frees its classes, both in one transaction.
    void raderaHuvudklass(qint64 huvudklass);

    // The message of a refusal, as the operator sees it; nothing for Ok and
    // Avbrutet.
    static void visa(Utfall u, Meddelanden& m);

private:
    Databas& db() const;
    QList<Klass> las(const QString& villkor, const QVariantList& varden) const;
    Utfall vagra(Utfall u) const;
    int antalSkott(const Uppgifter& u) const;

    modGlobalt& m_g;
    Meddelanden& m_m;
};
