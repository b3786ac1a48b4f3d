#include "platform/workbook/Filhallare.h"

#include "platform/Filslag.h"
#include "platform/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Kalkyl {

QString Innehavare::text() const {
    if (!slag.isEmpty())
        return QStringLiteral(
                   "Låsfilen %1 är %2, ingen vanlig fil, och det går inte att se om filen är öppen i "
                   "ett annat program. Ta bort den för hand och försök igen.")
            .arg(QDir::toNativeSeparators(lasfil), slag);
    QString t =
        QStringLiteral("Öppnad av ") + (anvandare.isEmpty() ? QStringLiteral("okänd användare") : anvandare);
    if (process > 0)
        t += QStringLiteral(" i %1 (process %2)")
                 .arg(program.isEmpty() ? QStringLiteral("ett annat program") : program,
                      QString::number(process));
    t += datorOkand        ? QStringLiteral(" på en okänd dator")
         : dator.isEmpty() ? QStringLiteral(" på den här datorn")
                           : QStringLiteral(" på datorn ") + dator;
    if (!lasfil.isEmpty())
        t += QStringLiteral(", låsfil ") + QDir::toNativeSeparators(lasfil);
    t += QLatin1Char('.');
    if (!lasfil.isEmpty() && (datorOkand || !dator.isEmpty()))
        t += QStringLiteral(" Stäng filen där; är den inte öppen, ta bort låsfilen.");
    return t;
}

FilenOppen::FilenOppen(const QString& sokvag, Innehavare innehavare)
    : Fel(Felnummer::AtkomstNekad,
          (innehavare.slag.isEmpty() ? QStringLiteral("Filen %1 är öppen i ett annat program. %2")
                                     : QStringLiteral("Filen %1 kan inte ersättas. %2"))
              .arg(QDir::toNativeSeparators(sokvag), innehavare.text())),
      m_innehavare(std::move(innehavare)) {}

