#include "competition/Lag.h"
#include "competition/Lagmedlemmar.h"
#include "registration/Registrering.h"
#include "registration/frmLagInskrivning.h"
#include "shell/Fonsternamn.h"
#include "shell/Rutnat.h"
#include "support/Testfixtur.h"
#include "support/Widget.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using Svar = Meddelanden::Svar;

namespace {
// A sport-shooting competition whose team competition "Cup" (made with it)
// counts 3 shooters of 60 shots, and the team window as the menu opens it.
struct Miljo {
    Testfixtur f;
    qint64 cup = 0;
    QPointer<frmLagInskrivning> form;
    Miljo() {
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 10, 2);
        cup = db().varde(u"SELECT Lagtävling FROM Lagtävling"_s).toLongLong();
        Registreringsfonster::registrera(f.delar());
    }
    Databas& db() { return f.g.cnnTavling; }
    qint64 lagtavling(const QString& namn) {
        db().kor(
            u"INSERT INTO Lagtävling (Lagtävlingsnamn, [Antal skyttar], [Antal skott], Omg, [Sport/Nat]) "
            u"VALUES (?, 3, 60, 0, 'Sport')"_s,
            {namn});
        return db().varde(u"SELECT last_insert_rowid()"_s).toLongLong();
    }
    // A team with its members, each a new shooter of class H and start number 7.
    qint64 lag(qint64 lagtavling, const QString& namn, const QStringList& medlemmar = {}) {
        const qint64 nr = Lag::skapa(db(), lagtavling, namn);
        for (const QString& m : medlemmar) {
            db().kor(u"INSERT INTO Skyttar (Startnr, Namn, Efternamn, Klass) VALUES (7, ?, 'Berg', 'H')"_s,
                     {m});
            Lagmedlemmar::laggTill(db(), nr, db().varde(u"SELECT last_insert_rowid()"_s).toLongLong());
        }
        return nr;
    }
    void oppna(bool aktivera = true) {
        form = qobject_cast<frmLagInskrivning*>(f.fonster.visaFonster(Fonsternamn::LagInskrivning));
        if (aktivera)
            f.kontext.meddelaAktivering(form);
    }
    QTreeWidget* trad() const { return widget<QTreeWidget>(form.data(), "tvwLagtavlingar"); }
    Rutnat* rutnat() const { return widget<Rutnat>(form.data(), "vbagrLag"); }
    // The text of a label or a box.
    QString text(const char* namn) const {
        return widget<QWidget>(form.data(), namn)->property("text").toString();
    }
    bool pa(const char* namn) const { return widget<QWidget>(form.data(), namn)->isEnabled(); }
    void klicka(const char* knapp) const { widget<QPushButton>(form.data(), knapp)->click(); }
    void valj(QTreeWidgetItem* nod) const { trad()->setCurrentItem(nod); }
    // A click on a member's row, which shows him in the panel.
    void klickaMedlem(int rad) const {
        QTest::mouseClick(rutnat()->viewport(), Qt::LeftButton, {},
                          rutnat()->visualItemRect(rutnat()->item(rad - 1, 1)).center());
    }
    // Whether a node shows this icon of Grafik/Ikoner.
    bool ikon(const QTreeWidgetItem* nod, const char* fil) const {
        const QString sokvag = f.t.fil(u"Grafik/Ikoner/"_s + QString::fromLatin1(fil));
        return nod->icon(0).pixmap(16).toImage() == QIcon(sokvag).pixmap(16).toImage();
    }
};
} // namespace

// "Lag inskrivning": the tree of team competitions and teams, the members of
// the chosen team and the panel that puts shooters into it.
class TestFrmLagInskrivning : public QObject {
    Q_OBJECT

private slots:
    // Nodes go by key: two team competitions of one name, a team named as a
    // team competition and a name with "|" are each their own. A team
    // competition's folder opens and closes with its node; the chosen team
    // shows the arrow.
    void tradet() {
        Miljo mj;
        const qint64 tvilling = mj.lagtavling(u"Cup"_s);
        const qint64 stang = mj.lag(mj.cup, u"LT|Cup"_s);
        mj.lag(mj.cup, u"Andra"_s);
        const qint64 cuplaget = mj.lag(tvilling, u"Cup"_s, {u"Stina"_s});
        mj.oppna(false);
        QTreeWidgetItem* cup = mj.form->nodForLagtavling(mj.cup);
        QVERIFY(mj.ikon(cup, "ClosedFolder.ico") && !mj.ikon(cup, "OpenFolder.ico"));
        QVERIFY(mj.ikon(mj.form->nodForLag(stang), "Skyttar.ico"));
        mj.f.kontext.meddelaAktivering(mj.form);
        QVERIFY(cup->isExpanded() && mj.ikon(cup, "OpenFolder.ico"));
        QCOMPARE(cup->child(0), mj.form->nodForLag(stang));
        QCOMPARE(mj.trad()->topLevelItem(1)->child(0), mj.form->nodForLag(cuplaget));
        QCOMPARE(mj.form->valdLagtavling(), mj.cup);

        mj.valj(mj.form->nodForLag(cuplaget));
        QCOMPARE(mj.form->valtLag(), cuplaget);
        QCOMPARE(mj.form->valdLagtavling(), tvilling);
        QCOMPARE(mj.text("lblLaget"), u"Cup"_s);
        QCOMPARE(mj.rutnat()->antalRader(), 1);
        QCOMPARE(mj.rutnat()->cell(1, 2), u"Stina Berg"_s);
        QCOMPARE(mj.rutnat()->cell(1, 4),
                 QString::number(Lagmedlemmar::lista(mj.db(), cuplaget)[0].lopnummer));
        QVERIFY(mj.pa("cmdTaBortLag") && mj.ikon(mj.form->nodForLag(cuplaget), "ArrowRight.ico"));

        mj.valj(mj.form->nodForLag(stang));
        QVERIFY(mj.ikon(mj.form->nodForLag(cuplaget), "Skyttar.ico"));
        QCOMPARE(mj.form->valtLag(), stang);
        QCOMPARE(mj.form->valdLagtavling(), mj.cup);
        QCOMPARE(mj.rutnat()->antalRader(), 0);
        QCOMPARE(mj.text("lblLaget"), u"LT|Cup"_s);
        cup->setExpanded(false);
        QVERIFY(mj.ikon(cup, "ClosedFolder.ico"));
        QVERIFY(mj.f.m.visade.isEmpty());
    }

