#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The arithmetic and the rules of result entry that need neither a database nor
// a window: pair sums and totals, full marks, which series a class shoots and
// how they are coloured, which fields of a row show, where the keyboard moves
// the focus, shot strings and tie-break counts, the shoot-off value. The window
// only paints what these say; the saving code stores what they compute.
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

enum class Seriefarg { Fonster, Gron, Rod };
// Back colour of series n (1..12) of a row whose class shoots S series and whose
// shooter has X extra series; series 1 and 2 always the window's colour.
Seriefarg serieFarg(int serie, int klassensSerier, int extraSerier);

// Whether a row is national: in a mixed competition by the class's Sport/Nat
// ("Nat"), otherwise when the competition is national.
bool arNationellRad(bool mix, bool nationellt, bool sportskytte, const QString& sportNat);

struct Radsynlighet {
    bool serier9till12 = true; // series 9 to 12, pair sums 50 and 60
    bool totalt40 = true;
    bool totalt60 = true;
};
// Which fields of a row show. klassensSerier empty: the class was not found
// (both totals as for a row without a class rule). Series 9 to 12 holding a
// value bring the 60-shot total back.
Radsynlighet synlighet(bool nationellRad, std::optional<int> klassensSerier, int lagserier,
                       int vandringsSerier, const Serier& serier);

// --- Keyboard ---

// Enter, Right, and the automatic move after two digits: series 1..7 and 9..11
// go to the next, 8 to 9 when series 9 shows in the row (else 1), 12 to 1.
int nastaSerie(int serie, bool serie9Syns);
// Left: 1 to 12 when series 12 shows in the row (else 8), others to the one before.
int foregaendeSerie(int serie, bool serie12Syns);
// Up or Down in series 9 to 12: the nearest row above (riktning -1) or below (+1)
// whose field shows, wrapping round; the start row itself when no other has it.
int radMedSynligtFalt(int fran, int riktning, int antalRader, const QList<bool>& synlig);
// Whether a key's text may go into a series field typed by hand.
bool tillatetISerie(QChar tecken);

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
// The count field (index 11 inner tens, 10 tens .. 1 ones) that an arrow key
// moves to; Qt::Key_Up, Key_Down, Key_Left or Key_Right.
int antalfaltVidPil(int index, int tangent);

// --- Shoot-off ---

// Digits and at most one decimal comma; empty is 0. Nothing for any other text.
std::optional<double> tolkaSarskjutning(const QString& text);
// The stored value as shown: with a comma, no needless decimals ("9,5", "0").
QString visaSarskjutning(double varde);

} // namespace Serieregler
