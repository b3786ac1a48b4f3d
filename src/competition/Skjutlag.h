#pragma once

#include "common/Poster.h"

#include <QList>
#include <QString>

class Databas;
class Meddelanden;
class modGlobalt;

// The squads and their lanes. Each squad has one Skjutlag row per lane, whose
// Startnummer is the Löpnummer of the shooter on it (1, the placeholder, when
// the lane is free). The squads are those rows: their count is the number of
// squad numbers in the table, and every operation is one transaction, so the
// squads always run 1..N with all their lanes. The competition INI's [Allmänt]
// Antal skjutlag mirrors the count for whoever reads the file; it is written
// after the commit, and opening the competition puts it right when a stop in
// between left it behind.
//
// A lane counts as free when no real shooter stands on it: Startnummer 1, or a
// Löpnummer whose shooter row is gone (such a lane shows and behaves as free
// rather than disappear).
namespace Skjutlag {

constexpr int MinstaAntal = 1;
// The registration window has thirty squad buttons.
constexpr int StorstaAntal = 30;

// The number of squads, read from the database at every call.
int antal(const Databas& db);

// One lane of a squad as the registration grid shows it, with the shooter's
// whole row for the lists. A free lane has lopnummer 1, empty texts and a
// default skytt.
struct Rad {
    int bana = 0;
    qint64 lopnummer = 1;
    QString namn, efternamn, forening, klass, licensnr;
    int omg = 0;
    int startnr = 0;
    Skytt skytt;

    bool ledig() const;
};
// The lanes of a squad in lane order, every lane row included.
QList<Rad> vy(const Databas& db, int skjutlag);

// Free lanes of one squad, and of squads 1..antal (entry 0 is squad 1).
int ledigaBanor(const Databas& db, int skjutlag);
QList<int> ledigaPerSkjutlag(const Databas& db, int antal);

// Where a shooter stands: the first lane row that holds him, if any.
struct Plats {
    int skjutlag = 0;
    int bana = 0;
};
bool hittaPlats(const Databas& db, qint64 lopnummer, Plats& plats);

enum class Utfall {
    Klart,    // done: rows committed, the INI's count written when it could be
    Vagrat,   // refused with its message (full, the only squad, shooters left)
    Avbrutet, // the operator said no
    Sparrat,  // result entry is open: squads are not renumbered under it
};

// Whether the result-entry window is open; the caller knows its windows, this
// model does not.
enum class Resultatinskrivning { Stangd, Oppen };

// A squad at the end. Only lane rows that are missing are added; the time
// table is left alone, so a time left behind by a deleted last squad returns.
Utfall laggTill(modGlobalt& g, Meddelanden& m);
// A new, empty squad before squad `fore` (1..count): that squad and every
// later one move up one number with their shooters and times.
Utfall infoga(modGlobalt& g, Meddelanden& m, int fore,
              Resultatinskrivning inskrivning = Resultatinskrivning::Stangd);
// Deletes the last squad when it has no shooters; its time row stays.
Utfall taBortSista(modGlobalt& g, Meddelanden& m,
                   Resultatinskrivning inskrivning = Resultatinskrivning::Stangd);
// Deletes squad n (1..count) when it has no shooters; the later squads and
// their times move down one number.
Utfall taBortValt(modGlobalt& g, Meddelanden& m, int skjutlag,
                  Resultatinskrivning inskrivning = Resultatinskrivning::Stangd);

} // namespace Skjutlag
