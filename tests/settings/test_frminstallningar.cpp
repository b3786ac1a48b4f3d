#include "common/IniNamn.h"
#include "settings/FlikOmgangar.h"
#include "settings/Registrering.h"
#include "settings/frmInstallningar.h"
#include "shell/Fonsternamn.h"
#include "shell/frmBladdra.h"
#include "support/Filstorlekstak.h"
#include "support/Testfixtur.h"
#include "support/Widget.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;
using F = frmInstallningar;

// The settings form's frame: which tabs it offers, what it writes when it
// closes and when it does not, the menus, the recent list and the folder.
class TestFrmInstallningar : public QObject {
    Q_OBJECT

    static F* oppna(Testfixtur& f) {
        Installningsfonster::registrera(f.delar());
        return qobject_cast<F*>(f.fonster.visaFonster(Fonsternamn::Installningar));
    }
    static QString las(const Testfixtur& f, const char* sektion, const char* nyckel) {
        return f.g.iniTavling.GetKeyValue(QString::fromUtf8(sektion), QString::fromUtf8(nyckel),
                                          u"<saknas>"_s);
    }
    static QString tavlingskatalog(const Testfixtur& f) {
        return f.g.iniProgram.GetKeyValue(u"Sökvägar"_s, u"Tävlingskatalog"_s, {});
    }

private slots:
    // Shot by shot was never made; rounds only with rounds; no prize in a
    // mixed competition.
    void fliktarErbjudsEfterTavlingen_data() {
        QTest::addColumn<NyTavling::Typ>("typ");
        QTest::addColumn<bool>("rundor");
        QTest::addColumn<bool>("vandringspris");
        QTest::newRow("sport") << NyTavling::Typ::Sportskytte << false << true;
        QTest::newRow("mix med omgångar") << NyTavling::Typ::Mix << true << false;
    }
    void fliktarErbjudsEfterTavlingen() {
        QFETCH(NyTavling::Typ, typ);
        QFETCH(bool, rundor);
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, typ);
        f.g.blnFleraTavlingar = rundor;
        QPointer<F> form = oppna(f);
        QCOMPARE(form->windowTitle(), u"Inställningar"_s);
        QVERIFY(form->erbjuds(F::Klasser) && form->erbjuds(F::Tolkmaskin) && form->erbjuds(F::Allmant));
        QVERIFY(!form->erbjuds(F::Resultat));
        QCOMPARE(form->erbjuds(F::FleraTavlingar), rundor);
        QTEST(form->erbjuds(F::Vandringspris), "vandringspris");
        QVERIFY(f.m.visade.isEmpty());
    }

    // Every close writes the settings as they stand, the folder as the chooser
    // hands it back (without a trailing separator); the items of the main menu
    // that were off while the form was open come back. Enter in the date moves on.
    void stangningSkriverOchGerTillbakaMenyerna() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s);
        f.fonster.sattMeny(Meny::mnuLag, true);
        QPointer<F> form = oppna(f);
        QApplication::setActiveWindow(form);
        QVERIFY(QTest::qWaitForWindowActive(form));
        QVERIFY(!f.fonster.menyPa(Meny::mnuInskrivning) && !f.fonster.menyPa(Meny::mnuInstallningar));
        QVERIFY(widget<QRadioButton>(form, "optFemSkott")->isChecked());
        widget<QTabWidget>(form, "tabInstallningar")->setCurrentIndex(F::Allmant);
        auto* datum = widget<QLineEdit>(form, "txtTavlingsdatum");
        datum->setFocus();
        datum->clear();
        QTest::keyClicks(datum, u"8 december"_s);
        QTest::keyClick(datum, Qt::Key_Return);
        QVERIFY(!datum->hasFocus());
        widget<QPushButton>(form, "cmdBladdra")->click();
        QPointer<frmBladdra> valjare = form->findChild<frmBladdra*>();
        QVERIFY(valjare);
        valjare->valjMapp(f.tavlingsmapp());
        widget<QPushButton>(valjare, "cmdOK")->click();
        QCOMPARE(widget<QLineEdit>(form, "txtStandardSokvag")->text(), f.tavlingsmapp());
        QTRY_VERIFY(!valjare);
        widget<QCheckBox>(form, "chkDecimalerIFinal")->setChecked(true);
        QTest::mouseClick(widget<QPushButton>(form, "cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(!form);
        QCOMPARE(las(f, "Allmänt", "Datum"), u"8 december"_s);
        QCOMPARE(las(f, "Final", "Decimaler i finalen"), u"1"_s);
        QCOMPARE(las(f, "Resultat", "Femskottsserier"), u"1"_s);
        QCOMPARE(tavlingskatalog(f), f.tavlingsmapp());
        QCOMPARE(f.g.strTavlingsdatum, u"8 december"_s);
        QVERIFY(f.fonster.menyPa(Meny::mnuInskrivning) && f.fonster.menyPa(Meny::mnuInstallningar));
        QVERIFY(!f.fonster.menyPa(Meny::mnuLag)); // team competitions are off
        QVERIFY(!f.fonster.menySynlig(Meny::mnuResVandringsprisPrinter));
    }

    // A competition INI without the squad list's result key, or without the
    // explanations key, shows that box ticked; the other key, stored unticked,
    // shows unticked. (The explanations are offered only with rounds.)
    void saknadeUtskriftsnycklarVisasIkryssade_data() {
        QTest::addColumn<bool>("utanResultat");
        QTest::newRow("utan Skjutlagslista med resultat") << true;
        QTest::newRow("utan Förklaringar") << false;
    }
    void saknadeUtskriftsnycklarVisasIkryssade() {
        QFETCH(bool, utanResultat);
        Testfixtur f;
        f.skapaTavling(u"Cup"_s);
        f.g.blnFleraTavlingar = true;
        const IniNyckel& saknas = utanResultat ? Ini::SkjutlagslistaMedResultat : Ini::Forklaringar;
        QVERIFY(f.g.iniTavling.WriteKeys(
            {{Ini::SkjutlagslistaMedResultat.sektion, Ini::SkjutlagslistaMedResultat.nyckel, "0"},
             {Ini::Forklaringar.sektion, Ini::Forklaringar.nyckel, "0"}}));
        QVERIFY(f.g.iniTavling.DeleteKey(saknas.sektion, saknas.nyckel));
        QPointer<F> form = oppna(f);
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(widget<QCheckBox>(form, "chkUtskriftSkjutlagRes")->isChecked(), utanResultat);
        QCOMPARE(widget<QCheckBox>(form, "chkForklaringar")->isChecked(), !utanResultat);
        QVERIFY(
            widget<QCheckBox>(form, "chkForklaringar")->isVisibleTo(widget<QWidget>(form, "flikUtskrift")));
    }

    // The hourglass shows from the start of loading until the form is first
    // activated, until a load that failed, or until the form goes before it
    // was activated; it is given back once, so that a cursor someone else set
    // stays. A form whose settings could not be read writes nothing back.
    void timglasUnderLaddningen_data() {
        QTest::addColumn<QString>("hur");
        QTest::newRow("aktiveras") << u"aktiveras"_s;
        QTest::newRow("laddningen misslyckas") << u"misslyckas"_s;
        QTest::newRow("stängs oaktiverad") << u"stängs"_s;
    }
    void timglasUnderLaddningen() {
        QFETCH(QString, hur);
        const auto markor = [] {
            const QCursor* c = QApplication::overrideCursor();
            return c ? c->shape() : Qt::ArrowCursor;
        };
        Testfixtur f;
        f.skapaTavling(u"Cup"_s);
        const bool misslyckas = hur == u"misslyckas"_s;
        if (misslyckas)
            QVERIFY(f.g.iniTavling.WriteKey(u"Final"_s, u"Decimaler i finalen"_s, u"kanske"_s));
        QApplication::setOverrideCursor(Qt::CrossCursor);
        QPointer<F> form = oppna(f);
        QCOMPARE(markor(), misslyckas ? Qt::CrossCursor : Qt::WaitCursor);
        if (misslyckas) {
            QVERIFY(f.m.senasteText().startsWith(u"frmInställningar, Form_load: 13 "_s));
            QCOMPARE(f.m.visade.back().titel, u"Fel"_s);
            widget<QLineEdit>(form, "txtTavlingsdatum")->setText(u"skrivs inte"_s);
        }
        if (hur == u"aktiveras"_s) {
            f.kontext.meddelaAktivering(form);
            QCOMPARE(markor(), Qt::CrossCursor);
            f.kontext.meddelaAktivering(form);
            QCOMPARE(markor(), Qt::CrossCursor);
        }
        QVERIFY(form->close());
        QTRY_VERIFY(!form);
        QCOMPARE(markor(), Qt::CrossCursor);
        QApplication::restoreOverrideCursor();
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(las(f, "Allmänt", "Datum"), u"6 december 2026"_s);
        QCOMPARE(las(f, "Final", "Decimaler i finalen"), misslyckas ? u"kanske"_s : u"0"_s);
    }

    // Closing writes the settings; when the write fails (the disk is full) the
    // form stays open with every tab as typed, nothing is written and the
    // operator is told, and asked whether to close without saving. No keeps
    // the form for OK again, which with room on the disk writes and closes it
    // through the window host; Yes closes it and writes nothing.
    void misslyckadSkrivningBehallerFormularet_data() {
        QTest::addColumn<bool>("utanAttSpara");
        QTest::addColumn<bool>("tavlingensIni"); // else the program INI fails
        QTest::newRow("försök igen") << false << true;
        QTest::newRow("stäng utan att spara") << true << false;
        QTest::newRow("programmets INI, försök igen") << false << false;
    }
    void misslyckadSkrivningBehallerFormularet() {
        QFETCH(bool, utanAttSpara);
        QFETCH(bool, tavlingensIni);
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Nationellt, 10, 1, 3);
        const auto iPriset = [&] {
            return f.g.cnnTavling.varde(u"SELECT COUNT(*) FROM Skyttar WHERE VandringsSerier > 0"_s).toInt();
        };
        QPointer<F> form = oppna(f);
        // Switched on with everyone in it: the shooters get their series as the
        // settings are saved, and not when they are not.
        const QList<std::pair<const char*, QString>> falt{{"txtTavlingsdatum", u"8 december"_s},
                                                          {"txtComport", u"4"_s},
                                                          {"txtVansterMarg", u"2,5"_s},
                                                          {"txtVandringsprisNamn", u"Pokalen"_s}};
        for (const auto& [namn, text] : falt)
            widget<QLineEdit>(form, namn)->setText(text);
        widget<QCheckBox>(form, "chkDecimalerIFinal")->setChecked(true);
        widget<QCheckBox>(form, "chkVandringspris")->setChecked(true);
        QVERIFY(widget<QRadioButton>(form, "optAlla")->isChecked());
        QFile ini(f.g.iniTavling.Path());
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray forut = ini.readAll();
        ini.close();

        // The program INI, written first, fits under the limit; the
        // competition's does not.
        const qint64 tak = tavlingensIni ? QFileInfo(f.g.iniProgram.Path()).size() + 128 : 0;
        QVERIFY(forut.size() > tak);
        if (utanAttSpara)
            f.m.svara(Meddelanden::Svar::Ja);
        medFilstorlekstak(tak, [&] {
            QTest::mouseClick(widget<QPushButton>(form, "cmdOK"), Qt::LeftButton);
            return 0;
        });
        QCOMPARE(f.m.visade.size(), 1);
        const TestMeddelanden::Visat& v = f.m.visade[0];
        QVERIFY2(v.text.startsWith(u"Inställningarna kunde inte sparas:\r\n"_s), qPrintable(v.text));
        QVERIFY2(v.text.contains(tavlingensIni ? f.g.iniTavling.Path() : f.g.iniProgram.Path()),
                 qPrintable(v.text));
        QVERIFY(v.text.endsWith(u"\r\n\r\nVill du stänga inställningarna utan att spara dem? "
                                "Svara Nej för att rätta felet och försöka igen."_s));
        QCOMPARE(v.titel, u"Inställningarna sparades inte"_s);
        QCOMPARE(v.ikon, Meddelanden::Ikon::Utropstecken);
        QCOMPARE(v.knappar, Meddelanden::Knappar::JaNej);
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QCOMPARE(ini.readAll(), forut);
        ini.close();
        QCOMPARE(f.g.strTavlingsdatum, u"6 december 2026"_s);
        QCOMPARE(iPriset(), 0);

        if (utanAttSpara) {
            QTRY_VERIFY(!form);
            QVERIFY(f.fonster.menyPa(Meny::mnuInstallningar) && f.fonster.menyPa(Meny::mnuInskrivning));
            QCOMPARE(iPriset(), 0);
            return;
        }
        QVERIFY(form && form->isVisible());
        QVERIFY(!f.fonster.menyPa(Meny::mnuInstallningar));
        for (const auto& [namn, text] : falt)
            QCOMPARE(widget<QLineEdit>(form, namn)->text(), text);
        QVERIFY(widget<QCheckBox>(form, "chkDecimalerIFinal")->isChecked());
        QVERIFY(widget<QCheckBox>(form, "chkVandringspris")->isChecked());

        QTest::mouseClick(widget<QPushButton>(form, "cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(!form);
        QCOMPARE(f.m.visade.size(), 1);
        QCOMPARE(las(f, "Allmänt", "Datum"), u"8 december"_s);
        QCOMPARE(las(f, "Final", "Decimaler i finalen"), u"1"_s);
        QCOMPARE(las(f, "Tolkmaskin", "Comport"), u"4"_s);
        QCOMPARE(las(f, "Utskrifter", "VänsterMarginal"), u"2,5"_s);
        QCOMPARE(las(f, "Vandringspris", "Tävlingsnamn"), u"Pokalen"_s);
        QCOMPARE(f.g.strTavlingsdatum, u"8 december"_s);
        QCOMPARE(iPriset(), 3);
        QVERIFY(f.fonster.menyPa(Meny::mnuInstallningar));
    }

    // With the machine ticked, a port outside 1..9 and an inner ten outside
    // 10..11 keep the form open, each with its message, the machine's tab in
    // front; the same whatever the locale's decimal separator. Unticked, the
    // port is not checked.
    void tolkmaskinensKontrollerHallerFormularetOppet_data() {
        QTest::addColumn<QString>("lokal");
        QTest::addColumn<bool>("tolkmaskin");
        QTest::newRow("komma") << u"sv_SE"_s << true;
        QTest::newRow("punkt") << u"en_US"_s << true;
        QTest::newRow("utan tolkmaskin") << u"sv_SE"_s << false;
    }
    void tolkmaskinensKontrollerHallerFormularetOppet() {
        QFETCH(QString, lokal);
        QFETCH(bool, tolkmaskin);
        const auto aterstall = qScopeGuard([forut = QLocale()] { QLocale::setDefault(forut); });
        QLocale::setDefault(QLocale(lokal));
        Testfixtur f;
        f.skapaTavling(u"Cup"_s);
        QVERIFY(f.g.iniTavling.WriteKeys({{"Tolkmaskin", "Tolkmaskin i grundomg", tolkmaskin ? "1" : "0"},
                                          {"Tolkmaskin", "Comport", "0"},
                                          {"Tolkmaskin", "Innertia", tolkmaskin ? "11" : "10,3"}}));
        QPointer<F> form = oppna(f);
        if (!tolkmaskin) {
            QVERIFY(form->close());
            QVERIFY(f.m.visade.isEmpty());
            return;
        }
        auto* flikar = widget<QTabWidget>(form, "tabInstallningar");
        flikar->setCurrentIndex(F::Allmant);
        widget<QLineEdit>(form, "txtTavlingsdatum")->setText(u"skrivs sen"_s);
        QVERIFY(!form->close());
        QCOMPARE(f.m.visade.size(), 2);
        QCOMPARE(f.m.visade[0].text, u"Du måste ange en Comport mellan 1 och 9 för tolkmaskinen!"_s);
        QCOMPARE(f.m.visade[0].titel, u"Felaktiga inställningar"_s);
        QCOMPARE(f.m.visade[1].text, u"Du får bara skriva ett värde mellan 10,1 och 10,9 på innertian!\r\n"
                                     "Innertian finns under fliken Tolkmaskin"_s);
        QCOMPARE(f.m.visade[1].titel, u"Fel inmatat"_s);
        QCOMPARE(flikar->currentIndex(), int(F::Tolkmaskin));
        QVERIFY(widget<QLineEdit>(form, "txtInnertia")->text().isEmpty());
        QCOMPARE(las(f, "Allmänt", "Datum"), u"6 december 2026"_s); // nothing written

        f.m.tom();
        widget<QLineEdit>(form, "txtComport")->setText(u"9"_s);
        widget<QLineEdit>(form, "txtInnertia")->setText(u"10,5"_s);
        QVERIFY(form->close());
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(f.g.sngInnertia, 10.5);
        QCOMPARE(las(f, "Tolkmaskin", "Innertia"), u"10,5"_s);
        QVERIFY(f.g.blnTolkmaskinGrundomg);
    }

    // Team competitions ticked with none defined keep the form open; one team
    // competition lets it close, and mnuLag follows.
    void lagtavlingUtanLagtavlingHallerFormularetOppet() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s);
        f.g.cnnTavling.kor(u"DELETE FROM Lagtävling"_s);
        QPointer<F> form = oppna(f);
        widget<QCheckBox>(form, "chkLagtavling")->setChecked(true);
        QVERIFY(!form->close());
        QCOMPARE(f.m.senasteText(), u"Du måste ha minst en lagtävling\rnär du har kryssat i att det ska "
                                    "finnas lagtävlingar!"_s);
        f.g.cnnTavling.kor(u"INSERT INTO Lagtävling (Lagtävlingsnamn, [Sport/Nat]) VALUES ('Lag', 'Nat')"_s);
        QVERIFY(form->close());
        QVERIFY(f.g.blnLagtavling);
        QVERIFY(f.fonster.menyPa(Meny::mnuLag));
    }

    // Leaving the rounds tab during an entry ends it unsaved; a number of 0
    // typed in it is then no reason to hold the operator back.
    void flikbyteAvslutarOmgangUtanKontroll() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s);
        f.g.blnFleraTavlingar = true;
        QPointer<F> form = oppna(f);
        QApplication::setActiveWindow(form);
        QVERIFY(QTest::qWaitForWindowActive(form));
        auto* flikar = widget<QTabWidget>(form, "tabInstallningar");
        flikar->setCurrentIndex(F::FleraTavlingar);
        auto* omg = widget<QLineEdit>(form, "txtOmg");
        const auto omgangar = [&] {
            return f.g.cnnTavling.varde(u"SELECT COUNT(*) FROM [Tävlings omg]"_s).toInt();
        };
        const int forut = omgangar();
        QTest::mouseClick(widget<QPushButton>(form, "cmdNy"), Qt::LeftButton);
        QTest::keyClicks(omg, u"0"_s);
        QVERIFY(omg->hasFocus());
        QTest::mouseClick(flikar->tabBar(), Qt::LeftButton, {},
                          flikar->tabBar()->tabRect(F::Allmant).center());
        QCOMPARE(flikar->currentIndex(), int(F::Allmant));
        QTest::qWait(10);
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(widget<FlikOmgangar>(form, "flikOmgangar")->lage(), FlikOmgangar::Lage::Vilande);
        QVERIFY(omg->text().isEmpty());
        QCOMPARE(omgangar(), forut);
    }

    void senasteListanTasBort() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s);
        QVERIFY(f.g.iniProgram.WriteKeys({{"Sökvägar", "Filnamn1", "/a.air"},
                                          {"Sökvägar", "Filnamn3", "/c.air"},
                                          {"Sökvägar", "Tävlingskatalog", "/t"}}));
        for (Meny m : {mnuFil(1), mnuFil(3), Meny::mnuLineFiler})
            f.fonster.visaMeny(m, true);
        QPointer<F> form = oppna(f);
        const auto filnamn = [&](int i) {
            return f.g.iniProgram.GetKeyValue(u"Sökvägar"_s, u"Filnamn%1"_s.arg(i), u"<borta>"_s);
        };
        f.m.svara(Meddelanden::Svar::Nej);
        widget<QPushButton>(form, "cmdRensaArkivMeny")->click();
        QCOMPARE(f.m.visade.back().text, u"Är du säker att du vill tabort filnamnen?"_s);
        QCOMPARE(f.m.visade.back().titel, u"Bekräfta borttag"_s);
        QCOMPARE(filnamn(1), u"/a.air"_s);
        f.m.svara(Meddelanden::Svar::Ja);
        widget<QPushButton>(form, "cmdRensaArkivMeny")->click();
        QCOMPARE(filnamn(1) + filnamn(3), u"<borta><borta>"_s);
        QCOMPARE(tavlingskatalog(f), u"/t"_s);
        QVERIFY(!f.fonster.menySynlig(mnuFil(1)) && !f.fonster.menySynlig(mnuFil(3)) &&
                !f.fonster.menySynlig(Meny::mnuLineFiler));
    }
};

QTEST_MAIN(TestFrmInstallningar)
#include "test_frminstallningar.moc"
