#include "Tangentbord.h"
#include "common/IniNamn.h"
#include "competition/Skjuttider.h"
#include "entry/Banrader.h"
#include "entry/Registrering.h"
#include "entry/frm1098.h"
#include "entry/frmResultatInskrivning.h"
#include "entry/frmValjSkjutlag.h"
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
using namespace Qt::StringLiterals;
using Svar = Meddelanden::Svar;

namespace {

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

// Result entry opened as the picker opens it, with a short wait before the
// display is told.
F* oppnaFonster(Testfixtur& f, Askadarflode& flode, int skjutlag, int intervall) {
    auto* w = new F(f.kontext, flode, intervall);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->Oppna_databaser_mm(skjutlag);
    w->txtVisible();
    if (!aktivera(w))
        qWarning("the window did not become active");
    f.kontext.meddelaAktivering(w);
    return w;
}

// A competition with result entry open on one of its squads. The spectator feed
// is there but nothing listens, unless the test starts it.
struct Inskrivning {
    Testfixtur f;
    Askadarflode flode{f.g, f.m, Testfixtur::ledigPort(), Loopback};
    QPointer<F> w;

    Inskrivning(NyTavling::Typ typ, int banor, int skjutlag, int skyttar) {
        f.skapaTavling(u"Cup"_s, typ, banor, skjutlag, skyttar);
    }
    ~Inskrivning() { delete w; }

