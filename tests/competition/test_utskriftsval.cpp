#include "competition/Utskriftsval.h"
#include "settings/FlikUtskrift.h"
#include "settings/Installningsvarden.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Utskriftsval;

namespace {

struct Miljo {
    Testfixtur f;
    Miljo() { f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 10, 1, 0); }
    Databas& db() { return f.g.cnnTavling; }
    Kolumn las(const QString& listnamn) { return *hamta(db(), listnamn); }
};

const QString Namn = QStringLiteral("Namn");           // always printed
const QString Fodelsear = QStringLiteral("Födelseår"); // printed when ticked

// The list row of a column.
int rad(const FlikUtskrift& flik, const QString& listnamn) {
    for (int i = 0; i < flik.lstUtskriftsKolumner->count(); ++i)
        if (flik.lstUtskriftsKolumner->item(i)->text() == listnamn)
            return i;
    return -1;
}

} // namespace

class TestUtskriftsval : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void alltidUtskrivenBehallerSinBock() {
        Miljo mj;
        QVERIFY(mj.las(Namn).alltidEnable);
        QVERIFY(!sparaMed(mj.db(), Namn, false));
        QVERIFY(sparaBredd(mj.db(), Namn, QStringLiteral("30")));
        QVERIFY(mj.las(Namn).enable);
        QCOMPARE(mj.las(Namn).bredd, 30.0);

