#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// A folder copied into another one so that the target is never left half made,
// not even by a program killed half way, a pulled medium or a power cut: the
// copy is filled and flushed in a hidden folder beside the target
// (".<target>.kopia"); a record beside the target (".<target>.kopiering") then
// lists every entry that moving in will touch, before the first of them is
// touched; the files replaced are moved aside (".<target>.undan") and the new
// ones moved in; the record's removal is the moment the copy takes effect,
// after which what was moved aside becomes the target's backup ("<target>.bak",
// replacing the previous one). A record left behind means a copy that did not
// end: angraAvbruten() takes every entry it lists back to what it was, from
// what it finds in the three places, so that an undo cut off in its turn is
// undone again by the next one. Nothing here knows what the folder holds
// beyond what the caller tells it.
//
// The caller keeps everyone else out of the target meanwhile (a lock), for the
// copy and for the undo alike.
namespace Mappkopia {

struct Uppdrag {
    QString kalla; // the folder whose content is copied
    QString mal;   // the folder it is copied into; it exists
    // Entries (by their own name) that stay behind. A database is copied
    // whole by itself, so SQLite's journals beside it belong here.
    std::function<bool(const QString& namn)> utelamnas;
    // Files copied as a snapshot of a database when they are SQLite databases.
    std::function<bool(const QString& namn)> databas;
    // Asked for every file of the target that the copy would replace, before
    // anything is written: 0, or the error number that refuses the copy.
    std::function<int(const QString& sokvag)> ersattbar;
    // Called before each change in the target or beside it, with the entry's
    // path below the target (empty for the folders and the record beside it).
    std::function<void(const QString& rel)> steg;
    // False: a replaced file is moved aside rather than given a second name
    // first, as on a file system without links (FAT, exFAT).
    bool lankar = true;
};

struct Utfall {
    int fel = 0; // 0, or the system's error number
    // What the copy needs on the medium beside the target and what was free
    // there, in bytes, once the source was read (0 and 0 before).
    qint64 behov = 0;
    qint64 ledigt = 0;
};

// Copies the content of kalla into mal: files of the same name replaced, other
// files of the target kept; symbolic links, devices and pipes are left out.
// A copy into mal that was cut off earlier is undone first. A failure takes
// back everything. Files are the owner's to write and keep their times where
// the target can hold them. When the medium lacks room for the copy the
// previous backup goes first, if the copy replaces anything (it would replace
// the backup anyway); a copy that still has no room is refused before anything
// is written (ENOSPC).
Utfall kopiera(const Uppdrag& uppdrag);

// Whether a copy into mal left anything beside it.
bool avbruten(const QString& mal);

// Takes back a copy into mal that was cut off before it took effect (the
// target, the backup as they were), or ends one cut off after (its moved-aside
// files become the backup), and removes what it left beside mal. 0, or the
// system's error number of the step that failed; a later call goes on from
// there.
int angraAvbruten(const QString& mal, const std::function<void(const QString& rel)>& steg = {});

// What a copy of kalla takes, by the paths below it ("Utskrifter/Lista.xlsx"),
// each folder before what it holds and a folder's files before its
// sub-folders: what utelamnas names, links, devices and pipes left out.
QStringList poster(const QString& kalla, const std::function<bool(const QString& namn)>& utelamnas);

// The backup folder beside a target: "Cup.bak" beside "Cup".
QString sakerhetskopia(const QString& mal);

// The hidden folder beside a target that a copy into it is filled in first:
// ".Cup.kopia" beside "Cup".
QString arbetsmapp(const QString& mal);

} // namespace Mappkopia
