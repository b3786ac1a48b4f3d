#include "app/Delsystem.h"
#include "app/MDIfrmHuvudmeny.h"
#include "app/Main.h"
#include "app/QtDialoger.h"
#include "app/frmSplash.h"
#include "common/IniNamn.h"
#include "shell/Fonsternamn.h"
#include "support/Testfixtur.h"
#include "support/Widget.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <memory>

class TestHuvudmeny : public QObject {
    Q_OBJECT

    // A main window with the program's windows registered, shown and active.
    struct Fonster : Testfixtur {
        MDIfrmHuvudmeny f{g, m, dialoger, ledigPort(), QHostAddress::LocalHost};
        Fonster() {
            registreraDelsystem(f.programdelar());
            f.MDIForm_Load(nullptr, 1);
            f.show();
            QApplication::setActiveWindow(&f);
            if (!QTest::qWaitForWindowActive(&f))
                qWarning("the main window did not become active");
        }
    };

    // Closes the next modal dialog as soon as it is up.
    static void stangNastaDialog() {
        QTimer::singleShot(0, [] {
            if (QWidget* d = QApplication::activeModalWidget())
                d->close();
        });
    }

    // A registered plain window with a field, for the host's rules.
    static Fonsterid<IngenBegaran> prov(const char* namn) {
        return Fonsterid<IngenBegaran>{QString::fromLatin1(namn)};
    }

private slots:
    // The load: the menus arranged in the bar and their submenus, separators
    // without text (a text would show as a heading), no printer leaves only the
    // file output, the recent list as its items. "&Avsluta" closes the window.
    void laddningenOchMenyerna() {
        Testfixtur mj;
        mj.g.lngAntalSkrivare = 0;
        QVERIFY(mj.g.iniProgram.WriteKeys(
            {{Ini::Sektion::Sokvagar, QStringLiteral("Filnamn1"), QStringLiteral("/t/A & B/A & B.air")},
             {Ini::Sektion::Sokvagar, QStringLiteral("Filnamn3"),
              QStringLiteral("/home/sekreterare/Tävlingar/Klubbmästerskap/Klubbmästerskap.air")}}));
        MDIfrmHuvudmeny f(mj.g, mj.m, mj.dialoger);
        f.MDIForm_Load(nullptr, 1);
        QStringList rubriker;
        for (QAction* a : f.menuBar()->actions())
            rubriker << a->text();
        QCOMPARE(rubriker, QStringList({"&Arkiv", "&Redigera", "&Inskrivning", "&Utskrift", "&Åskådarskärm",
                                        "&Hjälp"}));
        QVERIFY(f.menyval(Meny::mnuUtskriftSkrivare)
                    ->menu()
                    ->actions()
                    .contains(f.menyval(Meny::mnuResGrundPrinter)));
        for (Meny m :
             {Meny::mnuLine, Meny::mnuLineExpImp, Meny::mnuLine2, Meny::mnuLineFiler, Meny::mnuLineHjalp})
            QVERIFY(f.menyval(m)->isSeparator() && f.menyval(m)->text().isEmpty());
        QVERIFY(!f.menyval(Meny::mnuUtskriftSkrivare)->isEnabled());
        QVERIFY(f.menyval(Meny::mnuUtskriftFil)->isEnabled());
        QCOMPARE(f.menyval(mnuFil(1))->text(), QStringLiteral("&1 /t/A && B/A && B.air"));
        QVERIFY(f.menyval(mnuFil(1))->isVisible() && !f.menyval(mnuFil(2))->isVisible());
        QCOMPARE(f.menyval(mnuFil(3))->text(), QStringLiteral("&3 /ho...lubbmästerskap/Klubbmästerskap.air"));
        QVERIFY(f.menyval(Meny::mnuLineFiler)->isVisible());
        QVERIFY(mj.m.visade.isEmpty());

        QTRY_VERIFY(f.isVisible());
        f.menyval(Meny::mnuAvsluta)->trigger();
        QVERIFY(!f.isVisible());
    }

    // ManuellaVal/LagsortVal stays only when it is exactly "True"; anything
    // else is written back as "False" at the load.
    void lagsortVal() {
        for (const QString& fore :
             {QString(), QStringLiteral("True"), QStringLiteral("1"), QStringLiteral("true")}) {
            Testfixtur mj;
            if (!fore.isNull())
                QVERIFY(mj.g.iniProgram.WriteKey(QStringLiteral("ManuellaVal"), QStringLiteral("LagsortVal"),
                                                 fore));
            MDIfrmHuvudmeny f(mj.g, mj.m, mj.dialoger);
            f.MDIForm_Load(nullptr, 10);
            QCOMPARE(
                mj.g.iniProgram.GetKeyValue(QStringLiteral("ManuellaVal"), QStringLiteral("LagsortVal"), {}),
                fore == QLatin1String("True") ? fore : QStringLiteral("False"));
        }
    }

