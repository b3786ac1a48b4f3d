#pragma once

#include <QString>
#include <QVariant>

class clsIni;
class modGlobalt;

// The squad message: the text snapshot of one squad that the spectator display
// program shows. A header line of five fields (competition, kind, shooting time,
// squad, redraw flag), then one line of sixteen fields per lane in lane order,
// fields joined by "|", every line ended by CR LF. The display reads it one byte
// per character in Windows-1252; there is no framing beyond the lines, so a new
// message is known by its five-field header.
namespace SkapaTCPData {

// A text field as it may stand in a message: "|" becomes "/", CR LF one blank,
// a lone CR or LF and every other control character a blank, so that no name can
// split a field or a line on the display; a letter Windows-1252 lacks is sent
// without its accent, anything else it lacks as "?".
QString textfalt(const QString& text);

// A number field: 0 for a missing value, otherwise the value as a 16-bit whole
// number, halves rounded to even. Throws Fel 6 when it does not fit and Fel 13
// when it is no number.
int NullTillNoll(const QVariant& varde);

// Whether free lanes are sent too: the [Åskådarskärm] AllaBanor text equals 1
// as a whole number; a text that is not a whole number counts as 1.
bool allaBanor(const QString& text);
bool allaBanor(const clsIni& iniTavling);

// The message for a squad of the open competition, built anew from the
// database. Throws Fel when the database cannot be read.
QString bygg(modGlobalt& g, int skjutlag, bool allaBanor, bool omritning);

} // namespace SkapaTCPData
