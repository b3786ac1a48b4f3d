#include "competition/Klasser.h"
#include "competition/Lagtavlingar.h"
#include "competition/Utskriftsval.h"
#include "settings/FlikLagtavling.h"
#include "settings/FlikOmgangar.h"
#include "settings/FlikSkjuttider.h"
#include "settings/FlikTolkmaskin.h"
#include "settings/FlikUtskrift.h"
#include "settings/FlikVandringspris.h"
#include "settings/Installningsvarden.h"
#include "settings/Registrering.h"
#include "settings/Rutnatsredigerare.h"
#include "settings/frmInstallningar.h"
#include "settings/frmKlassUppgifter.h"
#include "settings/frmSlaSammanKlasser.h"
#include "shell/Fonsternamn.h"
#include "shell/Rutnat.h"
#include "support/Testfixtur.h"
#include "support/Widget.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace Qt::StringLiterals;
using F = frmInstallningar;
using Svar = Meddelanden::Svar;
using Typ = NyTavling::Typ;

namespace {

// The settings form as the program opens it, active, on one of its tabs.
struct Form {
    Form(Testfixtur& f, F::Flik flik) {
        Installningsfonster::registrera(f.delar());
        form = f.fonster.visaFonster(Fonsternamn::Installningar);
        QApplication::setActiveWindow(form);
        if (!QTest::qWaitForWindowActive(form))
            qFatal("the settings form did not become active");
        widget<QTabWidget>(form, "tabInstallningar")->setCurrentIndex(flik);
    }
    template <class T = QWidget> T* w(const char* namn) const { return widget<T>(form, namn); }
    QWidget* form;
};

// Those of the named widgets and actions that can be used.
QString pa(const QObject* rot, const QString& namn) {
    QStringList pa;
    for (const QString& n : namn.split(u' ')) {
        const QObject* o = widget<QObject>(rot, n);
        const auto* w = qobject_cast<const QWidget*>(o);
        if (w ? w->isEnabled() : qobject_cast<const QAction*>(o)->isEnabled())
            pa << n;
    }
    return pa.join(u' ');
}

// The rows of a table or a grid, each as "first=second".
QStringList rader(const Databas& db, const QString& sql) {
    QStringList r;
    QSqlQuery q = db.kor(sql);
    while (q.next())
        r << q.value(0).toString() + u'=' + q.value(1).toString();
    return r;
}
QStringList rader(const Rutnat* r, int kolumn = 1) {
    QStringList s;
    for (int rad = 1; rad <= r->antalRader(); ++rad)
        s << r->cell(rad, kolumn) + u'=' + r->cell(rad, kolumn + 1);
    return s;
}
const QString Omgangar = u"SELECT Omg, Beskrivning FROM [Tävlings omg] ORDER BY Omg"_s;
const QString Tider = u"SELECT Skjutlag, Skjuttid FROM Skjuttider ORDER BY Skjutlag"_s;

// A competition of three squads with rounds 1 and 2 and times of squads 2 and 3.
void medOmgangarOchTider(Testfixtur& f) {
    f.skapaTavling(u"Cup"_s, Typ::Nationellt, 5, 3);
    f.g.blnFleraTavlingar = true;
    f.g.cnnTavling.kor(u"DELETE FROM [Tävlings omg]"_s);
    f.g.cnnTavling.kor(
        u"INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (1, 'Lördag'), (2, 'Söndag')"_s);
    f.g.cnnTavling.kor(u"INSERT INTO Skjuttider (Skjutlag, Skjuttid) VALUES (2, 'Tid 2'), (3, 'Tid 3')"_s);
}

qint64 nyLagtavling(Databas& db, const char* namn, int omg = 0) {
    db.kor(u"INSERT INTO Lagtävling (Lagtävlingsnamn, [Antal skyttar], [Antal skott], Omg, [Sport/Nat]) "
           "VALUES (?, 3, 40, ?, 'Nat')"_s,
           {QString::fromUtf8(namn), omg});
    return db.varde(u"SELECT last_insert_rowid()"_s).toLongLong();
}

// Runs f on the modal dialog that the next call opens, then closes it. The
// flag tells whether a dialog was there to run it on.
template <class D, class Fn> std::shared_ptr<bool> medDialog(Fn f) {
    auto kord = std::make_shared<bool>(false);
    QTimer::singleShot(0, [f, kord] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!d)
            return;
        *kord = true;
        f(d);
        if (d->isVisible())
            d->reject();
    });
    return kord;
}

// The operator moves on from a field with a text in it.
void lamna(QLineEdit* falt, const QString& text, Qt::Key tangent = Qt::Key_Tab) {
    falt->setFocus();
    falt->setText(text);
    QTest::keyClick(falt, tangent);
}

// The last message and its title.
QString meddelat(const TestMeddelanden& m) {
    return m.visade.isEmpty() ? QString() : m.visade.last().text + u" | "_s + m.visade.last().titel;
}

void klickaRad(Rutnat* r, int rad, Qt::MouseButton knapp = Qt::LeftButton) {
    QTest::mouseClick(r->viewport(), knapp, {}, r->visualRect(r->model()->index(rad - 1, 1)).center());
}

} // namespace

// The tabs of the settings form and their dialogs, in the form as the program
// opens it.
class TestFlikar : public QObject {
    Q_OBJECT
private slots:
    // --- The grid editors of the rounds and the shooting times ---

