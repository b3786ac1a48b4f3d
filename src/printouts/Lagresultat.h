#pragma once

#include <QList>
#include <QString>

class Databas;
class Meddelanden;

// The team scores: every team's row in Lag rebuilt from its members' results,
// and each member's own team score (Skyttar.LagRes), before the team results
// are listed.
namespace Lagresultat {

// The most series a member can shoot for a team.
constexpr int FlestSerier = 12;

// A member whose team has no row: left as it was.
struct Utan {
    qint64 lopnummer = 0;
    QString namn;
    QString efternamn;
    qint64 lag = 0;
};

// Rebuilds every team in one transaction: each team starts from nothing, so a
// team whose members have all left shows no score. A member's score is the sum
// of its first Lagserier series (0 to 12); the team's series, pair sums and
// Summa add only the members' counted series, while Innertior and TioNior are
// added whole (they are not kept per series). IndRes is the members' scores,
// highest first. Returns the members skipped for want of their team's row;
// throws Fel, with nothing written, when the database fails.
QList<Utan> rakna(Databas& db);

// Tells the operator which members were skipped; nothing when none was.
void tala(Meddelanden& m, const QList<Utan>& utan);

} // namespace Lagresultat
