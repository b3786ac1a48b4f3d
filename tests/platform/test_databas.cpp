#include "common/Fel.h"
#include "platform/Databas.h"
#include "platform/SvenskSortering.h"
#include "support/Filstorlekstak.h"
#include "support/HetJournal.h"
#include "support/Testmiljo.h"
#include "support/VanligAnvandare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSemaphore>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QThread>
#include <sqlite3.h>
#include <thread>

using namespace Qt::StringLiterals;

namespace {
QStringList kolumn(QSqlQuery q) {
    QStringList ut;
    while (q.next())
        ut << q.value(0).toString();
    return ut;
}

QStringList forstaRaden(QSqlQuery q) {
    QStringList ut;
    if (q.next())
        for (int i = 0; i < q.record().count(); ++i)
            ut << q.value(i).toString();
    return ut;
}

void laggTillSkytt(const Databas& db, const char* namn) {
    db.kor("INSERT INTO Skyttar (Namn) VALUES (?)", {QString::fromUtf8(namn)});
}

// The names of the shooters after the placeholder that meet the condition, in the
// order they were added.
QStringList namn(const Databas& db, const QString& villkor = "1", const QVariantList& varden = {}) {
    return kolumn(db.kor(
        "SELECT Namn FROM Skyttar WHERE Löpnummer <> 1 AND (" + villkor + ") ORDER BY Löpnummer", varden));
}

// The shooters as another connection sees them: only what was committed.
// A writable copy of the empty competition at sokvag, its folder made,
// opened with one shooter "Före" stored.
bool oppnaMedEnSkytt(Databas& db, const QString& sokvag) {
    if (!QDir().mkpath(QFileInfo(sokvag).path()) || !QFile::copy(Testmiljo::mallSokvag(), sokvag) ||
        !QFile::setPermissions(sokvag, QFile::ReadOwner | QFile::WriteOwner))
        return false;
    db.Open(sokvag);
    laggTillSkytt(db, "Före");
    return true;
}
QStringList sparadeSkyttar(const QString& sokvag) {
    Databas annan;
    annan.Open(sokvag);
    return namn(annan);
}

// A fresh copy of the template database, open.
struct OppnadMall {
    Testmiljo t;
    const QString sokvag = t.kopieraMall(QStringLiteral("Cup.air"));
    Databas db;
    OppnadMall() { db.Open(sokvag); }
    int tal(const QString& sql, const QVariantList& varden = {}) const {
        return db.varde(sql, varden).toInt();
    }
    int djup() const { return db.transaktionsdjup(); }
};

struct InreFel {};

// The failure that f throws; an error number of 0 when it throws none.
template <class F> Fel felet(F&& f) {
    try {
        f();
    } catch (const Fel& fel) {
        return fel;
    }
    return Fel(0, QString());
}

// Statements outside kor() would escape the binding of values and the Swedish
// error messages, so the raw connection stays inside Databas.
template <class D> constexpr bool harRaAnslutning = requires(D& d) {
    d.db();
};
static_assert(!harRaAnslutning<Databas>);
} // namespace

class TestDatabas : public QObject {
    Q_OBJECT
private slots:
    // The template's class tables hold what the program relies on.
    void mallen() {
        OppnadMall m;
        for (const char* klasser : {"Sportskytteklasser", "Nationellaklasser", "Mixadeklasser"})
            QVERIFY(m.tal(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(klasser)) > 0);
        QCOMPARE(m.tal("SELECT COUNT(*) FROM Mixadeklasser WHERE [Sport/Nat] NOT IN ('Sport','Nat')"), 0);
        QCOMPARE(m.tal("SELECT COUNT(*) FROM Nationellaklasser WHERE [Antal skott] > 40"), 0);
        QCOMPARE(m.tal("SELECT COUNT(*) FROM Utskriftsval WHERE FältNamn IN "
                       "('Namn','Förening','Födelseår','Aktivitetskort','SkyttekortNr')"),
                 5);
        // Every commit is on the disk before it returns, journalled beside the file
        // rather than in a write-ahead log.
        QCOMPARE(m.db.varde("PRAGMA journal_mode").toString(), QStringLiteral("delete"));
        QCOMPARE(m.tal("PRAGMA synchronous"), 2);
    }

