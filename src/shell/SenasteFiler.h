#pragma once

#include "platform/clsIni.h"

#include <QList>
#include <QString>
#include <optional>

class modGlobalt;
class Meddelanden;

// The five most recently opened competitions, kept in the program INI as
// Sökvägar/Filnamn1 (newest) .. Filnamn5. An empty key is an empty slot, and
// empty slots may lie between filled ones.
namespace SenasteFiler {

// The menu caption of item i: "&i " and the path, shortened to its first 3 and
// last 34 characters around "..." when it is longer than 40. An "&" of the path is
// doubled so that it shows instead of marking an access key.
QString menytext(int i, const QString& sokvag);

// The path in item i (1 to 5), "" for an empty slot.
QString filnamn(const modGlobalt& g, int i);

// The number of the highest filled key (0 when none).
int Hur_manga_filnamn_finns_det(const modGlobalt& g);
// The writes that move every key up to the highest filled one (antal, from
// Hur_manga_filnamn_finns_det) down one step (the fifth drops out) and empty
// Filnamn1.
QList<clsIni::Post> Flytta_alla_filnamn_ett_steg(const modGlobalt& g, int antal);
// Whether strTavlingsdatabas is already listed (exact comparison).
bool Finns_filnamnet_redan(const modGlobalt& g);
// Puts strTavlingsdatabas first, shifting the others: the count, the shift and
// Filnamn1, written in one rewrite of the program INI so that a failure leaves
// the list as it was. A failure is shown; false then.
bool laggForst(modGlobalt& g, Meddelanden& m);
// Empties every item in one rewrite of the program INI and gives the numbers of
// those that were filled. A failure is shown and leaves the list as it was;
// nothing then.
std::optional<QList<int>> tomLista(modGlobalt& g, Meddelanden& m);

} // namespace SenasteFiler
