#include "common/IniNamn.h"
#include "shell/Fonsternamn.h"
#include "shell/Tavling.h"
#include "shell/Tradvantan.h"
#include "shell/frmBladdra.h"
#include "support/Askadarstod.h"
#include "support/Kopieringsvakt.h"
#include "support/Testfixtur.h"
#include "support/VanligAnvandare.h"
#include "support/Widget.h"
#include "transfer/Registrering.h"
#include "transfer/frmOverforingsguide.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>
#include <optional>
#include <utility>

using Overforing::Riktning;
using Ikon = Meddelanden::Ikon;

// The import and export wizards driven as the operator drives them, with the
// file dialog and the message boxes answered by the test.
class TestGuide : public QObject {
    Q_OBJECT

    static void klicka(QWidget* form, const char* knapp) {
        QTest::mouseClick(widget<QPushButton>(form, knapp), Qt::LeftButton);
    }
    static QString text(QWidget* form, const char* namn) {
        if (auto* l = form->findChild<QLabel*>(QString::fromLatin1(namn)))
            return l->text();
        return widget<QLineEdit>(form, namn)->text();
    }
    static void sattIni(Testfixtur& f, const IniNyckel& n, const QString& varde) {
        QVERIFY(f.g.iniProgram.WriteKey(n.sektion, n.nyckel, varde));
    }
    // To step 2 with the destination as given, the source as step 0 filled it.
    static void fyllI(frmOverforingsguide& g, const QString& dest) {
        klicka(&g, "cmdNasta");
        klicka(&g, "cmdNasta");
        widget<QLineEdit>(&g, "txtSokvagDestTavling")->setText(dest);
        klicka(&g, "cmdNasta");
    }

private slots:
    // Every step's texts and buttons in both words; step 1 takes the mode's
    // folder from the INI each time it is shown.
    void stegen_data() {
        QTest::addColumn<QString>("v"); // importera / exportera
        QTest::addColumn<QString>("beskrivning0");
        QTest::addColumn<QString>("exempel");
        const auto rad = [](const char* v, const char* beskrivning0, const char* exempel) {
            QTest::newRow(v) << QString::fromUtf8(v) << QString::fromUtf8(beskrivning0)
                             << QString::fromUtf8(exempel);
        };
        rad("importera", "Välj sökvägen till tävlingen som ska importeras.",
            "T.ex. C:\\Tävlingar\nOm tävlingen heter \"Min Tävling\" kommer den att hamna i mappen \"Sökväg "
            "+ Min "
            "tävling\" T.ex. C:\\Tävlingar\\Min tävling");
        rad("exportera", "Välj sökvägen till tävlingen som ska exporteras, aktuell tävling är redan ifylld.",
            "T.ex. A:\\\nOm tävlingen heter \"Min Tävling\" kommer den att hamna i mappen \"Sökväg + Min "
            "tävling\" T.ex. A:\\Min tävling");
    }
    void stegen() {
        QFETCH(QString, v);
        QFETCH(QString, beskrivning0);
        QFETCH(QString, exempel);
        const bool imp = v == QLatin1String("importera");
        const QString V = v.at(0).toUpper() + v.mid(1);
        const QString s = v + QStringLiteral("s");                      // importeras
        const QString en = v.left(v.size() - 3) + QStringLiteral("en"); // importen
        Testfixtur f;
        sattIni(f, imp ? Ini::Tavlingskatalog : Ini::Exportkatalog, QStringLiteral("/media/sticka"));
        frmOverforingsguide g(f.kontext, imp ? Riktning::Import : Riktning::Export);
        g.show();
        QCOMPARE(g.objectName(), QStringLiteral("frm%1Guide").arg(V));
        QCOMPARE(g.windowTitle(), QStringLiteral("Guiden %1 tävling.").arg(V));
        auto* foregaende = widget<QPushButton>(&g, "cmdForegaende");
        auto* nasta = widget<QPushButton>(&g, "cmdNasta");
        QCOMPARE(g.steg(), frmOverforingsguide::Introduktion);
        QCOMPARE(text(&g, "lblHuvudrubrik"), QStringLiteral("Välkommen till Guiden %1 tävling.").arg(V));
        QCOMPARE(widget<QLabel>(&g, "lblHuvudrubrik")->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(
            text(&g, "lblGuideBeskrivning1"),
            QStringLiteral("Du kan när som helst klicka på \"Avbryt\" för att avsluta guiden utan att %1 "
                           "någon tävling.")
                .arg(v));
        QVERIFY(widget<QWidget>(&g, "picIntroduktion")->isVisible());
        QVERIFY(!foregaende->isEnabled() && nasta->isEnabled());
        QCOMPARE(nasta->text(), QStringLiteral("&Nästa"));

        klicka(&g, "cmdNasta");
        QCOMPARE(g.steg(), 0);
        QVERIFY(!widget<QWidget>(&g, "picIntroduktion")->isVisible() &&
                widget<QWidget>(&g, "picSteg0")->isVisible());
        QVERIFY(foregaende->isEnabled());
        QCOMPARE(text(&g, "lblRubrik"), QStringLiteral("Skriv in information för %1").arg(en));
        QCOMPARE(text(&g, "lblRubrikForklaring"), QStringLiteral("Sökväg till tävling som ska %1").arg(s));
        QCOMPARE(text(&g, "lblBeskrivning0"), beskrivning0);
        QCOMPARE(widget<QLineEdit>(&g, "txtSokvagExpTavling")->toolTip(),
                 QStringLiteral("Här väljer man vilken tävling man ska %1.").arg(v));
        QVERIFY(widget<QPushButton>(&g, "cmdBladdraExp")->isEnabled());
        QCOMPARE(text(&g, "txtSokvagExpTavling"), QString());

        klicka(&g, "cmdNasta");
        QCOMPARE(text(&g, "lblRubrikForklaring"), QStringLiteral("Sökväg dit tävling ska %1").arg(s));
        QCOMPARE(text(&g, "lblBeskrivning1"),
                 QStringLiteral("Välj en sökväg dit tävlingen ska %1 till. ").arg(s) + exempel);
        QCOMPARE(text(&g, "txtSokvagDestTavling"), QStringLiteral("/media/sticka"));
        widget<QLineEdit>(&g, "txtSokvagDestTavling")->setText(QStringLiteral("/annat"));
        widget<QLineEdit>(&g, "txtSokvagExpTavling")->setText(QStringLiteral("/k/Cup/Cup.air"));
        klicka(&g, "cmdNasta");
        QCOMPARE(g.steg(), 2);
        QCOMPARE(text(&g, "lblRubrik"), QStringLiteral("Kontrollera informationen för %1").arg(en));
        QCOMPARE(text(&g, "lblRubrikForklaring"), QStringLiteral("Är det rätt ifyllt?"));
        QCOMPARE(text(&g, "lblValdTavling"), QStringLiteral("Vald tävling: \n/k/Cup/Cup.air"));
        QCOMPARE(text(&g, "lblValdDest"), QStringLiteral("Vald destination: \n/annat"));
        QVERIFY(!widget<QLabel>(&g, "lblStatusKopiering")->isVisible());
        QCOMPARE(nasta->text(), QStringLiteral("&Slutför"));
        QCOMPARE(nasta->toolTip(), QStringLiteral("Slutför guiden och %1 tävlingen.").arg(v));

        klicka(&g, "cmdForegaende");
        QCOMPARE(g.steg(), 1);
        QCOMPARE(text(&g, "txtSokvagDestTavling"), QStringLiteral("/media/sticka"));
        QCOMPARE(nasta->text(), QStringLiteral("&Nästa"));
        QCOMPARE(nasta->toolTip(), QStringLiteral("Gå till nästa steg i guiden."));
        klicka(&g, "cmdForegaende");
        klicka(&g, "cmdForegaende");
        QCOMPARE(g.steg(), frmOverforingsguide::Introduktion);
        QVERIFY(!foregaende->isEnabled());
        QVERIFY(f.m.visade.isEmpty());
    }

    // The source Browse starts in the competitions folder (else the program
    // folder); a cancelled dialog changes nothing.
    void bladdraKalla_data() {
        QTest::addColumn<QString>("katalog");
        QTest::addColumn<QString>("start");
        for (const auto& [rad, katalog, start] :
             {std::tuple{"ingen nyckel", "", "$T/"},
              std::tuple{"tävlingskatalog", "$T/Tävlingar", "$T/Tävlingar"},
              std::tuple{"borta", "$T/Borta", "$T/"}})
            QTest::newRow(rad) << QString::fromUtf8(katalog) << QString::fromUtf8(start);
    }
    void bladdraKalla() {
        QFETCH(QString, katalog);
        QFETCH(QString, start);
        Testfixtur f;
        const auto ut = [&](QString s) { return s.replace(QLatin1String("$T"), f.t.mapp()); };
        if (!katalog.isEmpty())
            sattIni(f, Ini::Tavlingskatalog, ut(katalog));
        frmOverforingsguide g(f.kontext, Riktning::Import);
        g.show();
        klicka(&g, "cmdNasta");
        widget<QLineEdit>(&g, "txtSokvagExpTavling")->setText(QStringLiteral("/förra/Förra.air"));
        klicka(&g, "cmdBladdraExp");
        QCOMPARE(f.dialoger.startmappar, QStringList{ut(start)});
        QCOMPARE(text(&g, "txtSokvagExpTavling"), QStringLiteral("/förra/Förra.air"));
        f.dialoger.filer.enqueue(QStringLiteral("/sticka/Cup/Cup.air"));
        klicka(&g, "cmdBladdraExp");
        QCOMPARE(text(&g, "txtSokvagExpTavling"), QStringLiteral("/sticka/Cup/Cup.air"));
        QVERIFY(f.m.visade.isEmpty());
    }

    // "&Slutför" copies the folder, says so and closes: the open competition
    // exported (step 0 fills it in, not to be browsed), a browsed one imported. While the copy runs the
    // buttons are off and neither Cancel nor the close box closes the wizard.
    void kopierar_data() {
        QTest::addColumn<int>("riktning");
        QTest::newRow("import") << int(Riktning::Import);
        QTest::newRow("export") << int(Riktning::Export);
    }
    void kopierar() {
        QFETCH(int, riktning);
        const bool imp = Riktning(riktning) == Riktning::Import;
        Testfixtur f;
        const QString cup = f.skapaTavling(QStringLiteral("Cup"));
        if (imp) {
            Tavling::stang(f.g);
            f.dialoger.filer.enqueue(cup);
        }
        QVERIFY(QDir().mkpath(f.t.fil(QStringLiteral("Sticka"))));
        frmOverforingsguide g(f.kontext, Riktning(riktning));
        g.show();
        klicka(&g, "cmdNasta");
        QCOMPARE(widget<QPushButton>(&g, "cmdBladdraExp")->isEnabled(), imp);
        if (imp)
            klicka(&g, "cmdBladdraExp");
        QCOMPARE(text(&g, "txtSokvagExpTavling"), cup);
        klicka(&g, "cmdNasta");
        widget<QLineEdit>(&g, "txtSokvagDestTavling")->setText(f.t.fil(QStringLiteral("Sticka")));
        klicka(&g, "cmdNasta");
        QList<bool> underKopieringen;
        NarDenVisas vakt([&] {
            for (const char* b : {"cmdForegaende", "cmdNasta", "cmdAvbryt"})
                underKopieringen << widget<QPushButton>(&g, b)->isEnabled();
            g.close();
            g.reject();
            underKopieringen << g.isVisible();
        });
        widget<QLabel>(&g, "lblStatusKopiering")->installEventFilter(&vakt);
        klicka(&g, "cmdNasta");
        QCOMPARE(underKopieringen, (QList<bool>{false, false, false, true}));
        QCOMPARE(f.m.visade.size(), 1);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Kopieringen är klar!"));
        QCOMPARE(f.m.visade[0].titel, QStringLiteral("Status"));
        QCOMPARE(f.m.visade[0].ikon, Ikon::Information);
        QCOMPARE(g.result(), int(QDialog::Accepted));
        QVERIFY(!g.isVisible());
        QVERIFY(QFileInfo(f.t.fil(QStringLiteral("Sticka/Cup/Cup.air"))).isFile());
        QVERIFY(QFileInfo(f.t.fil(QStringLiteral("Sticka/Cup/Cup.ini"))).isFile());
    }

    // A refused check goes back to its step with the focus on its Browse; No
    // to the date question comes back to step 1 with the INI's folder.
    void vagradGarTillbaka() {
        Testfixtur f;
        const QString cup = f.skapaTavling(QStringLiteral("Cup"));
        Tavling::stang(f.g);
        const QString sticka = f.t.fil(QStringLiteral("Sticka"));
        QVERIFY(QDir().mkpath(sticka + QStringLiteral("/Cup")) && QFile::copy(cup, sticka + "/Cup/Cup.air"));
        sattIni(f, Ini::Tavlingskatalog, f.tavlingsmapp());
        frmOverforingsguide g(f.kontext, Riktning::Import);
        g.show();
        fyllI(g, sticka);
        klicka(&g, "cmdNasta");
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Tomt fält"));
        QCOMPARE(g.steg(), 0);
        QCOMPARE(g.focusWidget(), widget<QPushButton>(&g, "cmdBladdraExp"));

        f.m.svara(Meddelanden::Svar::Nej);
        widget<QLineEdit>(&g, "txtSokvagExpTavling")->setText(cup);
        klicka(&g, "cmdNasta");
        widget<QLineEdit>(&g, "txtSokvagDestTavling")->setText(sticka);
        klicka(&g, "cmdNasta");
        klicka(&g, "cmdNasta");
        QVERIFY(f.m.senasteText().startsWith(QStringLiteral("Tävlingen finns redan!")));
        QCOMPARE(g.steg(), 1);
        QCOMPARE(g.focusWidget(), widget<QPushButton>(&g, "cmdBladdraDest"));
        QCOMPARE(text(&g, "txtSokvagDestTavling"), f.tavlingsmapp());
        QVERIFY(g.isVisible());
    }

    // A copy that fails is told with its cause; the wizard stays on step 2
    // with its buttons back, and may try again.
    void misslyckadKopiering() {
        if (korSomVanligAnvandare("misslyckadKopiering"))
            return;
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        const QString skyddad = f.t.fil(QStringLiteral("Skyddad"));
        QVERIFY(QDir().mkpath(skyddad));
        QVERIFY(QFile::setPermissions(skyddad, QFile::ReadOwner | QFile::ExeOwner));
        frmOverforingsguide g(f.kontext, Riktning::Export);
        g.show();
        fyllI(g, skyddad);
        klicka(&g, "cmdNasta");
        QFile::setPermissions(skyddad, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(f.m.visade.size(), 1);
        QVERIFY2(f.m.senasteText().startsWith(
                     QStringLiteral("Detta fel blev under kopieringen av tävlingen: \r\n")),
                 qPrintable(f.m.senasteText()));
        QCOMPARE(f.m.visade[0].titel, QStringLiteral("Fel"));
        QCOMPARE(g.steg(), 2);
        QVERIFY(g.isVisible());
        QVERIFY(!widget<QLabel>(&g, "lblStatusKopiering")->isVisible());
        for (const char* b : {"cmdForegaende", "cmdNasta", "cmdAvbryt"})
            QVERIFY(widget<QPushButton>(&g, b)->isEnabled());
        klicka(&g, "cmdNasta");
        QCOMPARE(f.m.senasteText(), QStringLiteral("Kopieringen är klar!"));
        QVERIFY(QFileInfo(skyddad + QStringLiteral("/Cup/Cup.air")).isFile());
    }

    // When the usual backup folder is not one of the program's (here a
    // competition of its own), the closing message says where the replaced
    // files are.
    void ersattaFilerPaAnnanPlats() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        const QString sticka = f.t.fil(QStringLiteral("Sticka"));
        QVERIFY(QDir().mkpath(sticka + QStringLiteral("/Cup.bak")));
        QCOMPARE(
            Overforing::kopieraTavlingsmapp(sticka + u'/', f.tavlingsmapp() + QStringLiteral("/Cup")).feltext,
            QString());
        QFile egen(sticka + QStringLiteral("/Cup.bak/Cup.bak.air"));
        QVERIFY(egen.open(QIODevice::WriteOnly));
        egen.close();
        frmOverforingsguide g(f.kontext, Riktning::Export);
        g.show();
        fyllI(g, sticka);
        f.m.svara(Meddelanden::Svar::Ja);
        klicka(&g, "cmdNasta");
        QCOMPARE(
            f.m.senasteText(),
            QStringLiteral("Kopieringen är klar!\r\n\r\nDe filer som ersattes finns i %1, eftersom %2 inte "
                           "är en säkerhetskopia från programmet.")
                .arg(QDir::toNativeSeparators(sticka + QStringLiteral("/Cup.bak2")),
                     QDir::toNativeSeparators(sticka + QStringLiteral("/Cup.bak"))));
        QVERIFY(QFileInfo(sticka + QStringLiteral("/Cup.bak2/Cup.air")).isFile());
    }

    // Cancel and the close box leave without copying, from any step.
    void avbryt_data() {
        QTest::addColumn<bool>("stangningsruta");
        QTest::newRow("Avbryt") << false;
        QTest::newRow("stängningsrutan") << true;
    }
    void avbryt() {
        QFETCH(bool, stangningsruta);
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        QVERIFY(QDir().mkpath(f.t.fil(QStringLiteral("Sticka"))));
        frmOverforingsguide g(f.kontext, Riktning::Export);
        g.show();
        fyllI(g, f.t.fil(QStringLiteral("Sticka")));
        if (stangningsruta)
            g.close();
        else
            klicka(&g, "cmdAvbryt");
        QCOMPARE(g.result(), int(QDialog::Rejected));
        QVERIFY(!g.isVisible());
        QVERIFY(!QFileInfo::exists(f.t.fil(QStringLiteral("Sticka/Cup"))));
        QVERIFY(f.m.visade.isEmpty());
    }

    // The main menu runs the two wizards by their names, modally; the
    // destination Browse opens the chooser in the wizard's mode.
    void registrerade() {
        Testfixtur f;
        Overforingsfonster::registrera(f.delar());
        QVERIFY(QDir().mkpath(f.t.fil(QStringLiteral("Export"))));
        sattIni(f, Ini::Exportkatalog, f.t.fil(QStringLiteral("Export")));
        for (const auto& [id, namn] : {std::pair{Fonsternamn::ImporteraGuide, "frmImporteraGuide"},
                                       std::pair{Fonsternamn::ExporteraGuide, "frmExporteraGuide"}}) {
            QString sett;
            QString start;
            QTimer::singleShot(0, [&] {
                QWidget* g = QApplication::activeModalWidget();
                QVERIFY(g);
                sett = g->objectName();
                klicka(g, "cmdNasta");
                klicka(g, "cmdNasta");
                klicka(g, "cmdBladdraDest");
                auto* valjare = g->findChild<frmBladdra*>();
                QVERIFY(valjare);
                start = valjare->aktuellMapp();
                klicka(valjare, "cmdAvbryt");
                klicka(g, "cmdAvbryt");
            });
            QVERIFY(!f.fonster.visaDialog(id));
            QCOMPARE(sett, QString::fromLatin1(namn));
            QCOMPARE(start, sett == "frmImporteraGuide" ? f.t.mapp() : f.t.fil(QStringLiteral("Export")));
        }
    }

    // The copy may be done before the wizard starts to wait for it (a source
    // gone at once): the wait sees a thread already done, and the wizard
    // tells the failure and takes input again.
    void kopiaSomSlutarGenast() {
        std::unique_ptr<QThread> klar(QThread::create([] {}));
        klar->start();
        QVERIFY(klar->wait(10000));
        vantaPaTrad(*klar);

        Testfixtur f;
        const QString cup = f.skapaTavling(QStringLiteral("Cup"));
        Tavling::stang(f.g);
        f.dialoger.filer.enqueue(cup);
        QVERIFY(QDir().mkpath(f.t.fil(QStringLiteral("Sticka"))));
        frmOverforingsguide g(f.kontext, Riktning::Import);
        g.show();
        klicka(&g, "cmdNasta");
        klicka(&g, "cmdBladdraExp");
        klicka(&g, "cmdNasta");
        widget<QLineEdit>(&g, "txtSokvagDestTavling")->setText(f.t.fil(QStringLiteral("Sticka")));
        klicka(&g, "cmdNasta");
        NarDenVisas borta([&] { QVERIFY(QDir(QFileInfo(cup).path()).removeRecursively()); });
        widget<QLabel>(&g, "lblStatusKopiering")->installEventFilter(&borta);
        klicka(&g, "cmdNasta");
        QCOMPARE(f.m.visade.size(), 1);
        QVERIFY2(f.m.senasteText().startsWith(
                     QStringLiteral("Detta fel blev under kopieringen av tävlingen: \r\n")),
                 qPrintable(f.m.senasteText()));
        QCOMPARE(g.steg(), 2);
        for (const char* b : {"cmdForegaende", "cmdNasta", "cmdAvbryt"})
            QVERIFY(widget<QPushButton>(&g, b)->isEnabled());
    }

    // A missing picture is told once, with the form's name.
    void saknadeBilder() {
        Testfixtur f(false);
        frmOverforingsguide g(f.kontext, Riktning::Import);
        QCOMPARE(f.m.visade.size(), 1);
        QCOMPARE(f.m.senasteText(), QStringLiteral("frmImporteraGuide, Form_load: Ikon saknas!"));
        QCOMPARE(f.m.visade[0].titel, QStringLiteral("Ikon saknas"));
        QCOMPARE(f.m.visade[0].ikon, Ikon::Information);
    }

    // With the open competition's source field emptied, the refusal puts the
    // focus in that field: its Browse button is off.
    void tomKallaMedOppenTavling() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        frmOverforingsguide g(f.kontext, Riktning::Export);
        g.show();
        klicka(&g, "cmdNasta");
        widget<QLineEdit>(&g, "txtSokvagExpTavling")->clear();
        klicka(&g, "cmdNasta");
        widget<QLineEdit>(&g, "txtSokvagDestTavling")->setText(f.t.mapp());
        klicka(&g, "cmdNasta");
        klicka(&g, "cmdNasta");
        QCOMPARE(f.m.senasteText(),
                 QStringLiteral("Du måste ange en sökväg till den tävling som ska exporteras."));
        QCOMPARE(g.steg(), 0);
        QCOMPARE(g.focusWidget(), widget<QLineEdit>(&g, "txtSokvagExpTavling"));
    }