    // A key closes the splash early; the window still waits for the timer.
    void splashStangsOchFonstretVisasEfterTimern() {
        Testfixtur mj;
        frmSplash splash(mj.t.mapp(), mj.m);
        splash.show();
        QVERIFY(mj.m.visade.isEmpty());
        QCOMPARE(widget<QLabel>(&splash, "lblVersion")->text(), QStringLiteral("Version 1.0 Build 47"));
        MDIfrmHuvudmeny f(mj.g, mj.m, mj.dialoger);
        f.MDIForm_Load(&splash, 50);
        QVERIFY(!f.isVisible());
        QTest::keyClick(&splash, Qt::Key_Space);
        QVERIFY(!splash.isVisible());
        QVERIFY(!f.isVisible());
        QTRY_VERIFY(f.isVisible());
        QVERIFY(!f.tmrSplash().isActive());
    }

    void saknadGrafikRapporterasOchLaddningenFortsatter() {
        Testfixtur mj(false);
        frmSplash splash(mj.t.mapp(), mj.m);
        QCOMPARE(mj.m.senasteText(), QStringLiteral("frmSplash, Form_load: Ikon/Bild saknas!"));
        MDIfrmHuvudmeny f(mj.g, mj.m, mj.dialoger);
        f.MDIForm_Load(nullptr, 10);
        QCOMPARE(mj.m.visade.back().text, QStringLiteral("MDIfrmHuvudmeny, Form_load: Ikon saknas!"));
        QCOMPARE(mj.m.visade.back().titel, QStringLiteral("Ikon saknas"));
        QCOMPARE(mj.m.visade.back().ikon, Meddelanden::Ikon::Information);
        QTRY_VERIFY(f.isVisible());
    }

    // A window's menu items are off while it is open and back as soon as it has
    // closed, whichever way it closes.
    void menylagenForEttFonster() {
        Fonster mj;
        Fonstervard& v = mj.f.vard();
        v.registreraFonster(prov("frmProv"), [](Formkontext&) { return new QWidget; },
                            {.menyer = {.avVidOppning = {Meny::mnuUtskrift, Meny::mnuInstallningar},
                                        .paVidOppning = {Meny::mnuSokSkytt},
                                        .paVidStangning = {Meny::mnuUtskrift},
                                        .avVidStangning = {Meny::mnuSokSkytt}}});
        v.sattMeny(Meny::mnuUtskrift, true);
        v.sattMeny(Meny::mnuInstallningar, false);
        QWidget* w = v.visaFonster(prov("frmProv"));
        QVERIFY(w);
        QVERIFY(!v.menyPa(Meny::mnuUtskrift) && !v.menyPa(Meny::mnuInstallningar) &&
                v.menyPa(Meny::mnuSokSkytt));
        QVERIFY(qobject_cast<QMdiSubWindow*>(w->parentWidget())->close()); // the frame's X
        QVERIFY(v.menyPa(Meny::mnuUtskrift));
        QVERIFY(!v.menyPa(Meny::mnuInstallningar)); // not given back: only taken
        QVERIFY(!v.menyPa(Meny::mnuSokSkytt));
        QVERIFY(!v.fonster(prov("frmProv")));

        w = v.visaFonster(prov("frmProv"));
        QVERIFY(!v.menyPa(Meny::mnuUtskrift));
        QVERIFY(v.stangFonster(w));
        QVERIFY(v.menyPa(Meny::mnuUtskrift));
    }

    // Activation is a child window becoming the active one after another window
    // of ours, not the same window getting the focus back after a message box.
    // The main window deleted with child windows open (a window going out of
    // scope) takes them with it, still on a whole context (a form checks a field
    // as it loses the focus), and activates no child on the way.
    void aktiveringOchBarnSomGarMedFonstret() {
        Testfixtur mj;
        auto f = std::make_unique<MDIfrmHuvudmeny>(mj.g, mj.m, mj.dialoger, Testfixtur::ledigPort(),
                                                   QHostAddress::LocalHost);
        QStringList sistaMeny;
        for (const char* namn : {"frmA", "frmB"})
            f->vard().registreraFonster(prov(namn), [&sistaMeny](Formkontext& k) {
                auto* w = new QWidget;
                new QLineEdit(w);
                QObject::connect(w, &QObject::destroyed, [&sistaMeny, &k] {
                    sistaMeny << (k.fonster().menyPa(Meny::mnuNy) ? QStringLiteral("på")
                                                                  : QStringLiteral("av"));
                });
                return w;
            });
        f->MDIForm_Load(nullptr, 1);
        f->show();
        QApplication::setActiveWindow(f.get());
        QVERIFY(QTest::qWaitForWindowActive(f.get()));
        QList<QWidget*> aktiverade;
        connect(&f->kontext(), &Formkontext::aktiverad, this, [&](QWidget* w) { aktiverade << w; });
        const QPointer<QWidget> a = f->vard().visaFonster(prov("frmA"));
        QTRY_COMPARE(aktiverade, QList<QWidget*>{a});
        const QPointer<QWidget> b = f->vard().visaFonster(prov("frmB"));
        QTRY_COMPARE(aktiverade, (QList<QWidget*>{a, b}));

        stangNastaDialog();
        QMessageBox::information(f.get(), QStringLiteral("Pilkrona"), QStringLiteral("Ett meddelande"));
        // However the platform hands the activation back, the same window again
        // is no new activation.
        emit f->mdiYta()->subWindowActivated(f->mdiYta()->activeSubWindow());
        QTest::qWait(50);
        QCOMPARE(aktiverade.size(), 2);
        f->mdiYta()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(a->parentWidget()));
        QTRY_COMPARE(aktiverade, (QList<QWidget*>{a, b, a}));

