#include "registration/Registrering.h"
#include "registration/SokSkytt.h"
#include "registration/frmInskrivningSkyttar.h"
#include "registration/frmSokSkytt.h"
#include "shell/Fonsternamn.h"
#include "shell/Rutnat.h"
#include "support/Testfixtur.h"
#include "support/Widget.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using SokSkytt::Kriterier;
using SokSkytt::Traff;

namespace {
Kriterier sokt(const QString& fornamn, const QString& efternamn = {}, const QString& licensnr = {},
               const QString& startnr = {}, std::optional<int> omg = {}) {
    return {fornamn, efternamn, licensnr, startnr, omg};
}

// Four squads of six lanes. A placed shooter's key is squad * 10 + lane but
// Bo's (1/2), beyond 32 bits; "Ingen" stands on no lane. The placeholder is
// called Anna with start number 5, and two rounds share a description.
struct Miljo {
    Testfixtur f;
    QList<Traff> visade;
    qint64 gomd = 0; // a hit the registration window cannot show
    Miljo() {
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 6, 4, 0);
        db().kor(u"UPDATE Skyttar SET Namn = 'Anna', Startnr = 5 WHERE Löpnummer = 1"_s);
        db().kor(
            u"INSERT INTO Skyttar (Löpnummer, Namn, Efternamn, Startnr, Licensnr, Omg) VALUES "
            u"(11, 'Anna', 'Öberg', 15, 'AK-100', 0), (5000000000, 'Bo', '', 2, '', 0), "
            u"(13, 'Andreas', 'Ågren', 5, 'AK-200', 0), (14, 'Johan', 'Andersson', 50, 'ak-101', 0), "
            u"(15, 'Åsa', 'Älv', 59, '', 0), (21, 'A%B', 'X', 505, '', 0), (22, 'A_B', 'X', 105, '', 0), "
            u"(31, 'Tre', 'X', 0, '', 3), (32, 'Sju', 'X', 0, '', 7), (33, 'Sjuan', 'X', 0, '', 7), "
            u"(46, 'Cecilia', 'C', 0, '', 0), (99, 'Ingen', 'Bana', 9, '', 0)"_s);
        db().kor(u"UPDATE Skjutlag SET Startnummer = Skjutlag * 10 + Bana "
                 u"WHERE Skjutlag * 10 + Bana IN (SELECT Löpnummer FROM Skyttar)"_s);
        db().kor(u"UPDATE Skjutlag SET Startnummer = 5000000000 WHERE Skjutlag = 1 AND Bana = 2"_s);
        db().kor(u"DELETE FROM [Tävlings omg]"_s);
        db().kor(u"INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (3, 'Final'), (7, 'Final')"_s);
    }
    Databas& db() { return f.g.cnnTavling; }
    // The first names of hits, space-separated in their order.
    QString namn(const QList<Traff>& traffar) {
        QStringList ut;
        for (const Traff& t : traffar)
            ut << db().varde(u"SELECT Namn FROM Skyttar WHERE Löpnummer = ?"_s, {t.lopnummer}).toString();
        return ut.join(u' ');
    }
    SokSkytt::Sokning::Visare visare() {
        return [this](const Traff& t) {
            visade << t;
            return t.lopnummer != gomd;
        };
    }
};
} // namespace

// The shooter search: what it matches in a real competition database, how the
// window walks through the hits and drives the registration window.
class TestSokSkytt : public QObject {
    Q_OBJECT

private slots:
    // Each text is the trimmed beginning of its field, in any letter case and
    // taken literally; the boxes narrow together; the start number matches as
    // its text, the round by its key. Hits come in squad and lane order; the
    // placeholder and a shooter on no lane are never one.
    void traffar_data() {
        QTest::addColumn<Kriterier>("k");
        QTest::addColumn<QString>("traffar");
        QTest::newRow("tomma rutor") << sokt({})
                                     << u"Anna Bo Andreas Johan Åsa A%B A_B Tre Sju Sjuan Cecilia"_s;
        QTest::newRow("förnamn") << sokt(u"an"_s) << u"Anna Andreas"_s;
        QTest::newRow("trimmat") << sokt(u"  ANDR "_s) << u"Andreas"_s;
        QTest::newRow("svenska versaler") << sokt({}, u"äLV"_s) << u"Åsa"_s;
        QTest::newRow("a är inte å") << sokt({}, u"a"_s) << u"Johan"_s;
        QTest::newRow("licens") << sokt({}, {}, u"ak-10"_s) << u"Anna Johan"_s;
        QTest::newRow("början, inte del") << sokt({}, u"berg"_s) << QString();
        QTest::newRow("tillsammans") << sokt(u"a"_s, u"ö"_s, u"AK"_s) << u"Anna"_s;
        QTest::newRow("%") << sokt(u"A%"_s) << u"A%B"_s;
        QTest::newRow("_") << sokt(u"_"_s) << QString();
        QTest::newRow("startnummer 5") << sokt({}, {}, {}, u"5"_s) << u"Andreas Johan Åsa A%B"_s;
        QTest::newRow("startnummer 50") << sokt({}, {}, {}, u" 50 "_s) << u"Johan A%B"_s;
        QTest::newRow("omgång") << sokt({}, {}, {}, {}, 7) << u"Sju Sjuan"_s;
        QTest::newRow("omgång och namn") << sokt(u"sjuA"_s, {}, {}, {}, 7) << u"Sjuan"_s;
    }
    void traffar() {
        QFETCH(Kriterier, k);
        Miljo mj;
        QTEST(mj.namn(SokSkytt::sok(mj.db(), k)), "traffar");
    }

