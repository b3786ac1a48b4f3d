#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "platform/folder_copy/Systemanrop.h"

// A folder copied into another one so that the target is never left half made,
// not even by a program killed half way, a pulled medium or a power cut: the
// copy is filled and flushed in a hidden folder beside the target
// (".<target>.kopia"). A target that does not exist yet is that folder renamed
// in one step. Into an existing one, a record beside the target
// (".<target>.kopiering") lists every entry that moving in will touch, before
// the first of them is touched; the files replaced are moved aside
// (".<target>.undan") and the new ones moved in; the record's removal is the
// moment the copy takes effect, after which what was moved aside becomes the
// target's backup ("<target>.bak", replacing the previous one while that
// holds only what a copy of ours put there). What a copy left beside a
// target because it was cut off is decided over by one function
// (detalj::bestam, which bedomAvbruten, angraAvbruten and the copy itself
// call): ended from where it stopped, taken back, refused, or nothing to do,
// by the rule written at Avbrott. Nothing here knows what the folder holds
// beyond what the caller tells it.
//
// What lies beside a target may come from another computer or a damaged
// stick: a record, a staging or moved-aside folder is checked before anything
// is moved, and one that cannot be trusted is left as it is (Otillforlitlig).
// The record says, for every entry it lists, what the copy saw (its kind, and
// a file's size and modification time, a folder's whole content): the undo
// removes or puts back an entry only when what lies there is that, and acts
// only when the entries stand together as the copy's order of moves can have
// left them at one moment (a copy by hand over a cut-off one never does). The
// staging folder and the moved-aside folder are the program's only with its
// mark in them, and a backup only while it holds what its mark lists. Nothing
// is renamed or removed through a symbolic link, no link is ever put into a
// target, and nothing outside the target, its staging and its
// moved-aside folder is touched by an undo.
//
// The caller keeps everyone else out of the target meanwhile (a lock), for the
// copy and for the undo alike.
namespace Mappkopia {

// Answered instead of an error number when what a cut-off copy left beside the
// target cannot be trusted: nothing was touched, and only a person can sort it
// out.
inline constexpr int Otillforlitlig = -1;
// Answered when none of "<target>.bak", "<target>.bak2" ... "<target>.bak99"
// is free or a backup of the program's: the copy is refused before anything
// moves (Utfall::sokvag names "<target>.bak").
inline constexpr int IngenSakerhetskopia = -2;
// Answered when the target holds, where the copy would replace something, a
// symbolic link, a pipe, a device, or a file with more names than one: the
// copy moves none of them, so its undo never has to put one back
// (Utfall::sokvag names it).
inline constexpr int OvantadPost = -3;
// Answered when the copy touches more entries than its record may hold.
inline constexpr int ForMangaPoster = -4;
// Answered when an entry of the source that must go as a plain file (what
// Uppdrag::vanligFil names) is a link, a pipe, a device or a folder: the copy
// would be without it (Utfall::sokvag names it).
inline constexpr int OvanligKalla = -5;

struct Uppdrag {
    QString kalla; // the folder whose content is copied
    QString mal;   // the folder it is copied into, made by the copy when missing
    // Entries (by their own name) that stay behind. A database is copied
    // whole by itself, so SQLite's journals beside it belong here.
    std::function<bool(const QString& namn)> utelamnas;
    // Files copied as a snapshot of a database when they are SQLite databases.
    std::function<bool(const QString& namn)> databas;
    // Entries of the source (by their path below it) that go only as plain
    // files: anything else there refuses the copy before anything is written.
    std::function<bool(const QString& rel)> vanligFil;
    // Asked for every file of the target that the copy would replace, before
    // anything is written: 0, or the error number that refuses the copy.
    std::function<int(const QString& sokvag)> ersattbar;
    // Called before each change in the target or beside it, with the entry's
    // path below the target (empty for the folders and the record beside it).
    std::function<void(const QString& rel)> steg;
    // False: a replaced file is copied aside rather than given a second name
    // first, as on a file system without links (FAT, exFAT); a file system
    // that refuses a link is treated so without being told.
    bool lankar = true;
};

struct Utfall {
    int fel = 0; // 0, the system's error number, or one of the answers above
    // What a refusal (IngenSakerhetskopia, OvantadPost) concerns.
    QString sokvag;
    // Otillforlitlig: what was found, in words for the operator.
    QString orsak;
    // What the copy needs on the medium beside the target and what was free
    // there, in bytes, once the source was read (0 and 0 before).
    qint64 behov = 0;
    qint64 ledigt = 0;
    // The folder that now keeps what the copy replaced; empty when it
    // replaced nothing.
    QString sakerhetskopia;
};

// Copies the content of kalla into mal: files of the same name replaced, other
// files of the target kept; symbolic links, devices and pipes are left out.
// A copy into mal that was cut off earlier is sorted out first as
// Avbrott::TaTillbaka says (taken back, or ended when every entry had moved
// in). A failure takes back everything. Copies get the
// modes a new file or folder of this process gets (its umask), never
// executable files, and keep their times where the target can hold them.
// What the copy needs at its peak on the medium is counted before anything is
// written: the new files, and the largest file it copies aside where links
// are refused. When that lacks room the previous backup goes first, if the
// copy replaces anything and that makes it fit; otherwise the copy is refused
// with the backup kept (ENOSPC, with behov and ledigt).
Utfall kopiera(const Uppdrag& uppdrag);

// Whether a copy into mal left anything beside it.
bool avbruten(const QString& mal);

// The caller's mode for a copy cut off after its record lasted, when every
// entry it had not moved in lies whole in its staging folder. The rule, in
// one place (detalj::bestam):
// - a copy whose every entry had moved in is ended, whatever the mode;
// - Avsluta: the folder is to be used as it is (opened, copied from): the
//   copy is ended from where it stopped, as it was asked for. A copy by hand
//   over it that nothing can tell from the cut keeps its files so;
// - TaTillbaka: the folder is about to be replaced by another copy: the copy
//   is taken back, so that the backup keeps what the folder held before it;
// - one cut off before its record lasted, or whose waiting files are not
//   whole, is taken back in either mode;
// - what cannot be one state of one copy of this program's is refused with
//   nothing touched (Otillforlitlig), and so is a staging folder that still
//   holds new files once its record is gone, when the copy had begun to move
//   in or had moved something aside.
// Left without its record after the copy took effect, the moved-aside files
// become the backup; a moved-aside folder that holds nothing of the copy's is
// removed and the previous backup stays.
enum class Avbrott {
    Avsluta,
    TaTillbaka,
};

// What becomes of a copy into a folder that was cut off.
struct Avbrottsbeslut {
    enum class Vad {
        Inget,      // nothing was left beside the folder
        Avsluta,    // ended from where it stopped, or only its leftovers cleared
        TaTillbaka, // taken back: the folder as it was before it
        Vagra,      // refused: utfall says why
    } vad = Vad::Inget;
    // fel 0; Otillforlitlig with orsak; IngenSakerhetskopia; or the system's
    // error number of what could not be read.
    Utfall utfall;
    // Where what the folder will hold at rel (a path below it) once the
    // decision is carried out lies now: in the folder, the new version still
    // waiting in the staging folder, the old one moved aside; empty when
    // nothing will be there.
    std::function<QString(const QString& rel)> plats;
};

// Judges a copy into mal that was cut off, touching nothing: what a check
// before a question asks, so that it can refuse at once or show what the
// folder will hold.
Avbrottsbeslut bedomAvbruten(const QString& mal, Avbrott satt);

// Ends, takes back or refuses (Avbrott) a copy into mal that was cut off, and
// removes what it left beside mal. Utfall::fel is 0, the system's error
// number of the step that failed (a later call goes on from there),
// Otillforlitlig with what was found in orsak, or IngenSakerhetskopia;
// sakerhetskopia names the backup the moved-aside files became.
Utfall angraAvbruten(const QString& mal, Avbrott satt,
                     const std::function<void(const QString& rel)>& steg = {});

// What a copy into mal left beside it, by the paths that exist (empty for
// those that do not), and the first backup folder a copy of the program's
// made there that holds anything.
struct Kvarlamnat {
    QString logg;
    QString staging;
    QString undan;
    QString sakerhetskopia;
};
Kvarlamnat kvarlamnat(const QString& mal);

// What a copy of kalla takes, by the paths below it ("Utskrifter/Lista.xlsx"),
// each folder before what it holds and a folder's files before its
// sub-folders: what utelamnas names, links, devices and pipes left out.
QStringList poster(const QString& kalla, const std::function<bool(const QString& namn)>& utelamnas);

// The backup folder beside a target: "Cup.bak" beside "Cup".
QString sakerhetskopia(const QString& mal);

// The program's own files inside a backup or moved-aside folder (the mark that
// it is one, a copy on its way there): they never go with a copy.
bool arEgenFil(const QString& namn);

// The hidden folder beside a target that a copy into it is filled in first:
// ".Cup.kopia" beside "Cup".
QString arbetsmapp(const QString& mal);

} // namespace Mappkopia
