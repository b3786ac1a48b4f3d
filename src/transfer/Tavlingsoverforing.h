#pragma once

#include "platform/Filnamn.h"

#include <QString>
#include <optional>

class Meddelanden;
class modGlobalt;

// Moving a whole competition folder to or from another folder (a USB stick,
// another disk). Works on files only: the copied competition is never opened.
namespace Overforing {

enum class Riktning { Import, Export };

// The wizard's paths, derived from its two fields.
struct Sokvagar {
    QString kallfil;     // the competition's database file, as the source field gives it
    QString filtitel;    // its name with extension, "Cup.air"
    QString kallmapp;    // the folder holding it, no trailing separator
    QString mappnamn;    // the last component of kallmapp, "Cup"
    QString destination; // the destination folder, with a trailing separator
    // Where the competition lands: destination + mappnamn.
    QString malmapp() const { return destination + mappnamn; }
};

// The outcome of the checks before a copy: go ahead, or back to a step of the
// wizard with the focus on one of its Browse buttons.
struct Kontroll {
    enum class Fokus { Kalla, Destination };
    bool ok = false;
    int steg = 0; // 0 the source step, 1 the destination step (when !ok)
    Fokus fokus = Fokus::Kalla;
    Sokvagar sokvagar;
};

// Every check before a copy, in order, its messages and questions through m.
// Nothing on disk changes before the operator's answers: a copy cut off into
// the source or the target is only judged here (refused at once when it
// cannot be trusted) and its dates shown as the copy will leave it.
// bladdradFiltitel is the file name the source Browse gave, empty when the
// source was not browsed. The names in the folder are held to the rules of the
// destination's file system, found out unless malfilsystem says it.
Kontroll kontrollera(Riktning riktning, const QString& kallfalt, const QString& destfalt,
                     const QString& bladdradFiltitel, const modGlobalt& g, Meddelanden& m,
                     std::optional<Filsystem> malfilsystem = std::nullopt);

// What a copy ended with. An empty feltext is success. sokvagsfel marks a
// refusal before anything was copied (the target held by another program),
// shown on its own under "Fel sökväg" rather than as a failed copy.
struct Kopieringsutfall {
    QString feltext;
    bool sokvagsfel = false;
    // Where the files the copy replaced are kept, when that is not the usual
    // backup folder (sakerhetskopia), which was no backup of the program's.
    QString sakerhetskopia;
};

// Copies the folder kalla (no trailing separator) with everything in it into
// destination (with a trailing separator), so that destination + the last
// component of kalla is created or filled; files of the same name there are
// replaced, other files stay.
//
// The target is never left half copied (platform/Mappkopia): everything is
// copied into a hidden folder beside it and flushed first; then the files it
// replaces are moved aside into its backup folder (sakerhetskopia) and the new
// ones moved in, under a record that lets a copy cut off half way, by a
// failure, a kill or a pulled medium, be sorted out by one decision: taken
// back by the copy itself or the next copy to the same target, ended by the
// opening of that competition or a copy from it (Mappkopia::Avbrott). A copy
// into the source cut off earlier is ended first when nobody has it open.
// Competition databases are copied as a consistent snapshot, so an open
// competition can be copied; what belongs to a program that has the
// competition open (locks, journals, temporary files) is left out, and so are
// symbolic links. The target's lock is held meanwhile: a target open in
// another program is refused (sokvagsfel). The room the copy needs at its
// peak is counted first: when the medium lacks it the backup that the copy
// would replace goes first if that makes room enough; a copy that does not
// fit even so is refused at once, "Disketten är full!" with the room needed
// and free, the backup kept. Copies can be read and written by their owner
// and keep their modification times where the target holds them. Runs on any
// thread; it shows nothing.
Kopieringsutfall kopieraTavlingsmapp(const QString& destination, const QString& kalla);

// The folder beside a target that keeps what the last copy into it replaced
// ("Cup.bak" beside "Cup"; each copy that replaces anything replaces it, when
// it is a backup the program made, else the copy's backup takes a free name
// and Kopieringsutfall::sakerhetskopia says which).
QString sakerhetskopia(const QString& malmapp);

// Whether a file of a competition folder stays behind when the folder is
// copied: what belongs to a program that has the competition open (its lock,
// a spreadsheet's lock, SQLite's journals) or to a write cut short.
bool utelamnas(const QString& namn);

// Why the folder kallmapp cannot be copied with its competitions: a
// competition database in it ("*.air") that is a symbolic link or no plain
// file, which the copy would leave out (it takes no links, pipes or devices)
// and still report done. Empty when there is none.
QString databashinder(const QString& kallmapp);

// Why the folder kallmapp cannot be copied with its competitions' settings: a
// competition's settings file beside its database ("Cup.ini" beside
// "Cup.air") that is there and is a symbolic link or no plain file. The copy
// would leave it out and bring the database alone, and still report done.
// Empty when there is none; a competition without a settings file goes as it
// is.
QString installningshinder(const QString& kallmapp);

// Why nothing can be copied into malmapp: it is there and is no folder (a
// symbolic link, to a folder or to nothing, a file, a pipe, ...). The copy
// never writes through a link. The text names it and what to do; empty when
// malmapp is a folder or is not there.
QString malhinder(const QString& malmapp);

// What the operator is told when the lock that keeps other copies out of
// malmapp while a copy makes it, plats (".<folder>.kopia.lock" beside it, or
// QLockFile's ".rmlock" beside that), is slag and no plain file.
QString felaktigtKopieringslas(const QString& malmapp, const QString& plats, const QString& slag);

// A failed copy's text for the system's error number: a full disk, a
// write-protected medium, otherwise the number and a Swedish description
// (systemfeltext).
QString kopieringsfeltext(int fel);

} // namespace Overforing