    // The window, of its own over the main window and placed from its corner,
    // shows the first hit at once and the following ones with "Sök nästa",
    // which is usable only while there may be more; a hit that cannot be
    // shown is passed over. An apostrophe in any box searches nothing and
    // keeps the hits. Without rounds there is no round box.
    void fonstret() {
        Miljo mj;
        QWidget huvud;
        huvud.move(100, 50);
        frmSokSkytt sok(mj.f.kontext, &huvud, mj.visare());
        QCOMPARE(sok.pos(), huvud.pos() + QPoint(3400 / 15, 300 / 15));
        QVERIFY(!sok.windowIcon().isNull());
        QCOMPARE(sok.windowTitle(), u"Sök skytt"_s);
        QCOMPARE(sok.windowModality(), Qt::WindowModal);
        QVERIFY(widget<QComboBox>(&sok, "cboOmg")->isHidden() && widget<QLabel>(&sok, "lblOmg")->isHidden());
        auto* startnr = widget<QLineEdit>(&sok, "txtStartnr");
        auto* sokKnapp = widget<QPushButton>(&sok, "cmdSok");
        auto* nasta = widget<QPushButton>(&sok, "cmdSokNasta");
        QVERIFY(!nasta->isEnabled());
        sok.show();
        QApplication::setActiveWindow(&sok);
        QVERIFY(QTest::qWaitForWindowActive(&sok));

        mj.gomd = 14; // Johan
        startnr->setText(u"5"_s);
        sokKnapp->click();
        QVERIFY(nasta->isEnabled());
        QCOMPARE(sok.focusWidget(), nasta);
        startnr->setText(u"5'"_s);
        sokKnapp->click();
        QCOMPARE(mj.f.m.visade.size(), 1);
        QCOMPARE(mj.f.m.visade.at(0).text, u"Du har angivit ett felaktigt tecken i sökningen!"_s);
        QCOMPARE(mj.f.m.visade.at(0).titel, u"Fel tecken"_s);
        QCOMPARE(mj.f.m.visade.at(0).ikon, Meddelanden::Ikon::Kritisk);
        QCOMPARE(sok.focusWidget(), startnr);
        QCOMPARE(startnr->selectedText(), u"5'"_s);
        QVERIFY(nasta->isEnabled());
        mj.f.m.tom();
        nasta->click();
        nasta->click();
        QCOMPARE(mj.namn(mj.visade), u"Andreas Johan Åsa A%B"_s);
        QCOMPARE(mj.visade.last(), (Traff{21, 2, 1}));
        QVERIFY(mj.f.m.visade.isEmpty() && nasta->isEnabled());
        nasta->click();
        QCOMPARE(mj.f.m.visade.size(), 1);
        QCOMPARE(mj.f.m.visade.at(0).text, u"Skytten finns inte!"_s);
        QCOMPARE(mj.f.m.visade.at(0).titel, u"Sök"_s);
        QCOMPARE(mj.f.m.visade.at(0).ikon, Meddelanden::Ikon::Information);
        QVERIFY(!nasta->isEnabled());
        // A new search makes it usable again; one that finds nothing does not.
        startnr->setText(u"5"_s);
        sokKnapp->click();
        QVERIFY(nasta->isEnabled());
        startnr->setText(u"Z"_s);
        sokKnapp->click();
        QCOMPARE(mj.f.m.senasteText(), u"Skytten finns inte!"_s);
        QVERIFY(!nasta->isEnabled());
        // Enter in a box moves on like Tab and searches nothing.
        const qsizetype visade = mj.f.m.visade.size();
        auto* fornamn = widget<QLineEdit>(&sok, "txtFornamn");
        fornamn->setFocus();
        QTest::keyClick(fornamn, Qt::Key_Return);
        QCOMPARE(sok.focusWidget(), widget<QLineEdit>(&sok, "txtEfternamn"));
        QCOMPARE(mj.f.m.visade.size(), visade);
        widget<QPushButton>(&sok, "cmdAvbryt")->click();
        QVERIFY(sok.isHidden());
        QCOMPARE(sok.result(), int(QDialog::Rejected));
    }

