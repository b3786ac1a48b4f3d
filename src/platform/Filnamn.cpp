#include "platform/Filnamn.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <atomic>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>

namespace {

// The kernel's FUSE, whose magic the header does not give.
constexpr quint32 FuseMagi = 0x65735546;

// mountinfo writes a blank, a tab, a newline and a backslash as "\040" and so on.
QByteArray avkodad(const QByteArray& falt) {
    QByteArray ut;
    for (qsizetype i = 0; i < falt.size(); ++i) {
        if (falt[i] == '\\' && i + 3 < falt.size()) {
            bool ok = false;
            const int kod = falt.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                ut += char(kod);
                i += 3;
                continue;
            }
        }
        ut += falt[i];
    }
    return ut;
}

// A test's stand-in for what the kernel says, if one lives. Read by
// whichever thread asks for a file system (a copy runs on its own).
std::atomic<const Ersattningsmontering*> ersattning{nullptr};

std::optional<quint32> magiFor(const QByteArray& mapp) {
    if (const Ersattningsmontering* e = ersattning.load())
        return e->magi;
    struct statfs fs {};
    if (::statfs(mapp.constData(), &fs) != 0)
        return std::nullopt;
    return static_cast<quint32>(fs.f_type);
}

QByteArray monteringstabell() {
    if (const Ersattningsmontering* e = ersattning.load())
        return e->mountinfo;
    QFile info(QStringLiteral("/proc/self/mountinfo"));
    if (!info.open(QIODevice::ReadOnly))
        return {};
    return info.readAll();
}

// The type and device of the mount whose device number is dev.
bool montering(dev_t dev, QByteArray& typ, QByteArray& kalla) {
    const QByteArray nummer = QByteArray::number(major(dev)) + ':' + QByteArray::number(minor(dev));
    for (const QByteArray& rad : monteringstabell().split('\n')) {
        const QList<QByteArray> falt = rad.split(' ');
        const qsizetype streck = falt.indexOf("-");
        if (falt.size() < 3 || falt[2] != nummer || streck < 0 || streck + 2 >= falt.size())
            continue;
        typ = falt[streck + 1];
        kalla = avkodad(falt[streck + 2]);
        return true;
    }
    return false;
}

} // namespace

Filsystem fuseFilsystem(const QByteArray& typ, const QByteArray& forstaSektorn) {
    const qsizetype punkt = typ.indexOf('.');
    if (punkt >= 0) {
        const QByteArray undertyp = typ.mid(punkt + 1).toLower();
        for (const char* fat : {"exfat", "vfat", "fat", "msdos", "fat32", "fusefat"})
            if (undertyp == fat)
                return Filsystem::Fat;
        return Filsystem::Linux;
    }
    // sshfs and the like say "fuse"; a device through FUSE says "fuseblk", and
    // only its first sector tells what it is.
    if (typ != "fuseblk")
        return Filsystem::Linux;
    // A device this user cannot read is, in practice, a stick's exFAT or
    // NTFS: Windows' rules cost at most a name changed.
    if (forstaSektorn.size() < 90)
        return Filsystem::Fat;
    if (forstaSektorn.mid(3, 8) == "EXFAT   " || forstaSektorn.mid(54, 3) == "FAT" ||
        forstaSektorn.mid(82, 5) == "FAT32")
        return Filsystem::Fat;
    return Filsystem::Linux;
}

Filsystem filsystemAv(quint32 magi, const std::optional<QByteArray>& monteringstyp,
                      const QByteArray& forstaSektorn) {
    switch (magi) {
    case MSDOS_SUPER_MAGIC: // vfat and msdos
    case EXFAT_SUPER_MAGIC:
        return Filsystem::Fat;
    case FuseMagi:
        return monteringstyp ? fuseFilsystem(*monteringstyp, forstaSektorn) : Filsystem::Fat;
    default:
        return Filsystem::Linux;
    }
}

Ersattningsmontering::Ersattningsmontering(quint32 magi, QByteArray mountinfo)
    : magi(magi), mountinfo(std::move(mountinfo)), m_forra(ersattning.exchange(this)) {}

Ersattningsmontering::~Ersattningsmontering() {
    ersattning.store(m_forra);
}

