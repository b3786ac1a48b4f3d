#pragma once

#include "common/Poster.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class Databas;
class Meddelanden;
class modGlobalt;

// The members of a team: a shooter belongs to at most one team, kept in the
// shooter's own row (Skyttar.Lag the team's key, Skyttar.Lagserier the series
// the shooter shoots for it; both 0 in no team). A team takes members while it
// has fewer than its team competition's number of shooters. The placeholder
// shooter (Löpnummer 1) is never a member. Members are read as every shooter
// row is, without their shot strings.
namespace Lagmedlemmar {

// What a team's team competition asks of it.
struct Lagkrav {
    qint64 lagtavling = 0;
    int storlek = 0; // Antal skyttar
    int skott = 0;   // Antal skott per member
    int omg = 0;     // its round
};
std::optional<Lagkrav> krav(const Databas& db, qint64 lagNr);

// The team's members in the order they were registered.
QList<Skytt> lista(const Databas& db, qint64 lagNr);
int antal(const Databas& db, qint64 lagNr);
// A shooter other than the placeholder.
std::optional<Skytt> hamta(const Databas& db, qint64 lopnummer);
// The team has fewer members than its size.
bool harPlats(const Databas& db, qint64 lagNr);

// The series that count for a team of so many shots: shots / 5 rounded, halves
// to even (42 shots give 8, 43 give 9).
int lagserier(int antalSkott);

// The shooters in no team whose first name and family name begin as typed
// (letter case ignored; every character, wildcards and apostrophes included,
// stands for itself); a box of only blanks asks nothing of its name. With
// rounds in use only the shooters of the team competition's round.
QList<Skytt> sok(const modGlobalt& g, qint64 lagNr, const QString& namn, const QString& efternamn);

// Puts the shooter into the team with its team competition's series, in one
// transaction with the checks; false when the team is full. Throws Fel when
// the team is gone or the shooter is not free.
bool laggTill(Databas& db, qint64 lagNr, qint64 lopnummer);
// Takes the shooter out of the team (Lag and Lagserier 0).
void taBort(Databas& db, qint64 lagNr, qint64 lopnummer);
// Asks first; true when the shooter was taken out.
bool taBort(Databas& db, Meddelanden& m, qint64 lagNr, qint64 lopnummer);

enum class Utfall {
    Tillagd,
    IngenTraff, // nobody matched, or the operator said no to everyone offered (told)
    Avbruten,   // the operator cancelled (silent)
    IngenKlass, // the shooter's class no longer exists (told)
    EjExtra,    // the operator would not let the shooter shoot extra shots
    Fullt,      // the team is already full; nobody is offered
};
// The search of the member panel: offers every matching free shooter in turn
// ("Är det här rätt skytt?": yes takes, no offers the next, cancel ends),
// checks the class of the one taken and asks about extra shots when the class
// shoots fewer than the team competition counts, then puts the shooter in.
// visa shows each shooter offered before the question.
Utfall LaggTillSkytt(modGlobalt& g, Meddelanden& m, qint64 lagNr, const QString& namn,
                     const QString& efternamn, const std::function<void(const Skytt&)>& visa = {});

} // namespace Lagmedlemmar
