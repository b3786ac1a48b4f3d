#include "Tangentbord.h"
#include "common/IniNamn.h"
#include "entry/Banrader.h"
#include "entry/Registrering.h"
#include "entry/frm1098.h"
#include "entry/frmResultatInskrivning.h"
#include "entry/frmValjSkjutlag.h"
#include "settings/Skjuttider.h"
#include "shell/Fonsternamn.h"
#include "spectator/Askadarstod.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

using F = frmResultatInskrivning;
using namespace Tangentbord;
using Svar = Meddelanden::Svar;

namespace {

// The main window's register as far as result entry uses it: windows go to the
// test window host, the picker's factory is kept for the test to run.
class Register : public Fonsterregister {
public:
    explicit Register(TestFonstervard& v) : m_v(v) {}
    void registreraFonster(const QString& namn, Fonsterfabrik fabrik, Menylagen lagen) override {
        m_v.registreraFonster(namn, std::move(fabrik), std::move(lagen));
    }
    void registreraDialog(const QString& namn, Dialogfabrik fabrik) override {
        dialoger.insert(namn, fabrik);
    }
    void registreraListbyggare(const QString&, Listbyggare) override {}
    QHash<QString, Dialogfabrik> dialoger;

private:
    TestFonstervard& m_v;
};

// Answers the squad picker when it opens: the squad, or 0 to cancel.
void svaraValj(int skjutlag) {
    QTimer::singleShot(0, [skjutlag] {
        auto* valj = qobject_cast<frmValjSkjutlag*>(QApplication::activeModalWidget());
        if (!valj)
            return;
        if (skjutlag == 0) {
            QTest::mouseClick(valj->cmdAvbryt, Qt::LeftButton);
            return;
        }
        QTest::mouseClick(valj->Opt[skjutlag], Qt::LeftButton);
        QTest::mouseClick(valj->cmdOK, Qt::LeftButton);
    });
}

// A competition with result entry open on one of its squads. The spectator feed
// is there but nothing listens, unless the test starts it.
struct Inskrivning {
    Testfixtur f;
    Askadarflode flode{f.g, f.m, Testfixtur::ledigPort(), Loopback};
    QPointer<F> w;

    Inskrivning(NyTavling::Typ typ, int banor, int skjutlag, int skyttar) {
        f.skapaTavling(QStringLiteral("Cup"), typ, banor, skjutlag, skyttar);
    }
    ~Inskrivning() { delete w; }

    // As the picker opens it, with a short wait before the display is told.
    F* oppna(int skjutlag, int intervall = 100) {
        f.g.intValtSkjutlag = skjutlag;
        w = new F(f.kontext, flode, intervall);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->Oppna_databaser_mm(skjutlag);
        w->txtVisible();
        if (!aktivera(w))
            qWarning("the window did not become active");
        f.kontext.meddelaAktivering(w);
        return w;
    }
    qint64 lopnummer(int skjutlag, int bana) {
        return f.g.cnnTavling
            .varde(QStringLiteral("SELECT Startnummer FROM Skjutlag WHERE Skjutlag = ? AND Bana = ?"),
                   {skjutlag, bana})
            .toLongLong();
    }
    void satt(int skjutlag, int bana, const QString& falt, const QVariant& varde) {
        f.g.cnnTavling.kor(QStringLiteral("UPDATE Skyttar SET %1 = ? WHERE Löpnummer = ?").arg(falt),
                           {varde, lopnummer(skjutlag, bana)});
    }
    QVariant lagrat(int skjutlag, int bana, const QString& falt) {
        return f.g.cnnTavling.varde(QStringLiteral("SELECT %1 FROM Skyttar WHERE Löpnummer = ?").arg(falt),
                                    {lopnummer(skjutlag, bana)});
    }
    int res(int skjutlag, int bana, int serie) {
        return lagrat(skjutlag, bana, QStringLiteral("Res%1").arg(serie)).toInt();
    }
    // A lane left free: its row points at the placeholder shooter.
    void ledig(int skjutlag, int bana) {
        f.g.cnnTavling.kor(
            QStringLiteral("UPDATE Skjutlag SET Startnummer = 1 WHERE Skjutlag = ? AND Bana = ?"),
            {skjutlag, bana});
    }
};

// The switch button with the picker answered; the window has the keyboard
// again afterwards, as the desktop gives it back when the picker closes.
void byt(QWidget* w, int skjutlag) {
    svaraValj(skjutlag);
    QMetaObject::invokeMethod(w, "cmdBytSkjutlag_Click", Qt::DirectConnection);
    if (!aktivera(w))
        qWarning("the window did not become active again");
}

// The mouse pointer moving over a widget.
void pekaPa(QWidget* w) {
    const QPointF mitt(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent flytt(QEvent::MouseMove, mitt, w->mapToGlobal(mitt), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &flytt);
}

bool synlig(const QWidget* w) {
    return !w->isHidden();
}

} // namespace

class T_frmresultatinskrivning : public QObject {
    Q_OBJECT

private slots:
    // A squad opens with a row per occupied lane in lane order, its caption with
    // the squad's time, the stored results painted and the panels of a new
    // window; the first series of the first lane has the focus. Switching to a
    // squad of twelve rows makes the rows scroll; a squad without shooters opens
    // empty but named.
    void skjutlagOppnas() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 12, 3, 24);
        Skjuttider::skriv(s.f.g.cnnTavling, 2, QStringLiteral("Lördag 10.00"));
        s.ledig(2, 3);
        s.satt(2, 5, QStringLiteral("Res1"), 47);
        s.satt(2, 5, QStringLiteral("Res2"), 50);
        s.satt(2, 5, QStringLiteral("Särskjutning"), 9.5);
        F* w = s.oppna(2);
        QCOMPARE(w->windowTitle(), QStringLiteral("Resultatinskrivning Skjutlag 2 Lördag 10.00"));
        QCOMPARE(w->intAntalRader(), 11);
        QCOMPARE(w->rad(2).txtBana->text(), QStringLiteral("4"));
        QCOMPARE(w->rad(3).txtNamn->text(), QStringLiteral("Skytt17 Efternamn17"));
        QCOMPARE(w->txtSer(1, 3)->text(), QStringLiteral("47"));
        QCOMPARE(w->rad(3).txtSum[0]->text(), QStringLiteral("97"));
        QCOMPARE(w->rad(3).txtRes60->text(), QStringLiteral("97"));
        QCOMPARE(w->rad(3).txtSarskjutning->text(), QStringLiteral("9,5"));
        QCOMPARE(w->txtSer(2, 3)->palette().color(QPalette::Text), Rod);
        QVERIFY(w->txtSer(1, 3)->palette().color(QPalette::Text) != Rod);
        QCOMPARE(w->panel(F::PanelSkjutlag), QStringLiteral("Skjutlag 2"));
        QCOMPARE(w->panel(F::PanelAuto1098), QStringLiteral("Auto 10,9,8.."));
        QCOMPARE(w->panel(F::PanelAuto10), QStringLiteral("Auto 10'"));
        QVERIFY(w->panel(F::PanelStatusTolkmaskin).isEmpty());
        QCOMPARE(w->banrader()->lblSumma->text(), QStringLiteral("40 / 60 skott"));
        QVERIFY(synlig(w->banrader()->Label[12]));
        QVERIFY(w->banrader()->innehallSynligt());
        QCOMPARE(fokus(), w->txtSer(1, 0));
        QCOMPARE(w->panel(F::PanelBana), QStringLiteral("Bana 1"));
        QCOMPARE(w->panel(F::PanelKlass), QStringLiteral("H"));
        QCOMPARE(w->banrader()->VScrollInnehall->maximum(), 0);
        QVERIFY(s.f.g.blnResultatInskrivningOppen);
        QVERIFY(s.f.m.visade.isEmpty());

