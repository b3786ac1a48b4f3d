#include "competition/Omgangar.h"
#include "settings/FlikOmgangar.h"
#include "settings/Installningsvarden.h"
#include "shell/Rutnat.h"
#include "support/Testfixtur.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>

using Svar = Meddelanden::Svar;

// The competition's rounds: the rules of adding, changing and deleting them,
// and the tab that keeps them.
class TestOmgangar : public QObject {
    Q_OBJECT

    // A competition that uses rounds, with these rounds numbered from 1.
    static Databas& medOmgangar(Testfixtur& f, const QStringList& beskrivningar, int skyttar = 0) {
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Nationellt, 10, 1, skyttar);
        f.g.blnFleraTavlingar = true;
        Databas& db = f.g.cnnTavling;
        db.kor(QStringLiteral("DELETE FROM [Tävlings omg]"));
        for (int i = 0; i < beskrivningar.size(); ++i)
            db.kor(QStringLiteral("INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (?, ?)"),
                   {i + 1, beskrivningar[i]});
        return db;
    }

    static QStringList tabell(const Databas& db) {
        QStringList rader;
        QSqlQuery q = db.kor(QStringLiteral("SELECT Omg, Beskrivning FROM [Tävlings omg] ORDER BY Omg"));
        while (q.next())
            rader << q.value(0).toString() + QLatin1Char('=') + q.value(1).toString();
        return rader;
    }

    static QStringList rutnat(const Rutnat* r) {
        QStringList rader;
        for (int rad = 1; rad <= r->antalRader(); ++rad)
            rader << r->cell(rad, 1) + QLatin1Char('=') + r->cell(rad, 2);
        return rader;
    }

    static void oppna(FlikOmgangar& flik) {
        flik.visa(Installningsvarden{});
        flik.show();
        QApplication::setActiveWindow(&flik);
        QVERIFY(QTest::qWaitForWindowActive(&flik));
    }

