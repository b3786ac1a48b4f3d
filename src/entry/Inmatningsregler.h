#pragma once

#include "competition/Serieregler.h"

#include <QList>
#include <QString>
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

// The count field (index 11 inner tens, 10 tens .. 1 ones) that an arrow key
// moves to; Qt::Key_Up, Key_Down, Key_Left or Key_Right.
int antalfaltVidPil(int index, int tangent);

} // namespace Inmatningsregler
