#pragma once

// The record a copy into an existing target writes beside it before it
// touches the target (".<target>.kopiering"), and the pictures in it: what
// the copy saw of every entry that moving in touches. The record comes from
// disk, perhaps from another computer: it is read as input, and nothing of it
// is used unless every line is one this program writes.
//
// Its form: "mappkopia 2" on the first line, "klar" on the last, and between
// them one line for each change of moving in, in its order - "N <path> <new>"
// for an entry new to the target, "E <path> <new> <old>" for one replaced,
// "J <path> <old>" for a journal moved aside - each followed by the whole
// content of a folder it names ("n" lines for the new folder's, "u" for the
// old one's). A picture is "D" (a folder) or "F:<size>:<s>:<ns>" (a file and
// its modification time); paths are percent-encoded, below the target.

#include <QByteArray>
#include <QtGlobal>
#include <optional>
#include <sys/stat.h>
#include <time.h>
#include <vector>

namespace Mappkopia::detalj {

// What the copy saw of an entry: its kind, and a file's size and modification
// time. A folder's content is listed entry by entry beside it.
struct Bild {
    char typ = 0; // 'F' a file, 'D' a folder
    qint64 storlek = 0;
    qint64 sek = 0;
    qint64 nsek = 0;
};

struct Inre {
    QByteArray rel; // below the target
    Bild bild;
};

// One change that moving in makes, as the record lists it.
struct Steg {
    enum Typ : char {
        Ersatt = 'E',  // an entry of the target moved aside and the new one moved in
        Ny = 'N',      // an entry new to the target moved in (a folder with everything in it)
        Journal = 'J', // a journal moved aside from beside the database that replaces its own
    } typ;
    QByteArray rel;
    Bild ny;                      // N, E: the new entry as it lies in the staging folder
    Bild gammal;                  // E, J: the old entry as it lay in the target
    std::vector<Inre> nyInre;     // what the new folder holds
    std::vector<Inre> gammalInre; // what the old folder held
    // A file replacing a file: the old one stays in place until the new one comes.
    bool fil() const { return ny.typ == 'F' && gammal.typ == 'F'; }
};

inline const QByteArray Loggrubrik = "mappkopia 2";
inline const QByteArray Loggslut = "klar";
// The most a copy writes: it refuses to touch more entries than a record this
// long, or of this many lines (the first and the last counted), holds, and a
// longer one is no record of the program's. Both sides ask rymsILogg().
inline constexpr qint64 StorstaLogg = qint64(16) << 20;
inline constexpr qsizetype StorstaAntal = 200'000;
inline bool rymsILogg(qint64 byte, qsizetype rader) {
    return byte <= StorstaLogg && rader <= StorstaAntal;
}

// A record that lacks its last line was cut off while it was written, before
// anything of the target was touched.
struct Logg {
    bool hel = false;
    std::vector<Steg> steg;
};

// How the file system holding a target keeps a modification time: at what
// precision, and whether only the years FAT and exFAT hold (1980 to 2107). A
// stick pulled and mounted again shows only what was kept: a time outside
// those years as the nearest it holds.
struct Tidsregel {
    qint64 upplosning = 1000; // nanoseconds
    bool fat = false;
    // A time the file system holds as it is: outside FAT's years the nearest
    // inside them (a FUSE driver would keep a later year modulo 128). A day's
    // margin covers every time zone the stick's local times may be in.
    struct timespec hallbar(struct timespec t) const;
};
Tidsregel tidsregel(const QByteArray& mapp);
Bild bildAv(const struct stat& st);
QByteArray bildtext(const Bild& b);
// Whether what lies at sokvag (never followed) is what the copy saw: a
// folder, or a file of that size and time with no other name. A link, a pipe,
// a device never is. sett: what lstat already told of it.
bool stammer(const QByteArray& sokvag, const Bild& b, const Tidsregel& regel,
             const struct stat* sett = nullptr);
// Whether the entry rel at sokvag is what the copy saw, a folder with exactly
// the entries listed, each what it was.
bool heltStammer(const QByteArray& sokvag, const QByteArray& rel, const Bild& b,
                 const std::vector<Inre>& innehall, const Tidsregel& regel);
// The record of a plan whose pictures are all taken; refused
// (ForMangaPoster, naming mal) when it would not fit.
QByteArray loggtext(const std::vector<Steg>& plan, const QByteArray& mal);
// The record at fil, or the refusal (Otillforlitlig) of what is no record of
// this program's.
Logg lasLogg(const QByteArray& fil);

// The mark of a moved-aside folder, and so of the backup it becomes: the
// sentence that tells a person what the folder is, then what it holds once
// every entry of the record has moved in - the old version of each entry the
// copy replaces and of each journal, with its picture - between the lines
// "sakerhetskopia 1" and "klar". A backup is the program's to empty only
// while it holds nothing else.
QByteArray markeringstext(const std::vector<Steg>& steg);
// What the mark at fil lists, by paths below its folder; nothing when it is
// no mark of that form (an earlier version's lists nothing, a cut-off or
// changed one is not whole).
std::optional<std::vector<Inre>> lasMarkering(const QByteArray& fil);

} // namespace Mappkopia::detalj
