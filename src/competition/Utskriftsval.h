#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class Databas;

// The columns of the printed result list (table Utskriftsval), one row each,
// found by Listnamn. The rows come with the template and are only changed
// here: whether a column is printed and how wide it is.
namespace Utskriftsval {

struct Kolumn {
    QString listnamn;
    QString faltnamn;
    double bredd = 0;
    bool enable = false;
    bool alltidEnable = false; // always printed; Enable is not changed here
    bool standardEnable = false;
    double standardBredd = 0;
};

// Every Listnamn, alphabetically.
QStringList listnamn(const Databas& db);
std::optional<Kolumn> hamta(const Databas& db, const QString& listnamn);
// The row of a field the lists print ("SkyttekortNr" is the row listed as
// "Skyttekort nr"); nothing when the table has no such row.
std::optional<Kolumn> hamtaFalt(const Databas& db, const QString& faltnamn);

// A width as the operator sees it: always with a decimal comma.
QString breddText(double bredd);
// A typed width, "13,5" or "13.5" alike, whatever the computer's own decimal
// separator; nothing when the text is empty. Throws Fel 13 on a text that is
// no number.
std::optional<double> tolkaBredd(const QString& text);

// Whether the column is printed; a column that is always printed keeps its
// Enable. True when a row was changed.
bool sparaMed(Databas& db, const QString& listnamn, bool med);
// The width from its text; an empty text, or the width the column already
// has, writes nothing. Throws Fel 13 on a text that is no number.
bool sparaBredd(Databas& db, const QString& listnamn, const QString& text);

// Every column back to its standard tick and width, all in one transaction.
void standard(Databas& db);

// The margins and layout that "Standard inst." puts back in their boxes.
inline const QString StandardVansterMarginal = QStringLiteral("1,2");
inline const QString StandardHogerMarginal = QStringLiteral("0");

// A margin that ends in "," loses it: "2," is 2.
QString utanSlutkomma(const QString& text);

} // namespace Utskriftsval
