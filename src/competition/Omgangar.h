#pragma once

#include <QList>
#include <QString>
#include <optional>

class Databas;

// The competition's rounds, the table [Tävlings omg]: a number (Omg), which is
// the key every shooter and team competition points at, and a description.
// Each change is one transaction; a change that the rules refuse is returned as
// the message to show and writes nothing. Database failures are thrown as Fel.
namespace Omgangar {

struct Omgang {
    int omg = 0;
    QString beskrivning;
};

// What the operator is told when a change is refused.
struct Vagran {
    QString text;
    QString titel;
};

// What the operator is told when a list is asked for in a competition that
// uses rounds but has none entered: no list can be made of no round.
Vagran ingenOmgang();

// A round number is a whole number in this range (the field has always been a
// 16-bit integer).
constexpr int MinstaOmg = 1;
constexpr int StorstaOmg = 32767;

// Every round in order of its number.
QList<Omgang> alla(const Databas& db);
// Every round in the order it was entered.
QList<Omgang> iInskrivenOrdning(const Databas& db);
// The round with this number, if there is one.
std::optional<Omgang> hitta(const Databas& db, int omg);

// A typed round number (blanks around it ignored) as a number, or why it
// cannot be one: 0 and below, or not a whole number in range.
struct Nummer {
    std::optional<int> omg;
    Vagran vagran;
};
Nummer tolkaNummer(const QString& text);
// Round 0 is refused as soon as the operator moves on from the number, before
// anything is saved: the refusal when the typed text is nought in any spelling
// the save reads as 0 ("0", "00", " 0"); nothing otherwise, also for what the
// save refuses for other reasons.
std::optional<Vagran> nollVagras(const QString& text);

// Adds a round. Refused when a field is empty, the number is no round number,
// or the number or the description (letter case ignored) is already used.
std::optional<Vagran> laggTill(Databas& db, const QString& omgText, const QString& beskrivning);
// Gives round omg a new description; it is not compared with the other rounds'.
// Refused when the description is empty or the round no longer exists.
std::optional<Vagran> andraBeskrivning(Databas& db, int omg, const QString& beskrivning);

// Why round omg cannot be deleted: it is the last round, or shooters are entered
// on it. Nothing when it can.
std::optional<Vagran> borttagVagras(const Databas& db, int omg);
// Deletes round omg, checking the same rules inside the transaction. Team
// competitions of the round keep its number; their tab reports it.
std::optional<Vagran> taBort(Databas& db, int omg);

} // namespace Omgangar
