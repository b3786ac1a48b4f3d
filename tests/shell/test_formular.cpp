#include "platform/QtMeddelanden.h"
#include "shell/Felfalla.h"
#include "shell/Fonsternamn.h"
#include "shell/Grafik.h"
#include "shell/Registrering.h"
#include "shell/frmBladdra.h"
#include "shell/frmNyTavling.h"
#include "shell/frmOm.h"
#include "shell/frmStatusUtskrift.h"
#include "support/Testfixtur.h"
#include "support/Widget.h"

#include <QApplication>
#include <QCheckBox>
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

// The shell's own windows over the test window host: no main window, no
// spectator listener.
class TestFormular : public QObject {
    Q_OBJECT

    // The new-competition dialog as the program registers it.
    static QWidget* oppnaNyTavling(Testfixtur& f) {
        Skal::registrera(f.delar());
        return f.fonster.visaFonster(Fonsternamn::NyTavling);
    }
    static void klicka(QWidget* form, const char* knapp) {
        QTest::mouseClick(widget<QPushButton>(form, knapp), Qt::LeftButton);
    }

private slots:
    // The kind chosen is the kind created, with the typed lane count; the
    // dialog goes and the host hears of the new competition.
    void nyTavlingSkapas_data() {
        QTest::addColumn<QString>("typ");
        QTest::newRow("nationellt") << "optNationellt";
        QTest::newRow("sportskytte") << "optSportskytte";
        QTest::newRow("mix") << "optMix";
    }
    void nyTavlingSkapas() {
        QFETCH(QString, typ);
        Testfixtur f;
        QPointer<QWidget> ny = oppnaNyTavling(f);
        QVERIFY(ny && f.m.visade.isEmpty());
        QVERIFY(!widget<QCheckBox>(ny, "chkMasterskap")->isEnabled());
        widget<QLineEdit>(ny, "txtTavlingensNamn")->setText(QStringLiteral("Klubbmästerskap"));
        widget<QLineEdit>(ny, "txtAntalBanor")->setText(QStringLiteral("12"));
        widget<QLineEdit>(ny, "txtSokvag")->setText(f.tavlingsmapp());
        widget<QRadioButton>(ny, typ)->setChecked(true);
        klicka(ny, "cmdOK");
        QVERIFY2(f.m.visade.isEmpty(), qPrintable(f.m.senasteText()));
        QCOMPARE(f.fonster.skapade, 1);
        QVERIFY(f.g.tavlingOppen());
        QCOMPARE((QList<bool>{f.g.blnNationellt, f.g.blnSportskytte, f.g.blnMix}),
                 (QList<bool>{typ == "optNationellt", typ == "optSportskytte", typ == "optMix"}));
        QCOMPARE(f.g.intSkjutlagsstorlek, 12);
        QTRY_VERIFY(!ny);
    }

    // The dialog takes the competition items while it is open; cancel gives
    // the no-competition menus back at once, and so does a close that passes
    // the host by, once the window is gone.
    void avbrytGerTillbakaMenyerna() {
        Testfixtur f;
        f.kontext.sattMenyer({Meny::mnuNy, Meny::mnuOppna, Meny::mnuImportera}, true);
        QWidget* ny = oppnaNyTavling(f);
        QVERIFY(!f.fonster.menyPa(Meny::mnuNy) && !f.fonster.menyPa(Meny::mnuOppna) &&
                !f.fonster.menyPa(Meny::mnuImportera) && !f.fonster.menyPa(Meny::mnuStang));
        f.kontext.sattMenyer({Meny::mnuStang, Meny::mnuUtskrift}, true);
        klicka(ny, "cmdAvbryt");
        QVERIFY(f.fonster.menyPa(Meny::mnuNy) && f.fonster.menyPa(Meny::mnuOppna) &&
                f.fonster.menyPa(Meny::mnuImportera));
        QVERIFY(!f.fonster.menyPa(Meny::mnuStang) && !f.fonster.menyPa(Meny::mnuUtskrift));

        ny = f.fonster.visaFonster(Fonsternamn::NyTavling);
        ny->close();
        QTRY_VERIFY(f.fonster.menyPa(Meny::mnuNy) && f.fonster.menyPa(Meny::mnuOppna));
    }

    // The chooser belongs to the dialog that opened it: when the dialog goes, so
    // does the chooser, and nothing is handed to a dialog that is gone.
    void mappvaljarenForsvinnerMedSinDialog() {
        Testfixtur f;
        QPointer<QWidget> ny = oppnaNyTavling(f);
        klicka(ny, "cmdBladdra");
        QPointer<frmBladdra> valjare = ny->findChild<frmBladdra*>();
        QVERIFY(valjare && valjare->isVisible());
        QVERIFY(valjare->isWindow() && valjare->windowModality() == Qt::WindowModal);
        valjare->valjMapp(f.tavlingsmapp());
        klicka(valjare, "cmdOK");
        QCOMPARE(widget<QLineEdit>(ny, "txtSokvag")->text(), f.tavlingsmapp() + QLatin1Char('/'));
        QTRY_VERIFY(!valjare);

        klicka(ny, "cmdBladdra");
        valjare = ny->findChild<frmBladdra*>();
        QVERIFY(valjare);
        ny->close(); // the frame's X, or choosing a recent competition
        QTRY_VERIFY(!ny);
        QVERIFY(!valjare);
    }

