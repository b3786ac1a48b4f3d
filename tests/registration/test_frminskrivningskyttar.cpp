#include "common/Databasnamn.h"
#include "competition/Skjutlag.h"
#include "competition/Skjuttider.h"
#include "registration/Registrering.h"
#include "registration/frmInskrivningSkyttar.h"
#include "shell/Fonsternamn.h"
#include "shell/Rutnat.h"
#include "support/Testfixtur.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

using F = frmInskrivningSkyttar;
using Svar = Meddelanden::Svar;

// The registration window where its behaviour lives in the window: which
// states allow what, the order Enter moves in, the question on closing, the
// main menu, and what the shooter search drives.
class TestFrmInskrivningSkyttar : public QObject {
    Q_OBJECT

    // As the menu command opens it: the print menu off, the search on.
    static F* oppna(Testfixtur& f) {
        Registreringsfonster::registrera(f.delar());
        for (Meny m : {Meny::mnuInstallningar, Meny::mnuInskrivning})
            f.fonster.sattMeny(m, true);
        for (Meny m : {Meny::mnuUtskrift, Meny::mnuKonfigAskSkarm, Meny::mnuVisaAskSkarm})
            f.fonster.sattMeny(m, false);
        f.fonster.sattMeny(Meny::mnuSokSkytt, true);
        auto* form = qobject_cast<F*>(f.fonster.visaFonster(Fonsternamn::InskrivningSkyttar));
        QApplication::setActiveWindow(form);
        if (!QTest::qWaitForWindowActive(form))
            qWarning("the window did not become active");
        f.kontext.meddelaAktivering(form);
        return form;
    }
    static bool skjutlagsoperationer(const F* form) {
        return form->cmdNyttSkjutlag->isEnabled() || form->cmdInfogaNyttSkjutlag->isEnabled() ||
               form->cmdTabortSkjutlag->isEnabled() || form->cmdTabortValtSkjutlag->isEnabled();
    }
    static QWidget* fokus() { return QApplication::focusWidget(); }
    // The buttons as the window shows them.
    static Inskrivningslage::Knappar knappar(const F* form, const Testfixtur& f) {
        Inskrivningslage::Knappar k;
        k.spara = form->cmdSparaSkytt->isEnabled();
        k.andra = form->cmdAndraSkytt->isEnabled();
        k.taBort = form->cmdTabortSkytt->isEnabled();
        k.tomFalt = form->cmdTomFalt->isEnabled();
        k.kopiera = form->cmdCopy->isEnabled();
        k.nyttSkjutlag = form->cmdNyttSkjutlag->isEnabled();
        k.infogaSkjutlag = form->cmdInfogaNyttSkjutlag->isEnabled();
        k.taBortSistaSkjutlag = form->cmdTabortSkjutlag->isEnabled();
        k.taBortValtSkjutlag = form->cmdTabortValtSkjutlag->isEnabled();
        k.sokSkytt = f.fonster.menyPa(Meny::mnuSokSkytt);
        k.taBortText = form->cmdTabortSkytt->text();
        k.tomFaltText = form->cmdTomFalt->text();
        return k;
    }
    static void enter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }
    static qint64 pa(const Databas& db, int skjutlag, int bana) {
        return db
            .varde(QStringLiteral("SELECT Startnummer FROM Skjutlag WHERE Skjutlag = ? AND Bana = ?"),
                   {skjutlag, bana})
            .toLongLong();
    }
    static QString namnPa(const Databas& db, int skjutlag, int bana) {
        return db
            .varde(
                QStringLiteral("SELECT k.Namn FROM Skjutlag s JOIN Skyttar k ON k.Löpnummer = s.Startnummer "
                               "WHERE s.Skjutlag = ? AND s.Bana = ?"),
                {skjutlag, bana})
            .toString();
    }

    // Whether some pixel the widget paints is this colour, give or take what
    // smoothing does to the edges of a text.
    static bool maladMed(QWidget* w, const QColor& farg) {
        const QImage bild = w->grab().toImage();
        for (int y = 0; y < bild.height(); ++y)
            for (int x = 0; x < bild.width(); ++x) {
                const QColor c = bild.pixelColor(x, y);
                if (qAbs(c.red() - farg.red()) < 40 && qAbs(c.green() - farg.green()) < 40 &&
                    qAbs(c.blue() - farg.blue()) < 40)
                    return true;
            }
        return false;
    }

