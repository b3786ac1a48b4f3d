#include "common/IniNamn.h"
#include "printouts/Registrering.h"
#include "shell/Fonsternamn.h"
#include "support/Testfixtur.h"
#include "support/Textplats.h"
#include "support/Widget.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Utskriftsmal)

namespace {

const QList<Meny> Listmenyer{Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning};

// A competition of three squads with the printouts registered.
struct Miljo : Testfixtur {
    explicit Miljo(bool omgangar) {
        skapaTavling(u"Cup"_s, NyTavling::Typ::Nationellt, 2, 3, 4);
        g.blnFleraTavlingar = omgangar;
        Utskrifter::registrera(delar());
        for (Meny meny : Listmenyer)
            fonster.sattMeny(meny, true);
    }
    // Opened and made active, as the operator meets it.
    QWidget* oppna(Utskriftsmal mal = Utskriftsmal::Fil) {
        QWidget* w = fonster.visaFonster(Fonsternamn::UtskriftSkjutlag, mal);
        if (w)
            kontext.meddelaAktivering(w);
        return w;
    }
    QList<bool> listmenyer() const {
        QList<bool> l;
        for (Meny meny : Listmenyer)
            l << fonster.menyPa(meny);
        return l;
    }
    QString fil() const { return g.strTavlingsmapp + u"Utskrifter/Skjutlagslista_Fil.xlsx"_s; }
    QString forklaringar() const {
        return g.iniTavling.GetKeyValue(Ini::Forklaringar.sektion, Ini::Forklaringar.nyckel, u"saknas"_s);
    }
};

QStringList synliga(QWidget* w) {
    QStringList namn;
    for (const char* n : {"lblAllaValj", "lblVilket", "txtVilketlag", "chkForklaringar", "cmdValj", "cmdAlla",
                          "cmdSkrivut", "cmdAngra"})
        if (widget<QWidget>(w, n)->isVisibleTo(w))
            namn << QString::fromLatin1(n);
    return namn;
}

void skriv(QWidget* w, const QString& text) {
    auto* t = widget<QLineEdit>(w, "txtVilketlag");
    t->setText(text);
    QTest::keyClick(t, Qt::Key_Return);
}

} // namespace

