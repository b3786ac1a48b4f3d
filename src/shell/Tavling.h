#pragma once

#include "platform/folder_copy/Mappkopia.h"
#include "shell/Installningar.h"
#include "shell/Tavlingslas.h"

#include <QLockFile>
#include <QString>
#include <memory>

class Databas;
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
// Vagrad for a file older than 1.0.7; throws Fel when a value does not convert,
// and when the INI is missing, cannot be read, or is a link or no plain file.
Oppning HamtaInstallningar(modGlobalt& g, Meddelanden& m);

// Opens cnnTavling on strTavlingsdatabas; throws Fel.
void SkapaADOConnection(modGlobalt& g);

// The competition's squads are its lane rows: as many as there are squad
// numbers in table Skjutlag. The INI's [Allmänt] Antal skjutlag only mirrors
// it, written after each squad operation has been committed; two files cannot
// change in one step, so a program stopped between the two leaves the INI
// behind, never the rows.
int antalSkjutlag(const Databas& db);
// Writes the database's squad count to the INI when the INI says otherwise.
// False when that write failed; the program goes on with the database's count.
bool rattaAntalSkjutlag(modGlobalt& g);

// The lock that keeps a competition to one program at a time: a hidden file in
// the competition folder, ".<name>.lock", held while the competition is open
// (and while a copy fills the folder).
QString lasfil(const QString& mapp, const QString& namn);
QString lasfil(const modGlobalt& g);
// Whether a file name is such a lock: it belongs to the program holding it and
// never goes with a competition that is copied.
bool arLasfil(const QString& filnamn);

// What the lock is taken for: what the operator is told speaks of it.
enum class Lasorsak { Oppna, Kopiera };

// The lock of the competition namn in the folder mapp, or why it was not had.
// A lock file that names no holder (empty: its program was killed while it
// took the lock; or one this user cannot read) is stale unless a program of
// this computer still holds it locked; so is one naming this very process
// that it no longer holds (a lock it could not remove when it let go). A lock
// file, or QLockFile's ".rmlock" beside it, that is no plain file (a pipe, a
// folder, a link, ...) is looked at without being opened, since reading a pipe
// waits for good, and is never removed: the lock is refused at once, naming it.
struct Las {
    Tavlingslas fil;       // held when not null
    bool upptagen = false; // another program holds it
    QString dator;         // the computer it names, when upptagen
    QString program;       // the program it names, when upptagen
    qint64 process = 0;    // the process it names, when upptagen
    QString lasfil;        // the lock file
    QString felaktig;      // the lock file that is no plain file; empty: none
    QString felaktigtSlag; // what that is, "en namngiven pipe (FIFO)"
    QLockFile::LockError fel = QLockFile::NoError;
    QString text; // what the operator is told when not held
    // Held by a program on another computer, as far as its file says: nothing
    // here can tell whether that program still runs.
    bool annanDator() const;
};
Las lasTavling(const QString& mapp, const QString& namn, Lasorsak orsak = Lasorsak::Oppna);
// A lock of another computer may be one that computer left behind (switched
// off, or the stick taken from it with the competition open): the operator is
// asked whether to remove it, under "Tävlingen används", in the same words for
// an opening and a copy. True after Ja, the lock file removed.
bool fragaOmLaset(const Las& l, Lasorsak orsak, Meddelanden& m);
// Takes the lock of the competition whose paths are set (into g.tavlingslas).
// False after a message naming the computer and process that hold it; a lock
// of another computer is removed when the operator says so (fragaOmLaset).
bool lasTavling(modGlobalt& g, Meddelanden& m);
// Every change is written at once, so a competition whose folder, database or
// INI cannot be written would fail at its first change: false after a message.
bool kontrolleraSkrivbar(const modGlobalt& g, Meddelanden& m);

// What the operator is told when a copy into the folder mapp that was cut off
// could not be ended or taken back (u from Mappkopia::angraAvbruten,
// bedomAvbruten or a copy that met it): what was left cannot be trusted
// (otillforlitligKopia), the backup has no name (ingenSakerhetskopia), or a
// step failed and what to do about it. Empty when u is no failure. Opening,
// the wizards' check and the copy all say it through this.
QString avbrottstext(const QString& mapp, const Mappkopia::Utfall& u);

// What the operator is told when a copy into the folder mapp was cut off and
// what it left beside the folder cannot be trusted (Mappkopia::Otillforlitlig):
// what was found (orsak, from the undo), that the folder may hold files of
// two versions, what each hidden thing beside it holds, and to move them and
// the folder aside - any of them may hold the only copy of a version - before
// getting the competition again.
QString otillforlitligKopia(const QString& mapp, const QString& orsak = {});

// What the operator is told when what a copy into mapp replaces has nowhere
// to go (Mappkopia::IngenSakerhetskopia): "<mapp>.bak" up to "<mapp>.bak99"
// are all folders the program did not make, and which of them to move.
QString ingenSakerhetskopia(const QString& mapp);

// Whether a competition whose database is missing may still be opened: a copy
// into its folder that was cut off may have moved the database aside, and
// opening ends that copy or takes it back.
bool saknadEfterAvbrutenKopia(const QString& databas);

// The lock, the write check, the settings step and the connection step, each
// reporting its own failure, then the INI's squad count put in step with the
// database (unless hoppaOver: a competition just created has
// locked, loaded and connected itself). On anything but Oppnad the caller
// returns to the no-competition state.
Oppning OppnaTavling(modGlobalt& g, Meddelanden& m, bool hoppaOver);

// Everything a close leaves behind: state cleared, connection closed, lock
// released.
void stang(modGlobalt& g);

} // namespace Tavling
