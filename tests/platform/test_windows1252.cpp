#include "platform/Windows1252.h"

#include <QTest>

class TestWindows1252 : public QObject {
    Q_OBJECT
private slots:
    // Each byte of 0x80..0x9F that Windows defines, with its character written out,
    // so that a wrong or misplaced entry of the table shows in both directions.
    void tecknen80till9F_data() {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("tecken");
        const struct {
            int byte, tecken;
        } rader[] = {{0x80, 0x20AC}, {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E}, {0x85, 0x2026},
                     {0x86, 0x2020}, {0x87, 0x2021}, {0x88, 0x02C6}, {0x89, 0x2030}, {0x8A, 0x0160},
                     {0x8B, 0x2039}, {0x8C, 0x0152}, {0x8E, 0x017D}, {0x91, 0x2018}, {0x92, 0x2019},
                     {0x93, 0x201C}, {0x94, 0x201D}, {0x95, 0x2022}, {0x96, 0x2013}, {0x97, 0x2014},
                     {0x98, 0x02DC}, {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A}, {0x9C, 0x0153},
                     {0x9E, 0x017E}, {0x9F, 0x0178}};
        for (const auto& r : rader)
            QTest::addRow("0x%X", r.byte) << r.byte << r.tecken;
    }
    void tecknen80till9F() {
        QFETCH(int, byte);
        QFETCH(int, tecken);
        const QByteArray b(1, static_cast<char>(byte));
        const QString t(QChar(static_cast<char16_t>(tecken)));
        QCOMPARE(Windows1252::tillText(b), t);
        QCOMPARE(Windows1252::tillBytes(t), b);
        QVERIFY(Windows1252::rymmer(t));
    }

    // The five bytes Windows leaves undefined read as the C1 control of the same
    // number and are written back as the same byte, so no byte of a file is lost.
    void odefinieradeByteBehalls() {
        const QByteArray odefinierade("\x81\x8D\x8F\x90\x9D");
        const QString text = Windows1252::tillText(odefinierade);
        QCOMPARE(text, QStringView(u"\u0081\u008D\u008F\u0090\u009D").toString());
        QVERIFY(Windows1252::rymmer(text));
        QCOMPARE(Windows1252::tillBytes(text), odefinierade);

        QByteArray allaByte;
        for (int b = 0; b < 256; ++b)
            allaByte.append(static_cast<char>(b));
        const QString allaTecken = Windows1252::tillText(allaByte);
        QCOMPARE(allaTecken.size(), 256);
        QCOMPARE(Windows1252::tillBytes(allaTecken), allaByte);
    }

    void svenskaBokstaver() {
        const QByteArray bytes("\xe5\xe4\xf6\xc5\xc4\xd6");
        QCOMPARE(Windows1252::tillText(bytes), QStringLiteral("åäöÅÄÖ"));
        QCOMPARE(Windows1252::tillBytes(QStringLiteral("åäöÅÄÖ")), bytes);
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