    // New through the fields with Enter, saved; a change opens all but the
    // key, from the popup menu too; a delete asks; Cancel throws an entry away.
    void redigerare_data() {
        QTest::addColumn<int>("flik");
        // grid, key, text, new, change, delete, cancel, popup, its New and Change
        QTest::addColumn<QString>("namn");
        QTest::addColumn<QString>("nyText");
        QTest::addColumn<QString>("fraga");
        QTest::newRow("omgångar") << int(F::FleraTavlingar)
                                  << u"vbagrTavlingar txtOmg txtBeskrivning cmdNy cmdAndraTavling cmdRadera "
                                     "cmdAvbryt mnuPopupTavlingar mnuNyTavling mnuAndraTavling"_s
                                  << u"&Ny tävling"_s << u"Vill du verkligen radera Tävlingen: "_s;
        QTest::newRow("skjuttider") << int(F::Skjuttider)
                                    << u"vbagrSkjuttider txtSkjuttidLag txtSkjuttidBeskr cmdNySkjuttid "
                                       "cmdAndraSkjuttid cmdRaderaSkjuttid cmdAvbrytSkjuttid mnuPopupTider "
                                       "mnuNyTid mnuAndraTid"_s
                                    << u"&Ny tid"_s << u"Vill du verkligen radera Tiden: "_s;
    }
    void redigerare() {
        QFETCH(int, flik);
        QFETCH(QString, namn);
        QFETCH(QString, nyText);
        Testfixtur f;
        medOmgangarOchTider(f);
        const QString sql = flik == F::Skjuttider ? Tider : Omgangar;
        const QStringList forut = rader(f.g.cnnTavling, sql);
        Form s(f, F::Flik(flik));
        const QStringList n = namn.split(u' ');
        const auto w = [&](int i) { return widget<QWidget>(s.form, n[i]); };
        const auto klicka = [&](int i) { QTest::mouseClick(w(i), Qt::LeftButton); };
        // What can be used: key, text, change, delete, cancel, the popup's New.
        const auto lage = [&] {
            return pa(s.form, QStringList{n[1], n[2], n[4], n[5], n[6], n[8]}.join(u' '));
        };
        auto* rutnat = static_cast<Rutnat*>(w(0));
        auto* nyckel = static_cast<QLineEdit*>(w(1));
        auto* text = static_cast<QLineEdit*>(w(2));
        auto* ny = static_cast<QPushButton*>(w(3));
        QCOMPARE(rader(rutnat), forut);
        QCOMPARE(lage(), n[8]);

        klicka(3);
        QCOMPARE(ny->text(), u"S&para"_s);
        QVERIFY(nyckel->hasFocus());
        QCOMPARE(lage(), QStringList({n[1], n[2], n[6]}).join(u' '));
        QTest::keyClicks(nyckel, u"7"_s);
        QTest::keyClick(nyckel, Qt::Key_Return);
        QVERIFY(text->hasFocus());
        QTest::keyClicks(text, u" Sju "_s);
        QTest::keyClick(text, Qt::Key_Return);
        QVERIFY(ny->hasFocus());
        QTest::keyClick(ny, Qt::Key_Return);
        QCOMPARE(rader(rutnat), forut + QStringList{u"7=Sju"_s});
        QCOMPARE(rader(f.g.cnnTavling, sql), rader(rutnat));
        QCOMPARE(ny->text(), nyText);
        QCOMPARE(lage(), n[8]);

        rutnat->valjRad(1);
        QCOMPARE(nyckel->text() + u'=' + text->text(), forut[0]);
        QCOMPARE(lage(), QStringList({n[4], n[5], n[8]}).join(u' '));
        klickaRad(rutnat, 1, Qt::RightButton);
        QTRY_VERIFY(w(7)->isVisible());
        widget<QAction>(s.form, n[9])->trigger();
        w(7)->hide();
        QVERIFY(text->hasFocus());
        QCOMPARE(lage(), QStringList({n[2], n[6]}).join(u' '));
        text->setText(u"Ändrad"_s);
        klicka(3);
        const QString andrad = forut[0].section(u'=', 0, 0) + u"=Ändrad"_s;
        QCOMPARE(rader(f.g.cnnTavling, sql).first(), andrad);

        rutnat->valjRad(1);
        f.m.svara(Svar::Nej);
        klicka(5);
        QFETCH(QString, fraga);
        QCOMPARE(f.m.senasteText(), fraga + u"Ändrad"_s);
        QCOMPARE(f.m.visade.last().titel, u"Bekräfta radering"_s);
        QCOMPARE(rader(rutnat).first(), andrad);
        f.m.svara(Svar::Ja);
        klicka(5);
        QCOMPARE(rader(rutnat), (QStringList{forut[1], u"7=Sju"_s}));
        QCOMPARE(rader(f.g.cnnTavling, sql), rader(rutnat));
        QVERIFY(text->text().isEmpty());
        QCOMPARE(lage(), n[8]);

        klicka(3);
        QTest::keyClicks(nyckel, u"9"_s);
        klicka(6);
        QVERIFY(nyckel->text().isEmpty());
        QCOMPARE(ny->text(), nyText);
        QCOMPARE(lage(), n[8]);
        QCOMPARE(rader(f.g.cnnTavling, sql).size(), 2);
    }

    // The rounds: the round under an open entry is not swapped, a repeated
    // round keeps the entry, a change finds its round by the number; the team
    // tab's round list follows every save, not a delete; the last round stays.
    void omgangar() {
        Testfixtur f;
        medOmgangarOchTider(f);
        f.g.cnnTavling.kor(u"UPDATE [Tävlings omg] SET Omg = 5, Beskrivning = 'Final' WHERE Omg = 2"_s);
        Form s(f, F::FleraTavlingar);
        auto* flik = s.w<FlikOmgangar>("flikOmgangar");
        auto* rutnat = s.w<Rutnat>("vbagrTavlingar");
        auto* omg = s.w<QLineEdit>("txtOmg");
        auto* beskrivning = s.w<QLineEdit>("txtBeskrivning");
        auto* ny = s.w<QPushButton>("cmdNy");
        QSignalSpy andrade(flik, &FlikOmgangar::omgangarAndrade);

        ny->click();
        QTest::keyClicks(omg, u"2"_s);
        klickaRad(rutnat, 2);
        QCOMPARE(omg->text(), u"2"_s);
        beskrivning->setText(u"final"_s);
        ny->click();
        QCOMPARE(f.m.visade.last().titel, u"Dubblett av omgången."_s);
        QVERIFY(omg->hasFocus());
        QCOMPARE(flik->lage(), FlikOmgangar::Lage::NyOmgang);
        QCOMPARE(andrade.count(), 0);
        beskrivning->setText(u"Söndag"_s);
        ny->click();
        QCOMPARE(andrade.count(), 1);

        rutnat->valjRad(3);
        QCOMPARE(beskrivning->text(), u"Final"_s);
        s.w<QPushButton>("cmdAndraTavling")->click();
        beskrivning->setText(u"lördag"_s);
        ny->click();
        QCOMPARE(andrade.count(), 2);
        QCOMPARE(rader(f.g.cnnTavling, Omgangar), (QStringList{u"1=Lördag"_s, u"2=Söndag"_s, u"5=lördag"_s}));

        for (int rad : {3, 2}) {
            rutnat->valjRad(rad);
            f.m.svara(Svar::Ja);
            s.w<QPushButton>("cmdRadera")->click();
        }
        QCOMPARE(andrade.count(), 2);
        // The only round is shown without a delete to offer; a delete that
        // reaches the tab anyway still refuses it.
        rutnat->valjRad(1);
        QCOMPARE(pa(s.form, u"cmdAndraTavling cmdRadera mnuRaderaTavling"_s), u"cmdAndraTavling"_s);
        s.w<Rutnatsredigerare>("redigerareOmgangar")->raderaKlick();
        QCOMPARE(f.m.senasteText(), u"Det måste finnas minst en tävling inskriven!"_s);
        QCOMPARE(rader(f.g.cnnTavling, Omgangar), QStringList{u"1=Lördag"_s});
    }

