#pragma once

#include "common/Poster.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class clsIni;
class Databas;
class Meddelanden;
class modGlobalt;

// One shooter of the registration: the free start numbers, the start-number
// check, saving a new, copied or edited shooter onto a lane of the shown squad
// (with the lane swap an edit may bring), and deleting. Refusals and questions
// go to the operator through the message seam and come back as an outcome the
// form acts on; database failures are thrown as Fel. Every save and delete is
// one transaction with its lane rows, and a shooter never stands on more than
// one lane afterwards, whatever lanes the rows held before.
namespace Skyttregister {

// Start numbers: 0 is "none", which any number of shooters may have.
struct LedigaStartnummer {
    QList<int> lista; // the free numbers below the highest (at most 30), then the proposal
    int forslag = 1;  // the highest number plus one
};
constexpr int MestLuckor = 30;
LedigaStartnummer ledigaStartnummer(const Databas& db);
// Whether another shooter than `utom` has this start number (0 never has).
bool startnummerFinns(const Databas& db, int startnr, qint64 utom = 0);
// A start-number text as the field holds it: empty is 0. Throws Fel 13 on a
// text that is no whole number from 0 up.
int startnummer(const QString& text);

// The shooter with this key; the placeholder and a missing row give nothing.
std::optional<Skytt> hamta(const Databas& db, qint64 lopnummer);
// The clubs of the registered shooters, each once, in Swedish order.
QStringList foreningar(const Databas& db);

// Who takes part in the challenge prize, read from [Vandringspris]: nobody
// when the prize is off, everyone with "Alla", the ticked ones with "Valda".
struct Prisregel {
    bool pa = false;
    bool alla = false;  // Vilka "Alla"
    bool valda = false; // Vilka "Valda"
    static Prisregel las(const clsIni& ini);
    // Every new shooter starts ticked.
    bool allaDeltar() const { return pa && alla; }
    // The box is ticked by hand.
    bool valjsForHand() const { return pa && valda; }
};
// The series a shooter gets at a save: the prize's shots (read now) in
// five-shot series when he takes part, else 0.
int vandringsserier(const clsIni& ini, const Prisregel& regel, bool ikryssad);

// The fields of the form as typed.
struct Uppgifter {
    QString namn, efternamn, forening, klass, licensnr, skyttekortNr, fodelsear;
    QString startnr;            // the start-number field; empty is 0
    QString bana;               // the lane field
    std::optional<int> omg;     // the chosen round's key, when rounds are in use
    bool vandringspris = false; // the prize box is ticked
};

// What is being saved: a new shooter (typed or copied), or the shown shooter
// being edited. The lane is one of the squad shown.
struct Sparning {
    bool andrar = false;
    qint64 lopnummer = 0; // the edited shooter
    int skjutlag = 0;     // the squad shown
};

enum class Utfall {
    Sparad,
    BytetNekat, // the operator did not want the lane swap: nothing written
    FelBana,    // empty, below 1 or above the squad's lanes
    FelOmg,
    FelNamn,
    FelForening,
    FelKlass,
    FelFodelsear,
    Dublett,      // the start number is another shooter's
    BanaUpptagen, // a new shooter on a taken lane
    BanaSaknas,   // the squad has no row for the lane
};
struct Resultat {
    Utfall utfall = Utfall::FelBana;
    qint64 lopnummer = 0; // the saved shooter
    int bana = 0;         // and his lane in the shown squad
};

// Checks the fields in the order the operator fills them (lane, round, name,
// club, class, birth year, start number), shows the first refusal and stops;
// then places the shooter: a new shooter only on a free lane, an edited one
// moved to a free lane or, after the operator agrees, swapped with the
// shooter on the lane (also across squads). All of it in one transaction.
Resultat spara(modGlobalt& g, Meddelanden& m, const Prisregel& regel, const Sparning& s, const Uppgifter& u);

// Deletes a shooter after asking, and once more when he is in a team; his
// lanes become free. False when the operator said no.
bool taBort(Databas& db, Meddelanden& m, qint64 lopnummer);

// The text as the fields keep names: the first character in upper case, the
// rest as typed.
QString storForstaBokstav(const QString& text);
// A birth year is empty or four characters.
bool fodelsearGodkant(const QString& text);

} // namespace Skyttregister