    F* oppna(int skjutlag) { return w = oppnaFonster(f, flode, skjutlag, 100); }
    qint64 lopnummer(int skjutlag, int bana) {
        return f.g.cnnTavling
            .varde(u"SELECT Startnummer FROM Skjutlag WHERE Skjutlag = ? AND Bana = ?"_s, {skjutlag, bana})
            .toLongLong();
    }
    void satt(int skjutlag, int bana, const QString& falt, const QVariant& varde) {
        f.g.cnnTavling.kor(u"UPDATE Skyttar SET %1 = ? WHERE Löpnummer = ?"_s.arg(falt),
                           {varde, lopnummer(skjutlag, bana)});
    }
    QVariant lagrat(int skjutlag, int bana, const QString& falt) {
        return f.g.cnnTavling.varde(u"SELECT %1 FROM Skyttar WHERE Löpnummer = ?"_s.arg(falt),
                                    {lopnummer(skjutlag, bana)});
    }
    int res(int skjutlag, int bana, int serie) {
        return lagrat(skjutlag, bana, u"Res%1"_s.arg(serie)).toInt();
    }
    // A lane left free: its row points at the placeholder shooter.
    void ledig(int skjutlag, int bana) {
        f.g.cnnTavling.kor(u"UPDATE Skjutlag SET Startnummer = 1 WHERE Skjutlag = ? AND Bana = ?"_s,
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

// A key pressed; whether the focus went to till.
bool tryckTill(Qt::Key tangent, const QWidget* till) {
    tryck(tangent);
    return fokus() == till;
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

// What row r shows: how many series and pair sums, and which totals.
QString visas(F* w, int r) {
    int serier = 0, par = 0;
    for (int n = 1; n <= 12; ++n)
        serier += synlig(w->txtSer(n, r));
    for (const QLineEdit* p : w->rad(r).txtSum)
        par += synlig(p);
    return u"%1 %2%3%4"_s.arg(serier)
        .arg(par)
        .arg(synlig(w->rad(r).txtRes40) ? u" 40"_s : QString())
        .arg(synlig(w->rad(r).txtRes60) ? u" 60"_s : QString());
}

// The status-bar panels: squad, lane, class, club, counts, inner tens, machine.
QString paneler(const F* w) {
    QStringList t;
    for (const QString& p : {F::PanelSkjutlag, F::PanelBana, F::PanelKlass, F::PanelForening,
                             F::PanelAuto1098, F::PanelAuto10, F::PanelStatusTolkmaskin})
        t << w->panel(p);
    return t.join(u'|');
}

// Row r's pair sums, then its 40- and 60-shot totals, as shown.
QString summor(F* w, int r) {
    QStringList t;
    for (const QLineEdit* p : w->rad(r).txtSum)
        t << p->text();
    return t.join(u' ') + u" / "_s + w->rad(r).txtRes40->text() + u' ' + w->rad(r).txtRes60->text();
}

// The back colours of row r's series 1 to 12: F window, G green, R red.
QString farger(F* w, int r) {
    QString t;
    for (int n = 1; n <= 12; ++n) {
        const QColor c = w->txtSer(n, r)->palette().color(QPalette::Base);
        t += c == Ljusrod ? u'R' : c == Ljusgron ? u'G' : u'F';
    }
    return t;
}

// Where the focus is among the rows: "ser10/998" (series 10 of row 998),
// "sär/3", "antal/12"; "" outside them.
QString fokusPlats(const F* w) {
    const std::optional<Banrader::Plats> p = w->banrader()->plats(fokus());
    if (!p)
        return QString();
    const QString slag = p->slag == Banrader::Slag::Serie          ? u"ser%1"_s.arg(p->serie)
                         : p->slag == Banrader::Slag::Sarskjutning ? u"sär"_s
                                                                   : u"antal"_s;
    return slag + u'/' + QString::number(p->rad);
}

// Rows that have their widgets, each in its own container.
qsizetype byggdaRader(const F* w) {
    return w->banrader()->findChildren<QWidget*>(u"picRad"_s).size();
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
        Skjuttider::skriv(s.f.g.cnnTavling, 2, u"Lördag 10.00"_s);
        s.ledig(2, 3);
        s.satt(2, 5, u"Res1"_s, 47);
        s.satt(2, 5, u"Res2"_s, 50);
        s.satt(2, 5, u"Särskjutning"_s, 9.5);
        F* w = s.oppna(2);
        QCOMPARE(w->windowTitle(), u"Resultatinskrivning Skjutlag 2 Lördag 10.00"_s);
        QCOMPARE(w->intAntalRader(), 11);
        QCOMPARE(w->rad(2).txtBana->text(), u"4"_s);
        QCOMPARE(w->rad(3).txtNamn->text(), u"Skytt17 Efternamn17"_s);
        QCOMPARE(w->txtSer(1, 3)->text(), u"47"_s);
        QCOMPARE(summor(w, 3), u"97 0 0 0 0 0 / 97 97"_s);
        QCOMPARE(w->rad(3).txtSarskjutning->text(), u"9,5"_s);
        QCOMPARE(w->txtSer(2, 3)->palette().color(QPalette::Text), Rod);
        QVERIFY(w->txtSer(1, 3)->palette().color(QPalette::Text) != Rod);
        QCOMPARE(paneler(w), u"Skjutlag 2|Bana 1|H|Klubb 1|Auto 10,9,8..|Auto 10'|"_s);
        QCOMPARE(w->banrader()->lblSumma->text(), u"40 / 60 skott"_s);
        QVERIFY(synlig(w->banrader()->Label[12]));
        QVERIFY(w->banrader()->innehallSynligt());
        QCOMPARE(fokus(), w->txtSer(1, 0));
        QCOMPARE(w->banrader()->VScrollInnehall->maximum(), 0);
        QVERIFY(s.f.g.blnResultatInskrivningOppen);
        QVERIFY(s.f.m.visade.isEmpty());

        // Twelve rows: the area grows by one row and scrolls by it; Down from
        // the last visible row brings the twelfth into view.
        byt(w, 1);
        QCOMPARE(w->intAntalRader(), 12);
        QCOMPARE(w->banrader()->innehallHojd(), 6045 + 550);
        QCOMPARE(w->banrader()->VScrollInnehall->maximum(), 550);
        QCOMPARE(w->windowTitle(), u"Resultatinskrivning Skjutlag 1 "_s);
        w->txtSer(1, 10)->setFocus();
        QVERIFY(tryckTill(Qt::Key_Down, w->txtSer(1, 11)));
        QCOMPARE(w->banrader()->VScrollInnehall->value(), 550);
        QCOMPARE(w->banrader()->innehallTopp(), -550);
        QVERIFY(tryckTill(Qt::Key_Down, w->txtSer(1, 0)));
        QCOMPARE(w->banrader()->VScrollInnehall->value(), 0);

        byt(w, 3);
        QCOMPARE(w->intAntalRader(), 0);
        QCOMPARE(w->windowTitle(), u"Resultatinskrivning Skjutlag 3 "_s);
        QVERIFY(paneler(w).startsWith(u"Skjutlag 3|"_s));
        QCOMPARE(w->banrader()->innehallHojd(), 6045);
        for (int i = 0; i < w->banrader()->byggda(); ++i)
            QVERIFY(!synlig(w->rad(i).txtBana) && !synlig(w->txtSer(1, i)) && !synlig(w->rad(i).cmd1098));
        QCOMPARE(s.f.g.intValtSkjutlag, 3);
    }

    // A squad of 999 lanes opens with widgets for the rows in view only. The
    // other rows come as the view or the keyboard reaches them, each painted
    // from its data when it comes: Up from the first row to the last in
    // series 9 to 12, Down to the row below the view, Tab and Shift+Tab to a
    // row not built yet, the scroll bar. A series typed in the last row is
    // stored; a lane out of view whose class is missing is told as the squad
    // opens, and not again when its row comes. Switching squads keeps the
    // rows built and paints them for the next squad.
    void storSkjutlag() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 999, 2, 1100);
        s.satt(1, 500, u"Klass"_s, u"D"_s);
        s.satt(1, 700, u"Klass"_s, u"X"_s);
        s.satt(1, 999, u"Res10"_s, 41);
        F* w = s.oppna(1);
        QCOMPARE(w->intAntalRader(), 999);
        QCOMPARE(s.f.m.visade.size(), 1);
        QVERIFY(s.f.m.visade[0].text.startsWith(u"Klassen för skytten på bana 700 finns inte."_s));
        QVERIFY(w->findChildren<QLineEdit*>().size() <= 11 * 23 + 2);
        QCOMPARE(byggdaRader(w), 11);
        QCOMPARE(w->banrader()->innehallHojd(), 6045 + 988 * 550);
        QCOMPARE(fokusPlats(w), u"ser1/0"_s);
        // Repainting a row that is not there builds nothing.
        w->intAktuellRad = 600;
        w->Rakna();
        w->txtRes60_visible(600);
        w->txtVisible();
        s.f.kontext.meddelaAktivering(w);
        QCOMPARE(byggdaRader(w), 11);

        // Up from the first row goes round to the last, with the view at the
        // bottom: the rows there are built, the last painted as stored.
        w->txtSer(10, 0)->setFocus();
        tryck(Qt::Key_Up);
        QCOMPARE(fokusPlats(w), u"ser10/998"_s);
        QScrollBar* v = w->banrader()->VScrollInnehall;
        QCOMPARE(v->value(), v->maximum());
        QCOMPARE(byggdaRader(w), 22);
        QCOMPARE(w->rad(998).txtBana->text(), u"999"_s);
        QCOMPARE(w->rad(998).txtNamn->text(), u"Skytt999 Efternamn999"_s);
        QCOMPARE(summor(w, 998), u"0 0 0 0 41 0 / 0 41"_s);
        QCOMPARE(w->panel(F::PanelBana), u"Bana 999"_s);
        skriv(u"47"_s);
        QCOMPARE(fokusPlats(w), u"ser11/998"_s);
        QCOMPARE(s.res(1, 999, 10), 47);
        QCOMPARE(summor(w, 998), u"0 0 0 0 47 0 / 0 47"_s);
        QVERIFY(tryckTill(Qt::Key_Down, w->txtSer(11, 0)));
        QCOMPARE(v->value(), 0);

        // Down from the last row in view builds the next and scrolls to it;
        // Tab from its count button builds the one after.
        w->txtSer(3, 10)->setFocus();
        tryck(Qt::Key_Down);
        QCOMPARE(fokusPlats(w), u"ser3/11"_s);
        QCOMPARE(v->value(), 550);
        QCOMPARE(byggdaRader(w), 23);
        w->rad(11).cmd1098->setFocus();
        tryck(Qt::Key_Tab);
        QCOMPARE(fokusPlats(w), u"ser1/12"_s);
        QCOMPARE(w->rad(12).txtBana->text(), u"13"_s);
        skriv(u"9"_s);
        tryck(Qt::Key_Tab);
        QCOMPARE(fokusPlats(w), u"ser2/12"_s);
        QCOMPARE(s.res(1, 13, 1), 9);

        // The scroll bar brings the middle of the squad: lane 500 shoots 40
        // shots. Shift+Tab from its first series goes back to the count
        // button of the row above, built now, and Tab forward again.
        v->setValue(499 * 550);
        QCOMPARE(byggdaRader(w), 35);
        QCOMPARE(farger(w, 499), u"FFFFFFFFRRRR"_s);
        QCOMPARE(visas(w, 499), u"12 6 40"_s);
        w->txtSer(1, 499)->setFocus();
        QTest::keyClick(fokus(), Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(fokusPlats(w), u"antal/498"_s);
        QCOMPARE(byggdaRader(w), 36);
        QCOMPARE(w->rad(498).txtBana->text(), u"499"_s);
        tryck(Qt::Key_Tab);
        QCOMPARE(fokusPlats(w), u"ser1/499"_s);
        QVERIFY(tryckTill(Qt::Key_Up, w->rad(498).txtSer[0]));

        // The lane whose class is missing shows every series as its own, and
        // is not told again.
        v->setValue(699 * 550);
        QCOMPARE(farger(w, 699), u"FFFFFFFFFFFF"_s);
        QCOMPARE(visas(w, 699), u"12 6 40 60"_s);
        QCOMPARE(s.f.m.visade.size(), 1);
        // A series being typed in a row scrolled out of view is stored as the
        // squad is switched. The next squad, of 101 lanes, opens at its top;
        // the rows kept from the first squad are painted for it as they come
        // into view, those beyond its lanes stay hidden.
        w->txtSer(5, 699)->setFocus();
        skriv(u"3"_s);
        v->setValue(0);
        byt(w, 2);
        QCOMPARE(s.res(1, 700, 5), 3);
        QCOMPARE(w->intAntalRader(), 101);
        QCOMPARE(fokusPlats(w), u"ser1/0"_s);
        QCOMPARE(w->rad(0).txtNamn->text(), u"Skytt1000 Efternamn1000"_s);
        QVERIFY(!w->banrader()->radOmKlar(12));
        v->setValue(2 * 550);
        QVERIFY(w->banrader()->radOmKlar(12));
        QCOMPARE(w->banrader()->radOmKlar(12)->txtNamn->text(), u"Skytt1012 Efternamn1012"_s);
        QCOMPARE(visas(w, 12), u"12 6 60"_s);
        QVERIFY(w->rad(499).picRad->isHidden() && w->rad(499).txtBana->isHidden());
        tryck(Qt::Key_Up);
        QCOMPARE(fokusPlats(w), u"ser1/100"_s);
        QCOMPARE(w->rad(100).txtBana->text(), u"101"_s);
        QCOMPARE(w->rad(100).txtNamn->text(), u"Skytt1100 Efternamn1100"_s);
        QVERIFY(w->close());
    }

    // Which fields a row shows and how its series are coloured, by the class
    // (found whatever its letter case) and the kind of competition; a class
    // that is gone is told once and hides nothing.
    void synlighetPerKlass() {
        {
            Inskrivning s(NyTavling::Typ::Sportskytte, 4, 1, 4);
            s.satt(1, 2, u"Klass"_s, u"D"_s);
            s.satt(1, 3, u"Klass"_s, u"d"_s);
            s.satt(1, 3, u"Lagserier"_s, 12);
            s.satt(1, 4, u"Klass"_s, u"X'1"_s);
            F* w = s.oppna(1);
            QCOMPARE(w->intAntalRader(), 4);
            QCOMPARE(visas(w, 0), u"12 6 60"_s); // 60 shots
            QCOMPARE(farger(w, 0), u"FFFFFFFFFFFF"_s);
            QCOMPARE(visas(w, 1), u"12 6 40"_s); // 40 shots
            QCOMPARE(farger(w, 1), u"FFFFFFFFRRRR"_s);
            QCOMPARE(visas(w, 2), u"12 6 40 60"_s); // 40 shots and a team of 60
            QCOMPARE(farger(w, 2), u"FFFFFFFFGGGG"_s);
            QCOMPARE(visas(w, 3), u"12 6 40 60"_s); // no such class
            QCOMPARE(farger(w, 3), u"FFFFFFFFFFFF"_s);
            QCOMPARE(s.f.m.visade.size(), 1);
            QCOMPARE(
                s.f.m.visade[0].text,
                u"Klassen för skytten på bana 4 finns inte.\r\nKolla så att du inte ändrat namnet på klassen!"_s);
            QCOMPARE(s.f.m.visade[0].titel, u"Ingen klass."_s);
            s.f.kontext.meddelaAktivering(w);
            QCOMPARE(s.f.m.visade.size(), 1);

            // A value typed into a red series brings the 60-shot total back.
            w->txtSer(10, 1)->setFocus();
            skriv(u"3"_s);
            tryck(Qt::Key_Tab);
            QCOMPARE(s.res(1, 2, 10), 3);
            QCOMPARE(visas(w, 1), u"12 6 40 60"_s);
            QCOMPARE(w->rad(1).txtRes60->text(), u"3"_s);
        }
        {
            // National: series 1 to 8 only, their headers and "40 skott".
            Inskrivning s(NyTavling::Typ::Nationellt, 3, 1, 2);
            F* w = s.oppna(1);
            QCOMPARE(visas(w, 0), u"8 4 40"_s);
            QCOMPARE(visas(w, 1), u"8 4 40"_s);
            QVERIFY(synlig(w->rad(0).txtSarskjutning) && synlig(w->rad(0).cmd1098));
            QVERIFY(synlig(w->banrader()->Label[8]) && !synlig(w->banrader()->Label[9]) &&
                    !synlig(w->banrader()->Label[12]));
            QCOMPARE(w->banrader()->lblSumma->text(), u"40 skott"_s);
        }
    }

    // A whole row from the keyboard: two digits move on by themselves, each
    // series is stored as it is left, the sums and totals follow, full marks
    // are red. A series over 50 is refused with its message and the field has
    // the focus back with nought, which is stored. The release of a key
    // pressed in the previous field moves nothing.
    void helRadFranTangentbordet() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 1, 2);
        s.satt(1, 1, u"Res1"_s, 40);
        F* w = s.oppna(1);
        QCOMPARE(fokus(), w->txtSer(1, 0));
        skriv(u"51"_s);
        QCOMPARE(s.f.m.visade.size(), 1);
        QCOMPARE(s.f.m.senasteText(), u"Du får inte skriva in resultat högre än 50 poäng!"_s);
        QCOMPARE(s.f.m.visade.back().titel, u"Fel"_s);
        QCOMPARE(s.f.m.visade.back().ikon, Meddelanden::Ikon::Kritisk);
        QCOMPARE(fokus(), w->txtSer(1, 0));
        QCOMPARE(w->txtSer(1, 0)->text(), u"0"_s);
        QCOMPARE(s.res(1, 1, 1), 0);

        const QStringList serier = u"47 50 48 49 45 46 44 43 50 50 41 42"_s.split(u' ');
        for (int n = 1; n <= 12; ++n) {
            QCOMPARE(fokus(), w->txtSer(n, 0));
            skriv(serier[n - 1]);
        }
        // Series 12 goes round to series 1 of the same row, storing as it leaves.
        QCOMPARE(fokus(), w->txtSer(1, 0));
        for (int n = 1; n <= 12; ++n)
            QCOMPARE(s.res(1, 1, n), serier[n - 1].toInt());
        QCOMPARE(s.lagrat(1, 1, u"Sum50 || '|' || Totalt40 || '|' || Totalt60"_s).toString(),
                 u"100|372|555"_s);
        QCOMPARE(summor(w, 0), u"97 97 91 87 100 83 / 372 555"_s);
        QCOMPARE(w->rad(0).txtSum[4]->palette().color(QPalette::Text), Rod);
        QVERIFY(w->rad(0).txtSum[0]->palette().color(QPalette::Text) != Rod);
        QCOMPARE(w->txtSer(2, 0)->palette().color(QPalette::Text), Rod);
        QCOMPARE(s.f.m.visade.size(), 1);
        // A typed series switches the counts to hand entry, on screen and in the file.
        QVERIFY(paneler(w).endsWith(u"|Man 10,9,8..|Manuella 10'|"_s));
        QVERIFY(s.f.g.blnEjAuto1098);

        // The field entered has its text selected: one digit replaces it and
        // stays; Enter moves on as two digits would, and stores.
        QCOMPARE(w->txtSer(1, 0)->selectedText(), u"47"_s);
        skriv(u"5"_s);
        QCOMPARE(fokus(), w->txtSer(1, 0));
        QCOMPARE(w->txtSer(1, 0)->text(), u"5"_s);
        QVERIFY(tryckTill(Qt::Key_Return, w->txtSer(2, 0)));
        QCOMPARE(s.res(1, 1, 1), 5);
        QTest::keyRelease(fokus(), Qt::Key_7);
        QCOMPARE(fokus(), w->txtSer(2, 0));
        // Visiting a field without typing stores nothing: the stored value
        // changed meanwhile stays. An emptied field is nought, stored.
        s.satt(1, 1, u"Res2"_s, 33);
        tryck(Qt::Key_Return);
        QCOMPARE(s.res(1, 1, 2), 33);
        tryck(Qt::Key_Backspace);
        QVERIFY(tryckTill(Qt::Key_Tab, w->txtSer(4, 0)));
        QCOMPARE(w->txtSer(3, 0)->text(), u"0"_s);
        QCOMPARE(s.res(1, 1, 3), 0);

        // Arrows go round the row.
        w->txtSer(1, 1)->setFocus();
        QVERIFY(tryckTill(Qt::Key_Left, w->txtSer(12, 1)));
        QVERIFY(tryckTill(Qt::Key_Right, w->txtSer(1, 1)));
        w->txtSer(8, 1)->setFocus();
        QVERIFY(tryckTill(Qt::Key_Right, w->txtSer(9, 1)));
        QCOMPARE(w->panel(F::PanelBana), u"Bana 2"_s);
    }

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
        tangent(u"4748"_s);
        QCOMPARE(w->focusWidget(), w->txtSer(3, 0));
        QCOMPARE(s.res(1, 1, 1), 47);
        // A field is left when the keys go on elsewhere.
        tangent(u"51"_s);
        QCOMPARE(s.res(1, 1, 2), 48);
        QCOMPARE(summor(w, 0), u"95 0 0 0 0 0 / 95 95"_s);
        QCOMPARE(w->focusWidget(), w->txtSer(4, 0));
        // A refused value takes the keys back to its field; the key is dropped.
        tangent(u"4"_s);
        QCOMPARE(s.f.m.senasteText(), u"Du får inte skriva in resultat högre än 50 poäng!"_s);
        QCOMPARE(w->focusWidget(), w->txtSer(3, 0));
        QCOMPARE(w->txtSer(3, 0)->text(), u"0"_s);
        QCOMPARE(w->txtSer(4, 0)->text(), u"0"_s);
    }

