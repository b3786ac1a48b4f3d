#include "competition/Utskriftsval.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace Utskriftsval;

namespace {

struct Miljo {
    Testfixtur f;
    Miljo() { f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 10, 1, 0); }
    Databas& db() { return f.g.cnnTavling; }
    Kolumn las(const QString& listnamn) { return *hamta(db(), listnamn); }
};

const QString Namn = u"Namn"_s;           // always printed
const QString Fodelsear = u"Födelseår"_s; // printed when ticked

} // namespace

class TestUtskriftsval : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void alltidUtskrivenBehallerSinBock() {
        Miljo mj;
        QVERIFY(mj.las(Namn).alltidEnable);
        QVERIFY(!sparaMed(mj.db(), Namn, false));
        QVERIFY(sparaBredd(mj.db(), Namn, u"30"_s));
        QVERIFY(mj.las(Namn).enable);
        QCOMPARE(mj.las(Namn).bredd, 30.0);

        QVERIFY(sparaMed(mj.db(), Fodelsear, true));
        QVERIFY(mj.las(Fodelsear).enable);
        // Nothing changed, nothing written.
        QVERIFY(!sparaMed(mj.db(), Fodelsear, true));
        QVERIFY(!sparaBredd(mj.db(), Fodelsear, u"6,0"_s));
        QVERIFY(!sparaBredd(mj.db(), Fodelsear, u"  "_s));
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
        QCOMPARE(breddText(12.5), u"12,5"_s);
        QVERIFY(sparaBredd(mj.db(), Fodelsear, u" 13,5 "_s));
        QCOMPARE(mj.las(Fodelsear).bredd, 13.5);
        QVERIFY(sparaBredd(mj.db(), Fodelsear, u"14.25"_s));
        QCOMPARE(mj.las(Fodelsear).bredd, 14.25);
        QCOMPARE(felnummer([&] { sparaBredd(mj.db(), Fodelsear, u"1,2,3"_s); }), 13);
        QCOMPARE(mj.las(Fodelsear).bredd, 14.25);
    }

    // The lists find a column by the field it prints, which for the shooter
    // card is not the name the operator sees.
    void kolumnHittasPaFaltnamn() {
        Miljo mj;
        QCOMPARE(hamtaFalt(mj.db(), u"SkyttekortNr"_s)->listnamn, u"Skyttekort nr"_s);
        QCOMPARE(hamtaFalt(mj.db(), u"Förening"_s)->bredd, 20.0);
        QVERIFY(!hamtaFalt(mj.db(), u"Skyttekort nr"_s));
        mj.db().kor(u"DELETE FROM Utskriftsval WHERE FältNamn = 'Födelseår'"_s);
        QVERIFY(!hamtaFalt(mj.db(), Fodelsear));
    }

    void standardAterstallerVarjeRad() {
        Miljo mj;
        mj.db().kor(u"UPDATE Utskriftsval SET Bredd = Bredd + 7, Enable = 1 - Enable"_s);
        standard(mj.db());
        QSqlQuery q = mj.db().kor(
            u"SELECT COUNT(*) FROM Utskriftsval WHERE Bredd <> StandardBredd OR Enable <> StandardEnable"_s);
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
        QCOMPARE(mj.las(Namn).bredd, 24.0);
    }
};

QTEST_MAIN(TestUtskriftsval)
#include "test_utskriftsval.moc"
