#include "platform/Filslag.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

Filslag slagAv(mode_t lage) {
    if (S_ISREG(lage))
        return Filslag::Fil;
    if (S_ISDIR(lage))
        return Filslag::Mapp;
    if (S_ISLNK(lage))
        return Filslag::Lank;
    if (S_ISFIFO(lage))
        return Filslag::Pipe;
    if (S_ISSOCK(lage))
        return Filslag::Socket;
    if (S_ISCHR(lage) || S_ISBLK(lage))
        return Filslag::Enhet;
    return Filslag::Okant;
}

} // namespace

Filslag filslag(const QString& sokvag) {
    struct stat st {};
    if (::lstat(QFile::encodeName(sokvag).constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Filslag::Saknas : Filslag::Okant;
    return slagAv(st.st_mode);
}

QString filslagText(Filslag slag) {
    switch (slag) {
    case Filslag::Mapp:
        return QStringLiteral("en mapp");
    case Filslag::Lank:
        return QStringLiteral("en symbolisk länk");
    case Filslag::Pipe:
        return QStringLiteral("en namngiven pipe (FIFO)");
    case Filslag::Socket:
        return QStringLiteral("en socket");
    case Filslag::Enhet:
        return QStringLiteral("en enhetsfil");
    case Filslag::Saknas:
    case Filslag::Fil:
    case Filslag::Okant:
        break;
    }
    return {};
}

QString ovanligPost(const QString& sokvag) {
    return filslagText(filslag(sokvag));
}

std::optional<QByteArray> lasVanligFil(const QString& sokvag, qint64 max, bool foljLank) {
    const QByteArray kodad = QFile::encodeName(sokvag);
    // What is no plain file is not opened at all: a pipe opened even without
    // waiting is a reader to whatever writes to it meanwhile.
    struct stat fore {};
    if ((foljLank ? ::stat(kodad.constData(), &fore) : ::lstat(kodad.constData(), &fore)) == 0 &&
        !S_ISREG(fore.st_mode)) {
        errno = S_ISLNK(fore.st_mode) ? ELOOP : S_ISDIR(fore.st_mode) ? EISDIR : EINVAL;
        return std::nullopt;
    }
    // O_NONBLOCK: a pipe swapped in since the look, opened for reading, would
    // wait for a writer, and some devices wait for a carrier; it changes
    // nothing for a plain file.
    const int fd =
        ::open(kodad.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (foljLank ? 0 : O_NOFOLLOW));
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    const int fel = ::fstat(fd, &st) != 0 ? errno
                    : S_ISREG(st.st_mode) ? 0
                    : S_ISDIR(st.st_mode) ? EISDIR
                                          : EINVAL;
    if (fel) {
        ::close(fd);
        errno = fel;
        return std::nullopt;
    }
    QByteArray innehall;
    char buffert[65536];
    for (;;) {
        const qint64 kvar =
            max < 0 ? qint64(sizeof buffert) : qMin<qint64>(sizeof buffert, max - innehall.size());
        if (kvar <= 0)
            break;
        const ssize_t n = ::read(fd, buffert, size_t(kvar));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int lasfel = errno;
            ::close(fd);
            errno = lasfel;
            return std::nullopt;
        }
        if (n == 0)
            break;
        innehall.append(buffert, n);
    }
    ::close(fd);
    return innehall;
}
