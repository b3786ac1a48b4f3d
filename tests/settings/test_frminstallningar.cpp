#include "../platform/Filstorlekstak.h"
#include "common/IniNamn.h"
#include "settings/FlikLagtavling.h"
#include "settings/FlikOmgangar.h"
#include "settings/FlikTolkmaskin.h"
#include "settings/FlikUtskrift.h"
#include "settings/FlikVandringspris.h"
#include "settings/Registrering.h"
#include "settings/frmInstallningar.h"
#include "shell/Fonsternamn.h"
#include "shell/frmBladdra.h"
#include "support/Testfixtur.h"
#include "support/VanligAnvandare.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using F = frmInstallningar;

// The settings form's frame: which tabs it offers, what it writes when it
// closes and when it does not, the menus, the recent list and the folder.
class TestFrmInstallningar : public QObject {
    Q_OBJECT

    static frmInstallningar* oppna(Testfixtur& f) {
        Installningsfonster::registrera(f.delar());
        return qobject_cast<frmInstallningar*>(f.fonster.visaFonster(Fonsternamn::Installningar));
    }
    static QString las(const Testfixtur& f, const char* sektion, const char* nyckel) {
        return f.g.iniTavling.GetKeyValue(QString::fromUtf8(sektion), QString::fromUtf8(nyckel),
                                          QStringLiteral("<saknas>"));
    }

private slots:
    void fliktarErbjudsEfterTavlingen() {
        {
            Testfixtur f;
            f.skapaTavling(QStringLiteral("Sport"), NyTavling::Typ::Sportskytte);
            QPointer<F> form = oppna(f);
            QVERIFY(form);
            QCOMPARE(form->windowTitle(), QStringLiteral("Inställningar"));
            QVERIFY(form->erbjuds(F::Klasser) && form->erbjuds(F::Tolkmaskin) &&
                    form->erbjuds(F::Vandringspris));
            QVERIFY(!form->erbjuds(F::Resultat));
            QVERIFY(!form->erbjuds(F::FleraTavlingar));
            QCOMPARE(form->tabInstallningar->tabText(F::Allmant), QStringLiteral("&Allmänt"));
            QVERIFY(f.m.visade.isEmpty());
            form->close();
        }
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Mix"), NyTavling::Typ::Mix);
        f.g.blnFleraTavlingar = true;
        QPointer<F> form = oppna(f);
        QVERIFY(!form->erbjuds(F::Vandringspris));
        QVERIFY(form->erbjuds(F::FleraTavlingar));
        form->close();
    }

