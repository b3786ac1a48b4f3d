#include "platform/Mappkopia.h"

#include "platform/Databas.h"
#include "platform/Filnamn.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace Mappkopia {

Systemanrop::~Systemanrop() = default;
int Systemanrop::open(const char* sokvag, int flaggor, mode_t lage) {
    return ::open(sokvag, flaggor, lage);
}
int Systemanrop::fsync(int fd) {
    return ::fsync(fd);
}
int Systemanrop::syncfs(int fd) {
    return ::syncfs(fd);
}
int Systemanrop::link(const char* fran, const char* till) {
    return ::link(fran, till);
}
int Systemanrop::rename(const char* fran, const char* till) {
    return ::rename(fran, till);
}
int Systemanrop::mkdir(const char* sokvag, mode_t lage) {
    return ::mkdir(sokvag, lage);
}
int Systemanrop::unlink(const char* sokvag) {
    return ::unlink(sokvag);
}
int Systemanrop::rmdir(const char* sokvag) {
    return ::rmdir(sokvag);
}

namespace {

std::atomic<Systemanrop*> anropIBruk{nullptr};

Systemanrop& sys() {
    static Systemanrop systemets;
    Systemanrop* a = anropIBruk.load();
    return a ? *a : systemets;
}

// A failed system call, or what was found beside the target not trusted,
// carried to where the copy or the undo answers.
struct Systemfel {
    int fel;
};

[[noreturn]] void kasta(int fel) {
    throw Systemfel{fel ? fel : EIO};
}
[[noreturn]] void otillforlitlig() {
    throw Systemfel{Otillforlitlig};
}
void krav(bool ok) {
    if (!ok)
        kasta(errno);
}
// A file's mode and times are kept where the target can hold them: a FAT
// stick through FUSE answers that it cannot, which is no reason to fail.
void omMojligt(bool ok) {
    if (!ok && errno != ENOSYS && errno != EOPNOTSUPP && errno != EPERM)
        kasta(errno);
}

// In a backup folder: the mark that the program made it, and a replaced file
// on its way in while it is copied there.
const QByteArray Markering = ".pilkrona-sakerhetskopia";
const QByteArray Mellanfil = ".pilkrona-sakerhetskopia.ny";

bool arEgen(const QByteArray& namn) {
    return namn == Markering || namn == Mellanfil;
}

QByteArray under(const QByteArray& mapp, const QByteArray& rel) {
    return rel.isEmpty() ? mapp : mapp + '/' + rel;
}

// A name below a relative path ("" the target itself).
QByteArray inre(const QByteArray& rel, const QByteArray& namn) {
    return rel.isEmpty() ? namn : rel + '/' + namn;
}

QByteArray foralder(const QByteArray& rel) {
    const qsizetype snedstreck = rel.lastIndexOf('/');
    return snedstreck < 0 ? QByteArray() : rel.left(snedstreck);
}

bool finns(const QByteArray& sokvag, struct stat* st = nullptr) {
    struct stat s {};
    return ::lstat(sokvag.constData(), st ? st : &s) == 0;
}

// A name beside the target for the copy's own files: the target's name with
// a prefix and a suffix, cut so that ext4 (255 bytes) and FAT (255 characters)
// both hold it.
QByteArray namnBredvid(const QString& mappnamn, const QString& fore, const QString& efter) {
    QString stam = mappnamn;
    for (;;) {
        const QString namn = fore + stam + efter;
        const QByteArray kodat = QFile::encodeName(namn);
        if ((kodat.size() <= 255 && namn.size() <= 255) || stam.isEmpty())
            return kodat;
        stam.chop(1);
    }
}

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

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    // Closing reports what a file system may have kept back until then.
    void stang() {
        const int fd = m_fd;
        m_fd = -1;
        krav(::close(fd) == 0);
    }

private:
    int m_fd;
};

