#include "platform/Databas.h"
#include "shell/Tavling.h"
#include "support/Dodsbarn.h"
#include "support/HetJournal.h"
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
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using Overforing::kopieraTavlingsmapp;

namespace {

const char* const BarnKopiera = "--kopiera";                       // destination source file-size limit
const char* const BarnKopieraTillsDodad = "--kopiera-tills-dodad"; // destination source source
const char* const BarnLas = "--hall-las";                          // folder name
const char* const BarnSkriv = "--skriv-tills-dodad";               // database

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
        for (const char* namn : {".~lock.Lista.xlsx#", "~$Lista.xlsx", "Utskrifter/.Lista.xlsx.Ab12Cd",
                                 ".Cup.ini.ny", ".Cup.air.ny", "Gammal.air-journal", ".Cup.lock.rmlock"})
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
    // files the source does not have, and the backup of an earlier copy.
    static void gammaltMal(const QString& destination) {
        databasMedHetJournal(destination + QStringLiteral("/Cup/Cup.air"));
        for (const auto& [namn, innehall] :
             {std::pair{"Cup/Cup.ini", "gammal"}, std::pair{"Cup/Annat.txt", "annat"},
              std::pair{"Cup/Utskrifter/Gammal.xlsx", "gammal lista"},
              std::pair{"Cup/Utskrifter/Lista.xlsx", "gammal"}, std::pair{"Cup.bak/Forra.txt", "förra"}})
            skriv(destination + QLatin1Char('/') + QString::fromUtf8(namn), innehall);
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
        QCOMPARE(
            poster(destination.path()),
            lista("Cup Cup.bak Cup.bak/Cup.air Cup.bak/Cup.air-journal Cup.bak/Cup.ini Cup.bak/Utskrifter "
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
        if (hinder != QLatin1String("tom"))
            gammaltMal(destination.path());
        const QString mal = destination.filePath(QStringLiteral("Cup"));
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
        const QMap<QString, QString> fore = bild(destination.path());

        Overforing::Kopieringsutfall u;
        if (hinder == QLatin1String("storlek") || hinder == QLatin1String("tom"))
            u.feltext = kopieraIBarn(destination.path() + QLatin1Char('/'), mapp,
                                     QFileInfo(mapp + QStringLiteral("/Cup.air")).size() - 4096);
        else
            u = kopieraTavlingsmapp(destination.path() + QLatin1Char('/'), mapp);
        QVERIFY2(u.feltext.startsWith(text), qPrintable(u.feltext));
        QCOMPARE(u.sokvagsfel, sokvagsfel);
        QCOMPARE(bild(destination.path()), fore);
        QFile::setPermissions(mal + QStringLiteral("/Utskrifter"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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
    if (argc > 1 && argv[1][0] == '-' && argv[1][1] == '-') {
        QCoreApplication app(argc, argv);
        const QStringList a = app.arguments().mid(1);
        for (const auto& [namn, barn] :
             {std::pair{BarnKopiera, &barnKopiera}, std::pair{BarnKopieraTillsDodad, &barnKopieraTillsDodad},
              std::pair{BarnLas, &barnLas}, std::pair{BarnSkriv, &barnSkriv}})
            if (a.first() == QLatin1String(namn))
                return barn(a);
    }
    QApplication app(argc, argv);
    TestKopiering t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "test_kopiering.moc"
