#include "platform/Filnamn.h"
#include "support/Testfixtur.h"
#include "transfer/Tavlingsoverforing.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
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
// has no exFAT of its own.
class Exfatminne {
public:
    Exfatminne(const QString& bild, const QString& mapp) : m_mapp(mapp) {
        QFile f(bild);
        if (!f.open(QIODevice::WriteOnly) || !f.resize(8 << 20) || !kor(QStringLiteral("mkfs.exfat"), {bild}))
            return;
        m_enhet = kor(QStringLiteral("losetup"), {QStringLiteral("-f"), QStringLiteral("--show"), bild});
        m_monterad = m_enhet && kor(QStringLiteral("mount.exfat-fuse"), {*m_enhet, mapp});
    }
    ~Exfatminne() {
        if (m_monterad)
            kor(QStringLiteral("umount"), {m_mapp});
        if (m_enhet)
            kor(QStringLiteral("losetup"), {QStringLiteral("-d"), *m_enhet});
    }
    bool monterad() const { return m_monterad; }

private:
    QString m_mapp;
    std::optional<QString> m_enhet;
    bool m_monterad = false;
};

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
};

QTEST_MAIN(TestMalfilsystem)
#include "test_malfilsystem.moc"
