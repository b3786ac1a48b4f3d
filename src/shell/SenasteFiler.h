#pragma once

#include <QString>

class clsIni;

// The five most recently opened competitions, kept in the program INI as
// Sökvägar/Filnamn1 (newest) .. Filnamn5.
namespace SenasteFiler {

// The menu caption of item i: "&i " and the path, shortened to its first 3 and
// last 34 characters around "..." when it is longer than 40. An "&" of the path is
// doubled so that it shows instead of marking an access key.
QString menytext(int i, const QString& sokvag);

} // namespace SenasteFiler
