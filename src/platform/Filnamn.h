#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Which names a file system can hold. A USB stick is usually formatted FAT or
// exFAT, and the club's Windows computers must be able to read what is put on
// it: those follow Windows' rules. Every other file system mounted here takes
// whatever Linux takes.
enum class Filsystem { Linux, Fat };

// The file system of the folder sokvag, or of its nearest existing parent when
// it is not made yet.
Filsystem filsystem(const QString& sokvag);

// What a FUSE mount is, which the kernel does not say: its type from
// /proc/self/mountinfo ("fuseblk", "fuse.exfat") and the first sector of its
// device (empty when that cannot be read).
Filsystem fuseFilsystem(const QByteArray& typ, const QByteArray& forstaSektorn);

// What a mounted file system is, by what this machine says of it: its magic
// number from statfs(), its mount's type in /proc/self/mountinfo (nullopt: the
// mount is not there) and its device's first sector (read for FUSE only;
// empty when it cannot be). What cannot be told takes FAT's rules: they cost
// at most a name changed.
Filsystem filsystemAv(quint32 magi, const std::optional<QByteArray>& monteringstyp,
                      const QByteArray& forstaSektorn);

// What filsystem() reads of the machine is a folder's magic number from
// statfs() and the mount table, /proc/self/mountinfo; the rest (which mount
// the folder is on, its device's first sector) it works out the same way
// whichever gave them. While one of these lives, every folder is taken to
// answer statfs() with magi, and the mount table to read mountinfo: a test
// stands a folder in for a stick whose file system the kernel it runs on
// cannot mount (vfat and the kernel's exFAT are not in every kernel). The
// newest one counts while several live; the program itself never makes one.
class Ersattningsmontering {
public:
    Ersattningsmontering(quint32 magi, QByteArray mountinfo);
    ~Ersattningsmontering();
    Ersattningsmontering(const Ersattningsmontering&) = delete;
    Ersattningsmontering& operator=(const Ersattningsmontering&) = delete;

    const quint32 magi;
    const QByteArray mountinfo;

private:
    const Ersattningsmontering* m_forra;
};

// Whether a new file or folder can have this name on fs: empty when it can,
// otherwise why not, as a Swedish clause that a message can end with
// ("tecknet \":\" kan inte användas i ett namn").
QString namnfel(const QString& namn, Filsystem fs);

// The folders the chooser offers as drives: "/" and the volumes mounted for
// the user (a USB stick under /media/<user>/ or /run/media/<user>/, another
// disk), not the system's own file systems.
QStringList enheter();
// Whether a mounted volume, by its root and its type ("vfat", "proc"), is one.
bool arEnhet(const QString& rot, const QByteArray& typ);