    // Every close writes the settings as they stand; the items of the main
    // menu that were off while the form was open come back.
    void stangningSkriverOchGerTillbakaMenyerna() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        f.fonster.sattMeny(Meny::mnuLag, true);
        QPointer<F> form = oppna(f);
        QVERIFY(!f.fonster.menyPa(Meny::mnuInskrivning) && !f.fonster.menyPa(Meny::mnuInstallningar));
        QVERIFY(form->optFemSkott->isChecked());
        form->txtTavlingsdatum->setText(QStringLiteral("8 december"));
        form->txtStandardSokvag->setText(QStringLiteral("/srv/tävlingar"));
        form->chkDecimalerIFinal->setChecked(true);
        QTest::mouseClick(form->cmdOK, Qt::LeftButton);
        QTRY_VERIFY(!form);
        QCOMPARE(las(f, "Allmänt", "Datum"), QStringLiteral("8 december"));
        QCOMPARE(las(f, "Final", "Decimaler i finalen"), QStringLiteral("1"));
        QCOMPARE(las(f, "Resultat", "Femskottsserier"), QStringLiteral("1"));
        QCOMPARE(
            f.g.iniProgram.GetKeyValue(QStringLiteral("Sökvägar"), QStringLiteral("Tävlingskatalog"), {}),
            QStringLiteral("/srv/tävlingar"));
        QCOMPARE(f.g.strTavlingsdatum, QStringLiteral("8 december"));
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
        f.skapaTavling(QStringLiteral("Cup"));
        f.g.blnFleraTavlingar = true;
        const IniNyckel& saknas = utanResultat ? Ini::SkjutlagslistaMedResultat : Ini::Forklaringar;
        QVERIFY(f.g.iniTavling.WriteKeys(
            {{Ini::SkjutlagslistaMedResultat.sektion, Ini::SkjutlagslistaMedResultat.nyckel, "0"},
             {Ini::Forklaringar.sektion, Ini::Forklaringar.nyckel, "0"}}));
        QVERIFY(f.g.iniTavling.DeleteKey(saknas.sektion, saknas.nyckel));
        QPointer<F> form = oppna(f);
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(form->flikUtskrift->chkUtskriftSkjutlagRes->isChecked(), utanResultat);
        QCOMPARE(form->flikUtskrift->chkForklaringar->isChecked(), !utanResultat);
        form->close();
    }

    // The hourglass shows from the start of loading until the form is first
    // activated, until a load that failed, or until the form goes before it
    // was activated; it is given back once, so that a cursor someone else set
    // stays.
    void timglasUnderLaddningen_data() {
        QTest::addColumn<QString>("hur");
        QTest::newRow("aktiveras") << QStringLiteral("aktiveras");
        QTest::newRow("laddningen misslyckas") << QStringLiteral("misslyckas");
        QTest::newRow("stängs oaktiverad") << QStringLiteral("stängs");
    }
    void timglasUnderLaddningen() {
        QFETCH(QString, hur);
        const auto markor = [] {
            const QCursor* c = QApplication::overrideCursor();
            return c ? c->shape() : Qt::ArrowCursor;
        };
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        if (hur == QLatin1String("misslyckas"))
            QVERIFY(f.g.iniTavling.WriteKey(QStringLiteral("Final"), QStringLiteral("Decimaler i finalen"),
                                            QStringLiteral("kanske")));
        QApplication::setOverrideCursor(Qt::CrossCursor);
        QPointer<F> form = oppna(f);
        QVERIFY(form);
        if (hur == QLatin1String("misslyckas")) {
            QVERIFY(f.m.senasteText().startsWith(QStringLiteral("frmInställningar, Form_load: 13 ")));
            QCOMPARE(markor(), Qt::CrossCursor);
        } else {
            QCOMPARE(markor(), Qt::WaitCursor);
        }
        if (hur == QLatin1String("aktiveras")) {
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
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Nationellt, 10, 1, 3);
        const auto iPriset = [&] {
            return f.g.cnnTavling
                .varde(QStringLiteral("SELECT COUNT(*) FROM Skyttar WHERE VandringsSerier > 0"))
                .toInt();
        };
        TestFonstervard& fonster = f.fonster;
        Installningsfonster::registrera(f.delar());
        QPointer<F> form = qobject_cast<F*>(fonster.visaFonster(Fonsternamn::Installningar));
        QVERIFY(form);
        form->txtTavlingsdatum->setText(QStringLiteral("8 december"));
        form->chkDecimalerIFinal->setChecked(true);
        form->flikTolkmaskin->txtComport->setText(QStringLiteral("4"));
        form->flikUtskrift->txtVansterMarg->setText(QStringLiteral("2,5"));
        form->flikVandringspris->txtVandringsprisNamn->setText(QStringLiteral("Pokalen"));
        // Switched on with everyone in it: the shooters get their series as the
        // settings are saved, and not when they are not.
        form->flikVandringspris->chkVandringspris->setChecked(true);
        QVERIFY(form->flikVandringspris->optAlla->isChecked());
        QFile ini(f.g.iniTavling.Path());
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray forut = ini.readAll();
        ini.close();

        // The program INI, written first, fits under the limit; the
        // competition's does not.
        const qint64 programIni = QFileInfo(f.g.iniProgram.Path()).size();
        const qint64 tak = tavlingensIni ? programIni + 128 : 0;
        QVERIFY(forut.size() > tak);
        if (utanAttSpara)
            f.m.svara(Meddelanden::Svar::Ja);
        medFilstorlekstak(tak, [&] {
            QTest::mouseClick(form->cmdOK, Qt::LeftButton);
            return 0;
        });
        QCOMPARE(f.m.visade.size(), 1);
        const TestMeddelanden::Visat& v = f.m.visade[0];
        QVERIFY2(v.text.startsWith(QStringLiteral("Inställningarna kunde inte sparas:\r\n")),
                 qPrintable(v.text));
        QVERIFY2(v.text.contains(tavlingensIni ? f.g.iniTavling.Path() : f.g.iniProgram.Path()),
                 qPrintable(v.text));
        QVERIFY(v.text.endsWith(QStringLiteral("\r\n\r\nVill du stänga inställningarna utan att spara dem? "
                                               "Svara Nej för att rätta felet och försöka igen.")));
        QCOMPARE(v.titel, QStringLiteral("Inställningarna sparades inte"));
        QCOMPARE(v.ikon, Meddelanden::Ikon::Utropstecken);
        QCOMPARE(v.knappar, Meddelanden::Knappar::JaNej);
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QCOMPARE(ini.readAll(), forut);
        ini.close();
        QCOMPARE(f.g.strTavlingsdatum, QStringLiteral("6 december 2026"));
        QCOMPARE(iPriset(), 0);

        if (utanAttSpara) {
            QTRY_VERIFY(!form);
            QVERIFY(fonster.menyPa(Meny::mnuInstallningar) && fonster.menyPa(Meny::mnuInskrivning));
            QCOMPARE(iPriset(), 0);
            return;
        }
        QVERIFY(form && form->isVisible());
        QVERIFY(!fonster.menyPa(Meny::mnuInstallningar));
        QCOMPARE(form->txtTavlingsdatum->text(), QStringLiteral("8 december"));
        QVERIFY(form->chkDecimalerIFinal->isChecked());
        QCOMPARE(form->flikTolkmaskin->txtComport->text(), QStringLiteral("4"));
        QCOMPARE(form->flikUtskrift->txtVansterMarg->text(), QStringLiteral("2,5"));
        QCOMPARE(form->flikVandringspris->txtVandringsprisNamn->text(), QStringLiteral("Pokalen"));
        QVERIFY(form->flikVandringspris->chkVandringspris->isChecked());

        QTest::mouseClick(form->cmdOK, Qt::LeftButton);
        QTRY_VERIFY(!form);
        QCOMPARE(f.m.visade.size(), 1);
        QCOMPARE(las(f, "Allmänt", "Datum"), QStringLiteral("8 december"));
        QCOMPARE(las(f, "Final", "Decimaler i finalen"), QStringLiteral("1"));
        QCOMPARE(las(f, "Tolkmaskin", "Comport"), QStringLiteral("4"));
        QCOMPARE(las(f, "Utskrifter", "VänsterMarginal"), QStringLiteral("2,5"));
        QCOMPARE(las(f, "Vandringspris", "Tävlingsnamn"), QStringLiteral("Pokalen"));
        QCOMPARE(f.g.strTavlingsdatum, QStringLiteral("8 december"));
        QCOMPARE(iPriset(), 3);
        QVERIFY(fonster.menyPa(Meny::mnuInstallningar));
    }

    // A form whose settings could not be read writes nothing back.
    void misslyckadLaddningSkriverInget() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        QVERIFY(f.g.iniTavling.WriteKey(QStringLiteral("Final"), QStringLiteral("Decimaler i finalen"),
                                        QStringLiteral("kanske")));
        QPointer<F> form = oppna(f);
        QVERIFY(f.m.senasteText().startsWith(QStringLiteral("frmInställningar, Form_load: 13 ")));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Fel"));
        form->txtTavlingsdatum->setText(QStringLiteral("skrivs inte"));
        form->close();
        QTRY_VERIFY(!form);
        QCOMPARE(las(f, "Allmänt", "Datum"), QStringLiteral("6 december 2026"));
        QCOMPARE(las(f, "Final", "Decimaler i finalen"), QStringLiteral("kanske"));
    }

    // With the machine ticked, a port outside 1..9 and an inner ten outside
    // 10..11 keep the form open, each with its message, the machine's tab in
    // front; the same whatever the locale's decimal separator.
    void tolkmaskinensKontrollerHallerFormularetOppet_data() {
        QTest::addColumn<QString>("lokal");
        QTest::newRow("komma") << QStringLiteral("sv_SE");
        QTest::newRow("punkt") << QStringLiteral("en_US");
    }
    void tolkmaskinensKontrollerHallerFormularetOppet() {
        QFETCH(QString, lokal);
        const QLocale forut;
        QLocale::setDefault(QLocale(lokal));
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        QVERIFY(f.g.iniTavling.WriteKeys({{"Tolkmaskin", "Tolkmaskin i grundomg", "1"},
                                          {"Tolkmaskin", "Comport", "0"},
                                          {"Tolkmaskin", "Innertia", "11"}}));
        QPointer<F> form = oppna(f);
        form->tabInstallningar->setCurrentIndex(F::Allmant);
        form->txtTavlingsdatum->setText(QStringLiteral("skrivs sen"));
        QVERIFY(!form->close());
        QCOMPARE(f.m.visade.size(), 2);
        QCOMPARE(f.m.visade[0].text,
                 QStringLiteral("Du måste ange en Comport mellan 1 och 9 för tolkmaskinen!"));
        QCOMPARE(f.m.visade[0].titel, QStringLiteral("Felaktiga inställningar"));
        QCOMPARE(f.m.visade[1].text, QStringLiteral("Du får bara skriva ett värde mellan 10,1 och 10,9 på "
                                                    "innertian!\r\nInnertian finns under fliken Tolkmaskin"));
        QCOMPARE(f.m.visade[1].titel, QStringLiteral("Fel inmatat"));
        QCOMPARE(form->tabInstallningar->currentIndex(), int(F::Tolkmaskin));
        QVERIFY(form->flikTolkmaskin->txtInnertia->text().isEmpty());
        QCOMPARE(f.g.iniTavling.GetKeyValue(QStringLiteral("Allmänt"), QStringLiteral("Datum"), {}),
                 QStringLiteral("6 december 2026")); // nothing written

        f.m.tom();
        form->flikTolkmaskin->txtComport->setText(QStringLiteral("9"));
        form->flikTolkmaskin->txtInnertia->setText(QStringLiteral("10,5"));
        QVERIFY(form->close());
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(f.g.sngInnertia, 10.5);
        QCOMPARE(f.g.iniTavling.GetKeyValue(QStringLiteral("Tolkmaskin"), QStringLiteral("Innertia"), {}),
                 QStringLiteral("10,5"));
        QVERIFY(f.g.blnTolkmaskinGrundomg);
        QLocale::setDefault(forut);
    }

    // Unticked, the machine's port is not checked.
    void utanTolkmaskinKontrollerasIngenPort() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        QVERIFY(f.g.iniTavling.WriteKey(QStringLiteral("Tolkmaskin"), QStringLiteral("Comport"),
                                        QStringLiteral("0")));
        QPointer<F> form = oppna(f);
        QVERIFY(form->close());
        QVERIFY(f.m.visade.isEmpty());
    }

    // Team competitions ticked with none defined keep the form open, however it
    // is closed; one team competition lets it close, and mnuLag follows.
    void lagtavlingUtanLagtavlingHallerFormularetOppet() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        f.g.cnnTavling.kor(QStringLiteral("DELETE FROM Lagtävling"));
        QPointer<F> form = oppna(f);
        form->flikLagtavling->chkLagtavling->setChecked(true);
        QVERIFY(!form->close());
        QCOMPARE(f.m.senasteText(),
                 QStringLiteral("Du måste ha minst en lagtävling\rnär du har kryssat i att det ska "
                                "finnas lagtävlingar!"));
        f.g.cnnTavling.kor(
            QStringLiteral("INSERT INTO Lagtävling (Lagtävlingsnamn, [Sport/Nat]) VALUES ('Lag', 'Nat')"));
        QVERIFY(form->close());
        QVERIFY(f.g.blnLagtavling);
        QVERIFY(f.fonster.menyPa(Meny::mnuLag));
    }

    // Leaving the rounds tab during an entry ends it unsaved; a number of 0
    // typed in it is then no reason to hold the operator back.
    void flikbyteAvslutarOmgangUtanKontroll() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        f.g.blnFleraTavlingar = true;
        QPointer<F> form = oppna(f);
        QApplication::setActiveWindow(form);
        QVERIFY(QTest::qWaitForWindowActive(form));
        form->tabInstallningar->setCurrentIndex(F::FleraTavlingar);
        FlikOmgangar* flik = form->flikOmgangar;
        const int omgangar =
            f.g.cnnTavling.varde(QStringLiteral("SELECT COUNT(*) FROM [Tävlings omg]")).toInt();
        QTest::mouseClick(flik->cmdNy, Qt::LeftButton);
        QTest::keyClicks(flik->txtOmg, QStringLiteral("0"));
        QVERIFY(flik->txtOmg->hasFocus());
        QTabBar* flikar = form->tabInstallningar->tabBar();
        QTest::mouseClick(flikar, Qt::LeftButton, {}, flikar->tabRect(F::Allmant).center());
        QCOMPARE(form->tabInstallningar->currentIndex(), int(F::Allmant));
        QTest::qWait(10);
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(flik->lage(), FlikOmgangar::Lage::Vilande);
        QVERIFY(flik->txtOmg->text().isEmpty());
        QCOMPARE(f.g.cnnTavling.varde(QStringLiteral("SELECT COUNT(*) FROM [Tävlings omg]")).toInt(),
                 omgangar);
        form->close();
    }

    void senasteListanTasBort() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        QVERIFY(f.g.iniProgram.WriteKeys({{"Sökvägar", "Filnamn1", "/a.air"},
                                          {"Sökvägar", "Filnamn3", "/c.air"},
                                          {"Sökvägar", "Tävlingskatalog", "/t"}}));
        for (Meny m : {mnuFil(1), mnuFil(3), Meny::mnuLineFiler})
            f.fonster.visaMeny(m, true);
        QPointer<F> form = oppna(f);
        f.m.svara(Meddelanden::Svar::Nej);
        QTest::mouseClick(form->cmdRensaArkivMeny, Qt::LeftButton);
        QCOMPARE(f.m.visade.back().text, QStringLiteral("Är du säker att du vill tabort filnamnen?"));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Bekräfta borttag"));
        QCOMPARE(f.g.iniProgram.GetKeyValue(QStringLiteral("Sökvägar"), QStringLiteral("Filnamn1"), {}),
                 QStringLiteral("/a.air"));
        f.m.svara(Meddelanden::Svar::Ja);
        QTest::mouseClick(form->cmdRensaArkivMeny, Qt::LeftButton);
        for (const char* nyckel : {"Filnamn1", "Filnamn3"})
            QCOMPARE(f.g.iniProgram.GetKeyValue(QStringLiteral("Sökvägar"), QString::fromLatin1(nyckel),
                                                QStringLiteral("<borta>")),
                     QStringLiteral("<borta>"));
        QCOMPARE(
            f.g.iniProgram.GetKeyValue(QStringLiteral("Sökvägar"), QStringLiteral("Tävlingskatalog"), {}),
            QStringLiteral("/t"));
        QVERIFY(!f.fonster.menySynlig(mnuFil(1)) && !f.fonster.menySynlig(mnuFil(3)) &&
                !f.fonster.menySynlig(Meny::mnuLineFiler));
        form->close();
    }

    // The folder chooser belongs to the form and hands its folder back as it
    // is, without a trailing separator.
    void mappvaljarenGerMappenUtanAvslut() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        QPointer<F> form = oppna(f);
        QTest::mouseClick(form->cmdBladdra, Qt::LeftButton);
        QPointer<frmBladdra> valjare = form->findChild<frmBladdra*>();
        QVERIFY(valjare);
        valjare->valjMapp(f.tavlingsmapp());
        QTest::mouseClick(valjare->cmdOK, Qt::LeftButton);
        QCOMPARE(form->txtStandardSokvag->text(), f.tavlingsmapp());
        QTRY_VERIFY(!valjare);
        form->close();
        QCOMPARE(
            f.g.iniProgram.GetKeyValue(QStringLiteral("Sökvägar"), QStringLiteral("Tävlingskatalog"), {}),
            f.tavlingsmapp());
    }

    void datumfaltetsEnterGarVidare() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        QPointer<F> form = oppna(f);
        QApplication::setActiveWindow(form);
        form->tabInstallningar->setCurrentIndex(F::Allmant);
        form->txtTavlingsdatum->setFocus();
        QTRY_VERIFY(form->txtTavlingsdatum->hasFocus());
        QTest::keyClick(form->txtTavlingsdatum, Qt::Key_Return);
        QVERIFY(!form->txtTavlingsdatum->hasFocus());
        form->close();
    }
};

QTEST_MAIN(TestFrmInstallningar)
#include "test_frminstallningar.moc"
