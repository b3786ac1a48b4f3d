#pragma once

#include "shell/Installningar.h"

#include <QString>

class modGlobalt;
class Meddelanden;

// Opening a competition, the part without windows: paths, version gate, settings
// and connection. The main window adds the listener, the menus and the
// information window.
namespace Tavling {

// Sets strTavlingsdatabas, strTavlingsnamn (the file name less ".air") and
// strTavlingsmapp (its folder, with a trailing separator) from the database path.
void sattSokvagar(modGlobalt& g, const QString& databas);

// The competition INI of the competition whose paths are set.
QString iniSokvag(const modGlobalt& g);

enum class Utfall { Oppnad, Vagrad, Misslyckad };
struct Oppning {
    Utfall utfall = Utfall::Misslyckad;
    Installningar::Menyval menyval;
};

// The version gate and the settings load. Shows "Versionskonflikt" and answers
// Vagrad for a file older than 1.0.7; throws Fel when a value does not convert.
Oppning HamtaInstallningar(modGlobalt& g, Meddelanden& m);

// Opens cnnTavling on strTavlingsdatabas; throws Fel.
void SkapaADOConnection(modGlobalt& g);

// The settings step (unless hoppaOver, for a competition just created, which
// has loaded and connected itself) and the connection step, each reporting its
// own failure with the program's message. On anything but Oppnad the caller
// returns to the no-competition state.
Oppning OppnaTavling(modGlobalt& g, Meddelanden& m, bool hoppaOver);

// Everything a close leaves behind: state cleared, connection closed.
void stang(modGlobalt& g);

} // namespace Tavling
