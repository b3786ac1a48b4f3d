#include "platform/QtMeddelanden.h"
#include "shell/Felfalla.h"
#include "shell/Fonsternamn.h"
#include "shell/Grafik.h"
#include "shell/frmBladdra.h"
#include "shell/frmNyTavling.h"
#include "shell/frmOm.h"
#include "shell/frmStatusUtskrift.h"
#include "support/Testfixtur.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>

// The shell's own windows, each with a test context instead of the main window:
// no main window, no spectator listener.
class TestFormular : public QObject {
    Q_OBJECT

    static frmNyTavling* oppnaNyTavling(Testfixtur& f) {
        f.fonster.registreraFonster(Fonsternamn::NyTavling,
                                    [](Formkontext& k) { return new frmNyTavling(k); });
        return qobject_cast<frmNyTavling*>(f.fonster.visaFonster(Fonsternamn::NyTavling));
    }

private slots:
    void nyTavlingSkapasOchLamnasOver() {
        Testfixtur f;
        frmNyTavling* ny = oppnaNyTavling(f);
        QVERIFY(ny);
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(ny->txtSokvag->text(), f.g.programmappMedAvslut());
        QVERIFY(ny->optNationellt->isChecked() && !ny->chkMasterskap->isEnabled());
        QVERIFY(!ny->cmdOK->isEnabled());
        ny->txtTavlingensNamn->setText(QStringLiteral("Klubbmästerskap"));
        ny->txtAntalBanor->setText(QStringLiteral("12"));
        ny->txtSokvag->setText(f.tavlingsmapp());
        ny->optMix->setChecked(true);
        QVERIFY(ny->cmdOK->isEnabled());
        QPointer<frmNyTavling> vakt(ny);
        QTest::mouseClick(ny->cmdOK, Qt::LeftButton);

        QVERIFY2(f.m.visade.isEmpty(), qPrintable(f.m.senasteText()));
        QCOMPARE(f.fonster.skapade, 1);
        QVERIFY(f.g.tavlingOppen() && f.g.blnMix);
        QCOMPARE(f.g.intSkjutlagsstorlek, 12);
        QTRY_VERIFY(!vakt);
    }

    // Cancel, or the frame's close, with no competition open gives the
    // no-competition menus back.
    void avbrytGerTillbakaMenyerna() {
        Testfixtur f;
        frmNyTavling* ny = oppnaNyTavling(f);
        f.kontext.sattMenyer({Meny::mnuNy, Meny::mnuOppna, Meny::mnuImportera}, false);
        f.kontext.sattMenyer({Meny::mnuStang, Meny::mnuUtskrift}, true);
        QTest::mouseClick(ny->cmdAvbryt, Qt::LeftButton);
        QVERIFY(f.fonster.menyPa(Meny::mnuNy) && f.fonster.menyPa(Meny::mnuOppna) &&
                f.fonster.menyPa(Meny::mnuImportera));
        QVERIFY(!f.fonster.menyPa(Meny::mnuStang) && !f.fonster.menyPa(Meny::mnuUtskrift));

        ny = oppnaNyTavling(f);
        f.kontext.sattMenyer({Meny::mnuNy, Meny::mnuOppna}, false);
        ny->close();
        QVERIFY(f.fonster.menyPa(Meny::mnuNy) && f.fonster.menyPa(Meny::mnuOppna));
    }

    // The chooser belongs to the dialog that opened it: when the dialog goes, so
    // does the chooser, and nothing is handed to a dialog that is gone.
    void mappvaljarenForsvinnerMedSinDialog() {
        Testfixtur f;
        QPointer<frmNyTavling> ny = oppnaNyTavling(f);
        QTest::mouseClick(ny->cmdBladdra, Qt::LeftButton);
        QPointer<frmBladdra> valjare = ny->findChild<frmBladdra*>();
        QVERIFY(valjare && valjare->isVisible());
        QVERIFY(valjare->isWindow() && valjare->windowModality() == Qt::WindowModal);
        // Choosing works while the dialog lives.
        valjare->valjMapp(f.tavlingsmapp());
        QTest::mouseClick(valjare->cmdOK, Qt::LeftButton);
        QCOMPARE(ny->txtSokvag->text(), f.tavlingsmapp() + QLatin1Char('/'));
        QTRY_VERIFY(!valjare);

        QTest::mouseClick(ny->cmdBladdra, Qt::LeftButton);
        valjare = ny->findChild<frmBladdra*>();
        QVERIFY(valjare);
        ny->close(); // the frame's X, or choosing a recent competition
        QTRY_VERIFY(!ny);
        QVERIFY(!valjare);
    }

