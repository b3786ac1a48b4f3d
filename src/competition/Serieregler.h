#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The arithmetic of a shooter's series that needs neither a database nor a
// window: pair sums and totals, full marks, which series a class shoots, shot
// strings and tie-break counts and their text, the shoot-off value. Result
// entry stores what these compute; the lists rank by them.
namespace Serieregler {

constexpr int AntalSerier = 12;
constexpr int AntalPar = 6;
constexpr int MaxSerie = 50;

// Series 1..12 of a row, index 0 = series 1.
using Serier = std::array<int, AntalSerier>;

struct Summor {
    std::array<int, AntalPar> par{}; // pair k (1..6) at index k-1: series 2k-1 + 2k
    int totalt40 = 0;                // series 1 to 8
    int totalt60 = 0;                // series 1 to 12
};
Summor rakna(const Serier& serier);

// The pair (1..6) a series (1..12) belongs to.
constexpr int parForSerie(int serie) {
    return (serie + 1) / 2;
}

// The whole-number part of a field's text ("" is 0). Throws Fel 13 for a text
// that is not a number.
int heltalsdel(const QString& text);

// Full marks, shown red: a series "50", a pair "100", totals "400" and "600".
bool fullSerie(const QString& text);
bool fullPar(const QString& text);
bool fullTotalt40(const QString& text);
bool fullTotalt60(const QString& text);

// --- Classes and rows ---

// Series a class shoots: its number of shots / 5 to the nearest whole number
// (40 -> 8, 42 -> 8, 43 -> 9, 45 -> 9, 50 -> 10, 60 -> 12).
int klassensSerier(int antalSkott);
// Extra series a shooter must shoot for a team or the challenge prize.
int extraSerier(int lagserier, int vandringsSerier);

// --- Shot strings and tie-break counts ---

constexpr char16_t Innertia = u'*';
constexpr char16_t Tia = u'+';
inline const QString TomSkottstrang = QStringLiteral("00000");
inline const QString NollAntal = QStringLiteral("0,0,0,0,0,0,0,0,0,0");

// Whether a character may stand for a shot: a digit, "*" or "+".
bool arSkottecken(QChar tecken);
// The value of five shot symbols ("98*++" is 47); nothing when the text is not
// exactly five shot symbols.
std::optional<int> skottstrangsvarde(const QString& skott);
// How many characters of text equal tecken (with blanks trimmed from it).
int RaknaTecken(const QString& text, const QString& tecken);

struct Antal {
    int innertior = 0;
    QString tioNior = NollAntal; // tens (inner tens included), nines .. ones
};
// The counts of a shooter's twelve shot strings (a null string adds nothing).
Antal raknaAntal(const QStringList& skottstrangar);

// Whether the inner tens are counted from the shot strings for this machine
// set-up (SAM 4000 always; RIKA only with decimals and not by hand).
bool innertiorRaknas(const QString& model, const QString& decimalerRika, const QString& ejAutoInnertior);
// Whether the inner tens are typed by hand (RIKA without decimals, or switched).
bool innertiorForHand(const QString& model, const QString& decimalerRika, const QString& ejAutoInnertior);

// --- Count dialog ---

// TioNior split into the ten counts (tens first); missing or unreadable values 0.
std::array<int, 10> tioNiorVarden(const QString& tioNior);
// The ten counts joined as TioNior.
QString tioNiorText(const std::array<int, 10>& varden);

// --- Shoot-off ---

// Digits and at most one decimal comma; empty is 0. Nothing for any other text.
std::optional<double> tolkaSarskjutning(const QString& text);
// The stored value as shown: with a comma, no needless decimals ("9,5", "0").
QString visaSarskjutning(double varde);

} // namespace Serieregler
