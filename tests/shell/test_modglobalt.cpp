#include "common/Fel.h"
#include "shell/Installningar.h"
#include "shell/ProgramIni.h"
#include "shell/modGlobalt.h"
#include "support/Testfel.h"
#include "support/Testmiljo.h"
#include "support/VanligAnvandare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

class TestModGlobalt : public QObject {
    Q_OBJECT

    // A competition INI holding the given bytes, loaded into the state.
    struct Miljo {
        Testmiljo t;
        modGlobalt g;
        Miljo() { g.iniTavling.setPath(t.fil(QStringLiteral("Cup.ini"))); }
        void skriv(const QByteArray& text) {
            QFile f(g.iniTavling.Path());
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                qFatal("cannot write %s", qPrintable(f.fileName()));
            f.write(text);
        }
        Installningar::Menyval ladda(const QByteArray& text) {
            skriv(text);
            return Installningar::LaddaInstallningar(g);
        }
    };

private slots:
    void laddningLaserAllaVardenISinForm() {
        Miljo mj;
        modGlobalt& g = mj.g;
        const auto val =
            mj.ladda("[Allm\xe4nt]\r\nSportskytte=False\r\nNationellt=True\r\nMix=false\r\n"
                     "Skjutlagsstorlek=12\r\nFlera t\xe4vlingar=1\r\nDatum=6 dec\r\n"
                     "[Tolkmaskin]\r\nInnertia=10,4\r\nEjAuto1098=1\r\nTolkmaskin i grundomg=0\r\n"
                     "[Utskrifter]\r\nSkjutlagslista med resultat=0\r\n"
                     "[Vandringspris]\r\nVandringspris=1\r\n[Lag]\r\nLagt\xe4vling=0\r\n");
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
        Miljo mj;
        modGlobalt& g = mj.g;
        const auto val = mj.ladda("[Allm\xe4nt]\r\nMajorVersion=1\r\n");
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
        Miljo mj;
        for (const QByteArray& banor : {QByteArray("-5"), QByteArray("0"), QByteArray("1000")}) {
            mj.ladda("[Allm\xe4nt]\r\nSkjutlagsstorlek=" + banor + "\r\n[Tolkmaskin]\r\nInnertia=11,5\r\n");
            QCOMPARE(mj.g.intSkjutlagsstorlek, 10);
            QCOMPARE(mj.g.sngInnertia, 10.3);
        }
        mj.ladda("[Allm\xe4nt]\r\nSkjutlagsstorlek=999\r\n[Tolkmaskin]\r\nInnertia=10,9\r\n");
        QCOMPARE(mj.g.intSkjutlagsstorlek, 999);
        QCOMPARE(mj.g.sngInnertia, 10.9);
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
        Miljo mj;
        QCOMPARE(felnummer([&] { mj.ladda("[Allm\xe4nt]\r\nSportskytte=\r\n"); }), 13);
        QCOMPARE(felnummer([&] { mj.ladda("[Allm\xe4nt]\r\nSkjutlagsstorlek=tio\r\n"); }), 13);
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
        Miljo mj;
        mj.skriv("[Allm\xe4nt]\r\n" + allmant + "\r\n");
        QCOMPARE(Installningar::versionGodkand(Installningar::lasFilversion(mj.g.iniTavling)), godkand);
    }
};

QTEST_GUILESS_MAIN(TestModGlobalt)
#include "test_modglobalt.moc"
