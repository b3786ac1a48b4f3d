#include "competition/Utskriftsval.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"

#include <QLocale>
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
};

QTEST_MAIN(TestUtskriftsval)
#include "test_utskriftsval.moc"
