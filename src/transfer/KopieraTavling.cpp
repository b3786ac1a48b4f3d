#include "transfer/Tavlingsoverforing.h"

#include "platform/Databas.h"
#include "platform/workbook/Filhallare.h"
#include "platform/workbook/XlsxFil.h"
#include "shell/NyTavling.h"
#include "shell/Tavling.h"

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
#include <unistd.h>
#include <vector>

namespace Overforing {

QString kopieringsfeltext(int fel) {
    switch (fel) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("Disketten är full!");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("Disketten är skrivskyddad!");
    default:
        break;
    }
    // The system's own texts follow the locale, which on a C locale is English.
    QString beskrivning;
    switch (fel) {
    case ENOENT:
        beskrivning = QStringLiteral("Filen eller mappen finns inte");
        break;
    case EIO:
        beskrivning = QStringLiteral("In- eller utmatningsfel");
        break;
    case ENODEV:
    case ENXIO:
        beskrivning = QStringLiteral("Enheten finns inte");
        break;
    case ENOTDIR:
        beskrivning = QStringLiteral("Inte en mapp");
        break;
    case EISDIR:
        beskrivning = QStringLiteral("Är en mapp");
        break;
    case EEXIST:
        beskrivning = QStringLiteral("Filen finns redan");
        break;
    case ENOTEMPTY:
        beskrivning = QStringLiteral("Mappen är inte tom");
        break;
    case ENAMETOOLONG:
        beskrivning = QStringLiteral("Namnet är för långt");
        break;
    case EBUSY:
        beskrivning = QStringLiteral("Enheten eller resursen är upptagen");
        break;
    case EMFILE:
    case ENFILE:
        beskrivning = QStringLiteral("För många öppna filer");
        break;
    case ENOMEM:
        beskrivning = QStringLiteral("Minnet räcker inte");
        break;
    case EXDEV:
        beskrivning = QStringLiteral("Flytt mellan olika filsystem");
        break;
    case EINVAL:
        beskrivning = QStringLiteral("Ogiltigt argument");
        break;
    case ELOOP:
        beskrivning = QStringLiteral("För många nivåer av symboliska länkar");
        break;
    case ETIMEDOUT:
        beskrivning = QStringLiteral("Tidsgränsen överskreds");
        break;
    case ESTALE:
        beskrivning = QStringLiteral("Filen finns inte längre på servern");
        break;
    default:
        beskrivning = QString::fromLocal8Bit(std::strerror(fel));
    }
    return QString::number(fel) + QLatin1Char(' ') + beskrivning;
}

namespace {

// A failed system call, carried to the end of the copy, where it becomes the
// operator's text.
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

QByteArray under(const QByteArray& mapp, const QByteArray& rel) {
    return rel.isEmpty() ? mapp : mapp + '/' + rel;
}

QByteArray foralder(const QByteArray& rel) {
    const qsizetype snedstreck = rel.lastIndexOf('/');
    return snedstreck < 0 ? QByteArray() : rel.left(snedstreck);
}

QByteArray sistaDel(const QByteArray& rel) {
    return rel.mid(rel.lastIndexOf('/') + 1);
}

bool finns(const QByteArray& sokvag, struct stat* st = nullptr) {
    struct stat s {};
    return ::lstat(sokvag.constData(), st ? st : &s) == 0;
}

// A name beside the target for the copy's own folders: the target's name with
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

enum class Slag { Mapp, Fil, Databas, Lank };

struct Post {
    QByteArray rel;
    Slag slag;
    struct stat st;
};

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

// The source as a list, each folder before what it holds and a folder's files
// before its sub-folders.
void lasIn(const QByteArray& rot, const QByteArray& rel, std::vector<Post>& poster) {
    std::vector<Post> mappar;
    for (const QByteArray& namn : namnI(under(rot, rel))) {
        if (utelamnas(QFile::decodeName(namn)))
            continue;
        Post p{under(rel, namn), Slag::Fil, {}};
        krav(::lstat(under(rot, p.rel).constData(), &p.st) == 0);
        if (S_ISDIR(p.st.st_mode)) {
            p.slag = Slag::Mapp;
            mappar.push_back(p);
            continue;
        }
        if (S_ISLNK(p.st.st_mode))
            p.slag = Slag::Lank;
        else if (!S_ISREG(p.st.st_mode))
            continue; // a device or pipe is no part of a competition
        else if (QFile::decodeName(namn).endsWith(QStringLiteral(".air"), Qt::CaseInsensitive) &&
                 Databas::arSqlite(QFile::decodeName(under(rot, p.rel))))
            p.slag = Slag::Databas;
        poster.push_back(p);
    }
    for (const Post& m : mappar) {
        poster.push_back(m);
        lasIn(rot, m.rel, poster);
    }
}

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
    krav(::fchmod(ut.get(), agarensLage(st)) == 0);
    const struct timespec tider[2] = {st.st_atim, st.st_mtim};
    krav(::futimens(ut.get(), tider) == 0);
    ut.stang();
}

