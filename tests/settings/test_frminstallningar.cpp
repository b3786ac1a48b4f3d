#include "common/IniNamn.h"
#include "settings/FlikLagtavling.h"
#include "settings/FlikOmgangar.h"
#include "settings/FlikTolkmaskin.h"
#include "settings/FlikUtskrift.h"
#include "settings/Registrering.h"
#include "settings/frmInstallningar.h"
#include "shell/Fonsternamn.h"
#include "shell/frmBladdra.h"
#include "support/Testfixtur.h"
#include "support/VanligAnvandare.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
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
        Installningsfonster::registrera(f.fonster);
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
        f.g.strDecimaltecken = QLocale(lokal).decimalPoint();
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
