#include "common/Fel.h"
#include "common/Konvertering.h"

#include <QLocale>
#include <QTest>

using namespace Konvertering;

class TestKonvertering : public QObject {
    Q_OBJECT
private slots:
    void jaNej_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("varde");
        QTest::newRow("True") << "True" << true;
        QTest::newRow("true") << "true" << true;
        QTest::newRow("FALSE") << "FALSE" << false;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("-1") << "-1" << true;
        QTest::newRow("2,5") << "2,5" << true;
        QTest::newRow("blanks") << " 0 " << false;
    }
    void jaNej() {
        QFETCH(QString, text);
        QFETCH(bool, varde);
        QCOMPARE(textTillJaNej(text), varde);
    }

    void jaNejFel() {
        for (const QString& t : {QString(), QStringLiteral("Ja"), QStringLiteral("x1")}) {
            try {
                textTillJaNej(t);
                QFAIL(qPrintable(t));
            } catch (const Fel& f) {
                QCOMPARE(f.nummer(), 13);
            }
        }
    }

    // The separator in the file is a comma; the machine's locale must not matter.
    void decimalOberoendeAvLocale() {
        for (const char* namn : {"sv_SE", "en_US", "C"}) {
            QLocale::setDefault(QLocale(QString::fromLatin1(namn)));
            QCOMPARE(textTillDecimal(QStringLiteral("10,3")), 10.3);
            QCOMPARE(textTillDecimal(QStringLiteral("10.3")), 10.3);
            QCOMPARE(textTillDecimal(QStringLiteral(" 1,2 ")), 1.2);
            QCOMPARE(decimalTillText(10.3), QStringLiteral("10,3"));
        }
        QLocale::setDefault(QLocale::c());
        QVERIFY_THROWS_EXCEPTION(Fel, textTillDecimal(QStringLiteral("tio")));
        QVERIFY_THROWS_EXCEPTION(Fel, textTillDecimal(QString()));
    }

    void heltal() {
        QCOMPARE(textTillHeltal(QStringLiteral("10")), 10);
        QCOMPARE(textTillHeltal(QStringLiteral("999")), 999);
        QCOMPARE(textTillHeltal(QStringLiteral("2,5")), 2);
        QCOMPARE(textTillHeltal(QStringLiteral("3,5")), 4);
        try {
            textTillHeltal(QStringLiteral("40000"));
            QFAIL("overflow");
        } catch (const Fel& f) {
            QCOMPARE(f.nummer(), 6);
        }
        QVERIFY_THROWS_EXCEPTION(Fel, textTillHeltal(QStringLiteral("tio")));
    }

    void textregler() {
        QVERIFY(lagtavlingPa(QStringLiteral("1")));
        QVERIFY(lagtavlingPa(QString()));
        QVERIFY(lagtavlingPa(QStringLiteral("False")));
        QVERIFY(!lagtavlingPa(QStringLiteral("0")));
        QVERIFY(lagsortValPa(QStringLiteral("True")));
        QVERIFY(!lagsortValPa(QStringLiteral("true")));
        QVERIFY(!lagsortValPa(QStringLiteral("1")));
    }
};

QTEST_GUILESS_MAIN(TestKonvertering)
#include "test_konvertering.moc"
