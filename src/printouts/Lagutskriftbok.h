#pragma once

#include "competition/Lagtavlingar.h"
#include "competition/Omgangar.h"
#include "competition/Rangordning.h"
#include "output/Arbetsboksram.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

class Databas;

namespace Kalkyl {
class Arbetsblad;
}

// The team results as a workbook: each team competition's teams ranked by
// their scores, each with its members and a total row, then printed or saved
// in the workbook frame.
namespace Lagutskriftbok {

// One team as the list ranks it: its row of [Lag], scores and counts.
struct Lagsammanstallning {
    qint64 nr = 0; // Lag nr
    QString namn;
    int summa = 0;
    int innertior = 0;
    std::array<int, 6> sum{};  // Sum10 .. Sum60
    std::array<int, 12> res{}; // Res1 .. Res12
    QString tioNior;
    QString indRes;
};

struct Medlem {
    QString namn;
    QString efternamn;
    int lagRes = 0;
};

struct Placerat {
    Lagsammanstallning lag;
    int plats = 0;
    QList<Medlem> medlemmar; // highest LagRes first, then by name
};

struct Tavlingsblock {
    Lagtavlingar::Lagtavling tavling;
    QList<Placerat> lag;
};

struct Urval {
    // Some team competition belongs to the round (or, for all, exists at all).
    bool tavlingFinns = false;
    // Those of a known kind that have teams, by key.
    QList<Tavlingsblock> block;
};

// The chains that rank teams: "Sport" by Summa, Innertior, Sum60 .. Sum10, the
// counts; "Nat" by Summa, the members' scores one by one, Res8 .. Res1, the
// counts. Scores and counts compare as numbers; IndRes is read as `bredd`
// scores (missing ones 0) so that every team gives as many. Equal teams stand
// by name.
Rangordning::Kedja<Lagsammanstallning> kedja(bool sport, int bredd);

// The team competitions of the round (all when none is given), their teams
// ranked and placed, and the members.
Urval lasIn(const Databas& db, std::optional<int> omg);

// Writes the blocks into a set-up sheet from row 1.
void skriv(Kalkyl::Arbetsblad& blad, const QList<Tavlingsblock>& block);

// The message when the round has no team competition.
void ingenTavling(Meddelanden& m);

// The list's sheet as the workbook frame sets it up: a round's list is saved
// under its own name.
const Arbetsboksram::Lista& ark();

// The whole list for "Printer" or "Fil": reads, then writes through the frame.
// With no team competition to list the operator is told and nothing is
// started. Returns the saved file's path.
std::optional<QString> kor(const Arbetsboksram::Omgivning& o, Utskriftsmal mal,
                           const std::optional<Omgangar::Omgang>& omgang);

} // namespace Lagutskriftbok
