#pragma once

#include "competition/Omgangar.h"
#include "lists/Resultaturval.h"

#include <QList>
#include <optional>

class Meddelanden;
class modGlobalt;

// What a run of the dialog makes a list of: the output kind, the chosen
// classes in grid order, and the chosen round (nothing when the competition
// does not use rounds).
struct Listbestallning {
    Utskriftsmal mal = Utskriftsmal::Ingen;
    QList<ValdKlass> klasser;
    std::optional<Omgangar::Omgang> omgang;
};

// What the operator chooses in the result list's class-choice dialog, without
// its widgets: the classes offered (the classes in no main class in Räknare
// order, then the main classes), which of them are marked, whether all or the
// marked ones go into the list, and the round. Classes and rounds are read
// once, when the dialog loads; each row carries its own class record into the
// run, so nothing is looked up again by the code shown in the grid.
class Klassval {
public:
    enum class Val { Alla, Valda };

    // Reads the classes, and the rounds when the competition uses them. Throws
    // Fel when the database cannot be read.
    Klassval(modGlobalt& g, Meddelanden& m);
    // A choice over classes and rounds already read (rounds: nothing when the
    // competition does not use them).
    Klassval(QList<ValdKlass> klasser, std::optional<QList<Omgangar::Omgang>> omgangar);

    // --- Classes ---
    const QList<ValdKlass>& klasser() const { return m_klasser; }
    bool markerad(int rad) const { return m_markerad.value(rad); }
    Val val() const { return m_val; }
    // The classes of the list, in grid order: every row, or the marked rows.
    QList<ValdKlass> valda() const;
    // Whether the show button can be pressed.
    bool kanVisas() const { return m_kanVisas; }

    // "Alla klasser": the button can be pressed, whatever the grid holds.
    void valjAlla();
    // "Valda": the button follows the marks.
    void valjValda();
    // Enter or the left button released on row rad (counted from 0; -1 when
    // no row is selected): the row's mark changes and "Valda" is chosen. The
    // button follows what is chosen then.
    void vaxla(int rad);
    // Any other key or button on the grid changes nothing but the button,
    // which then follows what is chosen.
    void rakna();

    // --- Rounds ---
    bool omgangarAnvands() const { return m_omgangar.has_value(); }
    // The rounds in Omg order; empty when not in use.
    QList<Omgangar::Omgang> omgangar() const { return m_omgangar.value_or(QList<Omgangar::Omgang>{}); }
    // The competition uses rounds but none is entered: no list can be made.
    bool omgangSaknas() const { return m_omgangar && m_omgangar->isEmpty(); }
    // Chooses round i of omgangar(); the first is chosen from the start.
    void valjOmgang(int i);
    int valdOmgangIndex() const { return m_omgang; }
    // The chosen round; nothing when rounds are not in use or none is entered.
    std::optional<Omgangar::Omgang> valdOmgang() const;

private:
    QList<ValdKlass> m_klasser;
    QList<bool> m_markerad;
    Val m_val = Val::Alla;
    bool m_kanVisas = true;
    std::optional<QList<Omgangar::Omgang>> m_omgangar;
    int m_omgang = 0;
};
