#include "competition/Skjutlag.h"
#include "competition/Skjuttider.h"
#include "registration/Registrering.h"
#include "registration/frmInskrivningSkyttar.h"
#include "registration/frmLagInskrivning.h"
#include "shell/Fonsternamn.h"
#include "shell/Rutnat.h"
#include "support/Testfixtur.h"
#include "support/Widget.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using F = frmInskrivningSkyttar;
using Svar = Meddelanden::Svar;

namespace {
// A competition and the registration window as the menu command opens it:
// the print menu off, the search on, the window active.
struct Fonster {
    Testfixtur f;
    QPointer<F> form;
    Fonster(NyTavling::Typ typ, int banor, int skjutlag, int skyttar) {
        f.skapaTavling(u"Cup"_s, typ, banor, skjutlag, skyttar);
    }
    Databas& db() { return f.g.cnnTavling; }
    void oppna() {
        Registreringsfonster::registrera(f.delar());
        for (Meny m : {Meny::mnuInstallningar, Meny::mnuInskrivning, Meny::mnuSokSkytt})
            f.fonster.sattMeny(m, true);
        for (Meny m : {Meny::mnuUtskrift, Meny::mnuKonfigAskSkarm, Meny::mnuVisaAskSkarm})
            f.fonster.sattMeny(m, false);
        form = qobject_cast<F*>(f.fonster.visaFonster(Fonsternamn::InskrivningSkyttar));
        QApplication::setActiveWindow(form);
        (void)QTest::qWaitForWindowActive(form);
        f.kontext.meddelaAktivering(form);
    }
    template <class T = QWidget> T* w(const char* namn) const { return widget<T>(form.data(), namn); }
    Rutnat* rutnat() const { return w<Rutnat>("vbagrSkjutlag"); }
    // The text of a box, a combo box, a label or a button.
    QString text(const char* namn) const {
        return w(namn)->property(w(namn)->inherits("QComboBox") ? "currentText" : "text").toString();
    }
    void skriv(const char* falt, const QString& text) const { QTest::keyClicks(w(falt), text); }
    void klicka(const char* knapp, std::optional<Svar> svar = {}) {
        if (svar)
            f.m.svara(*svar);
        QTest::mouseClick(w(knapp), Qt::LeftButton);
    }
    // The state, the shooter buttons and squad operations that are on (without
    // "cmd") and the search item when on: "Ny: TabortSkytt".
    QString lage() const {
        const char* const lagen[] = {"Ledig", "Ny", "Visad", "Andrar", "Kopierar"};
        QStringList pa;
        for (QPushButton* b : form->findChildren<QPushButton*>(QRegularExpression(u"^cmd(?!Aterga)"_s)))
            if (b->isEnabled())
                pa << b->objectName().mid(3);
        if (f.fonster.menyPa(Meny::mnuSokSkytt))
            pa << u"sök"_s;
        return QString::fromLatin1(lagen[int(form->lage())]) + u": "_s + pa.join(u' ');
    }
    QString namnPa(int skjutlag, int bana) {
        return db()
            .varde(u"SELECT k.Namn FROM Skjutlag s JOIN Skyttar k ON k.Löpnummer = s.Startnummer "
                   u"WHERE s.Skjutlag = ? AND s.Bana = ?"_s,
                   {skjutlag, bana})
            .toString();
    }
};

QString fokus() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}
void enter() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}
// Whether some pixel the widget paints is this colour, give or take what
// smoothing does to the edges of a text.
bool maladMed(QWidget* w, const QColor& farg) {
    const QImage bild = w->grab().toImage();
    for (int i = 0; i < bild.width() * bild.height(); ++i) {
        const QColor c = bild.pixelColor(i % bild.width(), i / bild.width());
        if (std::max({qAbs(c.red() - farg.red()), qAbs(c.green() - farg.green()),
                      qAbs(c.blue() - farg.blue())}) < 40)
            return true;
    }
    return false;
}
Qt::CursorShape overst() {
    const QCursor* c = QApplication::overrideCursor();
    return c ? c->shape() : Qt::BitmapCursor;
}
// The message seam that also notes the messages shown under the hourglass.
class Markormeddelanden : public TestMeddelanden {
public:
    Svar visa(const QString& text, const QString& titel, Ikon ikon, Knappar knappar) override {
        if (overst() == Qt::WaitCursor)
            underTimglas << text;
        return TestMeddelanden::visa(text, titel, ikon, knappar);
    }
    QStringList underTimglas;
};
} // namespace

