#include "platform/Databas.h"
#include "platform/folder_copy/Mappkopia.h"
#include "shell/Tavling.h"
#include "support/Anropsvakt.h"
#include "support/Dodsbarn.h"
#include "support/HetJournal.h"
#include "support/Loggbild.h"
#include "support/Pipvakt.h"
#include "support/Testfixtur.h"
#include "support/VanligAnvandare.h"
#include "transfer/Tavlingsoverforing.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sched.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using Overforing::Kontroll;
using Overforing::kontrollera;
using Overforing::kopieraTavlingsmapp;
using Overforing::Riktning;
using namespace Qt::StringLiterals;

namespace {

const char* const BarnKopiera = "--kopiera";                       // destination source file-size limit
const char* const BarnKopieraTillsDodad = "--kopiera-tills-dodad"; // destination source source
const char* const BarnLas = "--hall-las";                          // folder name
const char* const BarnSkriv = "--skriv-tills-dodad";               // database
const char* const BarnDodaVid = "--kopiera-doda-vid";              // target source entry
const char* const BarnUtanMetadata = "--kopiera-utan-metadata";    // error destination source
const char* const BarnLitenDisk = "--liten-disk";                  // folder size test-function
const char* const BarnDodaVidAnrop = "--doda-vid-anrop";           // call destination source

const QString Full = QStringLiteral("Disketten är full!");
const QString Skrivskyddad = QStringLiteral("Disketten är skrivskyddad!");
// The shooters a competition was made with (row 1 is the one every competition has).
const QString Skyttar = QStringLiteral("Skyttar WHERE Löpnummer <> 1");

void skriv(const QString& fil, const QByteArray& innehall) {
    QDir().mkpath(QFileInfo(fil).path());
    QFile f(fil);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(innehall);
}

QByteArray las(const QString& fil) {
    QFile f(fil);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every entry below a folder, hidden ones too: a file as its content's hash
// and modification time, a folder as its name.
QMap<QString, QString> bild(const QString& mapp) {
    QMap<QString, QString> b;
    QDirIterator it(mapp, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo fi(it.next());
        b.insert(QDir(mapp).relativeFilePath(fi.filePath()),
                 fi.isDir()
                     ? QStringLiteral("mapp")
                     : QString::fromLatin1(
                           QCryptographicHash::hash(las(fi.filePath()), QCryptographicHash::Md5).toHex()) +
                           QLatin1Char(' ') + QString::number(fi.lastModified().toMSecsSinceEpoch()));
    }
    return b;
}

QStringList poster(const QString& mapp) {
    return bild(mapp).keys();
}

// A list written as one string, its items parted by spaces.
QStringList lista(const char* poster) {
    return QString::fromUtf8(poster).split(QLatin1Char(' '));
}

int antal(const QString& databas, const QString& tabell) {
    Databas db;
    db.Open(databas);
    if (db.varde(QStringLiteral("PRAGMA integrity_check")).toString() != QLatin1String("ok"))
        return -1;
    return db.varde(QStringLiteral("SELECT COUNT(*) FROM ") + tabell).toInt();
}

// A child of this program, waited for until it has begun its work (holds a
// lock, writes) or has ended; what it wrote meanwhile is kept.
struct Barn {
    QProcess p;
    QByteArray ut;
    explicit Barn(const QStringList& args) {
        p.start(QCoreApplication::applicationFilePath(), args);
        p.waitForStarted(10000);
        while (!(ut += p.readAllStandardOutput()).contains("start") && p.waitForReadyRead(60000)) {
        }
        ut += p.readAllStandardOutput();
    }
    ~Barn() {
        p.kill();
        p.waitForFinished(10000);
    }
};

// A copy into the target folder mal killed before it changes the entry rel:
// the database and its journal of an older competition there moved aside
// and the new database moved in, when rel is "Cup.ini".
void dodaKopiaVid(const QString& mal, const QString& kalla, const char* rel) {
    QProcess barn;
    barn.start(QCoreApplication::applicationFilePath(),
               {QString::fromLatin1(BarnDodaVid), mal, kalla, QString::fromUtf8(rel)});
    QVERIFY(barn.waitForFinished(60000));
    QCOMPARE(barn.exitStatus(), QProcess::CrashExit);
}

// A file system too small for much: the test function runs again in a child
// that has a tmpfs of the given size at a folder of its own (named in
// PILKRONA_LITEN_DISK), and the child's result is the test's. False in the child.
bool iLitenDisk(const char* testfunktion, const char* storlek) {
    if (qEnvironmentVariableIsSet("PILKRONA_LITEN_DISK"))
        return false;
    QTemporaryDir mapp;
    QProcess barn;
    barn.setProcessChannelMode(QProcess::MergedChannels);
    barn.start(QCoreApplication::applicationFilePath(),
               {QString::fromLatin1(BarnLitenDisk), mapp.path(), QString::fromLatin1(storlek),
                QString::fromLatin1(testfunktion)});
    const bool klar = barn.waitForFinished(120000);
    const QByteArray ut = barn.readAll();
    if (!klar || barn.exitStatus() != QProcess::NormalExit || barn.exitCode() != 0)
        QTest::qFail(qPrintable("the run on a small file system failed:\n"_L1 + QString::fromLocal8Bit(ut)),
                     __FILE__, __LINE__);
    return true;
}

// A copy in a child process under a file-size limit; the text it returned.
QString kopieraIBarn(const QString& destination, const QString& kalla, qint64 grans) {
    return QString::fromUtf8(
        Barn({QString::fromLatin1(BarnKopiera), destination, kalla, QString::number(grans)}).ut);
}

} // namespace

class TestKopiering : public QObject {
    Q_OBJECT

