#include "platform/Filnamn.h"
#include "platform/folder_copy/Mappkopia.h"
#include "support/Anropsvakt.h"
#include "support/Loggbild.h"
#include "support/Testfixtur.h"
#include "transfer/Tavlingsoverforing.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStorageInfo>
#include <QTest>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <linux/magic.h>
#include <optional>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using Overforing::Kontroll;

namespace {

constexpr quint32 Fuse = 0x65735546;

// A program run to its end: what it wrote, or nothing when it failed.
std::optional<QString> kor(const QString& program, const QStringList& argument) {
    QProcess p;
    // A FUSE file system's daemon would keep an output pipe open.
    const bool utdata = program == QLatin1String("losetup");
    if (!utdata)
        p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, argument);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return utdata ? QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed() : QString();
}

// An exFAT stick as this machine's kernel can mount one: an image on a loop
// device, mounted through FUSE, as a desktop mounts a stick when the kernel
// has no exFAT of its own. A watcher of its own unmounts it and gives the
// loop device back when the test is killed before it could.
class Exfatminne {
public:
    Exfatminne(const QString& bild, const QString& mapp, qint64 storlek = 8 << 20) : m_mapp(mapp) {
        QFile f(bild);
        if (!f.open(QIODevice::WriteOnly) || !f.resize(storlek) || !kor(QStringLiteral("mkfs.exfat"), {bild}))
            return;
        m_enhet = kor(QStringLiteral("losetup"), {QStringLiteral("-f"), QStringLiteral("--show"), bild});
        if (!m_enhet)
            return;
        // Only what is still this test's: the mount at the folder, the loop
        // device while it holds the image.
        const QString vakt = QStringLiteral("while kill -0 \"$1\" 2>/dev/null; do sleep 1; done; "
                                            "mountpoint -q \"$2\" && umount -l \"$2\"; "
                                            "[ \"$(cat /sys/block/${3#/dev/}/loop/backing_file "
                                            "2>/dev/null)\" = \"$4\" ] && losetup -d \"$3\"");
        QProcess::startDetached(QStringLiteral("setsid"),
                                {QStringLiteral("sh"), QStringLiteral("-c"), vakt, QStringLiteral("vakt"),
                                 QString::number(QCoreApplication::applicationPid()), mapp, *m_enhet,
                                 QFileInfo(bild).canonicalFilePath()},
                                {}, &m_vakt);
        m_monterad = monteraOm();
    }
    ~Exfatminne() {
        if (m_monterad)
            kor(QStringLiteral("umount"), {m_mapp});
        if (m_enhet)
            kor(QStringLiteral("losetup"), {QStringLiteral("-d"), *m_enhet});
        if (m_vakt > 0)
            ::kill(pid_t(m_vakt), SIGKILL);
    }
    bool monterad() const { return m_monterad; }
    // The stick pulled and put back: what the driver held in memory is gone.
    bool monteraOm() {
        if (m_monterad && !kor(QStringLiteral("umount"), {m_mapp}))
            return false;
        m_monterad = kor(QStringLiteral("mount.exfat-fuse"), {*m_enhet, m_mapp}).has_value();
        return m_monterad;
    }

private:
    QString m_mapp;
    std::optional<QString> m_enhet;
    bool m_monterad = false;
    qint64 m_vakt = 0;
};

struct Stopp {};

void skriv(const QString& fil, const QByteArray& innehall, time_t tid, long ns = 0) {
    QDir().mkpath(QFileInfo(fil).path());
    QFile f(fil);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(innehall) == innehall.size());
    f.close();
    const struct timespec tider[2] = {{tid, ns}, {tid, ns}};
    QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(fil).constData(), tider, 0), 0);
}

// The files below a folder with their content.
QStringList innehall(const QString& mapp) {
    QStringList l;
    QDirIterator it(mapp, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        l << QDir(mapp).relativeFilePath(f.fileName()) + u'=' +
                 (f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString());
    }
    l.sort();
    return l;
}

} // namespace

