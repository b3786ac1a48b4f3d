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
// target's backup ("<target>.bak", replacing the previous one when that is a
// backup of ours). A record left behind means a copy that did not end:
// angraAvbruten() takes every entry it lists back to what it was, from what it
// finds in the three places, so that an undo cut off in its turn is undone
// again by the next one; a copy whose every entry had moved in is ended
// instead. Nothing here knows what the folder holds beyond what the caller
// tells it.
//
// What lies beside a target may come from another computer or a damaged
// stick: a record, a staging or moved-aside folder is checked before anything
// is moved, and one that cannot be trusted is left as it is (Otillforlitlig).
// The record says, for every entry it lists, what the copy saw (its kind, and
// a file's size and modification time, a folder's whole content): the undo
// removes or puts back an entry only when what lies there is that, and acts
// only when the entries stand together as the copy's order of moves can have
// left them at one moment (a copy by hand over a cut-off one never does). The
// staging folder, the moved-aside folder and a backup are the program's only
// with its mark in them. Nothing is renamed or removed through a symbolic link, no link is
// ever put into a target, and nothing outside the target, its staging and its
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
// A copy into mal that was cut off earlier is undone first. A failure takes
// back everything. Copies get the modes a new file or folder of this process
// gets (its umask), never executable files, and keep their times where the
// target can hold them. When the medium lacks room for the copy the previous
// backup goes first, if the copy replaces anything (it would replace the
// backup anyway); a copy that still has no room is refused before anything is
// written (ENOSPC).
Utfall kopiera(const Uppdrag& uppdrag);

// Whether a copy into mal left anything beside it.
bool avbruten(const QString& mal);

// What becomes of a copy cut off after its record lasted, when what it had
// not moved in yet lies whole in its staging folder.
enum class Avbrott {
    // The folder is to be used as it is (opened, copied from): the copy is
    // ended from where it stopped, as it was asked for. A copy by hand over
    // it that nothing can tell from the cut itself keeps its files so.
    Avsluta,
    // The folder is about to be replaced by another copy: the copy is taken
    // back, so that the backup keeps what the folder held before it.
    TaTillbaka,
};

// Ends or takes back (satt) a copy into mal that was cut off before it took
// effect; one cut off before its record lasted, or whose files not yet moved
// in are not whole, is taken back (the target, the backup as they were). One
// cut off after it took effect is ended (its moved-aside files become the
// backup). What it left beside mal is removed. 0, the system's error number of
// the step that failed (a later call goes on from there), or Otillforlitlig,
// with what was found in orsak.
int angraAvbruten(const QString& mal, const std::function<void(const QString& rel)>& steg = {},
                  QString* orsak = nullptr, Avbrott satt = Avbrott::Avsluta);

// What a copy into mal left beside it, by the paths that exist (empty for
// those that do not), and the backup folder in use there when it holds
// anything.
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