    // The placeholder is shooter 1, the next shooter gets 2, and what a new shooter
    // or lane leaves out takes the defaults the program relies on. A value its
    // column cannot hold is refused.
    void platshallareOchStandardvarden() {
        OppnadMall m;
        QVERIFY_THROWS_EXCEPTION(Fel, m.db.kor("INSERT INTO Skyttar (Startnr) VALUES (?)", {"tolv"}));
        QVERIFY_THROWS_EXCEPTION(Fel, m.db.kor("INSERT INTO Skyttar (Klass) VALUES (?)", {"SJUTECK"}));
        QVERIFY_THROWS_EXCEPTION(Fel, m.db.kor("INSERT INTO Skyttar (Res1) VALUES (?)", {51}));
        QCOMPARE(m.tal("SELECT COUNT(*) FROM Skyttar"), 1);
        QCOMPARE(m.db.varde("SELECT Namn FROM Skyttar WHERE Löpnummer = 1").toString(), QString());
        m.db.kor("INSERT INTO Skyttar (Namn, Efternamn, Klass, Startnr) VALUES (?, ?, ?, ?)",
                 {"Åsa", "Öberg", "D", 12});
        QCOMPARE(
            forstaRaden(m.db.kor("SELECT Löpnummer, Res1, Totalt60, Lag, TioNior, Särskjutning, Man1098, "
                                 "SfST12 FROM Skyttar WHERE Efternamn = ?",
                                 {"öberg"})),
            QStringList({"2", "0", "0", "0", "0,0,0,0,0,0,0,0,0,0", "0", "0", "00000"}));
        // A deleted last row never gives its number away again.
        m.db.kor("DELETE FROM Skyttar WHERE Löpnummer = 2");
        laggTillSkytt(m.db, "Bo");
        QCOMPARE(m.tal("SELECT MAX(Löpnummer) FROM Skyttar"), 3);

        m.db.kor("INSERT INTO Skjutlag (Skjutlag, Bana) VALUES (?, ?)", {1, 1});
        QCOMPARE(m.tal("SELECT Startnummer FROM Skjutlag"), 1);
        m.db.kor("INSERT INTO Sportskytteklasser (Klass, Klassnamn, [Antal skott]) VALUES (?, ?, ?)",
                 {"X", "Extra", 30});
        QCOMPARE(m.tal("SELECT Sammanslagen FROM Sportskytteklasser WHERE Klass = 'x'"), 0);
    }

    void svenskOrdningOchSkiftlageslikhet() {
        OppnadMall m;
        for (const char* f :
             {"Öst", "åby", "Ärla", "Zeta", "alfa", "Bravo", "ÅBY", "Émile", "Eva", "Ylva", "Über"})
            m.db.kor("INSERT INTO Skyttar (Förening) VALUES (?)", {QString::fromUtf8(f)});
        const QStringList ordning = kolumn(m.db.kor(
            "SELECT Förening FROM Skyttar WHERE Löpnummer <> 1 GROUP BY Förening ORDER BY Förening"));
        QCOMPARE(ordning.size(), 10); // åby and ÅBY are one club
        // é sorts as e, so "Émile" before "Eva" (m before v).
        QCOMPARE(ordning.mid(0, 4), QStringList({"alfa", "Bravo", "Émile", "Eva"}));
        QCOMPARE(ordning.mid(4).join(' ').toLower(), QStringLiteral("über ylva zeta åby ärla öst"));
        QCOMPARE(m.tal("SELECT COUNT(*) FROM Skyttar WHERE Förening = ?", {"ÅBY"}), 2);
        // TioNior compares as text, so 9 tens before 10 tens when sorted downwards.
        m.db.kor("INSERT INTO Skyttar (Namn, TioNior) VALUES ('tio', '10,0,0,0,0,0,0,0,0,0')");
        m.db.kor("INSERT INTO Skyttar (Namn, TioNior) VALUES ('nio', '9,1,0,0,0,0,0,0,0,0')");
        QCOMPARE(
            kolumn(m.db.kor("SELECT Namn FROM Skyttar WHERE Namn IN ('tio', 'nio') ORDER BY TioNior DESC")),
            QStringList({"nio", "tio"}));
    }