    // The event loop runs while the files are copied, so the windows repaint:
    // the copy waits for a database that another connection holds, and only
    // that connection's commit, made by a timer of this thread once the copy
    // has begun, lets it go on.
    void fonstretLeverUnderKopieringen() {
        Testfixtur f;
        const QString cup = f.skapaTavling(QStringLiteral("Cup"));
        const QString sticka = f.t.fil(QStringLiteral("Sticka"));
        QVERIFY(QDir().mkpath(sticka));
        bool slapptUnderKopieringen = false;
        {
            frmOverforingsguide g(f.kontext, Riktning::Export);
            g.show();
            fyllI(g, sticka);
            Kopieringsvakt vakt(cup, sticka, [&] {
                slapptUnderKopieringen = !widget<QPushButton>(&g, "cmdAvbryt")->isEnabled();
                vakt.slapp();
            });
            widget<QLabel>(&g, "lblStatusKopiering")->installEventFilter(vakt.borjar());
            klicka(&g, "cmdNasta");
        }
        QVERIFY(slapptUnderKopieringen);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Kopieringen är klar!"));
    }

    // Another part's question asked while the files are copied (the spectator
    // display's) waits for the copy: it comes once the copy is whole, before
    // the wizard's own message. The copy waits for a database another
    // connection holds, which lets go only once the question is waiting.
    void andrasFragaVantarPaKopian() {
        Testfixtur f;
        const QString cup = f.skapaTavling(QStringLiteral("Cup"));
        const QString sticka = f.t.fil(QStringLiteral("Sticka"));
        QVERIFY(QDir().mkpath(sticka));
        const QString fraga = QStringLiteral("Vill du byta till det här skjutlaget på åskådarskärmen?");
        bool helNarFragan = false;
        f.m.svaraMed([&] {
            helNarFragan = QFileInfo(sticka + QStringLiteral("/Cup/Cup.air")).isFile() &&
                           !QFileInfo::exists(sticka + QStringLiteral("/.Cup.kopia"));
            return Meddelanden::Svar::Ja;
        });
        std::optional<Meddelanden::Svar> svar;
        {
            frmOverforingsguide g(f.kontext, Riktning::Export);
            g.show();
            fyllI(g, sticka);
            // Queued calls, as the feed asks; the database goes once the question waits.
            Kopieringsvakt vakt(cup, sticka, [&] {
                QMetaObject::invokeMethod(
                    &g,
                    [&] {
                        QMetaObject::invokeMethod(
                            &g, [&] { vakt.slapp(); }, Qt::QueuedConnection);
                        svar = f.m.visa(fraga, QStringLiteral("Åskådarskärm"), Ikon::Fraga,
                                        Meddelanden::Knappar::JaNej);
                    },
                    Qt::QueuedConnection);
            });
            widget<QLabel>(&g, "lblStatusKopiering")->installEventFilter(vakt.borjar());
            klicka(&g, "cmdNasta");
        }
        QVERIFY(helNarFragan);
        QCOMPARE(svar, std::optional(Meddelanden::Svar::Ja));
        QCOMPARE(f.m.visade.size(), 2);
        QCOMPARE(f.m.visade[0].text, fraga);
        QCOMPARE(f.m.visade[1].text, QStringLiteral("Kopieringen är klar!"));
    }

