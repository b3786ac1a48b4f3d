#pragma once

// What the copy and its undo stand on: the system calls in use, the failure
// that carries an error number (or a refusal) to where they answer, a
// descriptor that closes itself, the few file operations both need, and where
// a copy into one target keeps its things beside it. Nothing here decides
// anything; the rules live in Angring (the undo) and Kopia (the copy).

#include "platform/folder_copy/Systemanrop.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QString>
#include <functional>
#include <initializer_list>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace Mappkopia::detalj {

// The calls in use: the system's own unless a test put its own in.
Systemanrop& sys();

// A failed system call, what was found beside the target not trusted, or a
// refusal naming what it concerns, carried to where the copy or the undo
// answers.
struct Systemfel {
    int fel;
    QByteArray sokvag;
    QString orsak = {}; // why what was found is not trusted, for the operator
};

[[noreturn]] void kasta(int fel);
[[noreturn]] void otillforlitlig(const QString& orsak = {});
[[noreturn]] void vagra(int fel, const QByteArray& sokvag);
// Throws errno's failure unless ok.
void krav(bool ok);
// A file's mode and times are kept where the target can hold them: a FAT
// stick through FUSE answers that it cannot, which is no reason to fail.
void omMojligt(bool ok);

// In a backup or moved-aside folder: the mark that the program made it, and a
// replaced file on its way in while it is copied there. The staging folder has
// a mark of its own, which a new target brings along until it is removed
// there: a target holding it is never taken for a backup.
inline const QByteArray Markering = ".pilkrona-sakerhetskopia";
inline const QByteArray Mellanfil = ".pilkrona-sakerhetskopia.ny";
inline const QByteArray Markeringstext =
    "Den här mappen är en säkerhetskopia som Pilkrona gjorde vid en kopiering.\n";
inline const QByteArray Kopiemarkering = ".pilkrona-kopia";
inline const QByteArray Kopiemarkeringstext =
    "Den här mappen fylls av Pilkrona vid en kopiering och tas bort när kopieringen är klar.\n";
// In the staging folder from the moment the record lasts until the copy has
// taken effect: a staging folder that still holds new files beside it, with
// the record gone, belongs to a copy that had begun to move in.
inline const QByteArray Flyttmarkering = ".pilkrona-kopia.flyttar";
// A mark is written under this suffix and renamed into place once it lasts,
// so that a mark is whole or not there.
inline const QByteArray Skrivs = ".skrivs";

bool arEgen(const QByteArray& namn);
// Whether mapp holds the mark namn as a plain file (not a link).
bool markerad(const QByteArray& mapp, const QByteArray& namn);
// Makes the folder mapp (missing) with the mark namn in it, both flushed:
// only with its mark does an undo trust what is in it.
void skapaMarkerad(const QByteArray& mapp, const QByteArray& namn, const QByteArray& text);
// Puts the mark namn into the folder mapp, which has none, and flushes both:
// written whole under another name first (one left by a cut goes), then
// renamed into place.
void markera(const QByteArray& mapp, const QByteArray& namn, const QByteArray& text);

QByteArray under(const QByteArray& mapp, const QByteArray& rel);
// A name below a relative path ("" the target itself).
QByteArray inre(const QByteArray& rel, const QByteArray& namn);
QByteArray foralder(const QByteArray& rel);
// Whether anything lies at sokvag, never followed.
bool finns(const QByteArray& sokvag, struct stat* st = nullptr);
// A name beside the target for the copy's own files: the target's name with
// a prefix and a suffix, cut so that ext4 (255 bytes) and FAT (255 characters)
// both hold it.
QByteArray namnBredvid(const QString& mappnamn, const QString& fore, const QString& efter);

inline constexpr int SistaSakerhetskopia = 99;

// Where a copy into one target keeps its things.
struct Platser {
    QString namn;
    QByteArray destination; // the folder holding the target
    QByteArray mal;
    QByteArray staging;
    QByteArray undan;
    QByteArray bak;
    QByteArray logg; // the record of what moving in touches
    bool giltig = false;

    explicit Platser(const QString& malmapp) {
        const QFileInfo info(QDir::cleanPath(malmapp));
        namn = info.fileName();
        giltig = !namn.isEmpty() && namn != QLatin1String("..") && namn != QLatin1String(".");
        destination = QFile::encodeName(info.path());
        mal = QFile::encodeName(info.filePath());
        staging = under(destination, namnBredvid(namn, QStringLiteral("."), QStringLiteral(".kopia")));
        undan = under(destination, namnBredvid(namn, QStringLiteral("."), QStringLiteral(".undan")));
        bak = bakNamn(1);
        logg = under(destination, namnBredvid(namn, QStringLiteral("."), QStringLiteral(".kopiering")));
    }

    // "Cup.bak", "Cup.bak2", ...
    QByteArray bakNamn(int n) const {
        return under(
            destination,
            namnBredvid(namn, {}, QStringLiteral(".bak") + (n > 1 ? QString::number(n) : QString())));
    }
};

// A descriptor closed when it goes. What was written is closed with stang(),
// which reports what a file system may have kept back until then; one given
// up on a failure is closed without a word, through the seam when it was
// opened for writing.
class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd();
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    void stang();

private:
    int m_fd;
};

// Flushes a folder's entries.
void synka(const QByteArray& mapp);
// Flushes, below each of rotter, the real folders holding the entries rels
// and every folder on their way.
void synkaForaldrar(const std::vector<QByteArray>& rels, std::initializer_list<const QByteArray*> rotter);
void skrivAllt(int fd, const QByteArray& text);
// A folder's names, sorted, without "." and "..".
std::vector<QByteArray> namnI(const QByteArray& mapp);
// Removes a file or a folder with everything in it, what it holds by the name
// sist last; false when something stayed. A link is removed, never followed.
bool taBort(const QByteArray& sokvag, const QByteArray& sist = {});
// The room a folder's files take on their medium, counting each file once.
qint64 upptaget(const QByteArray& sokvag);
// Creates the folders of rel below rot that are missing.
void skapaMappar(const QByteArray& rot, const QByteArray& rel);
void kopieraInnehall(int in, int ut);
// Copies the file fran into till, which it makes, with the mode lage and the
// times tider; flushed when synkas (else the caller flushes the file system).
void kopieraFil(const QByteArray& fran, const QByteArray& till, mode_t lage, const struct timespec tider[2],
                bool synkas);
// Whether a symbolic link stands on the way to rel below rot: one of the
// folders leading to it. Nothing below what does not exist does. The folders
// already looked at are kept in sett.
bool lankPaVagen(const QByteArray& rot, const QByteArray& rel, QSet<QByteArray>* sett = nullptr);
// Tells steg (when there is one) of the change about to be made at rel.
void anropa(const std::function<void(const QString&)>& steg, const QByteArray& rel);

} // namespace Mappkopia::detalj