// The registration window: what each state allows, the order Enter moves in,
// the checks on leaving a field, closing, the squads, rounds and the prize.
class TestFrmInskrivningSkyttar : public QObject {
    Q_OBJECT

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
        const QColor rott(255, 0, 0), gront(0, 0x40, 0);
        Fonster mj(NyTavling::Typ::Sportskytte, 4, 3, 5);
        mj.oppna();
        QVERIFY(maladMed(mj.w("Opt1"), rott) && !maladMed(mj.w("Opt1"), gront));
        QVERIFY(!maladMed(mj.w("Opt2"), rott) && maladMed(mj.w("Opt2"), gront));
        QVERIFY(!maladMed(mj.w("Opt3"), rott) && maladMed(mj.w("Opt3"), gront));
        mj.rutnat()->valjRad(2);
        mj.klicka("cmdTabortSkytt", Svar::Ja);
        QCOMPARE(mj.f.m.senasteText(), u"Är du säker på att du vill ta bort den här skytten?"_s);
        QVERIFY(maladMed(mj.w("Opt1"), gront) && !maladMed(mj.w("Opt1"), rott));
    }

    // The squad operations are there only while no shooter is entered,
    // edited or copied; squads can be switched in every state, and a cancel
    // always ends in the free-lane state.
    void tillstandStyrKnapparna() {
        Fonster mj(NyTavling::Typ::Sportskytte, 4, 3, 5);
        mj.oppna();
        const QString skjutlag = u"NyttSkjutlag InfogaNyttSkjutlag TabortSkjutlag TabortValtSkjutlag"_s;
        QCOMPARE(mj.lage(), u"Ledig: "_s + skjutlag + u" sök"_s);
        QVERIFY(mj.w("Opt3")->isVisible() && !mj.w("Opt4")->isVisible());
        // A new shooter: the first key starts it, with the next free start number.
        mj.skriv("txtNamn", u"lisa"_s);
        QCOMPARE(mj.lage(), u"Ny: TabortSkytt"_s);
        QVERIFY(mj.w("Opt2")->isEnabled());
        QCOMPARE(mj.text("cboStartnummer"), u"6"_s);
        mj.form->valjSkjutlag(2);
        QCOMPARE(mj.text("txtNamn"), u"lisa"_s);
        QCOMPARE(mj.lage(), u"Ny: TabortSkytt"_s);
        mj.klicka("cmdTabortSkytt", Svar::Ja);
        QCOMPARE(mj.lage(), u"Ledig: "_s + skjutlag + u" sök"_s);
        // A shown shooter, edited; a row chosen meanwhile picks the lane, and
        // the cancel still ends in the free-lane state.
        mj.rutnat()->valjRad(1);
        QCOMPARE(mj.lage(), u"Visad: "_s + skjutlag + u" AndraSkytt TabortSkytt TomFalt Copy sök"_s);
        QCOMPARE(mj.text("txtNamn"), u"Skytt5"_s);
        QVERIFY(!mj.w("txtNamn")->isEnabled());
        mj.klicka("cmdAndraSkytt");
        QCOMPARE(mj.lage(), u"Andrar: SparaSkytt TomFalt"_s);
        QCOMPARE(mj.text("cmdTomFalt"), u"&Avbryt"_s);
        mj.rutnat()->valjRad(3);
        QCOMPARE(mj.text("txtBana"), u"3"_s);
        QCOMPARE(mj.lage(), u"Andrar: SparaSkytt TomFalt"_s);
        mj.klicka("cmdTomFalt");
        QCOMPARE(mj.lage(), u"Ledig: "_s + skjutlag + u" sök"_s);
        QVERIFY(mj.text("txtNamn").isEmpty() && mj.w("txtNamn")->isEnabled());
        QCOMPARE(mj.namnPa(2, 3), QString());
        // A new shooter's delete button cancels him, deleting nobody.
        mj.skriv("txtNamn", u"Ny"_s);
        mj.klicka("cmdTabortSkytt", Svar::Ja);
        QVERIFY(mj.lage().startsWith(u"Ledig:"_s));
        QCOMPARE(mj.namnPa(2, 1), u"Skytt5"_s);
        // A copy taken to another squad, saved there as a new shooter.
        mj.rutnat()->valjRad(1);
        mj.klicka("cmdCopy");
        QCOMPARE(mj.lage(), u"Kopierar: SparaSkytt TabortSkytt sök"_s);
        QCOMPARE(mj.text("cmdTabortSkytt"), u"&Avbryt"_s);
        QVERIFY(mj.text("txtBana").isEmpty());
        mj.form->valjSkjutlag(3);
        QCOMPARE(mj.text("txtNamn"), u"Skytt5"_s);
        mj.rutnat()->valjRad(2);
        QCOMPARE(mj.text("txtBana"), u"2"_s);
        mj.klicka("cmdSparaSkytt");
        QVERIFY(mj.lage().startsWith(u"Ledig:"_s));
        QCOMPARE(mj.namnPa(3, 2) + mj.namnPa(2, 1), u"Skytt5Skytt5"_s);
        QCOMPARE(mj.rutnat()->valdRad(), 2);
        QVERIFY(mj.rutnat()->cell(2, 2).startsWith(u"Skytt5 "_s));
    }

    // Enter moves through the fields in entry order; a national competition
    // skips the greyed licence field; names get a capital first letter and
    // the number fields take digits only.
    void enterOrdningOchSparning_data() {
        QTest::addColumn<bool>("nationellt");
        QTest::newRow("sport") << false;
        QTest::newRow("nationellt") << true;
    }
    void enterOrdningOchSparning() {
        QFETCH(bool, nationellt);
        Fonster mj(nationellt ? NyTavling::Typ::Nationellt : NyTavling::Typ::Sportskytte, 4, 1, 1);
        mj.oppna();
        QCOMPARE(fokus(), u"txtNamn"_s);
        const std::pair<const char*, const char*> steg[] = {
            {"anna", "txtEfternamn"}, {"berg", "cboForening"},     {"ny klubb", "cboKlassADO"},
            {"↓", "txtLicensnr"},     {"L-17", "txtSkyttekortNr"}, {"", "txtFodelsenr"},
            {"19x90", "txtBana"},     {"a3", "cmdSparaSkytt"},     {"", "txtNamn"}};
        for (auto [skriv, falt] : steg) {
            if (nationellt && qstrcmp(skriv, "L-17") == 0)
                continue;
            if (nationellt && qstrcmp(falt, "txtLicensnr") == 0)
                falt = "txtSkyttekortNr";
            if (qstrcmp(skriv, "↓") == 0)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            else
                QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(skriv));
            enter(); // the last presses the save button
            QCOMPARE(fokus(), QString::fromLatin1(falt));
        }
        QVERIFY2(mj.f.m.visade.isEmpty(), qPrintable(mj.f.m.senasteText()));
        QCOMPARE(mj.namnPa(1, 3), u"Anna"_s);
        QVERIFY(mj.lage().startsWith(u"Ledig:"_s));
        QCOMPARE(mj.db()
                     .varde(u"SELECT Efternamn || Förening || Födelseår || '/' || Licensnr || '/' || Startnr "
                            u"FROM Skyttar WHERE Namn = 'Anna'"_s)
                     .toString(),
                 nationellt ? u"BergNy klubb1990//2"_s : u"BergNy klubb1990/L-17/2"_s);
    }

    // The start number and the birth year are checked when they are left.
    // Closing with a shooter half typed asks; No keeps the window and what was
    // typed. The menus come back, the display's item only with a display.
    void faltOchStangning_data() {
        QTest::addColumn<bool>("ansluten");
        QTest::newRow("utan skärm") << false;
        QTest::newRow("med skärm") << true;
    }
    void faltOchStangning() {
        QFETCH(bool, ansluten);
        Fonster mj(NyTavling::Typ::Sportskytte, 4, 1, 2);
        mj.f.fonster.ansluten = ansluten;
        mj.oppna();
        QVERIFY(!mj.f.fonster.menyPa(Meny::mnuInstallningar) && !mj.f.fonster.menyPa(Meny::mnuInskrivning));
        mj.skriv("txtNamn", u"Per"_s);
        auto* startnr = mj.w<QComboBox>("cboStartnummer");
        startnr->setFocus();
        startnr->setEditText(QString());
        mj.skriv("cboStartnummer", u"2"_s);
        QTest::keyClick(startnr, Qt::Key_Tab);
        QCOMPARE(mj.f.m.senasteText() + u'|' + mj.f.m.visade.back().titel,
                 u"Detta startnummer finns redan!|Dublettnr"_s);
        QTRY_COMPARE(fokus(), u"cboStartnummer"_s);
        startnr->setEditText(QString());
        QTest::keyClick(startnr, Qt::Key_Tab);
        QCOMPARE(startnr->currentText(), u"0"_s);
        auto* ar = mj.w("txtFodelsenr");
        ar->setEnabled(true);
        ar->setFocus();
        mj.skriv("txtFodelsenr", u"199"_s);
        QTest::keyClick(ar, Qt::Key_Tab);
        QCOMPARE(mj.f.m.senasteText() + u'|' + mj.f.m.visade.back().titel,
                 u"Du måste ange födelseåret med 4 siffror!|Fel antal siffror"_s);
        QTRY_COMPARE(fokus(), u"txtFodelsenr"_s);
        QTest::keyClick(ar, Qt::Key_0);
        mj.f.m.tom();
        QTest::keyClick(ar, Qt::Key_Tab);
        QVERIFY(mj.f.m.visade.isEmpty());

        mj.f.m.svara(Svar::Nej);
        QVERIFY(!mj.form->close());
        QCOMPARE(mj.f.m.senasteText() + u'|' + mj.f.m.visade.back().titel,
                 u"Du håller på och skriver in en skytt. Vill du ta bort den?|Bekfäfta borttag."_s);
        QCOMPARE(mj.text("txtNamn"), u"Per"_s);
        mj.klicka("cmdAterga", Svar::Ja);
        QTRY_VERIFY(!mj.form);
        for (Meny m :
             {Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning, Meny::mnuKonfigAskSkarm})
            QVERIFY(mj.f.fonster.menyPa(m));
        QVERIFY(!mj.f.fonster.menyPa(Meny::mnuSokSkytt));
        QCOMPARE(mj.f.fonster.menyPa(Meny::mnuVisaAskSkarm), ansluten);
    }

    // The search is one of the host's windows while it runs: the registration
    // window, closing, closes it through the host, and it is gone.
    void sokningenGarMedFonstret() {
        Fonster mj(NyTavling::Typ::Sportskytte, 3, 3, 4);
        mj.oppna();
        bool oppenUnder = false;
        bool kvar = true;
        QTimer::singleShot(0, [&] {
            oppenUnder = mj.f.fonster.fonster(Fonsternamn::SokSkytt) != nullptr;
            mj.f.fonster.stangFonster(mj.form);
            kvar = QApplication::activeModalWidget() != nullptr;
            if (kvar)
                QApplication::activeModalWidget()->close();
        });
        QVERIFY(!mj.f.fonster.visaDialog(Fonsternamn::SokSkytt));
        QVERIFY(oppenUnder && !kvar);
        QVERIFY(!mj.f.fonster.fonster(Fonsternamn::SokSkytt));
    }

    // The squad operations from the window: an inserted squad is shown,
    // after a delete squad 1 is; resting on a button shows its free lanes and
    // time; the time box writes the shown squad's time.
    void skjutlagIFonstret() {
        Fonster mj(NyTavling::Typ::Sportskytte, 3, 3, 4);
        Skjuttider::skriv(mj.db(), 2, u"Lördag 10.00"_s);
        mj.oppna();
        QEvent in(QEvent::Enter);
        QApplication::sendEvent(mj.w("Opt2"), &in);
        QCOMPARE(mj.text("lblLedigaBanor"), u"Lediga banor = 2"_s);
        QCOMPARE(mj.text("lblSkjuttidOpt"), u"Skjuttid: Lördag 10.00"_s);
        QMouseEvent over(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(mj.w("frameSkjutlag"), &over);
        QCOMPARE(mj.text("lblLedigaBanor"), u"Lediga banor = 0"_s);
        QVERIFY(mj.text("lblSkjuttidOpt").isEmpty());

        mj.klicka("Opt2");
        QCOMPARE(mj.text("txtSkjuttid"), u"Lördag 10.00"_s);
        mj.klicka("cmdInfogaNyttSkjutlag", Svar::Ja);
        QCOMPARE(mj.form->aktuelltSkjutlag(), 2);
        QCOMPARE(mj.text("txtSkjutlag"), u"2"_s);
        QVERIFY(mj.w("Opt4")->isVisible());
        QVERIFY(mj.text("txtSkjuttid").isEmpty());
        QCOMPARE(mj.rutnat()->cell(1, 2), QString());
        mj.w("txtSkjuttid")->setFocus();
        mj.skriv("txtSkjuttid", u"Fredag"_s);
        enter();
        QCOMPARE(fokus(), u"txtNamn"_s);
        int lage = Skjuttider::Las;
        QCOMPARE(HanteraSkjuttid(mj.db(), 2, lage, QString(), 0), u"Fredag"_s);

        mj.klicka("cmdTabortValtSkjutlag", Svar::Ja);
        QCOMPARE(mj.form->aktuelltSkjutlag(), 1);
        QVERIFY(mj.w<QPushButton>("Opt1")->isChecked() && !mj.w("Opt4")->isVisible());
        QCOMPARE(Skjutlag::antal(mj.db()), 3);
    }

    // With rounds and a prize chosen by hand: the first round is proposed and
    // a round goes by its key (two share a description); coming back to the
    // window keeps the class chosen; Enter goes from the lane to the prize box
    // and on to the save, which writes the round and the prize's series.
    void omgangOchVandringspris() {
        Fonster mj(NyTavling::Typ::Sportskytte, 4, 1, 0);
        QVERIFY(mj.f.g.iniTavling.WriteKeys({{"Vandringspris", "Vandringspris", "1"},
                                             {"Vandringspris", "AntalSkott", "60"},
                                             {"Vandringspris", "Vilka", "Valda"}}));
        mj.f.g.blnFleraTavlingar = true;
        mj.db().kor(u"INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (3, 'Final'), (4, 'Final')"_s);
        mj.oppna();
        auto* pris = mj.w<QCheckBox>("chkVandringspris");
        auto* omg = mj.w<QComboBox>("cboTavlingsOmg");
        auto* klass = mj.w<QComboBox>("cboKlassADO");
        QVERIFY(pris->isVisibleTo(mj.form) && !pris->isEnabled());
        QCOMPARE(mj.rutnat()->columnCount(), 7);
        QVERIFY(omg->isEnabled() && omg->currentIndex() == -1);
        mj.skriv("txtNamn", u"Bo"_s);
        QCOMPARE(omg->currentIndex(), 0);
        omg->setCurrentIndex(1);
        klass->setEnabled(true);
        klass->setCurrentIndex(2);
        const QString valdKlass = klass->currentText();
        mj.f.kontext.meddelaAktivering(mj.form);
        QCOMPARE(klass->currentText(), valdKlass);
        QTest::keyClick(klass, Qt::Key_J);
        QVERIFY(pris->isEnabled());
        mj.w<QLineEdit>("txtEfternamn")->setText(u"Ek"_s);
        mj.w<QComboBox>("cboForening")->setEditText(u"Gävle"_s);
        mj.w("txtBana")->setFocus();
        mj.skriv("txtBana", u"2"_s);
        enter();
        QCOMPARE(fokus(), u"chkVandringspris"_s);
        QTest::keyClick(pris, Qt::Key_Space);
        enter();
        QCOMPARE(fokus(), u"cmdSparaSkytt"_s);
        enter();
        QCOMPARE(mj.db()
                     .varde(u"SELECT Omg || '/' || VandringsSerier FROM Skyttar WHERE Namn = 'Bo'"_s)
                     .toString(),
                 u"4/12"_s);
        QCOMPARE(mj.rutnat()->cell(2, 6), u"4"_s);
        // The saved lane stays selected; a click on it shows him.
        QCOMPARE(mj.rutnat()->valdRad(), 2);
        Rutnat* g = mj.rutnat();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualItemRect(g->item(1, 1)).center());
        QVERIFY(mj.lage().startsWith(u"Visad:"_s));
        QCOMPARE(omg->currentIndex(), 1);
        QVERIFY(!omg->isEnabled());
    }

    // This window and the team window show the hourglass while they load, and
    // take it down exactly once: at their first activation, when loading
    // fails, or when they close without ever being activated.
    void timglasetMedanFonstretLaddas_data() {
        QTest::addColumn<QString>("fonster");
        QTest::addColumn<QString>("vag");
        for (const char* fonster : {"frmInskrivningSkyttar", "frmLagInskrivning"})
            for (const char* vag : {"aktiverat", "laddningen misslyckas", "stängt före aktivering"})
                QTest::addRow("%s, %s", fonster, vag)
                    << QString::fromLatin1(fonster) << QString::fromUtf8(vag);
    }
    void timglasetMedanFonstretLaddas() {
        QFETCH(QString, fonster);
        QFETCH(QString, vag);
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 4, 2, 3);
        Markormeddelanden m;
        Formkontext k(f.g, m, f.fonster, f.dialoger);
        // A cursor of someone else's beneath: exactly one is taken down again.
        QApplication::setOverrideCursor(Qt::CrossCursor);
        const bool misslyckas = vag == u"laddningen misslyckas"_s;
        if (misslyckas)
            f.g.cnnTavling.Close();
        QPointer<QWidget> w = fonster == u"frmInskrivningSkyttar"_s ? static_cast<QWidget*>(new F(k))
                                                                    : new frmLagInskrivning(k);
        if (misslyckas) {
            QVERIFY2(m.visade.value(0).text.startsWith(fonster + u", Form_load: "_s),
                     qPrintable(m.senasteText()));
            QVERIFY2(m.underTimglas.isEmpty(), qPrintable(m.underTimglas.join(u'\n')));
            QCOMPARE(overst(), Qt::CrossCursor);
        } else {
            QCOMPARE(overst(), Qt::WaitCursor);
            if (vag == u"aktiverat"_s) {
                k.meddelaAktivering(w);
                QCOMPARE(overst(), Qt::CrossCursor);
                k.meddelaAktivering(w); // coming back takes nothing more down
            }
        }
        w->close();
        delete w;
        QCOMPARE(overst(), Qt::CrossCursor);
        QApplication::restoreOverrideCursor();
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(TestFrmInskrivningSkyttar)
#include "test_frminskrivningskyttar.moc"