    // In a mixed competition each row shows what its class's kind shows. Up
    // and Down keep the series and go round the squad; in series 9 to 12 they
    // pass over rows that do not show them (national rows), never over a
    // sport row of fewer shots, and where only one row shows the field the
    // focus stays. Enter and the move after two digits leave series 8 of a
    // national row for series 1, of a sport row of 40 shots for series 9.
    void uppOchNer() {
        {
            Inskrivning s(NyTavling::Typ::Mix, 5, 1, 4);
            s.satt(1, 2, u"Klass"_s, u"LG1"_s);
            s.satt(1, 3, u"Klass"_s, u"LG2"_s);
            s.satt(1, 4, u"Klass"_s, u"D"_s);
            F* w = s.oppna(1);
            QCOMPARE(visas(w, 0), u"12 6 60"_s);
            QCOMPARE(visas(w, 1), u"8 4 40"_s);
            QCOMPARE(visas(w, 3), u"12 6 40"_s);
            w->txtSer(10, 0)->setFocus();
            QVERIFY(tryckTill(Qt::Key_Down, w->txtSer(10, 3)));
            QVERIFY(tryckTill(Qt::Key_Down, w->txtSer(10, 0)));
            QVERIFY(tryckTill(Qt::Key_Up, w->txtSer(10, 3)));
            QVERIFY(tryckTill(Qt::Key_Up, w->txtSer(10, 0)));
            w->txtSer(3, 0)->setFocus();
            QVERIFY(tryckTill(Qt::Key_Up, w->txtSer(3, 3)));
            QVERIFY(tryckTill(Qt::Key_Up, w->txtSer(3, 2)));
            w->txtSer(8, 1)->setFocus();
            QVERIFY(tryckTill(Qt::Key_Return, w->txtSer(1, 1)));
            w->txtSer(8, 1)->setFocus();
            skriv(u"40"_s);
            QCOMPARE(fokus(), w->txtSer(1, 1));
            QVERIFY(tryckTill(Qt::Key_Left, w->txtSer(8, 1)));
            w->txtSer(8, 3)->setFocus();
            skriv(u"40"_s);
            QCOMPARE(fokus(), w->txtSer(9, 3));
        }
        Inskrivning s(NyTavling::Typ::Mix, 3, 1, 2);
        s.satt(1, 2, u"Klass"_s, u"LG1"_s);
        F* w = s.oppna(1);
        w->txtSer(11, 0)->setFocus();
        QVERIFY(tryckTill(Qt::Key_Down, w->txtSer(11, 0)));
        QVERIFY(tryckTill(Qt::Key_Up, w->txtSer(11, 0)));
    }