    // Round 0 is refused as soon as the operator moves on from the number, by
    // Tab, Enter or a click, and the focus stays in it; a click that took the
    // focus away does nothing. Another window taking the focus is no moving on,
    // and Cancel, also right after a refusal, throws the entry away unchecked.
    void nollVagrasNarFokusLamnarNumret_data() {
        QTest::addColumn<QString>("nummer");
        QTest::addColumn<bool>("vagras");
        QTest::newRow("0") << u"0"_s << true;
        QTest::newRow("00") << u"00"_s << true;
        QTest::newRow("+0") << u"+0"_s << true;
        QTest::newRow("10") << u"10"_s << false;
        QTest::newRow("tomt") << QString() << false;
    }
    void nollVagrasNarFokusLamnarNumret() {
        QFETCH(QString, nummer);
        QFETCH(bool, vagras);
        const QString noll = u"Du får inte ha 0 som tävlingsomgång!"_s;
        Testfixtur f;
        medOmgangarOchTider(f);
        Form s(f, F::FleraTavlingar);
        auto* flik = s.w<FlikOmgangar>("flikOmgangar");
        auto* omg = s.w<QLineEdit>("txtOmg");
        auto* ny = s.w<QPushButton>("cmdNy");
        QTest::mouseClick(ny, Qt::LeftButton);
        QTest::keyClicks(omg, nummer);
        QTest::keyClick(omg, Qt::Key_Tab);
        QCOMPARE(f.m.visade.size(), int(vagras));
        if (!vagras) {
            QVERIFY(s.w("txtBeskrivning")->hasFocus());
            return;
        }
        QCOMPARE(meddelat(f.m), noll + u" | Fel omgång."_s);
        QCOMPARE(f.m.visade[0].ikon, Meddelanden::Ikon::Kritisk);
        QTRY_VERIFY(omg->hasFocus());
        QTest::keyClick(omg, Qt::Key_Return);
        QTRY_VERIFY(omg->hasFocus());
        s.w<QLineEdit>("txtBeskrivning")->setText(u"Måndag"_s);
        QTest::mouseClick(ny, Qt::LeftButton);
        QTRY_VERIFY(omg->hasFocus());
        klickaRad(s.w<Rutnat>("vbagrTavlingar"), 1);
        QTRY_VERIFY(omg->hasFocus());
        QCOMPARE(f.m.visade.size(), 4);
        for (const TestMeddelanden::Visat& v : f.m.visade)
            QCOMPARE(v.text, noll);
        QCOMPARE(flik->lage(), FlikOmgangar::Lage::NyOmgang);
        QCOMPARE(omg->text(), nummer);
        QCOMPARE(rader(f.g.cnnTavling, Omgangar).size(), 2);

        // A message box or another window taking the focus checks nothing.
        QWidget annat;
        annat.show();
        QApplication::setActiveWindow(&annat);
        QVERIFY(QTest::qWaitForWindowActive(&annat));
        QApplication::setActiveWindow(s.form);
        QVERIFY(QTest::qWaitForWindowActive(s.form));
        QTRY_VERIFY(omg->hasFocus());
        QCOMPARE(f.m.visade.size(), 4);

        // Corrected, the number is left and the round saved.
        lamna(omg, u"3"_s, Qt::Key_Return);
        QVERIFY(s.w("txtBeskrivning")->hasFocus());
        QTest::mouseClick(ny, Qt::LeftButton);
        QCOMPARE(f.m.visade.size(), 4);
        QCOMPARE(rader(f.g.cnnTavling, Omgangar).last(), u"3=Måndag"_s);
        QCOMPARE(flik->lage(), FlikOmgangar::Lage::Vilande);

        QTest::mouseClick(ny, Qt::LeftButton);
        QTest::keyClicks(omg, nummer);
        QTest::keyClick(omg, Qt::Key_Tab);
        QTRY_VERIFY(omg->hasFocus());
        QTest::mouseClick(s.w("cmdAvbryt"), Qt::LeftButton);
        QCOMPARE(f.m.visade.size(), 5);
        QCOMPARE(flik->lage(), FlikOmgangar::Lage::Vilande);
        QVERIFY(omg->text().isEmpty());
    }

    // The shooting times: both fields needed, no squad 0, a squad of digits
    // and four at most; a failed save keeps what was typed; pointing at a row
    // during an entry shows it and ends the entry.
    void skjuttider() {
        Testfixtur f;
        medOmgangarOchTider(f);
        Form s(f, F::Skjuttider);
        auto* flik = s.w<FlikSkjuttider>("flikSkjuttider");
        auto* lag = s.w<QLineEdit>("txtSkjuttidLag");
        auto* tid = s.w<QLineEdit>("txtSkjuttidBeskr");
        auto* ny = s.w<QPushButton>("cmdNySkjuttid");
        ny->click();
        lag->setText(u"0"_s);
        ny->click();
        QCOMPARE(meddelat(f.m), u"Du måste fylla i alla fälten! | Tomma fält"_s);
        QVERIFY(lag->hasFocus());
        tid->setText(u"Fredag"_s);
        ny->click();
        QCOMPARE(meddelat(f.m), u"Du får inte skriva skjutlag 0! | Fel"_s);
        QCOMPARE(flik->lage(), FlikSkjuttider::Lage::NyTid);
        QTest::keyClicks(lag, u"x12345"_s);
        QCOMPARE(lag->text(), u"0123"_s);

        s.w<Rutnat>("vbagrSkjuttider")->valjRad(1);
        QCOMPARE(flik->lage(), FlikSkjuttider::Lage::Vilande);
        QCOMPARE(lag->text(), u"2"_s);
        s.w<QPushButton>("cmdAndraSkjuttid")->click();
        f.g.cnnTavling.kor(
            u"CREATE TEMP TRIGGER stopp BEFORE UPDATE ON Skjuttider BEGIN SELECT RAISE(ABORT, 'stopp'); END"_s);
        tid->setText(u"Söndag"_s);
        ny->click();
        QVERIFY(f.m.senasteText().startsWith(u"cmdNyTid_Click 3146 "_s));
        QCOMPARE(f.m.visade.last().ikon, Meddelanden::Ikon::Ingen);
        QCOMPARE(flik->lage(), FlikSkjuttider::Lage::AndraTid);
        QCOMPARE(tid->text(), u"Söndag"_s);
        f.g.cnnTavling.kor(u"DROP TRIGGER stopp"_s);
        ny->click();
        QCOMPARE(rader(f.g.cnnTavling, Tider), (QStringList{u"2=Söndag"_s, u"3=Tid 3"_s}));
    }

    // --- The classes ---