class TestFrmUtskriftSkjutlag : public QObject {
    Q_OBJECT
private slots:
    // The two modes, with and without rounds: size, what shows, where the
    // buttons stand.
    void lagen_data() {
        QTest::addColumn<bool>("omgangar");
        QTest::addColumn<int>("hojd");
        QTest::addColumn<int>("knapparnasTopp");
        QTest::addColumn<QStringList>("alla");
        QTest::addColumn<QStringList>("ett");
        const QStringList fast{u"cmdValj"_s, u"cmdAlla"_s, u"cmdAngra"_s};
        QTest::newRow("omgångar") << true << 2205 << 1320
                                  << QStringList{u"lblAllaValj"_s, u"chkForklaringar"_s} + fast
                                  << QStringList{u"lblVilket"_s, u"txtVilketlag"_s, u"chkForklaringar"_s,
                                                 u"cmdSkrivut"_s, u"cmdAngra"_s};
        QTest::newRow("utan omgångar")
            << false << 1845 << 840 << QStringList{u"lblAllaValj"_s} + fast
            << QStringList{u"lblVilket"_s, u"txtVilketlag"_s, u"cmdSkrivut"_s, u"cmdAngra"_s};
    }
    void lagen() {
        QFETCH(bool, omgangar);
        QFETCH(int, hojd);
        QFETCH(int, knapparnasTopp);
        Miljo mj(omgangar);
        QWidget* w = mj.oppna();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), u"Utskrift skjutlag"_s);
        QCOMPARE(w->size(), QSize(4320 / 15, hojd / 15));
        for (const char* knapp : {"cmdValj", "cmdAlla", "cmdSkrivut", "cmdAngra"})
            QCOMPARE(widget<QPushButton>(w, knapp)->y(), knapparnasTopp / 15);
        QTEST(synliga(w), "alla");
        widget<QPushButton>(w, "cmdValj")->click();
        QTEST(synliga(w), "ett");
    }

    // Texts and tips as the operator reads them, and the order Tab takes.
    void texter() {
        Miljo mj(true);
        QWidget* w = mj.oppna();
        const auto text = [&](const char* n) {
            if (auto* b = qobject_cast<QAbstractButton*>(widget<QWidget>(w, n)))
                return b->text();
            if (auto* l = qobject_cast<QLabel*>(widget<QWidget>(w, n)))
                return l->text();
            return QString();
        };
        QCOMPARE((QStringList{text("lblAllaValj"), text("lblVilket"), text("lblForklaringar"),
                              text("cmdValj"), text("cmdAlla"), text("cmdSkrivut"), text("cmdAngra")}),
                 (QStringList{u"Vill du skriva ut alla skjutlag eller välja vilka som ska skrivas ut?"_s,
                              u"Vilket skjutlag vill du skriva ut?"_s,
                              u"Skriv ut en sida med förklaringar till omgångarna."_s, u"&Välj"_s, u"&Alla"_s,
                              u"&Skriv ut"_s, u"Å&tergå"_s}));
        QStringList tips;
        for (const char* n : {"txtVilketlag", "chkForklaringar", "lblForklaringar", "cmdValj", "cmdAlla",
                              "cmdSkrivut", "cmdAngra"})
            tips << widget<QWidget>(w, n)->toolTip();
        QCOMPARE(tips,
                 (QStringList{
                     u"Vilket skjutlag ska skrivas ut?"_s,
                     u"SKa det skrivas ut en sida på slutet med förklaringar till dom olika omgångarna?"_s,
                     u"SKa det skrivas ut en sida på slutet med förklaringar till dom olika omgångarna?"_s,
                     u"Välj ett skjutlag att skriva ut."_s, u"Skriv ut alla skjutlag."_s,
                     u"Skriv ut valt skjutlag."_s, u"Återgå."_s}));
        QStringList ordning;
        for (QWidget* v = widget<QWidget>(w, "txtVilketlag"); ordning.size() < 6; v = v->nextInFocusChain())
            if (v->parentWidget() == w)
                ordning << v->objectName();
        QCOMPARE(ordning, (QStringList{u"txtVilketlag"_s, u"chkForklaringar"_s, u"cmdValj"_s, u"cmdSkrivut"_s,
                                       u"cmdAlla"_s, u"cmdAngra"_s}));
    }

    // Every text shows whole, in both modes, with and without rounds.
    void texternaFarPlats_data() {
        QTest::addColumn<bool>("omgangar");
        QTest::newRow("omgångar") << true;
        QTest::newRow("utan omgångar") << false;
    }
    void texternaFarPlats() {
        QFETCH(bool, omgangar);
        Miljo mj(omgangar);
        QWidget* w = mj.oppna();
        w->show();
        QCOMPARE(kaptaTexter(w), QString());
        // The explanation's text ticks its box as the box does.
        if (omgangar) {
            auto* chk = widget<QCheckBox>(w, "chkForklaringar");
            const bool fore = chk->isChecked();
            QTest::mouseClick(widget<QLabel>(w, "lblForklaringar"), Qt::LeftButton);
            QCOMPARE(chk->isChecked(), !fore);
        }
        widget<QPushButton>(w, "cmdValj")->click();
        QCOMPARE(kaptaTexter(w), QString());
    }

    // The hourglass is up from loading until the dialog is first active, and
    // gone as well when the dialog closes without ever being active.
    void timglas_data() {
        QTest::addColumn<bool>("aktiveras");
        QTest::newRow("aktiveras") << true;
        QTest::newRow("stängs utan att aktiveras") << false;
    }
    void timglas() {
        QFETCH(bool, aktiveras);
        Miljo mj(true);
        QPointer<QWidget> w = mj.fonster.visaFonster(Fonsternamn::UtskriftSkjutlag, Utskriftsmal::Fil);
        QVERIFY(w);
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        if (aktiveras) {
            mj.kontext.meddelaAktivering(w);
            QVERIFY(!QApplication::overrideCursor());
            mj.kontext.meddelaAktivering(w);
        }
        widget<QPushButton>(w, "cmdAngra")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w);
        QVERIFY(!QApplication::overrideCursor());
    }

    // One squad: Enter runs the list for the squad typed; what is no squad
    // is refused and kept to be put right; an empty box does nothing.
    void ettSkjutlag_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("sparas");
        QTest::newRow("sista") << u"3"_s << true;
        QTest::newRow("blanka runt") << u" 2"_s << true;
        QTest::newRow("ett för högt") << u"4"_s << false;
        QTest::newRow("noll") << u"0"_s << false;
        QTest::newRow("text") << u"två"_s << false;
    }
    void ettSkjutlag() {
        QFETCH(QString, text);
        QFETCH(bool, sparas);
        Miljo mj(false);
        QWidget* w = mj.oppna();
        widget<QPushButton>(w, "cmdValj")->click();
        skriv(w, QString());
        QVERIFY(mj.m.visade.isEmpty());
        skriv(w, text);
        QCOMPARE(QFile::exists(mj.fil()), sparas);
        QCOMPARE(mj.m.visade.size(), 1);
        if (sparas) {
            QCOMPARE(mj.m.visade[0].text,
                     u"Filen spardes i:\r\n"_s +
                         QDir::toNativeSeparators(mj.g.strTavlingsmapp + u"Utskrifter"_s));
            QCOMPARE(widget<QLineEdit>(w, "txtVilketlag")->text(), QString());
        } else {
            QCOMPARE(mj.m.visade[0].text, u"Skjutlaget finns inte!"_s);
            QCOMPARE(mj.m.visade[0].titel, u"Fel"_s);
            QCOMPARE(mj.m.visade[0].ikon, Meddelanden::Ikon::Kritisk);
            QCOMPARE(widget<QLineEdit>(w, "txtVilketlag")->text(), text);
        }
        QVERIFY(w->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }

    // All squads; the busy cursor and the disabled dialog only while it runs,
    // and gone again when the file cannot be written.
    void allaSkjutlag_data() {
        QTest::addColumn<bool>("spard");
        QTest::newRow("sparad") << false;
        QTest::newRow("mappen spärrad") << true;
    }
    void allaSkjutlag() {
        QFETCH(bool, spard);
        Miljo mj(false);
        QWidget* w = mj.oppna();
        if (spard) {
            // A file where the folder should be: nothing can be saved.
            QDir().rmdir(mj.g.strTavlingsmapp + u"Utskrifter"_s);
            QFile f(mj.g.strTavlingsmapp + u"Utskrifter"_s);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        widget<QPushButton>(w, "cmdAlla")->click();
        QCOMPARE(QFile::exists(mj.fil()), !spard);
        QCOMPARE(mj.m.visade.size(), 1);
        QCOMPARE(mj.m.visade[0].text.startsWith(u"Filen spardes i:"_s), !spard);
        QVERIFY(w->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }

    // The explanation choice is read from the competition and written back
    // only when its box was shown; the menus are off while the dialog is open.
    void forklaringarOchMenyer_data() {
        QTest::addColumn<bool>("omgangar");
        QTest::addColumn<QString>("fore");
        QTest::addColumn<bool>("bockad");
        QTest::addColumn<QString>("efter");
        QTest::newRow("omgångar, ikryssad") << true << u"1"_s << true << u"0"_s;
        QTest::newRow("omgångar, urkryssad") << true << u"0"_s << false << u"1"_s;
        QTest::newRow("utan omgångar") << false << u"1"_s << false << u"1"_s;
    }
    void forklaringarOchMenyer() {
        QFETCH(bool, omgangar);
        QFETCH(QString, fore);
        QFETCH(bool, bockad);
        Miljo mj(omgangar);
        QVERIFY(mj.g.iniTavling.WriteKey(Ini::Forklaringar.sektion, Ini::Forklaringar.nyckel, fore));
        QPointer<QWidget> w = mj.oppna(Utskriftsmal::Printer);
        QCOMPARE(mj.listmenyer(), (QList<bool>{false, false, false}));
        auto* chk = widget<QCheckBox>(w, "chkForklaringar");
        QCOMPARE(chk->isChecked(), bockad);
        if (chk->isVisibleTo(w))
            chk->click();
        widget<QPushButton>(w, "cmdAngra")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w);
        QTEST(mj.forklaringar(), "efter");
        QCOMPARE(mj.listmenyer(), (QList<bool>{true, true, true}));
    }
};

QTEST_MAIN(TestFrmUtskriftSkjutlag)
#include "test_frmutskriftskjutlag.moc"
