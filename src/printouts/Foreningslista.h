#pragma once

#include "output/Arbetsboksram.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Databas;

namespace Kalkyl {
class Arbetsblad;
}

// The club list: for each club a block with its name and one row per shooter
// who has a lane (name, class, squad, lane, the round when rounds are in use,
// the squad's shooting time and, on request, the 60-shot total), written in
// the workbook frame and printed or saved as Föreningslista.
namespace Foreningslista {

// The clubs with shooters, in Swedish order with letter case ignored; names
// that differ only in letter case are one club. No empty name.
QStringList foreningar(const Databas& db);

// One shooter row of a club.
struct Rad {
    QString namn, efternamn, klass;
    int skjutlag = 0, bana = 0, omg = 0, totalt60 = 0;
};
// The club's shooters that have a lane, in squad and lane order; with results
// highest Totalt60 first. A shooter on two lanes has a row for each.
QList<Rad> skyttar(const Databas& db, const QString& forening, bool medResultat);

struct Val {
    // Nothing: every club.
    std::optional<QString> forening;
    bool nySida = true;    // every club after the first on a page of its own
    bool resultat = false; // the Res column
};

// Writes the list into a set-up sheet from the competition's data.
void skriv(Kalkyl::Arbetsblad& blad, Databas& db, bool omgangar, const Val& val);

// The whole run in the frame: set-up, header (with [Debug] VersionExcel),
// the sheet, then printed and saved or saved. Returns the saved file's path;
// nothing when nothing was saved (the operator has been told why).
// The list's sheet as the workbook frame sets it up.
const Arbetsboksram::Lista& ark();

std::optional<QString> kor(const Arbetsboksram::Omgivning& o, Utskriftsmal mal, const Val& val);

} // namespace Foreningslista
