#include "platform/folder_copy/Filstod.h"

#include "platform/folder_copy/Mappkopia.h"

#include <QByteArray>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

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
} // namespace

Systemanrop* anvandSystemanrop(Systemanrop* anrop) {
    return anropIBruk.exchange(anrop);
}

namespace detalj {

Systemanrop& sys() {
    static Systemanrop systemets;
    Systemanrop* a = anropIBruk.load();
    return a ? *a : systemets;
}

[[noreturn]] void kasta(int fel) {
    throw Systemfel{fel ? fel : EIO, {}};
}
[[noreturn]] void otillforlitlig(const QString& orsak) {
    throw Systemfel{Otillforlitlig, {}, orsak};
}
[[noreturn]] void vagra(int fel, const QByteArray& sokvag) {
    throw Systemfel{fel, sokvag};
}
void krav(bool ok) {
    if (!ok)
        kasta(errno);
}
void omMojligt(bool ok) {
    if (!ok && errno != ENOSYS && errno != EOPNOTSUPP && errno != EPERM)
        kasta(errno);
}

bool arEgen(const QByteArray& namn) {
    return namn == Markering || namn == Mellanfil || namn == Kopiemarkering || namn == Flyttmarkering ||
           namn == Markering + Skrivs || namn == Kopiemarkering + Skrivs;
}

bool markerad(const QByteArray& mapp, const QByteArray& namn) {
    struct stat st {};
    return finns(under(mapp, namn), &st) && S_ISREG(st.st_mode);
}

void skapaMarkerad(const QByteArray& mapp, const QByteArray& namn, const QByteArray& text) {
    krav(sys().mkdir(mapp.constData(), S_IRWXU) == 0);
    markera(mapp, namn, text);
}

void markera(const QByteArray& mapp, const QByteArray& namn, const QByteArray& text) {
    const QByteArray skrivs = under(mapp, namn + Skrivs);
    if (finns(skrivs))
        krav(sys().unlink(skrivs.constData()) == 0 || errno == ENOENT);
    Fd fd(sys().open(skrivs.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
    krav(fd.get() >= 0);
    skrivAllt(fd.get(), text);
    krav(sys().fsync(fd.get()) == 0);
    fd.stang();
    krav(sys().rename(skrivs.constData(), under(mapp, namn).constData()) == 0);
    synka(mapp);
}

QByteArray under(const QByteArray& mapp, const QByteArray& rel) {
    return rel.isEmpty() ? mapp : mapp + '/' + rel;
}

QByteArray inre(const QByteArray& rel, const QByteArray& namn) {
    return rel.isEmpty() ? namn : rel + '/' + namn;
}

QByteArray foralder(const QByteArray& rel) {
    const qsizetype snedstreck = rel.lastIndexOf('/');
    return snedstreck < 0 ? QByteArray() : rel.left(snedstreck);
}

bool finns(const QByteArray& sokvag, struct stat* st) {
    struct stat s {};
    return ::lstat(sokvag.constData(), st ? st : &s) == 0;
}

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

Fd::~Fd() {
    if (m_fd < 0)
        return;
    // One written to and given up on a failure is closed through the seam
    // too, since a file system may write then what it kept back. A test's seam
    // that stops there while the failure is on its way is a kill already.
    const int lage = ::fcntl(m_fd, F_GETFL);
    if (lage < 0 || (lage & O_ACCMODE) == O_RDONLY) {
        ::close(m_fd);
        return;
    }
    try {
        sys().close(m_fd);
    } catch (...) {
    }
}

void Fd::stang() {
    const int fd = std::exchange(m_fd, -1);
    krav(sys().close(fd) == 0);
}

void synka(const QByteArray& mapp) {
    Fd fd(sys().open(mapp.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
    krav(fd.get() >= 0);
    // Some file systems cannot flush a folder on its own; nothing to wait for then.
    if (sys().fsync(fd.get()) != 0 && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        kasta(errno);
}

void synkaForaldrar(const std::vector<QByteArray>& rels, std::initializer_list<const QByteArray*> rotter) {
    QSet<QByteArray> mappar;
    for (const QByteArray& post : rels)
        for (QByteArray rel = foralder(post);; rel = foralder(rel)) {
            mappar.insert(rel);
            if (rel.isEmpty())
                break;
        }
    for (const QByteArray& rel : mappar)
        for (const QByteArray* rot : rotter)
            if (struct stat st{}; finns(under(*rot, rel), &st) && S_ISDIR(st.st_mode))
                synka(under(*rot, rel));
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

bool taBort(const QByteArray& sokvag, const QByteArray& sist) {
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

void skapaMappar(const QByteArray& rot, const QByteArray& rel) {
    if (rel.isEmpty())
        return;
    skapaMappar(rot, foralder(rel));
    if (sys().mkdir(under(rot, rel).constData(), S_IRWXU) != 0 && errno != EEXIST)
        kasta(errno);
}

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

void kopieraFil(const QByteArray& fran, const QByteArray& till, mode_t lage, const struct timespec tider[2],
                bool synkas) {
    Fd in(::open(fran.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    krav(in.get() >= 0);
    Fd ut(sys().open(till.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
    krav(ut.get() >= 0);
    kopieraInnehall(in.get(), ut.get());
    omMojligt(sys().fchmod(ut.get(), lage) == 0);
    omMojligt(sys().futimens(ut.get(), tider) == 0);
    if (synkas)
        krav(sys().fsync(ut.get()) == 0);
    ut.stang();
}

bool lankPaVagen(const QByteArray& rot, const QByteArray& rel, QSet<QByteArray>* sett) {
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

} // namespace detalj
} // namespace Mappkopia
