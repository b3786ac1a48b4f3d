#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class Databas;
class Meddelanden;

// The teams of the team competitions (table Lag), carried by their key. A
// team name is unique over the teams of every team competition (letter case
// ignored), is stored trimmed and never holds an apostrophe. A team's members
// are the shooters whose Lag holds its key (Lagmedlemmar).
namespace Lag {

struct Lagpost {
    qint64 nr = 0; // Lag nr
    QString namn;
    qint64 lagtavling = 0;
};

// The teams of a team competition in the order they were made.
QList<Lagpost> lista(const Databas& db, qint64 lagtavling);
std::optional<Lagpost> hamta(const Databas& db, qint64 nr);
// Some team of any team competition has the name (trimmed, letter case ignored).
bool namnUpptaget(const Databas& db, const QString& namn);

enum class Namnprov {
    Godkant,
    Tomt,     // only blanks
    Apostrof, // "Du har skrivit ett felaktigt tecken i namnet!"
    Upptaget, // "Det laget fanns redan!"
};
Namnprov provaNamn(const Databas& db, const QString& namn);

// Makes a team of the name, trimmed, in the team competition; the checks and
// the row in one transaction. Throws Fel when the name is not accepted or the
// team competition no longer exists. Returns the new team's key.
qint64 skapa(Databas& db, qint64 lagtavling, const QString& namn);

struct Nytt {
    qint64 nr = 0;
    QString namn;
};
// "Nytt lag": asks for the name and asks again, with the reason, while it
// holds an apostrophe or another team has it (pip sounds at each refusal).
// Cancel, an empty answer or only blanks end it without a team.
std::optional<Nytt> NyttLag(Databas& db, Meddelanden& m, qint64 lagtavling,
                            const std::function<void()>& pip = {});

// Deletes the team: its members first leave it (Lag and Lagserier 0), then its
// row goes, all in one transaction.
void radera(Databas& db, qint64 nr);
// Asks first; true when the team was deleted.
bool taBort(Databas& db, Meddelanden& m, qint64 nr);

} // namespace Lag
