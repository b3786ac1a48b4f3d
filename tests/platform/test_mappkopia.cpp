#include "platform/Mappkopia.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sqlite3.h>

namespace {

const char* const BarnKopiera = "--kopiera"; // source target links step
const char* const BarnAngra = "--angra";     // target step

void skriv(const QString& fil, const QByteArray& innehall) {
    QDir().mkpath(QFileInfo(fil).path());
    QFile f(fil);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(innehall);
}

// Every entry below a folder, hidden ones too: a file with its content (a
// database by its hash), a folder with a slash.
QStringList bild(const QString& mapp) {
    QStringList b;
    QDirIterator it(mapp, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo fi(it.next());
        QFile f(fi.filePath());
        const QByteArray innehall = !fi.isDir() && f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        b << QDir(mapp).relativeFilePath(fi.filePath()) +
                 (fi.isDir()                ? QStringLiteral("/")
                  : innehall.contains('\0') ? QLatin1Char('#') + QString::number(qHash(innehall))
                                            : QLatin1Char('=') + QString::fromUtf8(innehall));
    }
    b.sort();
    return b;
}

// A source and an older target with its backup, between them every kind of
// change: files replaced and new, a file where a folder was and the other way
// round, a folder filled entry by entry and one new with everything in it, a
// database replacing one that has a journal beside it.
struct Falt {
    QTemporaryDir d;
    QString kalla = d.filePath(QStringLiteral("Kalla"));
    QString destination = d.filePath(QStringLiteral("Sticka"));
    QString mal = destination + QStringLiteral("/Cup");

    Falt() {
        for (const auto& [namn, innehall] : {std::pair{"Kalla/a.txt", "ny a"},
                                             {"Kalla/ny.txt", "ny"},
                                             {"Kalla/x/inne.txt", "ny x"},
                                             {"Kalla/y", "ny y"},
                                             {"Kalla/Under/b.txt", "ny b"},
                                             {"Kalla/Under/c.txt", "ny c"},
                                             {"Kalla/Helt/d.txt", "ny d"},
                                             {"Sticka/Cup/a.txt", "gammal a"},
                                             {"Sticka/Cup/kvar.txt", "kvar"},
                                             {"Sticka/Cup/x", "gammal x"},
                                             {"Sticka/Cup/y/gammal.txt", "gammal y"},
                                             {"Sticka/Cup/Under/b.txt", "gammal b"},
                                             {"Sticka/Cup/db.air", "gammal databas"},
                                             {"Sticka/Cup/db.air-journal", "gammal journal"},
                                             {"Sticka/Cup.bak/forra.txt", "förra"}})
            skriv(d.filePath(QString::fromUtf8(namn)), innehall);
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(kalla + QStringLiteral("/db.air")).constData(), &db);
        sqlite3_exec(db, "CREATE TABLE t(x); INSERT INTO t VALUES ('ny')", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
};

Mappkopia::Uppdrag uppdrag(const QString& kalla, const QString& mal, bool lankar) {
    Mappkopia::Uppdrag u;
    u.kalla = kalla;
    u.mal = mal;
    u.utelamnas = [](const QString& namn) { return namn.endsWith(QStringLiteral("-journal")); };
    u.databas = [](const QString& namn) { return namn.endsWith(QStringLiteral(".air")); };
    u.lankar = lankar;
    return u;
}

// A child of this test killed before its given step; false when it ended first.
bool dodadVid(const QStringList& args) {
    QProcess barn;
    barn.start(QCoreApplication::applicationFilePath(), args);
    barn.waitForFinished(60000);
    return barn.exitStatus() == QProcess::CrashExit;
}

} // namespace

class TestMappkopia : public QObject {
    Q_OBJECT

private slots:
    void avbrutenKopiaTasTillbaka_data() {
        QTest::addColumn<bool>("lankar");
        QTest::newRow("länkar") << true;
        QTest::newRow("utan länkar") << false;
    }
    // A copy cut off before any of its steps, the undo of it cut off in its
    // turn: in the end the target and its backup are as before the copy or as
    // after it, nothing else beside them.
    void avbrutenKopiaTasTillbaka() {
        QFETCH(bool, lankar);
        QStringList fore, efter;
        {
            Falt f;
            fore = bild(f.destination);
            QCOMPARE(Mappkopia::kopiera(uppdrag(f.kalla, f.mal, lankar)).fel, 0);
            efter = bild(f.destination);
        }
        for (const char* post : {"Cup/a.txt=ny a", "Cup/kvar.txt=kvar", "Cup/x/inne.txt=ny x", "Cup/y=ny y",
                                 "Cup/Helt/d.txt=ny d", "Cup/Under/b.txt=ny b", "Cup/Under/c.txt=ny c",
                                 "Cup.bak/a.txt=gammal a", "Cup.bak/db.air=gammal databas",
                                 "Cup.bak/db.air-journal=gammal journal", "Cup.bak/y/gammal.txt=gammal y"})
            QVERIFY2(efter.contains(QString::fromUtf8(post)), post);
        QVERIFY(!efter.contains(QStringLiteral("Cup.bak/forra.txt=förra")));
        int tillbaka = 0, klara = 0;
        for (int steg = 1;; ++steg) {
            Falt f;
            if (!dodadVid({QString::fromLatin1(BarnKopiera), f.kalla, f.mal, QString::number(lankar),
                           QString::number(steg)})) {
                QCOMPARE(bild(f.destination), efter);
                break;
            }
            dodadVid({QString::fromLatin1(BarnAngra), f.mal, QString::number(1 + steg % 5)});
            QCOMPARE(Mappkopia::angraAvbruten(f.mal), 0);
            const QStringList nu = bild(f.destination);
            QVERIFY2(nu == fore || nu == efter, qPrintable(QString::number(steg)));
            ++(nu == fore ? tillbaka : klara);
        }
        QVERIFY(tillbaka > 10);
        QVERIFY(klara > 0);
    }

    // A step that fails while the copy moves in takes back what was done.
    void misslyckadFlyttTasTillbaka() {
        Falt f;
        const QStringList fore = bild(f.destination);
        Mappkopia::Uppdrag u = uppdrag(f.kalla, f.mal, false);
        u.steg = [&](const QString& rel) {
            if (rel == QLatin1String("ny.txt"))
                skriv(f.mal + QStringLiteral("/ny.txt/annat"), "annat");
        };
        QCOMPARE(Mappkopia::kopiera(u).fel, EISDIR);
        QStringList med = fore + QStringList{"Cup/ny.txt/", "Cup/ny.txt/annat=annat"};
        med.sort();
        QCOMPARE(bild(f.destination), med);
    }
};

namespace {
int barn(const QStringList& a) {
    int n = 0;
    const int doda = a.last().toInt();
    const auto steg = [&](const QString&) {
        if (++n == doda)
            std::raise(SIGKILL);
    };
    if (a.first() == QLatin1String(BarnAngra))
        return Mappkopia::angraAvbruten(a.at(1), steg);
    Mappkopia::Uppdrag u = uppdrag(a.at(1), a.at(2), a.at(3) == QLatin1String("1"));
    u.steg = steg;
    return Mappkopia::kopiera(u).fel;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc > 1 && argv[1][0] == '-' && argv[1][1] == '-')
        return barn(app.arguments().mid(1));
    TestMappkopia t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_mappkopia.moc"
