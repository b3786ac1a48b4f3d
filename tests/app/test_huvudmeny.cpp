#include "app/MDIfrmHuvudmeny.h"
#include "app/frmSplash.h"
#include "common/IniNamn.h"
#include "shell/modGlobalt.h"
#include "support/Testfixtur.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

class TestHuvudmeny : public QObject {
    Q_OBJECT

    struct Miljo : Testfixtur {
        using Testfixtur::Testfixtur;
    };

private slots:
    void menytradensStartlagen() {
        Miljo mj;
        MDIfrmHuvudmeny f(mj.g, mj.m, mj.dialoger);
        f.MDIForm_Load(nullptr, 10);
        QCOMPARE(f.windowTitle(), QStringLiteral("Pilkrona"));
        for (const Menystart& post : menytrad) {
            QAction* a = f.menyval(post.meny);
            QCOMPARE(a->objectName(), QString::fromUtf8(post.kontroll));
            // A hidden action also reports itself disabled.
            if (post.lage != Menystart::Dold)
                QVERIFY2(a->isEnabled() == (post.lage != Menystart::Av), post.kontroll);
            QCOMPARE(a->isVisible(), post.lage != Menystart::Dold);
            if (QString::fromUtf8(post.text) != QLatin1String("-"))
                QCOMPARE(a->text(), QString::fromUtf8(post.text));
            else
                QVERIFY(a->isSeparator());
        }
        // The menu bar in the program's order.
        QStringList rubriker;
        for (QAction* a : f.menuBar()->actions())
            rubriker << a->text();
        QCOMPARE(rubriker, QStringList({"&Arkiv", "&Redigera", "&Inskrivning", "&Utskrift", "&Åskådarskärm",
                                        "&Hjälp"}));
        QCOMPARE(f.menyval(Meny::mnuInnehall)->shortcut(), QKeySequence(Qt::Key_F1));
        // Level-3 items sit in their submenu.
        QMenu* skrivare = f.menyval(Meny::mnuUtskriftSkrivare)->menu();
        QVERIFY(skrivare);
        QVERIFY(skrivare->actions().contains(f.menyval(Meny::mnuResGrundPrinter)));
        QVERIFY(mj.m.visade.isEmpty());
        QCOMPARE(mj.g.strUtskriftsmal, Utskriftsmal::Printer);
    }

    void utanSkrivareArSkrivarmenynAv() {
        Miljo mj;
        mj.g.lngAntalSkrivare = 0;
        MDIfrmHuvudmeny f(mj.g, mj.m, mj.dialoger);
        f.MDIForm_Load(nullptr, 10);
        QVERIFY(!f.menyval(Meny::mnuUtskriftSkrivare)->isEnabled());
        QVERIFY(f.menyval(Meny::mnuUtskriftFil)->isEnabled());
    }

    void lagsortVal_data() {
        QTest::addColumn<QString>("fore");
        QTest::addColumn<QString>("efter");
        QTest::newRow("saknas") << QString() << "False";
        QTest::newRow("True") << "True"
                              << "True";
        QTest::newRow("1") << "1"
                           << "False";
        QTest::newRow("true") << "true"
                              << "False";
    }
    void lagsortVal() {
        QFETCH(QString, fore);
        QFETCH(QString, efter);
        Miljo mj;
        if (!fore.isEmpty())
            QVERIFY(
                mj.g.iniProgram.WriteKey(QStringLiteral("ManuellaVal"), QStringLiteral("LagsortVal"), fore));
        MDIfrmHuvudmeny f(mj.g, mj.m, mj.dialoger);
        f.MDIForm_Load(nullptr, 10);
        QCOMPARE(mj.g.iniProgram.GetKeyValue(QStringLiteral("ManuellaVal"), QStringLiteral("LagsortVal"),
                                             QStringLiteral("?")),
                 efter);
    }

    void splashStangsOchFonstretVisasEfterTimern() {
        Miljo mj;
        frmSplash splash(mj.t.mapp(), mj.m);
        splash.show();
        QVERIFY(mj.m.visade.isEmpty());
        QCOMPARE(splash.lblVersion()->text(), QStringLiteral("Version 1.0 Build 47"));
        MDIfrmHuvudmeny f(mj.g, mj.m, mj.dialoger);
        f.MDIForm_Load(&splash, 50);
        QVERIFY(!f.isVisible());
        QTest::keyClick(&splash, Qt::Key_Space);
        QVERIFY(!splash.isVisible());
        QVERIFY(!f.isVisible()); // a key only closes the splash early
        QTRY_VERIFY(f.isVisible());
        QVERIFY(!f.tmrSplash().isActive());
    }

    void saknadGrafikRapporterasOchLaddningenFortsatter() {
        Miljo mj(false);
        frmSplash splash(mj.t.mapp(), mj.m);
        QCOMPARE(mj.m.senasteText(), QStringLiteral("frmSplash, Form_load: Ikon/Bild saknas!"));
        MDIfrmHuvudmeny f(mj.g, mj.m, mj.dialoger);
        f.MDIForm_Load(nullptr, 10);
        QCOMPARE(mj.m.visade.back().text, QStringLiteral("MDIfrmHuvudmeny, Form_load: Ikon saknas!"));
        QCOMPARE(mj.m.visade.back().titel, QStringLiteral("Ikon saknas"));
        QCOMPARE(mj.m.visade.back().ikon, Meddelanden::Ikon::Information);
        QCOMPARE(mj.g.strUtskriftsmal, Utskriftsmal::Printer);
        QTRY_VERIFY(f.isVisible());
    }

    void senasteListanVisas() {
        Miljo mj;
        QVERIFY(mj.g.iniProgram.WriteKeys(
            {{Ini::Sektion::Sokvagar, QStringLiteral("Filnamn1"), QStringLiteral("/t/A & B/A & B.air")},
             {Ini::Sektion::Sokvagar, QStringLiteral("Filnamn3"),
              QStringLiteral("/home/sekreterare/Tävlingar/Klubbmästerskap/Klubbmästerskap.air")}}));
        MDIfrmHuvudmeny f(mj.g, mj.m, mj.dialoger);
        f.MDIForm_Load(nullptr, 10);
        QVERIFY(f.menyval(mnuFil(1))->isVisible());
        QCOMPARE(f.menyval(mnuFil(1))->text(), QStringLiteral("&1 /t/A && B/A && B.air"));
        QVERIFY(!f.menyval(mnuFil(2))->isVisible());
        QCOMPARE(f.menyval(mnuFil(3))->text(), QStringLiteral("&3 /ho...lubbmästerskap/Klubbmästerskap.air"));
        QVERIFY(f.menyval(Meny::mnuLineFiler)->isVisible());
    }

    void avslutaStangerFonstret() {
        Miljo mj;
        MDIfrmHuvudmeny f(mj.g, mj.m, mj.dialoger);
        f.MDIForm_Load(nullptr, 1);
        QTRY_VERIFY(f.isVisible());
        f.menyval(Meny::mnuAvsluta)->trigger();
        QVERIFY(!f.isVisible());
    }
};

QTEST_MAIN(TestHuvudmeny)
#include "test_huvudmeny.moc"
