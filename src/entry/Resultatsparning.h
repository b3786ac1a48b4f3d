#pragma once

#include "entry/Resultatrader.h"

#include <QString>
#include <array>
#include <optional>

class modGlobalt;
struct IniNyckel;

// Everything result entry writes into a shooter's row. Each operation computes
// the new values, writes them in one transaction and only then changes the row
// it was given and the shared state, so a failure (thrown as Fel) leaves the
// stored row, the caller's copy and the screen agreeing. The placeholder shooter
// of a free lane is never written.
//
// The competition INI keys that follow a switch (EjAuto1098, EjAutoInnertior)
// are written when their value changes, after the commit; a failed INI write is
// reported in the result, the database keeps the saved series.
class Resultatsparning {
public:
    explicit Resultatsparning(modGlobalt& g);

    struct Utfall {
        // The pair sum of the saved series differs from the one before: the
        // spectator display has something new.
        bool parsummaAndrad = false;
        // This save switched the competition to hand-entered counts.
        bool bytteTillManuell = false;
        // The counts are typed by hand after this save (a series typed outside
        // machine mode, or the count dialog's counts): the panels say so, also
        // when the competition had switched before.
        bool manuellaAntal = false;
        // Why an INI key could not be written, "" when all went well.
        QString iniFel;
    };

    // A typed or machine-read series (machine-read: its shot string given): the
    // series, its pair sum, both totals and the machine's shot string; then the
    // hand-entry switch of a typed series outside machine mode, or the RIKA
    // inner-ten switch of a machine-read one; then the automatic counts.
    // Throws Fel for a value outside 0..50.
    Utfall sparaSerie(Banrad& rad, int serie, int varde, const std::optional<QString>& skottstrang);

    // A series entered shot by shot: the value, the shot string, the pair sum and
    // totals, then the automatic counts (never the hand-entry switch). Returns the
    // value. Throws Fel when the text is not five shot symbols.
    int sparaSkottForSkott(Banrad& rad, int serie, const QString& skott);

    // Delete in a series field: the series has no shot values any more. The
    // series value stays; automatic counts follow the shot strings at once.
    void nollaSkottstrang(Banrad& rad, int serie);

    void sparaSarskjutning(Banrad& rad, double varde);

    // OK in the count dialog: counts[0] tens .. counts[9] ones.
    Utfall sparaAntal(Banrad& rad, int innertior, const std::array<int, 10>& antal);

    // Which count fields the dialog lets the operator type: fields 10 to 1, and
    // field 11 (inner tens).
    struct Antalfalt {
        bool tioTillEtt = true;
        bool innertior = true;
    };
    Antalfalt antalfalt() const;

    // The status-bar texts when the window opens.
    QString panelAuto1098() const;
    QString panelAuto10() const;

private:
    // Writes one key of the competition INI; a failure is kept in the result.
    bool skrivIni(const IniNyckel& nyckel, const QString& varde, Utfall& utfall);

    modGlobalt& m_g;
};

namespace Panel {
inline const QString Auto1098 = QStringLiteral("Auto 10,9,8..");
inline const QString Man1098 = QStringLiteral("Man 10,9,8..");
inline const QString Auto10 = QStringLiteral("Auto 10'");
inline const QString Manuella10 = QStringLiteral("Manuella 10'");
} // namespace Panel