// The wizard gives the check no file system: the destination's is found out
// from what the machine says of it. A stick formatted FAT or exFAT holds a
// name only as Windows would, whether the kernel mounts it itself or a FUSE
// driver does; a Linux disk takes the same names.
class TestMalfilsystem : public QObject {
    Q_OBJECT
private slots:
    void namnPaEttRiktigtMinne_data() {
        QTest::addColumn<quint32>("magi"); // from statfs(); 0: a real exFAT mount, not a stand-in
        QTest::addColumn<QByteArray>("montering");
        QTest::addColumn<QString>("fil");  // in the competition folder
        QTest::addColumn<QString>("text"); // empty: the copy may go ahead
        const QString kolon =
            QStringLiteral("\"Utskrifter/a:b.xlsx\" i tävlingsmappen kan inte kopieras till "
                           "$T/Sticka: tecknet \":\" kan inte användas i ett namn.");
        const QString con = QStringLiteral("\"CON.txt\" i tävlingsmappen kan inte kopieras till $T/Sticka: "
                                           "\"CON\" är ett reserverat namn på ett USB-minne.");
        const QString utskrift = QStringLiteral("Utskrifter/a:b.xlsx");
        const QString enhet = QStringLiteral("CON.txt");
        // The mount as /proc/self/mountinfo has it, $N for the destination's
        // device number and $E for its device.
        const QByteArray vfat = "- vfat /dev/sdb1 rw,uid=1000,gid=1000,fmask=0022,dmask=0022,codepage=437,"
                                "iocharset=ascii,shortname=mixed,showexec,utf8,flush,errors=remount-ro";
        const QByteArray exfat = "- exfat /dev/sdb1 rw,uid=1000,gid=1000,fmask=0022,dmask=0022,"
                                 "iocharset=utf8,errors=remount-ro";
        const QByteArray fuseblk = "- fuseblk $E rw,user_id=0,group_id=0,default_permissions,allow_other";
        const QByteArray ext4 = "- ext4 /dev/sda1 rw";
        QTest::newRow("vfat, kolon") << quint32(MSDOS_SUPER_MAGIC) << vfat << utskrift << kolon;
        QTest::newRow("vfat, CON") << quint32(MSDOS_SUPER_MAGIC) << vfat << enhet << con;
        QTest::newRow("exFAT, kolon") << quint32(EXFAT_SUPER_MAGIC) << exfat << utskrift << kolon;
        QTest::newRow("exFAT, CON") << quint32(EXFAT_SUPER_MAGIC) << exfat << enhet << con;
        QTest::newRow("exFAT genom FUSE, kolon") << Fuse << fuseblk << utskrift << kolon;
        QTest::newRow("ext4, kolon") << quint32(EXT4_SUPER_MAGIC) << ext4 << utskrift << QString();
        QTest::newRow("ext4, CON") << quint32(EXT4_SUPER_MAGIC) << ext4 << enhet << QString();
        QTest::newRow("sshfs, kolon")
            << Fuse << QByteArray("- fuse.sshfs klubben:/ rw") << utskrift << QString();
        QTest::newRow("exFAT-minne, kolon") << quint32(0) << QByteArray() << utskrift << kolon;
        QTest::newRow("exFAT-minne, CON") << quint32(0) << QByteArray() << enhet << con;
    }
    void namnPaEttRiktigtMinne() {
        QFETCH(quint32, magi);
        QFETCH(QByteArray, montering);
        QFETCH(QString, fil);
        QFETCH(QString, text);
        Testfixtur f;
        const QString cup = f.t.fil(QStringLiteral("Tävlingar/Cup/Cup.air"));
        QVERIFY(QDir().mkpath(f.t.fil(QStringLiteral("Tävlingar/Cup/Utskrifter"))));
        QVERIFY(QFile::copy(f.t.fil(QStringLiteral("Pilkrona.mdb")), cup));
        QFile ny(f.t.fil(QStringLiteral("Tävlingar/Cup/") + fil));
        QVERIFY(ny.open(QIODevice::WriteOnly));
        const QString sticka = f.t.fil(QStringLiteral("Sticka"));
        QVERIFY(QDir().mkpath(sticka));

        std::optional<Exfatminne> minne;
        std::optional<Ersattningsmontering> ersattning;
        if (magi == 0) {
            minne.emplace(f.t.fil(QStringLiteral("minne.img")), sticka);
            if (!minne->monterad())
                QSKIP("No exFAT image could be mounted here (mkfs.exfat, losetup and mount.exfat-fuse, as "
                      "root); the rows with a stand-in mount run the same detection.");
        } else {
            // The device a FUSE mount names holds an exFAT boot sector.
            QFile sektor(f.t.fil(QStringLiteral("sdb1")));
            QVERIFY(sektor.open(QIODevice::WriteOnly));
            QByteArray start(512, '\0');
            start.replace(3, 8, "EXFAT   ");
            sektor.write(start);
            sektor.close();
            struct stat st {};
            QVERIFY(::stat(QFile::encodeName(sticka).constData(), &st) == 0);
            const QByteArray nummer =
                QByteArray::number(major(st.st_dev)) + ':' + QByteArray::number(minor(st.st_dev));
            ersattning.emplace(magi, "22 1 8:1 / / rw,relatime - ext4 /dev/sda1 rw\n36 22 " + nummer + " / " +
                                         QFile::encodeName(sticka) + " rw,nosuid,nodev,relatime shared:1 " +
                                         montering.replace("$E", QFile::encodeName(sektor.fileName())) +
                                         '\n');
        }

        const Kontroll k = Overforing::kontrollera(Overforing::Riktning::Export, cup, sticka, {}, f.g, f.m);
        QCOMPARE(k.ok, text.isEmpty());
        QCOMPARE(f.m.visade.size(), text.isEmpty() ? 0 : 1);
        if (text.isEmpty())
            return;
        QCOMPARE(f.m.visade[0].text, QString(text).replace(QLatin1String("$T"), f.t.mapp()));
        QCOMPARE(f.m.visade[0].titel, QStringLiteral("Fel sökväg"));
        QCOMPARE(k.fokus, Kontroll::Fokus::Destination);
    }