    // With rounds the window offers them in number order after an empty item
    // and searches by the chosen item's key; Backspace and Space take the
    // round away again, Enter moves on.
    void omgangsrutan() {
        Miljo mj;
        mj.f.g.blnFleraTavlingar = true;
        frmSokSkytt sok(mj.f.kontext, nullptr, mj.visare());
        auto* omg = widget<QComboBox>(&sok, "cboOmg");
        QVERIFY(!omg->isHidden() && !widget<QLabel>(&sok, "lblOmg")->isHidden());
        QCOMPARE(omg->count(), 3);
        QCOMPARE(omg->itemText(0), QString());
        omg->setCurrentIndex(2);
        widget<QPushButton>(&sok, "cmdSok")->click();
        widget<QPushButton>(&sok, "cmdSokNasta")->click();
        QCOMPARE(mj.namn(mj.visade), u"Sju Sjuan"_s);
        sok.show();
        omg->setFocus();
        QTest::keyClick(omg, Qt::Key_Backspace);
        QCOMPARE(omg->currentIndex(), 0);
        omg->setCurrentIndex(1);
        QTest::keyClick(omg, Qt::Key_Space);
        QCOMPARE(omg->currentIndex(), 0);
        QTest::keyClick(omg, Qt::Key_Return);
        QCOMPARE(sok.focusWidget(), widget<QPushButton>(&sok, "cmdSok"));
        QVERIFY(mj.f.m.visade.isEmpty());
    }

    // The search shows its hit in the real registration window: that squad,
    // that lane's row, the shooter in the fields. A lane whose shooter row is
    // gone stays in the grid as free; a lane the squad lacks is not chosen.
    void hittenVisasIRegistreringen() {
        Miljo mj;
        mj.db().kor(u"UPDATE Skjutlag SET Startnummer = 999 WHERE Skjutlag = 3 AND Bana = 4"_s);
        Registreringsfonster::registrera(mj.f.delar());
        auto* reg =
            qobject_cast<frmInskrivningSkyttar*>(mj.f.fonster.visaFonster(Fonsternamn::InskrivningSkyttar));
        frmSokSkytt sok(mj.f.kontext);
        widget<QLineEdit>(&sok, "txtFornamn")->setText(u"sjuan"_s);
        widget<QPushButton>(&sok, "cmdSok")->click();
        QVERIFY2(mj.f.m.visade.isEmpty(), qPrintable(mj.f.m.senasteText()));
        QCOMPARE(reg->aktuelltSkjutlag(), 3);
        QVERIFY(widget<QPushButton>(reg, "Opt3")->isChecked());
        QCOMPARE(widget<QLineEdit>(reg, "txtSkjutlag")->text(), u"3"_s);
        auto* rutnat = widget<Rutnat>(reg, "vbagrSkjutlag");
        QCOMPARE(rutnat->valdRad(), 3);
        QCOMPARE(rutnat->antalRader(), 6);
        QCOMPARE(rutnat->cell(4, 6), u"1"_s);
        QCOMPARE(reg->lage(), frmInskrivningSkyttar::Lage::Visad);
        QStringList falt;
        for (const char* namn : {"txtNamn", "txtEfternamn", "txtBana"})
            falt << widget<QLineEdit>(reg, namn)->text();
        falt << widget<QComboBox>(reg, "cboStartnummer")->currentText();
        QCOMPARE(falt, (QStringList{u"Sjuan"_s, u"X"_s, u"3"_s, u"0"_s}));
        QVERIFY(!reg->valjBana(9));
        reg->close();
    }
};

QTEST_MAIN(TestSokSkytt)
#include "test_sokskytt.moc"