    // The grid, the refusals without a selection, and the popup menu acting on
    // the row selected when an item is chosen.
    void klasser() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, Typ::Sportskytte, 10, 1, 1);
        Form s(f, F::Klasser);
        auto* rutnat = s.w<Rutnat>("vbagrKlasser");
        auto* meny = s.w<QMenu>("mnuPopupKlasser");
        QCOMPARE(s.w<QLabel>("lblKlasser")->text(), u"Sportskytteklasser"_s);
        QCOMPARE(rutnat->columnCount(), 4);
        QVERIFY(rutnat->isColumnHidden(0));
        QCOMPARE(rutnat->antalRader(), 6);
        QCOMPARE(rutnat->cell(2, 2), u"D"_s);

        s.w<QPushButton>("cmdAndraKlass")->click();
        s.w<QPushButton>("cmdTabortKlass")->click();
        QCOMPARE(f.m.visade.size(), 2);
        QCOMPARE(f.m.visade[1].text, u"Du måste välja en klass först!"_s);
        QCOMPARE(f.m.visade[1].ikon, Meddelanden::Ikon::Kritisk);

        QString andrad;
        const auto visad = [&andrad](frmKlassUppgifter* d) {
            if (d->lage() == frmKlassUppgifter::Lage::AndraKlass)
                andrad = widget<QLineEdit>(d, "txtKlass")->text();
        };
        rutnat->valjRad(3);
        emit rutnat->hogerklick(s.form->mapToGlobal(QPoint(10, 10)));
        QVERIFY(meny->isVisible());
        auto kord = medDialog<frmKlassUppgifter>(visad);
        s.w<QAction>("mnuAndraKlass")->trigger();
        meny->close();
        QVERIFY(*kord);
        QCOMPARE(andrad, u"JH"_s);
        rutnat->valjRad(1);
        kord = medDialog<frmKlassUppgifter>(visad);
        emit rutnat->cellDoubleClicked(0, 1);
        QVERIFY(*kord);
        QCOMPARE(andrad, u"H"_s);

        rutnat->valjRad(2);
        f.m.svara(Svar::Ja);
        s.w<QAction>("mnuTabortKlass")->trigger();
        QCOMPARE(f.m.senasteText(), u"Vill du verkligen ta bort klassen Damer?"_s);
        QCOMPARE(rutnat->antalRader(), 5);
        QCOMPARE(rutnat->cell(2, 2), u"JH"_s);

        Testfixtur mix;
        mix.skapaTavling(u"Mix"_s, Typ::Mix);
        Form m(mix, F::Klasser);
        QCOMPARE(m.w<QLabel>("lblKlasser")->text(), u"Mixadeklasser"_s);
        QCOMPARE(m.w<Rutnat>("vbagrKlasser")->columnCount(), 5);
        QCOMPARE(m.w<Rutnat>("vbagrKlasser")->cell(4, 5), u"Nat"_s);
    }

    // The boxes open one after the other as they are typed in; the shot box takes
    // digits only; Enter moves on once a box is filled. Cancel throws a too
    // long code away without a word about it.
    void klassdialogensFalt() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, Typ::Sportskytte);
        frmKlassUppgifter d(f.kontext, frmKlassUppgifter::Lage::NyKlass);
        QSignalSpy sparad(&d, &frmKlassUppgifter::sparad);
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        auto* klass = widget<QLineEdit>(&d, "txtKlass");
        auto* skott = widget<QLineEdit>(&d, "txtAntalSkott");
        auto* ok = widget<QPushButton>(&d, "cmdOK");
        const QString rutor = u"txtKlassnamn txtAntalSkott cmdOK"_s;
        QCOMPARE(d.windowTitle(), u"Ny klass"_s);
        QVERIFY(widget<QWidget>(&d, "cboSportNat")->isHidden() &&
                widget<QWidget>(&d, "lblSportNat")->isHidden());
        QCOMPARE(pa(&d, rutor), QString());

        klass->setFocus();
        QTest::keyClick(klass, Qt::Key_Return);
        QVERIFY(klass->hasFocus());
        QCOMPARE(pa(&d, rutor), u"txtKlassnamn"_s);
        QTest::keyClicks(klass, u"ABCDEFG"_s);
        QTest::keyClick(klass, Qt::Key_Tab);
        QCoreApplication::processEvents();
        QCOMPARE(f.m.senasteText(), u"Det får bara vara 6 tecken i Fältet Klass!"_s);
        QVERIFY(klass->text().isEmpty() && klass->hasFocus());

        f.m.tom();
        QTest::keyClicks(klass, u"Sen EL"_s);
        QTest::keyClick(klass, Qt::Key_Return);
        QVERIFY(f.m.visade.isEmpty());
        QTest::keyClicks(widget<QLineEdit>(&d, "txtKlassnamn"), u"Seniorer Elit"_s);
        QCOMPARE(pa(&d, rutor), u"txtKlassnamn txtAntalSkott"_s);
        QTest::keyClick(widget<QLineEdit>(&d, "txtKlassnamn"), Qt::Key_Return);
        QTest::keyClicks(skott, u"4x0"_s);
        QCOMPARE(skott->text(), u"40"_s);
        QCOMPARE(pa(&d, rutor), rutor);
        QTest::keyClick(skott, Qt::Key_Return);
        QVERIFY(ok->hasFocus());
        QTest::keyClick(ok, Qt::Key_Space);
        QCOMPARE(sparad.size(), 1);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(Klasser(f.g, f.m).lista().back().kod, u"Sen EL"_s);

        frmKlassUppgifter avbryt(f.kontext, frmKlassUppgifter::Lage::NyKlass);
        avbryt.show();
        QVERIFY(QTest::qWaitForWindowActive(&avbryt));
        widget<QLineEdit>(&avbryt, "txtKlass")->setFocus();
        QTest::keyClicks(widget<QLineEdit>(&avbryt, "txtKlass"), u"ABCDEFG"_s);
        QTest::mouseClick(widget<QPushButton>(&avbryt, "cmdAvbryt"), Qt::LeftButton);
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(avbryt.result(), int(QDialog::Rejected));
        QVERIFY(!avbryt.isVisible());
    }

    // The mode is the opener's: titles, filled boxes, and where OK writes; a
    // main class must have its kind too.
    void klassdialogensLagen() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, Typ::Mix);
        Klasser k(f.g, f.m);
        Klass lg1;
        for (const Klass& klass : k.lista())
            if (klass.kod == u"LG1"_s)
                lg1 = klass;

        frmKlassUppgifter andra(f.kontext, frmKlassUppgifter::Lage::AndraKlass, lg1);
        QCOMPARE(andra.windowTitle(), u"Ändra klass"_s);
        QCOMPARE(widget<QPushButton>(&andra, "cmdOK")->text(), u"Ä&ndra"_s);
        QCOMPARE(widget<QLineEdit>(&andra, "txtKlass")->text(), u"LG1"_s);
        QCOMPARE(widget<QLineEdit>(&andra, "txtAntalSkott")->text(), u"40"_s);
        QCOMPARE(widget<QComboBox>(&andra, "cboSportNat")->currentText(), u"Nat"_s);
        QVERIFY(!widget<QComboBox>(&andra, "cboSportNat")->isEditable());
        const QString alla = u"txtKlass txtKlassnamn txtAntalSkott cboSportNat cmdOK"_s;
        QCOMPARE(pa(&andra, alla), alla);
        widget<QLineEdit>(&andra, "txtKlassnamn")->setText(u"Luftgevär ett"_s);
        widget<QPushButton>(&andra, "cmdOK")->click();
        QCOMPARE(k.klass(lg1.raknare).namn, u"Luftgevär ett"_s);

        const int klasser = k.lista().size();
        frmKlassUppgifter huvud(f.kontext, frmKlassUppgifter::Lage::NyHuvudklass);
        huvud.show();
        QVERIFY(QTest::qWaitForWindowActive(&huvud));
        auto* sportNat = widget<QComboBox>(&huvud, "cboSportNat");
        auto* ok = widget<QPushButton>(&huvud, "cmdOK");
        QCOMPARE(huvud.windowTitle(), u"Ny huvudklass"_s);
        QCOMPARE(ok->text(), u"&OK"_s);
        QCOMPARE(sportNat->currentIndex(), -1);
        QCOMPARE(pa(&huvud, alla), u"txtKlass"_s);
        for (const auto& [namn, text] :
             {std::pair{"txtKlass", "LG"}, {"txtKlassnamn", "LG dam"}, {"txtAntalSkott", "40"}})
            QTest::keyClicks(widget<QLineEdit>(&huvud, namn), QString::fromUtf8(text));
        QCOMPARE(pa(&huvud, alla), u"txtKlass txtKlassnamn txtAntalSkott cboSportNat"_s);
        QTest::keyClick(sportNat, Qt::Key_Return);
        QVERIFY(ok->hasFocus());
        ok->click();
        QCOMPARE(f.m.senasteText(), u"Du måste fylla i alla rutorna!"_s);
        sportNat->setCurrentIndex(1);
        ok->click();
        QCOMPARE(k.huvudklasser().size(), 1);
        QCOMPARE(k.lista().size(), klasser);
    }

    // The merge dialog moves classes between its grids; a row that has gone
    // from the database ends an action without a word.
    void sammanslagningsdialogen() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, Typ::Sportskytte);
        Klasser(f.g, f.m).nyHuvudklass({u"Sen"_s, u"Seniorer"_s, u"60"_s, {}});
        frmSlaSammanKlasser d(f.kontext);
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        auto* huvud = widget<Rutnat>(&d, "vbagrHuvudklass");
        auto* ink = widget<Rutnat>(&d, "vbagrInkKlasser");
        auto* ex = widget<Rutnat>(&d, "vbagrExKlasser");
        auto* laggTill = widget<QPushButton>(&d, "cmdLaggTillKlass");
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(ex->antalRader(), 6);
        QCOMPARE(huvud->antalRader(), 1);
        QVERIFY(huvud->isColumnHidden(0));

        ex->valjRad(1);
        laggTill->click();
        QCOMPARE(f.m.senasteText(), u"Du måste välja en huvudklass först!"_s);
        klickaRad(huvud, 1);
        QCOMPARE(huvud->valdRad(), 1);
        ex->valjRad(1);
        laggTill->click();
        QCOMPARE(ex->antalRader(), 5);
        QCOMPARE(rader(ink, 2), QStringList{u"H=60"_s});

        ink->valjRad(1);
        emit ink->cellDoubleClicked(0, 1);
        QCOMPARE(ink->antalRader(), 0);
        QCOMPARE(ex->antalRader(), 6);

        ex->valjRad(3); // JH, 60 shots
        laggTill->click();
        ink->tom();
        QTest::keyClick(huvud, Qt::Key_Home);
        QCOMPARE(ink->antalRader(), 1);

        f.m.tom();
        ex->valjRad(1);
        f.g.cnnTavling.kor(u"DELETE FROM Sportskytteklasser WHERE Klass = 'H'"_s);
        laggTill->click();
        QVERIFY(f.m.visade.isEmpty());

        emit huvud->hogerklick(d.mapToGlobal(QPoint(10, 10)));
        QVERIFY(widget<QMenu>(&d, "popupmnuHuvud")->isVisible());
        widget<QMenu>(&d, "popupmnuHuvud")->close();
        huvud->valjRad(1);
        widget<QAction>(&d, "popupmnuRaderaklass")->trigger();
        QCOMPARE(huvud->antalRader() + ink->antalRader(), 0);
        QCOMPARE(ex->antalRader(), 5);
        widget<QPushButton>(&d, "cmdRaderaHuvudKlass")->click();
        widget<QPushButton>(&d, "cmdTabortKlass")->click();
        QVERIFY(f.m.visade.isEmpty());

        const auto kord = medDialog<frmKlassUppgifter>([](frmKlassUppgifter* n) {
            for (const auto& [namn, text] :
                 {std::pair{"txtKlass", "Jun"}, {"txtKlassnamn", "Juniorer"}, {"txtAntalSkott", "40"}})
                QTest::keyClicks(widget<QLineEdit>(n, namn), QString::fromUtf8(text));
            widget<QPushButton>(n, "cmdOK")->click();
        });
        widget<QPushButton>(&d, "cmdNyHuvudklass")->click();
        QVERIFY(*kord);
        QCOMPARE(rader(huvud, 2), QStringList{u"Jun=40"_s});
    }

    // --- The scoring machine ---

    // The machine's controls follow whether it is used; its values stay when
    // it is not, they only cannot be changed. The decimals are RIKA's. The
    // port takes digits and Enter moves on; the inner ten takes one comma
    // after a digit and is checked as the operator moves on within the tab;
    // leaving the tab is left to the form's close check.
    void tolkmaskin() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s);
        QVERIFY(f.g.iniTavling.WriteKeys({{"Tolkmaskin", "Tolkmaskin i grundomg", "1"},
                                          {"Tolkmaskin", "Model", "RIKA"},
                                          {"Tolkmaskin", "DecimalerRika", "1"},
                                          {"Tolkmaskin", "Comport", "4"},
                                          {"Tolkmaskin", "Innertia", "10,5"}}));
        Form s(f, F::Tolkmaskin);
        auto* flik = s.w<FlikTolkmaskin>("flikTolkmaskin");
        auto* grund = s.w<QCheckBox>("chkTolkmGrund");
        auto* comport = s.w<QLineEdit>("txtComport");
        auto* innertia = s.w<QLineEdit>("txtInnertia");
        auto* decimaler = s.w<QCheckBox>("chkDecimalerRika");
        const QString maskin = u"frameVilkenTolkmaskin optSAM4000 optRIKA txtComport"_s;
        const QString alla = maskin + u" chkDecimalerRika chkTolkmFinal chkBarCode txtInnertia"_s;
        const auto varden = [&] {
            Installningsvarden v;
            flik->hamta(v);
            return QStringList{QString::number(v.tolkmaskinIGrundomg),
                               QString::number(v.tolkmaskinIFinalen),
                               v.modell == Installningsvarden::Modell::Rika ? u"RIKA"_s : u"SAM"_s,
                               QString::number(v.decimalerRika),
                               v.comport,
                               v.innertia}
                .join(u' ');
        };
        QCOMPARE(pa(flik, alla), maskin + u" chkDecimalerRika txtInnertia"_s);
        QCOMPARE(varden(), u"1 0 RIKA 1 4 10,5"_s);
        s.w<QRadioButton>("optSAM4000")->click();
        QCOMPARE(pa(flik, alla), maskin + u" txtInnertia"_s);
        QVERIFY(!decimaler->isChecked());
        grund->click();
        grund->click();
        QCOMPARE(pa(flik, alla), maskin + u" txtInnertia"_s);
        s.w<QRadioButton>("optRIKA")->click();
        QVERIFY(decimaler->isEnabled());
        comport->setText(u"3"_s);
        grund->click();
        QCOMPARE(pa(flik, alla), u"txtInnertia"_s);
        QCOMPARE(varden(), u"0 0 RIKA 0 3 10,5"_s);
        grund->click();

        comport->setFocus();
        comport->clear();
        QTest::keyClicks(comport, u"1a.2"_s);
        QCOMPARE(comport->text(), u"12"_s);
        QTest::keyClick(comport, Qt::Key_Backspace);
        QCOMPARE(comport->text(), u"1"_s);
        QTest::keyClick(comport, Qt::Key_Return);
        QVERIFY(!comport->hasFocus());
        innertia->setFocus();
        innertia->clear();
        QTest::keyClicks(innertia, u",10.,5,3x"_s);
        QCOMPARE(innertia->text(), u"10,53"_s);

        f.g.sngInnertia = 0;
        lamna(innertia, u"10,05"_s);
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(f.g.sngInnertia, 10.05);
        for (const QString& fel : {u"11"_s, u"10"_s, u"11,5"_s, QString()}) {
            f.m.tom();
            lamna(innertia, fel);
            QCOMPARE(meddelat(f.m),
                     u"Du får bara skriva ett värde mellan 10,1 och 10,9 på innertian! | Fel inmatat"_s);
            QCOMPARE(innertia->text(), QString());
            QTRY_VERIFY(innertia->hasFocus());
        }
        QCOMPARE(f.g.sngInnertia, 10.05);
        f.m.tom();
        s.w("cmdOK")->setFocus();
        QVERIFY(!innertia->hasFocus());
        QVERIFY(f.m.visade.isEmpty());
    }

    // --- The team competitions ---

    // The tick opens the tab and cannot be taken away while teams exist, as
    // the form finds at its activation; a team competition with teams shows
    // greyed. A field is written when the operator moves on from it (Enter as
    // Tab); the number boxes take digits. A refused count keeps the focus with
    // its text selected, also against a click in the list, and is not written,
    // nor as the form closes. Unticking keeps what was accepted and empties.
    void lagtavlingar() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, Typ::Nationellt, 10, 1, 3);
        Databas& db = f.g.cnnTavling;
        const qint64 cup = db.varde(u"SELECT Lagtävling FROM Lagtävling"_s).toLongLong();
        const qint64 andra = nyLagtavling(db, "Andra");
        const auto las = [&] { return *Lagtavlingar::hamta(db, cup); };
        const auto lag = [&](qint64 l) {
            db.kor(u"DELETE FROM Lag"_s);
            if (l)
                db.kor(u"INSERT INTO Lag (Lagnamn, Lagtävling) VALUES ('Laget', ?)"_s, {l});
        };
        lag(cup);
        Form s(f, F::Lagtavling);
        auto* flik = s.w<FlikLagtavling>("flikLagtavling");
        auto* lista = s.w<QListWidget>("lstLagtavlingar");
        auto* namn = s.w<QLineEdit>("txtLagtavling");
        auto* skyttar = s.w<QLineEdit>("txtAntalSkyttar");
        auto* skott = s.w<QLineEdit>("txtAntalSkott");
        const QString alla =
            u"chkLagtavling lstLagtavlingar cmdNyTavling cmdTabortTavling txtLagtavling txtAntalSkott"_s;
        QCOMPARE(lista->count(), 2);
        QCOMPARE(pa(s.form, alla), QString());
        lag(0);
        f.kontext.meddelaAktivering(s.form);
        QCOMPARE(pa(s.form, alla), u"chkLagtavling"_s);
        s.w<QCheckBox>("chkLagtavling")->click();
        QCOMPARE(pa(s.form, alla), u"chkLagtavling lstLagtavlingar cmdNyTavling cmdTabortTavling"_s);
        lag(andra);
        f.kontext.meddelaAktivering(s.form);
        lista->setCurrentRow(1);
        QCOMPARE(namn->text(), u"Andra"_s);
        QCOMPARE(pa(s.form, alla), u"lstLagtavlingar cmdNyTavling cmdTabortTavling"_s);
        lag(0);
        f.kontext.meddelaAktivering(s.form);
        lista->setCurrentRow(0);
        QCOMPARE(flik->visadLagtavling(), cup);
        QCOMPARE(pa(s.form, alla), alla);

        namn->setFocus();
        namn->setText(u"Trean"_s);
        QTest::keyClick(namn, Qt::Key_Return);
        QCOMPARE(las().namn, u"Trean"_s);
        QCOMPARE(lista->item(0)->text(), u"Trean"_s);
        QVERIFY(skyttar->hasFocus());
        skyttar->selectAll();
        QTest::keyClicks(skyttar, u"5a,"_s);
        QCOMPARE(skyttar->text(), u"5"_s);
        QTest::keyClick(skyttar, Qt::Key_Tab);
        QCOMPARE(las().antalSkyttar, 5);

        skott->setText(u"61"_s);
        QTest::keyClick(skott, Qt::Key_Tab);
        QCOMPARE(f.m.senasteText(), u"Du får bara välja antal mellan 10 och 60 skott!"_s);
        QTRY_VERIFY(skott->hasFocus());
        QCOMPARE(skott->selectedText(), u"61"_s);
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                          lista->visualItemRect(lista->item(1)).center());
        QCOMPARE(flik->visadLagtavling(), cup);
        QCOMPARE(lista->currentRow(), 0);
        QTRY_VERIFY(skott->hasFocus());
        flik->sparaVantande();
        QCOMPARE(las().antalSkott, 40);
        skott->setText(u"30"_s);
        flik->sparaVantande();
        QCOMPARE(las().antalSkott, 30);

        skyttar->setText(u"4"_s);
        s.w<QCheckBox>("chkLagtavling")->click();
        QCOMPARE(las().antalSkyttar, 4);
        QVERIFY(skott->text().isEmpty());
        QCOMPARE(pa(s.form, alla), u"chkLagtavling"_s);
        QCOMPARE(flik->visadLagtavling(), 0);
        Installningsvarden ut;
        flik->hamta(ut);
        QVERIFY(!ut.lagtavling && ut.lagAntalSkott.isEmpty());
    }

    // In a mixed competition the kind shows, no round; a new team competition
    // is shown at once with its kind's defaults, a deleted one empties the fields.
    void nyOchRaderadLagtavling() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, Typ::Mix, 10, 1, 3);
        QVERIFY(f.g.iniTavling.WriteKey(u"Lag"_s, u"Lagtävling"_s, u"1"_s));
        Form s(f, F::Lagtavling);
        auto* flik = s.w<FlikLagtavling>("flikLagtavling");
        auto* lista = s.w<QListWidget>("lstLagtavlingar");
        QVERIFY(s.w("cboSportNatLag")->isVisibleTo(flik) && !s.w("cboTavlingsOmg")->isVisibleTo(flik));

        f.m.skriv(u"Mix lag"_s);
        s.w<QPushButton>("cmdNyTavling")->click();
        QCOMPARE(lista->count(), 2);
        QCOMPARE(lista->currentRow(), 1);
        QCOMPARE(s.w<QLineEdit>("txtAntalSkott")->text(), u"60"_s);
        QCOMPARE(s.w<QComboBox>("cboSportNatLag")->currentText(), u"Sport"_s);
        QVERIFY(s.w("txtLagtavling")->isEnabled());

        f.m.svara(Svar::Ja);
        s.w<QPushButton>("cmdTabortTavling")->click();
        QCOMPARE(lista->count(), 1);
        QCOMPARE(flik->visadLagtavling(), 0);
        QVERIFY(!s.w("txtLagtavling")->isEnabled() && s.w<QLineEdit>("txtLagtavling")->text().isEmpty());
    }

    // The round list follows the rounds tab and keeps its choice; a round
    // taken away is told and no round is written.
    void lagtavlingensOmgang() {
        Testfixtur f;
        medOmgangarOchTider(f);
        QVERIFY(f.g.iniTavling.WriteKey(u"Lag"_s, u"Lagtävling"_s, u"1"_s));
        const qint64 sondag = nyLagtavling(f.g.cnnTavling, "Söndagslaget", 2);
        Form s(f, F::Lagtavling);
        auto* lista = s.w<QListWidget>("lstLagtavlingar");
        auto* omg = s.w<QComboBox>("cboTavlingsOmg");
        lista->setCurrentRow(1);
        QCOMPARE(omg->currentText(), u"Söndag"_s);

        s.w<QTabWidget>("tabInstallningar")->setCurrentIndex(F::FleraTavlingar);
        s.w<QPushButton>("cmdNy")->click();
        s.w<QLineEdit>("txtOmg")->setText(u"3"_s);
        s.w<QLineEdit>("txtBeskrivning")->setText(u"Först"_s);
        s.w<QPushButton>("cmdNy")->click();
        QCOMPARE(omg->count(), 3);
        QCOMPARE(omg->currentData().toInt(), 2);
        f.g.cnnTavling.kor(u"DELETE FROM [Tävlings omg] WHERE Omg = 2"_s);
        s.w<FlikLagtavling>("flikLagtavling")->omgangarAndrade();
        QCOMPARE(omg->currentIndex(), -1);
        lista->setCurrentRow(0);
        lista->setCurrentRow(1);
        QCOMPARE(f.m.senasteText(), u"Du har tagit bort tävlingen som hörde till den här lagtävlingen!"_s);
        s.w<FlikLagtavling>("flikLagtavling")->sparaVantande();
        QCOMPARE(Lagtavlingar::hamta(f.g.cnnTavling, sondag)->omg, 0);
    }

    // --- The print columns ---

    // A column's boxes: an always printed column keeps its tick; a tick is
    // written when the operator moves on, a width that is a number too (a comma
    // only after a digit, once), also when the form closes; an empty width is
    // refused. The margins: a comma at the end goes, an empty margin is refused.
    // The standard button asks, and resets the columns, margins and layout.
    // The explanations of the rounds are not offered without rounds.
    void utskrift() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, Typ::Sportskytte, 10, 1, 0);
        QVERIFY(
            f.g.iniTavling.WriteKeys({{"Utskrifter", "Layout", "1"}, {"Utskrifter", "Förklaringar", "1"}}));
        const QString fodelsear = u"Födelseår"_s;
        const auto las = [&] { return *Utskriftsval::hamta(f.g.cnnTavling, fodelsear); };
        Form s(f, F::Utskrift);
        auto* flik = s.w<FlikUtskrift>("flikUtskrift");
        auto* lista = s.w<QListWidget>("lstUtskriftsKolumner");
        auto* med = s.w<QCheckBox>("chkFaltMedIUtskrift");
        auto* bredd = s.w<QLineEdit>("txtKolumnBredd");
        auto* vanster = s.w<QLineEdit>("txtVansterMarg");
        auto* hoger = s.w<QLineEdit>("txtHogerMarg");
        const auto valj = [&](const QString& k) {
            lista->setCurrentItem(lista->findItems(k, Qt::MatchExactly)[0]);
        };
        QVERIFY(s.w<QRadioButton>("optLayoutSta")->isChecked());
        QVERIFY(!s.w("chkForklaringar")->isVisibleTo(flik));
        QCOMPARE(pa(flik, u"chkFaltMedIUtskrift txtKolumnBredd"_s), QString());
        valj(u"Namn"_s);
        QVERIFY(med->isChecked());
        QCOMPARE(pa(flik, u"chkFaltMedIUtskrift txtKolumnBredd"_s), u"txtKolumnBredd"_s);
        QCOMPARE(bredd->text(), u"24"_s);

        valj(fodelsear);
        QCOMPARE(flik->valdKolumn(), fodelsear);
        med->setFocus();
        QTest::keyClick(med, Qt::Key_Space);
        QVERIFY(!las().enable);
        QTest::keyClick(med, Qt::Key_Return);
        QVERIFY(las().enable);
        QVERIFY(bredd->hasFocus());
        bredd->clear();
        QTest::keyClicks(bredd, u",7,5,x."_s);
        QCOMPARE(bredd->text(), u"7,5"_s);
        QTest::keyClick(bredd, Qt::Key_Tab);
        QCOMPARE(las().bredd, 7.5);
        bredd->setFocus();
        bredd->clear();
        QTest::keyClick(bredd, Qt::Key_Tab);
        QCOMPARE(f.m.senasteText(), u"Du måste skriva en siffra i fältet Kolumnbredd!"_s);
        QCOMPARE(f.m.visade.last().titel, u"Tomt fält"_s);
        QTRY_VERIFY(bredd->hasFocus());
        QCOMPARE(las().bredd, 7.5);
        bredd->setText(u"9,5"_s);
        flik->sparaVantande();
        QCOMPARE(las().bredd, 9.5);

        vanster->setFocus();
        vanster->clear();
        QTest::keyClicks(vanster, u"2,"_s);
        QTest::keyClick(vanster, Qt::Key_Return);
        QCOMPARE(vanster->text(), u"2"_s);
        QCOMPARE(f.m.visade.size(), 1);
        QTRY_VERIFY(hoger->hasFocus());
        hoger->clear();
        QTest::keyClick(hoger, Qt::Key_Tab);
        QCOMPARE(f.m.senasteText(), u"Du måste skriva en siffra i fältet Höger marginal!"_s);
        QTRY_VERIFY(hoger->hasFocus());
        Installningsvarden ut;
        flik->hamta(ut);
        QCOMPARE(ut.vansterMarginal, u"2"_s);
        QCOMPARE(ut.layout, Installningsvarden::Layout::Staende);

        s.w<QPushButton>("cmdStandardInstUtskrift")->click(); // No
        QCOMPARE(f.m.senasteText(), u"Vill du ändra utskriftskolumnerna till standard inställningar?"_s);
        QCOMPARE(las().bredd, 9.5);
        QCOMPARE(flik->valdKolumn(), fodelsear);
        f.m.svara(Svar::Ja);
        s.w<QPushButton>("cmdStandardInstUtskrift")->click();
        QCOMPARE(las().bredd, 6.0);
        QVERIFY(!las().enable);
        QVERIFY(lista->selectedItems().isEmpty() && bredd->text().isEmpty());
        QCOMPARE(pa(flik, u"chkFaltMedIUtskrift txtKolumnBredd"_s), QString());
        QCOMPARE(vanster->text() + u' ' + hoger->text(), u"1,2 0"_s);
        QVERIFY(s.w<QRadioButton>("optLayoutLigg")->isChecked());
        // Without rounds the explanations are neither shown nor kept.
        Installningsvarden forklaringar;
        forklaringar.forklaringar = true;
        flik->visa(forklaringar);
        flik->hamta(forklaringar);
        QVERIFY(!forklaringar.forklaringar);
    }

    // --- The challenge prize ---

    // The shots box takes digits, is checked when the operator moves on and
    // brings the shooters' series along; a refused count keeps the focus and
    // goes to the INI as the last accepted one; a pending one is taken when
    // the form closes. Loading the tick asks nothing; switching the prize off
    // asks and No keeps it. From Valda to Alla is asked as the form closes: No
    // chooses Valda again and the series stay.
    void vandringspris() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, Typ::Sportskytte, 10, 1, 3);
        Databas& db = f.g.cnnTavling;
        const auto serier = [&] {
            return db.varde(u"SELECT group_concat(VandringsSerier) FROM Skyttar WHERE Löpnummer <> 1"_s)
                .toString();
        };
        db.kor(u"UPDATE Skyttar SET VandringsSerier = 8 WHERE Startnr IN (1, 3)"_s);
        QVERIFY(f.g.iniTavling.WriteKeys(
            {{"Vandringspris", "Vandringspris", "1"}, {"Vandringspris", "Vilka", "Valda"}}));
        Form s(f, F::Vandringspris);
        auto* flik = s.w<FlikVandringspris>("flikVandringspris");
        auto* skott = s.w<QLineEdit>("txtAntalSkottVandring");
        QVERIFY(flik->serierFanns());
        QVERIFY(
            s.w<QRadioButton>("optValda")->text().contains(u"Valda skyttar                      (Väljs"_s));
        QVERIFY(f.m.visade.isEmpty());

        skott->setFocus();
        skott->clear();
        QTest::keyClicks(skott, u"7x0"_s);
        QCOMPARE(skott->text(), u"70"_s);
        QTest::keyClick(skott, Qt::Key_Return);
        QCOMPARE(f.m.senasteText(), u"Du får inte skriva in fler skott än vad som finns i klasserna.\r\n"
                                    "Högsta antal just nu är Herrar 60 skott."_s);
        QCOMPARE(skott->text(), u"60"_s);
        QCOMPARE(serier(), u"12,0,12"_s);
        skott->setFocus();
        skott->setText(u"5"_s);
        QTest::keyClick(skott, Qt::Key_Tab);
        QCOMPARE(f.m.senasteText(), u"Lägsta antalet skott är 10st"_s);
        QTRY_VERIFY(skott->hasFocus());
        flik->sparaVantande();
        Installningsvarden ut;
        flik->hamta(ut);
        QCOMPARE(ut.antalSkottVandring, u"60"_s);
        skott->setText(u"40"_s);
        flik->sparaVantande();
        QCOMPARE(serier(), u"8,0,8"_s);

        s.w<QCheckBox>("chkVandringspris")->click(); // No
        QVERIFY(s.w<QCheckBox>("chkVandringspris")->isChecked());
        QCOMPARE(serier(), u"8,0,8"_s);
        s.w<QRadioButton>("optAlla")->setChecked(true);
        QVERIFY(s.form->close()); // No
        QCOMPARE(f.m.senasteText(),
                 u"Du har ändrat i vandringspris från valda skyttar till alla!\r\nÄr det rätt?"_s);
        QCOMPARE(f.g.iniTavling.GetKeyValue(u"Vandringspris"_s, u"Vilka"_s, {}), u"Valda"_s);
        QCOMPARE(serier(), u"8,0,8"_s);

        Form igen(f, F::Vandringspris);
        f.m.svara(Svar::Ja);
        igen.w<QCheckBox>("chkVandringspris")->click();
        QVERIFY(!igen.w<QCheckBox>("chkVandringspris")->isChecked());
        QCOMPARE(serier(), u"0,0,0"_s);
    }
};

QTEST_MAIN(TestFlikar)
#include "test_flikar.moc"
