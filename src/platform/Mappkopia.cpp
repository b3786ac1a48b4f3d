#include "platform/Mappkopia.h"

#include "platform/Databas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
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

namespace {

// A failed system call, carried to where the copy or the undo answers.
struct Systemfel {
    int fel;
};

[[noreturn]] void kasta(int fel) {
    throw Systemfel{fel ? fel : EIO};
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
    QByteArray destination; // the folder holding the target
    QByteArray mal;
    QByteArray staging;
    QByteArray undan;
    QByteArray bak;
    QByteArray logg; // the record of what moving in touches
    bool giltig = false;

    explicit Platser(const QString& malmapp) {
        const QFileInfo info(QDir::cleanPath(malmapp));
        const QString namn = info.fileName();
        giltig = !namn.isEmpty() && namn != QLatin1String("..") && namn != QLatin1String(".");
        destination = QFile::encodeName(info.path());
        mal = QFile::encodeName(info.filePath());
        staging = under(destination, namnBredvid(namn, QStringLiteral("."), QStringLiteral(".kopia")));
        undan = under(destination, namnBredvid(namn, QStringLiteral("."), QStringLiteral(".undan")));
        bak = under(destination, namnBredvid(namn, {}, QStringLiteral(".bak")));
        logg = under(destination, namnBredvid(namn, QStringLiteral("."), QStringLiteral(".kopiering")));
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
    Fd fd(::open(mapp.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    krav(fd.get() >= 0);
    // Some file systems cannot flush a folder on its own; nothing to wait for then.
    if (::fsync(fd.get()) != 0 && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        kasta(errno);
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

// Removes a file or a folder with everything in it; false when something stayed.
bool taBort(const QByteArray& sokvag) {
    struct stat st {};
    if (::lstat(sokvag.constData(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return ::unlink(sokvag.constData()) == 0 || errno == ENOENT;
    bool allt = true;
    try {
        for (const QByteArray& namn : namnI(sokvag))
            allt = taBort(sokvag + '/' + namn) && allt;
    } catch (const Systemfel&) {
        allt = false;
    }
    return (::rmdir(sokvag.constData()) == 0 || errno == ENOENT) && allt;
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

// Creates the folders of rel below rot that are missing.
void skapaMappar(const QByteArray& rot, const QByteArray& rel) {
    if (rel.isEmpty())
        return;
    skapaMappar(rot, foralder(rel));
    if (::mkdir(under(rot, rel).constData(), S_IRWXU) != 0 && errno != EEXIST)
        kasta(errno);
}

mode_t agarensLage(const struct stat& st) {
    return (st.st_mode & 07777) | S_IRUSR | S_IWUSR | (S_ISDIR(st.st_mode) ? S_IXUSR : 0);
}

void kopieraFil(const QByteArray& fran, const QByteArray& till, const struct stat& st) {
    Fd in(::open(fran.constData(), O_RDONLY | O_CLOEXEC));
    krav(in.get() >= 0);
    Fd ut(::open(till.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
    krav(ut.get() >= 0);
    // A file system that shares blocks gives the copy at once; otherwise the
    // kernel copies without the data passing through here.
    if (::ioctl(ut.get(), FICLONE, in.get()) != 0) {
        bool karnan = true;
        bool kopierat = false;
        while (karnan) {
            const ssize_t n = ::copy_file_range(in.get(), nullptr, ut.get(), nullptr, size_t(1) << 30, 0);
            if (n > 0) {
                kopierat = true;
                continue;
            }
            if (n == 0)
                break;
            if (!kopierat && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP))
                karnan = false;
            else
                kasta(errno);
        }
        if (!karnan) {
            std::vector<char> buffert(size_t(1) << 20);
            for (;;) {
                const ssize_t n = ::read(in.get(), buffert.data(), buffert.size());
                krav(n >= 0);
                if (n == 0)
                    break;
                for (ssize_t skrivet = 0; skrivet < n;) {
                    const ssize_t m = ::write(ut.get(), buffert.data() + skrivet, size_t(n - skrivet));
                    krav(m > 0);
                    skrivet += m;
                }
            }
        }
    }
    omMojligt(::fchmod(ut.get(), agarensLage(st)) == 0);
    const struct timespec tider[2] = {st.st_atim, st.st_mtim};
    omMojligt(::futimens(ut.get(), tider) == 0);
    ut.stang();
}

void kopieraDatabas(const QByteArray& fran, const QByteArray& till, const struct stat& st) {
    if (const int fel = Databas::ogonblicksbild(QFile::decodeName(fran), QFile::decodeName(till)))
        kasta(fel);
    // The time of the state copied: a commit during the copy moves it on.
    struct stat nu = st;
    ::stat(fran.constData(), &nu);
    omMojligt(::chmod(till.constData(), agarensLage(st)) == 0);
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
        if (u.utelamnas && u.utelamnas(text))
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
    bool lank = false; // a file replacing a file: the old one may get a second name first
};

const QByteArray Loggrubrik = "mappkopia 1";
const QByteArray Loggslut = "klar";

// A record that lacks its last line was cut off while it was written, before
// anything of the target was touched.
struct Logg {
    bool hel = false;
    std::vector<Steg> steg;
};

Logg lasLogg(const QByteArray& fil) {
    QFile f(QFile::decodeName(fil));
    if (!f.open(QIODevice::ReadOnly))
        kasta(f.error() == QFileDevice::PermissionsError ? EACCES : EIO);
    const QList<QByteArray> rader = f.readAll().split('\n');
    if (f.error() != QFileDevice::NoError)
        kasta(EIO);
    Logg l;
    if (rader.size() < 3 || rader.first() != Loggrubrik || rader.at(rader.size() - 2) != Loggslut ||
        !rader.last().isEmpty())
        return l;
    for (qsizetype i = 1; i + 2 < rader.size(); ++i) {
        const QByteArray& rad = rader.at(i);
        if (rad.size() < 3 || rad.at(1) != ' ' || !QByteArray("ENJ").contains(rad.at(0)))
            kasta(EIO); // not written by this program: nothing of it can be trusted
        l.steg.push_back({Steg::Typ(rad.at(0)), QByteArray::fromPercentEncoding(rad.mid(2))});
    }
    l.hel = true;
    return l;
}

void anropa(const std::function<void(const QString&)>& steg, const QByteArray& rel) {
    if (steg)
        steg(QFile::decodeName(rel));
}

// Puts one entry of a record back as it was before the copy, from what the
// three places hold now; an entry already back, or never touched, stays.
void aterstall(const Platser& p, const Steg& s, const std::function<void(const QString&)>& steg) {
    const QByteArray mal = under(p.mal, s.rel);
    const QByteArray ny = under(p.staging, s.rel);
    const QByteArray gammal = under(p.undan, s.rel);
    struct stat t {
    }, u{};
    const bool iMal = finns(mal, &t);
    const bool iUndan = finns(gammal, &u);
    // A folder the entry goes back into may have been removed by hand since.
    const auto flytta = [&](const QByteArray& fran, const QByteArray& tillRot) {
        anropa(steg, s.rel);
        if (::mkdir(tillRot.constData(), S_IRWXU) != 0 && errno != EEXIST)
            kasta(errno);
        skapaMappar(tillRot, foralder(s.rel));
        krav(::rename(fran.constData(), under(tillRot, s.rel).constData()) == 0);
    };
    switch (s.typ) {
    case Steg::Ny:
        if (iMal && !finns(ny))
            flytta(mal, p.staging);
        break;
    case Steg::Journal:
        if (iUndan && !iMal)
            flytta(gammal, p.mal);
        break;
    case Steg::Ersatt:
        if (!iUndan)
            break; // not begun, or back already
        if (finns(ny)) {
            // Moved aside, not yet replaced: with a second name the old file
            // is still in its place.
            const bool samma = iMal && t.st_dev == u.st_dev && t.st_ino == u.st_ino;
            if (!iMal || (!samma && !S_ISDIR(t.st_mode) && !S_ISDIR(u.st_mode)))
                flytta(gammal, p.mal);
            else if (!samma)
                kasta(EEXIST);
            break;
        }
        // Replaced: a file takes its old place in one step; a folder, or a
        // file where a folder was, waits in the staging folder meanwhile.
        if (iMal && (S_ISDIR(t.st_mode) || S_ISDIR(u.st_mode)))
            flytta(mal, p.staging);
        flytta(gammal, p.mal);
        break;
    }
}

// Removes what a copy into the target left beside it: a copy cut off before
// its record was gone is taken back, one cut off after is ended.
void stadaUpp(const Platser& p, const std::function<void(const QString&)>& steg) {
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
            QSet<QByteArray> mappar;
            for (auto s = logg.steg.rbegin(); s != logg.steg.rend(); ++s) {
                aterstall(p, *s, steg);
                mappar.insert(foralder(s->rel));
            }
            for (const QByteArray& rel : mappar)
                if (finns(under(p.mal, rel)))
                    synka(under(p.mal, rel));
            // What is left there are second names of files back in their places.
            taBortOchSynka(p.undan);
        }
        taBortOchSynka(p.staging);
        anropa(steg, {});
        krav(::unlink(p.logg.constData()) == 0 || errno == ENOENT);
        synka(p.destination);
    }
    if (finns(p.undan)) {
        anropa(steg, {});
        krav(taBort(p.bak));
        anropa(steg, {});
        krav(::rename(p.undan.constData(), p.bak.constData()) == 0);
        synka(p.destination);
    }
    taBortOchSynka(p.staging);
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
            lasIn(m_kalla, {}, m_u, poster);
            plan = planera(poster);
            for (const Steg& s : plan) {
                const QByteArray mal = under(m_p.mal, s.rel);
                struct stat st {};
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
        } catch (const Systemfel& f) {
            ut.fel = f.fel;
            taBort(m_p.staging);
            try {
                synka(m_p.destination);
            } catch (const Systemfel&) {
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
            krav(::unlink(m_p.logg.constData()) == 0);
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
            stadaUpp(m_p, m_u.steg);
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
                plan.push_back({Steg::Ersatt, p.rel, p.slag != Slag::Mapp && !S_ISDIR(st.st_mode)});
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
        if (ersatter && finns(m_p.bak) && ut.ledigt + upptaget(m_p.bak) >= ut.behov) {
            anropa(m_u.steg, {});
            krav(taBort(m_p.bak));
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
        krav(::mkdir(m_p.staging.constData(), S_IRWXU) == 0);
        for (const Post& p : poster) {
            const QByteArray fran = under(m_kalla, p.rel);
            const QByteArray till = under(m_p.staging, p.rel);
            switch (p.slag) {
            case Slag::Mapp:
                krav(::mkdir(till.constData(), S_IRWXU) == 0);
                break;
            case Slag::Fil:
                kopieraFil(fran, till, p.st);
                break;
            case Slag::Databas:
                kopieraDatabas(fran, till, p.st);
                break;
            }
        }
        // A folder's time last: filling it moved it on.
        for (auto p = poster.rbegin(); p != poster.rend(); ++p) {
            if (p->slag != Slag::Mapp)
                continue;
            const QByteArray till = under(m_p.staging, p->rel);
            omMojligt(::chmod(till.constData(), agarensLage(p->st)) == 0);
            const struct timespec tider[2] = {p->st.st_atim, p->st.st_mtim};
            omMojligt(::utimensat(AT_FDCWD, till.constData(), tider, 0) == 0);
        }
        // One flush of the whole file system costs what one file's would; a
        // flush per file costs about twice the copy.
        Fd fd(::open(m_p.staging.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        krav(fd.get() >= 0);
        krav(::syncfs(fd.get()) == 0);
    }

    // The record lasts before the first change in the target.
    void skrivLogg(const std::vector<Steg>& plan) {
        QByteArray text = Loggrubrik + '\n';
        for (const Steg& s : plan)
            text += char(s.typ) + QByteArray(" ") + s.rel.toPercentEncoding() + '\n';
        text += Loggslut + '\n';
        anropa(m_u.steg, {});
        Fd fd(::open(m_p.logg.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
        krav(fd.get() >= 0);
        for (qsizetype skrivet = 0; skrivet < text.size();) {
            const ssize_t n = ::write(fd.get(), text.constData() + skrivet, size_t(text.size() - skrivet));
            krav(n > 0);
            skrivet += n;
        }
        krav(::fsync(fd.get()) == 0);
        fd.stang();
        synka(m_p.destination);
    }

    void flyttUndan(const QByteArray& rel, bool lank) {
        if (!m_undanSkapad) {
            anropa(m_u.steg, {});
            krav(::mkdir(m_p.undan.constData(), S_IRWXU) == 0);
            m_undanSkapad = true;
        }
        skapaMappar(m_p.undan, foralder(rel));
        const QByteArray fran = under(m_p.mal, rel);
        const QByteArray till = under(m_p.undan, rel);
        // A second name keeps the old file in the target until the new one
        // takes its place.
        anropa(m_u.steg, rel);
        if (!lank || !m_u.lankar || ::link(fran.constData(), till.constData()) != 0)
            krav(::rename(fran.constData(), till.constData()) == 0);
        m_undanMappar.insert(foralder(rel));
    }

    void flyttaIn(const std::vector<Steg>& plan) {
        for (const Steg& s : plan) {
            if (s.typ != Steg::Ny)
                flyttUndan(s.rel, s.lank);
            if (s.typ != Steg::Journal) {
                anropa(m_u.steg, s.rel);
                krav(::rename(under(m_p.staging, s.rel).constData(), under(m_p.mal, s.rel).constData()) == 0);
            }
            m_andradeMappar.insert(foralder(s.rel));
        }
    }

    const Uppdrag& m_u;
    Platser m_p;
    QByteArray m_kalla;
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

QString arbetsmapp(const QString& mal) {
    return QFile::decodeName(Platser(mal).staging);
}

} // namespace Mappkopia
