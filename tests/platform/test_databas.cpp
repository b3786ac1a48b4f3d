#include "common/Fel.h"
#include "platform/Databas.h"
#include "platform/SvenskSortering.h"
#include "support/Testmiljo.h"
#include "support/VanligAnvandare.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {
QStringList kolumn(QSqlQuery q) {
    QStringList ut;
    while (q.next())
        ut << q.value(0).toString();
    return ut;
}

void laggTillSkytt(const Databas& db, const char* namn) {
    db.kor(QStringLiteral("INSERT INTO Skyttar (Namn) VALUES (?)"), {QString::fromUtf8(namn)});
}

// The shooters after the placeholder, as another connection sees them: only what
// was committed.
QStringList sparadeSkyttar(const QString& sokvag) {
    Databas annan;
    annan.Open(sokvag);
    return kolumn(
        annan.kor(QStringLiteral("SELECT Namn FROM Skyttar WHERE Löpnummer <> 1 ORDER BY Löpnummer")));
}

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
    void mallensTabeller() {
        Testmiljo t;
        Databas db;
        db.Open(t.kopieraMall(QStringLiteral("Cup.air")));
        const QStringList tabeller =
            kolumn(db.kor(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT "
                                         "LIKE 'sqlite%' ORDER BY name")));
        QStringList vantade = {
            "Lag",         "Lagtävling",   "Mixadeklasser", "Nationellaklasser",  "SammanslagningKlasser",
            "Skjutlag",    "Skjuttider",   "Skyttar",       "Sportskytteklasser", "TempKlasser",
            "TempSkyttar", "Tävlings omg", "Utskriftsval"};
        QStringList sorterade = tabeller;
        sorterade.sort();
        vantade.sort();
        QCOMPARE(sorterade, vantade);
        for (const char* klasser : {"Sportskytteklasser", "Nationellaklasser", "Mixadeklasser"})
            QVERIFY(db.varde(QStringLiteral("SELECT COUNT(*) FROM ") + QString::fromLatin1(klasser)).toInt() >
                    0);
        QCOMPARE(db.varde(QStringLiteral(
                              "SELECT COUNT(*) FROM Mixadeklasser WHERE [Sport/Nat] NOT IN ('Sport','Nat')"))
                     .toInt(),
                 0);
        QCOMPARE(db.varde(QStringLiteral("SELECT COUNT(*) FROM Nationellaklasser WHERE [Antal skott] > 40"))
                     .toInt(),
                 0);
        QCOMPARE(
            kolumn(db.kor(QStringLiteral("SELECT FältNamn FROM Utskriftsval WHERE FältNamn IN "
                                         "('Namn','Förening','Födelseår','Aktivitetskort','SkyttekortNr')")))
                .size(),
            5);
    }

    // The placeholder is shooter 1, the next shooter gets 2, and what a new shooter
    // or lane leaves out takes the defaults the program relies on.
    void platshallareOchStandardvarden() {
        Testmiljo t;
        Databas db;
        db.Open(t.kopieraMall(QStringLiteral("Cup.air")));
        QCOMPARE(db.varde(QStringLiteral("SELECT COUNT(*) FROM Skyttar")).toInt(), 1);
        QCOMPARE(db.varde(QStringLiteral("SELECT Namn FROM Skyttar WHERE Löpnummer = 1")).toString(),
                 QString());
        db.kor(QStringLiteral("INSERT INTO Skyttar (Namn, Efternamn, Klass, Startnr) VALUES (?, ?, ?, ?)"),
               {QStringLiteral("Åsa"), QStringLiteral("Öberg"), QStringLiteral("D"), 12});
        QSqlQuery q =
            db.kor(QStringLiteral("SELECT Löpnummer, Res1, Totalt60, Lag, TioNior, Särskjutning, Man1098, "
                                  "SfST12 FROM Skyttar WHERE Efternamn = ?"),
                   {QStringLiteral("öberg")});
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 2);
        QCOMPARE(q.value(1).toInt(), 0);
        QCOMPARE(q.value(2).toInt(), 0);
        QCOMPARE(q.value(3).toInt(), 0);
        QCOMPARE(q.value(4).toString(), QStringLiteral("0,0,0,0,0,0,0,0,0,0"));
        QCOMPARE(q.value(5).toDouble(), 0.0);
        QCOMPARE(q.value(6).toInt(), 0);
        QCOMPARE(q.value(7).toString(), QStringLiteral("00000"));
        // A deleted last row never gives its number away again.
        db.kor(QStringLiteral("DELETE FROM Skyttar WHERE Löpnummer = 2"));
        db.kor(QStringLiteral("INSERT INTO Skyttar (Namn) VALUES (?)"), {QStringLiteral("Bo")});
        QCOMPARE(db.varde(QStringLiteral("SELECT MAX(Löpnummer) FROM Skyttar")).toInt(), 3);

        db.kor(QStringLiteral("INSERT INTO Skjutlag (Skjutlag, Bana) VALUES (?, ?)"), {1, 1});
        QCOMPARE(db.varde(QStringLiteral("SELECT Startnummer FROM Skjutlag")).toInt(), 1);
        db.kor(QStringLiteral(
                   "INSERT INTO Sportskytteklasser (Klass, Klassnamn, [Antal skott]) VALUES (?, ?, ?)"),
               {QStringLiteral("X"), QStringLiteral("Extra"), 30});
        QCOMPARE(
            db.varde(QStringLiteral("SELECT Sammanslagen FROM Sportskytteklasser WHERE Klass = 'x'")).toInt(),
            0);
    }

    void felTypVagras() {
        Testmiljo t;
        Databas db;
        db.Open(t.kopieraMall(QStringLiteral("Cup.air")));
        QVERIFY_THROWS_EXCEPTION(Fel, db.kor(QStringLiteral("INSERT INTO Skyttar (Startnr) VALUES (?)"),
                                             {QStringLiteral("tolv")}));
        QVERIFY_THROWS_EXCEPTION(Fel, db.kor(QStringLiteral("INSERT INTO Skyttar (Klass) VALUES (?)"),
                                             {QStringLiteral("SJUTECK")}));
        QVERIFY_THROWS_EXCEPTION(Fel, db.kor(QStringLiteral("INSERT INTO Skyttar (Res1) VALUES (?)"), {51}));
        QCOMPARE(db.varde(QStringLiteral("SELECT COUNT(*) FROM Skyttar")).toInt(), 1);
    }

    void svenskOrdningOchSkiftlageslikhet() {
        Testmiljo t;
        Databas db;
        db.Open(t.kopieraMall(QStringLiteral("Cup.air")));
        for (const char* f :
             {"Öst", "åby", "Ärla", "Zeta", "alfa", "Bravo", "ÅBY", "Émile", "Eva", "Ylva", "Über"})
            db.kor(QStringLiteral("INSERT INTO Skyttar (Förening) VALUES (?)"), {QString::fromUtf8(f)});
        const QStringList ordning = kolumn(db.kor(QStringLiteral(
            "SELECT Förening FROM Skyttar WHERE Löpnummer <> 1 GROUP BY Förening ORDER BY Förening")));
        QCOMPARE(ordning.size(), 10); // åby and ÅBY are one club
        // é sorts as e, so "Émile" before "Eva" (m before v).
        QCOMPARE(ordning.mid(0, 4), QStringList({"alfa", "Bravo", "Émile", "Eva"}));
        QCOMPARE(ordning.mid(4).join(QLatin1Char(' ')).toLower(),
                 QStringLiteral("über ylva zeta åby ärla öst"));
        QCOMPARE(db.varde(QStringLiteral("SELECT COUNT(*) FROM Skyttar WHERE Förening = ?"),
                          {QStringLiteral("ÅBY")})
                     .toInt(),
                 2);
    }

    void likeIgnorerarSkiftlageISvenska() {
        Testmiljo t;
        Databas db;
        db.Open(t.kopieraMall(QStringLiteral("Cup.air")));
        for (const char* n : {"Åsa", "ÅSA", "åsa", "Asa", "Åke", "Öberg", "Émile", "Emil", "Ärla"})
            laggTillSkytt(db, n);
        auto hitta = [&](const char* villkor, const QVariantList& varden = {}) {
            return kolumn(db.kor(QStringLiteral("SELECT Namn FROM Skyttar WHERE Löpnummer <> 1 AND ") +
                                     QString::fromUtf8(villkor) + QStringLiteral(" ORDER BY Löpnummer"),
                                 varden));
        };
        QCOMPARE(hitta("Namn LIKE 'åsa%'"), QStringList({"Åsa", "ÅSA", "åsa"}));
        QCOMPARE(hitta("Namn LIKE 'ÅSA'"), QStringList({"Åsa", "ÅSA", "åsa"}));
        QCOMPARE(hitta("Namn LIKE 'ö%'"), QStringList({"Öberg"}));
        QCOMPARE(hitta("Namn LIKE 'émile'"), QStringList({"Émile"}));
        QCOMPARE(hitta("Namn LIKE '%RL_'"), QStringList({"Ärla"}));
        QCOMPARE(hitta("Namn LIKE '_sa'"), QStringList({"Åsa", "ÅSA", "åsa", "Asa"}));
        QCOMPARE(hitta("Namn NOT LIKE '%a%'"), QStringList({"Åke", "Öberg", "Émile", "Emil"}));
        QCOMPARE(hitta("Namn LIKE ?", {QStringLiteral("ä%")}), QStringList({"Ärla"}));
        // * and ? are GLOB's wildcards, never LIKE's.
        QCOMPARE(hitta("Namn LIKE 'Å*'"), QStringList());
        QCOMPARE(hitta("Namn LIKE '?sa'"), QStringList());
        QVERIFY(db.varde(QStringLiteral("SELECT NULL LIKE 'a'")).isNull());
        QVERIFY(db.varde(QStringLiteral("SELECT 'a' LIKE NULL")).isNull());
    }

    void likeMedEscape() {
        Testmiljo t;
        Databas db;
        db.Open(t.kopieraMall(QStringLiteral("Cup.air")));
        auto liknar = [&](const char* text, const char* monster, const char* flykt) {
            return db
                .varde(QStringLiteral("SELECT ? LIKE ? ESCAPE ?"),
                       {QString::fromUtf8(text), QString::fromUtf8(monster), QString::fromUtf8(flykt)})
                .toInt();
        };
        QCOMPARE(liknar("100%", "100!%", "!"), 1);
        QCOMPARE(liknar("1000", "100!%", "!"), 0);
        QCOMPARE(liknar("a_b", "A!_B", "!"), 1);
        QCOMPARE(liknar("axb", "a!_b", "!"), 0);
        QCOMPARE(liknar("a!b", "a!!b", "!"), 1);
        QCOMPARE(liknar("ÅSA%", "åsaö%", "ö"), 1);
        QCOMPARE(liknar("ab", "ab!", "!"), 0);
        QVERIFY_THROWS_EXCEPTION(Fel, liknar("a", "a", "!!"));
        QVERIFY_THROWS_EXCEPTION(Fel, liknar("a", "a", ""));
    }

    void bokstavligtMonsterMatcharBaraSigSjalvt() {
        QCOMPARE(Databas::bokstavligtMonster(QStringLiteral("100%_a\\b*?'")),
                 QStringLiteral("100\\%\\_a\\\\b*?'"));
        Testmiljo t;
        Databas db;
        db.Open(t.kopieraMall(QStringLiteral("Cup.air")));
        for (const char* n : {"100%", "1000", "a*b", "axb", "ab", "a_b", "a\\b", "a\\\\b", "O'Brien", "Åsa"})
            laggTillSkytt(db, n);
        auto borjarMed = [&](const char* skrivet) {
            return kolumn(
                db.kor(QStringLiteral("SELECT Namn FROM Skyttar WHERE Löpnummer <> 1 AND Namn LIKE ? "
                                      "ESCAPE '\\' ORDER BY Löpnummer"),
                       {Databas::bokstavligtMonster(QString::fromUtf8(skrivet)) + QLatin1Char('%')}));
        };
        auto innehaller = [&](const char* skrivet) {
            return kolumn(
                db.kor(QStringLiteral("SELECT Namn FROM Skyttar WHERE Löpnummer <> 1 AND Namn LIKE ? "
                                      "ESCAPE '\\' ORDER BY Löpnummer"),
                       {QLatin1Char('%') + Databas::bokstavligtMonster(QString::fromUtf8(skrivet)) +
                        QLatin1Char('%')}));
        };
        QCOMPARE(borjarMed("100%"), QStringList({"100%"}));
        QCOMPARE(innehaller("%"), QStringList({"100%"}));
        QCOMPARE(borjarMed("a*b"), QStringList({"a*b"}));
        QCOMPARE(innehaller("*"), QStringList({"a*b"}));
        QCOMPARE(borjarMed("a_"), QStringList({"a_b"}));
        QCOMPARE(innehaller("_"), QStringList({"a_b"}));
        QCOMPARE(borjarMed("a\\b"), QStringList({"a\\b"}));
        QCOMPARE(innehaller("\\\\"), QStringList({"a\\\\b"}));
        QCOMPARE(borjarMed("o'b"), QStringList({"O'Brien"}));
        QCOMPARE(borjarMed("åS"), QStringList({"Åsa"}));
        QCOMPARE(borjarMed("").size(), 10);
    }

    void liknarDirekt() {
        QVERIFY(liknar("a%b%c", "aXbYbZc"));
        QVERIFY(liknar("%ab", "aab"));
        QVERIFY(liknar("%a_c%", "xxabxabcx"));
        QVERIFY(!liknar("%a_c", "xxabxabcx"));
        QVERIFY(liknar("%%", ""));
        QVERIFY(!liknar("_", ""));
        QVERIFY(liknar("ü%", "Über"));
        QVERIFY(!liknar("u%", "Über"));
        QVERIFY(liknar("Ø_", "øy"));
        QVERIFY(liknar(std::string(200, '%') + "b", std::string(5000, 'a') + "b"));
        QVERIFY(!liknar("%a%a%a%a%a%a%a%a%b", std::string(5000, 'a')));
    }

    void tionior_sorterasSomText() {
        Testmiljo t;
        Databas db;
        db.Open(t.kopieraMall(QStringLiteral("Cup.air")));
        db.kor(QStringLiteral("INSERT INTO Skyttar (Namn, TioNior) VALUES ('tio', '10,0,0,0,0,0,0,0,0,0')"));
        db.kor(QStringLiteral("INSERT INTO Skyttar (Namn, TioNior) VALUES ('nio', '9,1,0,0,0,0,0,0,0,0')"));
        QCOMPARE(kolumn(db.kor(
                     QStringLiteral("SELECT Namn FROM Skyttar WHERE Löpnummer <> 1 ORDER BY TioNior DESC"))),
                 QStringList({"nio", "tio"}));
    }

    void transaktionAngrasVidFel() {
        Testmiljo t;
        Databas db;
        db.Open(t.kopieraMall(QStringLiteral("Cup.air")));
        QVERIFY_THROWS_EXCEPTION(Fel, db.transaktion([&] {
            db.kor(QStringLiteral("INSERT INTO Skjutlag (Skjutlag, Bana) VALUES (1, 1)"));
            db.kor(QStringLiteral("INSERT INTO Skjutlag (Skjutlag, Bana) VALUES ('x', 2)"));
        }));
        QCOMPARE(db.varde(QStringLiteral("SELECT COUNT(*) FROM Skjutlag")).toInt(), 0);
        db.transaktion(
            [&] { db.kor(QStringLiteral("INSERT INTO Skjutlag (Skjutlag, Bana) VALUES (1, 1)")); });
        QCOMPARE(db.varde(QStringLiteral("SELECT COUNT(*) FROM Skjutlag")).toInt(), 1);
        QCOMPARE(db.varde(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("delete"));
        QCOMPARE(db.varde(QStringLiteral("PRAGMA synchronous")).toInt(), 2);
    }

    void inreTransaktionSomFallerFangas() {
        Testmiljo t;
        const QString sokvag = t.kopieraMall(QStringLiteral("Cup.air"));
        Databas db;
        db.Open(sokvag);
        db.transaktion([&] {
            laggTillSkytt(db, "Yttre före");
            QCOMPARE(db.transaktionsdjup(), 1);
            try {
                db.transaktion([&] {
                    QCOMPARE(db.transaktionsdjup(), 2);
                    laggTillSkytt(db, "Inre");
                    throw InreFel{};
                });
                QFAIL("the inner failure went missing");
            } catch (const InreFel&) {
            }
            QCOMPARE(db.transaktionsdjup(), 1);
            laggTillSkytt(db, "Yttre efter");
        });
        QCOMPARE(db.transaktionsdjup(), 0);
        QCOMPARE(sparadeSkyttar(sokvag), QStringList({"Yttre före", "Yttre efter"}));
    }

    void inreFelUtanFangstAngrarAllt() {
        Testmiljo t;
        const QString sokvag = t.kopieraMall(QStringLiteral("Cup.air"));
        Databas db;
        db.Open(sokvag);
        QVERIFY_THROWS_EXCEPTION(InreFel, db.transaktion([&] {
            laggTillSkytt(db, "Yttre");
            db.transaktion([&] {
                laggTillSkytt(db, "Inre");
                throw InreFel{};
            });
        }));
        QCOMPARE(db.transaktionsdjup(), 0);
        QCOMPARE(sparadeSkyttar(sokvag), QStringList());
        // An inner transaction that succeeded is undone with the outer one.
        QVERIFY_THROWS_EXCEPTION(InreFel, db.transaktion([&] {
            db.transaktion([&] { laggTillSkytt(db, "Inre klar"); });
            throw InreFel{};
        }));
        QCOMPARE(sparadeSkyttar(sokvag), QStringList());
        db.transaktion([&] { laggTillSkytt(db, "Sedan"); });
        QCOMPARE(sparadeSkyttar(sokvag), QStringList({"Sedan"}));
    }

    void treNivaer() {
        Testmiljo t;
        const QString sokvag = t.kopieraMall(QStringLiteral("Cup.air"));
        Databas db;
        db.Open(sokvag);
        db.transaktion([&] {
            laggTillSkytt(db, "1");
            db.transaktion([&] {
                laggTillSkytt(db, "2");
                try {
                    db.transaktion([&] {
                        QCOMPARE(db.transaktionsdjup(), 3);
                        laggTillSkytt(db, "3 bort");
                        db.kor(QStringLiteral("INSERT INTO Skyttar (Startnr) VALUES (?)"),
                               {QStringLiteral("tolv")});
                    });
                    QFAIL("the third level was committed");
                } catch (const Fel&) {
                }
                db.transaktion([&] { laggTillSkytt(db, "3 kvar"); });
                QCOMPARE(db.transaktionsdjup(), 2);
            });
            laggTillSkytt(db, "1 igen");
            // Nothing reaches the file before the outermost commit.
            QCOMPARE(sparadeSkyttar(sokvag), QStringList());
        });
        QCOMPARE(sparadeSkyttar(sokvag), QStringList({"1", "2", "3 kvar", "1 igen"}));
    }

    // A COMMIT that fails leaves SQLite's transaction open; it must not stay open
    // and take the next operation's work with it.
    void misslyckadCommitAngras() {
        Testmiljo t;
        const QString sokvag = t.kopieraMall(QStringLiteral("Cup.air"));
        Databas db;
        db.Open(sokvag);
        db.kor(QStringLiteral("CREATE TABLE Forald (Id INTEGER PRIMARY KEY)"));
        db.kor(QStringLiteral(
            "CREATE TABLE Barn (Forald INTEGER REFERENCES Forald (Id) DEFERRABLE INITIALLY DEFERRED)"));
        db.kor(QStringLiteral("PRAGMA foreign_keys = ON"));
        QVERIFY_THROWS_EXCEPTION(Fel, db.transaktion([&] {
            laggTillSkytt(db, "Med barnet");
            db.kor(QStringLiteral("INSERT INTO Barn (Forald) VALUES (?)"), {5});
        }));
        QCOMPARE(db.transaktionsdjup(), 0);
        QCOMPARE(db.varde(QStringLiteral("SELECT COUNT(*) FROM Barn")).toInt(), 0);
        db.transaktion([&] { laggTillSkytt(db, "Efter"); });
        QCOMPARE(sparadeSkyttar(sokvag), QStringList({"Efter"}));
    }

    void stangningNollstallerDjupet() {
        Testmiljo t;
        const QString sokvag = t.kopieraMall(QStringLiteral("Cup.air"));
        Databas db;
        db.Open(sokvag);
        QVERIFY_THROWS_EXCEPTION(Fel, db.transaktion([&] {
            db.transaktion([&] {
                laggTillSkytt(db, "Stängd");
                db.Close();
                QCOMPARE(db.transaktionsdjup(), 0);
            });
        }));
        QCOMPARE(db.transaktionsdjup(), 0);
        db.Open(sokvag);
        db.transaktion([&] {
            QCOMPARE(db.transaktionsdjup(), 1);
            laggTillSkytt(db, "Öppnad igen");
        });
        QCOMPARE(sparadeSkyttar(sokvag), QStringList({"Öppnad igen"}));
    }

    void skadadFilGerSvensktFel() {
        Testmiljo t;
        const QString sokvag = t.kopieraMall(QStringLiteral("Skadad.air"));
        {
            Databas db;
            db.Open(sokvag);
            const QString lang(300, QLatin1Char('x'));
            db.transaktion([&] {
                for (int i = 0; i < 4000; ++i)
                    db.kor(QStringLiteral("INSERT INTO Skyttar (Namn, Efternamn) VALUES (?, ?)"),
                           {lang, QString::number(i)});
            });
        }
        QFile f(sokvag);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.size() > 1000000);
        f.seek(f.size() / 2 / 4096 * 4096);
        f.write(QByteArray(64 * 1024, '\x5a'));
        f.close();

        const Fel fel = felet([&] {
            Databas db;
            db.Open(sokvag);
            db.varde(QStringLiteral("SELECT SUM(length(Namn) + length(Efternamn)) FROM Skyttar"));
        });
        QCOMPARE(fel.nummer(), Felnummer::DatabasSkadad);
        QCOMPARE(fel.beskrivning(), QStringLiteral("Databasfilen \"%1\" är skadad.").arg(sokvag));
    }

    void skrivskyddadFilGerSvensktFel() {
        if (korSomVanligAnvandare("skrivskyddadFilGerSvensktFel"))
            return;
        Testmiljo t;
        const QString sokvag = t.kopieraMall(QStringLiteral("Skyddad.air"));
        QVERIFY(QFile::setPermissions(sokvag, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        Databas db;
        db.Open(sokvag);
        QCOMPARE(db.varde(QStringLiteral("SELECT COUNT(*) FROM Skyttar")).toInt(), 1);
        for (const Fel& fel : {felet([&] { laggTillSkytt(db, "Ny"); }),
                               felet([&] { db.transaktion([&] { laggTillSkytt(db, "Ny"); }); })}) {
            QCOMPARE(fel.nummer(), Felnummer::DatabasSkrivskyddad);
            QCOMPARE(fel.beskrivning(), QStringLiteral("Databasfilen \"%1\" är skrivskyddad.").arg(sokvag));
        }
        QCOMPARE(db.transaktionsdjup(), 0);
    }

    void lastFilGerSvensktFel() {
        Testmiljo t;
        const QString sokvag = t.kopieraMall(QStringLiteral("Last.air"));
        Databas forsta, andra;
        forsta.Open(sokvag);
        andra.Open(sokvag);
        andra.kor(QStringLiteral("PRAGMA busy_timeout = 0")); // not 20 s of waiting in a test
        forsta.transaktion([&] {
            laggTillSkytt(forsta, "Först");
            const Fel fel = felet([&] { laggTillSkytt(andra, "Sedan"); });
            QCOMPARE(fel.nummer(), Felnummer::DatabasAnvands);
            QCOMPARE(fel.beskrivning(),
                     QStringLiteral("Databasfilen \"%1\" används av ett annat program.").arg(sokvag));
        });
        QCOMPARE(sparadeSkyttar(sokvag), QStringList({"Först"}));
    }

    void ovrigaFelNamnerFilenPaSvenska() {
        Testmiljo t;
        const QString sokvag = t.kopieraMall(QStringLiteral("Cup.air"));
        Databas db;
        db.Open(sokvag);
        const Fel fel = felet([&] { db.kor(QStringLiteral("SELECT * FROM Saknas")); });
        QCOMPARE(fel.nummer(), Felnummer::Databasfel);
        QVERIFY2(fel.beskrivning().startsWith(
                     QStringLiteral("Databasfel i \"%1\" (no such table: Saknas)").arg(sokvag)),
                 qPrintable(fel.beskrivning()));
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
        Testmiljo t;
        const QString sokvag = t.kopieraMall(QStringLiteral("Full.air"));
        Databas db;
        db.Open(sokvag);
        db.transaktion([&] {
            for (int i = 0; i < 50; ++i)
                laggTillSkytt(db, "Före");
        });
        const QString lang(400, QLatin1Char('x'));

        std::signal(SIGXFSZ, SIG_IGN);
        rlimit forut{};
        getrlimit(RLIMIT_FSIZE, &forut);
        rlimit tak = forut;
        tak.rlim_cur = QFileInfo(sokvag).size() + 16 * 1024;
        setrlimit(RLIMIT_FSIZE, &tak);
        int gjorda = 0;
        const Fel fel = felet([&] {
            db.transaktion([&] {
                for (; gjorda < rader; ++gjorda)
                    db.kor(QStringLiteral("INSERT INTO Skyttar (Namn) VALUES (?)"), {lang});
            });
        });
        setrlimit(RLIMIT_FSIZE, &forut);
        std::signal(SIGXFSZ, SIG_DFL);

        if (fel.nummer() == Felnummer::DiskenFull)
            QCOMPARE(fel.beskrivning(),
                     QStringLiteral("Disken är full: \"%1\" kan inte skrivas.").arg(sokvag));
        else
            QCOMPARE(fel.beskrivning(),
                     QStringLiteral("Läs- eller skrivfel i databasfilen \"%1\".").arg(sokvag));
        QCOMPARE(gjorda == rader, felVidCommit);
        QCOMPARE(db.transaktionsdjup(), 0);
        QCOMPARE(db.varde(QStringLiteral("SELECT COUNT(*) FROM Skyttar WHERE Namn = ?"), {lang}).toInt(), 0);
        QCOMPARE(db.varde(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        db.transaktion([&] { laggTillSkytt(db, "Efter"); });
        db.Close();
        QCOMPARE(sparadeSkyttar(sokvag), QStringList(50, QStringLiteral("Före")) << QStringLiteral("Efter"));
    }

    void skrivbarFil() {
        Testmiljo t;
        const QString sokvag = t.kopieraMall(QStringLiteral("Cup.air"));
        QVERIFY(Databas::arSkrivbar(sokvag));
        QVERIFY(!Databas::arSkrivbar(t.fil(QStringLiteral("Saknas.air"))));
        QVERIFY(!Databas::arSkrivbar(t.mapp()));
        // No write bit: refused for root too.
        QVERIFY(QFile::setPermissions(sokvag, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(!Databas::arSkrivbar(sokvag));
        QVERIFY(QFile::setPermissions(sokvag, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(Databas::arSkrivbar(sokvag));
        // The journal is made beside the file.
        const QFile::Permissions mapp = QFile::permissions(t.mapp());
        QVERIFY(QFile::setPermissions(t.mapp(), QFile::ReadOwner | QFile::ExeOwner));
        const bool iSkyddadMapp = Databas::arSkrivbar(sokvag);
        QFile::setPermissions(t.mapp(), mapp);
        QVERIFY(!iSkyddadMapp);
    }

    // The bits that count are this user's, not anyone's.
    void skrivbarForAnvandaren() {
        if (korSomVanligAnvandare("skrivbarForAnvandaren"))
            return;
        Testmiljo t;
        const QString sokvag = t.kopieraMall(QStringLiteral("Cup.air"));
        QVERIFY(QFile::setPermissions(sokvag, QFile::ReadOwner | QFile::ReadGroup | QFile::WriteGroup |
                                                  QFile::ReadOther | QFile::WriteOther));
        QVERIFY(!Databas::arSkrivbar(sokvag));
        QVERIFY(QFile::setPermissions(sokvag, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(Databas::arSkrivbar(sokvag));
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
    }
    void framandeFilerVagras() {
        QFETCH(QByteArray, innehall);
        QFETCH(QString, iMeddelandet);
        Testmiljo t;
        const QString sokvag = t.fil(QStringLiteral("Gammal.air"));
        QFile f(sokvag);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(innehall);
        f.close();
        Databas db;
        try {
            db.Open(sokvag);
            QFAIL("opened");
        } catch (const Fel& fel) {
            QCOMPARE(fel.nummer(), Felnummer::OkantDatabasformat);
            QVERIFY2(fel.beskrivning().contains(iMeddelandet), qPrintable(fel.beskrivning()));
        }
        QVERIFY(!db.IsOpen());
        QFile l(sokvag);
        QVERIFY(l.open(QIODevice::ReadOnly));
        QCOMPARE(l.readAll(), innehall);
    }

    void sqliteUtanVartIdVagras() {
        Testmiljo t;
        const QString sokvag = t.fil(QStringLiteral("Annan.air"));
        {
            QSqlDatabase annan =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("annan"));
            annan.setDatabaseName(sokvag);
            QVERIFY(annan.open());
            QSqlQuery(annan).exec(QStringLiteral("CREATE TABLE x (a)"));
            annan.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("annan"));
        Databas db;
        QVERIFY_THROWS_EXCEPTION(Fel, db.Open(sokvag));
    }

    void saknadFilSkapasInte() {
        Testmiljo t;
        Databas db;
        const QString sokvag = t.fil(QStringLiteral("Saknas.air"));
        try {
            db.Open(sokvag);
            QFAIL("opened");
        } catch (const Fel& fel) {
            QCOMPARE(fel.nummer(), Felnummer::DatabasfilSaknas);
        }
        QVERIFY(!QFileInfo::exists(sokvag));
    }

    void jamforelse() {
        auto j = [](const char* a, const char* b) { return jamforSvenska(a, b); };
        QVERIFY(j("z", "å") < 0);
        QVERIFY(j("å", "ä") < 0);
        QVERIFY(j("ä", "ö") < 0);
        QVERIFY(j("æ", "ö") < 0 && j("ä", "æ") < 0);
        QCOMPARE(j("ÅSA", "åsa"), 0);
        QVERIFY(j("e", "é") < 0 && j("é", "f") < 0);
        // ü sorts as y, after it when all else is equal.
        QVERIFY(j("v", "ü") < 0);
        QVERIFY(j("y", "ü") < 0 && j("ü", "z") < 0);
        QVERIFY(j("Über", "Ylva") < 0 && j("Vera", "Über") < 0);
        QCOMPARE(j("Ü", "ü"), 0);
        QVERIFY(j("Anna", "Anna-Lena") < 0);
        QVERIFY(j("9", "a") < 0);
        QVERIFY(j("", "a") < 0);
    }
};

QTEST_GUILESS_MAIN(TestDatabas)
#include "test_databas.moc"
