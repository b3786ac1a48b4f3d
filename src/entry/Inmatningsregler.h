#pragma once

#include "competition/Serieregler.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

// The rules of result entry's rows and keyboard: how a row's series are
// coloured, which of its fields show, and where the keys move the focus. The
// window only paints and moves as these say.
namespace Inmatningsregler {

using Serieregler::Serier;

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

// A field of a lane row that takes the focus.
enum class Faltslag { Serie, Sarskjutning, Antal };
struct Falt {
    Faltslag slag;
    int rad;
    int serie; // 1..12 for a series field, else 0
    friend bool operator==(const Falt&, const Falt&) = default;
};

// Where an arrow key takes the focus from a field of a row, and where the view
// goes with it: to the bottom when Up goes round from the first row to the
// last, to the top when Down goes round from the last row to the first.
struct Pilsteg {
    enum class Vy { Stannar, Topp, Botten };
    Falt till;
    Vy vy = Vy::Stannar;
};
// Left and Right stay in the row: the series by nastaSerie and
// foregaendeSerie, the shoot-off value to series 12 (8 where series 12 does
// not show) and to series 1, the count button to the shoot-off value and to
// series 1. Up and Down go to the same field of the row above or below, round
// the squad; in series 9 to 12 as radMedSynligtFalt says, so that where no
// other row shows the field the step stays where it is (till is the field it
// came from). Nothing for another key.
std::optional<Pilsteg> pilsteg(const Falt& fran, int tangent, int antalRader,
                               const std::function<bool(int rad)>& serie9Syns);

// The count field (index 11 inner tens, 10 tens .. 1 ones) that an arrow key
// moves to; Qt::Key_Up, Key_Down, Key_Left or Key_Right.
int antalfaltVidPil(int index, int tangent);

} // namespace Inmatningsregler