void synka(const QByteArray& mapp) {
    Fd fd(sys().open(mapp.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
    krav(fd.get() >= 0);
    // Some file systems cannot flush a folder on its own; nothing to wait for then.
    if (sys().fsync(fd.get()) != 0 && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        kasta(errno);
}

void skrivAllt(int fd, const QByteArray& text) {
    for (qsizetype skrivet = 0; skrivet < text.size();) {
        const ssize_t n = ::write(fd, text.constData() + skrivet, size_t(text.size() - skrivet));
        krav(n > 0);
        skrivet += n;
    }
}

std::vector<QByteArray> namnI(const QByteArray& mapp) {
    DIR* d = ::opendir(mapp.constData());
    krav(d != nullptr);
    std::vector<QByteArray> namn;
    errno = 0;
    while (const dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            namn.emplace_back(e->d_name);
        errno = 0;
    }
    const int fel = errno;
    ::closedir(d);
    if (fel)
        kasta(fel);
    std::sort(namn.begin(), namn.end());
    return namn;
}

// Removes a file or a folder with everything in it, what it holds by the name
// sist last; false when something stayed. A link is removed, never followed.
bool taBort(const QByteArray& sokvag, const QByteArray& sist = {}) {
    struct stat st {};
    if (::lstat(sokvag.constData(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return sys().unlink(sokvag.constData()) == 0 || errno == ENOENT;
    bool allt = true;
    try {
        for (const QByteArray& namn : namnI(sokvag))
            if (namn != sist)
                allt = taBort(sokvag + '/' + namn) && allt;
    } catch (const Systemfel&) {
        allt = false;
    }
    if (!sist.isEmpty() && allt)
        allt = taBort(sokvag + '/' + sist);
    return (sys().rmdir(sokvag.constData()) == 0 || errno == ENOENT) && allt;
}

// The room a folder's files take on their medium, counting each file once.
qint64 upptaget(const QByteArray& sokvag) {
    struct stat st {};
    if (::lstat(sokvag.constData(), &st) != 0)
        return 0;
    qint64 summa = st.st_nlink == 1 || S_ISDIR(st.st_mode) ? qint64(st.st_blocks) * 512 : 0;
    if (S_ISDIR(st.st_mode)) {
        try {
            for (const QByteArray& namn : namnI(sokvag))
                summa += upptaget(sokvag + '/' + namn);
        } catch (const Systemfel&) {
        }
    }
    return summa;
}

// Whether a name is a competition's lock (".Cup.lock"): a folder holding one
// is held open by a program.
bool arLas(const QByteArray& namn) {
    return namn.size() > 6 && namn.startsWith('.') &&
           (namn.endsWith(".lock") || namn.endsWith(".lock.rmlock"));
}

// Whether every file below rel in bak has a namesake at the same place in mal.
bool allaHarNamne(const QByteArray& bak, const QByteArray& mal, const QByteArray& rel) {
    for (const QByteArray& namn : namnI(under(bak, rel))) {
        const QByteArray r = inre(rel, namn);
        struct stat st {};
        if (!finns(under(bak, r), &st) || !finns(under(mal, r)))
            return false;
        if (S_ISDIR(st.st_mode) && !allaHarNamne(bak, mal, r))
            return false;
    }
    return true;
}

// Whether the folder bak beside the target is a backup this program made, and
// so may be emptied: one that holds the mark, or one made before there was a
// mark (the mode the program gave it, each file one the target also has). An
// empty folder loses nothing. A competition of its own, one held open or a
// link never is.
bool arVar(const Platser& p, const QByteArray& bak) {
    struct stat st {};
    if (!finns(bak, &st) || !S_ISDIR(st.st_mode))
        return false;
    try {
        const std::vector<QByteArray> namn = namnI(bak);
        const QString egenDatabas = QFileInfo(QFile::decodeName(bak)).fileName() + QStringLiteral(".air");
        bool markerad = false;
        for (const QByteArray& n : namn) {
            if (arLas(n) || QFile::decodeName(n).compare(egenDatabas, Qt::CaseInsensitive) == 0)
                return false;
            markerad = markerad || n == Markering;
        }
        // A removal of ours cut off after the mark went leaves an empty one.
        if (markerad || namn.empty())
            return true;
        // FAT shows every folder with the mode it was mounted with.
        if ((st.st_mode & 07777) != S_IRWXU && filsystem(QFile::decodeName(bak)) != Filsystem::Fat)
            return false;
        return allaHarNamne(bak, p.mal, {});
    } catch (const Systemfel&) {
        return false;
    }
}

// The backup folder a copy into the target uses: the first name that is free
// or a backup of ours.
QByteArray valjBak(const Platser& p) {
    for (int n = 1; n < 100; ++n) {
        const QByteArray bak = p.bakNamn(n);
        if (!finns(bak) || arVar(p, bak))
            return bak;
    }
    kasta(EEXIST);
}

// A backup's mark goes last, so that a removal cut off leaves a folder still
// known as ours.
bool taBortSakerhetskopia(const QByteArray& bak) {
    return taBort(bak, Markering);
}

// Creates the folders of rel below rot that are missing.
void skapaMappar(const QByteArray& rot, const QByteArray& rel) {
    if (rel.isEmpty())
        return;
    skapaMappar(rot, foralder(rel));
    if (sys().mkdir(under(rot, rel).constData(), S_IRWXU) != 0 && errno != EEXIST)
        kasta(errno);
}

// The modes of a new file and a new folder of this process. The umask is read
// where the kernel shows it: umask() would change it, for every thread.
struct Lagen {
    mode_t fil = 0644;
    mode_t mapp = 0755;
    Lagen() {
        mode_t mask = 022;
        QFile status(QStringLiteral("/proc/self/status"));
        if (status.open(QIODevice::ReadOnly)) {
            for (const QByteArray& rad : status.readAll().split('\n')) {
                if (!rad.startsWith("Umask:"))
                    continue;
                bool ok = false;
                const uint m = rad.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    mask = mode_t(m & 0777);
            }
        }
        fil = 0666 & ~mask;
        mapp = 0777 & ~mask;
    }
};

void kopieraInnehall(int in, int ut) {
    // A file system that shares blocks gives the copy at once; otherwise the
    // kernel copies without the data passing through here.
    if (::ioctl(ut, FICLONE, in) == 0)
        return;
    bool kopierat = false;
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, ut, nullptr, size_t(1) << 30, 0);
        if (n > 0) {
            kopierat = true;
            continue;
        }
        if (n == 0)
            return;
        if (!kopierat && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP))
            break;
        kasta(errno);
    }
    std::vector<char> buffert(size_t(1) << 20);
    for (;;) {
        const ssize_t n = ::read(in, buffert.data(), buffert.size());
        krav(n >= 0);
        if (n == 0)
            return;
        skrivAllt(ut, QByteArray::fromRawData(buffert.data(), qsizetype(n)));
    }
}

void kopieraFil(const QByteArray& fran, const QByteArray& till, const struct stat& st, mode_t lage) {
    Fd in(::open(fran.constData(), O_RDONLY | O_CLOEXEC));
    krav(in.get() >= 0);
    Fd ut(sys().open(till.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
    krav(ut.get() >= 0);
    kopieraInnehall(in.get(), ut.get());
    omMojligt(::fchmod(ut.get(), lage) == 0);
    const struct timespec tider[2] = {st.st_atim, st.st_mtim};
    omMojligt(::futimens(ut.get(), tider) == 0);
    ut.stang();
}

void kopieraDatabas(const QByteArray& fran, const QByteArray& till, const struct stat& st, mode_t lage) {
    if (const int fel = Databas::ogonblicksbild(QFile::decodeName(fran), QFile::decodeName(till)))
        kasta(fel);
    // The time of the state copied: a commit during the copy moves it on.
    struct stat nu = st;
    ::stat(fran.constData(), &nu);
    omMojligt(::chmod(till.constData(), lage) == 0);
    const struct timespec tider[2] = {nu.st_atim, nu.st_mtim};
    omMojligt(::utimensat(AT_FDCWD, till.constData(), tider, 0) == 0);
}

enum class Slag { Mapp, Fil, Databas };

struct Post {
    QByteArray rel;
    Slag slag;
    struct stat st;
};

// The source as a list, each folder before what it holds and a folder's
// files before its sub-folders. A link could lead anywhere, also into what the
// copy writes: links stay behind, as do devices and pipes.
void lasIn(const QByteArray& kalla, const QByteArray& rel, const Uppdrag& u, std::vector<Post>& poster) {
    std::vector<Post> mappar;
    for (const QByteArray& namn : namnI(under(kalla, rel))) {
        const QString text = QFile::decodeName(namn);
        if (arEgen(namn) || (u.utelamnas && u.utelamnas(text)))
            continue;
        Post p{inre(rel, namn), Slag::Fil, {}};
        krav(::lstat(under(kalla, p.rel).constData(), &p.st) == 0);
        if (S_ISDIR(p.st.st_mode)) {
            p.slag = Slag::Mapp;
            mappar.push_back(p);
            continue;
        }
        if (!S_ISREG(p.st.st_mode))
            continue;
        if (u.databas && u.databas(text) && Databas::arSqlite(QFile::decodeName(under(kalla, p.rel))))
            p.slag = Slag::Databas;
        poster.push_back(p);
    }
    for (const Post& m : mappar) {
        poster.push_back(m);
        lasIn(kalla, m.rel, u, poster);
    }
}

// One change that moving in makes, as the record lists it.
struct Steg {
    enum Typ : char {
        Ersatt = 'E',  // an entry of the target moved aside and the new one moved in
        Ny = 'N',      // an entry new to the target moved in (a folder with everything in it)
        Journal = 'J', // a journal moved aside from beside the database that replaces its own
    } typ;
    QByteArray rel;
    bool fil = false; // a file replacing a file: the old one stays in place until the new one comes
};

const QByteArray Loggrubrik = "mappkopia 1";
const QByteArray Loggslut = "klar";
// A record of 20,000 files takes about a megabyte.
constexpr qint64 StorstaLogg = qint64(64) << 20;

// A record that lacks its first or its last line was cut off while it was
// written, before anything of the target was touched.
struct Logg {
    bool hel = false;
    std::vector<Steg> steg;
};

// A path of a record as this program writes it: percent-encoded, and once
// decoded a path below the target with no way out of it.
bool giltigPost(const QByteArray& kodad, QByteArray& rel) {
    for (const char c : kodad)
        if (!std::isalnum(static_cast<unsigned char>(c)) && !std::strchr("-._~%", c))
            return false;
    rel = QByteArray::fromPercentEncoding(kodad);
    if (rel.isEmpty() || rel.startsWith('/') || rel.contains('\0'))
        return false;
    for (const QByteArray& del : rel.split('/'))
        if (del.isEmpty() || del == "." || del == "..")
            return false;
    return true;
}

// The record is read as whatever lies there: never through a link, never
// something that is not a plain file, nothing of it used unless every line is
// what this program writes.
Logg lasLogg(const QByteArray& fil) {
    Fd fd(sys().open(fil.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > StorstaLogg)
        otillforlitlig();
    QByteArray text;
    std::vector<char> buffert(size_t(1) << 16);
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffert.data(), buffert.size());
        if (n < 0 || text.size() + n > StorstaLogg)
            otillforlitlig();
        if (n == 0)
            break;
        text.append(buffert.data(), qsizetype(n));
    }
    const QList<QByteArray> rader = text.split('\n');
    Logg l;
    if (rader.size() < 3 || rader.first() != Loggrubrik || rader.at(rader.size() - 2) != Loggslut ||
        !rader.last().isEmpty())
        return l;
    for (qsizetype i = 1; i + 2 < rader.size(); ++i) {
        const QByteArray& rad = rader.at(i);
        Steg s{Steg::Ny, {}};
        if (rad.size() < 3 || rad.at(1) != ' ' || !QByteArray("ENJ").contains(rad.at(0)) ||
            !giltigPost(rad.mid(2), s.rel))
            otillforlitlig();
        s.typ = Steg::Typ(rad.at(0));
        l.steg.push_back(s);
    }
    l.hel = true;
    return l;
}

// Whether a symbolic link stands on the way to rel below rot: one of the
// folders leading to it, or with sista the entry itself. Nothing below what
// does not exist does.
bool lankPaVagen(const QByteArray& rot, const QByteArray& rel, bool sista) {
    for (qsizetype i = 0;;) {
        const qsizetype slut = rel.indexOf('/', i);
        if (slut < 0 && !sista)
            return false;
        struct stat st {};
        if (::lstat(under(rot, slut < 0 ? rel : rel.left(slut)).constData(), &st) != 0) {
            if (errno == ENOENT || errno == ENOTDIR)
                return false;
            kasta(errno);
        }
        if (S_ISLNK(st.st_mode))
            return true;
        if (slut < 0)
            return false;
        i = slut + 1;
    }
}

// No entry of a record is followed through a link. The entry itself may be
// one only where a copy could have found it: in the target or moved aside
// from there when it replaced it; what the copy itself made holds none.
void granskaPost(const Platser& p, const Steg& s) {
    if (lankPaVagen(p.mal, s.rel, s.typ == Steg::Ny) || lankPaVagen(p.staging, s.rel, true) ||
        lankPaVagen(p.undan, s.rel, false))
        otillforlitlig();
}

void anropa(const std::function<void(const QString&)>& steg, const QByteArray& rel) {
    if (steg)
        steg(QFile::decodeName(rel));
}

// What putting one entry of a record back takes, from what the three places
// hold now; an entry already back, or never touched, stays.
enum class Atgard {
    Inget,
    TillMal,          // what was moved aside goes back into the target
    TillStaging,      // what was moved in goes back to the staging folder
    TillStagingOchMal // both: a folder, or a file where a folder was
};

Atgard bestam(const Platser& p, const Steg& s) {
    struct stat t {
    }, u{};
    const bool iMal = finns(under(p.mal, s.rel), &t);
    const bool iNy = finns(under(p.staging, s.rel));
    const bool iUndan = finns(under(p.undan, s.rel), &u);
    // The staging folder of a genuine record stays until the undo has moved
    // every new entry back; without it nothing is moved there.
    const bool staging = finns(p.staging);
    switch (s.typ) {
    case Steg::Ny:
        return iMal && !iNy && staging ? Atgard::TillStaging : Atgard::Inget;
    case Steg::Journal:
        return iUndan && !iMal ? Atgard::TillMal : Atgard::Inget;
    case Steg::Ersatt:
        break;
    }
    if (!iUndan)
        return Atgard::Inget; // not begun, or back already
    if (iNy) {
        // Moved aside, not yet replaced: a file given a second name or copied
        // aside is still in its place.
        if (!iMal)
            return Atgard::TillMal;
        const bool samma = t.st_dev == u.st_dev && t.st_ino == u.st_ino;
        if (samma || (!S_ISDIR(t.st_mode) && !S_ISDIR(u.st_mode)))
            return Atgard::Inget;
        otillforlitlig();
    }
    // Replaced: a file takes its old place in one step; a folder, or a file
    // where a folder was, waits in the staging folder meanwhile.
    if (iMal && (S_ISDIR(t.st_mode) || S_ISDIR(u.st_mode))) {
        if (!staging)
            otillforlitlig();
        return Atgard::TillStagingOchMal;
    }
    return Atgard::TillMal;
}

// Moves rel from one of the three places to another, never through a link:
// what an earlier entry moved may have brought one along.
void flytta(const QByteArray& fran, const QByteArray& till, const QByteArray& rel) {
    if (lankPaVagen(fran, rel, false) || lankPaVagen(till, rel, false))
        otillforlitlig();
    skapaMappar(till, foralder(rel));
    krav(sys().rename(under(fran, rel).constData(), under(till, rel).constData()) == 0);
}

void aterstall(const Platser& p, const Steg& s, const std::function<void(const QString&)>& steg) {
    const Atgard a = bestam(p, s);
    if (a == Atgard::Inget)
        return;
    anropa(steg, s.rel);
    if (a != Atgard::TillMal)
        flytta(p.mal, p.staging, s.rel);
    if (a != Atgard::TillStaging) {
        // A target removed by hand since is made again to take it back.
        if (!finns(p.mal) && sys().mkdir(p.mal.constData(), S_IRWXU) != 0 && errno != EEXIST)
            kasta(errno);
        flytta(p.undan, p.mal, s.rel);
    }
}

// The target and the folders beside it are real folders, not links or files
// put there by someone else.
void granskaMappar(const Platser& p) {
    for (const QByteArray* mapp : {&p.mal, &p.staging, &p.undan}) {
        struct stat st {};
        if (finns(*mapp, &st) && !S_ISDIR(st.st_mode))
            otillforlitlig();
    }
}

// Removes what a copy into the target left beside it: a copy cut off before
// its record was gone is taken back, one cut off after is ended. Answers the
// backup folder that the moved-aside files became, if they did. What cannot
// be trusted is left as it is.
QByteArray stadaUpp(const Platser& p, const std::function<void(const QString&)>& steg) {
    if (!finns(p.logg) && !finns(p.staging) && !finns(p.undan))
        return {};
    granskaMappar(p);
    const auto taBortOchSynka = [&](const QByteArray& sokvag) {
        if (!finns(sokvag))
            return;
        anropa(steg, {});
        krav(taBort(sokvag));
        synka(p.destination);
    };
    if (finns(p.logg)) {
        const Logg logg = lasLogg(p.logg);
        if (logg.hel) {
            // Every entry checked, and what putting it back takes known,
            // before the first is touched.
            for (const Steg& s : logg.steg) {
                granskaPost(p, s);
                bestam(p, s);
            }
            QSet<QByteArray> mappar;
            for (auto s = logg.steg.rbegin(); s != logg.steg.rend(); ++s) {
                aterstall(p, *s, steg);
                for (QByteArray rel = foralder(s->rel);; rel = foralder(rel)) {
                    mappar.insert(rel);
                    if (rel.isEmpty())
                        break;
                }
            }
            for (const QByteArray& rel : mappar)
                if (finns(under(p.mal, rel)))
                    synka(under(p.mal, rel));
            // What is left there are second names and copies of files back in
            // their places.
            taBortOchSynka(p.undan);
        } else if (finns(p.undan)) {
            // Cut off while written, yet something was moved aside: no telling
            // what the copy did.
            otillforlitlig();
        }
        taBortOchSynka(p.staging);
        anropa(steg, {});
        krav(sys().unlink(p.logg.constData()) == 0 || errno == ENOENT);
        synka(p.destination);
    }
    QByteArray bak;
    if (finns(p.undan)) {
        bak = valjBak(p);
        if (finns(bak)) {
            anropa(steg, {});
            krav(taBortSakerhetskopia(bak));
        }
        anropa(steg, {});
        krav(sys().rename(p.undan.constData(), bak.constData()) == 0);
        synka(p.destination);
    }
    taBortOchSynka(p.staging);
    return bak;
}

class Kopia {
public:
    explicit Kopia(const Uppdrag& u)
        : m_u(u), m_p(u.mal), m_kalla(QFile::encodeName(QDir::cleanPath(u.kalla))) {}

    Utfall kor() {
        Utfall ut;
        if (!m_p.giltig) {
            ut.fel = EINVAL;
            return ut;
        }
        std::vector<Post> poster;
        std::vector<Steg> plan;
        try {
            stadaUpp(m_p, m_u.steg);
            struct stat st {};
            m_nytt = !finns(m_p.mal, &st);
            if (!m_nytt && !S_ISDIR(st.st_mode))
                kasta(ENOTDIR);
            lasIn(m_kalla, {}, m_u, poster);
            if (!m_nytt)
                plan = planera(poster);
            for (const Steg& s : plan) {
                const QByteArray mal = under(m_p.mal, s.rel);
                if (m_u.ersattbar && s.typ == Steg::Ersatt && finns(mal, &st) && S_ISREG(st.st_mode))
                    if (const int fel = m_u.ersattbar(QFile::decodeName(mal)))
                        kasta(fel);
            }
            gorPlats(poster, plan, ut);
        } catch (const Systemfel& f) {
            ut.fel = f.fel;
            return ut;
        }
        try {
            fyll(poster);
            if (m_nytt) {
                // A new target comes whole in one step.
                anropa(m_u.steg, {});
                krav(sys().rename(m_p.staging.constData(), m_p.mal.constData()) == 0);
            }
        } catch (const Systemfel& f) {
            ut.fel = f.fel;
            taBort(m_p.staging);
            try {
                synka(m_p.destination);
            } catch (const Systemfel&) {
            }
            return ut;
        }
        if (m_nytt) {
            try {
                synka(m_p.destination);
            } catch (const Systemfel& f) {
                ut.fel = f.fel;
            }
            return ut;
        }
        try {
            skrivLogg(plan);
            flyttaIn(plan);
            // Everything that moved is made to last before the record goes:
            // from then on the copy has taken effect.
            for (const QByteArray& rel : m_andradeMappar)
                synka(under(m_p.mal, rel));
            for (const QByteArray& rel : m_undanMappar)
                synka(under(m_p.undan, rel));
            synka(m_p.destination);
            anropa(m_u.steg, {});
            krav(sys().unlink(m_p.logg.constData()) == 0);
        } catch (const Systemfel& f) {
            ut.fel = f.fel;
            try {
                stadaUpp(m_p, {});
            } catch (const Systemfel&) {
                // Left for the next copy or opening, which find the record.
            }
            return ut;
        }
        // The target is whole now: what fails from here on is told, but
        // nothing is taken back.
        try {
            synka(m_p.destination);
            ut.sakerhetskopia = QFile::decodeName(stadaUpp(m_p, m_u.steg));
        } catch (const Systemfel& f) {
            ut.fel = f.fel;
        }
        return ut;
    }

private:
    // What moving in will do, in its order.
    std::vector<Steg> planera(const std::vector<Post>& poster) const {
        std::vector<Steg> plan;
        QByteArray nyMapp;
        for (const Post& p : poster) {
            if (!nyMapp.isEmpty() && p.rel.startsWith(nyMapp + '/'))
                continue;
            struct stat st {};
            const bool fanns = finns(under(m_p.mal, p.rel), &st);
            if (p.slag == Slag::Mapp) {
                if (fanns && S_ISDIR(st.st_mode))
                    continue; // filled entry by entry
                nyMapp = p.rel;
            }
            if (p.slag == Slag::Databas) {
                // A journal beside the old database would be played into the new one.
                const QString namn = QFile::decodeName(p.rel.mid(p.rel.lastIndexOf('/') + 1));
                for (const QString& sida : Databas::sidofiler(namn)) {
                    const QByteArray rel = inre(foralder(p.rel), QFile::encodeName(sida));
                    if (finns(under(m_p.mal, rel)))
                        plan.push_back({Steg::Journal, rel});
                }
            }
            if (fanns)
                plan.push_back({Steg::Ersatt, p.rel, p.slag != Slag::Mapp && S_ISREG(st.st_mode)});
            else
                plan.push_back({Steg::Ny, p.rel});
        }
        return plan;
    }

    // The previous backup goes before the copy when the medium lacks room for
    // both; a copy that replaces nothing leaves it, and one that would not fit
    // even without it is refused with the backup kept.
    void gorPlats(const std::vector<Post>& poster, const std::vector<Steg>& plan, Utfall& ut) const {
        struct statvfs v {};
        if (::statvfs(m_p.destination.constData(), &v) != 0)
            return; // told by the copy itself, if at all
        const qint64 block = qint64(v.f_frsize ? v.f_frsize : v.f_bsize ? v.f_bsize : 4096);
        // Root may use what a file system keeps back for it.
        const auto ledigt = [&] { return qint64(geteuid() == 0 ? v.f_bfree : v.f_bavail) * block; };
        ut.behov = 4 * block + (qint64(1) << 16);
        for (const Post& p : poster)
            ut.behov += p.slag == Slag::Mapp ? block : (qint64(p.st.st_size) + block - 1) / block * block;
        ut.ledigt = ledigt();
        if (ut.ledigt >= ut.behov)
            return;
        const bool ersatter =
            std::any_of(plan.begin(), plan.end(), [](const Steg& s) { return s.typ != Steg::Ny; });
        const QByteArray bak = ersatter ? valjBak(m_p) : QByteArray();
        if (ersatter && finns(bak) && ut.ledigt + upptaget(bak) >= ut.behov) {
            anropa(m_u.steg, {});
            krav(taBortSakerhetskopia(bak));
            synka(m_p.destination);
            if (::statvfs(m_p.destination.constData(), &v) == 0)
                ut.ledigt = ledigt();
            if (ut.ledigt >= ut.behov)
                return;
        }
        // A file system that shares blocks between copies needs less than
        // counted here: on the source's own, let the copy find out.
        struct stat kalla {
        }, dest{};
        if (::stat(m_kalla.constData(), &kalla) == 0 && ::stat(m_p.destination.constData(), &dest) == 0 &&
            kalla.st_dev == dest.st_dev)
            return;
        kasta(ENOSPC);
    }

    void fyll(const std::vector<Post>& poster) {
        anropa(m_u.steg, {});
        krav(sys().mkdir(m_p.staging.constData(), S_IRWXU) == 0);
        for (const Post& p : poster) {
            const QByteArray fran = under(m_kalla, p.rel);
            const QByteArray till = under(m_p.staging, p.rel);
            switch (p.slag) {
            case Slag::Mapp:
                krav(sys().mkdir(till.constData(), S_IRWXU) == 0);
                break;
            case Slag::Fil:
                kopieraFil(fran, till, p.st, m_lagen.fil);
                break;
            case Slag::Databas:
                kopieraDatabas(fran, till, p.st, m_lagen.fil);
                break;
            }
        }
        // A folder's time last: filling it moved it on.
        for (auto p = poster.rbegin(); p != poster.rend(); ++p) {
            if (p->slag != Slag::Mapp)
                continue;
            const QByteArray till = under(m_p.staging, p->rel);
            omMojligt(::chmod(till.constData(), m_lagen.mapp) == 0);
            const struct timespec tider[2] = {p->st.st_atim, p->st.st_mtim};
            omMojligt(::utimensat(AT_FDCWD, till.constData(), tider, 0) == 0);
        }
        if (m_nytt)
            omMojligt(::chmod(m_p.staging.constData(), m_lagen.mapp) == 0);
        // One flush of the whole file system costs what one file's would; a
        // flush per file costs about twice the copy.
        Fd fd(sys().open(m_p.staging.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
        krav(fd.get() >= 0);
        krav(sys().syncfs(fd.get()) == 0);
    }

    // The record lasts before the first change in the target.
    void skrivLogg(const std::vector<Steg>& plan) {
        QByteArray text = Loggrubrik + '\n';
        for (const Steg& s : plan)
            text += char(s.typ) + QByteArray(" ") + s.rel.toPercentEncoding() + '\n';
        text += Loggslut + '\n';
        anropa(m_u.steg, {});
        Fd fd(sys().open(m_p.logg.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
        krav(fd.get() >= 0);
        skrivAllt(fd.get(), text);
        krav(sys().fsync(fd.get()) == 0);
        fd.stang();
        synka(m_p.destination);
    }

    // The moved-aside folder is marked as the program's own as it is made: as
    // a backup it may be replaced by the next copy.
    void skapaUndan() {
        anropa(m_u.steg, {});
        krav(sys().mkdir(m_p.undan.constData(), S_IRWXU) == 0);
        m_undanMappar.insert({});
        Fd fd(sys().open(under(m_p.undan, Markering).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                         S_IRUSR | S_IWUSR));
        krav(fd.get() >= 0);
        skrivAllt(fd.get(), "Den här mappen är en säkerhetskopia som Pilkrona gjorde vid en kopiering.\n");
        krav(sys().fsync(fd.get()) == 0);
        fd.stang();
    }

    // Without a second name the old file is copied aside, so that the target
    // holds it until the new one takes its place in one rename.
    void kopieraUndan(const QByteArray& fran, const QByteArray& till) {
        struct stat st {};
        krav(::lstat(fran.constData(), &st) == 0);
        const QByteArray mellan = under(m_p.undan, Mellanfil);
        Fd in(::open(fran.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        krav(in.get() >= 0);
        Fd ut(sys().open(mellan.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
        krav(ut.get() >= 0);
        kopieraInnehall(in.get(), ut.get());
        omMojligt(::fchmod(ut.get(), st.st_mode & 07777) == 0);
        const struct timespec tider[2] = {st.st_atim, st.st_mtim};
        omMojligt(::futimens(ut.get(), tider) == 0);
        krav(sys().fsync(ut.get()) == 0);
        ut.stang();
        krav(sys().rename(mellan.constData(), till.constData()) == 0);
    }

    void flyttUndan(const QByteArray& rel, bool fil) {
        if (!m_undanSkapad) {
            skapaUndan();
            m_undanSkapad = true;
        }
        skapaMappar(m_p.undan, foralder(rel));
        for (QByteArray mapp = foralder(rel); !mapp.isEmpty(); mapp = foralder(mapp))
            m_undanMappar.insert(mapp);
        const QByteArray fran = under(m_p.mal, rel);
        const QByteArray till = under(m_p.undan, rel);
        anropa(m_u.steg, rel);
        if (!fil) {
            krav(sys().rename(fran.constData(), till.constData()) == 0);
            return;
        }
        // A second name keeps the old file in the target until the new one
        // takes its place. A file system without links says so in more than
        // one way (exFAT through FUSE: EPERM).
        if (m_u.lankar) {
            if (sys().link(fran.constData(), till.constData()) == 0)
                return;
            if (errno != EPERM && errno != EOPNOTSUPP && errno != EXDEV && errno != EMLINK && errno != ENOSYS)
                kasta(errno);
        }
        kopieraUndan(fran, till);
    }

    void flyttaIn(const std::vector<Steg>& plan) {
        for (const Steg& s : plan) {
            if (s.typ != Steg::Ny)
                flyttUndan(s.rel, s.fil);
            if (s.typ != Steg::Journal) {
                anropa(m_u.steg, s.rel);
                krav(sys().rename(under(m_p.staging, s.rel).constData(), under(m_p.mal, s.rel).constData()) ==
                     0);
            }
            m_andradeMappar.insert(foralder(s.rel));
        }
    }

    const Uppdrag& m_u;
    Platser m_p;
    QByteArray m_kalla;
    const Lagen m_lagen;
    bool m_nytt = false;
    bool m_undanSkapad = false;
    QSet<QByteArray> m_andradeMappar;
    QSet<QByteArray> m_undanMappar;
};

} // namespace

Utfall kopiera(const Uppdrag& uppdrag) {
    return Kopia(uppdrag).kor();
}

bool avbruten(const QString& mal) {
    const Platser p(mal);
    return p.giltig && (finns(p.logg) || finns(p.staging) || finns(p.undan));
}

int angraAvbruten(const QString& mal, const std::function<void(const QString& rel)>& steg) {
    const Platser p(mal);
    if (!p.giltig)
        return EINVAL;
    try {
        stadaUpp(p, steg);
    } catch (const Systemfel& f) {
        return f.fel;
    }
    return 0;
}

Kvarlamnat kvarlamnat(const QString& mal) {
    Kvarlamnat k;
    const Platser p(mal);
    if (!p.giltig)
        return k;
    const auto omFinns = [](const QByteArray& sokvag) {
        return finns(sokvag) ? QFile::decodeName(sokvag) : QString();
    };
    k.logg = omFinns(p.logg);
    k.staging = omFinns(p.staging);
    k.undan = omFinns(p.undan);
    // A backup is worth naming when it holds more than its mark.
    try {
        const QByteArray bak = valjBak(p);
        if (finns(bak)) {
            const std::vector<QByteArray> namn = namnI(bak);
            if (std::any_of(namn.begin(), namn.end(), [](const QByteArray& n) { return !arEgen(n); }))
                k.sakerhetskopia = QFile::decodeName(bak);
        }
    } catch (const Systemfel&) {
    }
    return k;
}

QStringList poster(const QString& kalla, const std::function<bool(const QString& namn)>& utelamnas) {
    Uppdrag u;
    u.utelamnas = utelamnas;
    std::vector<Post> lasta;
    try {
        lasIn(QFile::encodeName(QDir::cleanPath(kalla)), {}, u, lasta);
    } catch (const Systemfel&) {
        // What cannot be read is told by the copy itself.
    }
    QStringList l;
    l.reserve(qsizetype(lasta.size()));
    for (const Post& p : lasta)
        l << QFile::decodeName(p.rel);
    return l;
}

QString sakerhetskopia(const QString& mal) {
    return QFile::decodeName(Platser(mal).bak);
}

QString anvandSakerhetskopia(const QString& mal) {
    const Platser p(mal);
    try {
        return QFile::decodeName(valjBak(p));
    } catch (const Systemfel&) {
        return QFile::decodeName(p.bak);
    }
}

bool arEgenFil(const QString& namn) {
    return arEgen(QFile::encodeName(namn));
}

Systemanrop* anvandSystemanrop(Systemanrop* anrop) {
    return anropIBruk.exchange(anrop);
}

QString arbetsmapp(const QString& mal) {
    return QFile::decodeName(Platser(mal).staging);
}

} // namespace Mappkopia