    // LIKE in Swedish, as the database runs it: letter case ignored in every
    // alphabet (é is not e), % and _ and never * or ?, an escape character of
    // one letter, NULL as any comparison with NULL; a long text with many % is
    // matched without backtracking over every split.
    void likeISvenska() {
        OppnadMall m;
        const std::string manga(5000, 'a');
        const struct {
            std::string text, monster;
            const char* flykt;
            int svar;
        } rader[] = {{"Åsa", "åsa%", nullptr, 1},
                     {"ÅSA", "åsa", nullptr, 1},
                     {"Asa", "åsa%", nullptr, 0},
                     {"Åke", "åsa%", nullptr, 0},
                     {"Öberg", "ö%", nullptr, 1},
                     {"Émile", "émile", nullptr, 1},
                     {"Emil", "émile", nullptr, 0},
                     {"Ärla", "%RL_", nullptr, 1},
                     {"Asa", "_sa", nullptr, 1},
                     {"Åsa", "Å*", nullptr, 0},
                     {"Åsa", "?sa", nullptr, 0},
                     {"Über", "ü%", nullptr, 1},
                     {"Über", "u%", nullptr, 0},
                     {"øy", "Ø_", nullptr, 1},
                     {"aXbYbZc", "a%b%c", nullptr, 1},
                     {"aab", "%ab", nullptr, 1},
                     {"xxabxabcx", "%a_c%", nullptr, 1},
                     {"xxabxabcx", "%a_c", nullptr, 0},
                     {"", "%%", nullptr, 1},
                     {"", "_", nullptr, 0},
                     {manga + "b", std::string(200, '%') + "b", nullptr, 1},
                     {manga, "%a%a%a%a%a%a%a%a%b", nullptr, 0},
                     {"100%", "100!%", "!", 1},
                     {"1000", "100!%", "!", 0},
                     {"a_b", "A!_B", "!", 1},
                     {"axb", "a!_b", "!", 0},
                     {"a!b", "a!!b", "!", 1},
                     {"ÅSA%", "åsaö%", "ö", 1},
                     {"ab", "ab!", "!", 0}};
        for (const auto& r : rader) {
            QVariantList varden = {QString::fromStdString(r.text), QString::fromStdString(r.monster)};
            if (r.flykt)
                varden << QString::fromUtf8(r.flykt);
            QVERIFY2(m.tal(r.flykt ? "SELECT ? LIKE ? ESCAPE ?" : "SELECT ? LIKE ?", varden) == r.svar,
                     r.monster.c_str());
        }
        QVERIFY(m.db.varde("SELECT NULL LIKE 'a'").isNull());
        QVERIFY(m.db.varde("SELECT 'a' LIKE NULL").isNull());
        QVERIFY_THROWS_EXCEPTION(Fel, m.tal("SELECT 'a' LIKE 'a' ESCAPE '!!'"));
        QVERIFY_THROWS_EXCEPTION(Fel, m.tal("SELECT 'a' LIKE 'a' ESCAPE ''"));
    }

    // A typed text matches only itself, wildcards and escapes included.
    void bokstavligtMonsterMatcharBaraSigSjalvt() {
        QCOMPARE(Databas::bokstavligtMonster(QStringLiteral("100%_a\\b*?'")),
                 QStringLiteral("100\\%\\_a\\\\b*?'"));
        OppnadMall m;
        for (const char* n : {"100%", "1000", "a*b", "axb", "ab", "a_b", "a\\b", "a\\\\b", "O'Brien", "Åsa"})
            laggTillSkytt(m.db, n);
        // fore "%": the name holds the typed text anywhere; "": it begins with it.
        const struct {
            const char *fore, *skrivet, *hittat;
        } rader[] = {{"", "100%", "100%"}, {"%", "%", "100%"},      {"", "a*b", "a*b"},
                     {"%", "*", "a*b"},    {"", "a_", "a_b"},       {"%", "_", "a_b"},
                     {"", "a\\b", "a\\b"}, {"%", "\\\\", "a\\\\b"}, {"", "o'b", "O'Brien"},
                     {"", "åS", "Åsa"}};
        for (const auto& r : rader)
            QCOMPARE(namn(m.db, "Namn LIKE ? ESCAPE '\\'",
                          {r.fore + Databas::bokstavligtMonster(QString::fromUtf8(r.skrivet)) + '%'}),
                     QStringList{QString::fromUtf8(r.hittat)});
        QCOMPARE(namn(m.db, "Namn LIKE ? ESCAPE '\\'", {Databas::bokstavligtMonster(QString()) + '%'}).size(),
                 10);
    }

    // An inner failure that its caller catches, be it the caller's own exception
    // or a database error two levels down, undoes only the inner part.
    void fangatInreFelBehallerDetYttre() {
        OppnadMall m;
        m.db.transaktion([&] {
            laggTillSkytt(m.db, "1");
            QCOMPARE(m.djup(), 1);
            try {
                m.db.transaktion([&] {
                    QCOMPARE(m.djup(), 2);
                    laggTillSkytt(m.db, "2 bort");
                    throw InreFel{};
                });
                QFAIL("the inner failure went missing");
            } catch (const InreFel&) {
            }
            QCOMPARE(m.djup(), 1);
            m.db.transaktion([&] {
                laggTillSkytt(m.db, "2");
                try {
                    m.db.transaktion([&] {
                        QCOMPARE(m.djup(), 3);
                        laggTillSkytt(m.db, "3 bort");
                        m.db.kor("INSERT INTO Skyttar (Startnr) VALUES (?)", {"tolv"});
                    });
                    QFAIL("the third level was committed");
                } catch (const Fel&) {
                }
                m.db.transaktion([&] { laggTillSkytt(m.db, "3 kvar"); });
                QCOMPARE(m.djup(), 2);
            });
            laggTillSkytt(m.db, "1 igen");
            // Nothing reaches the file before the outermost commit.
            QCOMPARE(sparadeSkyttar(m.sokvag), QStringList());
        });
        QCOMPARE(m.djup(), 0);
        QCOMPARE(sparadeSkyttar(m.sokvag), QStringList({"1", "2", "3 kvar", "1 igen"}));
    }