private slots:
    // New rounds may repeat neither a number nor a description (letter case
    // ignored); a changed description is not compared.
    void nyaOchAndrade() {
        Testfixtur f;
        Databas& db = medOmgangar(f, {QStringLiteral("Lördag")});
        QVERIFY(!Omgangar::laggTill(db, QStringLiteral(" 3 "), QStringLiteral(" O'Brien cup ")));
        QVERIFY(!Omgangar::laggTill(db, QStringLiteral("+2"), QStringLiteral("Söndag")));
        for (const QString& dubblett :
             {QStringLiteral("2|Måndag"), QStringLiteral("4|LÖRDAG"), QStringLiteral("4|o'brien CUP")}) {
            const std::optional<Omgangar::Vagran> v =
                Omgangar::laggTill(db, dubblett.section(u'|', 0, 0), dubblett.section(u'|', 1));
            QVERIFY2(v, qPrintable(dubblett));
            QCOMPARE(v->text,
                     QStringLiteral("Du får inte skriva in en Omgång/Beskrivning som redan finns!\r\n"
                                    "Skriv in en ny."));
            QCOMPARE(v->titel, QStringLiteral("Dubblett av omgången."));
        }
        QCOMPARE(Omgangar::laggTill(db, QStringLiteral("4"), QStringLiteral("  "))->titel,
                 QStringLiteral("Tomma fält"));

        QVERIFY(!Omgangar::andraBeskrivning(db, 2, QStringLiteral(" lördag ")));
        QVERIFY(Omgangar::andraBeskrivning(db, 7, QStringLiteral("Finns inte")));
        QCOMPARE(tabell(db), (QStringList{QStringLiteral("1=Lördag"), QStringLiteral("2=lördag"),
                                          QStringLiteral("3=O'Brien cup")}));
    }

    void nummerSomVagras() {
        Testfixtur f;
        Databas& db = medOmgangar(f, {QStringLiteral("Lördag")});
        const QString noll = QStringLiteral("Du får inte ha 0 som tävlingsomgång!");
        const QString heltal = QStringLiteral("Tävlingsomgången måste vara ett heltal från 1 till 32767!");
        for (const auto& [text, vagran] : {std::pair{QStringLiteral("0"), noll},
                                           {QStringLiteral("00"), noll},
                                           {QStringLiteral(" 0"), noll},
                                           {QStringLiteral("-3"), noll},
                                           {QStringLiteral("två"), heltal},
                                           {QStringLiteral("1,5"), heltal},
                                           {QStringLiteral("32768"), heltal},
                                           {QStringLiteral("99999999999"), heltal},
                                           {QStringLiteral("٣"), heltal}}) {
            const std::optional<Omgangar::Vagran> v = Omgangar::laggTill(db, text, QStringLiteral("Ny"));
            QVERIFY2(v, qPrintable(text));
            QCOMPARE(v->text, vagran);
            QCOMPARE(v->titel, QStringLiteral("Fel omgång."));
        }
        QCOMPARE(tabell(db), QStringList{QStringLiteral("1=Lördag")});
        QCOMPARE(Omgangar::tolkaNummer(QStringLiteral("007")).omg, 7);
        // The largest number the field has always held is a round number.
        QVERIFY(!Omgangar::laggTill(db, QStringLiteral("32767"), QStringLiteral("Sist")));
        QCOMPARE(tabell(db), (QStringList{QStringLiteral("1=Lördag"), QStringLiteral("32767=Sist")}));
    }

    void borttagVagras() {
        Testfixtur f;
        Databas& db = medOmgangar(f, {QStringLiteral("Lördag")}, 6);
        const std::optional<Omgangar::Vagran> sista = Omgangar::taBort(db, 1);
        QVERIFY(sista);
        QCOMPARE(sista->text, QStringLiteral("Det måste finnas minst en tävling inskriven!"));
        QCOMPARE(sista->titel, QStringLiteral("Radering ej tillåten"));

        Omgangar::laggTill(db, QStringLiteral("2"), QStringLiteral("Söndag"));
        Omgangar::laggTill(db, QStringLiteral("3"), QStringLiteral("Måndag"));
        db.kor(QStringLiteral("UPDATE Skyttar SET Omg = 2 WHERE Startnr BETWEEN 1 AND 4"));
        const std::optional<Omgangar::Vagran> skyttar = Omgangar::taBort(db, 2);
        QVERIFY(skyttar);
        QCOMPARE(skyttar->text, QStringLiteral("Det finns 4st skyttar inskriven på denna omgång!\r\n"
                                               "Du kan inte radera omgången då!"));
        QCOMPARE(skyttar->titel, QStringLiteral("Fel vid radering"));
        QVERIFY(!Omgangar::taBort(db, 3));
        QCOMPARE(tabell(db), (QStringList{QStringLiteral("1=Lördag"), QStringLiteral("2=Söndag")}));
    }

    void nyOmgangPaFliken() {
        Testfixtur f;
        Databas& db = medOmgangar(f, {QStringLiteral("Lördag")});
        db.kor(QStringLiteral("INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (5, 'Final')"));
        FlikOmgangar flik(f.kontext);
        QSignalSpy andrade(&flik, &FlikOmgangar::omgangarAndrade);
        oppna(flik);
        QCOMPARE(rutnat(flik.vbagrTavlingar),
                 (QStringList{QStringLiteral("1=Lördag"), QStringLiteral("5=Final")}));

        QTest::mouseClick(flik.cmdNy, Qt::LeftButton);
        QCOMPARE(flik.cmdNy->text(), QStringLiteral("S&para"));
        QVERIFY(flik.txtOmg->hasFocus() && !flik.mnuNyTavling->isEnabled() && !flik.cmdRadera->isEnabled());
        // Clicks in the grid do not swap the round under an open entry.
        QTest::keyClicks(flik.txtOmg, QStringLiteral("2"));
        flik.vbagrTavlingar->valjRad(2);
        flik.vbagrTavlingar_Click();
        QCOMPARE(flik.txtOmg->text(), QStringLiteral("2"));
        QCOMPARE(flik.lage(), FlikOmgangar::Lage::NyOmgang);

        QTest::keyClick(flik.txtOmg, Qt::Key_Return);
        QVERIFY(flik.txtBeskrivning->hasFocus());
        QTest::keyClicks(flik.txtBeskrivning, QStringLiteral("final"));
        QTest::keyClick(flik.txtBeskrivning, Qt::Key_Return);
        QVERIFY(flik.cmdNy->hasFocus());
        QTest::keyClick(flik.cmdNy, Qt::Key_Return);
        QCOMPARE(f.m.visade.last().titel, QStringLiteral("Dubblett av omgången."));
        QVERIFY(flik.txtOmg->hasFocus());
        QCOMPARE(andrade.count(), 0);

        flik.txtBeskrivning->setText(QStringLiteral("Söndag"));
        QTest::mouseClick(flik.cmdNy, Qt::LeftButton);
        QCOMPARE(andrade.count(), 1);
        QCOMPARE(
            rutnat(flik.vbagrTavlingar),
            (QStringList{QStringLiteral("1=Lördag"), QStringLiteral("2=Söndag"), QStringLiteral("5=Final")}));
        QVERIFY(!flik.txtBeskrivning->isEnabled() && !flik.cmdAvbryt->isEnabled());

        // A change opens only the description and finds its round by the number.
        flik.vbagrTavlingar->valjRad(3);
        QCOMPARE(flik.txtBeskrivning->text(), QStringLiteral("Final"));
        QTest::mouseClick(flik.cmdAndraTavling, Qt::LeftButton);
        QVERIFY(!flik.txtOmg->isEnabled() && flik.txtBeskrivning->hasFocus());
        flik.txtBeskrivning->setText(QStringLiteral("lördag"));
        QTest::mouseClick(flik.cmdNy, Qt::LeftButton);
        QCOMPARE(andrade.count(), 2);
        QCOMPARE(tabell(db), (QStringList{QStringLiteral("1=Lördag"), QStringLiteral("2=Söndag"),
                                          QStringLiteral("5=lördag")}));
    }

    // Round 0 is refused as soon as the operator moves on from the number, by
    // Tab, Enter or a click, and the focus stays in it; a click that took the
    // focus away does nothing. Another window taking the focus is no moving on,
    // and Cancel throws the entry away unchecked.
    void nollVagrasNarFokusLamnarNumret_data() {
        QTest::addColumn<QString>("nummer");
        QTest::addColumn<bool>("vagras");
        QTest::newRow("0") << QStringLiteral("0") << true;
        QTest::newRow("00") << QStringLiteral("00") << true;
        QTest::newRow("+0") << QStringLiteral("+0") << true;
        QTest::newRow("10") << QStringLiteral("10") << false;
        QTest::newRow("tomt") << QString() << false;
    }
    void nollVagrasNarFokusLamnarNumret() {
        QFETCH(QString, nummer);
        QFETCH(bool, vagras);
        const QString noll = QStringLiteral("Du får inte ha 0 som tävlingsomgång!");
        Testfixtur f;
        Databas& db = medOmgangar(f, {QStringLiteral("Lördag")});
        FlikOmgangar flik(f.kontext);
        oppna(flik);
        QTest::mouseClick(flik.cmdNy, Qt::LeftButton);
        QTest::keyClicks(flik.txtOmg, nummer);
        QTest::keyClick(flik.txtOmg, Qt::Key_Tab);
        if (!vagras) {
            QVERIFY(f.m.visade.isEmpty());
            QVERIFY(flik.txtBeskrivning->hasFocus());
            return;
        }
        QCOMPARE(f.m.visade.size(), 1);
        QCOMPARE(f.m.visade[0].text, noll);
        QCOMPARE(f.m.visade[0].titel, QStringLiteral("Fel omgång."));
        QCOMPARE(f.m.visade[0].ikon, Meddelanden::Ikon::Kritisk);
        QTRY_VERIFY(flik.txtOmg->hasFocus());

        QTest::keyClick(flik.txtOmg, Qt::Key_Return);
        QCOMPARE(f.m.visade.size(), 2);
        QTRY_VERIFY(flik.txtOmg->hasFocus());
        flik.txtBeskrivning->setText(QStringLiteral("Söndag"));
        QTest::mouseClick(flik.cmdNy, Qt::LeftButton);
        QTRY_VERIFY(flik.txtOmg->hasFocus());
        const QRect rad = flik.vbagrTavlingar->visualRect(flik.vbagrTavlingar->model()->index(0, 1));
        QTest::mouseClick(flik.vbagrTavlingar->viewport(), Qt::LeftButton, {}, rad.center());
        QTRY_VERIFY(flik.txtOmg->hasFocus());
        QCOMPARE(f.m.visade.size(), 4);
        for (const TestMeddelanden::Visat& v : f.m.visade)
            QCOMPARE(v.text, noll);
        QCOMPARE(flik.lage(), FlikOmgangar::Lage::NyOmgang);
        QCOMPARE(flik.txtOmg->text(), nummer);
        QCOMPARE(tabell(db), QStringList{QStringLiteral("1=Lördag")});

        // A message box or another window taking the focus checks nothing.
        QWidget annat;
        annat.show();
        QApplication::setActiveWindow(&annat);
        QVERIFY(QTest::qWaitForWindowActive(&annat));
        QApplication::setActiveWindow(&flik);
        QVERIFY(QTest::qWaitForWindowActive(&flik));
        QCOMPARE(f.m.visade.size(), 4);

        // Corrected, the number is left and the round saved.
        QTRY_VERIFY(flik.txtOmg->hasFocus());
        flik.txtOmg->setText(QStringLiteral("3"));
        QTest::keyClick(flik.txtOmg, Qt::Key_Return);
        QVERIFY(flik.txtBeskrivning->hasFocus());
        QTest::mouseClick(flik.cmdNy, Qt::LeftButton);
        QCOMPARE(f.m.visade.size(), 4);
        QCOMPARE(tabell(db), (QStringList{QStringLiteral("1=Lördag"), QStringLiteral("3=Söndag")}));
        QCOMPARE(flik.lage(), FlikOmgangar::Lage::Vilande);

        QTest::mouseClick(flik.cmdNy, Qt::LeftButton);
        QTest::keyClicks(flik.txtOmg, nummer);
        QTest::keyClick(flik.txtOmg, Qt::Key_Tab);
        QCOMPARE(f.m.visade.size(), 5);
        QTest::mouseClick(flik.cmdAvbryt, Qt::LeftButton);
        QCOMPARE(f.m.visade.size(), 5);
        QCOMPARE(flik.lage(), FlikOmgangar::Lage::Vilande);
        QVERIFY(flik.txtOmg->text().isEmpty());
    }

    void lamnasUnderInmatning() {
        Testfixtur f;
        Databas& db = medOmgangar(f, {QStringLiteral("Lördag")});
        FlikOmgangar flik(f.kontext);
        oppna(flik);
        // The only round is shown without a delete to offer.
        flik.vbagrTavlingar->valjRad(1);
        QVERIFY(flik.cmdAndraTavling->isEnabled() && !flik.mnuRaderaTavling->isEnabled());

        QTest::mouseClick(flik.cmdNy, Qt::LeftButton);
        flik.txtOmg->setText(QStringLiteral("2"));
        flik.txtBeskrivning->setText(QStringLiteral("Söndag"));
        flik.lamnas();
        QCOMPARE(flik.lage(), FlikOmgangar::Lage::Vilande);
        QCOMPARE(flik.cmdNy->text(), QStringLiteral("&Ny tävling"));
        QVERIFY(flik.txtOmg->text().isEmpty() && !flik.txtOmg->isEnabled() && flik.mnuNyTavling->isEnabled());
        QCOMPARE(tabell(db), QStringList{QStringLiteral("1=Lördag")});

        // A delete that reaches the tab anyway still refuses the last round.
        flik.cmdRadera_Click();
        QCOMPARE(f.m.senasteText(), QStringLiteral("Det måste finnas minst en tävling inskriven!"));
    }

    void raderingsfragan() {
        Testfixtur f;
        Databas& db = medOmgangar(f, {QStringLiteral("Lördag"), QStringLiteral("Söndag")});
        FlikOmgangar flik(f.kontext);
        QSignalSpy andrade(&flik, &FlikOmgangar::omgangarAndrade);
        oppna(flik);
        flik.vbagrTavlingar->valjRad(2);
        QVERIFY(flik.cmdRadera->isEnabled());
        f.m.svara(Svar::Nej);
        QTest::mouseClick(flik.cmdRadera, Qt::LeftButton);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Vill du verkligen radera Tävlingen: Söndag"));
        QCOMPARE(f.m.visade.last().titel, QStringLiteral("Bekräfta radering"));
        QCOMPARE(flik.txtBeskrivning->text(), QStringLiteral("Söndag"));
        QCOMPARE(tabell(db).size(), 2);

        f.m.svara(Svar::Ja);
        QTest::mouseClick(flik.cmdRadera, Qt::LeftButton);
        QCOMPARE(tabell(db), QStringList{QStringLiteral("1=Lördag")});
        QCOMPARE(rutnat(flik.vbagrTavlingar), QStringList{QStringLiteral("1=Lördag")});
        QVERIFY(flik.txtBeskrivning->text().isEmpty() && !flik.cmdRadera->isEnabled());
        QCOMPARE(andrade.count(), 0);
    }
};

QTEST_MAIN(TestOmgangar)
#include "test_omgangar.moc"