Filsystem filsystem(const QString& sokvag) {
    QFileInfo mapp(QDir::cleanPath(QDir::current().absoluteFilePath(sokvag)));
    while (!mapp.exists() && !mapp.isRoot())
        mapp = QFileInfo(mapp.path());
    const QByteArray c = QFile::encodeName(mapp.filePath());
    const std::optional<quint32> svar = magiFor(c);
    if (!svar)
        return Filsystem::Linux;
    const quint32 magi = *svar;
    if (magi != FuseMagi)
        return filsystemAv(magi, std::nullopt, {});
    struct stat st {};
    QByteArray typ, kalla;
    if (::stat(c.constData(), &st) != 0 || !montering(st.st_dev, typ, kalla))
        return filsystemAv(magi, std::nullopt, {});
    QByteArray sektor;
    QFile enhet(QFile::decodeName(kalla));
    if (kalla.startsWith('/') && enhet.open(QIODevice::ReadOnly))
        sektor = enhet.read(512);
    return filsystemAv(magi, typ, sektor);
}

QString namnfel(const QString& namn, Filsystem fs) {
    if (namn.isEmpty() || namn == QLatin1String(".") || namn == QLatin1String(".."))
        return QStringLiteral("namnet kan inte användas");
    // Linux refuses only "/" and NUL; FAT these, every control character and
    // the characters Windows keeps for paths and patterns.
    const QString forbjudna = fs == Filsystem::Fat ? QStringLiteral("/\\:*?\"<>|") : QStringLiteral("/");
    for (const QChar c : namn) {
        if (c.unicode() == 0 || (fs == Filsystem::Fat && c.unicode() < 0x20))
            return QStringLiteral("namnet innehåller ett styrtecken");
        if (forbjudna.contains(c))
            return QStringLiteral("tecknet \"%1\" kan inte användas i ett namn").arg(c);
    }
    // 255 bytes on Linux, 255 UTF-16 units on FAT.
    if (namn.toUtf8().size() > 255 || namn.size() > 255)
        return QStringLiteral("namnet är för långt");
    if (fs != Filsystem::Fat)
        return {};
    // FAT drops a trailing dot or blank, so the copy would get another name.
    if (namn.endsWith(QLatin1Char('.')) || namn.endsWith(QLatin1Char(' ')))
        return QStringLiteral("ett namn kan inte sluta med punkt eller blanksteg");
    // Device names of DOS, with or without an extension; Windows keeps COM
    // and LPT with 0 to 9 and with the superscripts 1 to 3.
    static const QStringList enheter = [] {
        QStringList l = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                         QStringLiteral("NUL")};
        for (const QChar siffra : QStringLiteral("0123456789\u00b9\u00b2\u00b3"))
            l << QStringLiteral("COM") + siffra << QStringLiteral("LPT") + siffra;
        return l;
    }();
    const QString stam = namn.section(QLatin1Char('.'), 0, 0).trimmed();
    if (enheter.contains(stam, Qt::CaseInsensitive))
        return QStringLiteral("\"%1\" är ett reserverat namn på ett USB-minne").arg(stam);
    return {};
}

bool arEnhet(const QString& rot, const QByteArray& typ) {
    if (rot == QLatin1String("/"))
        return true;
    static const QList<QByteArray> systemets = {
        "proc",       "sysfs",         "tmpfs",      "devtmpfs",  "devpts",  "cgroup",      "cgroup2",
        "overlay",    "squashfs",      "mqueue",     "debugfs",   "tracefs", "securityfs",  "pstore",
        "bpf",        "configfs",      "fusectl",    "hugetlbfs", "autofs",  "binfmt_misc", "efivarfs",
        "ramfs",      "nsfs",          "rpc_pipefs", "selinuxfs", "nfsd",    "fuse.portal", "fuse.gvfsd-fuse",
        "fuse.lxcfs", "fuse.snapfuse", "none"};
    if (systemets.contains(typ))
        return false;
    // Sticks are mounted under /media/<user>/ (Debian) or /run/media/<user>/;
    // the rest of /run, and /boot, /proc, /sys, /dev, /snap, are the system's.
    if (rot.startsWith(QLatin1String("/run/media/")))
        return true;
    for (const char* system : {"/proc", "/sys", "/dev", "/run", "/boot", "/snap"}) {
        const QLatin1String s(system);
        if (rot == s || rot.startsWith(s + QLatin1Char('/')))
            return false;
    }
    return true;
}

QStringList enheter() {
    QStringList l = {QStringLiteral("/")};
    for (const QStorageInfo& volym : QStorageInfo::mountedVolumes()) {
        const QString rot = volym.rootPath();
        // A file bound into place (a container's /etc/hosts) is no drive.
        if (volym.isValid() && volym.isReady() && !l.contains(rot) && arEnhet(rot, volym.fileSystemType()) &&
            QFileInfo(rot).isDir())
            l << rot;
    }
    return l;
}