    void inreFelUtanFangstAngrarAllt() {
        OppnadMall m;
        QVERIFY_THROWS_EXCEPTION(InreFel, m.db.transaktion([&] {
            laggTillSkytt(m.db, "Yttre");
            m.db.transaktion([&] {
                laggTillSkytt(m.db, "Inre");
                throw InreFel{};
            });
        }));
        QCOMPARE(m.djup(), 0);
        QCOMPARE(sparadeSkyttar(m.sokvag), QStringList());
        // An inner transaction that succeeded is undone with the outer one.
        QVERIFY_THROWS_EXCEPTION(InreFel, m.db.transaktion([&] {
            m.db.transaktion([&] { laggTillSkytt(m.db, "Inre klar"); });
            throw InreFel{};
        }));
        QCOMPARE(sparadeSkyttar(m.sokvag), QStringList());
        m.db.transaktion([&] { laggTillSkytt(m.db, "Sedan"); });
        QCOMPARE(sparadeSkyttar(m.sokvag), QStringList({"Sedan"}));
    }

    // A COMMIT that fails leaves SQLite's transaction open; it must not stay open
    // and take the next operation's work with it.
    void misslyckadCommitAngras() {
        OppnadMall m;
        m.db.kor("CREATE TABLE Forald (Id INTEGER PRIMARY KEY)");
        m.db.kor("CREATE TABLE Barn (Forald INTEGER REFERENCES Forald (Id) DEFERRABLE INITIALLY DEFERRED)");
        m.db.kor("PRAGMA foreign_keys = ON");
        QVERIFY_THROWS_EXCEPTION(Fel, m.db.transaktion([&] {
            laggTillSkytt(m.db, "Med barnet");
            m.db.kor("INSERT INTO Barn (Forald) VALUES (?)", {5});
        }));
        QCOMPARE(m.djup(), 0);
        QCOMPARE(m.tal("SELECT COUNT(*) FROM Barn"), 0);
        m.db.transaktion([&] { laggTillSkytt(m.db, "Efter"); });
        QCOMPARE(sparadeSkyttar(m.sokvag), QStringList({"Efter"}));
    }

    void stangningNollstallerDjupet() {
        OppnadMall m;
        QVERIFY_THROWS_EXCEPTION(Fel, m.db.transaktion([&] {
            m.db.transaktion([&] {
                laggTillSkytt(m.db, "Stängd");
                m.db.Close();
                QCOMPARE(m.djup(), 0);
            });
        }));
        QCOMPARE(m.djup(), 0);
        m.db.Open(m.sokvag);
        m.db.transaktion([&] {
            QCOMPARE(m.djup(), 1);
            laggTillSkytt(m.db, "Öppnad igen");
        });
        QCOMPARE(sparadeSkyttar(m.sokvag), QStringList({"Öppnad igen"}));
    }

    void skadadFilGerSvensktFel() {
        OppnadMall m;
        const QString lang(300, 'x');
        m.db.transaktion([&] {
            for (int i = 0; i < 4000; ++i)
                m.db.kor("INSERT INTO Skyttar (Namn, Efternamn) VALUES (?, ?)", {lang, QString::number(i)});
        });
        m.db.Close();
        QFile f(m.sokvag);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.size() > 1000000);
        f.seek(f.size() / 2 / 4096 * 4096);
        f.write(QByteArray(64 * 1024, '\x5a'));
        f.close();

