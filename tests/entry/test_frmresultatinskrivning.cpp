#include "Inskrivningsstod.h"
#include "common/IniNamn.h"
#include "competition/Skjuttider.h"
#include "entry/Banrader.h"
#include "entry/Registrering.h"
#include "entry/frm1098.h"
#include "entry/frmValjSkjutlag.h"
#include "shell/Fonsternamn.h"

#include <QClipboard>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>

using Svar = Meddelanden::Svar;

namespace {

// Answers the squad picker when it opens: the squad, or 0 to cancel.
void svaraValj(int skjutlag) {
    QTimer::singleShot(0, [skjutlag] {
        auto* valj = qobject_cast<frmValjSkjutlag*>(QApplication::activeModalWidget());
        if (!valj)
            return;
        if (skjutlag)
            QTest::mouseClick(widget<QRadioButton>(valj, u"Opt%1"_s.arg(skjutlag)), Qt::LeftButton);
        QTest::mouseClick(widget<QPushButton>(valj, skjutlag ? "cmdOK" : "cmdAvbryt"), Qt::LeftButton);
    });
}

// The switch button, the picker answered; the keyboard back to the window after.
void byt(QWidget* w, int skjutlag) {
    svaraValj(skjutlag);
    widget<QPushButton>(w, "cmdBytSkjutlag")->click();
    if (!aktivera(w))
        qWarning("the window did not become active again");
}

// Keys pressed in turn: where the focus was after each, "," between.
QString steg(std::initializer_list<Qt::Key> tangenter) {
    QStringList p;
    for (const Qt::Key t : tangenter) {
        tryck(t);
        p << plats();
    }
    return p.join(u',');
}

// The mouse pointer moving over a widget.
void pekaPa(QWidget* w) {
    const QPointF mitt(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent flytt(QEvent::MouseMove, mitt, w->mapToGlobal(mitt), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &flytt);
}

Banrader* rader(const QWidget* w) {
    return widget<Banrader>(w, "Banrader");
}
QScrollBar* vscroll(const QWidget* w) {
    return widget<QScrollBar>(w, "VScrollInnehall");
}
// Rows that have their widgets, each in its own container.
qsizetype byggda(const QWidget* w) {
    return w->findChildren<QWidget*>(QRegularExpression(u"^picRad\\d+$"_s)).size();
}

// Row r as shown: "lane|series|pair sums|totals 40 60|shoot-off", hidden
// fields left out (a hidden total "-"), a value shown red ending in "!".
QString rad(const QWidget* w, int r) {
    const auto text = [&](const QString& namn, const QString& dold = {}) {
        const QLineEdit* f = falt(w, r, qPrintable(namn));
        return f->isHidden() ? dold
                             : f->text() + (f->palette().color(QPalette::Text) == Rod ? u"!"_s : QString());
    };
    QStringList serier, summor;
    for (int n = 1; n <= 12; ++n)
        serier << text(u"txtSer%1"_s.arg(n));
    for (int k = 1; k <= 6; ++k)
        summor << text(u"txtSum%1"_s.arg(k * 10));
    serier.removeAll(QString());
    summor.removeAll(QString());
    return QStringList{bana(w, r)->text(), serier.join(u' '), summor.join(u' '),
                       text(u"txtRes40"_s, u"-"_s) + u' ' + text(u"txtRes60"_s, u"-"_s),
                       text(u"txtSarskjutning"_s)}
        .join(u'|');
}

// The back colours of row r's series 1 to 12: F window, G green, R red.
QString farger(const QWidget* w, int r) {
    QString t;
    for (int n = 1; n <= 12; ++n) {
        const QColor c = ser(w, n, r)->palette().color(QPalette::Base);
        t += c == Ljusrod ? u'R' : c == Ljusgron ? u'G' : u'F';
    }
    return t;
}

// The status-bar panels: squad, lane, class, club, counts, inner tens, machine.
QString paneler(const QWidget* w) {
    QStringList t;
    for (const QString& p : {F::PanelSkjutlag, F::PanelBana, F::PanelKlass, F::PanelForening,
                             F::PanelAuto1098, F::PanelAuto10, F::PanelStatusTolkmaskin})
        t << panel(w, p);
    return t.join(u'|');
}

const QString Over50 = u"Du får inte skriva in resultat högre än 50 poäng!"_s;

} // namespace

class T_frmresultatinskrivning : public QObject {
    Q_OBJECT

private slots:
    // A squad opens with a row per occupied lane, its time in the caption, its
    // results painted, the first series focused; a squad without shooters empty.
    void skjutlagOppnas() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 12, 3, 24);
        Skjuttider::skriv(s.f.g.cnnTavling, 2, u"Lördag 10.00"_s);
        s.f.g.cnnTavling.kor(u"UPDATE Skjutlag SET Startnummer = 1 WHERE Skjutlag = 2 AND Bana = 3"_s);
        s.satt(2, 5, u"Res1"_s, 47);
        s.satt(2, 5, u"Res2"_s, 50);
        s.satt(2, 5, u"Särskjutning"_s, 9.5);
        F* w = s.oppna(2);
        QCOMPARE(w->windowTitle(), u"Resultatinskrivning Skjutlag 2 Lördag 10.00"_s);
        QCOMPARE(w->intAntalRader(), 11);
        QCOMPARE(rad(w, 3), u"5|47 50! 0 0 0 0 0 0 0 0 0 0|97 0 0 0 0 0|- 97|9,5"_s);
        QCOMPARE(falt(w, 3, "txtNamn")->text(), u"Skytt17 Efternamn17"_s);
        QCOMPARE(paneler(w), u"Skjutlag 2|Bana 1|H|Klubb 1|Auto 10,9,8..|Auto 10'|"_s);
        QCOMPARE(widget<QLabel>(w, "lblSumma")->text(), u"40 / 60 skott"_s);
        QVERIFY(!widget<QLabel>(w, "Label12")->isHidden() && !widget<QWidget>(w, "picInnehall")->isHidden());
        QCOMPARE(plats(), u"0 txtSer1"_s);
        QCOMPARE(vscroll(w)->maximum(), 0);
        QVERIFY(s.f.m.visade.isEmpty());
        byt(w, 3);
        QCOMPARE(w->intAntalRader(), 0);
        QCOMPARE(w->windowTitle(), u"Resultatinskrivning Skjutlag 3 "_s);
        QVERIFY(paneler(w).startsWith(u"Skjutlag 3|"_s));
        QCOMPARE(rader(w)->innehallHojd(), 6045);
        const auto alla =
            w->findChildren<QWidget*>(QRegularExpression(u"^(picRad\\d+|txtBana\\d+|txtSer1|cmd1098)$"_s));
        QCOMPARE(alla.size(), 11 * 4);
        for (const QWidget* f : alla)
            QVERIFY(f->isHidden());
        QCOMPARE(s.f.g.intValtSkjutlag, 3);
    }

    // A squad of 999 lanes builds the rows in view only; the others come, painted
    // from their data, as the arrows, Tab, Shift+Tab or the scroll bar reach
    // them. A missing class out of view is told once, as the squad opens. The
    // next squad reuses the rows built.
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
        QCOMPARE(byggda(w), 11);
        QCOMPARE(rader(w)->innehallHojd(), 6045 + 988 * 550);
        QCOMPARE(plats(), u"0 txtSer1"_s);
        // Repainting a row that is not there builds nothing.
        w->intAktuellRad = 600;
        w->Rakna();
        w->txtRes60_visible(600);
        w->txtVisible();
        s.f.kontext.meddelaAktivering(w);
        QCOMPARE(byggda(w), 11);
        // Up from the first row goes round to the last, the view at the bottom.
        QScrollBar* v = vscroll(w);
        ser(w, 10, 0)->setFocus();
        QCOMPARE(steg({Qt::Key_Up}), u"998 txtSer10"_s);
        QCOMPARE(v->value(), 988 * 550);
        QCOMPARE(v->maximum(), 988 * 550);
        QCOMPARE(byggda(w), 22);
        QCOMPARE(rad(w, 998), u"999|0 0 0 0 0 0 0 0 0 41 0 0|0 0 0 0 41 0|- 41|0"_s);
        QCOMPARE(falt(w, 998, "txtNamn")->text(), u"Skytt999 Efternamn999"_s);
        QCOMPARE(panel(w, F::PanelBana), u"Bana 999"_s);
        skriv(u"47"_s);
        QCOMPARE(plats(), u"998 txtSer11"_s);
        QCOMPARE(s.res(1, 999, 10), 47);
        QCOMPARE(rad(w, 998), u"999|0 0 0 0 0 0 0 0 0 47 0 0|0 0 0 0 47 0|- 47|0"_s);
        QVERIFY(tryckTill(Qt::Key_Down, ser(w, 11, 0)));
        QCOMPARE(v->value(), 0);

        ser(w, 3, 10)->setFocus();
        QCOMPARE(steg({Qt::Key_Down}), u"11 txtSer3"_s);
        QCOMPARE(v->value(), 550);
        QCOMPARE(rader(w)->innehallTopp(), -550);
        QCOMPARE(byggda(w), 23);
        falt<QPushButton>(w, 11, "cmd1098")->setFocus();
        QCOMPARE(steg({Qt::Key_Tab}), u"12 txtSer1"_s);
        QCOMPARE(bana(w, 12)->text(), u"13"_s);
        skriv(u"9"_s);
        QCOMPARE(steg({Qt::Key_Tab}), u"12 txtSer2"_s);
        QCOMPARE(s.res(1, 13, 1), 9);
        // The scroll bar to lane 500, of 40 shots; Shift+Tab to the row above.
        v->setValue(499 * 550);
        QCOMPARE(byggda(w), 35);
        QCOMPARE(farger(w, 499), u"FFFFFFFFRRRR"_s);
        QCOMPARE(rad(w, 499), u"500|0 0 0 0 0 0 0 0 0 0 0 0|0 0 0 0 0 0|0 -|0"_s);
        ser(w, 1, 499)->setFocus();
        tryck(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(plats(), u"498 cmd1098"_s);
        QCOMPARE(byggda(w), 36);
        QCOMPARE(bana(w, 498)->text(), u"499"_s);
        QCOMPARE(steg({Qt::Key_Tab, Qt::Key_Up}), u"499 txtSer1,498 txtSer1"_s);
        // The lane whose class is missing shows every series, and is not told again.
        v->setValue(699 * 550);
        QCOMPARE(farger(w, 699), u"FFFFFFFFFFFF"_s);
        QCOMPARE(rad(w, 699), u"700|0 0 0 0 0 0 0 0 0 0 0 0|0 0 0 0 0 0|0 0|0"_s);
        QCOMPARE(s.f.m.visade.size(), 1);
        // A series typed in a row scrolled away is stored at the switch; the
        // kept rows are painted for the next squad as they come into view.
        ser(w, 5, 699)->setFocus();
        skriv(u"3"_s);
        v->setValue(0);
        byt(w, 2);
        QCOMPARE(s.res(1, 700, 5), 3);
        QCOMPARE(w->intAntalRader(), 101);
        QCOMPARE(plats(), u"0 txtSer1"_s);
        QCOMPARE(falt(w, 0, "txtNamn")->text(), u"Skytt1000 Efternamn1000"_s);
        QVERIFY(widget<QWidget>(w, "picRad12")->isHidden());
        v->setValue(2 * 550);
        QVERIFY(!widget<QWidget>(w, "picRad12")->isHidden());
        QCOMPARE(falt(w, 12, "txtNamn")->text(), u"Skytt1012 Efternamn1012"_s);
        QCOMPARE(rad(w, 12), u"13|0 0 0 0 0 0 0 0 0 0 0 0|0 0 0 0 0 0|- 0|0"_s);
        QVERIFY(widget<QWidget>(w, "picRad499")->isHidden() && bana(w, 499)->isHidden());
        QCOMPARE(steg({Qt::Key_Up}), u"100 txtSer1"_s);
        QCOMPARE(bana(w, 100)->text(), u"101"_s);
        QCOMPARE(falt(w, 100, "txtNamn")->text(), u"Skytt1100 Efternamn1100"_s);
        QVERIFY(w->close());
    }

    // The fields and colours of a row by its class (any letter case) and the
    // kind of competition; a missing class is told once and hides nothing; a
    // value typed into a red series brings the 60-shot total back.
    void synlighetPerKlass() {
        {
            Inskrivning s(NyTavling::Typ::Sportskytte, 4, 1, 4);
            s.satt(1, 2, u"Klass"_s, u"D"_s);
            s.satt(1, 3, u"Klass"_s, u"d"_s);
            s.satt(1, 3, u"Lagserier"_s, 12);
            s.satt(1, 4, u"Klass"_s, u"X'1"_s);
            F* w = s.oppna(1);
            QCOMPARE(w->intAntalRader(), 4);
            const QString noll = u"0 0 0 0 0 0 0 0 0 0 0 0|0 0 0 0 0 0|"_s;
            // 60 shots; 40 shots; 40 shots and a team of 60; no such class.
            const QString visas[][2] = {{u"- 0"_s, u"FFFFFFFFFFFF"_s},
                                        {u"0 -"_s, u"FFFFFFFFRRRR"_s},
                                        {u"0 0"_s, u"FFFFFFFFGGGG"_s},
                                        {u"0 0"_s, u"FFFFFFFFFFFF"_s}};
            for (int r = 0; r < 4; ++r) {
                QCOMPARE(rad(w, r), QString::number(r + 1) + u'|' + noll + visas[r][0] + u"|0"_s);
                QCOMPARE(farger(w, r), visas[r][1]);
            }
            QCOMPARE(s.f.m.visade.size(), 1);
            QCOMPARE(senaste(s.f.m),
                     meddelande(u"Ingen klass."_s, Ikon::Kritisk,
                                u"Klassen för skytten på bana 4 finns inte.\r\nKolla så att du "
                                "inte ändrat namnet på klassen!"_s));
            s.f.kontext.meddelaAktivering(w);
            QCOMPARE(s.f.m.visade.size(), 1);
            ser(w, 10, 1)->setFocus();
            skriv(u"3"_s);
            tryck(Qt::Key_Tab);
            QCOMPARE(s.res(1, 2, 10), 3);
            QCOMPARE(rad(w, 1), u"2|0 0 0 0 0 0 0 0 0 3 0 0|0 0 0 0 3 0|0 3|0"_s);
        }
        // National: series 1 to 8 only, their headers and "40 skott".
        Inskrivning s(NyTavling::Typ::Nationellt, 3, 1, 2);
        F* w = s.oppna(1);
        for (int r = 0; r < 2; ++r)
            QCOMPARE(rad(w, r), QString::number(r + 1) + u"|0 0 0 0 0 0 0 0|0 0 0 0|0 -|0"_s);
        QVERIFY(!falt<QPushButton>(w, 0, "cmd1098")->isHidden());
        QVERIFY(!widget<QLabel>(w, "Label8")->isHidden() && widget<QLabel>(w, "Label9")->isHidden() &&
                widget<QLabel>(w, "Label12")->isHidden());
        QCOMPARE(widget<QLabel>(w, "lblSumma")->text(), u"40 skott"_s);
    }

    // A row from the keyboard: two digits move on, each series is stored as it
    // is left, the sums follow, full marks are red; over 50 is refused with its
    // message and nought stored.
    void helRadFranTangentbordet() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 1, 2);
        s.satt(1, 1, u"Res1"_s, 40);
        F* w = s.oppna(1);
        QCOMPARE(plats(), u"0 txtSer1"_s);
        skriv(u"51"_s);
        QCOMPARE(s.f.m.visade.size(), 1);
        QCOMPARE(senaste(s.f.m), meddelande(u"Fel"_s, Ikon::Kritisk, Over50));
        QCOMPARE(plats(), u"0 txtSer1"_s);
        QCOMPARE(ser(w, 1, 0)->text(), u"0"_s);
        QCOMPARE(s.res(1, 1, 1), 0);
        const QStringList serier = u"47 50 48 49 45 46 44 43 50 50 41 42"_s.split(u' ');
        for (int n = 1; n <= 12; ++n) {
            QCOMPARE(fokus(), ser(w, n, 0));
            skriv(serier[n - 1]);
        }
        // Series 12 goes round to series 1 of the same row, storing as it leaves.
        QCOMPARE(fokus(), ser(w, 1, 0));
        QCOMPARE(
            s.lagrat(1, 1, u"Res1, Res2, Res3, Res4, Res5, Res6, Res7, Res8, Res9, Res10, Res11, Res12"_s),
            serier.join(u'|'));
        QCOMPARE(s.lagrat(1, 1, u"Sum50, Totalt40, Totalt60"_s), u"100|372|555"_s);
        QCOMPARE(rad(w, 0), u"1|47 50! 48 49 45 46 44 43 50! 50! 41 42|97 97 91 87 100! 83|- 555|0"_s);
        QCOMPARE(s.f.m.visade.size(), 1);
        // A typed series switches the counts to hand entry, on screen and in the file.
        QVERIFY(paneler(w).endsWith(u"|Man 10,9,8..|Manuella 10'|"_s));
        QVERIFY(s.f.g.blnEjAuto1098);
        // One digit replaces the selected text; Enter moves on and stores. The
        // release of a key pressed in the previous field moves nothing.
        QCOMPARE(ser(w, 1, 0)->selectedText(), u"47"_s);
        skriv(u"5"_s);
        QCOMPARE(plats(), u"0 txtSer1"_s);
        QCOMPARE(ser(w, 1, 0)->text(), u"5"_s);
        QVERIFY(tryckTill(Qt::Key_Return, ser(w, 2, 0)));
        QCOMPARE(s.res(1, 1, 1), 5);
        QTest::keyRelease(fokus(), Qt::Key_7);
        QCOMPARE(plats(), u"0 txtSer2"_s);
        // A field visited stores nothing; an emptied one stores nought.
        s.satt(1, 1, u"Res2"_s, 33);
        tryck(Qt::Key_Return);
        QCOMPARE(s.res(1, 1, 2), 33);
        tryck(Qt::Key_Backspace);
        QVERIFY(tryckTill(Qt::Key_Tab, ser(w, 4, 0)));
        QCOMPARE(ser(w, 3, 0)->text(), u"0"_s);
        QCOMPARE(s.res(1, 1, 3), 0);
        // Arrows go round the row.
        ser(w, 1, 1)->setFocus();
        QCOMPARE(steg({Qt::Key_Left, Qt::Key_Right}), u"1 txtSer12,1 txtSer1"_s);
        ser(w, 8, 1)->setFocus();
        QCOMPARE(steg({Qt::Key_Right}), u"1 txtSer9"_s);
        QCOMPARE(panel(w, F::PanelBana), u"Bana 2"_s);
    }

    // A window left inactive (no window manager gave it back) gets keys but its
    // fields are told nothing: a field is left when the keys go on elsewhere,
    // and a refused value takes the keys back, the key dropped.
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
        QCOMPARE(w->focusWidget(), ser(w, 3, 0));
        QCOMPARE(s.res(1, 1, 1), 47);
        tangent(u"51"_s);
        QCOMPARE(s.res(1, 1, 2), 48);
        QCOMPARE(rad(w, 0), u"1|47 48 51 0 0 0 0 0 0 0 0 0|95 0 0 0 0 0|- 95|0"_s);
        QCOMPARE(w->focusWidget(), ser(w, 4, 0));
        tangent(u"4"_s);
        QCOMPARE(s.f.m.senasteText(), Over50);
        QCOMPARE(w->focusWidget(), ser(w, 3, 0));
        QCOMPARE(ser(w, 3, 0)->text(), u"0"_s);
        QCOMPARE(ser(w, 4, 0)->text(), u"0"_s);
    }

    // A mixed competition: each row as its class's kind. Up and Down go round
    // the squad, in series 9 to 12 past the national rows; series 8 moves on to
    // series 1 in a national row, to series 9 in a sport row.
    void uppOchNer() {
        {
            Inskrivning s(NyTavling::Typ::Mix, 5, 1, 4);
            s.satt(1, 2, u"Klass"_s, u"LG1"_s);
            s.satt(1, 3, u"Klass"_s, u"LG2"_s);
            s.satt(1, 4, u"Klass"_s, u"D"_s);
            F* w = s.oppna(1);
            QCOMPARE(rad(w, 0), u"1|0 0 0 0 0 0 0 0 0 0 0 0|0 0 0 0 0 0|- 0|0"_s);
            QCOMPARE(rad(w, 1), u"2|0 0 0 0 0 0 0 0|0 0 0 0|0 -|0"_s);
            QCOMPARE(rad(w, 3), u"4|0 0 0 0 0 0 0 0 0 0 0 0|0 0 0 0 0 0|0 -|0"_s);
            ser(w, 10, 0)->setFocus();
            QCOMPARE(steg({Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up}),
                     u"3 txtSer10,0 txtSer10,3 txtSer10,0 txtSer10"_s);
            ser(w, 3, 0)->setFocus();
            QCOMPARE(steg({Qt::Key_Up, Qt::Key_Up}), u"3 txtSer3,2 txtSer3"_s);
            ser(w, 8, 1)->setFocus();
            QCOMPARE(steg({Qt::Key_Return}), u"1 txtSer1"_s);
            ser(w, 8, 1)->setFocus();
            skriv(u"40"_s);
            QCOMPARE(steg({Qt::Key_Left}), u"1 txtSer8"_s);
            ser(w, 8, 3)->setFocus();
            skriv(u"40"_s);
            QCOMPARE(plats(), u"3 txtSer9"_s);
        }
        Inskrivning s(NyTavling::Typ::Mix, 3, 1, 2);
        s.satt(1, 2, u"Klass"_s, u"LG1"_s);
        F* w = s.oppna(1);
        ser(w, 11, 0)->setFocus();
        QCOMPARE(steg({Qt::Key_Down, Qt::Key_Up}), u"0 txtSer11,0 txtSer11"_s);
    }

    // A series takes digits only, typed or pasted; the shoot-off value one
    // comma, emptied it is nought. Up and Down go round in the last columns; a
    // count button opens its row's counts, which switch the panels to hand.
    void nekadeTangenterOchRadensSlut() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 1, 2);
        F* w = s.oppna(1);
        QLineEdit* s4 = ser(w, 4, 0);
        s4->setFocus();
        for (const char c : {'a', '*', '+', ',', '.', ' '})
            QTest::keyClick(s4, c);
        QCOMPARE(s4->text(), u"0"_s);
        QGuiApplication::clipboard()->setText(u"4a"_s);
        QTest::keySequence(s4, QKeySequence::Paste);
        QCOMPARE(s4->text(), u"0"_s);
        QCOMPARE(fokus(), s4);
        QGuiApplication::clipboard()->setText(u"45"_s);
        QTest::keySequence(s4, QKeySequence::Paste);
        QCOMPARE(s4->text(), u"45"_s);
        tryck(Qt::Key_Tab);
        QCOMPARE(s.res(1, 1, 4), 45);
        QLineEdit* sar = falt(w, 0, "txtSarskjutning");
        sar->setFocus();
        QCOMPARE(widget<QScrollBar>(w, "HScrollInnehall")->value(), Banrader::HScrollMax);
        skriv(u"9.,5,"_s);
        QCOMPARE(sar->text(), u"9,5"_s);
        QVERIFY(tryckTill(Qt::Key_Return, ser(w, 1, 0)));
        QCOMPARE(widget<QScrollBar>(w, "HScrollInnehall")->value(), 0);
        QCOMPARE(s.lagrat(1, 1, u"Särskjutning"_s), u"9.5"_s);
        sar->setFocus();
        tryck(Qt::Key_Backspace);
        tryck(Qt::Key_Return);
        QCOMPARE(sar->text(), u"0"_s);
        QCOMPARE(s.lagrat(1, 1, u"Särskjutning"_s), u"0"_s);
        sar->setFocus();
        QCOMPARE(steg({Qt::Key_Up, Qt::Key_Down}), u"1 txtSarskjutning,0 txtSarskjutning"_s);
        falt<QPushButton>(w, 1, "cmd1098")->setFocus();
        QCOMPARE(steg({Qt::Key_Down, Qt::Key_Up}), u"0 cmd1098,1 cmd1098"_s);
        QVERIFY(s.f.m.visade.isEmpty());
        QString bana;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<frm1098*>(QApplication::activeModalWidget());
            if (!d)
                return;
            bana = widget<QLabel>(d, "lblBana")->text();
            widget<QLineEdit>(d, "txtAntal10")->setText(u"2"_s);
            widget<QLineEdit>(d, "txtAntal9")->setText(u"7"_s);
            QTest::mouseClick(widget<QPushButton>(d, "cmdOK"), Qt::LeftButton);
        });
        QTest::mouseClick(falt<QPushButton>(w, 1, "cmd1098"), Qt::LeftButton);
        QCOMPARE(bana, u"Bana 2"_s);
        QCOMPARE(s.lagrat(1, 2, u"TioNior"_s), u"2,7,0,0,0,0,0,0,0,0"_s);
        QVERIFY(paneler(w).endsWith(u"|Man 10,9,8..|Manuella 10'|"_s));
    }

    // A refused save is told as number and description, without icon or title;
    // the field shows the stored value again, and the window closes after.
    void misslyckadSparning() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 1, 2);
        s.satt(1, 1, u"Res2"_s, 41);
        F* w = s.oppna(1);
        s.f.g.cnnTavling.kor(
            u"CREATE TRIGGER nej BEFORE UPDATE ON Skyttar BEGIN SELECT RAISE(ABORT, 'nej'); END"_s);
        ser(w, 2, 0)->setFocus();
        skriv(u"45"_s);
        QCOMPARE(s.f.m.visade.size(), 1);
        QVERIFY(QRegularExpression(u"^\\d+\\S"_s).match(s.f.m.senasteText()).hasMatch());
        QVERIFY(senaste(s.f.m).startsWith(u"|0|"_s));
        QCOMPARE(plats(), u"0 txtSer2"_s);
        QCOMPARE(rad(w, 0), u"1|0 41 0 0 0 0 0 0 0 0 0 0|41 0 0 0 0 0|- 41|0"_s);
        QCOMPARE(s.res(1, 1, 2), 41);
        QVERIFY(w->close());
        QCOMPARE(s.f.m.visade.size(), 1);
    }

    // A typed series is never lost: a switch (to the same squad: nothing) or a
    // close stores it first; the close writes the counts' state. A shoot-off
    // value that is no number keeps the window open.
    void bytOchStangningSparar() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 2, 6);
        QVERIFY(s.f.g.iniTavling.WriteKey(Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, u"x"_s));
        Resultatfonster::registrera(s.f.delar());
        QPointer<QWidget> fonster =
            s.f.fonster.visaFonster(Fonsternamn::ResultatInskrivning, Skjutlagsbegaran{1});
        auto* w = qobject_cast<F*>(fonster.data());
        QVERIFY(w && aktivera(w));
        s.f.kontext.meddelaAktivering(w);
        ser(w, 2, 0)->setFocus();
        skriv(u"3"_s);
        byt(w, 1);
        QCOMPARE(plats(), u"0 txtSer2"_s);
        QCOMPARE(ser(w, 2, 0)->text(), u"3"_s);
        QCOMPARE(s.f.g.intValtSkjutlag, 1);
        QCOMPARE(falt(w, 0, "txtNamn")->text(), u"Skytt1 Efternamn1"_s);
        byt(w, 2);
        QCOMPARE(s.res(1, 1, 2), 3);
        QCOMPARE(s.f.g.intValtSkjutlag, 2);
        QCOMPARE(falt(w, 0, "txtNamn")->text(), u"Skytt4 Efternamn4"_s);
        QCOMPARE(ser(w, 2, 0)->text(), u"0"_s);
        QCOMPARE(plats(), u"0 txtSer1"_s);
        QVERIFY(!widget<QWidget>(w, "picInnehall")->isHidden());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        byt(w, 0);
        QCOMPARE(s.f.g.intValtSkjutlag, 2);
        QCOMPARE(panel(w, F::PanelSkjutlag), u"Skjutlag 2"_s);
        ser(w, 5, 1)->setFocus();
        skriv(u"4"_s);
        QVERIFY(s.f.fonster.stangFonster(w));
        QCOMPARE(s.res(2, 2, 5), 4);
        QCOMPARE(s.f.g.iniTavling.GetKeyValue(Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, {}), u"1"_s);
        QTRY_VERIFY(!fonster);
        F* v = s.oppna(1);
        QLineEdit* sar = falt(v, 1, "txtSarskjutning");
        sar->setFocus();
        QGuiApplication::clipboard()->setText(u","_s);
        QTest::keySequence(fokus(), QKeySequence::Paste);
        QCOMPARE(sar->text(), u","_s);
        QVERIFY(!v->close());
        QCOMPARE(s.f.m.visade.back().titel, u"Fel"_s);
        QCOMPARE(fokus(), sar);
        skriv(u"12,5"_s);
        ser(v, 7, 0)->setFocus();
        QCOMPARE(s.lagrat(1, 2, u"Särskjutning"_s), u"12.5"_s);
        skriv(u"3"_s);
        QVERIFY(v->close());
        QCOMPARE(s.res(1, 1, 7), 3);
    }

    // A squad that cannot be read is told once the hourglass is gone, and the
    // switch leaves none behind.
    void bytSomInteKanLasas() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 2, 6);
        Resultatfonster::registrera(s.f.delar());
        auto* w =
            qobject_cast<F*>(s.f.fonster.visaFonster(Fonsternamn::ResultatInskrivning, Skjutlagsbegaran{1}));
        QVERIFY(w && aktivera(w));
        s.f.g.cnnTavling.kor(u"ALTER TABLE Skyttar RENAME TO Borta"_s);
        bool timglas = true;
        s.f.m.svaraMed([&] {
            timglas = QApplication::overrideCursor();
            return Svar::OK;
        });
        byt(w, 2);
        QVERIFY(s.f.m.senasteText().startsWith(u"frmResultatInskrivning, Öppna_skjutlag: "_s));
        QVERIFY(!timglas);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // The main menu's picker opens the window, its menus off; closing gives them
    // back, the display's only with a display; a cancelled picker opens nothing.
    void menyer() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 3, 6);
        Resultatfonster::registrera(s.f.delar());
        Fonstervard& h = s.f.fonster;
        const auto resultat = [&](int skjutlag) {
            svaraValj(skjutlag);
            return h.visaDialog(Fonsternamn::ValjSkjutlag, Skjutlagsbegaran{0});
        };
        h.sattMeny(Meny::mnuUtskrift, true); // as an open competition has it
        QVERIFY(!resultat(0));
        QVERIFY(!h.fonster(Fonsternamn::ResultatInskrivning));
        QVERIFY(h.menyPa(Meny::mnuUtskrift));
        QVERIFY(resultat(3));
        QPointer<QWidget> w = h.fonster(Fonsternamn::ResultatInskrivning);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), u"Resultatinskrivning Skjutlag 3 "_s);
        QCOMPARE(s.f.g.intValtSkjutlag, 3);
        for (Meny m :
             {Meny::mnuInstallningar, Meny::mnuInskrivning, Meny::mnuUtskrift, Meny::mnuVisaAskSkarm})
            QVERIFY(!h.menyPa(m));
        s.f.fonster.ansluten = true;
        QVERIFY(h.stangFonster(w));
        QTRY_VERIFY(!w);
        for (Meny m : {Meny::mnuInstallningar, Meny::mnuInskrivning, Meny::mnuUtskrift,
                       Meny::mnuKonfigAskSkarm, Meny::mnuVisaAskSkarm})
            QVERIFY(h.menyPa(m));
        QVERIFY(resultat(2));
        w = h.fonster(Fonsternamn::ResultatInskrivning);
        s.f.fonster.ansluten = false;
        QVERIFY(h.stangFonster(w));
        QTRY_VERIFY(!w);
        QVERIFY(!h.menyPa(Meny::mnuVisaAskSkarm) && h.menyPa(Meny::mnuUtskrift));
    }

    // The picker: odd squads above even, the arrows going through them in
    // order, the open one marked, the time on focus and hover; Enter and a
    // double click choose.
    void valjare() {
        Inskrivning s(NyTavling::Typ::Sportskytte, 3, 4, 0);
        Skjuttider::skriv(s.f.g.cnnTavling, 3, u"Söndag 9.00"_s);
        frmValjSkjutlag valj(s.f.kontext, 0, nullptr);
        const auto opt = [](const QWidget* d, int i) { return widget<QRadioButton>(d, u"Opt%1"_s.arg(i)); };
        QLabel* tid = widget<QLabel>(&valj, "lblSkjuttidVarde");
        QVERIFY(valj.forstaGangen());
        QVERIFY(aktivera(&valj));
        QVERIFY(opt(&valj, 1)->isChecked());
        QVERIFY(opt(&valj, 1)->y() < opt(&valj, 2)->y() && opt(&valj, 1)->x() == opt(&valj, 2)->x());
        QVERIFY(opt(&valj, 3)->x() > opt(&valj, 1)->x() && opt(&valj, 3)->y() == opt(&valj, 1)->y());
        QVERIFY(tid->text().isEmpty());
        QCOMPARE(fokus(), opt(&valj, 1));
        QVERIFY(tryckTill(Qt::Key_Right, opt(&valj, 2)));
        QVERIFY(tryckTill(Qt::Key_Down, opt(&valj, 3)));
        QVERIFY(opt(&valj, 3)->isChecked());
        QCOMPARE(tid->text(), u"Söndag 9.00"_s);
        pekaPa(opt(&valj, 2));
        QVERIFY(tid->text().isEmpty());
        pekaPa(widget<QWidget>(&valj, "frameSkjutlag"));
        QCOMPARE(tid->text(), u"Söndag 9.00"_s);
        tryck(Qt::Key_A);
        QVERIFY(valj.isVisible());
        tryck(Qt::Key_Return);
        QVERIFY(!valj.isVisible());
        QCOMPARE(valj.result(), int(QDialog::Accepted));
        QCOMPARE(valj.valtSkjutlag(), 3);
        frmValjSkjutlag igen(s.f.kontext, 2, nullptr);
        QVERIFY(!igen.forstaGangen());
        QVERIFY(!opt(&igen, 1)->isChecked() && opt(&igen, 2)->isChecked());
        QVERIFY(!opt(&igen, 4)->isHidden() && opt(&igen, 5)->isHidden());
        QVERIFY(aktivera(&igen));
        QTest::mouseDClick(opt(&igen, 4), Qt::LeftButton);
        QCOMPARE(igen.result(), int(QDialog::Accepted));
        QCOMPARE(igen.valtSkjutlag(), 4);
    }

    // The display gets the squad at once when it shows none, after a question
    // when it shows another, a typed series a while later or at the close.
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
        QCOMPARE(falt(w, 0, "txtNamn")->text(), u"Bo Al"_s);
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
        ser(w, 1, 0)->setFocus();
        skriv(u"7"_s);
        tryck(Qt::Key_Tab);
        QVERIFY(w->askadaruppdatering().vantar());
        QVERIFY(w->close());
        QVERIFY(a->vantaPaMeddelanden(5));
        QVERIFY(a->meddelanden().back().contains("|7|"));
    }
};

QTEST_MAIN(T_frmresultatinskrivning)
#include "test_frmresultatinskrivning.moc"