    // The open competition Cup with a list, a write-protected file and, beside
    // them, what a copy leaves out; its times lie in the past.
    static QString kalla(Testfixtur& f, int skyttar = 12) {
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 10, 2, skyttar);
        const QString mapp = f.tavlingsmapp() + QStringLiteral("/Cup");
        skriv(mapp + QStringLiteral("/Utskrifter/Lista.xlsx"), "lista");
        skriv(mapp + QStringLiteral("/Las.txt"), "skyddad");
        QFile::setPermissions(mapp + QStringLiteral("/Las.txt"), QFile::ReadOwner);
        for (const char* namn :
             {".~lock.Lista.xlsx#", "~$Lista.xlsx", "Utskrifter/.Lista.xlsx.pilkrona-Ab12Cd", ".Cup.ini.ny",
              ".Cup.air.ny", "Gammal.air-journal", ".Cup.lock.rmlock"})
            skriv(mapp + QLatin1Char('/') + QLatin1String(namn), "utelämnas");
        const QDateTime forr = QDateTime::currentDateTime().addDays(-3);
        for (const char* namn : {"Cup.ini", "Utskrifter/Lista.xlsx", "Las.txt"}) {
            QFile fil(mapp + QLatin1Char('/') + QLatin1String(namn));
            fil.open(QIODevice::ReadOnly);
            fil.setFileTime(forr, QFileDevice::FileModificationTime);
        }
        const struct timespec tider[2] = {{forr.toSecsSinceEpoch(), 0}, {forr.toSecsSinceEpoch(), 0}};
        utimensat(AT_FDCWD, QFile::encodeName(mapp + QStringLiteral("/Utskrifter")).constData(), tider, 0);
        return mapp;
    }

    // An older Cup in the destination: a database with a hot journal, an INI,
    // files the source does not have, and the backup of an earlier copy, with
    // the program's mark in it.
    static void gammaltMal(const QString& destination) {
        databasMedHetJournal(destination + QStringLiteral("/Cup/Cup.air"));
        for (const auto& [namn, innehall] :
             {std::pair{"Cup/Cup.ini", "gammal"}, std::pair{"Cup/Annat.txt", "annat"},
              std::pair{"Cup/Utskrifter/Gammal.xlsx", "gammal lista"},
              std::pair{"Cup/Utskrifter/Lista.xlsx", "gammal"}, std::pair{"Cup.bak/Annat.txt", "förra"}})
            skriv(destination + QLatin1Char('/') + QString::fromUtf8(namn), innehall);
        markeraSomSakerhetskopia(destination + QStringLiteral("/Cup.bak"));
    }

private slots:
    void feltexter_data() {
        QTest::addColumn<int>("fel");
        QTest::addColumn<QString>("text");
        for (int fel : {ENOSPC, EDQUOT, EFBIG})
            QTest::addRow("full %d", fel) << fel << Full;
        for (int fel : {EACCES, EPERM, EROFS})
            QTest::addRow("skrivskyddad %d", fel) << fel << Skrivskyddad;
        QTest::newRow("saknas") << ENOENT << QStringLiteral("2 Filen eller mappen finns inte");
        QTest::newRow("io") << EIO << QStringLiteral("5 In- eller utmatningsfel");
        QTest::newRow("borta") << ENODEV << QStringLiteral("19 Enheten finns inte");
        QTest::newRow("ingen adress") << ENXIO << QStringLiteral("6 Enheten eller adressen finns inte");
        QTest::newRow("bruten") << ENOTCONN << QStringLiteral("107 Förbindelsen med enheten är bruten");
        QTest::newRow("saknas i filsystemet")
            << ENOSYS << QStringLiteral("38 Funktionen finns inte i filsystemet");
        QTest::newRow("stöds inte") << EOPNOTSUPP << QStringLiteral("95 Åtgärden stöds inte av filsystemet");
        QTest::newRow("okänt") << 9999 << QStringLiteral("9999 Okänt systemfel");
        QTest::newRow("utan nummer") << 0 << QStringLiteral("5 In- eller utmatningsfel");
    }
    void feltexter() {
        QFETCH(int, fel);
        QFETCH(QString, text);
        QCOMPARE(Overforing::kopieringsfeltext(fel), text);
    }

