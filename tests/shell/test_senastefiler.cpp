#include "common/IniNamn.h"
#include "platform/Filslag.h"
#include "platform/clsIni.h"
#include "shell/SenasteFiler.h"
#include "shell/modGlobalt.h"
#include "support/TestMeddelanden.h"
#include "support/Testmiljo.h"
#include "support/VanligAnvandare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace SenasteFiler;

class TestSenasteFiler : public QObject {
    Q_OBJECT

    // A program INI in a throw-away folder with the recent list's keys 1..5 as
    // given ("?" for a key that is not there); lank: Pilkrona.ini is a
    // symbolic link to the file, which lies in another folder.
    struct Miljo {
        Testmiljo t;
        TestMeddelanden m;
        modGlobalt g;
        QString fil = t.fil(QStringLiteral("Pilkrona.ini"));
        explicit Miljo(const QStringList& fore = {}, bool lank = false) {
            if (lank) {
                fil = t.fil(QStringLiteral("Delad/Pilkrona.ini"));
                if (!QDir().mkpath(QFileInfo(fil).path()) ||
                    !QFile::link(fil, t.fil(QStringLiteral("Pilkrona.ini"))))
                    qFatal("no link");
            }
            clsIni ini(fil);
            for (int i = 0; i < fore.size(); ++i)
                if (fore[i] != QLatin1String("?") &&
                    !ini.WriteKey(Ini::Sektion::Sokvagar, Ini::filnamnNyckel(i + 1), fore[i]))
                    qFatal("%s", qPrintable(ini.senasteFel()));
            g.iniProgram.setPath(t.fil(QStringLiteral("Pilkrona.ini")));
        }
        QStringList lista() const {
            QStringList l;
            for (int i = 1; i <= 5; ++i)
                l << g.iniProgram.GetKeyValue(Ini::Sektion::Sokvagar, Ini::filnamnNyckel(i),
                                              QStringLiteral("?"));
            return l;
        }
    };

private slots:
    void menytexter() {
        const QString fyrtio =
            QStringLiteral("/home/a/") + QString(28, QLatin1Char('x')) + QStringLiteral(".air");
        QCOMPARE(menytext(2, fyrtio), QStringLiteral("&2 ") + fyrtio);
        const QString fyrtioett = QLatin1Char('/') + fyrtio;
        QCOMPARE(menytext(1, fyrtioett), QStringLiteral("&1 //h...") + fyrtioett.right(34));
        QCOMPARE(menytext(5, QStringLiteral("/t/A&B.air")), QStringLiteral("&5 /t/A&&B.air"));
    }

    // The opened competition goes first and the others one step down, a gap
    // included; the fifth falls off. A program INI that is a link (to one the
    // club's computers share) is read and written where it leads, and stays
    // a link.
    void laggForst_data() {
        QTest::addColumn<QStringList>("fore");
        QTest::addColumn<QStringList>("efter");
        QTest::addColumn<bool>("lank");
        QTest::newRow("tom") << QStringList() << QStringList({"/ny.air", "?", "?", "?", "?"}) << false;
        QTest::newRow("glapp") << QStringList({"/a.air", "/b.air", "?", "/d.air"})
                               << QStringList({"/ny.air", "/a.air", "/b.air", "", "/d.air"}) << false;
        QTest::newRow("full") << QStringList({"/1.air", "/2.air", "/3.air", "/4.air", "/5.air"})
                              << QStringList({"/ny.air", "/1.air", "/2.air", "/3.air", "/4.air"}) << false;
        QTest::newRow("genom länk") << QStringList({"/a.air", "/b.air"})
                                    << QStringList({"/ny.air", "/a.air", "/b.air", "?", "?"}) << true;
    }
    void laggForst() {
        QFETCH(QStringList, fore);
        QFETCH(QStringList, efter);
        QFETCH(bool, lank);
        Miljo mj(fore, lank);
        mj.g.strTavlingsdatabas = QStringLiteral("/ny.air");
        QVERIFY2(SenasteFiler::laggForst(mj.g, mj.m), qPrintable(mj.m.senasteText()));
        QCOMPARE(mj.lista(), efter);
        QVERIFY(mj.m.visade.isEmpty());
        QCOMPARE(filslag(mj.g.iniProgram.Path()), lank ? Filslag::Lank : Filslag::Fil);
        QCOMPARE(clsIni(mj.fil).GetKeyValue(Ini::Sektion::Sokvagar, Ini::filnamnNyckel(1), {}), "/ny.air");
    }

    void dubblettProvasExakt() {
        for (int plats : {3, 5}) {
            QStringList fore(plats, QStringLiteral("?"));
            fore.last() = QStringLiteral("/T/Cup.air");
            Miljo mj(fore);
            mj.g.strTavlingsdatabas = QStringLiteral("/T/Cup.air");
            QVERIFY(Finns_filnamnet_redan(mj.g));
            mj.g.strTavlingsdatabas = QStringLiteral("/t/cup.air");
            QVERIFY(!Finns_filnamnet_redan(mj.g));
        }
    }

    // The shift and the new first name are one write: a program INI that cannot
    // be written keeps its list whole, and the operator is told.
    void misslyckadSkrivningLamnarListanHel() {
        if (korSomVanligAnvandare("misslyckadSkrivningLamnarListanHel"))
            return;
        const QStringList fore = {"/1.air", "/2.air", "/3.air", "/4.air"};
        Miljo mj(fore);
        QFile::setPermissions(mj.g.iniProgram.Path(), QFile::ReadOwner);
        QFile::setPermissions(mj.t.mapp(), QFile::ReadOwner | QFile::ExeOwner);
        mj.g.strTavlingsdatabas = QStringLiteral("/ny.air");
        const bool skrevs = SenasteFiler::laggForst(mj.g, mj.m);
        QFile::setPermissions(mj.t.mapp(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!skrevs);
        QCOMPARE(mj.lista(), fore + QStringList{"?"});
        QVERIFY(mj.m.senasteText().startsWith(
            QStringLiteral("Tävlingen kunde inte föras in i listan över senaste tävlingar.\r\n")));
        QVERIFY(mj.m.senasteText().contains(mj.g.iniProgram.Path()));
    }
};

QTEST_GUILESS_MAIN(TestSenasteFiler)
#include "test_senastefiler.moc"
