#include "common/IniNamn.h"
#include "shell/SenasteFiler.h"
#include "shell/modGlobalt.h"
#include "support/TestMeddelanden.h"
#include "support/Testmiljo.h"
#include "support/VanligAnvandare.h"

#include <QFile>

#include <QTest>

using namespace SenasteFiler;

class TestSenasteFiler : public QObject {
    Q_OBJECT

    static QString las(const modGlobalt& g, int i) {
        return g.iniProgram.GetKeyValue(Ini::Sektion::Sokvagar, Ini::filnamnNyckel(i), QStringLiteral("?"));
    }
    static void skriv(modGlobalt& g, int i, const QString& v) {
        QVERIFY(g.iniProgram.WriteKey(Ini::Sektion::Sokvagar, Ini::filnamnNyckel(i), v));
    }

private slots:
    void menytexter() {
        const QString fyrtio =
            QStringLiteral("/home/a/") + QString(28, QLatin1Char('x')) + QStringLiteral(".air");
        QCOMPARE(fyrtio.size(), 40);
        QCOMPARE(menytext(2, fyrtio), QStringLiteral("&2 ") + fyrtio);
        const QString fyrtioett =
            QStringLiteral("/home/ab/") + QString(28, QLatin1Char('x')) + QStringLiteral(".air");
        QCOMPARE(fyrtioett.size(), 41);
        QCOMPARE(menytext(1, fyrtioett), QStringLiteral("&1 /ho...") + fyrtioett.right(34));
        QCOMPARE(menytext(1, fyrtioett).size(), 3 + 40);
        QCOMPARE(menytext(5, QStringLiteral("/t/A&B.air")), QStringLiteral("&5 /t/A&&B.air"));
    }

    // Keys 1, 2 and 4 filled, 3 empty: everything up to 4 moves one step, gap included.
    void glappFlyttasMed() {
        Testmiljo t;
        TestMeddelanden m;
        modGlobalt g;
        g.iniProgram.setPath(t.fil(QStringLiteral("Pilkrona.ini")));
        skriv(g, 1, QStringLiteral("/a.air"));
        skriv(g, 2, QStringLiteral("/b.air"));
        skriv(g, 4, QStringLiteral("/d.air"));
        Hur_manga_filnamn_finns_det(g);
        QCOMPARE(g.intAntalFilnamn, 4);
        g.strTavlingsdatabas = QStringLiteral("/ny.air");
        QVERIFY(laggForst(g, m));
        QCOMPARE(las(g, 1), QStringLiteral("/ny.air"));
        QCOMPARE(las(g, 2), QStringLiteral("/a.air"));
        QCOMPARE(las(g, 3), QStringLiteral("/b.air"));
        QCOMPARE(las(g, 4), QString());
        QCOMPARE(las(g, 5), QStringLiteral("/d.air"));
        QCOMPARE(g.intAntalFilnamn, 0);
    }

    void femteFallerBort() {
        Testmiljo t;
        TestMeddelanden m;
        modGlobalt g;
        g.iniProgram.setPath(t.fil(QStringLiteral("Pilkrona.ini")));
        for (int i = 1; i <= 5; ++i)
            skriv(g, i, QStringLiteral("/%1.air").arg(i));
        g.strTavlingsdatabas = QStringLiteral("/ny.air");
        QVERIFY(laggForst(g, m));
        QCOMPARE(las(g, 1), QStringLiteral("/ny.air"));
        for (int i = 2; i <= 5; ++i)
            QCOMPARE(las(g, i), QStringLiteral("/%1.air").arg(i - 1));
    }

    void tomListaFarEttNamn() {
        Testmiljo t;
        TestMeddelanden m;
        modGlobalt g;
        g.iniProgram.setPath(t.fil(QStringLiteral("Pilkrona.ini")));
        g.strTavlingsdatabas = QStringLiteral("/ny.air");
        QVERIFY(laggForst(g, m));
        QCOMPARE(las(g, 1), QStringLiteral("/ny.air"));
        QCOMPARE(las(g, 2), QStringLiteral("?"));
    }

    void dubblettProvasExakt() {
        Testmiljo t;
        TestMeddelanden m;
        modGlobalt g;
        g.iniProgram.setPath(t.fil(QStringLiteral("Pilkrona.ini")));
        for (int plats : {3, 5}) {
            skriv(g, plats, QStringLiteral("/T/Cup.air"));
            g.strTavlingsdatabas = QStringLiteral("/T/Cup.air");
            QVERIFY(Finns_filnamnet_redan(g));
            g.strTavlingsdatabas = QStringLiteral("/t/cup.air");
            QVERIFY(!Finns_filnamnet_redan(g));
            skriv(g, plats, QString());
        }
    }

    // The shift and the new first name are one write: a program INI that cannot
    // be written keeps its list whole, and the operator is told.
    void misslyckadSkrivningLamnarListanHel() {
        if (korSomVanligAnvandare("misslyckadSkrivningLamnarListanHel"))
            return;
        Testmiljo t;
        TestMeddelanden m;
        modGlobalt g;
        g.iniProgram.setPath(t.fil(QStringLiteral("Pilkrona.ini")));
        for (int i = 1; i <= 4; ++i)
            skriv(g, i, QStringLiteral("/%1.air").arg(i));
        QFile::setPermissions(g.iniProgram.Path(), QFile::ReadOwner);
        QFile::setPermissions(t.mapp(), QFile::ReadOwner | QFile::ExeOwner);
        g.strTavlingsdatabas = QStringLiteral("/ny.air");
        const bool skrevs = laggForst(g, m);
        QFile::setPermissions(t.mapp(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!skrevs);
        for (int i = 1; i <= 4; ++i)
            QCOMPARE(las(g, i), QStringLiteral("/%1.air").arg(i));
        QCOMPARE(las(g, 5), QStringLiteral("?"));
        QVERIFY(m.senasteText().startsWith(
            QStringLiteral("Tävlingen kunde inte föras in i listan över senaste tävlingar.\r\n")));
        QVERIFY(m.senasteText().contains(g.iniProgram.Path()));
    }
};

QTEST_GUILESS_MAIN(TestSenasteFiler)
#include "test_senastefiler.moc"