void kopieraDatabas(const QByteArray& fran, const QByteArray& till, const struct stat& st) {
    if (const int fel = Databas::ogonblicksbild(QFile::decodeName(fran), QFile::decodeName(till)))
        kasta(fel);
    // The time of the state copied: a commit during the copy moves it on.
    struct stat nu = st;
    ::stat(fran.constData(), &nu);
    krav(::chmod(till.constData(), agarensLage(st)) == 0);
    const struct timespec tider[2] = {nu.st_atim, nu.st_mtim};
    krav(::utimensat(AT_FDCWD, till.constData(), tider, 0) == 0);
}

void kopieraLank(const QByteArray& fran, const QByteArray& till, const struct stat& st) {
    QByteArray mal(qsizetype(st.st_size) + 1, '\0');
    const ssize_t n = ::readlink(fran.constData(), mal.data(), size_t(mal.size()));
    krav(n >= 0);
    mal.truncate(n);
    krav(::symlink(mal.constData(), till.constData()) == 0);
    const struct timespec tider[2] = {st.st_atim, st.st_mtim};
    ::utimensat(AT_FDCWD, till.constData(), tider, AT_SYMLINK_NOFOLLOW);
}

// Removes a file or a folder with everything in it; false when something stayed.
bool taBort(const QByteArray& sokvag) {
    struct stat st {};
    if (::lstat(sokvag.constData(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return ::unlink(sokvag.constData()) == 0;
    bool allt = true;
    try {
        for (const QByteArray& namn : namnI(sokvag))
            allt = taBort(sokvag + '/' + namn) && allt;
    } catch (const Systemfel&) {
        allt = false;
    }
    return ::rmdir(sokvag.constData()) == 0 && allt;
}

void synka(const QByteArray& mapp) {
    Fd fd(::open(mapp.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    krav(fd.get() >= 0);
    krav(::fsync(fd.get()) == 0);
}

// Creates the folders of rel below rot that are missing.
void skapaMappar(const QByteArray& rot, const QByteArray& rel) {
    if (rel.isEmpty())
        return;
    skapaMappar(rot, foralder(rel));
    if (::mkdir(under(rot, rel).constData(), S_IRWXU) != 0 && errno != EEXIST)
        kasta(errno);
}

// The competition's name in a folder: its database's stem, else the folder's.
QString tavlingsnamn(const QString& kalla, const QString& mappnamn) {
    const QDir mapp(kalla);
    if (QFileInfo(mapp.filePath(mappnamn + QStringLiteral(".air"))).isFile())
        return mappnamn;
    const QStringList air = mapp.entryList({QStringLiteral("*.air")}, QDir::Files, QDir::Name);
    return air.isEmpty() ? mappnamn : air.first().chopped(4);
}

// One copy into one target: its folders beside the target, the steps it took
// there so that a failure can take them back.
class Kopiering {
public:
    Kopiering(const QString& destination, const QString& kalla)
        : m_kalla(QFile::encodeName(QDir::cleanPath(kalla))),
          m_destination(QFile::encodeName(QDir::cleanPath(destination))) {
        const QString mappnamn = QFileInfo(QDir::cleanPath(kalla)).fileName();
        m_mal = under(m_destination, QFile::encodeName(mappnamn));
        m_staging =
            under(m_destination, namnBredvid(mappnamn, QStringLiteral("."), QStringLiteral(".kopia")));
        m_undan = under(m_destination, namnBredvid(mappnamn, QStringLiteral("."), QStringLiteral(".undan")));
        m_bak = QFile::encodeName(sakerhetskopia(QFile::decodeName(m_mal)));
        m_namn = tavlingsnamn(QDir::cleanPath(kalla), mappnamn);
    }

    Kopieringsutfall kor() {
        Kopieringsutfall u;
        struct stat st {};
        // A volume's root has no name to copy under.
        const int kallfel = ::stat(m_kalla.constData(), &st) != 0 ? errno
                            : !S_ISDIR(st.st_mode)                ? ENOTDIR
                            : m_mal == m_destination              ? EINVAL
                                                                  : 0;
        if (kallfel) {
            u.feltext = kopieringsfeltext(kallfel);
            return u;
        }
        bool skapad = false;
        Tavling::Las las;
        try {
            if (!finns(m_mal)) {
                krav(::mkdir(m_mal.constData(), S_IRWXU | S_IRWXG | S_IRWXO) == 0);
                skapad = true;
            }
            las = Tavling::lasTavling(QFile::decodeName(m_mal), m_namn);
            if (!las.fil) {
                if (las.upptagen) {
                    u.feltext = las.text;
                    u.sokvagsfel = true;
                } else {
                    u.feltext = las.fel == QLockFile::PermissionError ? kopieringsfeltext(EACCES) : las.text;
                }
                if (skapad)
                    ::rmdir(m_mal.constData());
                return u;
            }
            raddaAvbruten();
            std::vector<Post> poster;
            lasIn(m_kalla, {}, poster);
            kontrolleraSkrivbara(poster);
            fyllStaging(poster);
            flyttaIn(poster);
        } catch (const Systemfel& f) {
            u.feltext = kopieringsfeltext(f.fel);
            angra();
            taBort(m_staging);
            las.fil.reset();
            if (skapad)
                ::rmdir(m_mal.constData());
            try {
                synka(m_destination);
            } catch (const Systemfel&) {
            }
            return u;
        }
        // The target is whole now: what fails from here on is told, but
        // nothing is taken back.
        try {
            avsluta();
        } catch (const Systemfel& f) {
            u.feltext = kopieringsfeltext(f.fel);
        }
        return u;
    }

private:
    // A copy killed half way left its folders beside the target. Whatever it
    // had moved aside and not yet replaced goes back (a journal only to the
    // database it belongs to); what it had moved aside becomes the target's
    // backup, as if it had ended; its staging folder goes.
    void raddaAvbruten() {
        if (finns(m_undan)) {
            std::vector<Post> undan;
            lasInAllt(m_undan, {}, undan);
            QSet<QByteArray> tillbaka;
            for (const Post& p : undan) {
                if (p.slag == Slag::Mapp || Databas::arSidofil(QFile::decodeName(sistaDel(p.rel))))
                    continue;
                if (!finns(under(m_mal, p.rel)) && finns(under(m_mal, foralder(p.rel))) &&
                    ::rename(under(m_undan, p.rel).constData(), under(m_mal, p.rel).constData()) == 0)
                    tillbaka.insert(p.rel);
            }
            for (const Post& p : undan) {
                const QString namn = QFile::decodeName(sistaDel(p.rel));
                if (p.slag == Slag::Mapp || !Databas::arSidofil(namn) || finns(under(m_mal, p.rel)))
                    continue;
                const QByteArray databas =
                    under(foralder(p.rel), QFile::encodeName(namn.left(namn.lastIndexOf(QLatin1Char('-')))));
                struct stat i {
                }, u{};
                const bool sammaFil = finns(under(m_mal, databas), &i) &&
                                      finns(under(m_undan, databas), &u) && i.st_dev == u.st_dev &&
                                      i.st_ino == u.st_ino;
                if (sammaFil || tillbaka.contains(databas))
                    ::rename(under(m_undan, p.rel).constData(), under(m_mal, p.rel).constData());
            }
            krav(taBort(m_bak));
            krav(::rename(m_undan.constData(), m_bak.constData()) == 0);
            synka(m_mal);
            synka(m_destination);
        }
        if (finns(m_staging)) {
            krav(taBort(m_staging));
            synka(m_destination);
        }
    }

    static void lasInAllt(const QByteArray& rot, const QByteArray& rel, std::vector<Post>& poster) {
        for (const QByteArray& namn : namnI(under(rot, rel))) {
            Post p{under(rel, namn), Slag::Fil, {}};
            krav(::lstat(under(rot, p.rel).constData(), &p.st) == 0);
            p.slag = S_ISDIR(p.st.st_mode) ? Slag::Mapp : Slag::Fil;
            poster.push_back(p);
            if (p.slag == Slag::Mapp)
                lasInAllt(rot, p.rel, poster);
        }
    }

    // A file the operator write-protected, or one open in a spreadsheet
    // program, is not replaced: refused before anything is copied. The mode
    // decides and not only access(), which lets root write everything.
    void kontrolleraSkrivbara(const std::vector<Post>& poster) const {
        for (const Post& p : poster) {
            if (p.slag == Slag::Mapp)
                continue;
            const QByteArray mal = under(m_mal, p.rel);
            struct stat st {};
            if (!finns(mal, &st) || !S_ISREG(st.st_mode))
                continue;
            if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(mal.constData(), W_OK) != 0)
                kasta(EACCES);
            // A list open in a spreadsheet program would be lost to it; a lock
            // file that nothing backs any more is no reason to refuse.
            if (Kalkyl::Filhallare::oppnadAv(QFile::decodeName(mal)))
                kasta(EACCES);
        }
    }

    void fyllStaging(const std::vector<Post>& poster) {
        krav(::mkdir(m_staging.constData(), S_IRWXU) == 0);
        for (const Post& p : poster) {
            const QByteArray fran = under(m_kalla, p.rel);
            const QByteArray till = under(m_staging, p.rel);
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
            case Slag::Lank:
                kopieraLank(fran, till, p.st);
                break;
            }
        }
        // A folder's time last: filling it moved it on.
        for (auto p = poster.rbegin(); p != poster.rend(); ++p) {
            if (p->slag != Slag::Mapp)
                continue;
            const QByteArray till = under(m_staging, p->rel);
            krav(::chmod(till.constData(), agarensLage(p->st)) == 0);
            const struct timespec tider[2] = {p->st.st_atim, p->st.st_mtim};
            krav(::utimensat(AT_FDCWD, till.constData(), tider, 0) == 0);
        }
        // One flush of the whole file system costs what one file's would; a
        // flush per file costs about twice the copy.
        Fd fd(::open(m_staging.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        krav(fd.get() >= 0);
        krav(::syncfs(fd.get()) == 0);
    }

    void flyttUndan(const QByteArray& rel, bool lanka) {
        if (!m_undanSkapad) {
            krav(::mkdir(m_undan.constData(), S_IRWXU) == 0);
            m_undanSkapad = true;
        }
        skapaMappar(m_undan, foralder(rel));
        const QByteArray fran = under(m_mal, rel);
        const QByteArray till = under(m_undan, rel);
        // A second name keeps the old file in the target until the new one
        // takes its place; a file system without links (FAT) moves it.
        if (!lanka || ::link(fran.constData(), till.constData()) != 0)
            krav(::rename(fran.constData(), till.constData()) == 0);
        m_steg.push_back({Steg::Undan, rel});
        m_andradeMappar.insert(foralder(rel));
    }

    void flyttaIn(const std::vector<Post>& poster) {
        QByteArray flyttadMapp;
        for (const Post& p : poster) {
            if (!flyttadMapp.isEmpty() && p.rel.startsWith(flyttadMapp + '/'))
                continue;
            const QByteArray mal = under(m_mal, p.rel);
            const QByteArray ny = under(m_staging, p.rel);
            struct stat st {};
            const bool fanns = finns(mal, &st);
            if (p.slag == Slag::Mapp && fanns && S_ISDIR(st.st_mode))
                continue; // filled file by file
            const bool ersatt = fanns && p.slag != Slag::Mapp && !S_ISDIR(st.st_mode);
            if (fanns)
                flyttUndan(p.rel, ersatt);
            if (p.slag == Slag::Databas) {
                // A journal beside the old database would be played into the new one.
                for (const QString& sida : Databas::sidofiler(QFile::decodeName(sistaDel(p.rel)))) {
                    const QByteArray rel = under(foralder(p.rel), QFile::encodeName(sida));
                    if (finns(under(m_mal, rel)))
                        flyttUndan(rel, false);
                }
            }
            krav(::rename(ny.constData(), mal.constData()) == 0);
            m_steg.push_back({ersatt ? Steg::Ersatt : Steg::In, p.rel});
            m_andradeMappar.insert(foralder(p.rel));
            if (p.slag == Slag::Mapp)
                flyttadMapp = p.rel;
        }
    }

    // Takes back, last first, what moving in did: the old files to their
    // places, the new ones back to the staging folder.
    void angra() {
        for (auto s = m_steg.rbegin(); s != m_steg.rend(); ++s) {
            switch (s->typ) {
            case Steg::In:
                ::rename(under(m_mal, s->rel).constData(), under(m_staging, s->rel).constData());
                break;
            case Steg::Ersatt:
                break; // the old file's step puts it back over the new one
            case Steg::Undan:
                ::rename(under(m_undan, s->rel).constData(), under(m_mal, s->rel).constData());
                break;
            }
        }
        if (m_undanSkapad)
            taBort(m_undan);
        for (const QByteArray& rel : m_andradeMappar) {
            try {
                synka(under(m_mal, rel));
            } catch (const Systemfel&) {
            }
        }
    }

    // The moved-aside files become the target's backup (the previous one
    // goes), the staging folder goes, and every folder whose entries changed
    // is flushed.
    void avsluta() {
        QSet<QByteArray> undanMappar;
        for (const Steg& s : m_steg)
            if (s.typ == Steg::Undan)
                undanMappar.insert(foralder(s.rel));
        if (m_undanSkapad) {
            krav(taBort(m_bak));
            krav(::rename(m_undan.constData(), m_bak.constData()) == 0);
        }
        taBort(m_staging);
        for (const QByteArray& rel : undanMappar)
            synka(under(m_bak, rel));
        for (const QByteArray& rel : m_andradeMappar)
            synka(under(m_mal, rel));
        synka(m_destination);
    }

    struct Steg {
        enum Typ { In, Ersatt, Undan } typ;
        QByteArray rel;
    };

    QByteArray m_kalla;
    QByteArray m_destination;
    QByteArray m_mal;
    QByteArray m_staging;
    QByteArray m_undan;
    QByteArray m_bak;
    QString m_namn;
    bool m_undanSkapad = false;
    std::vector<Steg> m_steg;
    QSet<QByteArray> m_andradeMappar;
};

} // namespace

bool utelamnas(const QString& namn) {
    return Tavling::arLasfil(namn) || Kalkyl::Filhallare::arLasfil(namn) ||
           Kalkyl::XlsxFil::arTillfallig(namn) || NyTavling::arTillfalligtNamn(namn) ||
           Databas::arSidofil(namn);
}

QString sakerhetskopia(const QString& malmapp) {
    const QFileInfo mal(QDir::cleanPath(malmapp));
    return QFileInfo(mal.path(), QFile::decodeName(namnBredvid(mal.fileName(), {}, QStringLiteral(".bak"))))
        .filePath();
}

Kopieringsutfall kopieraTavlingsmapp(const QString& destination, const QString& kalla) {
    return Kopiering(destination, kalla).kor();
}

} // namespace Overforing
