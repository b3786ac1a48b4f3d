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