    // Files dated outside the years FAT holds (1970, as some archive tools
    // leave it, and 2200) are given the nearest it holds, so what a copy cut
    // off records of them is what the stick shows once it is mounted again:
    // the copy is ended when the stick's competition is opened, or taken back
    // when another copy replaces it, never refused.
    void tiderSomMinnetHaller_data() {
        QTest::addColumn<QString>("stopp");  // the copy's call it is cut off at
        QTest::addColumn<int>("satt");       // Mappkopia::Avbrott
        QTest::addColumn<QByteArray>("zon"); // the stick's local time, as its driver converts it
        const int avsluta = int(Mappkopia::Avbrott::Avsluta), tillbaka = int(Mappkopia::Avbrott::TaTillbaka);
        for (const QByteArray& zon :
             {QByteArray("UTC"), QByteArray("America/Los_Angeles"), QByteArray("Pacific/Kiritimati")}) {
            QTest::addRow("inget flyttat, %s", zon.constData())
                << QStringLiteral("mkdir .Cup.undan") << avsluta << zon;
            QTest::addRow("a.txt inne, %s", zon.constData())
                << QStringLiteral("rename .Cup.kopia/b.txt Cup/b.txt") << avsluta << zon;
            QTest::addRow("a.txt inne, tillbaka, %s", zon.constData())
                << QStringLiteral("rename .Cup.kopia/b.txt Cup/b.txt") << tillbaka << zon;
            QTest::addRow("allt inne, %s", zon.constData())
                << QStringLiteral("unlink .Cup.kopiering") << avsluta << zon;
        }
    }
    void tiderSomMinnetHaller() {
        QFETCH(QString, stopp);
        QFETCH(int, satt);
        QFETCH(QByteArray, zon);
        QTemporaryDir d;
        const QString sticka = d.filePath(QStringLiteral("Sticka")),
                      kalla = d.filePath(QStringLiteral("Cup"));
        QVERIFY(QDir().mkpath(sticka));
        // The driver started by the mount takes the zone along.
        const QByteArray forraZon = qgetenv("TZ");
        qputenv("TZ", zon);
        tzset();
        const auto aterstall = qScopeGuard([&] {
            qputenv("TZ", forraZon);
            tzset();
        });
        Exfatminne minne(d.filePath(QStringLiteral("minne.img")), sticka);
        if (!minne.monterad())
            QSKIP(
                "No exFAT image could be mounted here (mkfs.exfat, losetup and mount.exfat-fuse, as root).");
        // 1970 and 2200, outside FAT's years; a time between two of FAT's
        // two seconds.
        const auto skrivAlla = [&](const QByteArray& vad) {
            for (const auto& [namn, tid] :
                 {std::pair{"a.txt", time_t(0)}, std::pair{"b.txt", time_t(7258118400)},
                  std::pair{"c.txt", time_t(1767225600)}, std::pair{"d.txt", time_t(1767225601)}})
                skriv(kalla + u'/' + QLatin1String(namn), vad + ' ' + namn, tid, tid % 2 ? 123456789 : 0);
        };
        skrivAlla("gammal");
        Mappkopia::Uppdrag u;
        u.kalla = kalla;
        u.mal = sticka + QStringLiteral("/Cup");
        QCOMPARE(Mappkopia::kopiera(u).fel, 0);
        QVERIFY(minne.monteraOm());
        const QStringList fore = innehall(u.mal);
        skrivAlla("ny");
        {
            Anropsvakt vakt;
            vakt.fore = [&](QString a) {
                if (a.remove(sticka + u'/') == stopp)
                    throw Stopp{};
            };
            QVERIFY_THROWS_EXCEPTION(Stopp, Mappkopia::kopiera(u));
        }
        QVERIFY(minne.monteraOm());
        QCOMPARE(Mappkopia::angraAvbruten(u.mal, Mappkopia::Avbrott(satt)).fel, 0);
        QCOMPARE(innehall(u.mal),
                 Mappkopia::Avbrott(satt) == Mappkopia::Avbrott::Avsluta ? innehall(kalla) : fore);
    }

