#pragma once

#include <QList>
#include <QString>

class Databas;

// Each squad's shooting time ("Fredag kl 18.00"), one row of Skjuttider per
// squad at most; no row means no time. The settings, the registration's squad
// operations and time box, result entry and the spectator feed all go through
// HanteraSkjuttid, so the times follow the squads when they are renumbered.

namespace Skjuttider {

// The action argument of HanteraSkjuttid.
enum Atgard {
    LasEllerSkriv = 0, // read or write, as the mode says
    Infoga = 1,        // a squad is inserted before the given one
    TaBort = 2,        // the given squad is deleted
};
// The mode argument of HanteraSkjuttid (the old yes/no: yes is -1).
enum Lage {
    Las = 0,
    Skriv = -1,
};

// The text a failed read gives instead of the time: "Felkod: " and the error number.
QString felkod(int nummer);

// The squad's time, "" without a row. Throws Fel.
QString las(const Databas& db, int skjutlag);
// Sets the squad's time: the row is changed, or added when there is none.
void skriv(Databas& db, int skjutlag, const QString& skjuttid);
// A squad is inserted before squad n: the times of n and every later squad move
// up one number, so n has none.
void infoga(Databas& db, int skjutlag);
// Squad n is deleted: its time goes and every later time moves down one number.
void taBort(Databas& db, int skjutlag);
// Only n's time goes; the other squads keep their numbers (the settings' delete).
void radera(Databas& db, int skjutlag);

struct Rad {
    int skjutlag = 0;
    QString skjuttid;
};
// Every time, in squad order.
QList<Rad> alla(const Databas& db);

} // namespace Skjuttider

// The one procedure for shooting times, as every caller has always used it:
//
//   atgard Infoga (1), any mode:   times from squad `skjutlag` on move up one number.
//   atgard TaBort (2), any mode:   `skjutlag`'s time goes, later times move down one.
//   otherwise, lage non-zero:      `skjutlag`'s time becomes `skjuttid`; lage is set to 0.
//                                  (Skjuttider::Skriv, or a "changed" flag passed as it stands.)
//   otherwise, lage 0:             returns `skjutlag`'s time, "" when it has none.
//
// Write, insert and delete return "" and each runs in a transaction of its own,
// a savepoint inside the caller's, so a squad insert or delete that calls it
// inside its own transaction is undone whole when either part fails: their
// failures are thrown as Fel. A read never throws: a failure gives
// "Felkod: " and the error number, which the callers show as the time.
QString HanteraSkjuttid(Databas& db, int skjutlag, int& lage, const QString& skjuttid, int atgard);