        QVERIFY(sparaMed(mj.db(), Fodelsear, true));
        QVERIFY(mj.las(Fodelsear).enable);
        // Nothing changed, nothing written.
        QVERIFY(!sparaMed(mj.db(), Fodelsear, true));
        QVERIFY(!sparaBredd(mj.db(), Fodelsear, QStringLiteral("6,0")));
        QVERIFY(!sparaBredd(mj.db(), Fodelsear, QStringLiteral("  ")));
        QCOMPARE(mj.las(Fodelsear).bredd, 6.0);
    }

    void breddenVisasOchSparasLikaIAllaLokaler_data() {
        QTest::addColumn<QString>("lokal");
        QTest::newRow("svensk") << "sv_SE";
        QTest::newRow("engelsk") << "en_US";
        QTest::newRow("tysk") << "de_DE";
    }
    void breddenVisasOchSparasLikaIAllaLokaler() {
        QFETCH(QString, lokal);
        Miljo mj;
        QLocale::setDefault(QLocale(lokal));
        QCOMPARE(breddText(12.5), QStringLiteral("12,5"));
        QVERIFY(sparaBredd(mj.db(), Fodelsear, QStringLiteral(" 13,5 ")));
        QCOMPARE(mj.las(Fodelsear).bredd, 13.5);
        QVERIFY(sparaBredd(mj.db(), Fodelsear, QStringLiteral("14.25")));
        QCOMPARE(mj.las(Fodelsear).bredd, 14.25);
        QCOMPARE(felnummer([&] { sparaBredd(mj.db(), Fodelsear, QStringLiteral("1,2,3")); }), 13);
        QCOMPARE(mj.las(Fodelsear).bredd, 14.25);
    }

    void standardAterstallerVarjeRad() {
        Miljo mj;
        mj.db().kor(QStringLiteral("UPDATE Utskriftsval SET Bredd = Bredd + 7, Enable = 1 - Enable"));
        standard(mj.db());
        QSqlQuery q = mj.db().kor(QStringLiteral(
            "SELECT COUNT(*) FROM Utskriftsval WHERE Bredd <> StandardBredd OR Enable <> StandardEnable"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
        QCOMPARE(mj.las(Namn).bredd, 24.0);
    }

    // --- The tab ---

    void kolumnensBoxarSkrivsNarManGarVidare() {
        Miljo mj;
        FlikUtskrift flik(mj.f.kontext);
        flik.visa(Installningsvarden{});
        flik.show();
        QVERIFY(QTest::qWaitForWindowActive(&flik));
        QVERIFY(!flik.chkFaltMedIUtskrift->isEnabled() && !flik.txtKolumnBredd->isEnabled());

        flik.lstUtskriftsKolumner->setCurrentRow(rad(flik, Namn));
        QVERIFY(flik.chkFaltMedIUtskrift->isChecked());
        QVERIFY(!flik.chkFaltMedIUtskrift->isEnabled());
        QCOMPARE(flik.txtKolumnBredd->text(), QStringLiteral("24"));

        flik.lstUtskriftsKolumner->setCurrentRow(rad(flik, Fodelsear));
        QCOMPARE(flik.valdKolumn(), Fodelsear);
        QVERIFY(flik.chkFaltMedIUtskrift->isEnabled());
        flik.chkFaltMedIUtskrift->setFocus();
        QTest::keyClick(flik.chkFaltMedIUtskrift, Qt::Key_Space);
        QVERIFY(!mj.las(Fodelsear).enable); // written only on leaving
        QTest::keyClick(flik.chkFaltMedIUtskrift, Qt::Key_Return);
        QVERIFY(mj.las(Fodelsear).enable);
        QVERIFY(flik.txtKolumnBredd->hasFocus());

        // A comma only after a digit, and only one.
        flik.txtKolumnBredd->clear();
        QTest::keyClicks(flik.txtKolumnBredd, QStringLiteral(",7,5,x."));
        QCOMPARE(flik.txtKolumnBredd->text(), QStringLiteral("7,5"));
        QTest::keyClick(flik.txtKolumnBredd, Qt::Key_Tab);
        QCOMPARE(mj.las(Fodelsear).bredd, 7.5);

        flik.txtKolumnBredd->setFocus();
        flik.txtKolumnBredd->clear();
        QTest::keyClick(flik.txtKolumnBredd, Qt::Key_Tab);
        QCOMPARE(mj.f.m.senasteText(), QStringLiteral("Du måste skriva en siffra i fältet Kolumnbredd!"));
        QCOMPARE(mj.f.m.visade.last().titel, QStringLiteral("Tomt fält"));
        QTRY_VERIFY(flik.txtKolumnBredd->hasFocus());
        QCOMPARE(mj.las(Fodelsear).bredd, 7.5);

        // Closing writes a pending width that is a number.
        flik.txtKolumnBredd->setText(QStringLiteral("9,5"));
        flik.sparaVantande();
        QCOMPARE(mj.las(Fodelsear).bredd, 9.5);
    }

    void marginalerKontrollerasNarManLamnarDem() {
        Miljo mj;
        FlikUtskrift flik(mj.f.kontext);
        Installningsvarden v;
        v.vansterMarginal = QStringLiteral("1,2");
        v.hogerMarginal = QStringLiteral("0");
        v.layout = Installningsvarden::Layout::Staende;
        flik.visa(v);
        flik.show();
        QVERIFY(QTest::qWaitForWindowActive(&flik));
        QVERIFY(flik.optLayoutSta->isChecked());

        flik.txtVansterMarg->setFocus();
        flik.txtVansterMarg->clear();
        QTest::keyClicks(flik.txtVansterMarg, QStringLiteral("2,"));
        QTest::keyClick(flik.txtVansterMarg, Qt::Key_Return);
        QCOMPARE(flik.txtVansterMarg->text(), QStringLiteral("2"));
        QVERIFY(mj.f.m.visade.isEmpty());

        flik.txtHogerMarg->setFocus();
        flik.txtHogerMarg->clear();
        QTest::keyClick(flik.txtHogerMarg, Qt::Key_Tab);
        QCOMPARE(mj.f.m.senasteText(), QStringLiteral("Du måste skriva en siffra i fältet Höger marginal!"));
        QTRY_VERIFY(flik.txtHogerMarg->hasFocus());

        Installningsvarden ut;
        flik.hamta(ut);
        QCOMPARE(ut.vansterMarginal, QStringLiteral("2"));
        QCOMPARE(ut.layout, Installningsvarden::Layout::Staende);
    }

    void standardknappen() {
        Miljo mj;
        mj.db().kor(QStringLiteral("UPDATE Utskriftsval SET Bredd = 3"));
        FlikUtskrift flik(mj.f.kontext);
        Installningsvarden v;
        v.vansterMarginal = QStringLiteral("3");
        v.layout = Installningsvarden::Layout::Staende;
        flik.visa(v);
        flik.lstUtskriftsKolumner->setCurrentRow(rad(flik, Fodelsear));

        flik.cmdStandardInstUtskrift->click(); // No
        QCOMPARE(mj.f.m.senasteText(),
                 QStringLiteral("Vill du ändra utskriftskolumnerna till standard inställningar?"));
        QCOMPARE(mj.las(Fodelsear).bredd, 3.0);
        QCOMPARE(flik.valdKolumn(), Fodelsear);

        mj.f.m.svara(Meddelanden::Svar::Ja);
        flik.cmdStandardInstUtskrift->click();
        QCOMPARE(mj.las(Fodelsear).bredd, 6.0);
        QCOMPARE(mj.las(Namn).bredd, 24.0);
        QVERIFY(flik.lstUtskriftsKolumner->selectedItems().isEmpty());
        QVERIFY(!flik.chkFaltMedIUtskrift->isEnabled() && !flik.txtKolumnBredd->isEnabled());
        QVERIFY(flik.txtKolumnBredd->text().isEmpty());
        QCOMPARE(flik.txtVansterMarg->text(), QStringLiteral("1,2"));
        QCOMPARE(flik.txtHogerMarg->text(), QStringLiteral("0"));
        QVERIFY(flik.optLayoutLigg->isChecked());
    }

    void forklaringarBaraMedOmgangar() {
        Miljo mj;
        Installningsvarden v;
        v.forklaringar = true;
        {
            FlikUtskrift flik(mj.f.kontext);
            flik.visa(v);
            QVERIFY(!flik.chkForklaringar->isVisibleTo(&flik));
            Installningsvarden ut;
            ut.forklaringar = true;
            flik.hamta(ut);
            QVERIFY(!ut.forklaringar);
        }
        mj.f.g.blnFleraTavlingar = true;
        FlikUtskrift flik(mj.f.kontext);
        flik.visa(v);
        QVERIFY(flik.chkForklaringar->isVisibleTo(&flik));
        QVERIFY(flik.chkForklaringar->isChecked());
    }
};

QTEST_MAIN(TestUtskriftsval)
#include "test_utskriftsval.moc"