private slots:
    // A full squad's number is painted red, any other dark green, in every
    // style there is, and a squad that gets a free lane turns green.
    void skjutlagsknapparnasFarger_data() {
        QTest::addColumn<QString>("stil");
        for (const QString& stil : QStyleFactory::keys())
            QTest::newRow(qPrintable(stil)) << stil;
    }
    void skjutlagsknapparnasFarger() {
        QFETCH(QString, stil);
        const QString forra = QApplication::style()->name();
        QApplication::setStyle(stil);
        const auto atergang = qScopeGuard([&] { QApplication::setStyle(forra); });
        const QColor rott(255, 0, 0);
        const QColor gront(0, 0x40, 0);
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 3, 5);
        QPointer<F> form = oppna(f);
        QVERIFY(maladMed(form->Opt[1], rott) && !maladMed(form->Opt[1], gront));
        QVERIFY(!maladMed(form->Opt[2], rott) && maladMed(form->Opt[2], gront));
        QVERIFY(!maladMed(form->Opt[3], rott) && maladMed(form->Opt[3], gront));

        form->vbagrSkjutlag->valjRad(2);
        cmdKlick(f, form->cmdTabortSkytt, Svar::Ja);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Är du säker på att du vill ta bort den här skytten?"));
        QVERIFY(!maladMed(form->Opt[1], rott) && maladMed(form->Opt[1], gront));
        form->close();
    }

    // The squad operations are there only while no shooter is entered,
    // edited or copied; squads can be switched in every state, and a cancel
    // always ends in the free-lane state.
    void tillstandStyrSkjutlagsoperationerna() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 3, 5);
        QPointer<F> form = oppna(f);
        QCOMPARE(form->lage(), F::Lage::Ledig);
        QVERIFY(form->cmdNyttSkjutlag->isEnabled() && form->cmdTabortValtSkjutlag->isEnabled());
        QVERIFY(form->Opt[3]->isVisible() && !form->Opt[4]->isVisible());
        QCOMPARE(form->vbagrSkjutlag->antalRader(), 4);

        // A new shooter: the first key starts it, with the next free start number.
        QTest::keyClicks(form->txtNamn, QStringLiteral("lisa"));
        QCOMPARE(form->lage(), F::Lage::Ny);
        QVERIFY(!skjutlagsoperationer(form));
        QVERIFY(form->Opt[2]->isEnabled());
        QVERIFY(!f.fonster.menyPa(Meny::mnuSokSkytt));
        QCOMPARE(form->cboStartnummer->currentText(), QStringLiteral("6"));
        form->valjSkjutlag(2);
        QCOMPARE(form->txtNamn->text(), QStringLiteral("lisa"));
        QCOMPARE(form->lage(), F::Lage::Ny);
        cmdKlick(f, form->cmdTabortSkytt, Svar::Ja);
        QCOMPARE(form->lage(), F::Lage::Ledig);
        QVERIFY(skjutlagsoperationer(form));
        QVERIFY(f.fonster.menyPa(Meny::mnuSokSkytt));

        // A shown shooter, edited; a row chosen meanwhile picks the lane, and
        // the cancel still ends in the free-lane state.
        form->vbagrSkjutlag->valjRad(1);
        QCOMPARE(form->lage(), F::Lage::Visad);
        QCOMPARE(form->txtNamn->text(), QStringLiteral("Skytt5"));
        QVERIFY(!form->txtNamn->isEnabled() && form->cmdAndraSkytt->isEnabled());
        QVERIFY(skjutlagsoperationer(form));
        QTest::mouseClick(form->cmdAndraSkytt, Qt::LeftButton);
        QCOMPARE(form->lage(), F::Lage::Andrar);
        QVERIFY(!skjutlagsoperationer(form));
        QVERIFY(!f.fonster.menyPa(Meny::mnuSokSkytt));
        QCOMPARE(form->cmdTomFalt->text(), QStringLiteral("&Avbryt"));
        form->vbagrSkjutlag->valjRad(3);
        QCOMPARE(form->txtBana->text(), QStringLiteral("3"));
        QCOMPARE(form->lage(), F::Lage::Andrar);
        QTest::mouseClick(form->cmdTomFalt, Qt::LeftButton);
        QCOMPARE(form->lage(), F::Lage::Ledig);
        QVERIFY(form->txtNamn->text().isEmpty() && form->txtNamn->isEnabled());
        QCOMPARE(pa(f.g.cnnTavling, 2, 3), PlatshallareLopnummer);

        // A new shooter after the clearing: the window shows the state's
        // buttons, and its delete button cancels him, deleting nobody.
        QTest::keyClicks(form->txtNamn, QStringLiteral("Ny"));
        Inskrivningslage ny;
        ny.borjaNy();
        ny.antalSkjutlag = 3;
        QCOMPARE(knappar(form, f), ny.knappar());
        cmdKlick(f, form->cmdTabortSkytt, Svar::Ja);
        QCOMPARE(form->lage(), F::Lage::Ledig);
        QCOMPARE(namnPa(f.g.cnnTavling, 2, 1), QStringLiteral("Skytt5"));

        // A copy taken to another squad, saved there as a new shooter.
        form->vbagrSkjutlag->valjRad(1);
        QTest::mouseClick(form->cmdCopy, Qt::LeftButton);
        QCOMPARE(form->lage(), F::Lage::Kopierar);
        QCOMPARE(form->cmdTabortSkytt->text(), QStringLiteral("&Avbryt"));
        QVERIFY(form->txtBana->text().isEmpty());
        QVERIFY(!skjutlagsoperationer(form));
        QVERIFY(f.fonster.menyPa(Meny::mnuSokSkytt));
        form->valjSkjutlag(3);
        QCOMPARE(form->txtNamn->text(), QStringLiteral("Skytt5"));
        form->vbagrSkjutlag->valjRad(2);
        QCOMPARE(form->txtBana->text(), QStringLiteral("2"));
        QTest::mouseClick(form->cmdSparaSkytt, Qt::LeftButton);
        QCOMPARE(form->lage(), F::Lage::Ledig);
        QCOMPARE(namnPa(f.g.cnnTavling, 3, 2), QStringLiteral("Skytt5"));
        QCOMPARE(namnPa(f.g.cnnTavling, 2, 1), QStringLiteral("Skytt5"));
        QCOMPARE(form->vbagrSkjutlag->valdRad(), 2);
        QVERIFY(form->vbagrSkjutlag->cell(2, 2).startsWith(QStringLiteral("Skytt5 ")));
        form->close();
    }

    // Enter moves through the fields in entry order; a national competition
    // skips the greyed licence field; names get a capital first letter.
    void enterOrdningOchSparning_data() {
        QTest::addColumn<bool>("nationellt");
        QTest::newRow("sport") << false;
        QTest::newRow("nationellt") << true;
    }
    void enterOrdningOchSparning() {
        QFETCH(bool, nationellt);
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"),
                       nationellt ? NyTavling::Typ::Nationellt : NyTavling::Typ::Sportskytte, 4, 1, 1);
        QPointer<F> form = oppna(f);
        QCOMPARE(fokus(), form->txtNamn);
        QCOMPARE(form->txtLicensnr->focusPolicy() == Qt::NoFocus, nationellt);
        QTest::keyClicks(fokus(), QStringLiteral("anna"));
        enter();
        QCOMPARE(fokus(), form->txtEfternamn);
        QCOMPARE(form->txtNamn->text(), QStringLiteral("Anna"));
        QTest::keyClicks(fokus(), QStringLiteral("berg"));
        enter();
        QCOMPARE(fokus(), form->cboForening);
        QTest::keyClicks(fokus(), QStringLiteral("ny klubb"));
        enter();
        QCOMPARE(fokus(), form->cboKlassADO);
        QCOMPARE(form->cboForening->currentText(), QStringLiteral("Ny klubb"));
        QTest::keyClick(fokus(), Qt::Key_Down);
        QVERIFY(!form->cboKlassADO->currentText().isEmpty());
        enter();
        if (!nationellt) {
            QCOMPARE(fokus(), form->txtLicensnr);
            QTest::keyClicks(fokus(), QStringLiteral("L-17"));
            enter();
        }
        QCOMPARE(fokus(), form->txtSkyttekortNr);
        enter();
        QCOMPARE(fokus(), form->txtFodelsenr);
        QTest::keyClicks(fokus(), QStringLiteral("19x90"));
        QCOMPARE(form->txtFodelsenr->text(), QStringLiteral("1990"));
        enter();
        QCOMPARE(fokus(), form->txtBana);
        QTest::keyClicks(fokus(), QStringLiteral("a3"));
        QCOMPARE(form->txtBana->text(), QStringLiteral("3"));
        QVERIFY(form->cmdSparaSkytt->isEnabled());
        enter();
        QCOMPARE(fokus(), form->cmdSparaSkytt);
        enter(); // presses it
        QVERIFY2(f.m.visade.isEmpty(), qPrintable(f.m.senasteText()));
        QCOMPARE(namnPa(f.g.cnnTavling, 1, 3), QStringLiteral("Anna"));
        QCOMPARE(form->lage(), F::Lage::Ledig);
        QCOMPARE(fokus(), form->txtNamn);
        QCOMPARE(
            f.g.cnnTavling
                .varde(QStringLiteral("SELECT Licensnr || '/' || Startnr FROM Skyttar WHERE Namn = 'Anna'"))
                .toString(),
            nationellt ? QStringLiteral("/2") : QStringLiteral("L-17/2"));
        form->close();
    }

    // The checks of single fields: the birth year on leaving it, the start
    // number against the other shooters', and a save with the lane emptied.
    void faltensKontroller() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 1, 2);
        QPointer<F> form = oppna(f);
        QTest::keyClicks(form->txtNamn, QStringLiteral("Per"));
        form->cboStartnummer->setFocus();
        form->cboStartnummer->setEditText(QString());
        QTest::keyClicks(fokus(), QStringLiteral("2"));
        QTest::keyClick(fokus(), Qt::Key_Tab);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Detta startnummer finns redan!"));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Dublettnr"));
        QTRY_COMPARE(fokus(), form->cboStartnummer);
        form->cboStartnummer->setEditText(QString());
        QTest::keyClick(fokus(), Qt::Key_Tab);
        QCOMPARE(form->cboStartnummer->currentText(), QStringLiteral("0"));

        form->txtFodelsenr->setEnabled(true);
        form->txtFodelsenr->setFocus();
        QTest::keyClicks(fokus(), QStringLiteral("199"));
        f.m.tom();
        QTest::keyClick(fokus(), Qt::Key_Tab);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Du måste ange födelseåret med 4 siffror!"));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Fel antal siffror"));
        QTRY_COMPARE(fokus(), form->txtFodelsenr);
        QTest::keyClick(fokus(), Qt::Key_0);
        f.m.tom();
        QTest::keyClick(fokus(), Qt::Key_Tab);
        QVERIFY(f.m.visade.isEmpty());

        // An emptied lane is asked for, not converted.
        form->txtBana->clear();
        form->cmdSparaSkytt_Click();
        QCOMPARE(f.m.senasteText(), QStringLiteral("Du måste fylla i en bana!"));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Fel."));
        QCOMPARE(form->lage(), F::Lage::Ny);
        form->close();
    }

    // Closing with a shooter half typed asks; No keeps the window and what was
    // typed. The menus come back as the window leaves them, the display's item
    // only while a display is connected.
    void stangningOchMenyer_data() {
        QTest::addColumn<bool>("ansluten");
        QTest::newRow("utan skärm") << false;
        QTest::newRow("med skärm") << true;
    }
    void stangningOchMenyer() {
        QFETCH(bool, ansluten);
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 1);
        f.fonster.ansluten = ansluten;
        QPointer<F> form = oppna(f);
        QVERIFY(!f.fonster.menyPa(Meny::mnuInstallningar) && !f.fonster.menyPa(Meny::mnuInskrivning));
        QTest::keyClicks(form->txtNamn, QStringLiteral("Eva"));
        f.m.svara(Svar::Nej);
        QVERIFY(!form->close());
        QCOMPARE(f.m.senasteText(),
                 QStringLiteral("Du håller på och skriver in en skytt. Vill du ta bort den?"));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Bekfäfta borttag."));
        QCOMPARE(form->txtNamn->text(), QStringLiteral("Eva"));
        f.m.svara(Svar::Ja);
        QTest::mouseClick(form->cmdAterga, Qt::LeftButton);
        QTRY_VERIFY(!form);
        for (Meny m :
             {Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning, Meny::mnuKonfigAskSkarm})
            QVERIFY(f.fonster.menyPa(m));
        QVERIFY(!f.fonster.menyPa(Meny::mnuSokSkytt));
        QCOMPARE(f.fonster.menyPa(Meny::mnuVisaAskSkarm), ansluten);
    }

    // What the search drives: the squad, the lane's row and the shooter.
    // A lane whose shooter row is gone stays in the grid as free.
    void sokningensGranssnitt() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 2, 6);
        f.g.cnnTavling.kor(
            QStringLiteral("UPDATE Skjutlag SET Startnummer = 999 WHERE Skjutlag = 2 AND Bana = 1"));
        QPointer<F> form = oppna(f);
        form->valjSkjutlag(2);
        QCOMPARE(form->aktuelltSkjutlag(), 2);
        QCOMPARE(form->txtSkjutlag->text(), QStringLiteral("2"));
        QVERIFY(form->Opt[2]->isChecked());
        QCOMPARE(form->vbagrSkjutlag->antalRader(), 4);
        QCOMPARE(form->vbagrSkjutlag->cell(1, 6), QStringLiteral("1"));
        QVERIFY(form->valjBana(2));
        form->HamtaSkytt(true);
        QCOMPARE(form->lage(), F::Lage::Visad);
        QCOMPARE(form->txtNamn->text(), QStringLiteral("Skytt6"));
        QCOMPARE(form->txtBana->text(), QStringLiteral("2"));
        QCOMPARE(form->cboStartnummer->currentText(), QStringLiteral("6"));
        QVERIFY(!form->valjBana(9));
        form->close();
    }

    // The squad operations from the window: an inserted squad is shown,
    // after a delete squad 1 is; resting on a button shows its free lanes and
    // time; the time box writes the shown squad's time.
    void skjutlagIFonstret() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 3, 3, 4);
        Skjuttider::skriv(f.g.cnnTavling, 2, QStringLiteral("Lördag 10.00"));
        QPointer<F> form = oppna(f);
        QEvent in(QEvent::Enter);
        QApplication::sendEvent(form->Opt[2], &in);
        QCOMPARE(form->lblLedigaBanor->text(), QStringLiteral("Lediga banor = 2"));
        QCOMPARE(form->lblSkjuttidOpt->text(), QStringLiteral("Skjuttid: Lördag 10.00"));
        QMouseEvent over(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(form->frameSkjutlag, &over);
        QCOMPARE(form->lblLedigaBanor->text(), QStringLiteral("Lediga banor = 0"));
        QVERIFY(form->lblSkjuttidOpt->text().isEmpty());

        QTest::mouseClick(form->Opt[2], Qt::LeftButton);
        QCOMPARE(form->txtSkjuttid->text(), QStringLiteral("Lördag 10.00"));
        f.m.svara(Svar::Ja);
        QTest::mouseClick(form->cmdInfogaNyttSkjutlag, Qt::LeftButton);
        QCOMPARE(form->aktuelltSkjutlag(), 2);
        QVERIFY(form->Opt[4]->isVisible());
        QVERIFY(form->txtSkjuttid->text().isEmpty());
        QCOMPARE(form->vbagrSkjutlag->cell(1, 2), QString());
        form->txtSkjuttid->setFocus();
        QTest::keyClicks(form->txtSkjuttid, QStringLiteral("Fredag"));
        QTest::keyClick(form->txtSkjuttid, Qt::Key_Return);
        QCOMPARE(fokus(), form->txtNamn);
        int lage = Skjuttider::Las;
        QCOMPARE(HanteraSkjuttid(f.g.cnnTavling, 2, lage, QString(), 0), QStringLiteral("Fredag"));

        f.m.svara(Svar::Ja);
        QTest::mouseClick(form->cmdTabortValtSkjutlag, Qt::LeftButton);
        QCOMPARE(form->aktuelltSkjutlag(), 1);
        QVERIFY(form->Opt[1]->isChecked() && !form->Opt[4]->isVisible());
        QCOMPARE(Skjutlag::antal(f.g.cnnTavling), 3);
        form->close();
    }

    // Coming back to the window refills the classes and keeps the one chosen;
    // the challenge prize chosen by hand gets Enter after the lane and its series.
    void aktiveringOchVandringspris() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 1);
        QVERIFY(f.g.iniTavling.WriteKeys({{"Vandringspris", "Vandringspris", "1"},
                                          {"Vandringspris", "AntalSkott", "60"},
                                          {"Vandringspris", "Vilka", "Valda"}}));
        QPointer<F> form = oppna(f);
        QVERIFY(form->chkVandringspris->isVisibleTo(form) && !form->chkVandringspris->isEnabled());
        QTest::keyClicks(form->txtNamn, QStringLiteral("Ida"));
        form->cboKlassADO->setEnabled(true);
        form->cboKlassADO->setCurrentIndex(2);
        const QString klass = form->cboKlassADO->currentText();
        f.kontext.meddelaAktivering(form);
        QCOMPARE(form->cboKlassADO->currentText(), klass);

        QTest::keyClick(form->cboKlassADO, Qt::Key_J);
        QVERIFY(form->chkVandringspris->isEnabled());
        form->txtEfternamn->setText(QStringLiteral("Ek"));
        form->cboForening->setEditText(QStringLiteral("Gävle"));
        form->txtBana->setFocus();
        QTest::keyClicks(fokus(), QStringLiteral("4"));
        enter();
        QCOMPARE(fokus(), form->chkVandringspris);
        QTest::keyClick(fokus(), Qt::Key_Space);
        enter();
        QCOMPARE(fokus(), form->cmdSparaSkytt);
        enter();
        QCOMPARE(
            f.g.cnnTavling.varde(QStringLiteral("SELECT VandringsSerier FROM Skyttar WHERE Namn = 'Ida'"))
                .toInt(),
            12);
        form->close();
    }

    // Rounds are chosen by their key: two rounds may share a description.
    void omgangBarsAvNyckeln() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 1);
        f.g.blnFleraTavlingar = true;
        f.g.cnnTavling.kor(QStringLiteral(
            "INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (3, 'Final'), (4, 'Final')"));
        QPointer<F> form = oppna(f);
        QCOMPARE(form->vbagrSkjutlag->columnCount(), 7);
        QVERIFY(form->cboTavlingsOmg->isEnabled() && form->cboTavlingsOmg->currentIndex() == -1);
        QTest::keyClicks(form->txtNamn, QStringLiteral("Bo"));
        QCOMPARE(form->cboTavlingsOmg->currentIndex(), 0); // the first round is proposed
        form->cboTavlingsOmg->setCurrentIndex(1);
        form->txtEfternamn->setText(QStringLiteral("Ek"));
        form->cboForening->setEditText(QStringLiteral("Gävle"));
        form->cboKlassADO->setCurrentIndex(0);
        form->txtBana->setText(QStringLiteral("2"));
        form->cmdSparaSkytt_Click();
        QCOMPARE(f.g.cnnTavling.varde(QStringLiteral("SELECT Omg FROM Skyttar WHERE Namn = 'Bo'")).toInt(),
                 4);
        QCOMPARE(form->vbagrSkjutlag->cell(2, 6), QStringLiteral("4"));
        // The saved lane stays selected; a click on it shows him.
        QCOMPARE(form->vbagrSkjutlag->valdRad(), 2);
        Rutnat* g = form->vbagrSkjutlag;
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualItemRect(g->item(1, 1)).center());
        QCOMPARE(form->lage(), F::Lage::Visad);
        QCOMPARE(form->cboTavlingsOmg->currentIndex(), 1);
        QVERIFY(!form->cboTavlingsOmg->isEnabled());
        form->close();
    }

private:
    static void cmdKlick(Testfixtur& f, QPushButton* b, Svar svar) {
        f.m.svara(svar);
        QTest::mouseClick(b, Qt::LeftButton);
    }
};

QTEST_MAIN(TestFrmInskrivningSkyttar)
#include "test_frminskrivningskyttar.moc"