    // The chooser starts in the program folder; Cancel hands nothing over; a new
    // folder is made (trimmed, not over one that exists) but not chosen; the
    // settings form gets its folder without a trailing separator.
    void mappvaljaren() {
        Testfixtur f;
        QWidget anropare;
        anropare.show();
        QString skrivet = QStringLiteral("orört");
        auto* b = new frmBladdra(f.kontext, &anropare, QString());
        connect(b, &frmBladdra::valt, &anropare, [&](const QString& s) { skrivet = s; });
        b->show();
        QCOMPARE(b->aktuellMapp(), QDir::cleanPath(f.t.mapp()));
        klicka(b, "cmdAvbryt");
        QCOMPARE(skrivet, QStringLiteral("orört"));

        b = new frmBladdra(f.kontext, &anropare, frmBladdra::TaggInstallningar);
        connect(b, &frmBladdra::valt, &anropare, [&](const QString& s) { skrivet = s; });
        b->show();
        for (const char* namn : {"  ", " Ny ", "Ny"}) {
            f.m.skriv(QString::fromLatin1(namn));
            klicka(b, "cmdNyMapp");
        }
        QVERIFY(!QFileInfo::exists(f.t.fil(QStringLiteral("  "))));
        QVERIFY(QFileInfo(f.t.fil(QStringLiteral("Ny"))).isDir());
        QCOMPARE(f.m.visade.size(), 1);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Mappen \"Ny\" kunde inte skapas."));
        QVERIFY(b->isVisible());
        QCOMPARE(b->aktuellMapp(), QDir::cleanPath(f.t.mapp()));
        b->valjMapp(f.t.fil(QStringLiteral("Ny")));
        klicka(b, "cmdOK");
        QCOMPARE(skrivet, f.t.fil(QStringLiteral("Ny")));

        QCOMPARE(frmBladdra::tillbakatext(QStringLiteral("/"), QString()), QStringLiteral("/"));
        QCOMPARE(frmBladdra::tillbakatext(QStringLiteral("/t/T"), QString()), QStringLiteral("/t/T/"));
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
        auto* lista = widget<QTreeView>(b, "Dir1");
        QTRY_VERIFY(lista->verticalScrollBar()->value() > 0);
        QTRY_VERIFY(lista->viewport()->rect().contains(lista->visualRect(lista->currentIndex())));
        b->close();
    }

    void omrutanOchStatusfonstret() {
        Testfixtur f;
        frmOm om(f.kontext);
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(widget<QLabel>(&om, "lblVersion")->text(), QStringLiteral("Version 1.0 Build 47"));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QByteArray(""));
        klicka(&om, "cmdSysInfo");
        qputenv("PATH", path);
        QCOMPARE(f.m.senasteText(), QStringLiteral("System Information Is Unavailable At This Time"));

        frmStatusUtskrift status(f.g.strProgrammapp, f.m);
        status.visaStatus(QStringLiteral("Skjutlag 3"));
        QCOMPARE(widget<QLabel>(&status, "lblStatus")->text(), QStringLiteral("Skjutlag 3"));
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
        // The list builders name the description first.
        Felfalla(m, QStringLiteral("frmLista.Bygg.. "), Meddelanden::Ikon::Kritisk, QStringLiteral("Fel"),
                 QStringLiteral(" "),
                 Felfalla::Ordning::BeskrivningForst)([] { throw Fel(1004, QStringLiteral("Nej")); });
        QCOMPARE(m.senasteText(), QStringLiteral("frmLista.Bygg.. Nej 1004"));
    }

    // The message boxes break at every CR the texts carry and never run past
    // their edge; what the seam is given stays exact.
    void meddelandenVisasRadbrutna() {
        QCOMPARE(QtMeddelanden::visningstext(QStringLiteral("Sökvägen finns inte!\rSka den skapas?")),
                 QStringLiteral("Sökvägen finns inte!\nSka den skapas?"));
        QCOMPARE(QtMeddelanden::visningstext(QStringLiteral("a\r\n\r\nb")), QStringLiteral("a\n\nb"));
        const QString text =
            QStringLiteral("Filen \"") + QString(252, QLatin1Char('x')) + QStringLiteral("\"");
        const QString visad = QtMeddelanden::visningstext(text);
        QCOMPARE(QString(visad).remove(QChar(0x200B)), text);
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
