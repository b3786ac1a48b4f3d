#include "common/IniNamn.h"
#include "platform/Databas.h"
#include "platform/Windows1252.h"
#include "platform/clsIni.h"
#include "shell/NyTavling.h"
#include "shell/modGlobalt.h"
#include "support/TestMeddelanden.h"
#include "support/Testmiljo.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QThread>
#include <cstdio>

using namespace NyTavling;

class TestNyTavling : public QObject {
    Q_OBJECT

    struct Miljo {
        Testmiljo t;
        modGlobalt g;
        TestMeddelanden m;
        Miljo() {
            QFile::copy(Testmiljo::mallSokvag(), t.fil(QStringLiteral("Pilkrona.mdb")));
            g.strProgrammapp = t.mapp();
            g.iniProgram.setPath(t.fil(QStringLiteral("Pilkrona.ini")));
            QDir().mkdir(t.fil(QStringLiteral("Tävlingar")));
        }
        Uppgifter uppgifter(const QString& namn, Typ typ = Typ::Nationellt, bool flera = false) {
            Uppgifter u;
            u.namn = namn;
            u.antalBanor = QStringLiteral("10");
            u.datum = QStringLiteral("6 december 2026");
            u.typ = typ;
            u.fleraTavlingar = flera;
            u.sokvag = t.fil(QStringLiteral("Tävlingar")); // no trailing separator, as typed
            return u;
        }
    };

