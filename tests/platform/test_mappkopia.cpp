#include "platform/folder_copy/Mappkopia.h"
#include "support/Anropsvakt.h"
#include "support/Loggbild.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr Mappkopia::Avbrott Avsluta = Mappkopia::Avbrott::Avsluta;

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
        const QByteArray innehall = fi.isFile() && f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
// round, a folder filled entry by entry and two new with everything in them
// (one's name begins with the other's), a database replacing one that has a
// journal beside it.
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
                                             {"Kalla/Helt2/e.txt", "ny e"},
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
        // One time for every file, so that marks that list them read alike
        // in every field.
        QDirIterator alla(d.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        const struct timespec tid[2] = {{1767225600, 0}, {1767225600, 0}};
        while (alla.hasNext())
            utimensat(AT_FDCWD, QFile::encodeName(alla.next()).constData(), tid, AT_SYMLINK_NOFOLLOW);
        markeraSomSakerhetskopia(d.filePath(QStringLiteral("Sticka/Cup.bak")));
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

// Stands for a kill in the middle of a system call's work: nothing after it runs.
struct Stopp {};

// The copy's system calls as they pass, by their paths below rot (opening
// anything but a new file left out); the stopp-th call (from 1), or the one
// recorded as stoppVid, stops as a kill would.
struct Inspelning {
    Anropsvakt vakt;
    QStringList anrop;
    int stopp = 0;
    QString stoppVid;
    int antal = 0;

    explicit Inspelning(const QString& rot) {
        vakt.fore = [this, rot = rot + u'/'](QString a) {
            a.remove(rot);
            if (++antal == stopp || a == stoppVid)
                throw Stopp{};
            if (!a.startsWith(u"oppna ") && !a.startsWith(u"stang "))
                anrop << a;
        };
    }
};

QString foralder(const QString& rel) {
    return rel.section(u'/', 0, -2);
}

// The first folder that calls in [fran, slut) changed and that was not flushed
// after its last change and before slut; empty when there is none. Changes
// below the folders utom (on their way out) need no flush.
QString oflushad(const QStringList& anrop, qsizetype fran, qsizetype slut, const QStringList& utom) {
    QHash<QString, qsizetype> andrad;
    for (qsizetype i = fran; i < slut; ++i) {
        const QStringList d = anrop.at(i).split(u' ');
        if (d.first() == u"fsync") {
            andrad.remove(d.at(1));
            continue;
        }
        if (d.first() == u"syncfs")
            continue;
        for (qsizetype j = d.first() == u"link" ? 2 : 1; j < d.size(); ++j) {
            const QString mapp = foralder(d.at(j));
            if (std::none_of(utom.begin(), utom.end(),
                             [&](const QString& u) { return mapp == u || mapp.startsWith(u + u'/'); }))
                andrad.insert(mapp, i);
        }
    }
    return andrad.isEmpty() ? QString() : andrad.begin().key();
}

// The entries that calls matching monster (its group the entry) moved, in
// their order, each once.
QStringList poster(const QStringList& anrop, const QString& monster) {
    const QRegularExpression re(monster);
    QStringList p;
    for (const QString& a : anrop)
        if (const QRegularExpressionMatch m = re.match(a); m.hasMatch() && !p.contains(m.captured(1)))
            p << m.captured(1);
    return p;
}

// Every entry below a folder, hidden ones too, with its mode: "a.txt 644".
QStringList lagen(const QString& mapp) {
    QStringList b;
    QDirIterator it(mapp, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        struct stat st {};
        const QString fil = it.next();
        lstat(QFile::encodeName(fil).constData(), &st);
        b << QDir(mapp).relativeFilePath(fil) + u' ' + QString::number(st.st_mode & 07777, 8);
    }
    b.sort();
    return b;
}

// A competition Cup holding a link to its neighbouring folder Granne, and
// beside it what a copy leaves: the record with the given text ("{Cup/Cup.air}"
// in it stands for what the record says of that file as it lies), and each of
// lage: "staging" (marked), "staging-ny" (marked, holding a new Ny.txt),
// "staging-omarkt" (Ny.txt without the mark), "staging-ini" (marked, a Cup.ini
// as the target's), "staging-nymapp" (marked, an empty Nymapp), "undan"
// (marked, holding an old Cup.air), "undan-inimapp" (a folder Cup.ini in it), "undan-omarkt",
// "undan-marklank" (its mark a link), "undan-hardlank" (its Cup.air another
// name of the neighbour's file), "staging-lank", "undan-lank" (the folders
// links), "staging-inre", "undan-inre" (a link inside), "staging-postlank"
// (Cup.ini in it a link), "logg-lank" (the record
// a link), "logg-stor" (longer than any record), "extra" (one file more in
// Cup/Utskrifter), "logg-fifo" (the record a named pipe); "staging-db",
// "staging-gammal" (marked, holding a new Cup.air, a file Gammal),
// "undan-tom" (its mark alone), "undan-ini", "undan-journal",
// "undan-gammalmapp" (holding Cup.ini, Cup.air-journal, an empty folder
// Gammal), "journal" (Cup.air-journal in Cup), "ini-andrad" (Cup.ini
// rewritten), "flytt" (the staging folder marked as moving in), "bak" (a
// backup of ours, Cup.bak), "mal-borta" (Cup removed by hand).
struct Grannar {
    static constexpr time_t Tid = 1767225600;
    QTemporaryDir d;
    QString sticka = d.filePath(QStringLiteral("Sticka"));
    QString mal = sticka + QStringLiteral("/Cup");
    QString granne = sticka + QStringLiteral("/Granne");

    Grannar(QByteArray logg, const QString& lage) {
        for (const auto& [namn, innehall] : {std::pair{"Cup/Cup.air", "databas"},
                                             {"Cup/Cup.ini", "ini"},
                                             {"Cup/Utskrifter/Lista.xlsx", "lista"},
                                             {"Granne/g.txt", "grannens"},
                                             {"Granne/Under/h.txt", "grannens"}})
            skriv(sticka + u'/' + QString::fromUtf8(namn), innehall);
        QFile::link(granne, mal + QStringLiteral("/lank"));
        const QString bredvid = sticka + QStringLiteral("/.Cup.");
        const QString staging = bredvid + u"kopia"_s, undan = bredvid + u"undan"_s;
        for (const QString& del : lage.split(u',', Qt::SkipEmptyParts)) {
            if (del.startsWith(u"staging") && !del.contains(u"lank") && del != u"staging-inre") {
                QDir().mkpath(staging + (del == u"staging-nymapp" ? u"/Nymapp"_s : QString()));
                if (del != u"staging-omarkt")
                    skriv(staging + u"/.pilkrona-kopia"_s, "märke");
                if (del == u"staging-ny" || del == u"staging-omarkt")
                    skriv(staging + u"/Ny.txt"_s, "ny");
                if (del == u"staging-ini")
                    skriv(staging + u"/Cup.ini"_s, "ini");
                if (del == u"staging-db")
                    skriv(staging + u"/Cup.air"_s, "ny databas");
                if (del == u"staging-gammal")
                    skriv(staging + u"/Gammal"_s, "ny");
            } else if (del == u"extra")
                skriv(mal + u"/Utskrifter/Annan.xlsx"_s, "annan");
            else if (del == u"journal")
                skriv(mal + u"/Cup.air-journal"_s, "journal");
            else if (del == u"ini-andrad")
                skriv(mal + u"/Cup.ini"_s, "ini ändrad");
            else if (del == u"flytt")
                skriv(staging + u"/.pilkrona-kopia.flyttar"_s, "");
            else if (del == u"bak")
                skriv(sticka + u"/Cup.bak/forra.txt"_s, "förra");
            else if (del.startsWith(u"undan") && del != u"undan-lank") {
                if (del == u"undan-hardlank")
                    QVERIFY(QDir().mkpath(undan) &&
                            link(QFile::encodeName(granne + u"/g.txt"_s).constData(),
                                 QFile::encodeName(undan + u"/Cup.air"_s).constData()) == 0);
                else if (del == u"undan-inre")
                    QVERIFY(QDir().mkpath(undan) && QFile::link(granne, undan + u"/Utskrifter"_s));
                else if (del == u"undan-inimapp" || del == u"undan-gammalmapp")
                    QVERIFY(QDir().mkpath(undan + (del == u"undan-inimapp" ? u"/Cup.ini"_s : u"/Gammal"_s)));
                else if (del == u"undan-ini")
                    skriv(undan + u"/Cup.ini"_s, "ini");
                else if (del == u"undan-journal")
                    skriv(undan + u"/Cup.air-journal"_s, "journal");
                else if (del != u"undan-tom")
                    skriv(undan + QStringLiteral("/Cup.air"), "gammal");
                if (del == u"undan-marklank")
                    QFile::link(granne + u"/g.txt"_s, undan + u"/.pilkrona-sakerhetskopia"_s);
                else if (del != u"undan-omarkt")
                    skriv(undan + u"/.pilkrona-sakerhetskopia"_s, "märke");
            } else if (del.endsWith(u"-lank") && del != u"logg-lank")
                QFile::link(granne, del.startsWith(u"staging") ? staging : undan);
            else if (del == u"staging-postlank" && QDir().mkpath(staging))
                QFile::link(granne + u"/g.txt"_s, staging + u"/Cup.ini"_s);
            else if (del == u"staging-inre" && QDir().mkpath(staging))
                QFile::link(granne, staging + QStringLiteral("/Utskrifter"));
        }
        // One time for every file, so that a record can differ from what lies
        // there in its size alone.
        QDirIterator alla(sticka, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                          QDirIterator::Subdirectories);
        const struct timespec tid[2] = {{Tid, 500'000'000}, {Tid, 500'000'000}};
        while (alla.hasNext())
            utimensat(AT_FDCWD, QFile::encodeName(alla.next()).constData(), tid, AT_SYMLINK_NOFOLLOW);
        if (lage.contains(u"bak"))
            markeraSomSakerhetskopia(sticka + u"/Cup.bak"_s);
        static const QRegularExpression bild(u"\\{([^}]*)\\}"_s);
        for (QRegularExpressionMatch m = bild.match(QString::fromUtf8(logg)); m.hasMatch();
             m = bild.match(QString::fromUtf8(logg)))
            logg.replace(m.captured(0).toUtf8(), loggbild(sticka + u'/' + m.captured(1)));
        if (lage.contains(u"logg-fifo")) {
            QCOMPARE(mkfifo(QFile::encodeName(bredvid + u"kopiering"_s).constData(), 0600), 0);
        } else if (lage.contains(u"logg-lank")) {
            skriv(granne + QStringLiteral("/logg.txt"), logg);
            QFile::link(granne + QStringLiteral("/logg.txt"), bredvid + QStringLiteral("kopiering"));
        } else if (lage.contains(u"logg-stor")) {
            QFile stor(bredvid + u"kopiering"_s);
            QVERIFY(stor.open(QIODevice::WriteOnly) && stor.write(logg) > 0 && stor.resize(qint64(17) << 20));
        } else if (!logg.isEmpty()) {
            skriv(bredvid + QStringLiteral("kopiering"), logg);
        }
        if (lage.contains(u"mal-borta"))
            QVERIFY(QDir(mal).removeRecursively());
    }
};

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
    // A copy cut off before any of its steps, what ends it or takes it back
    // cut off in its turn: in the end the target and its backup are as before
    // the copy (cut off before its record lasted) or as after it (ended from
    // where it stopped), nothing else beside them.
    void avbrutenKopiaTasTillbaka() {
        QFETCH(bool, lankar);
        QStringList fore, efter;
        {
            Falt f;
            fore = bild(f.destination);
            QCOMPARE(Mappkopia::kopiera(uppdrag(f.kalla, f.mal, lankar)).fel, 0);
            efter = bild(f.destination);
        }
        for (const char* post :
             {"Cup/a.txt=ny a", "Cup/kvar.txt=kvar", "Cup/x/inne.txt=ny x", "Cup/y=ny y",
              "Cup/Helt/d.txt=ny d", "Cup/Helt2/e.txt=ny e", "Cup/Under/b.txt=ny b", "Cup/Under/c.txt=ny c",
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
            QCOMPARE(Mappkopia::angraAvbruten(f.mal, Avsluta).fel, 0);
            const QStringList nu = bild(f.destination);
            QVERIFY2(nu == fore || nu == efter, qPrintable(QString::number(steg)));
            ++(nu == fore ? tillbaka : klara);
        }
        QVERIFY(tillbaka > 0);
        QVERIFY(klara > 10);
    }

    // What lies beside a competition is input. The undo moves an entry only
    // when what lies there is what the record says the copy moved: anything
    // else - a record of another form, a path out of the target or through a
    // link, what lies there not matching, a moved-aside folder without the
    // program's mark, an entry there that is a link or another name of a
    // neighbour's file, a folder holding more than listed, the staging folder
    // gone - is refused with everything left as it is. A record cut off while
    // it was written, before anything moved, is removed; one that matches is
    // carried out. Nothing of the neighbour ever changes.
    void otillforlitligtKvarlamnat_data() {
        QTest::addColumn<QByteArray>("logg");
        QTest::addColumn<QString>("lage");
        QTest::addColumn<QString>("borta"); // "-" refused; "+X" X comes into Cup; else what leaves it
        const auto v2 = [](const char* rader) { return "mappkopia 2\n" + QByteArray(rader) + "klar\n"; };
        const QString nej = u"-"_s;
        const QByteArray vantar = "N Ny.txt {.Cup.kopia/Ny.txt}\n";
        // What waits lies whole in the staging folder: the copy is ended.
        QTest::newRow("rätt bild") << v2("N Cup.ini {Cup/Cup.ini}\n" + vantar) << u"staging-ny"_s
                                   << u"+Ny.txt"_s;
        QTest::newRow("mapp, rätt bild")
            << v2("N Utskrifter D\nn Utskrifter%2FLista.xlsx {Cup/Utskrifter/Lista.xlsx}\n" + vantar)
            << u"staging-ny"_s << u"+Ny.txt"_s;
        // Something of it is not: the copy is taken back.
        const QByteArray skadad = "N Ny.txt F:9:1767225600:500000000\n";
        QTest::newRow("rätt bild, det väntande skadat")
            << v2("N Cup.ini {Cup/Cup.ini}\n" + skadad) << u"staging-ny"_s << u"Cup.ini"_s;
        QTest::newRow("mapp, rätt bild, det väntande skadat")
            << v2("N Utskrifter D\nn Utskrifter%2FLista.xlsx {Cup/Utskrifter/Lista.xlsx}\n" + skadad)
            << u"staging-ny"_s << u"Utskrifter"_s;
        // Every entry moved in: the copy is ended, not taken back.
        QTest::newRow("allt inne") << v2("N Cup.ini {Cup/Cup.ini}\n") << u"staging"_s << QString();
        QTest::newRow("staging utan märke") << v2(vantar) << u"staging-omarkt"_s << nej;
        QTest::newRow("gammal form") << QByteArray("mappkopia 1\nN Cup.ini\nklar\n") << u"staging"_s << nej;
        QTest::newRow("N /") << v2("N %2F D\n") << u"staging"_s << nej;
        QTest::newRow("N ..") << v2("N %2E%2E D\n") << u"staging"_s << nej;
        QTest::newRow("a/../b") << v2("N Utskrifter%2F..%2FCup.ini {Cup/Cup.ini}\n") << u"staging"_s << nej;
        QTest::newRow("absolut") << v2("N %2Ftmp D\n") << u"staging"_s << nej;
        QTest::newRow("fel bokstav") << v2("X Cup.ini {Cup/Cup.ini}\n") << u"staging"_s << nej;
        QTest::newRow("fel bild") << v2("N Cup.ini F:3:1\n") << u"staging"_s << nej;
        QTest::newRow("två gånger") << v2("N Cup.ini {Cup/Cup.ini}\nN Cup.ini {Cup/Cup.ini}\n")
                                    << u"staging"_s << nej;
        QTest::newRow("post i post")
            << v2("N Utskrifter D\nn Utskrifter%2FLista.xlsx {Cup/Utskrifter/Lista.xlsx}\n"
                  "N Utskrifter%2FLista.xlsx {Cup/Utskrifter/Lista.xlsx}\n")
            << u"staging"_s << nej;
        QTest::newRow("länk i målet") << v2("N lank%2Fg.txt {Granne/g.txt}\n") << u"staging"_s << nej;
        QTest::newRow("länk i staging")
            << v2("N Utskrifter%2FLista.xlsx {Cup/Utskrifter/Lista.xlsx}\n") << u"staging-inre"_s << nej;
        QTest::newRow("länk i staging, posten")
            << v2("N Cup.ini {Cup/Cup.ini}\n") << u"staging-postlank"_s << nej;
        QTest::newRow("länk i undan")
            << v2("E Utskrifter D D\nn Utskrifter%2FLista.xlsx {Cup/Utskrifter/Lista.xlsx}\n")
            << u"staging,undan-inre"_s << nej;
        QTest::newRow("databasen, fel storlek") << v2("N Cup.air {Cup/Cup.ini}\n") << u"staging"_s << nej;
        QTest::newRow("databasen, fel tid") << v2("N Cup.air F:7:1767225600:0\n") << u"staging"_s << nej;
        QTest::newRow("allt, fel bild")
            << v2("N Cup.ini {Cup/Cup.air}\nN Cup.air {Cup/Cup.ini}\nN Utskrifter D\n") << u"staging"_s
            << nej;
        QTest::newRow("annan databas i undan")
            << v2("E Cup.air {Cup/Cup.ini} {.Cup.undan/Cup.air}\n") << u"staging,undan"_s << nej;
        QTest::newRow("delad inod") << v2("E Cup.air {Cup/Cup.air} {Granne/g.txt}\n")
                                    << u"staging,undan-hardlank"_s << nej;
        QTest::newRow("mapp med mer")
            << v2("N Utskrifter D\nn Utskrifter%2FLista.xlsx {Cup/Utskrifter/Lista.xlsx}\n")
            << u"staging,extra"_s << nej;
        QTest::newRow("mapp med mindre")
            << v2("N Utskrifter D\nn Utskrifter%2FLista.xlsx {Cup/Utskrifter/Lista.xlsx}\n"
                  "n Utskrifter%2FSaknad.xlsx {Cup/Utskrifter/Lista.xlsx}\n")
            << u"staging"_s << nej;
        QTest::newRow("staging saknas") << v2("N Cup.ini {Cup/Cup.ini}\n") << QString() << nej;
        QTest::newRow("undan utan märke") << QByteArray() << u"undan-omarkt"_s << nej;
        QTest::newRow("märket en länk") << QByteArray() << u"undan-marklank"_s << nej;
        QTest::newRow("rubrik saknas") << QByteArray("N Cup.ini D\nklar\n") << u"staging"_s << nej;
        QTest::newRow("skräp") << QByteArray("hej\n") << u"staging"_s << nej;
        QTest::newRow("skräp utan radslut") << QByteArray("hej") << u"staging"_s << nej;
        QTest::newRow("sista raden saknas, undan")
            << QByteArray("mappkopia 2\nE Cup.air F:1") << u"staging,undan"_s << nej;
        QTest::newRow("sista raden saknas")
            << QByteArray("mappkopia 2\nN Cup.ini {Cup/Cup.ini}\n") << u"staging"_s << QString();
        QTest::newRow("halv rubrik") << QByteArray("mappko") << u"staging"_s << QString();
        QTest::newRow("loggen en länk") << v2("N Cup.ini {Cup/Cup.ini}\n") << u"staging,logg-lank"_s << nej;
        QTest::newRow("loggen för stor") << v2("N Cup.ini {Cup/Cup.ini}\n") << u"staging,logg-stor"_s << nej;
        QTest::newRow("loggen en pipe") << QByteArray() << u"staging,logg-fifo"_s << nej;
        // One state of one copy, the entries held against the three places
        // together: a new version both waiting and in the target (as a copy
        // by hand leaves it), an old one both aside and in the target, a
        // target changed under an entry that waits, an entry moved in after
        // one that waits, something aside that is no file.
        QTest::newRow("ny på två ställen") << v2("N Cup.ini {Cup/Cup.ini}\n") << u"staging-ini"_s << nej;
        QTest::newRow("journal på två ställen")
            << v2("J Cup.air {.Cup.undan/Cup.air}\n") << u"staging,undan"_s << nej;
        QTest::newRow("väntar, målet ändrat")
            << v2("E Cup.ini {.Cup.kopia/Cup.ini} F:9:1767225600:500000000\n") << u"staging-ini"_s << nej;
        QTest::newRow("i fel ordning") << v2(vantar + "N Cup.ini {Cup/Cup.ini}\n") << u"staging-ny"_s << nej;
        QTest::newRow("undan ingen fil")
            << v2("E Cup.ini {.Cup.kopia/Cup.ini} {Cup/Cup.ini}\n") << u"staging-ini,undan-inimapp"_s << nej;
        // The limits of a record, counted with its first and last lines.
        const auto inre = [&](qsizetype rader, qint64 byte) {
            QByteArray text = "mappkopia 2\nN Nymapp D\n";
            for (qsizetype i = 0; i < rader - 3; ++i) {
                QByteArray rad = "n Nymapp%2F" + QByteArray::number(i) + " F:0:0:0\n";
                if (byte && i == rader - 4)
                    rad.insert(11, QByteArray(byte - text.size() - rad.size() - 5, 'a'));
                text += rad;
            }
            return text + "klar\n";
        };
        QTest::newRow("200 000 rader") << inre(200'000, 0) << u"staging-nymapp"_s << QString();
        QTest::newRow("200 001 rader") << inre(200'001, 0) << u"staging-nymapp"_s << nej;
        QTest::newRow("16 MiB") << inre(60'000, qint64(16) << 20) << u"staging-nymapp"_s << QString();
        QTest::newRow("16 MiB och en byte")
            << inre(60'000, (qint64(16) << 20) + 1) << u"staging-nymapp"_s << nej;
        QTest::newRow("staging en länk") << v2("N Cup.ini {Cup/Cup.ini}\n") << u"staging-lank"_s << nej;
        QTest::newRow("undan en länk") << QByteArray() << u"undan-lank"_s << nej;
    }
    void otillforlitligtKvarlamnat() {
        QFETCH(QByteArray, logg);
        QFETCH(QString, lage);
        QFETCH(QString, borta);
        const Grannar g(logg, lage);
        const QStringList allt = bild(g.sticka), granne = bild(g.granne);
        QStringList mal = bild(g.mal);
        const int svar = Mappkopia::angraAvbruten(g.mal, Avsluta).fel;
        QCOMPARE(bild(g.granne), granne);
        if (borta == u"-") {
            QCOMPARE(svar, Mappkopia::Otillforlitlig);
            QCOMPARE(bild(g.sticka), allt);
            return;
        }
        QCOMPARE(svar, 0);
        QVERIFY(!Mappkopia::avbruten(g.mal));
        if (borta.startsWith(u'+'))
            mal << borta.mid(1) + u"=ny"_s;
        else if (!borta.isEmpty())
            mal.removeIf([&](const QString& p) { return p.startsWith(borta); });
        mal.sort();
        QCOMPARE(bild(g.mal), mal);
    }

    // One decision over what a cut-off copy left, judged first without
    // touching anything (what the wizards' check does before its question):
    // ended, taken back or refused, as carrying it out then does, and where
    // the database the folder will hold lies until then (for the dates the
    // question shows): "Cup" the folder's own, ".Cup.kopia" the new one
    // waiting, ".Cup.undan" the old one aside, "-" none.
    void ettBeslut_data() {
        QTest::addColumn<QByteArray>("logg");
        QTest::addColumn<QString>("lage");
        QTest::addColumn<bool>("ersatts"); // Avbrott::TaTillbaka, else Avsluta
        QTest::addColumn<int>("vad");
        QTest::addColumn<QString>("databas");
        const auto v2 = [](const char* rader) { return "mappkopia 2\n" + QByteArray(rader) + "klar\n"; };
        using V = Mappkopia::Avbrottsbeslut::Vad;
        const int avsluta = int(V::Avsluta), tillbaka = int(V::TaTillbaka), vagra = int(V::Vagra);
        const QByteArray inne = "E Cup.air {Cup/Cup.air} {.Cup.undan/Cup.air}\n";
        const QByteArray vantar = "E Cup.air {.Cup.kopia/Cup.air} {Cup/Cup.air}\n";
        QTest::newRow("allt inne, ersätts") << v2(inne) << u"staging,undan"_s << true << avsluta << u"Cup"_s;
        QTest::newRow("väntar, ersätts") << v2(vantar) << u"staging-db"_s << true << tillbaka << u"Cup"_s;
        QTest::newRow("väntar, används")
            << v2(vantar) << u"staging-db"_s << false << avsluta << u".Cup.kopia"_s;
        QTest::newRow("databasen inne, ersätts")
            << v2(inne + "E Cup.ini {.Cup.kopia/Cup.ini} {Cup/Cup.ini}\n") << u"staging-ini,undan"_s << true
            << tillbaka << u".Cup.undan"_s;
        QTest::newRow("journal bland det väntande")
            << v2("J Cup.air-journal {Cup/Cup.air-journal}\n" + vantar) << u"journal,staging-db"_s << false
            << avsluta << u".Cup.kopia"_s;
        QTest::newRow("undanflyttad journal ändrad")
            << v2("J Cup.air-journal F:3:1767225600:500000000\n" + vantar) << u"undan-journal,staging-db"_s
            << false << vagra << QString();
        QTest::newRow("kopierad undan, målet ändrat")
            << v2("E Cup.ini {.Cup.kopia/Cup.ini} {.Cup.undan/Cup.ini}\n")
            << u"staging-ini,undan-ini,ini-andrad"_s << true << vagra << QString();
        QTest::newRow("inre rad först")
            << v2("n Cup.ini {Cup/Cup.ini}\n") << u"staging"_s << false << vagra << QString();
        QTest::newRow("länk på vägen i målet") << v2("N lank%2FUnder%2Fh.txt {Granne/Under/h.txt}\n")
                                               << u"staging"_s << false << vagra << QString();
        QTest::newRow("målet borttaget")
            << v2("E Gammal {.Cup.kopia/Gammal} D\n") << u"staging-gammal,undan-gammalmapp,mal-borta"_s
            << true << tillbaka << u"-"_s;
        // Without the record (removed by hand): a copy cut off while it filled
        // its staging folder is removed; one that had begun to move in, or had
        // moved something aside, is refused; one that took effect is ended,
        // and a moved-aside folder holding only its mark leaves the backup be.
        QTest::newRow("utan logg, fylls")
            << QByteArray() << u"staging-ny,bak"_s << true << tillbaka << u"Cup"_s;
        QTest::newRow("utan logg, flyttar")
            << QByteArray() << u"staging-ny,flytt"_s << false << vagra << QString();
        QTest::newRow("utan logg, undan")
            << QByteArray() << u"staging-ny,undan"_s << false << vagra << QString();
        QTest::newRow("utan logg, klar")
            << QByteArray() << u"staging,flytt,undan"_s << false << avsluta << u"Cup"_s;
        QTest::newRow("utan logg, bara märket")
            << QByteArray() << u"staging,flytt,undan-tom,bak"_s << false << tillbaka << u"Cup"_s;
    }
    void ettBeslut() {
        QFETCH(QByteArray, logg);
        QFETCH(QString, lage);
        QFETCH(bool, ersatts);
        QFETCH(int, vad);
        QFETCH(QString, databas);
        const Mappkopia::Avbrott satt = ersatts ? Mappkopia::Avbrott::TaTillbaka : Avsluta;
        const Grannar g(logg, lage);
        const QStringList fore = bild(g.sticka), bak = bild(g.sticka + u"/Cup.bak"_s);
        const Mappkopia::Avbrottsbeslut b = Mappkopia::bedomAvbruten(g.mal, satt);
        QCOMPARE(bild(g.sticka), fore);
        QCOMPARE(int(b.vad), vad);
        const auto innehall = [](const QString& fil) {
            QFile f(fil);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("-");
        };
        const QString plats = b.plats ? b.plats(u"Cup.air"_s) : QString();
        const QByteArray vantat = innehall(plats);
        const Mappkopia::Utfall u = Mappkopia::angraAvbruten(g.mal, satt);
        if (vad == int(Mappkopia::Avbrottsbeslut::Vad::Vagra)) {
            QCOMPARE(b.utfall.fel, Mappkopia::Otillforlitlig);
            QCOMPARE(u.fel, Mappkopia::Otillforlitlig);
            QCOMPARE(bild(g.sticka), fore);
            return;
        }
        QCOMPARE(plats, databas == u"-" ? g.mal + u"/Cup.air"_s : g.sticka + u'/' + databas + u"/Cup.air"_s);
        QCOMPARE(u.fel, 0);
        QVERIFY(!Mappkopia::avbruten(g.mal));
        QCOMPARE(innehall(g.mal + u"/Cup.air"_s), vantat);
        // Nothing was moved aside: the backup is as it was.
        if (lage.contains(u"bak"))
            QCOMPARE(bild(g.sticka + u"/Cup.bak"_s), bak);
    }

    // Without second names (exFAT through FUSE refuses a link with EPERM,
    // whatever the copy was told), a copy stopped at any system call leaves
    // every file it replaces with a file in the target, old or new, and is
    // taken back exactly.
    void filenFinnsAlltidUtanLankar_data() {
        QTest::addColumn<bool>("lankar");
        QTest::newRow("länken vägras") << true;
        QTest::newRow("utan länkar") << false;
    }
    void filenFinnsAlltidUtanLankar() {
        QFETCH(bool, lankar);
        QStringList fore, efter;
        {
            Falt f;
            fore = bild(f.destination);
            Inspelning in(f.d.path());
            in.vakt.utanLankar = true;
            QCOMPARE(Mappkopia::kopiera(uppdrag(f.kalla, f.mal, lankar)).fel, 0);
            QCOMPARE(in.anrop.filter(QRegularExpression(u"^link "_s)).isEmpty(), !lankar);
            efter = bild(f.destination);
        }
        for (int stopp = 1;; ++stopp) {
            Falt f;
            {
                Inspelning in(f.d.path());
                in.vakt.utanLankar = true;
                in.stopp = stopp;
                try {
                    QCOMPARE(Mappkopia::kopiera(uppdrag(f.kalla, f.mal, lankar)).fel, 0);
                    QCOMPARE(bild(f.destination), efter);
                    break;
                } catch (const Stopp&) {
                }
            }
            for (const char* fil : {"/a.txt", "/db.air", "/Under/b.txt"})
                QVERIFY2(QFileInfo(f.mal + QLatin1String(fil)).isFile(), qPrintable(QString::number(stopp)));
            QCOMPARE(Mappkopia::angraAvbruten(f.mal, Avsluta).fel, 0);
            const QStringList nu = bild(f.destination);
            QVERIFY2(nu == fore || nu == efter, qPrintable(QString::number(stopp)));
        }
    }

    // The order of the flushes, from the calls themselves: the copy made to
    // last before its record is written, the record and its folder before
    // anything else moves, every folder that changed before the record goes;
    // and after an undo the folders it put things back into.
    void flusharIOrdning() {
        QString sistaIn;
        for (const bool lankar : {true, false}) {
            Falt f;
            Inspelning in(f.d.path());
            in.vakt.utanLankar = !lankar;
            QCOMPARE(Mappkopia::kopiera(uppdrag(f.kalla, f.mal, lankar)).fel, 0);
            const QStringList& a = in.anrop;
            // What is made under one name and renamed into place - a file
            // copied aside, a mark - lasts before its rename; a mark's folder
            // before anything else changes there.
            for (qsizetype i = 0; i < a.size(); ++i) {
                const QStringList d = a.at(i).split(u' ');
                const qsizetype skapad =
                    d.first() == u"rename" ? a.lastIndexOf(u"skapa "_s + d.at(1), i) : -1;
                const bool mark = d.size() > 2 && d.at(2).section(u'/', -1).startsWith(u".pilkrona-");
                // The staging folder's files last by one flush of the whole
                // file system, checked above.
                if (skapad < 0 || (d.at(1).startsWith(u"Sticka/.Cup.kopia/") && !mark))
                    continue;
                const qsizetype flush = a.indexOf(u"fsync "_s + d.at(1), skapad);
                QVERIFY2(flush > skapad && flush < i, qPrintable(a.at(i)));
                if (!mark)
                    continue;
                const QString mapp = foralder(d.at(2));
                qsizetype nasta = i + 1;
                while (nasta < a.size() &&
                       (a.at(nasta).startsWith(u"fsync") || !a.at(nasta).contains(u' ' + mapp + u'/')))
                    ++nasta;
                const qsizetype mappFlush = a.indexOf(u"fsync "_s + mapp, i);
                QVERIFY2(mappFlush > i && mappFlush < nasta, qPrintable(a.at(i)));
            }
            if (!lankar) {
                QVERIFY(a.contains(
                    u"rename Sticka/.Cup.undan/.pilkrona-sakerhetskopia.ny Sticka/.Cup.undan/a.txt"_s));
                continue;
            }
            const qsizetype logg = a.indexOf(u"skapa Sticka/.Cup.kopiering"_s);
            const qsizetype syncfs = a.indexOf(QRegularExpression(u"syncfs .*"_s));
            const qsizetype nasta =
                a.indexOf(QRegularExpression(u"(rename|link|mkdir|unlink|skapa) .*"_s), logg + 1);
            const qsizetype bort = a.indexOf(u"unlink Sticka/.Cup.kopiering"_s);
            QVERIFY(syncfs >= 0 && syncfs < logg);
            const qsizetype loggFlush = a.indexOf(u"fsync Sticka/.Cup.kopiering"_s);
            QVERIFY(loggFlush > logg && loggFlush < nasta);
            QCOMPARE(oflushad(a, logg, nasta, {}), QString());
            QCOMPARE(oflushad(a, logg, bort, {u"Sticka/.Cup.kopia"_s}), QString());
            sistaIn = a.filter(QRegularExpression(u"^rename \\S+ Sticka/Cup/"_s)).last();
        }
        // Cut off before its last move: ended from there, or, with what waits
        // damaged in the staging folder, taken back.
        for (const bool skadad : {false, true}) {
            Falt f;
            QStringList flyttade;
            {
                Inspelning in(f.d.path());
                in.stoppVid = sistaIn;
                QVERIFY_THROWS_EXCEPTION(Stopp, Mappkopia::kopiera(uppdrag(f.kalla, f.mal, true)));
                flyttade = poster(
                    in.anrop, u"^(?:rename|link) Sticka/(?:\\.Cup\\.kopia|Cup)/(?!\\.pilkrona-)(\\S+) "_s);
            }
            const QString sista = sistaIn.section(u' ', 1, 1);
            if (skadad)
                skriv(f.d.filePath(sista + u"/skada"_s), "skada");
            Inspelning in(f.d.path());
            QCOMPARE(Mappkopia::angraAvbruten(f.mal, Avsluta).fel, 0);
            const qsizetype bort = in.anrop.indexOf(u"unlink Sticka/.Cup.kopiering"_s);
            QCOMPARE(oflushad(in.anrop, 0, bort, {u"Sticka/.Cup.kopia"_s, u"Sticka/.Cup.undan"_s}),
                     QString());
            if (!skadad) {
                QCOMPARE(in.anrop.filter(QRegularExpression(u"^rename \\S+ Sticka/Cup/"_s)),
                         QStringList{sistaIn});
                continue;
            }
            // Back in the reverse order of the moves: a journal never comes
            // back beside the new database.
            std::reverse(flyttade.begin(), flyttade.end());
            QCOMPARE(poster(in.anrop, u"^rename Sticka/(?:Cup|\\.Cup\\.undan)/(\\S+) "_s), flyttade);
        }
    }

    // A mark is whole or not there: a copy cut off while it wrote the mark of
    // its moved-aside folder, then ended, leaves a backup that the next copy
    // knows as the program's and replaces.
    void markeringenHel() {
        Falt f;
        {
            Inspelning in(f.d.path());
            in.vakt.fore = [rot = f.d.path() + u'/'](QString a) {
                if (a.remove(rot).startsWith(u"skriv Sticka/.Cup.undan/.pilkrona-sakerhetskopia"))
                    throw Stopp{};
            };
            QVERIFY_THROWS_EXCEPTION(Stopp, Mappkopia::kopiera(uppdrag(f.kalla, f.mal, true)));
        }
        const QString bak = f.destination + u"/Cup.bak"_s;
        QCOMPARE(Mappkopia::angraAvbruten(f.mal, Avsluta).sakerhetskopia, bak);
        QCOMPARE(Mappkopia::kopiera(uppdrag(f.kalla, f.mal, true)).sakerhetskopia, bak);
    }

    // A target not there yet is made in one step: a copy stopped at any system
    // call and undone leaves nothing of it, one not stopped all of it.
    void nyttMalHeltEllerInte() {
        QStringList fore, efter;
        {
            Falt f;
            fore = bild(f.destination);
            QCOMPARE(Mappkopia::kopiera(uppdrag(f.kalla, f.destination + u"/Ny"_s, true)).fel, 0);
            efter = bild(f.destination);
        }
        for (int stopp = 1;; ++stopp) {
            Falt f;
            const QString mal = f.destination + u"/Ny"_s;
            bool stoppad = false;
            {
                Inspelning in(f.d.path());
                in.stopp = stopp;
                try {
                    QCOMPARE(Mappkopia::kopiera(uppdrag(f.kalla, mal, true)).fel, 0);
                } catch (const Stopp&) {
                    stoppad = true;
                }
            }
            QCOMPARE(Mappkopia::angraAvbruten(mal, Avsluta).fel, 0);
            const QStringList nu = bild(f.destination);
            if (!stoppad) {
                QCOMPARE(nu, efter);
                break;
            }
            QVERIFY2(nu == fore || nu == efter, qPrintable(QString::number(stopp)));
        }
    }

    // Copies get the modes of a new file of the program, whatever the source
    // shows (every file of a FAT stick shows 777): never executable, writable
    // by others only when the umask says so.
    void ordinaraLagen_data() {
        QTest::addColumn<int>("mask");
        for (int mask : {022, 027, 002, 077})
            QTest::addRow("umask %03o", mask) << mask;
    }
    void ordinaraLagen() {
        QFETCH(int, mask);
        Falt f;
        QStringList kalla = lagen(f.kalla);
        for (const QString& post : kalla)
            QFile::setPermissions(f.kalla + u'/' + post.section(u' ', 0, -2),
                                  QFileDevice::Permissions(0x7777));
        const mode_t forra = umask(mode_t(mask));
        const int ny = Mappkopia::kopiera(uppdrag(f.kalla, f.destination + u"/Ny"_s, true)).fel;
        const int over = Mappkopia::kopiera(uppdrag(f.kalla, f.mal, true)).fel;
        umask(forra);
        QCOMPARE(ny, 0);
        QCOMPARE(over, 0);
        QStringList onskat;
        for (const QString& post : kalla) {
            const QString namn = post.section(u' ', 0, -2);
            onskat << namn + u' ' +
                          QString::number((QFileInfo(f.kalla + u'/' + namn).isDir() ? 0777 : 0666) & ~mask,
                                          8);
        }
        QCOMPARE(lagen(f.destination + u"/Ny"_s), onskat);
        QVERIFY(lagen(f.destination).contains(u"Ny "_s + QString::number(0777 & ~mask, 8)));
        const QStringList cup = lagen(f.mal);
        for (const QString& post : onskat)
            if (!post.startsWith(u"Under "))
                QVERIFY2(cup.contains(post), qPrintable(post));
    }

    // A system call that fails is a failure of the copy, never its success:
    // the rename that makes a new target, the close of a copied file (where a
    // file system reports what it kept back). The destination is as before,
    // nothing hidden left.
    void misslyckatAnropArEttFel_data() {
        QTest::addColumn<QString>("mal");
        QTest::addColumn<QString>("anrop");
        QTest::newRow("nytt mål flyttas in") << u"Ny"_s << u"rename Sticka/.Ny.kopia Sticka/Ny"_s;
        QTest::newRow("fil i nytt mål stängs") << u"Ny"_s << u"stang Sticka/.Ny.kopia/ny.txt"_s;
        QTest::newRow("fil stängs") << u"Cup"_s << u"stang Sticka/.Cup.kopia/Under/c.txt"_s;
        QTest::newRow("loggen flushas") << u"Cup"_s << u"fsync Sticka/.Cup.kopiering"_s;
        // The folder y, which a file replaces, is aside when its new version
        // fails to come: it goes back.
        QTest::newRow("mappen flyttad undan") << u"Cup"_s << u"rename Sticka/.Cup.kopia/y Sticka/Cup/y"_s;
    }
    void misslyckatAnropArEttFel() {
        QFETCH(QString, mal);
        QFETCH(QString, anrop);
        Falt f;
        const QStringList fore = bild(f.destination);
        Anropsvakt vakt;
        bool sett = false;
        vakt.misslyckas = [&, rot = f.d.path() + u'/'](QString a) {
            a.remove(rot);
            sett = sett || a == anrop;
            return a == anrop ? EIO : 0;
        };
        // Every file made is closed through the seam, also one given up.
        QStringList oppna;
        vakt.fore = [&](const QString& a) {
            if (a.startsWith(u"skapa "))
                oppna << a.mid(6);
            else if (a.startsWith(u"stang "))
                oppna.removeOne(a.mid(6));
        };
        QCOMPARE(Mappkopia::kopiera(uppdrag(f.kalla, f.destination + u'/' + mal, true)).fel, EIO);
        QVERIFY(sett);
        QCOMPARE(oppna, QStringList());
        QCOMPARE(bild(f.destination), fore);
    }

    // What the copy would replace and its undo could not put back as it was -
    // a link, a pipe, a file with another name, also inside a folder the copy
    // moves aside - is refused before anything moves, naming it.
    void ovantatIMaletVagras_data() {
        QTest::addColumn<QString>("vad");
        QTest::addColumn<QString>("post");
        QTest::newRow("länk") << u"lank"_s << u"a.txt"_s;
        QTest::newRow("pipe") << u"pipe"_s << u"a.txt"_s;
        QTest::newRow("två namn") << u"hardlank"_s << u"a.txt"_s;
        QTest::newRow("länk i mapp") << u"lank"_s << u"y/gammal.txt"_s;
    }
    void ovantatIMaletVagras() {
        QFETCH(QString, vad);
        QFETCH(QString, post);
        Falt f;
        const QString fil = f.mal + u'/' + post;
        const QByteArray kodad = QFile::encodeName(fil);
        QVERIFY(QFile::remove(fil));
        if (vad == u"lank")
            QVERIFY(QFile::link(f.mal + u"/kvar.txt"_s, fil));
        else if (vad == u"pipe")
            QCOMPARE(mkfifo(kodad.constData(), 0600), 0);
        else
            QCOMPARE(link(QFile::encodeName(f.mal + u"/kvar.txt"_s).constData(), kodad.constData()), 0);
        const QStringList fore = bild(f.destination);
        const Mappkopia::Utfall u = Mappkopia::kopiera(uppdrag(f.kalla, f.mal, true));
        QCOMPARE(u.fel, Mappkopia::OvantadPost);
        QCOMPARE(u.sokvag, fil);
        QCOMPARE(bild(f.destination), fore);
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

    // What the source holds that a copy never takes: a pipe, a socket, the
    // program's marks (a backup copied by hand into the competition, a staging
    // folder's) - so that no target is ever taken for a backup of ours. An
    // entry that must go as a plain file (a competition's settings) refuses
    // the copy instead, before anything is written.
    void kallansOvanligaStannar_data() {
        QTest::addColumn<QString>("post");
        QTest::addColumn<bool>("vanlig"); // named by Uppdrag::vanligFil
        QTest::newRow("pipe") << u"pipe"_s << false;
        QTest::newRow("uttag") << u"uttag"_s << false;
        QTest::newRow("märke") << u".pilkrona-sakerhetskopia"_s << false;
        QTest::newRow("märke i mapp") << u"Under/.pilkrona-sakerhetskopia"_s << false;
        QTest::newRow("kopians märke") << u".pilkrona-kopia"_s << false;
        QTest::newRow("inställningarna en pipe") << u"pipe"_s << true;
        QTest::newRow("inställningarna en länk") << u"lank"_s << true;
        QTest::newRow("inställningarna en mapp") << u"Helt"_s << true;
    }
    void kallansOvanligaStannar() {
        QFETCH(QString, post);
        QFETCH(bool, vanlig);
        Falt f;
        const QByteArray fil = QFile::encodeName(f.kalla + u'/' + post);
        if (post == u"lank") {
            QVERIFY(QFile::link(f.kalla + u"/a.txt"_s, QFile::decodeName(fil)));
        } else if (post == u"pipe") {
            QCOMPARE(mkfifo(fil.constData(), 0600), 0);
        } else if (post == u"uttag") {
            const int s = socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un adress{};
            adress.sun_family = AF_UNIX;
            QVERIFY(size_t(fil.size()) < sizeof(adress.sun_path));
            std::memcpy(adress.sun_path, fil.constData(), size_t(fil.size()));
            QCOMPARE(bind(s, reinterpret_cast<sockaddr*>(&adress), sizeof(adress)), 0);
            close(s);
        } else if (post != u"Helt") { // Helt is a folder of the source
            skriv(QFile::decodeName(fil), "märke");
        }
        const QStringList fore = bild(f.destination);
        for (const QString& mal : {f.mal, f.destination + u"/Ny"_s}) {
            Mappkopia::Uppdrag u = uppdrag(f.kalla, mal, true);
            if (vanlig) {
                u.vanligFil = [&](const QString& rel) { return rel == post; };
                const Mappkopia::Utfall utfall = Mappkopia::kopiera(u);
                QCOMPARE(utfall.fel, Mappkopia::OvanligKalla);
                QCOMPARE(utfall.sokvag, QFile::decodeName(fil));
                QCOMPARE(bild(f.destination), fore);
                continue;
            }
            QCOMPARE(Mappkopia::kopiera(u).fel, 0);
            struct stat st {};
            QVERIFY2(lstat(QFile::encodeName(mal + u'/' + post).constData(), &st) != 0, qPrintable(mal));
        }
    }

    // Where the replaced files go is settled before anything moves, also when
    // the copy replaces nothing but a journal; the last free name is used.
    void ingenPlatsForSakerhetskopian_data() {
        QTest::addColumn<QString>("mal");
        QTest::addColumn<int>("tagna"); // Cup.bak, Cup.bak2 ... taken by folders of someone else's
        QTest::addColumn<QString>("bak");
        QTest::newRow("bara journalen") << u"Ny"_s << 99 << QString();
        QTest::newRow("bak99 ledig") << u"Cup"_s << 98 << u"Cup.bak99"_s;
    }
    void ingenPlatsForSakerhetskopian() {
        QFETCH(QString, mal);
        QFETCH(int, tagna);
        QFETCH(QString, bak);
        Falt f;
        QFile::remove(f.mal + u".bak/.pilkrona-sakerhetskopia"_s);
        skriv(f.destination + u"/Ny/db.air-journal"_s, "gammal journal");
        for (int n = 1; n <= tagna; ++n)
            skriv(f.destination + u'/' + mal + u".bak"_s + (n > 1 ? QString::number(n) : QString()) +
                      u"/egen"_s,
                  "egen");
        const QStringList fore = bild(f.destination);
        const Mappkopia::Utfall u = Mappkopia::kopiera(uppdrag(f.kalla, f.destination + u'/' + mal, true));
        if (bak.isEmpty()) {
            QCOMPARE(u.fel, Mappkopia::IngenSakerhetskopia);
            QCOMPARE(bild(f.destination), fore);
            return;
        }
        QCOMPARE(u.fel, 0);
        QCOMPARE(u.sakerhetskopia, f.destination + u'/' + bak);
        QVERIFY(QFileInfo::exists(u.sakerhetskopia + u"/a.txt"_s));
    }

    // A copy cut off, then the competition copied over it by hand (every
    // file's size and time kept): the undo never puts an older file back
    // among the hand copy's. A hand copy that differs from what the copy
    // left is refused, naming the entry found twice; one that leaves what a
    // cut itself leaves (every other file alike in both versions, here the
    // database alone copied) ends the copy, as does a cut after every entry
    // moved in: the hand copy is kept either way.
    void handkopiaOverAvbruten_data() {
        QTest::addColumn<QString>("stopp");
        QTest::addColumn<QString>("hand");   // what is copied by hand from the source
        QTest::addColumn<QString>("dubbel"); // empty: ended
        const QString dbInne = u"rename Sticka/.Cup.kopia/ny.txt Sticka/Cup/ny.txt"_s;
        QTest::newRow("databasen inne") << dbInne << u"."_s << u"ny.txt"_s;
        QTest::newRow("databasen inne, bara den ändrad") << dbInne << u"db.air"_s << QString();
        QTest::newRow("allt inne") << u"unlink Sticka/.Cup.kopiering"_s << u"."_s << QString();
    }
    void handkopiaOverAvbruten() {
        QFETCH(QString, stopp);
        QFETCH(QString, hand);
        QFETCH(QString, dubbel);
        Falt f;
        {
            Inspelning in(f.d.path());
            in.stoppVid = stopp;
            QVERIFY_THROWS_EXCEPTION(Stopp, Mappkopia::kopiera(uppdrag(f.kalla, f.mal, true)));
        }
        // cp tells of what it cannot put where a folder was a file, and goes on.
        QProcess cp;
        cp.start(u"cp"_s, {u"-a"_s, f.kalla + u'/' + hand, f.mal});
        QVERIFY(cp.waitForFinished() && cp.exitStatus() == QProcess::NormalExit);
        const QStringList allt = bild(f.destination);
        const Mappkopia::Utfall u = Mappkopia::angraAvbruten(f.mal, Avsluta);
        const int svar = u.fel;
        const QString& orsak = u.orsak;
        if (dubbel.isEmpty()) {
            QCOMPARE(svar, 0);
            QVERIFY(!Mappkopia::avbruten(f.mal));
            // The source's every file, the database as copied by hand.
            const QStringList mal = bild(f.mal);
            for (const QString& post : bild(f.kalla))
                QVERIFY2(mal.contains(post), qPrintable(post));
            return;
        }
        QCOMPARE(svar, Mappkopia::Otillforlitlig);
        QCOMPARE(bild(f.destination), allt);
        QVERIFY2(orsak.contains(f.mal + u'/' + dubbel), qPrintable(orsak));
    }

    // A copy whose record just fits is written and, cut off, read back and
    // taken back; one line more is refused before anything is written. A
    // folder of the target that a file replaces lists its every entry: the
    // record's first line, the file's, one for each entry, the last line.
    void loggensGranser_data() {
        QTest::addColumn<int>("inre");
        QTest::newRow("200 000 rader") << 199'997;
        QTest::newRow("200 001 rader") << 199'998;
    }
    void loggensGranser() {
        QFETCH(int, inre);
        // A file system in memory makes 200,000 files in a second.
        QTemporaryDir d(QFileInfo(u"/dev/shm"_s).isDir() ? u"/dev/shm/test_mappkopia-XXXXXX"_s : QString());
        const QString kalla = d.filePath(u"Kalla"_s), mal = d.filePath(u"Sticka/Cup"_s);
        skriv(kalla + u"/y"_s, "ny y");
        QVERIFY(QDir().mkpath(mal + u"/y"_s));
        const QByteArray mapp = QFile::encodeName(mal + u"/y"_s);
        for (int i = 0; i < inre; ++i)
            close(
                open((mapp + '/' + QByteArray::number(i)).constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600));
        const auto antal = [&](const QString& y) { return QDir(y).entryList(QDir::Files).size(); };
        Inspelning in(d.path());
        in.stoppVid = u"rename Sticka/.Cup.kopia/y Sticka/Cup/y"_s;
        if (inre > 199'997) {
            QCOMPARE(Mappkopia::kopiera(uppdrag(kalla, mal, true)).fel, Mappkopia::ForMangaPoster);
            QVERIFY(!in.anrop.contains(u"mkdir Sticka/.Cup.kopia"_s));
            QCOMPARE(antal(mal + u"/y"_s), inre);
        } else {
            QVERIFY_THROWS_EXCEPTION(Stopp, Mappkopia::kopiera(uppdrag(kalla, mal, true)));
            QVERIFY(QFileInfo::exists(d.filePath(u"Sticka/.Cup.undan/y/0"_s)));
            in.stoppVid.clear();
            QCOMPARE(Mappkopia::angraAvbruten(mal, Avsluta).fel, 0);
            QCOMPARE(antal(mal + u".bak/y"_s), inre);
        }
        QVERIFY(!Mappkopia::avbruten(mal));
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
        return Mappkopia::angraAvbruten(a.at(1), Avsluta, steg).fel;
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
