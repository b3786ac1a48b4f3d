#pragma once

#include "common/Poster.h"
#include "competition/Rangordning.h"
#include "output/Arbetsboksram.h"

#include <QList>
#include <QString>
#include <optional>

class modGlobalt;

namespace Kalkyl {
class Arbetsblad;
}

// The challenge-prize list: every shooter with prize series, across classes
// and rounds, ranked in one list and written as a workbook in the workbook
// frame. A sport competition ranks by its pair sums (40 or 60 shots by the
// prize's [Vandringspris] AntalSkott), a national one by its eight series; a
// mixed competition has no prize list and gets an empty sheet.
namespace Vandringsprisbok {

enum class Layout { Ingen, Nationell, Sport40, Sport60 };

// The layout of the open competition. Only a sport competition reads
// AntalSkott; a value that is no number throws Fel 13.
Layout layout(const modGlobalt& g);

// The order of each layout. The sport lists put the counts of tens down to
// ones before the inner tens; equal shooters stand by family name, first name,
// Löpnummer and share their place.
const Rangordning::Kedja<Skytt>& kedja(Layout layout);

struct Urval {
    Layout layout = Layout::Ingen;
    QList<Skytt> skyttar; // ranked
    QList<int> platser;   // one per shooter: 1, 2, 2, 4
};
// The prize's shooters (VandringsSerier not 0) ranked with their places.
Urval valjUt(const modGlobalt& g);

// The title, the headings and one row per shooter, from row 1 of a set-up
// sheet. Nothing is written when there is no shooter.
void skriv(Kalkyl::Arbetsblad& blad, const QString& prisnamn, const Urval& urval);

// The list's sheet as the workbook frame sets it up.
const Arbetsboksram::Lista& ark();

// The whole list for "Printer" or "Fil". Returns the saved file's path;
// nothing when nothing was saved (the operator has been told why).
std::optional<QString> kor(const Arbetsboksram::Omgivning& o, Utskriftsmal mal);

} // namespace Vandringsprisbok