        // Twelve rows: the area grows by one row and scrolls by it.
        byt(w, 1);
        QCOMPARE(w->intAntalRader(), 12);
        QCOMPARE(w->banrader()->innehallHojd(), 6045 + 550);
        QCOMPARE(w->banrader()->VScrollInnehall->maximum(), 550);
        QCOMPARE(w->windowTitle(), QStringLiteral("Resultatinskrivning Skjutlag 1 "));
        // Down from the last visible row brings the twelfth into view.
        w->txtSer(1, 10)->setFocus();
        tryck(Qt::Key_Down);
        QCOMPARE(fokus(), w->txtSer(1, 11));
        QCOMPARE(w->banrader()->VScrollInnehall->value(), 550);
        QCOMPARE(w->banrader()->innehallTopp(), -550);
        tryck(Qt::Key_Down);
        QCOMPARE(fokus(), w->txtSer(1, 0));
        QCOMPARE(w->banrader()->VScrollInnehall->value(), 0);

        // No shooters: nothing shows, the squad is still named.
        byt(w, 3);
        QCOMPARE(w->intAntalRader(), 0);
        QCOMPARE(w->windowTitle(), QStringLiteral("Resultatinskrivning Skjutlag 3 "));
        QCOMPARE(w->panel(F::PanelSkjutlag), QStringLiteral("Skjutlag 3"));
        QCOMPARE(w->banrader()->innehallHojd(), 6045);
        for (int i = 0; i < w->banrader()->byggda(); ++i)
            QVERIFY(!synlig(w->rad(i).txtBana) && !synlig(w->txtSer(1, i)) && !synlig(w->rad(i).cmd1098));
        QCOMPARE(s.f.g.intValtSkjutlag, 3);
    }

    // Which fields a row shows and how its series are coloured, by the class
    // and the kind of competition.
    void synlighetPerKlass() {
        {
            Inskrivning s(NyTavling::Typ::Sportskytte, 4, 1, 3);
            s.satt(1, 2, QStringLiteral("Klass"), QStringLiteral("D"));
            s.satt(1, 3, QStringLiteral("Klass"), QStringLiteral("d"));
            s.satt(1, 3, QStringLiteral("Lagserier"), 12);
            F* w = s.oppna(1);
            // 60 shots: every series, the 60-shot total only.
            QVERIFY(synlig(w->txtSer(12, 0)) && synlig(w->rad(0).txtRes60) && !synlig(w->rad(0).txtRes40));
            QVERIFY(w->txtSer(12, 0)->palette().color(QPalette::Base) != Ljusrod);
            // 40 shots: series 9 to 12 red and still there, the 40-shot total only.
            QVERIFY(synlig(w->txtSer(9, 1)) && synlig(w->rad(1).txtSum[5]));
            QCOMPARE(w->txtSer(9, 1)->palette().color(QPalette::Base), Ljusrod);
            QVERIFY(w->txtSer(8, 1)->palette().color(QPalette::Base) != Ljusrod);
            QVERIFY(synlig(w->rad(1).txtRes40) && !synlig(w->rad(1).txtRes60));
            // 40 shots and a team of 60 (the class found whatever its case): green,
            // both totals.
            QCOMPARE(w->txtSer(12, 2)->palette().color(QPalette::Base), Ljusgron);
            QVERIFY(synlig(w->rad(2).txtRes40) && synlig(w->rad(2).txtRes60));
            QVERIFY(s.f.m.visade.isEmpty());

            // A value typed into a red series brings the 60-shot total back.
            w->txtSer(10, 1)->setFocus();
            skriv(QStringLiteral("3"));
            tryck(Qt::Key_Tab);
            QCOMPARE(s.res(1, 2, 10), 3);
            QVERIFY(synlig(w->rad(1).txtRes60));
            QCOMPARE(w->rad(1).txtRes60->text(), QStringLiteral("3"));
        }
        {
            // National: series 1 to 8 only, their headers and "40 skott".
            Inskrivning s(NyTavling::Typ::Nationellt, 3, 1, 2);
            F* w = s.oppna(1);
            QVERIFY(synlig(w->txtSer(8, 0)) && !synlig(w->txtSer(9, 0)) && !synlig(w->txtSer(12, 1)));
            QVERIFY(!synlig(w->rad(0).txtSum[4]) && !synlig(w->rad(0).txtSum[5]));
            QVERIFY(synlig(w->rad(0).txtRes40) && !synlig(w->rad(0).txtRes60));
            QVERIFY(synlig(w->rad(0).txtSarskjutning) && synlig(w->rad(0).cmd1098));
            QVERIFY(synlig(w->banrader()->Label[8]) && !synlig(w->banrader()->Label[9]) &&
                    !synlig(w->banrader()->Label[12]));
            QCOMPARE(w->banrader()->lblSumma->text(), QStringLiteral("40 skott"));
        }
        {
            // Mixed: each row by its class's kind; a class that is gone is told.
            Inskrivning s(NyTavling::Typ::Mix, 4, 1, 3);
            s.satt(1, 2, QStringLiteral("Klass"), QStringLiteral("LG1"));
            F* w = s.oppna(1);
            QVERIFY(synlig(w->txtSer(9, 0)) && !synlig(w->txtSer(9, 1)) && synlig(w->txtSer(9, 2)));
            QVERIFY(!synlig(w->rad(1).txtRes60) && synlig(w->rad(1).txtRes40));
            QVERIFY(synlig(w->banrader()->Label[12]));
        }
        {
            Inskrivning s(NyTavling::Typ::Sportskytte, 3, 1, 2);
            s.satt(1, 2, QStringLiteral("Klass"), QStringLiteral("X'1"));
            F* w = s.oppna(1);
            QCOMPARE(w->intAntalRader(), 2);
            QCOMPARE(s.f.m.visade.size(), 1);
            QCOMPARE(
                s.f.m.visade[0].text,
                QStringLiteral("Klassen för skytten på bana 2 finns inte.\r\nKolla så att du inte ändrat "
                               "namnet på klassen!"));
            QCOMPARE(s.f.m.visade[0].titel, QStringLiteral("Ingen klass."));
            QVERIFY(synlig(w->txtSer(12, 1)));
            QVERIFY(w->txtSer(12, 1)->palette().color(QPalette::Base) != Ljusrod);
            // Coming back to the window does not tell it again.
            s.f.kontext.meddelaAktivering(w);
            QCOMPARE(s.f.m.visade.size(), 1);
        }
    }

    // A whole row from the keyboard: two digits move on by themselves, each
    // series is stored as it is left, the sums and totals follow, full marks
    // are red. The release of a key pressed in the previous field moves nothing.
    void helRadFranTangentbordet() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 1, 2);
        F* w = s.oppna(1);
        QCOMPARE(fokus(), w->txtSer(1, 0));
        const QStringList serier = {QStringLiteral("47"), QStringLiteral("50"), QStringLiteral("48"),
                                    QStringLiteral("49"), QStringLiteral("45"), QStringLiteral("46"),
                                    QStringLiteral("44"), QStringLiteral("43"), QStringLiteral("50"),
                                    QStringLiteral("50"), QStringLiteral("41"), QStringLiteral("42")};
        for (int n = 1; n <= 12; ++n) {
            QCOMPARE(fokus(), w->txtSer(n, 0));
            skriv(serier[n - 1]);
        }
        // Series 12 goes round to series 1 of the same row, storing as it leaves.
        QCOMPARE(fokus(), w->txtSer(1, 0));
        for (int n = 1; n <= 12; ++n)
            QCOMPARE(s.res(1, 1, n), serier[n - 1].toInt());
        QCOMPARE(s.lagrat(1, 1, QStringLiteral("Sum50")).toInt(), 100);
        QCOMPARE(s.lagrat(1, 1, QStringLiteral("Totalt40")).toInt(), 372);
        QCOMPARE(s.lagrat(1, 1, QStringLiteral("Totalt60")).toInt(), 555);
        QCOMPARE(w->rad(0).txtSum[0]->text(), QStringLiteral("97"));
        QCOMPARE(w->rad(0).txtSum[4]->text(), QStringLiteral("100"));
        QCOMPARE(w->rad(0).txtSum[4]->palette().color(QPalette::Text), Rod);
        QVERIFY(w->rad(0).txtSum[0]->palette().color(QPalette::Text) != Rod);
        QCOMPARE(w->txtSer(2, 0)->palette().color(QPalette::Text), Rod);
        QCOMPARE(w->rad(0).txtRes60->text(), QStringLiteral("555"));
        // A typed series switches the counts to hand entry, on screen and in the file.
        QCOMPARE(w->panel(F::PanelAuto1098), QStringLiteral("Man 10,9,8.."));
        QCOMPARE(w->panel(F::PanelAuto10), QStringLiteral("Manuella 10'"));
        QVERIFY(s.f.g.blnEjAuto1098);

        // The field entered has its text selected: one digit replaces it and stays.
        QCOMPARE(w->txtSer(1, 0)->selectedText(), QStringLiteral("47"));
        skriv(QStringLiteral("5"));
        QCOMPARE(fokus(), w->txtSer(1, 0));
        QCOMPARE(w->txtSer(1, 0)->text(), QStringLiteral("5"));
        // Enter moves on as two digits would, and stores.
        tryck(Qt::Key_Return);
        QCOMPARE(fokus(), w->txtSer(2, 0));
        QCOMPARE(s.res(1, 1, 1), 5);
        // A key held from the last field is let go here: no move.
        QTest::keyRelease(fokus(), Qt::Key_7);
        QCOMPARE(fokus(), w->txtSer(2, 0));
        // Visiting a field without typing stores nothing: the stored value
        // changed meanwhile stays.
        s.satt(1, 1, QStringLiteral("Res2"), 33);
        tryck(Qt::Key_Return);
        QCOMPARE(s.res(1, 1, 2), 33);
        // An emptied field is nought, stored.
        tryck(Qt::Key_Backspace);
        tryck(Qt::Key_Tab);
        QCOMPARE(w->txtSer(3, 0)->text(), QStringLiteral("0"));
        QCOMPARE(s.res(1, 1, 3), 0);
        QCOMPARE(fokus(), w->txtSer(4, 0));

        // Arrows go round the row.
        w->txtSer(1, 1)->setFocus();
        tryck(Qt::Key_Left);
        QCOMPARE(fokus(), w->txtSer(12, 1));
        tryck(Qt::Key_Right);
        QCOMPARE(fokus(), w->txtSer(1, 1));
        w->txtSer(8, 1)->setFocus();
        tryck(Qt::Key_Right);
        QCOMPARE(fokus(), w->txtSer(9, 1));
        QCOMPARE(w->intAktuellRad, 1);
        QCOMPARE(w->panel(F::PanelBana), QStringLiteral("Bana 2"));
    }

    // Up and Down keep the series and go round the squad; in series 9 to 12
    // they pass over rows that do not show them (national rows), never over a
    // sport row of fewer shots.
    // Where no window manager hands the keyboard back after a dialog, the window
    // is not the active one: keys reach its fields and the focus moves, but the
    // fields are told nothing. The series typed are stored all the same.
    void inaktivtFonster() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 1, 2);
        F* w = s.oppna(1);
        QWidget annat;
        QVERIFY(aktivera(&annat));
        QVERIFY(!w->isActiveWindow());
        auto tangent = [w](const QString& text) {
            for (const QChar c : text)
                QTest::keyClick(w->focusWidget(), c.toLatin1());
        };
        tangent(QStringLiteral("4748"));
        QCOMPARE(w->focusWidget(), w->txtSer(3, 0));
        QCOMPARE(s.res(1, 1, 1), 47);
        // A field is left when the keys go on elsewhere.
        tangent(QStringLiteral("51"));
        QCOMPARE(s.res(1, 1, 2), 48);
        QCOMPARE(w->rad(0).txtSum[0]->text(), QStringLiteral("95"));
        QCOMPARE(w->focusWidget(), w->txtSer(4, 0));
        // A refused value takes the keys back to its field; the key is dropped.
        tangent(QStringLiteral("4"));
        QCOMPARE(s.f.m.senasteText(), QStringLiteral("Du får inte skriva in resultat högre än 50 poäng!"));
        QCOMPARE(w->focusWidget(), w->txtSer(3, 0));
        QCOMPARE(w->txtSer(3, 0)->text(), QStringLiteral("0"));
        QCOMPARE(w->txtSer(4, 0)->text(), QStringLiteral("0"));
    }

    void uppOchNer() {
        {
            Inskrivning s(NyTavling::Typ::Mix, 5, 1, 4);
            s.satt(1, 2, QStringLiteral("Klass"), QStringLiteral("LG1"));
            s.satt(1, 3, QStringLiteral("Klass"), QStringLiteral("LG2"));
            s.satt(1, 4, QStringLiteral("Klass"), QStringLiteral("D"));
            F* w = s.oppna(1);
            w->txtSer(10, 0)->setFocus();
            tryck(Qt::Key_Down);
            QCOMPARE(fokus(), w->txtSer(10, 3));
            tryck(Qt::Key_Down);
            QCOMPARE(fokus(), w->txtSer(10, 0));
            tryck(Qt::Key_Up);
            QCOMPARE(fokus(), w->txtSer(10, 3));
            tryck(Qt::Key_Up);
            QCOMPARE(fokus(), w->txtSer(10, 0));
            // Series 1 to 8 stop at every row.
            w->txtSer(3, 0)->setFocus();
            tryck(Qt::Key_Up);
            QCOMPARE(fokus(), w->txtSer(3, 3));
            tryck(Qt::Key_Up);
            QCOMPARE(fokus(), w->txtSer(3, 2));
            // Enter and the move after two digits leave series 8 of a national
            // row for series 1, of a sport row of 40 shots for series 9.
            w->txtSer(8, 1)->setFocus();
            tryck(Qt::Key_Return);
            QCOMPARE(fokus(), w->txtSer(1, 1));
            w->txtSer(8, 1)->setFocus();
            skriv(QStringLiteral("40"));
            QCOMPARE(fokus(), w->txtSer(1, 1));
            w->txtSer(1, 1)->setFocus();
            tryck(Qt::Key_Left);
            QCOMPARE(fokus(), w->txtSer(8, 1));
            w->txtSer(8, 3)->setFocus();
            skriv(QStringLiteral("40"));
            QCOMPARE(fokus(), w->txtSer(9, 3));
        }
        {
            // Only one row shows series 11: the focus stays.
            Inskrivning s(NyTavling::Typ::Mix, 3, 1, 2);
            s.satt(1, 2, QStringLiteral("Klass"), QStringLiteral("LG1"));
            F* w = s.oppna(1);
            w->txtSer(11, 0)->setFocus();
            tryck(Qt::Key_Down);
            QCOMPARE(fokus(), w->txtSer(11, 0));
            tryck(Qt::Key_Up);
            QCOMPARE(fokus(), w->txtSer(11, 0));
        }
    }

    // Keys a series takes: digits and Backspace; everything else is dropped
    // (with a beep), typed or pasted. The shoot-off value takes one comma.
    void nekadeTangenter() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 1, 2);
        F* w = s.oppna(1);
        QLineEdit* ser = w->txtSer(4, 0);
        ser->setFocus();
        for (const char c : {'a', '*', '+', ',', '.', ' '})
            QTest::keyClick(ser, c);
        QCOMPARE(ser->text(), QStringLiteral("0"));
        QGuiApplication::clipboard()->setText(QStringLiteral("4a"));
        QTest::keySequence(ser, QKeySequence::Paste);
        QCOMPARE(ser->text(), QStringLiteral("0"));
        QCOMPARE(fokus(), ser);
        QGuiApplication::clipboard()->setText(QStringLiteral("45"));
        QTest::keySequence(ser, QKeySequence::Paste);
        QCOMPARE(ser->text(), QStringLiteral("45"));
        tryck(Qt::Key_Tab);
        QCOMPARE(s.res(1, 1, 4), 45);

        QLineEdit* sar = w->rad(0).txtSarskjutning;
        sar->setFocus();
        QCOMPARE(w->banrader()->HScrollInnehall->value(), Banrader::HScrollMax);
        skriv(QStringLiteral("9.,5,"));
        QCOMPARE(sar->text(), QStringLiteral("9,5"));
        tryck(Qt::Key_Return);
        QCOMPARE(fokus(), w->txtSer(1, 0));
        QCOMPARE(w->banrader()->HScrollInnehall->value(), 0);
        QCOMPARE(s.lagrat(1, 1, QStringLiteral("Särskjutning")).toDouble(), 9.5);
        // An emptied shoot-off value is nought.
        sar->setFocus();
        tryck(Qt::Key_Backspace);
        tryck(Qt::Key_Return);
        QCOMPARE(sar->text(), QStringLiteral("0"));
        QCOMPARE(s.lagrat(1, 1, QStringLiteral("Särskjutning")).toDouble(), 0.0);
        // Up and Down go round the rows in the shoot-off column and on the count buttons.
        const int sista = w->intAntalRader() - 1;
        sar->setFocus();
        tryck(Qt::Key_Up);
        QCOMPARE(fokus(), w->rad(sista).txtSarskjutning);
        tryck(Qt::Key_Down);
        QCOMPARE(fokus(), sar);
        w->rad(sista).cmd1098->setFocus();
        tryck(Qt::Key_Down);
        QCOMPARE(fokus(), w->rad(0).cmd1098);
        tryck(Qt::Key_Up);
        QCOMPARE(fokus(), w->rad(sista).cmd1098);
        QVERIFY(s.f.m.visade.isEmpty());
    }

    // A series over 50 is refused with its message and the field has the
    // focus back with nought, which is stored; 50 is full marks.
    void overFemtio() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 1, 2);
        s.satt(1, 1, QStringLiteral("Res3"), 40);
        F* w = s.oppna(1);
        w->txtSer(3, 0)->setFocus();
        skriv(QStringLiteral("51"));
        QCOMPARE(s.f.m.visade.size(), 1);
        QCOMPARE(s.f.m.senasteText(), QStringLiteral("Du får inte skriva in resultat högre än 50 poäng!"));
        QCOMPARE(s.f.m.visade.back().titel, QStringLiteral("Fel"));
        QCOMPARE(s.f.m.visade.back().ikon, Meddelanden::Ikon::Kritisk);
        QCOMPARE(fokus(), w->txtSer(3, 0));
        QCOMPARE(w->txtSer(3, 0)->text(), QStringLiteral("0"));
        QCOMPARE(s.res(1, 1, 3), 0);
        skriv(QStringLiteral("50"));
        QCOMPARE(fokus(), w->txtSer(4, 0));
        QCOMPARE(s.res(1, 1, 3), 50);
        QCOMPARE(w->txtSer(3, 0)->palette().color(QPalette::Text), Rod);
        QCOMPARE(s.f.m.visade.size(), 1);
    }

    // A save the database refuses is told as number and description run
    // together, without icon, under the program's title; the field shows the
    // stored value again and has the focus.
    void misslyckadSparning() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 1, 2);
        s.satt(1, 1, QStringLiteral("Res2"), 41);
        F* w = s.oppna(1);
        s.f.g.cnnTavling.kor(QStringLiteral("CREATE TRIGGER nej BEFORE UPDATE ON Skyttar "
                                            "BEGIN SELECT RAISE(ABORT, 'nej'); END"));
        w->txtSer(2, 0)->setFocus();
        skriv(QStringLiteral("45"));
        QCOMPARE(s.f.m.visade.size(), 1);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\S")).match(s.f.m.senasteText()).hasMatch());
        QVERIFY(s.f.m.visade.back().titel.isEmpty());
        QCOMPARE(s.f.m.visade.back().ikon, Meddelanden::Ikon::Ingen);
        QCOMPARE(fokus(), w->txtSer(2, 0));
        QCOMPARE(w->txtSer(2, 0)->text(), QStringLiteral("41"));
        QCOMPARE(w->rad(0).txtSum[0]->text(), QStringLiteral("41"));
        QCOMPARE(s.res(1, 1, 2), 41);
        // Nothing is left to store: the window closes.
        QVERIFY(w->close());
        QCOMPARE(s.f.m.visade.size(), 1);
    }

    // Whatever closes the window, a series being typed is stored first, the
    // counts' state is written to the competition, and the squad on the
    // display gets what it was waiting for. A shoot-off value that is no number
    // keeps the window open.
    void stangningSparar() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 1, 2);
        QVERIFY(
            s.f.g.iniTavling.WriteKey(Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, QStringLiteral("x")));
        Register r(s.f.fonster);
        Resultatfonster::registrera(r, s.flode);
        s.f.g.intValtSkjutlag = 1;
        QPointer<QWidget> w = s.f.fonster.visaFonster(Fonsternamn::ResultatInskrivning);
        auto* f = qobject_cast<F*>(w.data());
        QVERIFY(f && aktivera(f));
        s.f.kontext.meddelaAktivering(f);
        f->txtSer(5, 1)->setFocus();
        skriv(QStringLiteral("4"));
        QVERIFY(s.f.fonster.stangFonster(f));
        QCOMPARE(s.res(1, 2, 5), 4);
        QVERIFY(!s.f.g.blnResultatInskrivningOppen);
        QCOMPARE(s.f.g.iniTavling.GetKeyValue(Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, {}),
                 QStringLiteral("1"));
        QTRY_VERIFY(!w);

        F* v = s.oppna(1);
        v->rad(1).txtSarskjutning->setFocus();
        QGuiApplication::clipboard()->setText(QStringLiteral(","));
        QTest::keySequence(fokus(), QKeySequence::Paste);
        QCOMPARE(v->rad(1).txtSarskjutning->text(), QStringLiteral(","));
        QVERIFY(!v->close());
        QCOMPARE(s.f.m.visade.back().titel, QStringLiteral("Fel"));
        QCOMPARE(fokus(), v->rad(1).txtSarskjutning);
        QVERIFY(s.f.g.blnResultatInskrivningOppen);
        skriv(QStringLiteral("12,5"));
        v->txtSer(7, 0)->setFocus();
        QCOMPARE(s.lagrat(1, 2, QStringLiteral("Särskjutning")).toDouble(), 12.5);
        skriv(QStringLiteral("3"));
        QVERIFY(v->close());
        QCOMPARE(s.res(1, 1, 7), 3);
    }

    // Switching squads: the same squad changes nothing; another one stores the
    // series being typed first and opens in place.
    void bytaSkjutlag() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 2, 6);
        F* w = s.oppna(1);
        w->txtSer(2, 0)->setFocus();
        skriv(QStringLiteral("3"));
        byt(w, 1);
        QCOMPARE(fokus(), w->txtSer(2, 0));
        QCOMPARE(w->txtSer(2, 0)->text(), QStringLiteral("3"));
        QCOMPARE(s.f.g.intValtSkjutlag, 1);
        QCOMPARE(w->rad(0).txtNamn->text(), QStringLiteral("Skytt1 Efternamn1"));
        byt(w, 2);
        QCOMPARE(s.res(1, 1, 2), 3);
        QCOMPARE(s.f.g.intValtSkjutlag, 2);
        QCOMPARE(w->rad(0).txtNamn->text(), QStringLiteral("Skytt4 Efternamn4"));
        QCOMPARE(w->txtSer(2, 0)->text(), QStringLiteral("0"));
        QCOMPARE(fokus(), w->txtSer(1, 0));
        QVERIFY(w->banrader()->innehallSynligt());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        // Cancelled: the squad stays.
        byt(w, 0);
        QCOMPARE(s.f.g.intValtSkjutlag, 2);
        QCOMPARE(w->panel(F::PanelSkjutlag), QStringLiteral("Skjutlag 2"));
    }

    // The main menu: the picker's first use opens the window on the chosen
    // squad with the settings and entry menus off; closing gives back all but
    // the display's item, which comes back only with a display; a cancelled
    // picker opens nothing.
    void menyer() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 3, 6);
        Register r(s.f.fonster);
        Resultatfonster::registrera(r, s.flode);
        QVERIFY(r.dialoger.contains(Fonsternamn::ValjSkjutlag));
        const auto resultat = [&] {
            s.f.g.intValtSkjutlag = 0;
            s.f.kontext.sattMenyer({Meny::mnuUtskrift, Meny::mnuKonfigAskSkarm, Meny::mnuVisaAskSkarm},
                                   false);
            return r.dialoger[Fonsternamn::ValjSkjutlag](s.f.kontext);
        };

        svaraValj(0);
        QVERIFY(!resultat());
        QVERIFY(!s.f.fonster.fonster(Fonsternamn::ResultatInskrivning));
        QVERIFY(!s.f.g.blnResultatInskrivningOppen);

        svaraValj(3);
        QVERIFY(resultat());
        QPointer<QWidget> w = s.f.fonster.fonster(Fonsternamn::ResultatInskrivning);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Resultatinskrivning Skjutlag 3 "));
        QCOMPARE(s.f.g.intValtSkjutlag, 3);
        QVERIFY(!s.f.fonster.menyPa(Meny::mnuInstallningar) && !s.f.fonster.menyPa(Meny::mnuInskrivning));
        QVERIFY(!s.f.fonster.menyPa(Meny::mnuUtskrift) && !s.f.fonster.menyPa(Meny::mnuVisaAskSkarm));
        s.f.fonster.ansluten = true;
        QVERIFY(s.f.fonster.stangFonster(w));
        QTRY_VERIFY(!w);
        for (Meny m : {Meny::mnuInstallningar, Meny::mnuInskrivning, Meny::mnuUtskrift,
                       Meny::mnuKonfigAskSkarm, Meny::mnuVisaAskSkarm})
            QVERIFY(s.f.fonster.menyPa(m));

        svaraValj(2);
        QVERIFY(resultat());
        w = s.f.fonster.fonster(Fonsternamn::ResultatInskrivning);
        s.f.fonster.ansluten = false;
        QVERIFY(s.f.fonster.stangFonster(w));
        QTRY_VERIFY(!w);
        QVERIFY(!s.f.fonster.menyPa(Meny::mnuVisaAskSkarm) && s.f.fonster.menyPa(Meny::mnuUtskrift));
        // The picker offers the competition's squads, the open one marked.
        QTimer::singleShot(0, [] {
            auto* valj = qobject_cast<frmValjSkjutlag*>(QApplication::activeModalWidget());
            if (!valj)
                return;
            QVERIFY(synlig(valj->Opt[3]) && !synlig(valj->Opt[4]));
            QVERIFY(!valj->Opt[1]->isChecked());
            QVERIFY(valj->Opt[2]->isChecked());
            valj->reject();
        });
        s.f.g.intValtSkjutlag = 2;
        frmValjSkjutlag valj(s.f.kontext, nullptr);
        QVERIFY(!valj.forstaGangen());
        QVERIFY(valj.exec() == QDialog::Rejected);
    }

    // The picker: odd squads above even ones, the time on focus and hover,
    // Enter and a double click choose.
    void valjare() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 4, 0);
        Skjuttider::skriv(s.f.g.cnnTavling, 3, QStringLiteral("Söndag 9.00"));
        frmValjSkjutlag valj(s.f.kontext, nullptr);
        QVERIFY(valj.forstaGangen());
        QVERIFY(aktivera(&valj));
        QCOMPARE(valj.Opt[1]->isChecked(), true);
        QVERIFY(valj.Opt[1]->y() < valj.Opt[2]->y() && valj.Opt[1]->x() == valj.Opt[2]->x());
        QVERIFY(valj.Opt[3]->x() > valj.Opt[1]->x() && valj.Opt[3]->y() == valj.Opt[1]->y());
        QVERIFY(valj.lblSkjuttidVarde->text().isEmpty());
        QCOMPARE(fokus(), valj.Opt[1]);
        QTest::keyClick(fokus(), Qt::Key_Right);
        QCOMPARE(fokus(), valj.Opt[3]);
        QVERIFY(valj.Opt[3]->isChecked());
        QCOMPARE(valj.lblSkjuttidVarde->text(), QStringLiteral("Söndag 9.00"));
        pekaPa(valj.Opt[2]);
        QVERIFY(valj.lblSkjuttidVarde->text().isEmpty());
        pekaPa(valj.frameSkjutlag);
        QCOMPARE(valj.lblSkjuttidVarde->text(), QStringLiteral("Söndag 9.00"));
        QTest::keyClick(fokus(), Qt::Key_A);
        QVERIFY(valj.isVisible());
        QTest::keyClick(fokus(), Qt::Key_Return);
        QVERIFY(!valj.isVisible());
        QCOMPARE(valj.result(), int(QDialog::Accepted));
        QCOMPARE(valj.valtSkjutlag(), 3);
        frmValjSkjutlag igen(s.f.kontext, nullptr);
        QVERIFY(aktivera(&igen));
        QTest::mouseDClick(igen.Opt[4], Qt::LeftButton);
        QCOMPARE(igen.result(), int(QDialog::Accepted));
        QCOMPARE(igen.valtSkjutlag(), 4);
    }

    // The display: a squad opened while it shows none goes out at once; a
    // switch while it shows another squad asks first, and No leaves it; a
    // typed series goes out a while after it is stored, or at once when the
    // window closes before that.
    void askadarskarmen() {
        Flodesmiljo m(TcpPeer::Granser(), NyTavling::Typ::Sportskytte, 2, 3);
        m.skytt(1, 1, QStringLiteral("Anna"), QStringLiteral("Ek"), QStringLiteral("SK"),
                QStringLiteral("H"));
        m.skytt(2, 1, QStringLiteral("Bo"), QStringLiteral("Al"), QStringLiteral("SK"), QStringLiteral("H"));
        std::unique_ptr<Askadare> a = m.anslut();
        QVERIFY(a);
        m.g.intValtSkjutlag = 1;
        m.flode->begarOmritning(true);
        QPointer<F> w = new F(m.kontext, *m.flode, 200);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->Oppna_databaser_mm(1);
        w->txtVisible();
        QVERIFY(aktivera(w));
        m.kontext.meddelaAktivering(w);
        QVERIFY(a->vantaPaMeddelanden(1));
        QCOMPARE(m.g.intSkjutlagPaSkarm, 1);
        QCOMPARE(a->omritningar(), QByteArray("1"));
        QCOMPARE(m.fragor.stallda, 0);

        // A typed series: nothing at once, the squad a moment later.
        skriv(QStringLiteral("4"));
        tryck(Qt::Key_Tab);
        QCOMPARE(a->meddelanden().size(), 1);
        QVERIFY(w->askadaruppdatering().vantar());
        QVERIFY(a->vantaPaMeddelanden(2));
        QVERIFY(a->meddelanden().back().contains("|4|"));
        QVERIFY(!w->askadaruppdatering().vantar());

        // Switching: the screen shows squad 1, so the operator is asked.
        m.fragor.vidFraga = [&] { m.fragor.svaraOppen(Svar::Nej); };
        byt(w, 2);
        QCOMPARE(m.fragor.stallda, 1);
        QCOMPARE(
            m.fragor.visade.back().text,
            QStringLiteral("Vill du byta till det här skjutlaget på åskådarskärmen?\r\nAktuellt skjutlag på "
                           "den är för närvarande: 1"));
        QCOMPARE(m.g.intSkjutlagPaSkarm, 1);
        QCOMPARE(w->rad(0).txtNamn->text(), QStringLiteral("Bo Al"));
        // Back to the squad on screen: sent without a question.
        byt(w, 1);
        QCOMPARE(m.fragor.stallda, 1);
        QVERIFY(a->vantaPaMeddelanden(3));
        m.fragor.vidFraga = [&] { m.fragor.svaraOppen(Svar::Ja); };
        byt(w, 2);
        QCOMPARE(m.fragor.stallda, 2);
        QVERIFY(a->vantaPaMeddelanden(4));
        QCOMPARE(m.g.intSkjutlagPaSkarm, 2);
        QCOMPARE(a->omritningar(), QByteArray("1000"));

        // A change still waiting goes out as the window closes.
        w->txtSer(1, 0)->setFocus();
        skriv(QStringLiteral("7"));
        tryck(Qt::Key_Tab);
        QVERIFY(w->askadaruppdatering().vantar());
        QVERIFY(w->close());
        QVERIFY(a->vantaPaMeddelanden(5));
        QVERIFY(a->meddelanden().back().contains("|7|"));
    }

    // The count button: counts typed by hand switch the panels to hand entry.
    void antalDialogen() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 1, 2);
        F* w = s.oppna(1);
        QString bana;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<frm1098*>(QApplication::activeModalWidget());
            if (!d)
                return;
            bana = d->lblBana()->text();
            d->txtAntal(10)->setText(QStringLiteral("2"));
            d->txtAntal(9)->setText(QStringLiteral("7"));
            QTest::mouseClick(d->cmdOK(), Qt::LeftButton);
        });
        QTest::mouseClick(w->rad(1).cmd1098, Qt::LeftButton);
        QCOMPARE(bana, QStringLiteral("Bana 2"));
        QCOMPARE(s.lagrat(1, 2, QStringLiteral("TioNior")).toString(), QStringLiteral("2,7,0,0,0,0,0,0,0,0"));
        QCOMPARE(w->panel(F::PanelAuto1098), QStringLiteral("Man 10,9,8.."));
        QCOMPARE(w->panel(F::PanelAuto10), QStringLiteral("Manuella 10'"));
    }

    // Machine mode: the fields are not typed into; a digit opens the series
    // shot by shot, Enter marks the series for the machine, a letter is dropped.
    // (Reading cards is tested end to end in test_maskininlasning.)
    void tolkmaskinslage() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 1, 2);
        s.f.g.blnTolkmaskinGrundomg = true;
        QVERIFY(s.f.g.iniProgram.WriteKey(QStringLiteral("Serieportar"), QStringLiteral("COM1"),
                                          s.f.tavlingsmapp() + QStringLiteral("/ingen-port")));
        F* w = s.oppna(1);
        QCOMPARE(w->panel(F::PanelStatusTolkmaskin), F::TolkmaskinVilar);
        QString sfs;
        QTimer::singleShot(0, [&] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                sfs = d->windowTitle();
                d->reject();
            }
        });
        w->txtSer(3, 1)->setFocus();
        skriv(QStringLiteral("7"));
        QCOMPARE(sfs, QStringLiteral("5 Skott"));
        QVERIFY(aktivera(w));
        QCOMPARE(w->txtSer(3, 1)->text(), QStringLiteral("0"));
        skriv(QStringLiteral("x"));
        QCOMPARE(w->txtSer(3, 1)->text(), QStringLiteral("0"));
        w->txtSer(5, 0)->setFocus();
        tryck(Qt::Key_Return);
        QCOMPARE(fokus(), w->txtSer(5, 0));
        QVERIFY(w->blnSerieMarkerad);
        QCOMPARE(w->intMarkeradRad, 0);
        QCOMPARE(w->intMarkeradSerie, 5);
        // The port it names is not there.
        QCOMPARE(
            s.f.m.senasteText(),
            QStringLiteral("Du har valt en Com port som inte finns!\rÄndra Com port i inställningarna."));
        QVERIFY(!w->tolklank()->lasningPagar());
        // Delete clears the series' shot string at once.
        s.satt(1, 1, QStringLiteral("SfST5"), QStringLiteral("98*++"));
        tryck(Qt::Key_Delete);
        QCOMPARE(s.lagrat(1, 1, QStringLiteral("SfST5")).toString(), QStringLiteral("00000"));
        QVERIFY(!s.f.g.blnEjAuto1098);
    }
};

QTEST_MAIN(T_frmresultatinskrivning)
#include "test_frmresultatinskrivning.moc"