        f.reset();
        QVERIFY(!a && !b);
        QCOMPARE(sistaMeny, QStringList({QStringLiteral("på"), QStringLiteral("på")}));
        QCOMPARE(aktiverade.size(), 3);
    }

    // Alt and a letter that a button of the active child window carries presses
    // that button; the menu bar's Alt+A ("&Arkiv") does not open over it.
    void barnfonstretsAtkomsttangenterGarForst() {
        Fonster mj;
        mj.f.menyval(Meny::mnuNy)->trigger();
        QWidget* ny = mj.f.vard().fonster(Fonsternamn::NyTavling);
        QVERIFY(ny);
        auto* namn = widget<QLineEdit>(ny, "txtTavlingensNamn");
        namn->setFocus();
        QTRY_VERIFY(namn->hasFocus());
        QTest::keyClick(namn, Qt::Key_A, Qt::AltModifier);
        QVERIFY(!mj.f.vard().fonster(Fonsternamn::NyTavling)); // "&Avbryt"
        QVERIFY(!QApplication::activePopupWidget());
        QVERIFY(mj.f.vard().menyPa(Meny::mnuNy));
    }

    // The information window goes as soon as the operator turns elsewhere: the
    // background of the main window, the About box.
    void informationsfonstretGarNarManVanderSig() {
        Fonster mj;
        mj.dialoger.filer.enqueue(mj.skapaTavling(QStringLiteral("Cup")));
        mj.g.cnnTavling.Close();
        mj.g.tavlingslas.reset();
        mj.g.NollstallTavlingsdata();
        mj.f.menyval(Meny::mnuOppna)->trigger();
        QVERIFY(mj.f.informationsfonster());
        QTest::mouseClick(mj.f.mdiYta()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!mj.f.informationsfonster());

        mj.f.menyval(Meny::mnuStang)->trigger();
        mj.dialoger.filer.enqueue(mj.tavlingsmapp() + QStringLiteral("/Cup/Cup.air"));
        mj.f.menyval(Meny::mnuOppna)->trigger();
        QVERIFY(mj.f.informationsfonster());
        stangNastaDialog();
        mj.f.menyval(Meny::mnuOm)->trigger();
        QVERIFY(!mj.f.informationsfonster());
    }

    // Qt's own dialogs speak Swedish whatever the locale; "Utskrifts alt."
    // without a default printer ends without a dialog.
    void qtsDialoger() {
        QVERIFY(laddaSvenskaQtTexter(*qApp));
        QDialogButtonBox knappar(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(knappar.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Avbryt"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Files of type:"),
                 QStringLiteral("Filer av typen:"));

        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a default printer");
        QtDialoger dialoger;
        bool dialogVisades = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* d = QApplication::activeModalWidget()) {
                dialogVisades = true;
                d->close();
            }
        });
        QVERIFY(!dialoger.valjKopior(nullptr, {2, QString()}));
        QTest::qWait(10);
        QVERIFY(!dialogVisades);
    }

    // The print dialog behind "Utskrifts alt." speaks Swedish as the others
    // do: its confirm button and every text it asks for.
    void utskriftsdialogenPaSvenska() {
        struct Lyssnare : QTranslator {
            mutable QList<QPair<QByteArray, QByteArray>> fragor;
            QString translate(const char* sammanhang, const char* kalla, const char*, int) const override {
                if (QByteArray(sammanhang).startsWith("QPrint"))
                    fragor.append(qMakePair(QByteArray(sammanhang), QByteArray(kalla)));
                return {};
            }
            bool isEmpty() const override { return false; }
        };
        QVERIFY(laddaSvenskaQtTexter(*qApp));
        Lyssnare lyssnare;
        QCoreApplication::installTranslator(&lyssnare);
        QPrinter skrivare;
        QPrintDialog dialog(&skrivare);
        QCoreApplication::removeTranslator(&lyssnare);

        const auto* knappar = dialog.findChild<QDialogButtonBox*>();
        QVERIFY(knappar);
        QCOMPARE(knappar->button(QDialogButtonBox::Ok)->text(), QStringLiteral("&Skriv ut"));
        QCOMPARE(knappar->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Avbryt"));
        QStringList engelska;
        for (const auto& [sammanhang, kalla] : std::as_const(lyssnare.fragor))
            if (kalla != "Form" && kalla != "..." &&
                QCoreApplication::translate(sammanhang, kalla) == QString::fromUtf8(kalla))
                engelska << QString::fromUtf8(sammanhang + ": " + kalla);
        QVERIFY(lyssnare.fragor.size() > 20);
        QVERIFY2(engelska.isEmpty(), qPrintable(engelska.join(u'\n')));
    }
};

QTEST_MAIN(TestHuvudmeny)
#include "test_huvudmeny.moc"