    // Member entry is open while the team has room: Enter adds, the member
    // that fills the team closes it, a team over its size stays closed, and
    // taking one out opens it when there is room again.
    void medlemsinmatningEfterStorleken() {
        Miljo mj;
        const qint64 lag = mj.lag(mj.cup, u"Laget"_s, {u"Ada"_s, u"Bo"_s});
        mj.db().kor(u"INSERT INTO Skyttar (Startnr, Namn, Klass) VALUES (8, 'Cecilia', 'H')"_s);
        mj.oppna();
        mj.valj(mj.form->nodForLag(lag));
        QVERIFY(mj.form->medlemsinmatningOppen());
        QCOMPARE(mj.rutnat()->antalRader(), 2);

        auto* namn = widget<QLineEdit>(mj.form, "txtNamn");
        namn->setText(u"cec"_s);
        mj.f.m.svara(Svar::Ja);
        QTest::keyClick(namn, Qt::Key_Return);
        QCOMPARE(Lagmedlemmar::lista(mj.db(), lag).value(2).namn, u"Cecilia"_s);
        QCOMPARE(mj.rutnat()->antalRader(), 3);
        QVERIFY(!mj.form->medlemsinmatningOppen());
        QVERIFY(namn->text().isEmpty());
        // A disabled box takes no search.
        QTest::keyClick(namn, Qt::Key_Return);
        QCOMPARE(mj.f.m.visade.size(), 1);
        // Over its size (lowered after the members came): closed after a click
        // and after "Töm fält".
        mj.db().kor(u"UPDATE Lagtävling SET [Antal skyttar] = 2"_s);
        mj.valj(mj.form->nodForLagtavling(mj.cup));
        mj.valj(mj.form->nodForLag(lag));
        QVERIFY(!mj.form->medlemsinmatningOppen());
        mj.klickaMedlem(1);
        QCOMPARE(namn->text(), u"Ada"_s);
        QCOMPARE(mj.text("txtStartNummer"), u"7"_s);
        QVERIFY(mj.pa("cmdTaBort") && mj.pa("cmdRensaFalt"));
        mj.klicka("cmdRensaFalt");
        QVERIFY(!mj.form->medlemsinmatningOppen() && namn->text().isEmpty() && !mj.pa("cmdTaBort"));
        // Out go two: still full after the first, room after the second.
        for (const bool oppen : {false, true}) {
            mj.klickaMedlem(1);
            mj.f.m.svara(Svar::Ja);
            mj.klicka("cmdTaBort");
            QCOMPARE(mj.form->medlemsinmatningOppen(), oppen);
        }
        QCOMPARE(Lagmedlemmar::antal(mj.db(), lag), 1);
        QCOMPARE(mj.rutnat()->antalRader(), 1);
        QCOMPARE(mj.text("lblLaget"), u"Laget"_s);
    }