    // A FAT stick keeps a modification time to two seconds and only between
    // 1980 and 2107; a Linux disk keeps what it is given. A copy cut off after
    // its moves, the stick mounted again (its times as FAT holds them), is
    // ended; on a Linux disk the same change of times is no state the copy
    // left, and a time outside FAT's years is kept as it was.
    void tiderEfterFilsystemet_data() {
        QTest::addColumn<bool>("fat");
        QTest::newRow("vfat") << true;
        QTest::newRow("ext4") << false;
    }
    void tiderEfterFilsystemet() {
        QFETCH(bool, fat);
        QTemporaryDir d;
        const QString sticka = d.filePath(QStringLiteral("Sticka")),
                      kalla = d.filePath(QStringLiteral("Cup"));
        QVERIFY(QDir().mkpath(sticka));
        std::optional<Ersattningsmontering> ersattning;
        if (fat) {
            struct stat st {};
            QVERIFY(::stat(QFile::encodeName(sticka).constData(), &st) == 0);
            ersattning.emplace(MSDOS_SUPER_MAGIC, "22 1 8:1 / / rw,relatime - ext4 /dev/sda1 rw\n36 22 " +
                                                      QByteArray::number(major(st.st_dev)) + ':' +
                                                      QByteArray::number(minor(st.st_dev)) + " / " +
                                                      QFile::encodeName(sticka) +
                                                      " rw,relatime - vfat /dev/sdb1 rw\n");
        }
        const auto skrivAlla = [&](const QByteArray& vad) {
            skriv(kalla + QStringLiteral("/a.txt"), vad, 0);
            skriv(kalla + QStringLiteral("/c.txt"), vad, 1767225601, 123456789);
        };
        skrivAlla("gammal");
        Mappkopia::Uppdrag u;
        u.kalla = kalla;
        u.mal = sticka + QStringLiteral("/Cup");
        QCOMPARE(Mappkopia::kopiera(u).fel, 0);
        struct stat a {};
        QCOMPARE(::stat(QFile::encodeName(u.mal + QStringLiteral("/a.txt")).constData(), &a), 0);
        QCOMPARE(qint64(a.st_mtim.tv_sec), fat ? qint64(315'619'200) : 0);
        skrivAlla("ny");
        {
            Anropsvakt vakt;
            vakt.fore = [&](QString anrop) {
                if (anrop.remove(sticka + u'/') == u"unlink .Cup.kopiering")
                    throw Stopp{};
            };
            QVERIFY_THROWS_EXCEPTION(Stopp, Mappkopia::kopiera(u));
        }
        // Mounted again: what was moved in shows FAT's even seconds.
        for (const QString& fil : {QStringLiteral("/a.txt"), QStringLiteral("/c.txt")}) {
            struct stat st {};
            const QByteArray sokvag = QFile::encodeName(u.mal + fil);
            QCOMPARE(::stat(sokvag.constData(), &st), 0);
            const struct timespec tider[2] = {{st.st_mtim.tv_sec & ~time_t(1), 0},
                                              {st.st_mtim.tv_sec & ~time_t(1), 0}};
            QCOMPARE(utimensat(AT_FDCWD, sokvag.constData(), tider, 0), 0);
        }
        QCOMPARE(Mappkopia::angraAvbruten(u.mal, Mappkopia::Avbrott::Avsluta).fel,
                 fat ? 0 : Mappkopia::Otillforlitlig);
    }

