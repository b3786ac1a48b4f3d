#include "platform/Mappkopia.h"

#include "platform/Databas.h"
#include "platform/Filnamn.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
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
#include <utility>
#include <vector>

namespace Mappkopia {

Systemanrop::~Systemanrop() = default;
int Systemanrop::open(const char* sokvag, int flaggor, mode_t lage) {
    return ::open(sokvag, flaggor, lage);
}
ssize_t Systemanrop::write(int fd, const void* data, size_t antal) {
    return ::write(fd, data, antal);
}
int Systemanrop::close(int fd) {
    return ::close(fd);
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
int Systemanrop::fchmod(int fd, mode_t lage) {
    return ::fchmod(fd, lage);
}
int Systemanrop::chmod(const char* sokvag, mode_t lage) {
    return ::chmod(sokvag, lage);
}
int Systemanrop::futimens(int fd, const struct timespec tider[2]) {
    return ::futimens(fd, tider);
}
int Systemanrop::utimensat(const char* sokvag, const struct timespec tider[2]) {
    return ::utimensat(AT_FDCWD, sokvag, tider, 0);
}
ssize_t Systemanrop::copy_file_range(int in, int ut, size_t antal) {
    return ::copy_file_range(in, nullptr, ut, nullptr, antal, 0);
}
int Systemanrop::klona(int ut, int in) {
    return ::ioctl(ut, FICLONE, in);
}

namespace {

std::atomic<Systemanrop*> anropIBruk{nullptr};

Systemanrop& sys() {
    static Systemanrop systemets;
    Systemanrop* a = anropIBruk.load();
    return a ? *a : systemets;
}

// A failed system call, what was found beside the target not trusted, or a
// refusal naming what it concerns, carried to where the copy or the undo
// answers.
struct Systemfel {
    int fel;
    QByteArray sokvag;
};

[[noreturn]] void kasta(int fel) {
    throw Systemfel{fel ? fel : EIO, {}};
}
[[noreturn]] void otillforlitlig() {
    throw Systemfel{Otillforlitlig, {}};
}
[[noreturn]] void vagra(int fel, const QByteArray& sokvag) {
    throw Systemfel{fel, sokvag};
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

// In a backup or moved-aside folder: the mark that the program made it, and a
// replaced file on its way in while it is copied there.
const QByteArray Markering = ".pilkrona-sakerhetskopia";
const QByteArray Mellanfil = ".pilkrona-sakerhetskopia.ny";
const QByteArray Markeringstext =
    "Den här mappen är en säkerhetskopia som Pilkrona gjorde vid en kopiering.\n";

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

constexpr int SistaSakerhetskopia = 99;

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
// up on a failure is closed without a word.
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
    void stang() {
        const int fd = std::exchange(m_fd, -1);
        krav(sys().close(fd) == 0);
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
        const ssize_t n = sys().write(fd, text.constData() + skrivet, size_t(text.size() - skrivet));
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

// Whether a folder beside the target (a backup, the moved-aside folder) holds
// the program's mark: a plain file of that name, not a link.
bool markerad(const QByteArray& mapp) {
    struct stat st {};
    return finns(under(mapp, Markering), &st) && S_ISREG(st.st_mode);
}

// Whether the folder bak beside the target is a backup this program made, and
// so may be emptied: a real folder that holds the mark, or an empty one, which
// loses nothing (a removal of ours cut off after the mark went leaves one). A
// backup opened as a competition, and everything without the mark - a
// competition of its own, the operator's spare copy - never is.
bool arVar(const QByteArray& bak) {
    struct stat st {};
    if (!finns(bak, &st) || !S_ISDIR(st.st_mode))
        return false;
    try {
        const std::vector<QByteArray> namn = namnI(bak);
        if (namn.empty())
            return true;
        if (std::any_of(namn.begin(), namn.end(), arLas))
            return false;
        return markerad(bak);
    } catch (const Systemfel&) {
        return false;
    }
}

// The backup folder a copy into the target uses: the first name that is free
// or a backup of ours.
QByteArray valjBak(const Platser& p) {
    for (int n = 1; n <= SistaSakerhetskopia; ++n) {
        const QByteArray bak = p.bakNamn(n);
        if (!finns(bak) || arVar(bak))
            return bak;
    }
    vagra(IngenSakerhetskopia, p.bak);
}

// A backup's mark goes last, so that a removal cut off leaves a folder still
// known as ours.
bool taBortMarkerad(const QByteArray& mapp) {
    return taBort(mapp, Markering);
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
    if (sys().klona(ut, in) == 0)
        return;
    bool kopierat = false;
    for (;;) {
        const ssize_t n = sys().copy_file_range(in, ut, size_t(1) << 30);
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
    Fd in(::open(fran.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    krav(in.get() >= 0);
    Fd ut(sys().open(till.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
    krav(ut.get() >= 0);
    kopieraInnehall(in.get(), ut.get());
    omMojligt(sys().fchmod(ut.get(), lage) == 0);
    const struct timespec tider[2] = {st.st_atim, st.st_mtim};
    omMojligt(sys().futimens(ut.get(), tider) == 0);
    ut.stang();
}

void kopieraDatabas(const QByteArray& fran, const QByteArray& till, const struct stat& st, mode_t lage) {
    if (const int fel = Databas::ogonblicksbild(QFile::decodeName(fran), QFile::decodeName(till)))
        kasta(fel);
    // The time of the state copied: a commit during the copy moves it on.
    struct stat nu = st;
    ::stat(fran.constData(), &nu);
    omMojligt(sys().chmod(till.constData(), lage) == 0);
    const struct timespec tider[2] = {nu.st_atim, nu.st_mtim};
    omMojligt(sys().utimensat(till.constData(), tider) == 0);
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

const QByteArray Loggrubrik = "mappkopia 2";
const QByteArray Loggslut = "klar";
// The most a copy writes: it refuses to touch more entries than a record this
// long, or of this many lines, holds, and a longer one is no record of the
// program's. It is read at once even so.
constexpr qint64 StorstaLogg = qint64(16) << 20;
constexpr qsizetype StorstaAntal = 200'000; // lines of a record

// What a file system keeps of a modification time: FAT two seconds, exFAT ten
// milliseconds (kept here with FAT's rules), NTFS a tenth of a microsecond.
// A stick pulled and mounted again shows only what was kept.
qint64 tidsupplosning(const QByteArray& mapp) {
    return filsystem(QFile::decodeName(mapp)) == Filsystem::Fat ? qint64(2'000'000'000) : qint64(1000);
}

Bild bildAv(const struct stat& st) {
    Bild b;
    if (S_ISDIR(st.st_mode)) {
        b.typ = 'D';
        return b;
    }
    b.typ = 'F';
    b.storlek = qint64(st.st_size);
    b.sek = qint64(st.st_mtim.tv_sec);
    b.nsek = qint64(st.st_mtim.tv_nsec);
    return b;
}

QByteArray bildtext(const Bild& b) {
    if (b.typ == 'D')
        return "D";
    return "F:" + QByteArray::number(b.storlek) + ':' + QByteArray::number(b.sek) + ':' +
           QByteArray::number(b.nsek);
}

bool lasBild(const QByteArray& text, Bild& b) {
    if (text == "D") {
        b.typ = 'D';
        return true;
    }
    const QList<QByteArray> delar = text.split(':');
    if (delar.size() != 4 || delar.at(0) != "F")
        return false;
    bool ok1 = false, ok2 = false, ok3 = false;
    b.typ = 'F';
    b.storlek = delar.at(1).toLongLong(&ok1);
    b.sek = delar.at(2).toLongLong(&ok2);
    b.nsek = delar.at(3).toLongLong(&ok3);
    return ok1 && ok2 && ok3 && b.storlek >= 0 && b.nsek >= 0 && b.nsek < 1'000'000'000;
}

// Whether what lies at sokvag (never followed) is what the copy saw: a
// folder, or a file of that size and time with no other name. A link, a pipe,
// a device never is.
bool stammer(const QByteArray& sokvag, const Bild& b, qint64 upplosning, const struct stat* sett = nullptr) {
    struct stat st {};
    if (sett)
        st = *sett;
    else if (!finns(sokvag, &st))
        return false;
    if (b.typ == 'D')
        return S_ISDIR(st.st_mode);
    if (!S_ISREG(st.st_mode) || qint64(st.st_size) != b.storlek || st.st_nlink != 1)
        return false;
    const qint64 sek = qint64(st.st_mtim.tv_sec) - b.sek;
    if (sek > 10 || sek < -10)
        return false;
    const qint64 skillnad = sek * 1'000'000'000 + (qint64(st.st_mtim.tv_nsec) - b.nsek);
    return skillnad <= upplosning && skillnad >= -upplosning;
}

// Whether the entry rel at sokvag is what the copy saw, a folder with exactly
// the entries listed, each what it was.
bool heltStammer(const QByteArray& sokvag, const QByteArray& rel, const Bild& b,
                 const std::vector<Inre>& innehall, qint64 upplosning) {
    if (!stammer(sokvag, b, upplosning))
        return false;
    if (b.typ != 'D')
        return innehall.empty();
    QHash<QByteArray, const Bild*> listat;
    listat.reserve(qsizetype(innehall.size()));
    for (const Inre& i : innehall)
        listat.insert(i.rel.mid(rel.size() + 1), &i.bild);
    qsizetype funna = 0;
    const std::function<bool(const QByteArray&)> mapp = [&](const QByteArray& dar) {
        for (const QByteArray& namn : namnI(under(sokvag, dar))) {
            const QByteArray r = inre(dar, namn);
            const Bild* bild = listat.value(r);
            if (!bild || !stammer(under(sokvag, r), *bild, upplosning))
                return false;
            ++funna;
            if (bild->typ == 'D' && !mapp(r))
                return false;
        }
        return true;
    };
    return mapp({}) && funna == listat.size();
}

// A record that lacks its last line was cut off while it was written, before
// anything of the target was touched.
struct Logg {
    bool hel = false;
    std::vector<Steg> steg;
};

// A path of a record as this program writes it: percent-encoded, and once
// decoded a path below the target with no way out of it.
bool giltigPost(QByteArrayView kodad, QByteArray& rel) {
    bool procent = false;
    for (const char c : kodad) {
        if (c == '%')
            procent = true;
        else if (!std::isalnum(static_cast<unsigned char>(c)) && !std::strchr("-._~", c))
            return false;
    }
    rel = procent ? QByteArray::fromPercentEncoding(kodad.toByteArray()) : kodad.toByteArray();
    if (rel.isEmpty() || rel.contains('\0'))
        return false;
    for (qsizetype i = 0; i <= rel.size();) {
        qsizetype slut = rel.indexOf('/', i);
        if (slut < 0)
            slut = rel.size();
        const QByteArrayView del(rel.constData() + i, slut - i);
        if (del.isEmpty() || del == "." || del == "..")
            return false;
        i = slut + 1;
    }
    return true;
}

// One line of the record into l; false when it is not one this program
// writes.
bool lasRad(QByteArrayView rad, Logg& l, QSet<QByteArray>& steg, QSet<QByteArray>& inreSett) {
    QByteArrayView f[5];
    qsizetype antal = 0;
    for (qsizetype i = 0; antal < 5;) {
        const qsizetype slut = rad.indexOf(' ', i);
        f[antal++] = rad.sliced(i, (slut < 0 ? rad.size() : slut) - i);
        if (slut < 0)
            break;
        i = slut + 1;
    }
    if (antal < 3 || antal > 4 || f[0].size() != 1)
        return false;
    const char typ = f[0].at(0);
    QByteArray rel;
    if (!giltigPost(f[1], rel))
        return false;
    if (typ == 'n' || typ == 'u') {
        if (antal != 3 || l.steg.empty())
            return false;
        Steg& s = l.steg.back();
        Inre i{rel, {}};
        const bool ny = typ == 'n';
        if (!lasBild(f[2].toByteArray(), i.bild) || (ny ? s.ny : s.gammal).typ != 'D' ||
            !rel.startsWith(s.rel + '/'))
            return false;
        const QByteArray nyckel = typ + rel;
        if (inreSett.contains(nyckel))
            return false;
        inreSett.insert(nyckel);
        (ny ? s.nyInre : s.gammalInre).push_back(i);
        return true;
    }
    Steg s{Steg::Ny, rel, {}, {}, {}, {}};
    switch (typ) {
    case 'N':
        if (antal != 3 || !lasBild(f[2].toByteArray(), s.ny))
            return false;
        break;
    case 'E':
        if (antal != 4 || !lasBild(f[2].toByteArray(), s.ny) || !lasBild(f[3].toByteArray(), s.gammal))
            return false;
        break;
    case 'J':
        if (antal != 3 || !lasBild(f[2].toByteArray(), s.gammal) || s.gammal.typ != 'F')
            return false;
        break;
    default:
        return false;
    }
    if (steg.contains(rel))
        return false;
    steg.insert(rel);
    inreSett.clear();
    s.typ = Steg::Typ(typ);
    l.steg.push_back(std::move(s));
    return true;
}

// The record is read as whatever lies there: never through a link, never
// something that is not a plain file, nothing of it used unless every line is
// what this program writes. It is read in one pass, in time and memory in
// proportion to its length.
Logg lasLogg(const QByteArray& fil) {
    Fd fd(::open(fil.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > StorstaLogg)
        otillforlitlig();
    QByteArray text;
    text.reserve(qsizetype(st.st_size));
    std::vector<char> buffert(size_t(1) << 16);
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffert.data(), buffert.size());
        if (n < 0 || text.size() + n > StorstaLogg)
            otillforlitlig();
        if (n == 0)
            break;
        text.append(buffert.data(), qsizetype(n));
    }
    Logg l;
    QSet<QByteArray> steg, inreSett;
    qsizetype pos = 0, rader = 0;
    for (bool forsta = true;; forsta = false) {
        const qsizetype slut = text.indexOf('\n', pos);
        if (slut < 0) {
            // Cut off while it was written: what there is of it must be the
            // start of a record of ours.
            if (forsta && !Loggrubrik.startsWith(text))
                otillforlitlig();
            l.steg.clear();
            return l;
        }
        const QByteArrayView rad(text.constData() + pos, slut - pos);
        pos = slut + 1;
        if (++rader > StorstaAntal)
            otillforlitlig();
        if (forsta) {
            if (rad != Loggrubrik)
                otillforlitlig();
            continue;
        }
        if (rad == Loggslut) {
            if (pos != text.size())
                otillforlitlig();
            break;
        }
        if (!lasRad(rad, l, steg, inreSett))
            otillforlitlig();
    }
    // No entry lies inside another: a folder new to the target moves in whole.
    for (const Steg& s : l.steg)
        for (QByteArray r = foralder(s.rel); !r.isEmpty(); r = foralder(r))
            if (steg.contains(r))
                otillforlitlig();
    l.hel = true;
    return l;
}

// Whether a symbolic link stands on the way to rel below rot: one of the
// folders leading to it. Nothing below what does not exist does. The folders
// already looked at are kept in sett.
bool lankPaVagen(const QByteArray& rot, const QByteArray& rel, QSet<QByteArray>* sett = nullptr) {
    for (qsizetype i = 0;;) {
        const qsizetype slut = rel.indexOf('/', i);
        if (slut < 0)
            return false;
        const QByteArray mapp = under(rot, rel.left(slut));
        if (!sett || !sett->contains(mapp)) {
            struct stat st {};
            if (::lstat(mapp.constData(), &st) != 0) {
                if (errno == ENOENT || errno == ENOTDIR)
                    return false;
                kasta(errno);
            }
            if (!S_ISDIR(st.st_mode))
                return S_ISLNK(st.st_mode);
            if (sett)
                sett->insert(mapp);
        }
        i = slut + 1;
    }
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

// What the undo does with one entry, after it has made sure that everything
// it moves is what the copy moved: what the target holds in place of the
// entry is the new one the copy brought, and what the moved-aside folder holds
// is the old one. Anything else is not the copy's, and the record not to be
// trusted.
// Whether entries exist, by the listing of the folder that would hold them:
// a record may list many entries that are nowhere, and one reading of a folder
// answers for all of them. Asked before anything moves, never after.
class Narvaro {
public:
    bool finns(const QByteArray& rot, const QByteArray& rel) {
        const QByteArray mapp = under(rot, foralder(rel));
        auto i = m_mappar.constFind(mapp);
        if (i == m_mappar.constEnd()) {
            QSet<QByteArray> namn;
            struct stat st {};
            if (::lstat(mapp.constData(), &st) == 0 && S_ISDIR(st.st_mode))
                for (QByteArray& n : namnI(mapp))
                    namn.insert(std::move(n));
            i = m_mappar.insert(mapp, namn);
        }
        return i->contains(rel.mid(rel.lastIndexOf('/') + 1));
    }

private:
    QHash<QByteArray, QSet<QByteArray>> m_mappar;
};

Atgard bestam(const Platser& p, const Steg& s, qint64 upplosning, Narvaro& narvaro) {
    struct stat t {
    }, u{};
    const QByteArray mal = under(p.mal, s.rel), undan = under(p.undan, s.rel);
    const auto lstatOmFinns = [&](const QByteArray& rot, const QByteArray& sokvag, struct stat* st) {
        return narvaro.finns(rot, s.rel) && finns(sokvag, st);
    };
    // An entry new to the target that is not there, or one the copy would
    // have moved aside that is not aside: not begun, or back already.
    const bool iMal = lstatOmFinns(p.mal, mal, &t);
    if (s.typ == Steg::Ny && !iMal)
        return Atgard::Inget;
    if (s.typ != Steg::Ny && !lstatOmFinns(p.undan, undan, &u))
        return Atgard::Inget;
    const bool iNy = narvaro.finns(p.staging, s.rel);
    // The copy fills its staging folder with files and folders only.
    struct stat n {};
    if (iNy && finns(under(p.staging, s.rel), &n) && !S_ISREG(n.st_mode) && !S_ISDIR(n.st_mode))
        otillforlitlig();
    const auto nyIMal = [&] {
        if (!heltStammer(mal, s.rel, s.ny, s.nyInre, upplosning))
            otillforlitlig();
    };
    const auto gammalIUndan = [&] {
        if (!heltStammer(undan, s.rel, s.gammal, s.gammalInre, upplosning))
            otillforlitlig();
    };
    switch (s.typ) {
    case Steg::Ny:
        // Not moved in yet, or never the copy's to move.
        if (iNy)
            return Atgard::Inget;
        nyIMal();
        return Atgard::TillStaging;
    case Steg::Journal:
        // Moved aside by a rename: the target cannot hold one too.
        if (iMal)
            otillforlitlig();
        gammalIUndan();
        return Atgard::TillMal;
    case Steg::Ersatt:
        break;
    }
    if (iNy) {
        if (!iMal) {
            gammalIUndan();
            return Atgard::TillMal;
        }
        // Given a second name or copied aside, not yet replaced: the old file
        // is still in its place, and what is aside goes with the folder.
        const bool andraNamnet = t.st_nlink == 2 && u.st_dev == t.st_dev && u.st_ino == t.st_ino;
        struct stat ett = t;
        if (andraNamnet)
            ett.st_nlink = 1;
        if (!s.fil() || !stammer(mal, s.gammal, upplosning, &ett) || !S_ISREG(u.st_mode))
            otillforlitlig();
        return Atgard::Inget;
    }
    // Replaced: a file takes its old place in one step; a folder, or a file
    // where a folder was, waits in the staging folder meanwhile.
    if (!iMal)
        otillforlitlig();
    nyIMal();
    gammalIUndan();
    return s.fil() ? Atgard::TillMal : Atgard::TillStagingOchMal;
}

// Moves rel from one of the three places to another, never through a link.
void flytta(const QByteArray& fran, const QByteArray& till, const QByteArray& rel) {
    if (lankPaVagen(fran, rel) || lankPaVagen(till, rel))
        otillforlitlig();
    skapaMappar(till, foralder(rel));
    krav(sys().rename(under(fran, rel).constData(), under(till, rel).constData()) == 0);
}

void aterstall(const Platser& p, const Steg& s, Atgard a, const std::function<void(const QString&)>& steg) {
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
// put there by someone else, and a moved-aside folder that holds anything is
// one the program marked as it made it.
void granskaMappar(const Platser& p) {
    for (const QByteArray* mapp : {&p.mal, &p.staging, &p.undan}) {
        struct stat st {};
        if (finns(*mapp, &st) && !S_ISDIR(st.st_mode))
            otillforlitlig();
    }
    if (finns(p.undan) && !namnI(p.undan).empty() && !markerad(p.undan))
        otillforlitlig();
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
        krav(taBortMarkerad(sokvag));
        synka(p.destination);
    };
    const auto taBortLoggen = [&] {
        anropa(steg, {});
        krav(sys().unlink(p.logg.constData()) == 0 || errno == ENOENT);
        synka(p.destination);
    };
    if (finns(p.logg)) {
        const Logg logg = lasLogg(p.logg);
        if (logg.hel) {
            // The staging folder stays until the record has gone: without it
            // the record is no copy's of this program.
            if (!finns(p.staging))
                otillforlitlig();
            // Every entry checked, and what putting it back takes known,
            // before the first is touched.
            const qint64 upplosning = tidsupplosning(p.destination);
            QSet<QByteArray> sett;
            Narvaro narvaro;
            std::vector<Atgard> atgarder;
            atgarder.reserve(logg.steg.size());
            for (const Steg& s : logg.steg) {
                for (const QByteArray* rot : {&p.mal, &p.staging, &p.undan})
                    if (lankPaVagen(*rot, s.rel, &sett))
                        otillforlitlig();
                atgarder.push_back(bestam(p, s, upplosning, narvaro));
            }
            QSet<QByteArray> mappar;
            for (size_t i = logg.steg.size(); i-- > 0;) {
                const Steg& s = logg.steg[i];
                if (atgarder[i] == Atgard::Inget)
                    continue;
                aterstall(p, s, atgarder[i], steg);
                for (QByteArray rel = foralder(s.rel);; rel = foralder(rel)) {
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
        taBortLoggen();
    }
    QByteArray bak;
    if (finns(p.undan)) {
        bak = valjBak(p);
        if (finns(bak)) {
            anropa(steg, {});
            krav(taBortMarkerad(bak));
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
        const auto fel = [&](const Systemfel& f) {
            ut.fel = f.fel;
            ut.sokvag = QFile::decodeName(f.sokvag);
            return ut;
        };
        try {
            stadaUpp(m_p, m_u.steg);
            struct stat st {};
            m_nytt = !finns(m_p.mal, &st);
            if (!m_nytt && !S_ISDIR(st.st_mode))
                vagra(ENOTDIR, m_p.mal);
            lasIn(m_kalla, {}, m_u, poster);
            if (!m_nytt)
                plan = planera(poster);
            for (const Steg& s : plan) {
                const QByteArray mal = under(m_p.mal, s.rel);
                if (m_u.ersattbar && s.typ == Steg::Ersatt && s.gammal.typ == 'F')
                    if (const int fel = m_u.ersattbar(QFile::decodeName(mal)))
                        kasta(fel);
            }
            // Where what the copy replaces will be kept is settled before
            // anything moves: a copy that has taken effect cannot be refused.
            if (std::any_of(plan.begin(), plan.end(), [](const Steg& s) { return s.typ != Steg::Ny; }))
                m_bak = valjBak(m_p);
            gorPlats(poster, ut);
        } catch (const Systemfel& f) {
            return fel(f);
        }
        QByteArray logg;
        try {
            fyll(poster);
            if (m_nytt) {
                // A new target comes whole in one step.
                anropa(m_u.steg, {});
                krav(sys().rename(m_p.staging.constData(), m_p.mal.constData()) == 0);
            } else {
                logg = loggtext(plan);
            }
        } catch (const Systemfel& f) {
            taBort(m_p.staging);
            try {
                synka(m_p.destination);
            } catch (const Systemfel&) {
            }
            return fel(f);
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
            skrivLogg(logg);
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
            return fel(f);
        }
        return ut;
    }

private:
    // What the target holds at rel, as the copy would move it aside: a file
    // with no other name, or a folder of such files and folders. A link, a
    // pipe, a device, a file with another name somewhere is refused, naming
    // it: the undo puts back nothing of the kind.
    Bild gammalBild(const QByteArray& rel, std::vector<Inre>* innehall) const {
        const QByteArray sokvag = under(m_p.mal, rel);
        struct stat st {};
        krav(::lstat(sokvag.constData(), &st) == 0);
        if (S_ISREG(st.st_mode) && st.st_nlink == 1)
            return bildAv(st);
        if (!S_ISDIR(st.st_mode) || !innehall)
            vagra(OvantadPost, sokvag);
        for (const QByteArray& namn : namnI(sokvag)) {
            const QByteArray r = inre(rel, namn);
            const Bild b = gammalBild(r, innehall);
            innehall->push_back({r, b});
        }
        return bildAv(st);
    }

    // What moving in will do, in its order, with what the target holds now of
    // each entry it replaces.
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
                    if (finns(under(m_p.mal, rel))) {
                        Steg j{Steg::Journal, rel, {}, gammalBild(rel, nullptr), {}, {}};
                        plan.push_back(std::move(j));
                    }
                }
            }
            Steg s{fanns ? Steg::Ersatt : Steg::Ny, p.rel, {}, {}, {}, {}};
            if (fanns)
                s.gammal = gammalBild(p.rel, &s.gammalInre);
            plan.push_back(std::move(s));
        }
        return plan;
    }

    // The previous backup goes before the copy when the medium lacks room for
    // both; a copy that replaces nothing leaves it, and one that would not fit
    // even without it is refused with the backup kept.
    void gorPlats(const std::vector<Post>& poster, Utfall& ut) const {
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
        if (!m_bak.isEmpty() && finns(m_bak) && ut.ledigt + upptaget(m_bak) >= ut.behov) {
            anropa(m_u.steg, {});
            krav(taBortMarkerad(m_bak));
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
            omMojligt(sys().chmod(till.constData(), m_lagen.mapp) == 0);
            const struct timespec tider[2] = {p->st.st_atim, p->st.st_mtim};
            omMojligt(sys().utimensat(till.constData(), tider) == 0);
        }
        if (m_nytt)
            omMojligt(sys().chmod(m_p.staging.constData(), m_lagen.mapp) == 0);
        // One flush of the whole file system costs what one file's would; a
        // flush per file costs about twice the copy.
        Fd fd(sys().open(m_p.staging.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
        krav(fd.get() >= 0);
        krav(sys().syncfs(fd.get()) == 0);
    }

    // What the staging folder holds at rel, as it will be moved in.
    Bild nyBild(const QByteArray& rel, std::vector<Inre>& innehall) const {
        struct stat st {};
        const QByteArray sokvag = under(m_p.staging, rel);
        krav(::lstat(sokvag.constData(), &st) == 0);
        if (S_ISDIR(st.st_mode))
            for (const QByteArray& namn : namnI(sokvag)) {
                const QByteArray r = inre(rel, namn);
                const Bild b = nyBild(r, innehall);
                innehall.push_back({r, b});
            }
        return bildAv(st);
    }

    // The record: every entry moving in touches, with what the copy saw of
    // the new one in the staging folder (now filled and flushed) and of the
    // old one in the target.
    QByteArray loggtext(std::vector<Steg>& plan) const {
        QByteArray text = Loggrubrik + '\n';
        qsizetype rader = 0;
        for (Steg& s : plan) {
            if (s.typ != Steg::Journal)
                s.ny = nyBild(s.rel, s.nyInre);
            text += char(s.typ) + QByteArray(" ") + s.rel.toPercentEncoding();
            if (s.typ != Steg::Journal)
                text += ' ' + bildtext(s.ny);
            if (s.typ != Steg::Ny)
                text += ' ' + bildtext(s.gammal);
            text += '\n';
            for (const Inre& i : s.nyInre)
                text += "n " + i.rel.toPercentEncoding() + ' ' + bildtext(i.bild) + '\n';
            for (const Inre& i : s.gammalInre)
                text += "u " + i.rel.toPercentEncoding() + ' ' + bildtext(i.bild) + '\n';
            rader += 1 + qsizetype(s.nyInre.size() + s.gammalInre.size());
            if (text.size() > StorstaLogg || rader > StorstaAntal)
                vagra(ForMangaPoster, m_p.mal);
        }
        text += Loggslut + '\n';
        if (text.size() > StorstaLogg)
            vagra(ForMangaPoster, m_p.mal);
        return text;
    }

    // The record lasts before the first change in the target.
    void skrivLogg(const QByteArray& text) {
        anropa(m_u.steg, {});
        Fd fd(sys().open(m_p.logg.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
        krav(fd.get() >= 0);
        skrivAllt(fd.get(), text);
        krav(sys().fsync(fd.get()) == 0);
        fd.stang();
        synka(m_p.destination);
    }

    // The moved-aside folder is marked as the program's own as it is made,
    // before anything is moved there: only with its mark does an undo trust
    // it, and only with it may it replace a backup as one.
    void skapaUndan() {
        anropa(m_u.steg, {});
        krav(sys().mkdir(m_p.undan.constData(), S_IRWXU) == 0);
        m_undanMappar.insert({});
        Fd fd(sys().open(under(m_p.undan, Markering).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                         S_IRUSR | S_IWUSR));
        krav(fd.get() >= 0);
        skrivAllt(fd.get(), Markeringstext);
        krav(sys().fsync(fd.get()) == 0);
        fd.stang();
        synka(m_p.undan);
    }

    // Without a second name the old file is copied aside, so that the target
    // holds it until the new one takes its place in one rename.
    void kopieraUndan(const QByteArray& fran, const QByteArray& till) {
        struct stat st {};
        krav(::lstat(fran.constData(), &st) == 0);
        const QByteArray mellan = under(m_p.undan, Mellanfil);
        Fd in(::open(fran.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        krav(in.get() >= 0);
        Fd ut(sys().open(mellan.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
        krav(ut.get() >= 0);
        kopieraInnehall(in.get(), ut.get());
        omMojligt(sys().fchmod(ut.get(), st.st_mode & 07777) == 0);
        const struct timespec tider[2] = {st.st_atim, st.st_mtim};
        omMojligt(sys().futimens(ut.get(), tider) == 0);
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
                flyttUndan(s.rel, s.typ == Steg::Ersatt && s.fil());
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
    QByteArray m_bak;
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