    // A new team is chosen at once with member entry open; deleting the last
    // team of a team competition closes its folder and chooses it.
    void nyttOchRaderatLag() {
        Miljo mj;
        mj.oppna();
        QTreeWidgetItem* cup = mj.form->nodForLagtavling(mj.cup);
        QVERIFY(mj.pa("cmdNyttLag") && !mj.pa("cmdTaBortLag"));
        mj.f.m.skriv(u" Nya laget "_s);
        mj.klicka("cmdNyttLag");
        const qint64 nytt = mj.form->valtLag();
        QVERIFY(Lag::hamta(mj.db(), nytt));
        QCOMPARE(mj.trad()->currentItem(), mj.form->nodForLag(nytt));
        QCOMPARE(mj.form->nodForLag(nytt)->text(0), u"Nya laget"_s);
        QCOMPARE(mj.form->nodForLag(nytt)->parent(), cup);
        QVERIFY(cup->isExpanded());
        QCOMPARE(mj.text("lblLaget"), u"Nya laget"_s);
        QVERIFY(mj.form->medlemsinmatningOppen() && mj.pa("cmdTaBortLag"));

        mj.klicka("cmdTaBortLag"); // no
        QVERIFY(Lag::hamta(mj.db(), nytt));
        mj.f.m.svara(Svar::Ja);
        mj.klicka("cmdTaBortLag");
        QVERIFY(!Lag::hamta(mj.db(), nytt) && !mj.form->nodForLag(nytt));
        QCOMPARE(mj.trad()->currentItem(), cup);
        QVERIFY(!cup->isExpanded() && mj.ikon(cup, "ClosedFolder.ico"));
        QCOMPARE(mj.form->valtLag(), 0);
        QVERIFY(!mj.pa("cmdTaBortLag") && mj.pa("cmdNyttLag") && !mj.form->medlemsinmatningOppen());
        QCOMPARE(mj.text("lblLaget"), u"Laget"_s);
    }

    // Coming back to the window starts again at the first team competition,
    // with the grid and the member panel empty, from a team or a team
    // competition chosen further down alike.
    void ateraktiveringBorjarOmVidForsta() {
        Miljo mj;
        const qint64 andra = mj.lagtavling(u"Andra"_s);
        const qint64 lag = mj.lag(andra, u"Laget"_s, {u"Stina"_s});
        mj.oppna();
        QCOMPARE(mj.form->valdLagtavling(), mj.cup);
        for (const bool lagValt : {true, false}) {
            mj.valj(lagValt ? mj.form->nodForLag(lag) : mj.form->nodForLagtavling(andra));
            if (lagValt) {
                mj.klickaMedlem(1);
                QCOMPARE(mj.text("txtNamn"), u"Stina"_s);
            }
            QCOMPARE(mj.form->valdLagtavling(), andra);
            mj.f.kontext.meddelaAktivering(mj.form);
            QCOMPARE(mj.form->valdLagtavling(), mj.cup);
            QCOMPARE(mj.trad()->currentItem(), mj.form->nodForLagtavling(mj.cup));
            QCOMPARE(mj.text("lblLagtavlingOverskrift") + mj.text("lblLaget"), u"CupLaget"_s);
            QCOMPARE(mj.form->valtLag(), 0);
            QCOMPARE(mj.rutnat()->antalRader(), 0);
            QVERIFY(mj.text("txtNamn").isEmpty() && mj.text("txtStartNummer").isEmpty());
            QVERIFY(!mj.form->medlemsinmatningOppen() && !mj.pa("cmdTaBort") && !mj.pa("cmdRensaFalt"));
            QVERIFY(!mj.pa("cmdTaBortLag") && mj.pa("cmdNyttLag"));
        }
        QVERIFY(mj.f.m.visade.isEmpty());
    }

    // While the window is open, settings and registration are off; closing
    // gives them back with the print menu. A team competition gone from under
    // the window: no team, the failure told, the window closed. Without team
    // competitions no team can be made.
    void menyerOchLagtavlingar() {
        Miljo mj;
        mj.f.fonster.sattMeny(Meny::mnuInstallningar, true);
        mj.f.fonster.sattMeny(Meny::mnuInskrivning, true);
        mj.f.fonster.sattMeny(Meny::mnuUtskrift, false);
        mj.oppna();
        QCOMPARE(mj.form->windowTitle(), u"Lag inskrivning"_s);
        QVERIFY(!mj.f.fonster.menyPa(Meny::mnuInstallningar) && !mj.f.fonster.menyPa(Meny::mnuInskrivning));
        mj.klicka("cmdAterga");
        QTRY_VERIFY(!mj.form);
        for (Meny meny : {Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning})
            QVERIFY(mj.f.fonster.menyPa(meny));
        QVERIFY(mj.f.m.visade.isEmpty());

        mj.oppna();
        mj.db().kor(u"DELETE FROM Lagtävling"_s);
        mj.f.m.skriv(u"Laget"_s);
        mj.klicka("cmdNyttLag");
        QCOMPARE(mj.f.m.senasteText(),
                 u"frmLagInskrivning.cmdNyttLag.Click 3021 Lagtävlingen finns inte längre."_s);
        QCOMPARE(mj.f.m.visade.last().ikon, Meddelanden::Ikon::Kritisk);
        QTRY_VERIFY(!mj.form);
        QCOMPARE(mj.db().varde(u"SELECT COUNT(*) FROM Lag"_s).toInt(), 0);
        QVERIFY(mj.f.fonster.menyPa(Meny::mnuInskrivning));

        mj.f.m.tom();
        mj.oppna();
        QCOMPARE(mj.trad()->topLevelItemCount(), 0);
        QVERIFY(!mj.pa("cmdNyttLag") && !mj.pa("cmdTaBortLag") && !mj.form->medlemsinmatningOppen());
        QCOMPARE(mj.text("lblLaget"), u"Laget"_s);
        QVERIFY(mj.f.m.visade.isEmpty());
    }
};

QTEST_MAIN(TestFrmLagInskrivning)
#include "test_frmlaginskrivning.moc"