    // A stick without links holding the competition and its backup: a copy
    // aside of each file replaced takes room until the new one takes its
    // place. The copy counts that before it writes anything: it is made once
    // the backup has gone when that makes room enough, and refused at once,
    // with its figures and the backup kept, when not even that does.
    void platsPaMinnetUtanLankar_data() {
        QTest::addColumn<int>("procent"); // the competition's one big file, of the empty stick's room
        QTest::addColumn<bool>("ryms");   // once the backup has gone
        QTest::newRow("ryms utan säkerhetskopian") << 29 << true;
        QTest::newRow("ryms inte ens utan den") << 36 << false;
    }
    void platsPaMinnetUtanLankar() {
        QFETCH(int, procent);
        QFETCH(bool, ryms);
        QTemporaryDir d;
        const QString sticka = d.filePath(QStringLiteral("Sticka")),
                      kalla = d.filePath(QStringLiteral("Cup"));
        QVERIFY(QDir().mkpath(sticka));
        Exfatminne minne(d.filePath(QStringLiteral("minne.img")), sticka);
        if (!minne.monterad())
            QSKIP(
                "No exFAT image could be mounted here (mkfs.exfat, losetup and mount.exfat-fuse, as root).");
        const qint64 x = QStorageInfo(sticka).bytesFree() * procent / 100;
        // The stick holds the competition and the backup of the copy before.
        const QString bak = sticka + QStringLiteral("/Cup.bak");
        skriv(bak + QStringLiteral("/stor.bin"), QByteArray(x, 'a'), 1767225600);
        markeraSomSakerhetskopia(bak);
        skriv(sticka + QStringLiteral("/Cup/stor.bin"), QByteArray(x, 'b'), 1767225602);
        skriv(kalla + QStringLiteral("/stor.bin"), QByteArray(x, 'c'), 1767225604);
        const QStringList fore = innehall(sticka);
        const qint64 ledigt = QStorageInfo(sticka).bytesFree();
        // The new file fits beside the two there, but not its copy aside too.
        QVERIFY(ledigt < 2 * x);
        QCOMPARE(ledigt + x >= 2 * x + (qint64(512) << 10), ryms);
        Mappkopia::Uppdrag u;
        u.kalla = kalla;
        u.mal = sticka + QStringLiteral("/Cup");
        const Mappkopia::Utfall svar = Mappkopia::kopiera(u);
        if (ryms) {
            QCOMPARE(svar.fel, 0);
            QCOMPARE(innehall(u.mal), innehall(kalla));
            QVERIFY(innehall(bak).contains(QStringLiteral("stor.bin=") + QString(x, QLatin1Char('b'))));
            return;
        }
        QCOMPARE(svar.fel, ENOSPC);
        QVERIFY(svar.behov >= 2 * x && svar.ledigt == ledigt);
        QCOMPARE(innehall(sticka), fore);
        QVERIFY(!Mappkopia::avbruten(u.mal));
    }
};

QTEST_MAIN(TestMalfilsystem)
#include "test_malfilsystem.moc"