    // Into a new folder: everything of the competition, nothing of the program
    // that has it open, times kept, every file the owner's to write.
    void nyKopia() {
        Testfixtur f;
        const QString mapp = kalla(f);
        // Links could lead anywhere; the program makes none.
        QFile::link(QStringLiteral("/etc/passwd"), mapp + QStringLiteral("/abs"));
        QFile::link(QStringLiteral(".."), mapp + QStringLiteral("/Utskrifter/upp"));
        // As from a CD: nothing of it may be written.
        QFile::setPermissions(mapp + QStringLiteral("/Cup.air"), QFile::ReadOwner | QFile::ReadGroup);
        QFile::setPermissions(mapp + QStringLiteral("/Utskrifter"), QFile::ReadOwner | QFile::ExeOwner);
        QTemporaryDir destination;
        const Overforing::Kopieringsutfall u =
            kopieraTavlingsmapp(destination.path() + QLatin1Char('/'), mapp);
        QCOMPARE(u.feltext, QString());
        const QString mal = destination.filePath(QStringLiteral("Cup"));
        QCOMPARE(poster(destination.path()),
                 lista("Cup Cup/Cup.air Cup/Cup.ini Cup/Las.txt Cup/Utskrifter Cup/Utskrifter/Lista.xlsx"));
        QCOMPARE(antal(mal + QStringLiteral("/Cup.air"), Skyttar), 12);
        const QMap<QString, QString> fore = bild(mapp);
        for (const char* namn : {"Cup.ini", "Utskrifter/Lista.xlsx", "Las.txt"})
            QCOMPARE(bild(mal).value(QLatin1String(namn)), fore.value(QLatin1String(namn)));
        for (const char* namn : {"/Cup.air", "/Utskrifter"})
            QCOMPARE(QFileInfo(mal + QLatin1String(namn)).lastModified(),
                     QFileInfo(mapp + QLatin1String(namn)).lastModified());
        for (const char* namn : {"Las.txt", "Cup.air", "Utskrifter"})
            QVERIFY(QFileInfo(mal + QLatin1Char('/') + QLatin1String(namn)).permissions() &
                    QFile::WriteOwner);
        QFile::setPermissions(mapp + QStringLiteral("/Utskrifter"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // The source is untouched and still open.
        QCOMPARE(f.g.cnnTavling.varde(QStringLiteral("SELECT COUNT(*) FROM ") + Skyttar).toInt(), 12);
        QVERIFY(QFileInfo::exists(mapp + QStringLiteral("/.Cup.lock")));
    }

    // Over an older copy: same names replaced, others kept, the replaced ones
    // (the database with its journal) in the backup, which replaces the last.
    void ersattMedSakerhetskopia() {
        Testfixtur f;
        const QString mapp = kalla(f);
        QTemporaryDir destination;
        gammaltMal(destination.path());
        QCOMPARE(kopieraTavlingsmapp(destination.path() + QLatin1Char('/'), mapp).feltext, QString());
        const QString mal = destination.filePath(QStringLiteral("Cup/"));
        const QString bak = destination.filePath(QStringLiteral("Cup.bak/"));
        QCOMPARE(poster(destination.path()),
                 lista("Cup Cup.bak Cup.bak/.pilkrona-sakerhetskopia Cup.bak/Cup.air Cup.bak/Cup.air-journal "
                       "Cup.bak/Cup.ini Cup.bak/Utskrifter "
                       "Cup.bak/Utskrifter/Lista.xlsx Cup/Annat.txt Cup/Cup.air Cup/Cup.ini Cup/Las.txt "
                       "Cup/Utskrifter Cup/Utskrifter/Gammal.xlsx Cup/Utskrifter/Lista.xlsx"));
        QCOMPARE(antal(mal + QStringLiteral("Cup.air"), Skyttar), 12);
        QCOMPARE(las(mal + QStringLiteral("Cup.ini")), las(mapp + QStringLiteral("/Cup.ini")));
        QCOMPARE(las(mal + QStringLiteral("Utskrifter/Lista.xlsx")), QByteArray("lista"));
        QCOMPARE(las(bak + QStringLiteral("Cup.ini")), QByteArray("gammal"));
        QCOMPARE(las(bak + QStringLiteral("Utskrifter/Lista.xlsx")), QByteArray("gammal"));
        // The old database is whole in the backup: its journal went with it.
        QCOMPARE(antal(bak + QStringLiteral("Cup.air"), QStringLiteral("Prov")), 500);
        QCOMPARE(antal(bak + QStringLiteral("Cup.air"), QStringLiteral("Prov WHERE x LIKE 'ändrad%'")), 0);
    }

    // A copy that cannot be made leaves the target as it was.
    void misslyckadKopiaLamnarMalet_data() {
        QTest::addColumn<QString>("hinder");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("sokvagsfel");
        QTest::newRow("skrivskyddad fil") << QStringLiteral("fil") << Skrivskyddad << false;
        QTest::newRow("öppen i kalkylprogram") << QStringLiteral("kalkyl") << Skrivskyddad << false;
        QTest::newRow("skrivskyddad undermapp") << QStringLiteral("undermapp") << Skrivskyddad << false;
        QTest::newRow("filstorleksgräns") << QStringLiteral("storlek") << Full << false;
        QTest::newRow("filstorleksgräns, tom destination") << QStringLiteral("tom") << Full << false;
        // SQLite gives no error number for a damaged file.
        QTest::newRow("skadad databas")
            << QStringLiteral("skadad") << QStringLiteral("5 In- eller utmatningsfel") << false;
        QTest::newRow("öppen i annat program")
            << QStringLiteral("las") << QStringLiteral("Tävlingen Cup är redan öppen i ") << true;
        QTest::newRow("en annan kopiering dit")
            << QStringLiteral("kopierar") << QStringLiteral("En annan kopiering till $M pågår redan") << true;
        QTest::newRow("en annan kopiering till ett nytt mål")
            << QStringLiteral("tom kopierar") << QStringLiteral("En annan kopiering till $M pågår redan")
            << true;
        // The copy leaves links and pipes out: without its database it would
        // still say it is done. $K is the source, $M the target.
        QTest::newRow("källans databas är en länk")
            << QStringLiteral("kallank")
            << QStringLiteral("Databasfilen \"$K/Cup.air\" är en symbolisk länk, ingen vanlig fil.") << true;
        QTest::newRow("källans databas är en pipe")
            << QStringLiteral("kallpipa")
            << QStringLiteral("Databasfilen \"$K/Cup.air\" är en namngiven pipe (FIFO), ingen vanlig fil,")
            << true;
        for (const auto& [rad, hinder, slag] :
             {std::tuple{"källans inställningar är en länk", "inilank", "en symbolisk länk"},
              std::tuple{"källans inställningar är en pipe", "inipipa", "en namngiven pipe (FIFO)"},
              std::tuple{"källans inställningar är en mapp", "inimapp", "en mapp"}})
            QTest::newRow(rad) << QString::fromLatin1(hinder)
                               << QStringLiteral(
                                      "Tävlingens inställningsfil \"$K/Cup.ini\" är %1, ingen vanlig "
                                      "fil, och följer inte med när tävlingen kopieras.")
                                      .arg(QString::fromUtf8(slag))
                               << true;
        // Looked at by the copy itself as it reads the source: any settings
        // file beside the databases, not only the one a check asks about.
        QTest::newRow("en annan inställningsfil är en pipe")
            << QStringLiteral("annanpipa")
            << QStringLiteral("Kopieringen gjordes inte: $K/Annan.ini är ingen vanlig fil.") << true;
        QTest::newRow("målet är en länk")
            << QStringLiteral("mallank")
            << QStringLiteral(
                   "$M är en symbolisk länk, ingen mapp. Kopieringen skriver aldrig genom en länk: ta "
                   "bort länken eller välj en annan plats och försök igen.")
            << true;
    }
    void misslyckadKopiaLamnarMalet() {
        QFETCH(QString, hinder);
        QFETCH(QString, text);
        QFETCH(bool, sokvagsfel);
        // Root writes into a write-protected folder all the same.
        if (hinder == QLatin1String("undermapp") &&
            korSomVanligAnvandare(qPrintable(QStringLiteral("misslyckadKopiaLamnarMalet:") +
                                             QString::fromUtf8(QTest::currentDataTag()))))
            return;
        Testfixtur f;
        const QString mapp = kalla(f, 200);
        QTemporaryDir destination;
        if (!hinder.startsWith(QLatin1String("tom")) && hinder != QLatin1String("mallank"))
            gammaltMal(destination.path());
        const QString mal = destination.filePath(QStringLiteral("Cup"));
        text.replace(QLatin1String("$K"), mapp).replace(QLatin1String("$M"), mal);
        if (hinder == QLatin1String("kallank") || hinder == QLatin1String("kallpipa"))
            QVERIFY(QFile::remove(mapp + QStringLiteral("/Cup.air")) &&
                    laggPost(mapp + QStringLiteral("/Cup.air"),
                             hinder == QLatin1String("kallank") ? Filslag::Lank : Filslag::Pipe,
                             f.t.fil(QStringLiteral("Pilkrona.mdb"))));
        if (hinder.startsWith(QLatin1String("ini")))
            QVERIFY(QFile::remove(mapp + QStringLiteral("/Cup.ini")) &&
                    laggPost(mapp + QStringLiteral("/Cup.ini"),
                             hinder == QLatin1String("inilank")   ? Filslag::Lank
                             : hinder == QLatin1String("inipipa") ? Filslag::Pipe
                                                                  : Filslag::Mapp,
                             destination.filePath(QStringLiteral("Cup/Cup.ini"))));
        if (hinder == QLatin1String("annanpipa"))
            QVERIFY(laggPost(mapp + QStringLiteral("/Annan.ini"), Filslag::Pipe, {}));
        if (hinder == QLatin1String("mallank")) {
            skriv(destination.filePath(QStringLiteral("Annan/Annat.txt")), "annat");
            QVERIFY(laggPost(mal, Filslag::Lank, destination.filePath(QStringLiteral("Annan"))));
        }
        Pipvakt vakt({mapp + QStringLiteral("/Cup.air"), mapp + QStringLiteral("/Cup.ini")});
        std::unique_ptr<Barn> lasare;
        if (hinder == QLatin1String("fil"))
            QFile::setPermissions(mal + QStringLiteral("/Cup.ini"), QFile::ReadOwner | QFile::ReadGroup);
        else if (hinder == QLatin1String("kalkyl"))
            skriv(mal + QStringLiteral("/Utskrifter/.~lock.Lista.xlsx#"),
                  "Anna Berg,anna,annan-dator,07.12.2026 10:00,file:///home/anna/.config/libreoffice/4;");
        else if (hinder == QLatin1String("undermapp"))
            QFile::setPermissions(mal + QStringLiteral("/Utskrifter"), QFile::ReadOwner | QFile::ExeOwner);
        else if (hinder == QLatin1String("skadad"))
            skriv(mapp + QStringLiteral("/Utskrifter/Skadad.air"),
                  QByteArray("SQLite format 3\0", 16) + QByteArray(8192, '\x7f'));
        else if (hinder == QLatin1String("las"))
            lasare =
                std::make_unique<Barn>(QStringList{QString::fromLatin1(BarnLas), mal, QStringLiteral("Cup")});
        else if (hinder.endsWith(QLatin1String("kopierar")))
            lasare = std::make_unique<Barn>(
                QStringList{QString::fromLatin1(BarnLas), destination.path(), QStringLiteral("Cup.kopia")});
        const QMap<QString, QString> fore = bild(destination.path());

        Overforing::Kopieringsutfall u;
        if (hinder == QLatin1String("storlek") || hinder == QLatin1String("tom"))
            u.feltext = kopieraIBarn(destination.path() + QLatin1Char('/'), mapp,
                                     QFileInfo(mapp + QStringLiteral("/Cup.air")).size() - 4096);
        else
            u = kopieraTavlingsmapp(destination.path() + QLatin1Char('/'), mapp);
        QCOMPARE(vakt.stoppa(), 0);
        QVERIFY2(u.feltext.startsWith(text), qPrintable(u.feltext));
        QCOMPARE(u.sokvagsfel, sokvagsfel);
        QCOMPARE(bild(destination.path()), fore);
        QFile::setPermissions(mal + QStringLiteral("/Utskrifter"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A lock this program took and could not remove (its medium went away)
    // does not keep it out.
    void egetKvarlamnatLas() {
        Testfixtur f;
        const QString mapp = kalla(f);
        QTemporaryDir destination;
        const QString lasfil = Tavling::lasfil(destination.filePath(u"Cup"_s), u"Cup"_s);
        QVERIFY(QDir().mkpath(destination.filePath(u"Cup"_s)));
        QByteArray innehall;
        {
            QLockFile l(lasfil);
            QVERIFY(l.tryLock(0));
            innehall = las(lasfil);
        }
        skriv(lasfil, innehall);
        QCOMPARE(kopieraTavlingsmapp(destination.path() + u'/', mapp).feltext, QString());
        QVERIFY(!QFileInfo::exists(lasfil));
    }

    // A target that cannot hold a file's mode or times (a FAT stick through
    // FUSE) still gets the copy.
    void metadataSomInteKanHallas_data() {
        QTest::addColumn<int>("fel");
        QTest::newRow("ENOSYS") << ENOSYS;
        QTest::newRow("EOPNOTSUPP") << EOPNOTSUPP;
        QTest::newRow("EPERM") << EPERM;
    }
    void metadataSomInteKanHallas() {
        QFETCH(int, fel);
        Testfixtur f;
        const QString mapp = kalla(f);
        QTemporaryDir destination;
        QCOMPARE(QString::fromUtf8(Barn({QString::fromLatin1(BarnUtanMetadata), QString::number(fel),
                                         destination.path() + u'/', mapp})
                                       .ut),
                 QString());
        QCOMPARE(antal(destination.filePath(u"Cup/Cup.air"_s), Skyttar), 12);
        QCOMPARE(las(destination.filePath(u"Cup/Utskrifter/Lista.xlsx"_s)), QByteArray("lista"));
    }

    // Room for a copy: the backup it would replace goes first when the medium
    // lacks room for it; a copy that does not fit even so is refused at once.
    void platsForKopian() {
        if (iLitenDisk("platsForKopian", "8m"))
            return;
        const QString sticka = qEnvironmentVariable("PILKRONA_LITEN_DISK") + u'/';
        Testfixtur f;
        const QString mapp = kalla(f);
        skriv(mapp + u"/Utskrifter/Stor.xlsx"_s, QByteArray(2800 * 1024, 'x'));
        // A new copy, one replacing it, one replacing it and its backup.
        for (int i = 0; i < 3; ++i)
            QCOMPARE(kopieraTavlingsmapp(sticka, mapp).feltext, QString());
        QVERIFY(QFileInfo::exists(sticka + u"Cup.bak/Utskrifter/Stor.xlsx"_s));
        skriv(mapp + u"/Utskrifter/Storre.xlsx"_s, QByteArray(2600 * 1024, 'y'));
        const QMap<QString, QString> fore = bild(sticka);
        const QString text = kopieraTavlingsmapp(sticka, mapp).feltext;
        QVERIFY2(text.startsWith(Full + u"\r\nKopian behöver "_s) && text.endsWith(u" MB ledigt."_s),
                 qPrintable(text));
        QCOMPARE(bild(sticka), fore);
    }

    // The backup replaces only a backup of the program's: one with its mark,
    // a plain file, or an empty folder. A competition of its own by that name,
    // a backup whose competition is open in another program, the operator's
    // spare copy of the competition (mode 0700, every file also in Cup), a
    // folder whose mark is a link: each keeps every file, and what the copy
    // replaced goes to the next free name, which it tells. With no name free
    // up to "Cup.bak99" the copy is refused before anything moves.
    void sakerhetskopiaBaraOverEgen_data() {
        QTest::addColumn<QString>("bak");
        QTest::addColumn<QString>("anvand"); // the folder the backup goes to, empty: none
        QTest::newRow("märkt") << QString() << u"Cup.bak"_s;
        QTest::newRow("tom") << u"tom"_s << u"Cup.bak"_s;
        QTest::newRow("egen tävling") << u"tävling"_s << u"Cup.bak2"_s;
        QTest::newRow("öppen i annat program") << u"öppen"_s << u"Cup.bak2"_s;
        QTest::newRow("operatörens kopia") << u"kopia"_s << u"Cup.bak2"_s;
        QTest::newRow("märket en länk") << u"länk"_s << u"Cup.bak2"_s;
        QTest::newRow("märket en länk till en mapp") << u"mapplänk"_s << u"Cup.bak2"_s;
        QTest::newRow("inget namn ledigt") << u"alla"_s << QString();
        // Anything the operator put into it or changed there since makes it
        // theirs; a file taken from it loses nothing of theirs.
        QTest::newRow("en anteckning i den") << u"anteckning"_s << u"Cup.bak2"_s;
        QTest::newRow("en fil ändrad") << u"ändrad"_s << u"Cup.bak2"_s;
        QTest::newRow("en fil borttagen") << u"borttagen"_s << u"Cup.bak"_s;
        QTest::newRow("märket utan innehåll") << u"gammalt märke"_s << u"Cup.bak2"_s;
    }
    void sakerhetskopiaBaraOverEgen() {
        QFETCH(QString, bak);
        QFETCH(QString, anvand);
        Testfixtur f;
        const QString mapp = kalla(f);
        QTemporaryDir destination;
        gammaltMal(destination.path());
        const QString gammal = destination.filePath(u"Cup.bak"_s);
        const QString mark = gammal + u"/.pilkrona-sakerhetskopia"_s;
        std::unique_ptr<Barn> lasare;
        if (bak == u"tom") {
            QVERIFY(QDir(gammal).removeRecursively() && QDir().mkpath(gammal));
        } else if (bak == u"tävling") {
            QFile::remove(mark);
            skriv(gammal + u"/Cup.bak.air"_s, "tävlingen Cup.bak");
        } else if (bak == u"öppen") {
            lasare = std::make_unique<Barn>(QStringList{QString::fromLatin1(BarnLas), gammal, u"Cup"_s});
        } else if (bak == u"kopia" || bak == u"alla") {
            // Copied by hand, as a spare, at the mode a backup of the program has.
            QVERIFY(QDir(gammal).removeRecursively());
            for (const char* fil : {"Cup.air", "Cup.ini", "Utskrifter/Lista.xlsx"})
                skriv(gammal + u'/' + QLatin1String(fil), "reserv");
            QFile::setPermissions(gammal, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            for (int n = 2; bak == u"alla" && n <= 99; ++n)
                skriv(gammal + QString::number(n) + u"/Cup.ini"_s, "reserv");
        } else if (bak == u"länk" || bak == u"mapplänk") {
            QFile::remove(mark);
            QVERIFY(QFile::link(bak == u"länk" ? destination.filePath(u"Cup/Annat.txt"_s) : gammal, mark));
        } else if (bak == u"anteckning") {
            skriv(gammal + u"/Anteckning.txt"_s, "operatörens");
        } else if (bak == u"ändrad") {
            skriv(gammal + u"/Annat.txt"_s, "ändrad av operatören");
        } else if (bak == u"borttagen") {
            QVERIFY(QFile::remove(gammal + u"/Annat.txt"_s));
        } else if (bak == u"gammalt märke") {
            skriv(mark, "Den här mappen är en säkerhetskopia som Pilkrona gjorde vid en kopiering.\n");
        }
        const QMap<QString, QString> fore = bild(destination.path());
        const QMap<QString, QString> foreBak = bild(gammal);
        const Overforing::Kopieringsutfall u = kopieraTavlingsmapp(destination.path() + u'/', mapp);
        if (anvand.isEmpty()) {
            QVERIFY2(u.feltext.contains(QDir::toNativeSeparators(gammal)), qPrintable(u.feltext));
            QCOMPARE(bild(destination.path()), fore);
            return;
        }
        QCOMPARE(u.feltext, QString());
        QCOMPARE(u.sakerhetskopia, anvand == u"Cup.bak" ? QString() : destination.filePath(anvand));
        QCOMPARE(las(destination.filePath(anvand + u"/Cup.ini"_s)), QByteArray("gammal"));
        if (anvand != u"Cup.bak")
            QCOMPARE(bild(gammal), foreBak);
    }

    // What a copy cut off left beside the target or the source, when it
    // cannot be trusted, stops the check and the copy before anything is
    // touched, told as opening tells it.
    void otillforlitligKopiaVagras_data() {
        QTest::addColumn<QString>("var");
        QTest::newRow("målet, kontrollen") << u"kontroll"_s;
        QTest::newRow("målet, kopian") << u"kopia"_s;
        QTest::newRow("källan") << u"källa"_s;
        QTest::newRow("källan, kontrollen") << u"källkontroll"_s;
    }
    void otillforlitligKopiaVagras() {
        QFETCH(QString, var);
        Testfixtur f;
        const QString mapp = kalla(f);
        Tavling::stang(f.g);
        QTemporaryDir destination;
        const QString dest = destination.path() + u'/';
        QCOMPARE(kopieraTavlingsmapp(dest, mapp).feltext, QString());
        const QString mal = var.startsWith(u"käll") ? mapp : destination.filePath(u"Cup"_s);
        const QString bredvid = QFileInfo(mal).path() + u"/.Cup."_s;
        skriv(bredvid + u"kopiering"_s, "mappkopia 1\nN %2F\nklar\n");
        QVERIFY(QDir().mkpath(bredvid + u"kopia"_s));
        const QMap<QString, QString> fore = bild(destination.path()), foreKalla = bild(f.tavlingsmapp());
        const QString text = Tavling::otillforlitligKopia(
            mal, u"Kopieringens logg %1 är inte en logg som programmet skriver."_s.arg(
                     QDir::toNativeSeparators(bredvid + u"kopiering"_s)));
        QVERIFY2(text.contains(QDir::toNativeSeparators(bredvid + u"kopiering"_s)), qPrintable(text));
        if (var.endsWith(u"kontroll")) {
            QVERIFY(!kontrollera(Riktning::Import, mapp + u"/Cup.air"_s, dest, {}, f.g, f.m).ok);
            QCOMPARE(f.m.senasteText(), text);
        } else {
            const Overforing::Kopieringsutfall u = kopieraTavlingsmapp(dest, mapp);
            QCOMPARE(u.feltext, text);
            QVERIFY(u.sokvagsfel);
        }
        QCOMPARE(bild(destination.path()), fore);
        QCOMPARE(bild(f.tavlingsmapp()), foreKalla);
    }

    // A copy into a target not there yet, killed at any of its system calls,
    // leaves the whole target or nothing of it but its staging folder and the
    // lock beside it, which the next copy there takes over and clears away.
    void nyttMalAvbrutet() {
        Testfixtur f;
        const QString mapp = kalla(f);
        for (int anrop = 1;; ++anrop) {
            QTemporaryDir destination;
            const QString dest = destination.path() + u'/';
            QProcess barn;
            barn.start(QCoreApplication::applicationFilePath(),
                       {QString::fromLatin1(BarnDodaVidAnrop), QString::number(anrop), dest, mapp});
            QVERIFY(barn.waitForFinished(60000));
            const auto kvar = [&] {
                return QDir(dest).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                            QDir::Name);
            };
            const QStringList efter = kvar();
            if (barn.exitStatus() == QProcess::NormalExit) {
                QCOMPARE(efter, lista("Cup"));
                QVERIFY(anrop > 5);
                break;
            }
            const QString n = QString::number(anrop);
            for (const QString& namn : efter)
                QVERIFY2(QStringList({u".Cup.kopia"_s, u".Cup.kopia.lock"_s, u"Cup"_s}).contains(namn),
                         qPrintable(n + u' ' + namn));
            if (efter.contains(u"Cup"_s)) {
                QVERIFY2(QFileInfo(dest + u"Cup/Cup.air"_s).isFile(), qPrintable(n));
                QCOMPARE(antal(dest + u"Cup/Cup.air"_s, Skyttar), 12);
            }
            QCOMPARE(kopieraTavlingsmapp(dest, mapp).feltext, QString());
            QCOMPARE(antal(dest + u"Cup/Cup.air"_s, Skyttar), 12);
            QVERIFY2(kvar().filter(QRegularExpression(u"^\\."_s)).isEmpty(), qPrintable(n));
        }
    }

    // A copy cut off once the old database and its hot journal were moved
    // aside, run again, keeps the old database whole in the backup.
    void avbrutenKopiaBeharGamlaDatabasen() {
        Testfixtur f;
        const QString mapp = kalla(f);
        QTemporaryDir destination;
        gammaltMal(destination.path());
        dodaKopiaVid(destination.filePath(u"Cup"_s), mapp, "Cup.ini");
        QCOMPARE(kopieraTavlingsmapp(destination.path() + u'/', mapp).feltext, QString());
        const QString bak = destination.filePath(u"Cup.bak/Cup.air"_s);
        QCOMPARE(antal(bak, u"Prov"_s), 500);
        QCOMPARE(antal(bak, u"Prov WHERE x LIKE 'ändrad%'"_s), 0);
    }

    // The replace question shows no half-replaced competition, and the check
    // moves nothing to show it: a copy cut off into the target is dated as
    // it will stand taken back (this copy replaces it, so its backup keeps
    // what was there before), one cut off into the source as it will stand
    // ended (it is copied as it is to be used).
    void fraganEfterAvbrutenKopia_data() {
        QTest::addColumn<bool>("iKallan");
        QTest::newRow("målet") << false;
        QTest::newRow("källan") << true;
    }
    void fraganEfterAvbrutenKopia() {
        QFETCH(bool, iKallan);
        Testfixtur a;
        const QString mappA = kalla(a, 12);
        {
            QFile fil(mappA + u"/Cup.air"_s);
            QVERIFY(fil.open(QIODevice::ReadWrite));
            QVERIFY(fil.setFileTime(QDateTime(QDate(2020, 1, 2), QTime(3, 4)),
                                    QFileDevice::FileModificationTime));
        }
        Tavling::stang(a.g);
        Testfixtur b;
        const QString mappB = kalla(b, 17);
        {
            QFile fil(mappB + u"/Cup.air"_s);
            QVERIFY(fil.open(QIODevice::ReadWrite));
            QVERIFY(fil.setFileTime(QDateTime(QDate(2021, 5, 6), QTime(7, 8)),
                                    QFileDevice::FileModificationTime));
        }
        Tavling::stang(b.g);
        QTemporaryDir destination;
        QCOMPARE(kopieraTavlingsmapp(destination.path() + u'/', iKallan ? mappB : mappA).feltext, QString());
        // The competition of 12 shooters, dated 2020, gets a copy of the one
        // of 17 cut off into it; the other is asked about.
        const QString avbruten = iKallan ? mappA : destination.filePath(u"Cup"_s);
        const QString fragar = iKallan ? mappA : mappB;
        Testfixtur& f = iKallan ? a : b;
        dodaKopiaVid(avbruten, mappB, "Cup.ini");
        QVERIFY(Mappkopia::avbruten(avbruten));
        const QMap<QString, QString> sidan = bild(QFileInfo(avbruten).path());
        f.m.svara(Meddelanden::Svar::Nej);
        QVERIFY(!kontrollera(iKallan ? Riktning::Export : Riktning::Import, fragar + u"/Cup.air"_s,
                             destination.path(), {}, f.g, f.m)
                     .ok);
        QVERIFY2(f.m.senasteText().contains(iKallan ? u"Mot tävlingen med datum: \r\n2021-05-06 07:08"_s
                                                    : u"datum: \r\n2020-01-02 03:04"_s),
                 qPrintable(f.m.senasteText()));
        // Nothing moved before the answer, and Nej moves nothing.
        QVERIFY(Mappkopia::avbruten(avbruten));
        QCOMPARE(bild(QFileInfo(avbruten).path()), sidan);
    }

    // A source with a copy into it that was cut off is ended before it is
    // read, when nobody has it open: it is copied as it is to be used.
    void kallanTasTillbakaForst() {
        Testfixtur a;
        const QString mappA = kalla(a, 12);
        Tavling::stang(a.g);
        Testfixtur b;
        const QString mappB = kalla(b, 17);
        dodaKopiaVid(mappA, mappB, "Cup.ini");
        QTemporaryDir destination;
        QCOMPARE(kopieraTavlingsmapp(destination.path() + u'/', mappA).feltext, QString());
        QCOMPARE(antal(destination.filePath(u"Cup/Cup.air"_s), Skyttar), 17);
        QVERIFY(!Mappkopia::avbruten(mappA));
    }

    // Opening a competition ends a copy into it that was cut off, the
    // replaced files its backup; one that cannot be sorted out is told, and
    // the competition stays closed.
    void oppningTarTillbakaAvbrutenKopia_data() {
        QTest::addColumn<bool>("skrivskyddad");
        QTest::newRow("tas tillbaka") << false;
        QTest::newRow("skrivskyddad destination") << true;
    }
    void oppningTarTillbakaAvbrutenKopia() {
        QFETCH(bool, skrivskyddad);
        if (skrivskyddad && korSomVanligAnvandare("oppningTarTillbakaAvbrutenKopia:skrivskyddad destination"))
            return;
        Testfixtur a;
        const QString mappA = kalla(a, 12);
        Testfixtur b;
        const QString mappB = kalla(b, 17);
        QTemporaryDir destination;
        QCOMPARE(kopieraTavlingsmapp(destination.path() + u'/', mappA).feltext, QString());
        const QMap<QString, QString> fore = bild(destination.path());
        dodaKopiaVid(destination.filePath(u"Cup"_s), mappB, "Cup.ini");
        if (skrivskyddad)
            QFile::setPermissions(destination.path(), QFile::ReadOwner | QFile::ExeOwner);
        Testfixtur c;
        Tavling::sattSokvagar(c.g, destination.filePath(u"Cup/Cup.air"_s));
        const Tavling::Oppning o = Tavling::OppnaTavling(c.g, c.m, false);
        QFile::setPermissions(destination.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (skrivskyddad) {
            QCOMPARE(o.utfall, Tavling::Utfall::Misslyckad);
            QCOMPARE(c.m.visade.size(), 1);
            QCOMPARE(c.m.visade.back().titel, u"Avbruten kopiering"_s);
            QVERIFY2(c.m.senasteText().startsWith(u"En tidigare kopiering till %1 avbröts och kunde varken "
                                                  "avslutas eller tas tillbaka: 13 Åtkomst nekad."_s.arg(
                                                      destination.filePath(u"Cup"_s))),
                     qPrintable(c.m.senasteText()));
            QVERIFY(!c.g.cnnTavling.IsOpen());
            return;
        }
        QCOMPARE(o.utfall, Tavling::Utfall::Oppnad);
        QVERIFY(c.m.visade.isEmpty());
        QCOMPARE(c.g.cnnTavling.varde(u"SELECT COUNT(*) FROM "_s + Skyttar).toInt(), 17);
        Tavling::stang(c.g);
        QVERIFY(!Mappkopia::avbruten(destination.filePath(u"Cup"_s)));
        QCOMPARE(bild(destination.filePath(u"Cup.bak"_s)).value(u"Cup.air"_s), fore.value(u"Cup/Cup.air"_s));
    }

    // The source's database is copied as one committed state while another
    // program writes it, fifty shooters a transaction; the copy's time is not
    // before the last transaction it holds.
    void ogonblickMedanDetSkrivs() {
        Testfixtur f;
        const QString mapp = kalla(f, 10);
        Barn skrivare({QString::fromLatin1(BarnSkriv), mapp + QStringLiteral("/Cup.air")});
        QSet<int> antalSett;
        for (int i = 0; i < 12; ++i) {
            QTemporaryDir destination;
            QCOMPARE(kopieraTavlingsmapp(destination.path() + QLatin1Char('/'), mapp).feltext, QString());
            const QString kopia = destination.filePath(QStringLiteral("Cup/Cup.air"));
            const int n = antal(kopia, Skyttar);
            QCOMPARE(n % 50, 10);
            antalSett.insert(n);
            if (n == 10)
                continue;
            Databas db;
            db.Open(kopia);
            // The writer tells the database's time after each of its transactions.
            const QByteArray sista = "\n" +
                                     db.varde(QStringLiteral("SELECT MAX(Efternamn) FROM Skyttar "
                                                             "WHERE Namn = 'Skytt'"))
                                         .toString()
                                         .toLatin1() +
                                     ' ';
            while (!skrivare.ut.contains(sista) && skrivare.p.waitForReadyRead(10000))
                skrivare.ut += skrivare.p.readAllStandardOutput();
            const qsizetype borjan = skrivare.ut.indexOf(sista) + sista.size();
            const qint64 tid =
                skrivare.ut.mid(borjan, skrivare.ut.indexOf('\n', borjan) - borjan).toLongLong();
            struct stat st {};
            QCOMPARE(stat(QFile::encodeName(kopia).constData(), &st), 0);
            QVERIFY2(st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec >= tid,
                     qPrintable(QString::number(i)));
        }
        QVERIFY2(antalSett.size() > 1, "the writer never got in between");
    }

    // A copy killed at any moment leaves whole files in the target, each the
    // old or the new, and the next copy clears up after it.
    void avbrutenKopiaStadasUpp() {
        Testfixtur a;
        const QString mappA = kalla(a, 12);
        Testfixtur b;
        const QString mappB = kalla(b, 17);
        skriv(mappB + QStringLiteral("/Utskrifter/Lista.xlsx"), "lista B");
        QTemporaryDir destination;
        const QString dest = destination.path() + QLatin1Char('/');
        const QString mal = destination.filePath(QStringLiteral("Cup/"));
        QCOMPARE(kopieraTavlingsmapp(dest, mappA).feltext, QString());
        const QMap<QString, QString> bildA = bild(mal);

        QRandomGenerator rng(20261207);
        int kvarlamnat = 0;
        for (int varv = 0; varv < 15; ++varv) {
            const QString dod = dodaMittIArbetet(
                {QString::fromLatin1(BarnKopieraTillsDodad), dest, mappB, mappA}, rng, 0, 120);
            QVERIFY2(dod.isEmpty(), qPrintable(dod));
            const int n = antal(mal + QStringLiteral("Cup.air"), Skyttar);
            QVERIFY2(n == 12 || n == 17, qPrintable(QString::number(n)));
            QVERIFY(QSet<QByteArray>({"lista", "lista B"})
                        .contains(las(mal + QStringLiteral("Utskrifter/Lista.xlsx"))));

            if (QDir(dest).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size() > 2)
                ++kvarlamnat;
            QCOMPARE(kopieraTavlingsmapp(dest, mappA).feltext, QString());
            QCOMPARE(bild(mal), bildA);
            QCOMPARE(QDir(dest).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                     lista("Cup Cup.bak"));
        }
        qInfo("%d of 15 copies killed with their folders beside the target", kvarlamnat);
        QVERIFY(kvarlamnat > 0);
    }
};

namespace {

// Tells the parent that the work has begun.
void start() {
    std::fputs("start\n", stdout);
    std::fflush(stdout);
}

int barnKopiera(const QStringList& a) {
    if (a.size() > 3) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit grans{rlim_t(a.at(3).toLongLong()), rlim_t(a.at(3).toLongLong())};
        setrlimit(RLIMIT_FSIZE, &grans);
    }
    std::fputs(kopieraTavlingsmapp(a.at(1), a.at(2)).feltext.toUtf8().constData(), stdout);
    return 0;
}

// Copies the two sources in turn into one destination, as fast as it goes,
// until killed (or after a while, or when its parent is gone).
int barnKopieraTillsDodad(const QStringList& a) {
    const pid_t foralder = getppid();
    QElapsedTimer klocka;
    klocka.start();
    start();
    for (int i = 0; klocka.elapsed() < 60000 && getppid() == foralder; ++i)
        kopieraTavlingsmapp(a.at(1), a.at(2 + i % 2));
    return 0;
}

// A copy killed at its given system call.
int barnDodaVidAnrop(const QStringList& a) {
    int kvar = a.at(1).toInt();
    Anropsvakt vakt;
    vakt.fore = [&](const QString&) {
        if (--kvar == 0)
            std::raise(SIGKILL);
    };
    std::fputs(kopieraTavlingsmapp(a.at(2), a.at(3)).feltext.toUtf8().constData(), stdout);
    return 0;
}

int barnDodaVid(const QStringList& a) {
    Mappkopia::Uppdrag u;
    u.kalla = a.at(2);
    u.mal = a.at(1);
    u.utelamnas = Overforing::utelamnas;
    u.databas = [](const QString& namn) { return namn.endsWith(u".air"_s); };
    u.steg = [&](const QString& rel) {
        if (rel == a.at(3))
            std::raise(SIGKILL);
    };
    return Mappkopia::kopiera(u).fel;
}

// The calls that set a file's mode and times answer the given error, as a FAT
// stick's FUSE driver does.
int barnUtanMetadata(const QStringList& a) {
    const std::vector<int> anrop{
#ifdef __NR_chmod
        __NR_chmod,
#endif
#ifdef __NR_utimes
        __NR_utimes,
#endif
#ifdef __NR_utime
        __NR_utime,
#endif
#ifdef __NR_futimesat
        __NR_futimesat,
#endif
        __NR_fchmod,    __NR_fchmodat, __NR_utimensat};
    std::vector<sock_filter> filter{BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr))};
    for (size_t i = 0; i < anrop.size(); ++i)
        filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __u32(anrop[i]), __u8(anrop.size() - i), 0));
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    filter.push_back(
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (__u32(a.at(1).toInt()) & SECCOMP_RET_DATA)));
    const sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
        std::fputs("seccomp", stdout);
        return 1;
    }
    std::fputs(kopieraTavlingsmapp(a.at(2), a.at(3)).feltext.toUtf8().constData(), stdout);
    return 0;
}