    void mappvaljaren() {
        Testfixtur f;
        QWidget anropare;
        anropare.show();
        QString skrivet = QStringLiteral("orört");
        auto* b = new frmBladdra(f.kontext, &anropare, QString());
        connect(b, &frmBladdra::valt, &anropare, [&](const QString& s) { skrivet = s; });
        b->show();
        QCOMPARE(b->aktuellMapp(), QDir::cleanPath(f.t.mapp()));
        QTest::mouseClick(b->cmdAvbryt, Qt::LeftButton);
        QCOMPARE(skrivet, QStringLiteral("orört"));

        b = new frmBladdra(f.kontext, &anropare, frmBladdra::TaggInstallningar);
        connect(b, &frmBladdra::valt, &anropare, [&](const QString& s) { skrivet = s; });
        b->show();
        f.m.skriv(QStringLiteral("  "));
        b->cmdNyMapp_Click();
        QVERIFY(!QFileInfo::exists(f.t.fil(QStringLiteral("  "))));
        f.m.skriv(QStringLiteral(" Ny "));
        b->cmdNyMapp_Click();
        QVERIFY(QFileInfo(f.t.fil(QStringLiteral("Ny"))).isDir());
        f.m.skriv(QStringLiteral("Ny"));
        b->cmdNyMapp_Click();
        QCOMPARE(f.m.senasteText(), QStringLiteral("Mappen \"Ny\" kunde inte skapas."));
        QVERIFY(b->isVisible());
        QCOMPARE(b->aktuellMapp(), QDir::cleanPath(f.t.mapp())); // the new folder is not chosen
        b->valjMapp(f.t.fil(QStringLiteral("Ny")));
        QTest::mouseClick(b->cmdOK, Qt::LeftButton);
        QCOMPARE(skrivet, f.t.fil(QStringLiteral("Ny"))); // as it is, for the settings form

        QCOMPARE(frmBladdra::tillbakatext(QStringLiteral("/"), QString()), QStringLiteral("/"));
        QCOMPARE(frmBladdra::tillbakatext(QStringLiteral("/t/T"), QString()), QStringLiteral("/t/T/"));
        QCOMPARE(frmBladdra::tillbakatext(QStringLiteral("/"), frmBladdra::TaggInstallningar),
                 QStringLiteral("/"));
    }

    // The chooser opens on the program folder, scrolled so that it can be seen
    // among many others.
    void mappvaljarenVisarSinMapp() {
        Testfixtur f;
        for (int i = 0; i < 80; ++i)
            QVERIFY(QDir().mkdir(f.t.fil(QStringLiteral("a%1").arg(i, 2, 10, QLatin1Char('0')))));
        QVERIFY(QDir().mkdir(f.t.fil(QStringLiteral("zz"))));
        f.g.strProgrammapp = f.t.fil(QStringLiteral("zz"));
        QWidget anropare;
        anropare.show();
        auto* b = new frmBladdra(f.kontext, &anropare, QString());
        b->show();
        QVERIFY(QTest::qWaitForWindowExposed(b));
        QCOMPARE(b->aktuellMapp(), f.t.fil(QStringLiteral("zz")));
        QTRY_VERIFY(b->Dir1->verticalScrollBar()->value() > 0);
        QTRY_VERIFY(b->Dir1->viewport()->rect().contains(b->Dir1->visualRect(b->Dir1->currentIndex())));
        b->close();
    }

    void omrutanOchStatusfonstret() {
        Testfixtur f;
        frmOm om(f.kontext);
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(om.windowTitle(), QStringLiteral("Om Pilkrona"));
        QCOMPARE(om.lblVersion->text(), QStringLiteral("Version 1.0 Build 47"));
        QCOMPARE(om.lblTitle->text(), QStringLiteral("Pilkrona"));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QByteArray(""));
        om.StartSysInfo();
        qputenv("PATH", path);
        QCOMPARE(f.m.senasteText(), QStringLiteral("System Information Is Unavailable At This Time"));