    // The first row of a query, its columns as texts.
    static QStringList rad(const Databas& db, const QString& sql) {
        QSqlQuery q = db.kor(sql);
        QStringList svar;
        if (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                svar << q.value(i).toString();
        return svar;
    }
    static QStringList inirader(const QString& sokvag) {
        QFile f(sokvag);
        f.open(QIODevice::ReadOnly);
        return Windows1252::tillText(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }

private slots:
    // The lane count is written as a number, whatever blanks and zeros it was typed with.
    void nationellTavlingSkapas() {
        Miljo mj;
        Uppgifter u = mj.uppgifter(QStringLiteral("Cup"));
        u.antalBanor = QStringLiteral(" 010 ");
        QVERIFY(skapa(mj.g, mj.m, u));
        QVERIFY2(mj.m.visade.isEmpty(), qPrintable(mj.m.senasteText()));
        const QString mapp = mj.t.fil(QStringLiteral("Tävlingar/Cup/"));
        QCOMPARE(mj.g.strTavlingsmapp, mapp);
        QCOMPARE(mj.g.strTavlingsdatabas, mapp + QStringLiteral("Cup.air"));
        QCOMPARE(mj.g.strTavlingsnamn, QStringLiteral("Cup"));
        QVERIFY(QFileInfo(mapp + QStringLiteral("Utskrifter")).isDir());
        QVERIFY(mj.g.cnnTavling.IsOpen());

        // The keys in the order they are written, with their sections.
        QCOMPARE(inirader(mapp + QStringLiteral("Cup.ini")),
                 QStringList({"[Lag]", "Lagtävling=0", "[Allmänt]", "Antal skjutlag=1", "Sportskytte=False",
                              "Nationellt=True", "Mix=False", "Flera tävlingar=0", "Skjutlagsstorlek=10",
                              "MajorVersion=1", "MinorVersion=0", "BuildVersion=47", "Datum=6 december 2026",
                              "[Resultat]", "Femskottsserier=1", "[Utskrifter]",
                              "Skjutlagslista med resultat=1", "[Tolkmaskin]", "Innertia=10,3"}));

        // One team competition of three, no rounds, every lane of squad 1 free.
        QCOMPARE(
            rad(mj.g.cnnTavling,
                QStringLiteral("SELECT Lagtävlingsnamn, [Antal skyttar], [Antal skott], Omg, [Sport/Nat], "
                               "(SELECT COUNT(*) FROM Lagtävling), (SELECT COUNT(*) FROM [Tävlings omg]), "
                               "(SELECT COUNT(*) FROM Skjutlag WHERE Skjutlag = 1 AND Startnummer = 1) "
                               "FROM Lagtävling")),
            QStringList({"Cup", "3", "40", "1", "Nat", "1", "0", "10"}));

        // The state is what the files say, as after an open.
        QVERIFY(mj.g.blnNationellt && !mj.g.blnSportskytte && !mj.g.blnMix);
        QCOMPARE(mj.g.intSkjutlagsstorlek, 10);
        QCOMPARE(mj.g.sngInnertia, 10.3);
        QCOMPARE(mj.g.strTavlingsdatum, QStringLiteral("6 december 2026"));
        QVERIFY(mj.g.blnSkjutlagslistaMedResultat);
        QVERIFY(!mj.g.blnLagtavling);
        QCOMPARE(mj.g.iniTavling.Path(), mapp + QStringLiteral("Cup.ini"));
        QCOMPARE(mj.g.iniProgram.GetKeyValue(Ini::Sektion::Sokvagar, QStringLiteral("Filnamn1"), QString()),
                 mj.g.strTavlingsdatabas);
    }

    void typerOchOmgangar_data() {
        QTest::addColumn<int>("typ");
        QTest::addColumn<QString>("sportNat");
        QTest::addColumn<int>("skott");
        QTest::newRow("sport") << int(Typ::Sportskytte) << "Sport" << 60;
        QTest::newRow("mix") << int(Typ::Mix) << "Sport" << 60;
    }
    void typerOchOmgangar() {
        QFETCH(int, typ);
        QFETCH(QString, sportNat);
        QFETCH(int, skott);
        Miljo mj;
        Uppgifter u = mj.uppgifter(QStringLiteral("Vår cup"), Typ(typ), true);
        u.antalBanor = QStringLiteral("999");
        u.datum.clear();
        QVERIFY(skapa(mj.g, mj.m, u));
        QCOMPARE(rad(mj.g.cnnTavling,
                     QStringLiteral("SELECT [Sport/Nat], [Antal skott], (SELECT COUNT(*) FROM Skjutlag), "
                                    "(SELECT MAX(Bana) FROM Skjutlag), o.Omg, o.Beskrivning FROM Lagtävling, "
                                    "[Tävlings omg] o")),
                 QStringList({sportNat, QString::number(skott), "999", "999", "1", "Vår cup"}));
        QVERIFY(mj.g.blnFleraTavlingar);
        QCOMPARE(mj.g.blnMix, typ == int(Typ::Mix));
        QCOMPARE(mj.g.blnSportskytte, typ == int(Typ::Sportskytte));
        QCOMPARE(mj.g.iniTavling.GetKeyValue(QStringLiteral("Allmänt"), QStringLiteral("Flera tävlingar"),
                                             QString()),
                 QStringLiteral("1"));
        QCOMPARE(mj.g.iniTavling.GetKeyValue(QStringLiteral("Allmänt"), QStringLiteral("Datum"),
                                             QStringLiteral("?")),
                 QString());
    }

    void felaktigaUppgifterVagras_data() {
        QTest::addColumn<QString>("namn");
        QTest::addColumn<QString>("banor");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("titel");
        const QString filfel = QStringLiteral("Du har skrivit in ett felaktigt filnamn/sökväg.");
        for (const char* namn : {"a/b", "a\\b", "c:d", "x*", "vad?", "\"q\"", "<a>", "a|b", ".", ".."})
            QTest::addRow("namn %s", namn) << QString::fromUtf8(namn) << "10" << filfel << "Fil fel.";
        const QString utanfor = QStringLiteral("Du måste ange en siffra mellan 1 och 999!");
        QTest::newRow("0 banor") << "Cup"
                                 << "0" << utanfor << "Fel antal banor";
        QTest::newRow("1000 banor") << "Cup"
                                    << "1000" << utanfor << "Fel antal banor";
        QTest::newRow("tomt") << "Cup"
                              << "" << utanfor << "Fel antal banor";
        QTest::newRow("för stort för ett tal") << "Cup"
                                               << "99999999999" << utanfor << "Fel antal banor";
        const QString siffror = QStringLiteral("Du får bara skriva siffror i fältet Antal banor!");
        QTest::newRow("bokstäver") << "Cup"
                                   << "tio" << siffror << "Fel tecken";
        QTest::newRow("minus") << "Cup"
                               << "-5" << siffror << "Fel tecken";
        QTest::newRow("decimal") << "Cup"
                                 << "9,5" << siffror << "Fel tecken";
        QTest::newRow("exponent") << "Cup"
                                  << "1e3" << siffror << "Fel tecken";
    }
    void felaktigaUppgifterVagras() {
        QFETCH(QString, namn);
        QFETCH(QString, banor);
        QFETCH(QString, text);
        QFETCH(QString, titel);
        Miljo mj;
        Uppgifter u = mj.uppgifter(namn);
        u.antalBanor = banor;
        QVERIFY(!skapa(mj.g, mj.m, u));
        QCOMPARE(mj.m.senasteText(), text);
        QCOMPARE(mj.m.visade.back().titel, titel);
        QVERIFY(QDir(mj.t.fil(QStringLiteral("Tävlingar"))).isEmpty());
        QVERIFY(!mj.g.tavlingOppen());
    }

    void sokvagar() {
        Miljo mj;
        Uppgifter u = mj.uppgifter(QStringLiteral("Cup"));
        u.sokvag = QStringLiteral("relativ/mapp");
        QVERIFY(!skapa(mj.g, mj.m, u));
        QCOMPARE(mj.m.senasteText(), QStringLiteral("Du har angett en enhet som inte finns!"));

        // A missing folder is made when the operator says yes, one level only.
        u.sokvag = mj.t.fil(QStringLiteral("Ny"));
        QVERIFY(!skapa(mj.g, mj.m, u)); // the unanswered question is a no
        QCOMPARE(mj.m.senasteText(), QStringLiteral("Sökvägen finns inte!\rSka den skapas?"));
        QCOMPARE(mj.m.visade.back().knappar, Meddelanden::Knappar::JaNej);
        QVERIFY(!QFileInfo::exists(u.sokvag));
        mj.m.svara(Meddelanden::Svar::Ja);
        QVERIFY(skapa(mj.g, mj.m, u));
        QVERIFY(QFileInfo::exists(mj.t.fil(QStringLiteral("Ny/Cup/Cup.air"))));

        u.sokvag = mj.t.fil(QStringLiteral("Saknas/Djup"));
        mj.m.svara(Meddelanden::Svar::Ja);
        QVERIFY(!skapa(mj.g, mj.m, u));
        QCOMPARE(mj.m.senasteText(), QStringLiteral("Fel 76, Felaktig sökväg angiven!"));
        QVERIFY(!QFileInfo::exists(mj.t.fil(QStringLiteral("Saknas"))));

        QFile fil(mj.t.fil(QStringLiteral("enfil")));
        QVERIFY(fil.open(QIODevice::WriteOnly));
        fil.close();
        u.sokvag = fil.fileName();
        QVERIFY(!skapa(mj.g, mj.m, u));
        QCOMPARE(mj.m.senasteText(), QStringLiteral("Felaktig sökväg angiven!"));
    }

    void sammaNamnTvaGanger() {
        Miljo mj;
        QVERIFY(skapa(mj.g, mj.m, mj.uppgifter(QStringLiteral("Cup"))));
        mj.g.cnnTavling.kor(QStringLiteral("INSERT INTO Skyttar (Namn) VALUES ('Kvar')"));
        mj.g.cnnTavling.Close();
        QVERIFY(!skapa(mj.g, mj.m, mj.uppgifter(QStringLiteral("Cup"), Typ::Mix)));
        QCOMPARE(mj.m.senasteText(), QStringLiteral("Det finns redan en sån tävling."));
        QVERIFY(!mj.g.tavlingOppen());
        // The first competition is untouched.
        clsIni ini(mj.t.fil(QStringLiteral("Tävlingar/Cup/Cup.ini")));
        QCOMPARE(ini.GetKeyValue(QStringLiteral("Allmänt"), QStringLiteral("Nationellt"), QString()),
                 QStringLiteral("True"));
        Databas db;
        db.Open(mj.t.fil(QStringLiteral("Tävlingar/Cup/Cup.air")));
        QCOMPARE(db.varde(QStringLiteral("SELECT COUNT(*) FROM Skyttar")).toInt(), 2);
    }

    // A failure after the first files were made takes them away again, and the
    // next attempt works.
    void misslyckandeStadasBort() {
        Miljo mj;
        QFile::remove(mj.t.fil(QStringLiteral("Pilkrona.mdb")));
        QVERIFY(!skapa(mj.g, mj.m, mj.uppgifter(QStringLiteral("Cup"))));
        QVERIFY(mj.m.senasteText().startsWith(QStringLiteral("frmNyTävling.SkapaTävling: 53 ")));
        QVERIFY(QDir(mj.t.fil(QStringLiteral("Tävlingar"))).isEmpty());
        QVERIFY(!mj.g.tavlingOppen());

        // The INI cannot be written: a folder stands where the file should be.
        QFile::copy(Testmiljo::mallSokvag(), mj.t.fil(QStringLiteral("Pilkrona.mdb")));
        QVERIFY(QDir().mkpath(mj.t.fil(QStringLiteral("Tävlingar/Cup/Cup.ini"))));
        QVERIFY(!skapa(mj.g, mj.m, mj.uppgifter(QStringLiteral("Cup"))));
        QVERIFY(mj.m.senasteText().startsWith(QStringLiteral("frmNyTävling.SkapaTävling: 75 ")));
        QVERIFY(!QFileInfo::exists(mj.t.fil(QStringLiteral("Tävlingar/Cup/Cup.air"))));
        QVERIFY(!QFileInfo::exists(mj.t.fil(QStringLiteral("Tävlingar/Cup/Utskrifter"))));
        QVERIFY(!mj.g.cnnTavling.IsOpen());
        QVERIFY(!mj.g.tavlingOppen());
        QCOMPARE(mj.g.iniProgram.GetKeyValue(Ini::Sektion::Sokvagar, QStringLiteral("Filnamn1"),
                                             QStringLiteral("?")),
                 QStringLiteral("?"));

        QVERIFY(QDir(mj.t.fil(QStringLiteral("Tävlingar/Cup/Cup.ini"))).removeRecursively());
        QVERIFY(skapa(mj.g, mj.m, mj.uppgifter(QStringLiteral("Cup"))));
    }

    // A new competition starts from what creation writes, whatever INI of an
    // earlier competition of the name lay in its folder, and whatever an
    // interrupted creation left there.
    void nyTavlingBorjarFranRentBord() {
        Miljo mj;
        const QString mapp = mj.t.fil(QStringLiteral("Tävlingar/Cup/"));
        QVERIFY(QDir().mkpath(mapp));
        const auto skriv = [](const QString& sokvag, const QByteArray& innehall) {
            QFile f(sokvag);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(innehall);
        };
        skriv(mapp + QStringLiteral("Cup.ini"),
              "[Allm\xe4nt]\r\nVersion=106\r\n[Vandringspris]\r\nVandringspris=1\r\n");
        skriv(tillfalligtNamn(mapp, QStringLiteral("Cup"), QStringLiteral(".air")), "halv databas");
        skriv(tillfalligtNamn(mapp, QStringLiteral("Cup"), QStringLiteral(".air")) +
                  QStringLiteral("-journal"),
              "journal");
        skriv(tillfalligtNamn(mapp, QStringLiteral("Cup"), QStringLiteral(".ini")), "[Lag]\r\nLagt");

        QVERIFY(skapa(mj.g, mj.m, mj.uppgifter(QStringLiteral("Cup"))));
        QVERIFY2(mj.m.visade.isEmpty(), qPrintable(mj.m.senasteText()));
        const QStringList rader = inirader(mapp + QStringLiteral("Cup.ini"));
        QCOMPARE(rader.first(), QStringLiteral("[Lag]"));
        QCOMPARE(rader.size(), 19);
        QVERIFY(!rader.contains(QStringLiteral("Version=106")));
        QVERIFY(!rader.contains(QStringLiteral("[Vandringspris]")));
        QCOMPARE(
            QDir(mapp).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList({QStringLiteral(".Cup.lock"), QStringLiteral("Cup.air"), QStringLiteral("Cup.ini")}));
    }

    // Run by avbrutetSkapandeLamnarIngetHalvt in a child process that it kills.
    void skapaIBarnprocess() {
        const QString programmapp = qEnvironmentVariable("PILKRONA_BARNMAPP");
        if (programmapp.isEmpty())
            return;
        modGlobalt g;
        g.strProgrammapp = programmapp;
        g.iniProgram.setPath(programmapp + QStringLiteral("/Pilkrona.ini"));
        TestMeddelanden m;
        Uppgifter u;
        u.namn = QStringLiteral("Cup");
        u.antalBanor = QStringLiteral("999");
        u.sokvag = programmapp + QStringLiteral("/Tävlingar");
        std::fputs("start\n", stdout);
        std::fflush(stdout);
        QVERIFY(skapa(g, m, u));
    }

    // A creation cut short at any moment (a power cut, kill -9) leaves either no
    // competition of that name, which can then be created, or a whole one.
    void avbrutetSkapandeLamnarIngetHalvt() {
        const auto korBarn = [](const QString& programmapp, int dodaEfterMs) {
            QProcess barn;
            QProcessEnvironment miljo = QProcessEnvironment::systemEnvironment();
            miljo.insert(QStringLiteral("PILKRONA_BARNMAPP"), programmapp);
            barn.setProcessEnvironment(miljo);
            barn.start(QCoreApplication::applicationFilePath(), {QStringLiteral("skapaIBarnprocess")});
            while (!barn.readAllStandardOutput().contains("start"))
                if (!barn.waitForReadyRead(10000))
                    return qint64(-1);
            QElapsedTimer klocka;
            klocka.start();
            if (dodaEfterMs >= 0) {
                QThread::msleep(dodaEfterMs);
                barn.kill();
            }
            barn.waitForFinished(30000);
            return klocka.elapsed();
        };
        // One whole run tells how long a creation takes here.
        const Miljo matning;
        const qint64 hel = korBarn(matning.t.mapp(), -1);
        QVERIFY(hel >= 0);
        QVERIFY(QFileInfo::exists(matning.t.fil(QStringLiteral("Tävlingar/Cup/Cup.air"))));

        int hela = 0, inga = 0;
        constexpr int Forsok = 12;
        for (int i = 0; i < Forsok; ++i) {
            Miljo mj;
            QVERIFY(korBarn(mj.t.mapp(), int(hel * i / (Forsok - 2))) >= 0);
            const QString mapp = mj.t.fil(QStringLiteral("Tävlingar/Cup/"));
            if (QFileInfo::exists(mapp + QStringLiteral("Cup.air"))) {
                ++hela;
                clsIni ini(mapp + QStringLiteral("Cup.ini"));
                QCOMPARE(ini.status(), clsIni::Filstatus::Ok);
                QCOMPARE(ini.GetKeyValue(QStringLiteral("Tolkmaskin"), QStringLiteral("Innertia"), QString()),
                         QStringLiteral("10,3"));
                Databas db;
                db.Open(mapp + QStringLiteral("Cup.air"));
                QCOMPARE(db.varde(QStringLiteral("SELECT COUNT(*) FROM Skjutlag")).toInt(), 999);
                continue;
            }
            ++inga;
            Uppgifter u = mj.uppgifter(QStringLiteral("Cup"));
            u.antalBanor = QStringLiteral("3");
            QVERIFY2(skapa(mj.g, mj.m, u), qPrintable(mj.m.senasteText()));
            QCOMPARE(mj.g.intSkjutlagsstorlek, 3);
            QCOMPARE(QDir(mapp).entryList({QStringLiteral("*.ny*")}, QDir::Files | QDir::Hidden).size(), 0);
        }
        qInfo("%d of %d cut short before the competition stood, %d after", inga, Forsok, hela);
        // How many land on either side depends on the machine's load; cuts
        // before the end there must be.
        QVERIFY(inga > 0);
    }
};

QTEST_GUILESS_MAIN(TestNyTavling)
#include "test_nytavling.moc"