// A tmpfs of its own at the folder given, in a mount namespace of this
// process (as an ordinary user, in a user namespace of its own too).
bool monteraLitenDisk(const char* mapp, const char* storlek) {
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    if (unshare(uid == 0 ? CLONE_NEWNS : CLONE_NEWUSER | CLONE_NEWNS) != 0)
        return false;
    if (uid != 0) {
        const auto skriv = [](const char* fil, const QByteArray& text) {
            QFile f(QString::fromLatin1(fil));
            return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
        };
        if (!skriv("/proc/self/setgroups", "deny") ||
            !skriv("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1") ||
            !skriv("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1"))
            return false;
    }
    return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount("tmpfs", mapp, "tmpfs", 0, (QByteArray("size=") + storlek).constData()) == 0 &&
           setenv("PILKRONA_LITEN_DISK", mapp, 1) == 0;
}

int barnLas(const QStringList& a) {
    Tavling::Las l = Tavling::lasTavling(a.at(1), a.at(2));
    if (!l.fil)
        return 1;
    start();
    const pid_t foralder = getppid();
    while (getppid() == foralder)
        QThread::msleep(50);
    return 0;
}

int barnSkriv(const QStringList& a) {
    Databas db;
    db.Open(a.at(1));
    const pid_t foralder = getppid();
    QElapsedTimer klocka;
    klocka.start();
    // Numbers that sort as text in their order.
    for (int varv = 100000; klocka.elapsed() < 60000 && getppid() == foralder; ++varv) {
        db.transaktion([&] {
            for (int i = 0; i < 50; ++i)
                db.kor(QStringLiteral("INSERT INTO Skyttar (Namn, Efternamn, Klass) VALUES (?, ?, ?)"),
                       {QStringLiteral("Skytt"), QString::number(varv), QStringLiteral("H")});
        });
        if (varv == 100000)
            start();
        struct stat st {};
        stat(QFile::encodeName(a.at(1)).constData(), &st);
        std::printf("\n%d %lld\n", varv, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], BarnLitenDisk) == 0) {
        // Before Qt starts threads: a namespace is a whole process's.
        if (!monteraLitenDisk(argv[2], argv[3])) {
            std::perror("a tmpfs of its own");
            return 2;
        }
        char* args[] = {argv[0], argv[4], nullptr};
        int antalArgs = 2;
        QApplication app(antalArgs, args);
        TestKopiering t;
        return QTest::qExec(&t, antalArgs, args);
    }
    if (argc > 1 && argv[1][0] == '-' && argv[1][1] == '-') {
        QCoreApplication app(argc, argv);
        const QStringList a = app.arguments().mid(1);
        for (const auto& [namn, barn] :
             {std::pair{BarnKopiera, &barnKopiera}, std::pair{BarnKopieraTillsDodad, &barnKopieraTillsDodad},
              std::pair{BarnLas, &barnLas}, std::pair{BarnSkriv, &barnSkriv},
              std::pair{BarnDodaVid, &barnDodaVid}, std::pair{BarnUtanMetadata, &barnUtanMetadata},
              std::pair{BarnDodaVidAnrop, &barnDodaVidAnrop}})
            if (a.first() == QLatin1String(namn))
                return barn(a);
    }
    QApplication app(argc, argv);
    TestKopiering t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "test_kopiering.moc"
