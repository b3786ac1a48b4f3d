#include "common/Fel.h"
#include "shell/Installningar.h"
#include "shell/ProgramIni.h"
#include "shell/modGlobalt.h"
#include "support/Testmiljo.h"
#include "support/VanligAnvandare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

class TestModGlobalt : public QObject {
    Q_OBJECT

    static void skriv(const QString& sokvag, const QByteArray& text) {
        QFile f(sokvag);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

private slots:
    void laddningLaserAllaVardenISinForm() {
        Testmiljo t;
        modGlobalt g;
        g.iniTavling.setPath(t.fil(QStringLiteral("Cup.ini")));
        skriv(g.iniTavling.Path(),
              "[Allm\xe4nt]\r\nSportskytte=False\r\nNationellt=True\r\nMix=false\r\n"
              "Skjutlagsstorlek=12\r\nFlera t\xe4vlingar=1\r\nDatum=6 dec\r\n"
              "[Tolkmaskin]\r\nInnertia=10,4\r\nEjAuto1098=1\r\nTolkmaskin i grundomg=0\r\n"
              "[Utskrifter]\r\nSkjutlagslista med resultat=0\r\n"
              "[Vandringspris]\r\nVandringspris=1\r\n[Lag]\r\nLagt\xe4vling=0\r\n");
        const auto val = Installningar::LaddaInstallningar(g);
        QVERIFY(!g.blnSportskytte && g.blnNationellt && !g.blnMix);
        QCOMPARE(g.intSkjutlagsstorlek, 12);
        QVERIFY(g.blnFleraTavlingar);
        QCOMPARE(g.strTavlingsdatum, QStringLiteral("6 dec"));
        QCOMPARE(g.sngInnertia, 10.4);
        QVERIFY(g.blnEjAuto1098 && !g.blnTolkmaskinGrundomg);
        QVERIFY(!g.blnSkjutlagslistaMedResultat);
        QVERIFY(val.vandringspris);
        QVERIFY(!val.lagtavling);
        QVERIFY(!g.blnLagtavling);
    }

    // An INI with nothing but the version still opens: every key has its default,
    // and a missing Lagtävling means team competitions are on.
    void saknadeNycklarGerStandard() {
        Testmiljo t;
        modGlobalt g;
        g.iniTavling.setPath(t.fil(QStringLiteral("Tom.ini")));
        skriv(g.iniTavling.Path(), "[Allm\xe4nt]\r\nMajorVersion=1\r\n");
        const auto val = Installningar::LaddaInstallningar(g);
        QVERIFY(g.blnSportskytte && !g.blnNationellt && !g.blnMix);
        QCOMPARE(g.intSkjutlagsstorlek, 10);
        QVERIFY(!g.blnFleraTavlingar);
        QVERIFY(g.blnSkjutlagslistaMedResultat);
        QCOMPARE(g.sngInnertia, 10.3);
        QVERIFY(!val.vandringspris);
        QVERIFY(val.lagtavling);
        QVERIFY(g.blnLagtavling);
    }

    // A hand-edited value outside what the key may hold reads as its default;
    // what is not a number at all stays an error.
    void vardeUtanforGransernaGerStandard() {
        Testmiljo t;
        modGlobalt g;
        g.iniTavling.setPath(t.fil(QStringLiteral("Granser.ini")));
        for (const QByteArray& banor : {QByteArray("-5"), QByteArray("0"), QByteArray("1000")}) {
            skriv(g.iniTavling.Path(),
                  "[Allm\xe4nt]\r\nSkjutlagsstorlek=" + banor + "\r\n[Tolkmaskin]\r\nInnertia=11,5\r\n");
            Installningar::LaddaInstallningar(g);
            QCOMPARE(g.intSkjutlagsstorlek, 10);
            QCOMPARE(g.sngInnertia, 10.3);
        }
        skriv(g.iniTavling.Path(),
              "[Allm\xe4nt]\r\nSkjutlagsstorlek=999\r\n[Tolkmaskin]\r\nInnertia=10,9\r\n");
        Installningar::LaddaInstallningar(g);
        QCOMPARE(g.intSkjutlagsstorlek, 999);
        QCOMPARE(g.sngInnertia, 10.9);
    }

    // An installed program cannot write beside itself: its INI is the user's own.
    void programIniHittarSkrivbarPlats() {
        if (korSomVanligAnvandare("programIniHittarSkrivbarPlats"))
            return;
        Testmiljo t;
        const QString program = t.fil(QStringLiteral("program"));
        const QString anvandare = t.fil(QStringLiteral("konfig/Pilkrona"));
        QVERIFY(QDir().mkpath(program));
        QCOMPARE(programIniSokvag(program, anvandare), program + QStringLiteral("/Pilkrona.ini"));
        QVERIFY(!QFileInfo::exists(anvandare));
        QFile::setPermissions(program,
                              QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
        const QString sokvag = programIniSokvag(program, anvandare);
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(sokvag, anvandare + QStringLiteral("/Pilkrona.ini"));
        clsIni ini(sokvag);
        QVERIFY(ini.WriteKey(QStringLiteral("Sökvägar"), QStringLiteral("Filnamn1"),
                             QStringLiteral("/t/Cup.air")));
    }

    void tomtJaNejVardeArKonverteringsfel() {
        Testmiljo t;
        modGlobalt g;
        g.iniTavling.setPath(t.fil(QStringLiteral("Fel.ini")));
        skriv(g.iniTavling.Path(), "[Allm\xe4nt]\r\nSportskytte=\r\n");
        try {
            Installningar::LaddaInstallningar(g);
            QFAIL("loaded");
        } catch (const Fel& f) {
            QCOMPARE(f.nummer(), 13);
        }
        skriv(g.iniTavling.Path(), "[Allm\xe4nt]\r\nSkjutlagsstorlek=tio\r\n");
        QVERIFY_THROWS_EXCEPTION(Fel, Installningar::LaddaInstallningar(g));
    }

    void versionsgrind_data() {
        QTest::addColumn<QByteArray>("allmant");
        QTest::addColumn<bool>("godkand");
        QTest::newRow("106") << QByteArray("Version=106") << false;
        QTest::newRow("107") << QByteArray("Version=107") << true;
        QTest::newRow("11") << QByteArray("Version=11") << true;
        QTest::newRow("1.0.47") << QByteArray("MajorVersion=1\r\nMinorVersion=0\r\nBuildVersion=47") << true;
        QTest::newRow("1.0.6") << QByteArray("MajorVersion=1\r\nMinorVersion=0\r\nBuildVersion=6") << false;
        QTest::newRow("2.0.0") << QByteArray("MajorVersion=2\r\nMinorVersion=0\r\nBuildVersion=0") << true;
        QTest::newRow("inget") << QByteArray("Datum=") << false;
    }
    void versionsgrind() {
        QFETCH(QByteArray, allmant);
        QFETCH(bool, godkand);
        Testmiljo t;
        clsIni ini(t.fil(QStringLiteral("V.ini")));
        skriv(ini.Path(), "[Allm\xe4nt]\r\n" + allmant + "\r\n");
        QCOMPARE(Installningar::versionGodkand(Installningar::lasFilversion(ini)), godkand);
    }
};

QTEST_GUILESS_MAIN(TestModGlobalt)
#include "test_modglobalt.moc"
