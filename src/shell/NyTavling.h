#pragma once

#include <QString>

class modGlobalt;
class Meddelanden;

// Creating a competition: its folder, the database copied from the template, the
// Utskrifter folder, the first rows and the competition INI.
namespace NyTavling {

enum class Typ { Nationellt, Sportskytte, Mix };

struct Uppgifter {
    QString namn;
    QString antalBanor;
    QString datum;
    Typ typ = Typ::Nationellt;
    bool fleraTavlingar = false;
    QString sokvag; // the folder in which the competition folder is made
};

constexpr int MinstaAntalBanor = 1;
constexpr int StorstaAntalBanor = 999;

enum class Bankontroll { Ok, Tom, UtanforGranser, InteSiffror };
// Digits only, 1 to 999. An empty text passes the field's own check but cannot
// be created.
Bankontroll kontrolleraAntalBanor(const QString& text);
// Shows the message that belongs to a failed lane check; false when it failed.
bool visaBankontroll(Bankontroll k, Meddelanden& m);

// A name that can be a folder and file name: not empty, not "." or "..", none
// of / \ : * ? " < > |.
bool giltigtNamn(const QString& namn);

// The text with a trailing separator.
QString medAvslut(const QString& sokvag);

// The name a file of the competition has while it is being made (hidden, in the
// competition folder): "<folder>.<name><andelse>.ny".
QString tillfalligtNamn(const QString& mapp, const QString& namn, const QString& andelse);
// Whether a file name is such a file of an unfinished creation (".<name>.ini.ny",
// ".<name>.air.ny"): never part of a competition that is copied.
bool arTillfalligtNamn(const QString& filnamn);

// Checks the fields and the folder, asks whether a missing folder shall be made,
// creates the competition and leaves it as the open competition (locked, state
// loaded from the INI just written, connection open, first in the recent list).
// Every refusal and failure is shown through m; a failure after files were made
// removes what this attempt made and clears the state, so a retry works.
bool skapa(modGlobalt& g, Meddelanden& m, const Uppgifter& u);

} // namespace NyTavling
