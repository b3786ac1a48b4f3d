#pragma once

#include <QList>
#include <QString>
#include <optional>

class Databas;
class Meddelanden;
class modGlobalt;

// The competition's team competitions (table Lagtävling): what the team tab of
// the settings lists, makes, changes and deletes, and what team entry asks
// before it lets a team competition be changed. Every record is carried by its
// key; two team competitions never share a name (letter case ignored).
namespace Lagtavlingar {

constexpr int MinstaAntalSkott = 10;
constexpr int StorstaAntalSkott = 60;
constexpr int MinstaAntalSkyttar = 1;
// What a new team competition starts with.
constexpr int NyAntalSkyttar = 3;
constexpr int NyAntalSkottNationellt = 40;
constexpr int NyAntalSkott = 60;

inline const QString Sport = QStringLiteral("Sport");
inline const QString Nat = QStringLiteral("Nat");

struct Lagtavling {
    qint64 nyckel = 0; // Lagtävling
    QString namn;
    int antalSkyttar = 0;
    int antalSkott = 0;
    int omg = 0; // 0: no round
    QString sportNat;
};

// Every team competition in the order they were made (by key).
QList<Lagtavling> lista(const Databas& db);
std::optional<Lagtavling> hamta(const Databas& db, qint64 nyckel);
// At least one team exists, in any team competition.
bool finnsLag(const Databas& db);
// At least one team belongs to the team competition.
bool LagtavlingAnvands(const Databas& db, qint64 nyckel);
// Another team competition than utom already has the name (trimmed, letter
// case ignored).
bool namnUpptaget(const Databas& db, const QString& namn, qint64 utom = 0);

// The competition uses rounds but has none: a team competition cannot be made
// or shown, because it must belong to a round.
bool omgangSaknas(const modGlobalt& g);
// The refusals of "new" and of a click in the list when a round is missing;
// true when the operator may go on.
bool kanSkapa(const modGlobalt& g, Meddelanden& m);
bool kanVisa(const modGlobalt& g, Meddelanden& m);

struct Ny {
    std::optional<qint64> nyckel; // the new team competition
    bool namnUpptaget = false;    // refused: the name was taken
};
// Asks for the name and makes a team competition with the kind's defaults:
// 3 shooters, 40 shots in a national competition and 60 otherwise, the first
// round when rounds are used, "Nat" in a national competition and "Sport"
// otherwise. Nothing is made when the operator cancels or gives only blanks.
Ny NyLagtavling(modGlobalt& g, Meddelanden& m);

// What leaving a field of a team competition came to.
enum class Utfall {
    Sparad, // written, or nothing to write
    Nekad,  // the check refused the value (told when m is given); nothing written
    HarLag, // the team competition has teams and cannot be changed; nothing written
};
// The field writes. A value is written only when its check accepts it: a name
// that is not blank and not another team competition's, at least one shooter,
// 10 to 60 shots. A value equal to the stored one writes nothing and passes.
// m null: refused silently (the form is closing).
Utfall sparaNamn(Databas& db, Meddelanden* m, qint64 nyckel, const QString& text);
Utfall sparaAntalSkyttar(Databas& db, Meddelanden* m, qint64 nyckel, const QString& text);
Utfall sparaAntalSkott(Databas& db, Meddelanden* m, qint64 nyckel, const QString& text);
// A round that does not exist (or 0) is written as 0: never another round's number.
Utfall sparaOmg(Databas& db, qint64 nyckel, int omg);
// "Sport" or "Nat"; anything else is written as "Sport".
Utfall sparaSportNat(Databas& db, qint64 nyckel, const QString& text);

// Asks, and deletes the team competition unless it has teams; true when deleted.
bool taBort(Databas& db, Meddelanden& m, qint64 nyckel);

// The close check while team competitions are ticked: at least one must exist.
bool FinnsLag(const Databas& db, Meddelanden& m);

} // namespace Lagtavlingar
