#pragma once

#include <QString>

class Databas;
class modGlobalt;
class Meddelanden;

// Small procedures that the lists, the registration and the spectator link share.
namespace Delade {

// The highest squad in which a shooter has a 40-shot total other than 0; 0 when
// no results are entered. A failure is shown and gives 0.
int HamtaPaborjatSkjutlag(const Databas& db, Meddelanden& m);

// Makes sure the competition's Utskrifter folder exists; throws Fel when it
// cannot be made.
void SkapaUtskriftsmapp(const modGlobalt& g);

bool InnehallerApostrof(const QString& text);

// The computer's network name, "" when it cannot be had.
QString HamtaDatornamn();

// The spreadsheet version class of a version text: "97", "97SR1", "2000XP",
// "2007", or "" (too old, between classes, or unreadable). The decimal separator
// decides how "11.0" is read, as it always has.
QString fncKollaExcelVer(const QString& versionstext, const QString& decimaltecken, Meddelanden& m);
// The version class from the text before the first letter found (letters
// searched A to Z) and the suffix from that letter on; "Error" without a letter.
QString Bokstav(const QString& versionstext, const QString& decimaltecken, Meddelanden& m);
// "Ingen" as suffix stands for no letter suffix.
QString ValjUtExcelVer(double n, const QString& suffix);

} // namespace Delade