namespace Filhallare {

namespace {

// LibreOffice's lock file: fields separated by ",", the entry ended by ";",
// and "\" in front of any character that would otherwise end one.
QStringList libreOfficeFalt(const QByteArray& innehall) {
    const QString text = QString::fromUtf8(innehall);
    QStringList falt{QString()};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\') && i + 1 < text.size())
            falt.back() += text[++i];
        else if (c == QLatin1Char(','))
            falt.append(QString());
        else if (c == QLatin1Char(';'))
            break;
        else
            falt.back() += c;
    }
    return falt;
}

// Office's owner file begins with the user name's length in one byte and the
// name in the Windows code page.
QString officeAnvandare(const QByteArray& innehall) {
    if (innehall.isEmpty())
        return {};
    const int langd = quint8(innehall[0]);
    if (langd == 0 || innehall.size() < 1 + langd)
        return {};
    return Windows1252::tillText(innehall.mid(1, langd)).trimmed();
}

QString kortNamn(const QString& dator) {
    return dator.section(QLatin1Char('.'), 0, 0).toLower();
}

bool dennaDator(const QString& dator) {
    if (dator.isEmpty() || dator.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    // A lock file may give the full name of the machine, the system the short one.
    return kortNamn(dator) == kortNamn(QSysInfo::machineHostName());
}

QString inloggning() {
    const passwd* pw = ::getpwuid(::geteuid());
    return pw ? QString::fromLocal8Bit(pw->pw_name) : QString();
}

struct Lasfil {
    Innehavare innehavare;
    QString inloggning; // the login LibreOffice names; empty for Office's file
};

std::optional<Lasfil> lasLasfil(const QString& sokvag) {
    const Filslag slag = filslag(sokvag);
    if (slag == Filslag::Saknas)
        return std::nullopt;
    Lasfil l;
    l.innehavare.lasfil = sokvag;
    const bool office = QFileInfo(sokvag).fileName().startsWith(QLatin1String("~$"));
    l.innehavare.datorOkand = office;
    l.innehavare.slag = filslagText(slag);
    if (!l.innehavare.slag.isEmpty())
        return l;
    const std::optional<QByteArray> last = lasVanligFil(sokvag, 4096);
    if (!last) {
        // Gone meanwhile, or swapped for something else than a plain file.
        if (errno == ENOENT)
            return std::nullopt;
        if (errno == ELOOP || errno == EISDIR || errno == EINVAL)
            l.innehavare.slag = filslagText(filslag(sokvag));
        return l;
    }
    const QByteArray& innehall = *last;
    if (office) {
        l.innehavare.anvandare = officeAnvandare(innehall);
        return l;
    }
    const QStringList falt = libreOfficeFalt(innehall);
    l.inloggning = falt.value(1).trimmed();
    l.innehavare.anvandare = falt.value(0).trimmed().isEmpty() ? l.inloggning : falt.value(0).trimmed();
    if (const QString dator = falt.value(2).trimmed(); !dennaDator(dator))
        l.innehavare.dator = dator;
    return l;
}

struct Process {
    qint64 pid = 0;
    QString program, anvandare;
};

Process process(qint64 pid) {
    Process p{pid, {}, {}};
    const QString mapp = QStringLiteral("/proc/%1").arg(pid);
    QFile comm(mapp + QStringLiteral("/comm"));
    if (comm.open(QIODevice::ReadOnly))
        p.program = QString::fromLocal8Bit(comm.readAll()).trimmed();
    p.anvandare = QFileInfo(mapp).owner();
    return p;
}

// A process that holds a system lock on the file (fcntl, either kind); the
// kernel tells this about every user's processes.
std::optional<Process> systemlas(const QByteArray& sokvag) {
    const int fd = ::open(sokvag.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct flock las {};
    las.l_type = F_WRLCK;
    las.l_whence = SEEK_SET;
    int svar = ::fcntl(fd, F_OFD_GETLK, &las);
    if (svar != 0 && errno == EINVAL) {
        las = {};
        las.l_type = F_WRLCK;
        las.l_whence = SEEK_SET;
        svar = ::fcntl(fd, F_GETLK, &las);
    }
    ::close(fd);
    if (svar != 0 || las.l_type == F_UNLCK)
        return std::nullopt;
    return las.l_pid > 0 ? process(las.l_pid) : Process{};
}

// A process of this machine that has the file open for writing, as a
// spreadsheet program has the file it edits; a reader does not stand in the
// way. `allaSynliga` tells whether every process could be looked at.
std::optional<Process> skrivandeProcess(const QByteArray& sokvag, bool& allaSynliga) {
    allaSynliga = true;
    struct stat mal = {};
    const QByteArray malText = QFile::encodeName(QFileInfo(QFile::decodeName(sokvag)).canonicalFilePath());
    if (malText.isEmpty() || ::stat(sokvag.constData(), &mal) != 0)
        return std::nullopt;
    DIR* proc = ::opendir("/proc");
    if (!proc) {
        allaSynliga = false;
        return std::nullopt;
    }
    const pid_t egen = ::getpid();
    std::optional<Process> hittad;
    char lanktext[4096];
    while (const dirent* post = ::readdir(proc)) {
        char* slut = nullptr;
        const long pid = std::strtol(post->d_name, &slut, 10);
        if (pid <= 0 || *slut != '\0' || pid == egen)
            continue;
        const QByteArray fdmapp = QByteArray("/proc/") + post->d_name + "/fd";
        DIR* fds = ::opendir(fdmapp.constData());
        if (!fds) {
            if (errno == EACCES)
                allaSynliga = false;
            continue;
        }
        while (const dirent* f = ::readdir(fds)) {
            if (f->d_name[0] == '.')
                continue;
            const QByteArray lank = fdmapp + '/' + f->d_name;
            // The link's own mode is the descriptor's: "w" when it was opened
            // for writing. Its text is compared before the file behind it is
            // looked at, so that a process's files on a network share that
            // does not answer never hold the save up.
            struct stat lankInfo = {};
            if (::lstat(lank.constData(), &lankInfo) != 0 || (lankInfo.st_mode & S_IWUSR) == 0)
                continue;
            const ssize_t n = ::readlink(lank.constData(), lanktext, sizeof lanktext);
            if (n != malText.size() || std::memcmp(lanktext, malText.constData(), size_t(n)) != 0)
                continue;
            struct stat info = {};
            if (::stat(lank.constData(), &info) == 0 && info.st_dev == mal.st_dev &&
                info.st_ino == mal.st_ino) {
                hittad = process(pid);
                break;
            }
        }
        ::closedir(fds);
        if (hittad)
            break;
    }
    ::closedir(proc);
    return hittad;
}

} // namespace

namespace {
QString libreOfficeLasfil(const QString& sokvag) {
    const QFileInfo fi(sokvag);
    return fi.absoluteDir().filePath(QStringLiteral(".~lock.") + fi.fileName() + QLatin1Char('#'));
}
} // namespace

QStringList lasfiler(const QString& sokvag) {
    const QFileInfo fi(sokvag);
    return {libreOfficeLasfil(sokvag), fi.absoluteDir().filePath(QStringLiteral("~$") + fi.fileName())};
}

bool arLasfil(const QString& filnamn) {
    return (filnamn.startsWith(QStringLiteral(".~lock.")) && filnamn.endsWith(QLatin1Char('#'))) ||
           filnamn.startsWith(QStringLiteral("~$"));
}

std::optional<Innehavare> oppnadAv(const QString& sokvag) {
    QList<Lasfil> filer;
    for (const QString& l : lasfiler(sokvag))
        if (auto las = lasLasfil(l))
            filer.append(*las);
    // Another machine's program cannot be seen from here: its word stands. An
    // Office owner file can only be such a program's.
    for (const Lasfil& l : filer)
        if (!l.innehavare.slag.isEmpty())
            return l.innehavare;
    for (const Lasfil& l : filer)
        if (!l.innehavare.dator.isEmpty() || l.innehavare.datorOkand)
            return l.innehavare;

    // A program that keeps the file open without a lock file is not one that
    // edits it; the processes are looked through only to judge a lock file.
    const QByteArray namn = QFile::encodeName(sokvag);
    bool allaSynliga = true;
    std::optional<Process> p = systemlas(namn);
    if (!p && !filer.isEmpty())
        p = skrivandeProcess(namn, allaSynliga);
    if (p) {
        Innehavare i = filer.isEmpty() ? Innehavare{} : filer.front().innehavare;
        if (i.anvandare.isEmpty())
            i.anvandare = p->anvandare;
        i.process = p->pid;
        i.program = p->program;
        return i;
    }
    // Another login's processes may be hidden from this one: its lock file is
    // taken at its word too.
    if (!allaSynliga) {
        const QString jag = inloggning();
        for (const Lasfil& l : filer)
            if (!l.inloggning.isEmpty() && l.inloggning != jag)
                return l.innehavare;
    }
    return std::nullopt;
}

void taBortLasfil(const QString& sokvag) {
    const QString lasfil = libreOfficeLasfil(sokvag);
    if (filslag(lasfil) == Filslag::Fil)
        QFile::remove(lasfil);
}

} // namespace Filhallare

} // namespace Kalkyl