        frmStatusUtskrift status(f.g.strProgrammapp, f.m);
        QCOMPARE(status.windowTitle(), QStringLiteral("Status utskrift"));
        QCOMPARE(status.lblStatus->text(), QStringLiteral("Förbereder utskrift..."));
    }

    // Every form reports missing pictures the same way, once, and goes on.
    void saknadGrafikRapporterasEnGang() {
        Testfixtur f(false);
        frmOm om(f.kontext);
        QCOMPARE(f.m.visade.size(), 1);
        QCOMPARE(f.m.senasteText(), QStringLiteral("frmOm, Form_load: Ikon saknas!"));
        QCOMPARE(f.m.visade.back().ikon, Meddelanden::Ikon::Information);
        f.m.tom();
        Grafik grafik(f.g.strProgrammapp, f.m, QStringLiteral("MDIfrmHuvudmeny"),
                      QStringLiteral("Ikon saknas!"), Meddelanden::Ikon::Information,
                      QStringLiteral("Ikon saknas"));
        QVERIFY(grafik.ikon(QStringLiteral("Grafik/Ikoner/PK.ico")).isNull());
        QVERIFY(grafik.bild(QStringLiteral("Grafik/Bilder/OS.gif")).isNull());
        QCOMPARE(f.m.visade.size(), 1);
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Ikon saknas"));

        Testfixtur medGrafik;
        Grafik hittad(medGrafik.g.strProgrammapp, medGrafik.m, QStringLiteral("frmSplash"));
        QVERIFY(!hittad.bild(QStringLiteral("grafik/bilder/os.GIF")).isNull()); // any letter case
        QVERIFY(!hittad.nagotSaknas());
    }

    void felfallanVisarProcedurensPrefix() {
        TestMeddelanden m;
        QVERIFY(Felfalla::standard(m, QStringLiteral("frmOm"), QStringLiteral("Form_load"))([] {}));
        QVERIFY(m.visade.isEmpty());
        QVERIFY(!Felfalla::standard(m, QStringLiteral("frmOm"), QStringLiteral("Form_load"))(
            [] { throw Fel(53, QStringLiteral("Filen hittades inte")); }));
        QCOMPARE(m.senasteText(), QStringLiteral("frmOm, Form_load: 53 Filen hittades inte"));
        QCOMPARE(m.visade.back().titel, QStringLiteral("Fel"));
        QCOMPARE(m.visade.back().ikon, Meddelanden::Ikon::Kritisk);

        // A procedure with a box of its own: its prefix, no icon, the program's title.
        bool efter = false;
        Felfalla(m, QStringLiteral("MDIfrmHuvudmeny.mnuFil_Click "), Meddelanden::Ikon::Ingen, {})([&] {
            throw std::runtime_error("trasig");
            efter = true;
        });
        QVERIFY(!efter);
        QCOMPARE(
            m.senasteText(),
            QStringLiteral("MDIfrmHuvudmeny.mnuFil_Click 5 Ogiltigt proceduranrop eller argument (trasig)"));
        QCOMPARE(m.visade.back().titel, QString());
        QCOMPARE(m.visade.back().ikon, Meddelanden::Ikon::Ingen);
        Felfalla(m, QStringLiteral("x: "))([] { throw 42; });
        QCOMPARE(m.senasteText(), QStringLiteral("x: 5 Ogiltigt proceduranrop eller argument"));
    }

    // The message boxes break at every CR the texts carry and never run past
    // their edge; what the seam is given stays exact.
    void meddelandenVisasRadbrutna() {
        QCOMPARE(QtMeddelanden::visningstext(QStringLiteral("Sökvägen finns inte!\rSka den skapas?")),
                 QStringLiteral("Sökvägen finns inte!\nSka den skapas?"));
        QCOMPARE(QtMeddelanden::visningstext(QStringLiteral("a\r\n\r\nb")), QStringLiteral("a\n\nb"));
        const QString namn = QString(252, QLatin1Char('x'));
        const QString visad =
            QtMeddelanden::visningstext(QStringLiteral("Filen \"") + namn + QStringLiteral("\""));
        QString utanBrytpunkter = visad;
        utanBrytpunkter.remove(QChar(0x200B));
        QCOMPARE(utanBrytpunkter, QStringLiteral("Filen \"") + namn + QStringLiteral("\""));
        for (const QString& bit : visad.split(QRegularExpression(QStringLiteral("[\\s\\x{200B}]"))))
            QVERIFY(bit.size() <= 40);
        QCOMPARE(QtMeddelanden::visningstext(QStringLiteral("kort text")), QStringLiteral("kort text"));
    }

    // The program can close a question that has gone by: the real box goes
    // and answers No; a box with another text is left alone.
    void oppenFragaStangsSomNej() {
        QtMeddelanden rutor;
        const QString fraga = QStringLiteral("Vill du byta?");
        bool stangdes = false;
        bool annanStangdes = true;
        QTimer::singleShot(0, [&] {
            annanStangdes = rutor.stangFraga(QStringLiteral("Något annat"));
            stangdes = rutor.stangFraga(fraga);
        });
        QCOMPARE(rutor.visa(fraga, QStringLiteral("Åskådarskärm"), Meddelanden::Ikon::Fraga,
                            Meddelanden::Knappar::JaNej),
                 Meddelanden::Svar::Nej);
        QVERIFY(stangdes);
        QVERIFY(!annanStangdes);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(!rutor.stangFraga(fraga));
    }
};

QTEST_MAIN(TestFormular)
#include "test_formular.moc"