        const Fel fel = felet([&] {
            m.db.Open(m.sokvag);
            m.db.varde("SELECT SUM(length(Namn) + length(Efternamn)) FROM Skyttar");
        });
        QCOMPARE(fel.nummer(), Felnummer::DatabasSkadad);
        QCOMPARE(fel.beskrivning(), QStringLiteral("Databasfilen \"%1\" är skadad.").arg(m.sokvag));
    }

    void skrivskyddadFilGerSvensktFel() {
        if (korSomVanligAnvandare("skrivskyddadFilGerSvensktFel"))
            return;
        Testmiljo t;
        const QString sokvag = t.kopieraMall(QStringLiteral("Skyddad.air"));
        QVERIFY(QFile::setPermissions(sokvag, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        Databas db;
        db.Open(sokvag);
        QCOMPARE(db.varde("SELECT COUNT(*) FROM Skyttar").toInt(), 1);
        for (const Fel& fel : {felet([&] { laggTillSkytt(db, "Ny"); }),
                               felet([&] { db.transaktion([&] { laggTillSkytt(db, "Ny"); }); })}) {
            QCOMPARE(fel.nummer(), Felnummer::DatabasSkrivskyddad);
            QCOMPARE(fel.beskrivning(), QStringLiteral("Databasfilen \"%1\" är skrivskyddad.").arg(sokvag));
        }
        QCOMPARE(db.transaktionsdjup(), 0);
    }

    void lastFilGerSvensktFel() {
        OppnadMall m;
        Databas andra;
        andra.Open(m.sokvag);
        andra.kor("PRAGMA busy_timeout = 0"); // not 20 s of waiting in a test
        m.db.transaktion([&] {
            laggTillSkytt(m.db, "Först");
            const Fel fel = felet([&] { laggTillSkytt(andra, "Sedan"); });
            QCOMPARE(fel.nummer(), Felnummer::DatabasAnvands);
            QCOMPARE(fel.beskrivning(),
                     QStringLiteral("Databasfilen \"%1\" används av ett annat program.").arg(m.sokvag));
        });
        QCOMPARE(sparadeSkyttar(m.sokvag), QStringList({"Först"}));
    }

    void ovrigaFelNamnerFilenPaSvenska() {
        OppnadMall m;
        const Fel fel = felet([&] { m.db.kor("SELECT * FROM Saknas"); });
        QCOMPARE(fel.nummer(), Felnummer::Databasfel);
        QVERIFY2(fel.beskrivning().startsWith(
                     QStringLiteral("Databasfel i \"%1\" (no such table: Saknas)").arg(m.sokvag)),
                 qPrintable(fel.beskrivning()));
        const Fel lasfel =
            felet([&] { m.db.lasRader("SELECT * FROM Saknas", {}, [](const Databasrad&) {}); });
        QCOMPARE(lasfel.nummer(), fel.nummer());
        QCOMPARE(lasfel.beskrivning(), fel.beskrivning());
        const Fel antal = felet([&] { m.db.lasRader("SELECT ?", {}, [](const Databasrad&) {}); });
        QCOMPARE(antal.nummer(), Felnummer::Databasfel);
    }

    // The rows read without QVariants give what a query's values converted
    // give, for every kind of value bound or stored.
    void lasRaderSomKor_data() {
        QTest::addColumn<QString>("uttryck");
        QTest::addColumn<QVariant>("varde");
        QTest::newRow("heltal") << "?" << QVariant(42);
        QTest::newRow("stort heltal") << "?" << QVariant(qint64(1) << 40);
        QTest::newRow("sanning") << "?" << QVariant(true);
        QTest::newRow("decimaltal") << "?" << QVariant(45.5);
        QTest::newRow("decimaltal avrundas") << "?" << QVariant(45.7);
        QTest::newRow("text") << "?" << QVariant(u"Åsa Öberg"_s);
        QTest::newRow("siffertext") << "?" << QVariant(u" 12 "_s);
        QTest::newRow("blandad text") << "?" << QVariant(u"12abc"_s);
        QTest::newRow("decimaltext") << "?" << QVariant(u"7.5"_s);
        QTest::newRow("tom text") << "?" << QVariant(QString(""));
        QTest::newRow("null") << "?" << QVariant();
        QTest::newRow("bytes") << "?" << QVariant(QByteArray("31"));
        QTest::newRow("lagrad rad") << "Särskjutning, ? FROM Skyttar WHERE Löpnummer = 1" << QVariant(1);
        QTest::newRow("jämförelse") << "Namn FROM Skyttar WHERE Namn = ?" << QVariant(u"ÅSA"_s);
    }
    void lasRaderSomKor() {
        QFETCH(QString, uttryck);
        QFETCH(QVariant, varde);
        OppnadMall m;
        laggTillSkytt(m.db, "åsa");
        const QString sql = "SELECT " + uttryck;
        QList<QVariantList> vantat, last;
        for (QSqlQuery q = m.db.kor(sql, {varde}); q.next();)
            vantat << QVariantList{q.value(0).toLongLong(), q.value(0).toDouble(), q.value(0).toString()};
        m.db.lasRader(sql, {varde}, [&](const Databasrad& r) {
            last << QVariantList{r.heltal(0), r.tal(0), r.text(0)};
        });
        QVERIFY(!vantat.isEmpty());
        QCOMPARE(last, vantat);
    }

    // A disk that fills up in the middle of an operation (a file size limit stands in
    // for it) undoes the operation and leaves what was there before.
    void fullDiskAngrarTransaktionen_data() {
        QTest::addColumn<int>("rader");
        QTest::addColumn<bool>("felVidCommit");
        // 80 kB stay in SQLite's page cache until COMMIT; 8 MB do not.
        QTest::newRow("vid commit") << 200 << true;
        QTest::newRow("mitt i") << 20000 << false;
    }
    void fullDiskAngrarTransaktionen() {
        QFETCH(int, rader);
        QFETCH(bool, felVidCommit);
        OppnadMall m;
        m.db.transaktion([&] {
            for (int i = 0; i < 50; ++i)
                laggTillSkytt(m.db, "Före");
        });
        const QString lang(400, 'x');
        int gjorda = 0;
        const Fel fel = medFilstorlekstak(QFileInfo(m.sokvag).size() + 16 * 1024, [&] {
            return felet([&] {
                m.db.transaktion([&] {
                    for (; gjorda < rader; ++gjorda)
                        m.db.kor("INSERT INTO Skyttar (Namn) VALUES (?)", {lang});
                });
            });
        });
        if (fel.nummer() == Felnummer::DiskenFull)
            QCOMPARE(fel.beskrivning(),
                     QStringLiteral("Disken är full: \"%1\" kan inte skrivas.").arg(m.sokvag));
        else
            QCOMPARE(fel.beskrivning(),
                     QStringLiteral("Läs- eller skrivfel i databasfilen \"%1\".").arg(m.sokvag));
        QCOMPARE(gjorda == rader, felVidCommit);
        QCOMPARE(m.djup(), 0);
        QCOMPARE(m.tal("SELECT COUNT(*) FROM Skyttar WHERE Namn = ?", {lang}), 0);
        QCOMPARE(m.db.varde("PRAGMA integrity_check").toString(), QStringLiteral("ok"));
        m.db.transaktion([&] { laggTillSkytt(m.db, "Efter"); });
        m.db.Close();
        QCOMPARE(sparadeSkyttar(m.sokvag), QStringList(50, QStringLiteral("Före"))
                                               << QStringLiteral("Efter"));
    }

    // A disk that fills up inside an inner transaction makes SQLite roll back the
    // whole transaction, the outer part included. The outer part must not go on
    // as if only the inner part had gone: its next statement fails, and however
    // the caller handles that, nothing of it reaches the file.
    void fullDiskIInreTransaktionAngrarDenYttre_data() {
        QTest::addColumn<bool>("yttreFangarAllt");
        QTest::newRow("yttre går vidare") << false;
        QTest::newRow("yttre fångar allt") << true;
    }
    void fullDiskIInreTransaktionAngrarDenYttre() {
        QFETCH(bool, yttreFangarAllt);
        OppnadMall m;
        const QString lang(400, 'x');
        Fel inre(0, QString());
        Fel nasta(0, QString());
        const Fel yttre = felet([&] {
            m.db.transaktion([&] {
                laggTillSkytt(m.db, "Yttre före");
                inre = medFilstorlekstak(QFileInfo(m.sokvag).size() + 16 * 1024, [&] {
                    return felet([&] {
                        m.db.transaktion([&] {
                            for (int i = 0; i < 20000; ++i)
                                m.db.kor("INSERT INTO Skyttar (Namn) VALUES (?)", {lang});
                        });
                    });
                });
                QCOMPARE(m.djup(), 1);
                nasta = felet([&] { laggTillSkytt(m.db, "Yttre efter"); });
                if (!yttreFangarAllt && nasta.nummer() != 0)
                    throw nasta;
            });
        });
        QVERIFY(inre.nummer() == Felnummer::DiskenFull || inre.nummer() == Felnummer::DiskEllerNatverksfel);
        QCOMPARE(nasta.nummer(), Felnummer::Databasfel);
        QCOMPARE(
            nasta.beskrivning(),
            QStringLiteral("Transaktionen i \"%1\" avbröts av databasen och har ångrats.").arg(m.sokvag));
        QCOMPARE(yttre.nummer(), Felnummer::Databasfel);
        QCOMPARE(m.djup(), 0);
        QCOMPARE(sparadeSkyttar(m.sokvag), QStringList());
        QCOMPARE(m.db.varde("PRAGMA integrity_check").toString(), QStringLiteral("ok"));
        m.db.transaktion([&] { laggTillSkytt(m.db, "Sedan"); });
        QCOMPARE(sparadeSkyttar(m.sokvag), QStringList({"Sedan"}));
    }

    // The competition's file is no longer at its path while it is open: its
    // folder renamed, the file replaced by another competition's, or moved away
    // and copied back (a copy is another file). SQLite goes on with the file it
    // opened and refuses to change it; the message names the cause, and no
    // change reaches the opened file or the one now at the path.
    void utbyttFilNamnsOchInteSkrivs_data() {
        QTest::addColumn<int>("hur");
        QTest::newRow("mappen bytte namn") << 0;
        QTest::newRow("annan fil på platsen") << 1;
        QTest::newRow("kopierad tillbaka") << 2;
    }
    void utbyttFilNamnsOchInteSkrivs() {
        QFETCH(int, hur);
        Testmiljo t;
        const QString mapp = t.fil(QStringLiteral("Cup"));
        const QString sokvag = mapp + QStringLiteral("/Cup.air");
        Databas db;
        QVERIFY(oppnaMedEnSkytt(db, sokvag));

        // Where the opened file is now, and what lies at its path.
        QString oppnad = sokvag;
        QString paPlatsen;
        if (hur == 0) {
            QVERIFY(QDir().rename(mapp, t.fil(QStringLiteral("Cup2"))));
            oppnad = t.fil(QStringLiteral("Cup2/Cup.air"));
        } else {
            oppnad = t.fil(QStringLiteral("Undan.air"));
            QVERIFY(QFile::rename(sokvag, oppnad));
            QVERIFY(QFile::copy(hur == 1 ? Testmiljo::mallSokvag() : oppnad, sokvag));
            QVERIFY(QFile::setPermissions(sokvag, QFile::ReadOwner | QFile::WriteOwner));
            paPlatsen = sokvag;
        }
        const QString text =
            QStringLiteral("Databasfilen \"%1\" har flyttats, tagits bort eller bytts ut sedan "
                           "tävlingen öppnades, så ändringen kunde inte sparas. Stäng "
                           "tävlingen och öppna den igen.")
                .arg(sokvag);
        for (const Fel& fel : {felet([&] { db.transaktion([&] { laggTillSkytt(db, "Ny"); }); }),
                               felet([&] { laggTillSkytt(db, "Ny"); }),
                               felet([&] { db.kor("UPDATE Skyttar SET Namn = 'Ändrad'"); })}) {
            QCOMPARE(fel.nummer(), Felnummer::DatabasfilSaknas);
            QCOMPARE(fel.beskrivning(), text);
        }
        QCOMPARE(db.transaktionsdjup(), 0);
        // What was stored before can still be read from the opened file.
        QCOMPARE(namn(db), QStringList({"Före"}));
        db.Close();
        QCOMPARE(sparadeSkyttar(oppnad), QStringList({"Före"}));
        if (!paPlatsen.isEmpty())
            QCOMPARE(sparadeSkyttar(paPlatsen), hur == 1 ? QStringList() : QStringList({"Före"}));
    }

    // A folder that cannot be written takes no journal, so no change can be
    // made, though the file itself is writable: the message says so.
    void skrivskyddadMappNamns() {
        if (korSomVanligAnvandare("skrivskyddadMappNamns"))
            return;
        Testmiljo t;
        const QString mapp = t.fil(QStringLiteral("Cup"));
        const QString sokvag = mapp + QStringLiteral("/Cup.air");
        Databas db;
        QVERIFY(oppnaMedEnSkytt(db, sokvag));
        const QFile::Permissions forut = QFile::permissions(mapp);
        QVERIFY(QFile::setPermissions(mapp, QFile::ReadOwner | QFile::ExeOwner));
        const Fel iTransaktion = felet([&] { db.transaktion([&] { laggTillSkytt(db, "Ny"); }); });
        const Fel ensam = felet([&] { laggTillSkytt(db, "Ny"); });
        QVERIFY(QFile::setPermissions(mapp, forut));
        for (const Fel& fel : {iTransaktion, ensam}) {
            QCOMPARE(fel.nummer(), Felnummer::DatabasKanInteOppnas);
            QCOMPARE(fel.beskrivning(),
                     QStringLiteral("Mappen \"%1\" går inte att skriva i, så ändringar i databasfilen \"%2\" "
                                    "kan inte sparas. Stäng tävlingen och öppna den igen när mappen går att "
                                    "skriva i.")
                         .arg(mapp, sokvag));
        }
        QCOMPARE(db.transaktionsdjup(), 0);
        db.Close();
        QCOMPARE(sparadeSkyttar(sokvag), QStringList({"Före"}));
    }

    // Writable means writable for this user, the journal's folder included; a
    // file with no write bit is refused for root too.
    void skrivbarFil() {
        Testmiljo t;
        const QString sokvag = t.kopieraMall(QStringLiteral("Cup.air"));
        QVERIFY(Databas::arSkrivbar(sokvag));
        QVERIFY(!Databas::arSkrivbar(t.fil(QStringLiteral("Saknas.air"))));
        QVERIFY(!Databas::arSkrivbar(t.mapp()));
        const QFile::Permissions las = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        QVERIFY(QFile::setPermissions(sokvag, las));
        QVERIFY(!Databas::arSkrivbar(sokvag));
        QVERIFY(QFile::setPermissions(sokvag, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(t.mapp(), QFile::ReadOwner | QFile::ExeOwner));
        const bool iSkyddadMapp = Databas::arSkrivbar(sokvag);
        QFile::setPermissions(t.mapp(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!iSkyddadMapp);

        if (korSomVanligAnvandare("skrivbarFil"))
            return;
        QVERIFY(QFile::setPermissions(sokvag, las | QFile::WriteGroup | QFile::WriteOther));
        QVERIFY(!Databas::arSkrivbar(sokvag));
        QVERIFY(!Databas::arSkrivbar(QStringLiteral("/etc/passwd")));
    }

    void framandeFilerVagras_data() {
        QTest::addColumn<QByteArray>("innehall");
        QTest::addColumn<QString>("iMeddelandet");
        QByteArray jet(2048, '\0');
        jet.replace(0, 19, QByteArray("\x00\x01\x00\x00Standard Jet DB", 19));
        QTest::newRow("jet") << jet << "Access-databas";
        QTest::newRow("text") << QByteArray("inte en databas\n") << "ingen tävlingsdatabas";
        QTest::newRow("tom") << QByteArray() << "ingen tävlingsdatabas";
        QFile mall(Testmiljo::mallSokvag());
        QVERIFY(mall.open(QIODevice::ReadOnly));
        // SQLite keeps the application id in bytes 68..71 of the file.
        QTest::newRow("sqlite utan vårt id")
            << mall.readAll().replace(68, 4, QByteArray(4, '\0')) << "ingen tävlingsdatabas";
        QTest::newRow("saknas") << QByteArray() << "finns inte";
    }
    // A file that is no competition database of ours, or none at all, is
    // refused before it is opened, and stays as it was.
    void framandeFilerVagras() {
        QFETCH(QByteArray, innehall);
        QFETCH(QString, iMeddelandet);
        Testmiljo t;
        const QString sokvag = t.fil(QStringLiteral("Gammal.air"));
        const bool saknas = iMeddelandet == QLatin1String("finns inte");
        if (!saknas) {
            QFile f(sokvag);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(innehall);
        }
        Databas db;
        const Fel fel = felet([&] { db.Open(sokvag); });
        QCOMPARE(fel.nummer(), saknas ? Felnummer::DatabasfilSaknas : Felnummer::OkantDatabasformat);
        QVERIFY2(fel.beskrivning().contains(iMeddelandet), qPrintable(fel.beskrivning()));
        QVERIFY(!db.IsOpen());
        QFile f(sokvag);
        QCOMPARE(f.exists(), !saknas);
        if (!saknas) {
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), innehall);
        }
    }

    // A snapshot holds one committed state: a journal left by a write cut
    // short is played back first, and a writer that holds the database for a
    // while is waited for.
    void ogonblicksbild_data() {
        QTest::addColumn<bool>("hetJournal");
        QTest::newRow("het journal") << true;
        QTest::newRow("skrivare en sekund") << false;
    }
    void ogonblicksbild() {
        QFETCH(bool, hetJournal);
        Testmiljo t;
        const QString kalla = t.fil(u"Cup.air"_s);
        const QString kopia = t.fil(u"Kopia.air"_s);
        std::thread skrivare;
        QSemaphore tagen;
        if (hetJournal) {
            databasMedHetJournal(kalla);
        } else {
            Databas db;
            QVERIFY(oppnaMedEnSkytt(db, kalla));
            skrivare = std::thread([&] {
                sqlite3* annan = nullptr;
                sqlite3_open(QFile::encodeName(kalla).constData(), &annan);
                sqlite3_exec(annan, "BEGIN EXCLUSIVE; INSERT INTO Skyttar (Namn) VALUES ('Under')", nullptr,
                             nullptr, nullptr);
                tagen.release();
                QThread::sleep(1);
                sqlite3_exec(annan, "COMMIT", nullptr, nullptr, nullptr);
                sqlite3_close(annan);
            });
            tagen.acquire();
        }
        const int fel = Databas::ogonblicksbild(kalla, kopia);
        if (skrivare.joinable())
            skrivare.join();
        QCOMPARE(fel, 0);
        Databas db;
        db.Open(kopia);
        if (hetJournal) {
            QCOMPARE(db.varde(u"SELECT COUNT(*) FROM Prov"_s).toInt(), 500);
            QCOMPARE(db.varde(u"SELECT COUNT(*) FROM Prov WHERE x LIKE 'ändrad%'"_s).toInt(), 0);
        } else {
            QCOMPARE(namn(db), QStringList({u"Före"_s, u"Under"_s}));
        }
    }

    void jamforelse() {
        // Each row in Swedish order; ü sorts as y, after it when all else is equal.
        const QList<QList<const char*>> ordningar = {{"", "9", "a", "z", "å", "ä", "æ", "ö"},
                                                     {"e", "é", "f"},
                                                     {"v", "y", "ü", "z"},
                                                     {"Anna", "Anna-Lena", "Vera", "Über", "Ylva"}};
        for (const auto& ordning : ordningar)
            for (qsizetype i = 1; i < ordning.size(); ++i)
                for (qsizetype j = 0; j < i; ++j)
                    QVERIFY2(jamforSvenska(ordning[j], ordning[i]) < 0 &&
                                 jamforSvenska(ordning[i], ordning[j]) > 0,
                             ordning[i]);
        QCOMPARE(jamforSvenska("ÅSA", "åsa"), 0);
        QCOMPARE(jamforSvenska("Ü", "ü"), 0);
    }
};

QTEST_GUILESS_MAIN(TestDatabas)
#include "test_databas.moc"
