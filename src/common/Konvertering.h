#pragma once

#include <QString>

// Conversions of INI texts. They throw Fel 13 (type mismatch) on a text that does
// not convert, as the old runtime's conversions did; the opening of a competition
// reports that error with its own message.
namespace Konvertering {

// "True"/"False" in any letter case, or any number (0 = no, every other = yes).
bool textTillJaNej(const QString& text);

// A decimal number written with "," or "." as separator, whatever the locale: a
// file written on a machine with the other separator must read the same.
double textTillDecimal(const QString& text);

// A whole number in the range of the old Integer type, halves rounded to even.
int textTillHeltal(const QString& text);

// "1,2" style text of a decimal number, as the INI files store them.
QString decimalTillText(double varde);

// Lag/Lagtävling is on whenever its text is not "0".
inline bool lagtavlingPa(const QString& text) {
    return text != QLatin1String("0");
}
// ManuellaVal/LagsortVal is on only when its text is exactly "True".
inline bool lagsortValPa(const QString& text) {
    return text == QLatin1String("True");
}

} // namespace Konvertering
