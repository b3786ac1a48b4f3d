#include "platform/Windows1252.h"

#include <QStringDecoder>
#include <QTest>

class TestWindows1252 : public QObject {
    Q_OBJECT
private slots:
    // Every byte reads as the system's own Windows-1252 table has it, the five
    // bytes the code page leaves undefined as the C1 control of the same number,
    // and is written back as the same byte, so no byte of a file is lost.
    void allaByteSomSystemetsTabell() {
        QByteArray allaByte;
        for (int b = 0; b < 256; ++b)
            allaByte.append(static_cast<char>(b));
        QStringDecoder systemet("windows-1252");
        QVERIFY(systemet.isValid());
        const QString text = Windows1252::tillText(allaByte);
        QCOMPARE(text, systemet.decode(allaByte));
        QCOMPARE(Windows1252::tillBytes(text), allaByte);
        QVERIFY(Windows1252::rymmer(text));
    }

    // A character outside the code page is one "?", also one outside the BMP.
    void tecknenUtanforBlirFragetecken() {
        QCOMPARE(Windows1252::tillBytes(QStringLiteral("Łódź")), QByteArray("?\xf3"
                                                                            "d?"));
        QCOMPARE(Windows1252::tillBytes(QStringLiteral("a🎯b")), QByteArray("a?b"));
        QVERIFY(!Windows1252::rymmer(QStringLiteral("Łódź")));
        QVERIFY(!Windows1252::rymmer(QStringLiteral("🎯")));
        QVERIFY(Windows1252::rymmer(QStringLiteral("Åsa Öberg – “Väst” €5")));
    }
};

QTEST_GUILESS_MAIN(TestWindows1252)
#include "test_windows1252.moc"