    // Keys a series takes: digits and Backspace; everything else is dropped
    // (with a beep), typed or pasted. The shoot-off value takes one comma. Up
    // and Down go round the rows in the shoot-off column and on the count
    // buttons; a count button opens the counts of its row, and counts typed by
    // hand switch the panels to hand entry.
    void nekadeTangenterOchRadensSlut() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 1, 2);
        F* w = s.oppna(1);
        QLineEdit* ser = w->txtSer(4, 0);
        ser->setFocus();
        for (const char c : {'a', '*', '+', ',', '.', ' '})
            QTest::keyClick(ser, c);
        QCOMPARE(ser->text(), u"0"_s);
        QGuiApplication::clipboard()->setText(u"4a"_s);
        QTest::keySequence(ser, QKeySequence::Paste);
        QCOMPARE(ser->text(), u"0"_s);
        QCOMPARE(fokus(), ser);
        QGuiApplication::clipboard()->setText(u"45"_s);
        QTest::keySequence(ser, QKeySequence::Paste);
        QCOMPARE(ser->text(), u"45"_s);
        tryck(Qt::Key_Tab);
        QCOMPARE(s.res(1, 1, 4), 45);

        QLineEdit* sar = w->rad(0).txtSarskjutning;
        sar->setFocus();
        QCOMPARE(w->banrader()->HScrollInnehall->value(), Banrader::HScrollMax);
        skriv(u"9.,5,"_s);
        QCOMPARE(sar->text(), u"9,5"_s);
        QVERIFY(tryckTill(Qt::Key_Return, w->txtSer(1, 0)));
        QCOMPARE(w->banrader()->HScrollInnehall->value(), 0);
        QCOMPARE(s.lagrat(1, 1, u"Särskjutning"_s).toDouble(), 9.5);
        // An emptied shoot-off value is nought.
        sar->setFocus();
        tryck(Qt::Key_Backspace);
        tryck(Qt::Key_Return);
        QCOMPARE(sar->text(), u"0"_s);
        QCOMPARE(s.lagrat(1, 1, u"Särskjutning"_s).toDouble(), 0.0);
        const int sista = w->intAntalRader() - 1;
        sar->setFocus();
        QVERIFY(tryckTill(Qt::Key_Up, w->rad(sista).txtSarskjutning));
        QVERIFY(tryckTill(Qt::Key_Down, sar));
        w->rad(sista).cmd1098->setFocus();
        QVERIFY(tryckTill(Qt::Key_Down, w->rad(0).cmd1098));
        QVERIFY(tryckTill(Qt::Key_Up, w->rad(sista).cmd1098));
        QVERIFY(s.f.m.visade.isEmpty());

        QString bana;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<frm1098*>(QApplication::activeModalWidget());
            if (!d)
                return;
            bana = d->lblBana()->text();
            d->txtAntal(10)->setText(u"2"_s);
            d->txtAntal(9)->setText(u"7"_s);
            QTest::mouseClick(d->cmdOK(), Qt::LeftButton);
        });
        QTest::mouseClick(w->rad(1).cmd1098, Qt::LeftButton);
        QCOMPARE(bana, u"Bana 2"_s);
        QCOMPARE(s.lagrat(1, 2, u"TioNior"_s).toString(), u"2,7,0,0,0,0,0,0,0,0"_s);
        QVERIFY(paneler(w).endsWith(u"|Man 10,9,8..|Manuella 10'|"_s));
    }

    // A save the database refuses is told as number and description run
    // together, without icon, under the program's title; the field shows the
    // stored value again and has the focus.
    void misslyckadSparning() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 1, 2);
        s.satt(1, 1, u"Res2"_s, 41);
        F* w = s.oppna(1);
        s.f.g.cnnTavling.kor(
            u"CREATE TRIGGER nej BEFORE UPDATE ON Skyttar BEGIN SELECT RAISE(ABORT, 'nej'); END"_s);
        w->txtSer(2, 0)->setFocus();
        skriv(u"45"_s);
        QCOMPARE(s.f.m.visade.size(), 1);
        QVERIFY(QRegularExpression(u"^\\d+\\S"_s).match(s.f.m.senasteText()).hasMatch());
        QVERIFY(s.f.m.visade.back().titel.isEmpty());
        QCOMPARE(s.f.m.visade.back().ikon, Meddelanden::Ikon::Ingen);
        QCOMPARE(fokus(), w->txtSer(2, 0));
        QCOMPARE(w->txtSer(2, 0)->text(), u"41"_s);
        QCOMPARE(summor(w, 0), u"41 0 0 0 0 0 / 41 41"_s);
        QCOMPARE(s.res(1, 1, 2), 41);
        // Nothing is left to store: the window closes.
        QVERIFY(w->close());
        QCOMPARE(s.f.m.visade.size(), 1);
    }

    // A series being typed is never lost. Switching to the same squad changes
    // nothing; another one stores the series first and opens in place; a
    // cancelled picker leaves the squad. Whatever closes the window stores the
    // series first and writes the counts' state to the competition. A
    // shoot-off value that is no number keeps the window open.
    void bytOchStangningSparar() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 2, 6);
        QVERIFY(s.f.g.iniTavling.WriteKey(Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, u"x"_s));
        Resultatfonster::registrera({s.f.fonster, s.f.flode()});
        QPointer<QWidget> fonster =
            s.f.fonster.visaFonster(Fonsternamn::ResultatInskrivning, Skjutlagsbegaran{1});
        auto* w = qobject_cast<F*>(fonster.data());
        QVERIFY(w && aktivera(w));
        s.f.kontext.meddelaAktivering(w);
        w->txtSer(2, 0)->setFocus();
        skriv(u"3"_s);
        byt(w, 1);
        QCOMPARE(fokus(), w->txtSer(2, 0));
        QCOMPARE(w->txtSer(2, 0)->text(), u"3"_s);
        QCOMPARE(s.f.g.intValtSkjutlag, 1);
        QCOMPARE(w->rad(0).txtNamn->text(), u"Skytt1 Efternamn1"_s);
        byt(w, 2);
        QCOMPARE(s.res(1, 1, 2), 3);
        QCOMPARE(s.f.g.intValtSkjutlag, 2);
        QCOMPARE(w->rad(0).txtNamn->text(), u"Skytt4 Efternamn4"_s);
        QCOMPARE(w->txtSer(2, 0)->text(), u"0"_s);
        QCOMPARE(fokus(), w->txtSer(1, 0));
        QVERIFY(w->banrader()->innehallSynligt());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        byt(w, 0);
        QCOMPARE(s.f.g.intValtSkjutlag, 2);
        QCOMPARE(w->panel(F::PanelSkjutlag), u"Skjutlag 2"_s);

        w->txtSer(5, 1)->setFocus();
        skriv(u"4"_s);
        QVERIFY(s.f.fonster.stangFonster(w));
        QCOMPARE(s.res(2, 2, 5), 4);
        QVERIFY(!s.f.g.blnResultatInskrivningOppen);
        QCOMPARE(s.f.g.iniTavling.GetKeyValue(Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, {}), u"1"_s);
        QTRY_VERIFY(!fonster);

        F* v = s.oppna(1);
        v->rad(1).txtSarskjutning->setFocus();
        QGuiApplication::clipboard()->setText(u","_s);
        QTest::keySequence(fokus(), QKeySequence::Paste);
        QCOMPARE(v->rad(1).txtSarskjutning->text(), u","_s);
        QVERIFY(!v->close());
        QCOMPARE(s.f.m.visade.back().titel, u"Fel"_s);
        QCOMPARE(fokus(), v->rad(1).txtSarskjutning);
        QVERIFY(s.f.g.blnResultatInskrivningOppen);
        skriv(u"12,5"_s);
        v->txtSer(7, 0)->setFocus();
        QCOMPARE(s.lagrat(1, 2, u"Särskjutning"_s).toDouble(), 12.5);
        skriv(u"3"_s);
        QVERIFY(v->close());
        QCOMPARE(s.res(1, 1, 7), 3);
    }

    // The main menu: the picker's first use opens the window on the chosen
    // squad with the settings and entry menus off; closing gives back all but
    // the display's item, which comes back only with a display; a cancelled
    // picker opens nothing.
    void menyer() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 3, 6);
        Resultatfonster::registrera({s.f.fonster, s.f.flode()});
        const auto resultat = [&] {
            return s.f.fonster.visaDialog(Fonsternamn::ValjSkjutlag, Skjutlagsbegaran{0});
        };
        s.f.fonster.sattMeny(Meny::mnuUtskrift, true); // as an open competition has it
        svaraValj(0);
        QVERIFY(!resultat());
        QVERIFY(!s.f.fonster.fonster(Fonsternamn::ResultatInskrivning));
        QVERIFY(!s.f.g.blnResultatInskrivningOppen);
        QVERIFY(s.f.fonster.menyPa(Meny::mnuUtskrift));

        svaraValj(3);
        QVERIFY(resultat());
        QPointer<QWidget> w = s.f.fonster.fonster(Fonsternamn::ResultatInskrivning);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), u"Resultatinskrivning Skjutlag 3 "_s);
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
    }

    // The picker: the competition's squads, odd ones above even ones, the
    // open one marked; the time on focus and hover; Enter and a double click
    // choose.
    void valjare() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 4, 0);
        Skjuttider::skriv(s.f.g.cnnTavling, 3, u"Söndag 9.00"_s);
        frmValjSkjutlag valj(s.f.kontext, 0, nullptr);
        QVERIFY(valj.forstaGangen());
        QVERIFY(aktivera(&valj));
        QVERIFY(valj.Opt[1]->isChecked());
        QVERIFY(valj.Opt[1]->y() < valj.Opt[2]->y() && valj.Opt[1]->x() == valj.Opt[2]->x());
        QVERIFY(valj.Opt[3]->x() > valj.Opt[1]->x() && valj.Opt[3]->y() == valj.Opt[1]->y());
        QVERIFY(valj.lblSkjuttidVarde->text().isEmpty());
        QCOMPARE(fokus(), valj.Opt[1]);
        QVERIFY(tryckTill(Qt::Key_Right, valj.Opt[3]));
        QVERIFY(valj.Opt[3]->isChecked());
        QCOMPARE(valj.lblSkjuttidVarde->text(), u"Söndag 9.00"_s);
        pekaPa(valj.Opt[2]);
        QVERIFY(valj.lblSkjuttidVarde->text().isEmpty());
        pekaPa(valj.frameSkjutlag);
        QCOMPARE(valj.lblSkjuttidVarde->text(), u"Söndag 9.00"_s);
        tryck(Qt::Key_A);
        QVERIFY(valj.isVisible());
        tryck(Qt::Key_Return);
        QVERIFY(!valj.isVisible());
        QCOMPARE(valj.result(), int(QDialog::Accepted));
        QCOMPARE(valj.valtSkjutlag(), 3);
        frmValjSkjutlag igen(s.f.kontext, 2, nullptr);
        QVERIFY(!igen.forstaGangen());
        QVERIFY(!igen.Opt[1]->isChecked() && igen.Opt[2]->isChecked());
        QVERIFY(synlig(igen.Opt[4]) && !synlig(igen.Opt[5]));
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
        m.skytt(1, 1, u"Anna"_s, u"Ek"_s, u"SK"_s, u"H"_s);
        m.skytt(2, 1, u"Bo"_s, u"Al"_s, u"SK"_s, u"H"_s);
        std::unique_ptr<Askadare> a = m.anslut();
        QVERIFY(a);
        m.flode->begarOmritning(true);
        QPointer<F> w = oppnaFonster(m, *m.flode, 1, 200);
        QVERIFY(a->vantaPaMeddelanden(1));
        QCOMPARE(m.g.intSkjutlagPaSkarm, 1);
        QCOMPARE(a->omritningar(), QByteArray("1"));
        QCOMPARE(m.fragor.stallda, 0);

        // A typed series: nothing at once, the squad a moment later.
        skriv(u"4"_s);
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
        QCOMPARE(m.fragor.visade.back().text, u"Vill du byta till det här skjutlaget på åskådarskärmen?\r\n"
                                              "Aktuellt skjutlag på den är för närvarande: 1"_s);
        QCOMPARE(m.g.intSkjutlagPaSkarm, 1);
        QCOMPARE(w->rad(0).txtNamn->text(), u"Bo Al"_s);
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
        skriv(u"7"_s);
        tryck(Qt::Key_Tab);
        QVERIFY(w->askadaruppdatering().vantar());
        QVERIFY(w->close());
        QVERIFY(a->vantaPaMeddelanden(5));
        QVERIFY(a->meddelanden().back().contains("|7|"));
    }

    // Machine mode: the fields are not typed into; a digit opens the series
    // shot by shot, Enter marks the series for the machine, a letter is dropped.
    // (Reading cards is tested end to end in test_maskininlasning.)
    void tolkmaskinslage() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 1, 2);
        s.f.g.blnTolkmaskinGrundomg = true;
        QVERIFY(
            s.f.g.iniProgram.WriteKey(u"Serieportar"_s, u"COM1"_s, s.f.tavlingsmapp() + u"/ingen-port"_s));
        F* w = s.oppna(1);
        QString sfs;
        QTimer::singleShot(0, [&] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                sfs = d->windowTitle();
                d->reject();
            }
        });
        w->txtSer(3, 1)->setFocus();
        skriv(u"7"_s);
        QCOMPARE(sfs, u"5 Skott"_s);
        QVERIFY(aktivera(w));
        QCOMPARE(w->txtSer(3, 1)->text(), u"0"_s);
        skriv(u"x"_s);
        QCOMPARE(w->txtSer(3, 1)->text(), u"0"_s);
        w->txtSer(5, 0)->setFocus();
        QVERIFY(tryckTill(Qt::Key_Return, w->txtSer(5, 0)));
        QVERIFY(w->blnSerieMarkerad && w->intMarkeradRad == 0 && w->intMarkeradSerie == 5);
        // The port it names is not there.
        QCOMPARE(s.f.m.senasteText(),
                 u"Du har valt en Com port som inte finns!\rÄndra Com port i inställningarna."_s);
        QVERIFY(!w->tolklank()->lasningPagar());
        // Delete clears the series' shot string at once.
        s.satt(1, 1, u"SfST5"_s, u"98*++"_s);
        tryck(Qt::Key_Delete);
        QCOMPARE(s.lagrat(1, 1, u"SfST5"_s).toString(), u"00000"_s);
        QVERIFY(!s.f.g.blnEjAuto1098);
    }
};

QTEST_MAIN(T_frmresultatinskrivning)
#include "test_frmresultatinskrivning.moc"
