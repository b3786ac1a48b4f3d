#include "platform/Filnamn.h"

#include <QTest>
#include <linux/magic.h>

// The names a FAT or exFAT stick cannot hold, and which file systems are held
// to those rules: told by the kernel's word alone, nothing mounted.
class TestFilnamn : public QObject {
    Q_OBJECT

    static constexpr quint32 Fuse = 0x65735546;

private slots:
    // Every character and name Windows refuses, on FAT; Linux refuses only "/".
    void namnPaFat_data() {
        QTest::addColumn<QString>("namn");
        QTest::addColumn<QString>("fat");
        QTest::addColumn<QString>("linux");
        const auto rad = [](const QString& namn, const QString& fat, const QString& linux = {}) {
            QTest::addRow("%s", qPrintable(namn.toUtf8().toPercentEncoding(" ."))) << namn << fat << linux;
        };
        for (const QChar c : QStringLiteral("\"*:<>?\\|"))
            rad(QStringLiteral("a%1b").arg(c),
                QStringLiteral("tecknet \"%1\" kan inte användas i ett namn").arg(c));
        rad(QStringLiteral("a/b"), QStringLiteral("tecknet \"/\" kan inte användas i ett namn"),
            QStringLiteral("tecknet \"/\" kan inte användas i ett namn"));
        for (char16_t c = 1; c < 32; ++c)
            rad(QStringLiteral("a") + QChar(c), QStringLiteral("namnet innehåller ett styrtecken"));
        for (const char* slut : {"Lista.", "Lista ", "Lista.xlsx.", "Lista.xlsx "})
            rad(QString::fromLatin1(slut),
                QStringLiteral("ett namn kan inte sluta med punkt eller blanksteg"));
        QStringList reserverade = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                   QStringLiteral("NUL")};
        for (const QChar siffra : QStringLiteral("0123456789¹²³"))
            reserverade << QStringLiteral("COM") + siffra << QStringLiteral("LPT") + siffra;
        for (const QString& r : reserverade) {
            const QString fel = QStringLiteral("\"%1\" är ett reserverat namn på ett USB-minne");
            rad(r, fel.arg(r));
            rad(r.toLower() + QStringLiteral(".xlsx"), fel.arg(r.toLower()));
            rad(r + QStringLiteral(".tar.gz"), fel.arg(r));
        }
        for (const char* fritt : {"COM10", "CONSOLE", "LPT", "Aux-lista.xlsx", "Åsa Öberg.xlsx"})
            rad(QString::fromUtf8(fritt), {});
    }
    void namnPaFat() {
        QFETCH(QString, namn);
        QFETCH(QString, fat);
        QFETCH(QString, linux);
        QCOMPARE(namnfel(namn, Filsystem::Fat), fat);
        QCOMPARE(namnfel(namn, Filsystem::Linux), linux);
    }

    // The kernel's vfat, msdos and exFAT by their magic numbers; a FUSE mount
    // by its type and device, and one this machine's mount table lacks as FAT.
    void filsystemet_data() {
        QTest::addColumn<quint32>("magi");
        QTest::addColumn<bool>("monterad");
        QTest::addColumn<QByteArray>("typ");
        QTest::addColumn<QByteArray>("sektor");
        QTest::addColumn<bool>("fat");
        QByteArray exfat(512, '\0');
        exfat.replace(3, 8, "EXFAT   ");
        QTest::newRow("vfat, msdos") << quint32(MSDOS_SUPER_MAGIC) << false << QByteArray() << QByteArray()
                                     << true;
        QTest::newRow("exFAT") << quint32(EXFAT_SUPER_MAGIC) << false << QByteArray() << QByteArray() << true;
        QTest::newRow("ext4") << quint32(EXT4_SUPER_MAGIC) << true << QByteArray("ext4") << QByteArray()
                              << false;
        QTest::newRow("tmpfs") << quint32(TMPFS_MAGIC) << false << QByteArray() << QByteArray() << false;
        QTest::newRow("FUSE utan montering") << Fuse << false << QByteArray() << QByteArray() << true;
        QTest::newRow("FUSE exFAT") << Fuse << true << QByteArray("fuseblk") << exfat << true;
        QTest::newRow("FUSE sshfs") << Fuse << true << QByteArray("fuse.sshfs") << QByteArray() << false;
    }
    void filsystemet() {
        QFETCH(quint32, magi);
        QFETCH(bool, monterad);
        QFETCH(QByteArray, typ);
        QFETCH(QByteArray, sektor);
        QFETCH(bool, fat);
        QCOMPARE(filsystemAv(magi, monterad ? std::optional<QByteArray>(typ) : std::nullopt, sektor),
                 fat ? Filsystem::Fat : Filsystem::Linux);
    }
};

QTEST_GUILESS_MAIN(TestFilnamn)
#include "test_filnamn.moc"