    // A spectator display that connects while result entry shows a squad and
    // the export copies, from the copy's first moment (its status just shown)
    // or in the middle of it: its question comes once the copy is whole,
    // before the wizard's message, and after Yes the display gets the squad.
    // The copy waits for a database another connection holds until the
    // question waits, or has come.
    void askadarensFragaVantarPaKopian_data() {
        QTest::addColumn<bool>("direkt");
        QTest::newRow("när kopieringen börjar") << true;
        QTest::newRow("mitt i kopieringen") << false;
    }
    void askadarensFragaVantarPaKopian() {
        QFETCH(bool, direkt);
        Testfixtur f;
        const QString cup = f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 2, 2, 2);
        const QString sticka = f.t.fil(QStringLiteral("Sticka"));
        QVERIFY(QDir().mkpath(sticka));
        Askadarflode& flode = f.flode();
        flode.sattInskrivningsfraga([] { return true; });
        f.g.intValtSkjutlag = 1;
        flode.Starta_winsock_tcp();
        Askadare display;
        bool helNarFragan = false;
        f.m.svaraMed([&] {
            helNarFragan = QFileInfo(sticka + QStringLiteral("/Cup/Cup.air")).isFile() &&
                           !QFileInfo::exists(sticka + QStringLiteral("/.Cup.kopia"));
            // The operator takes a moment: the question stays meanwhile.
            for (int i = 0; i < 3; ++i)
                QCoreApplication::processEvents();
            return Meddelanden::Svar::Ja;
        });
        {
            frmOverforingsguide g(f.kontext, Riktning::Export);
            g.show();
            fyllI(g, sticka);
            QTimer fragan;
            const auto anslut = [&] {
                QVERIFY(display.anslut(flode.tcpPeer().LocalPort()));
                fragan.start(0);
            };
            Kopieringsvakt vakt(cup, sticka, [&] {
                if (!direkt)
                    anslut();
            });
            connect(&fragan, &QTimer::timeout, [&] {
                if (!flode.fragaOppen() && f.m.visade.isEmpty())
                    return;
                fragan.stop();
                vakt.slapp();
            });
            QLabel* status = widget<QLabel>(&g, "lblStatusKopiering");
            status->installEventFilter(vakt.borjar());
            NarDenVisas tidigt([&] {
                if (direkt)
                    anslut();
            });
            status->installEventFilter(&tidigt);
            klicka(&g, "cmdNasta");
        }
        QVERIFY(helNarFragan);
        QCOMPARE(f.m.visade.size(), 2);
        QCOMPARE(f.m.visade[0].text, Askadarflode::bytesfraga(0));
        QCOMPARE(f.m.visade[1].text, QStringLiteral("Kopieringen är klar!"));
        QVERIFY(display.vantaPaMeddelanden(1));
        const QByteArray forsta = display.meddelanden().constFirst();
        QCOMPARE(forsta.left(forsta.indexOf("\r\n")).split('|').value(3), QByteArray("1"));
    }
};

QTEST_MAIN(TestGuide)
#include "test_guide.moc"
