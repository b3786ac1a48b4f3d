#include "platform/Windows1252.h"
#include "spectator/SkapaTCPData.h"
#include "support/Askadarstod.h"
#include "support/Testfel.h"

// The squad message as the display receives it: a real client on loopback reads
// the bytes the feed sends.
class TestSkapaTCPData : public QObject {
    Q_OBJECT

    static QByteArray ansi(const QString& text) { return Windows1252::tillBytes(text); }

    // A sport competition with the example's shooter on lane 1 of squad 3.
    static void exempel(Flodesmiljo& f) {
        f.g.cnnTavling.kor(
            QStringLiteral(
                "INSERT INTO Sportskytteklasser (Klass, Klassnamn, [Antal skott]) VALUES (?, ?, ?)"),
            {QStringLiteral("D15"), QStringLiteral("Damer 15"), 60});
        f.skytt(3, 1, QStringLiteral("Förnamn"), QStringLiteral("Efternamn"), QStringLiteral("Klubb"),
                QStringLiteral("D15"),
                {{QStringLiteral("Sum10"), 96},
                 {QStringLiteral("Sum20"), 95},
                 {QStringLiteral("Totalt40"), 191},
                 {QStringLiteral("Totalt60"), 191}});
    }

private slots:
    // The example byte for byte. Free lanes go with the placeholder's values
    // only while all lanes are chosen; a squad without rows is its header line
    // alone.
    void exempletOchFriaBanor() {
        Flodesmiljo f;
        exempel(f);
        auto display = f.anslut();
        QVERIFY(display);
        QVERIFY(f.flode->visaSkjutlag(3));
        const QByteArray exempel = "Vintercupen|Sport| |3|1\r\n"
                                   "1|F\xf6rnamn Efternamn|Klubb|D15|Sport|60|96|95|0|0|0|0|-|-|191|191\r\n";
        const QByteArray fri = "2| |||Sport|0|0|0|0|0|0|0|-|-|0|0\r\n";
        QCOMPARE(display->tagEmot(126), exempel + fri);
        QCOMPARE(f.g.intSkjutlagPaSkarm, 3);
        QCOMPARE(f.flode->senastAllaBanor(), 1);

        f.allaBanor(QStringLiteral("0"));
        QVERIFY(f.flode->visaSkjutlag(3));
        QVERIFY(f.flode->visaSkjutlag(2)); // only free lanes
        QVERIFY(f.flode->visaSkjutlag(9)); // no such squad
        f.allaBanor(QStringLiteral("1"));
        QVERIFY(f.flode->visaSkjutlag(9));
        f.allaBanor(QStringLiteral("skräp")); // read as 1
        QVERIFY(f.flode->visaSkjutlag(2));
        const QByteArray vantat = exempel + fri + exempel +
                                  "Vintercupen|Sport| |2|0\r\n"
                                  "Vintercupen|Sport| |9|0\r\n"
                                  "Vintercupen|Sport| |9|1\r\n"
                                  "Vintercupen|Sport| |2|0\r\n"
                                  "1| |||Sport|0|0|0|0|0|0|0|-|-|0|0\r\n" +
                                  fri;
        QCOMPARE(display->tagEmot(vantat.size()), vantat);
        QCOMPARE(display->meddelanden().size(), 6);
    }

    // The lane choice is "1" unless it is another whole number.
    void allaBanorLases() {
        for (const char* ja : {"1", " 1 ", "", "ja tack", "0,5"})
            QVERIFY2(SkapaTCPData::allaBanor(QString::fromUtf8(ja)), ja);
        for (const char* nej : {"0", "2"})
            QVERIFY2(!SkapaTCPData::allaBanor(QString::fromUtf8(nej)), nej);
    }

    // The kind of each lane in a mixed competition comes from its class; a class
    // the table lacks, or one without a kind, gets the sport layout.
    void mixadTavling() {
        Flodesmiljo f(TcpPeer::Granser(), NyTavling::Typ::Mix, 5, 1);
        f.g.cnnTavling.kor(QStringLiteral("INSERT INTO Mixadeklasser (Klass, Klassnamn, [Antal skott], "
                                          "[Sport/Nat]) VALUES ('TOM', 'Utan slag', 30, '')"));
        const QVariantMap res = {{QStringLiteral("Res1"), 41},     {QStringLiteral("Res2"), 42},
                                 {QStringLiteral("Res8"), 48},     {QStringLiteral("Sum10"), 83},
                                 {QStringLiteral("Sum60"), 99},    {QStringLiteral("Totalt40"), 300},
                                 {QStringLiteral("Totalt60"), 450}};
        f.skytt(1, 1, QStringLiteral("A"), QStringLiteral("Sport"), QStringLiteral("K"), QStringLiteral("H"),
                res);
        f.skytt(1, 2, QStringLiteral("B"), QStringLiteral("Nat"), QStringLiteral("K"), QStringLiteral("LG1"),
                res);
        f.skytt(1, 3, QStringLiteral("C"), QStringLiteral("Okand"), QStringLiteral("K"),
                QStringLiteral("XYZ"), res);
        f.skytt(1, 4, QStringLiteral("D"), QStringLiteral("Tom"), QStringLiteral("K"), QStringLiteral("TOM"),
                res);
        f.skytt(1, 5, QStringLiteral("E"), QStringLiteral("Sma"), QStringLiteral("K"), QStringLiteral("lg2"),
                res);
        auto display = f.anslut();
        QVERIFY(display);
        QVERIFY(f.flode->visaSkjutlag(1));
        const QByteArray vantat = "Vintercupen|Mix| |1|1\r\n"
                                  "1|A Sport|K|H|Sport|60|83|0|0|0|0|99|-|-|300|450\r\n"
                                  "2|B Nat|K|LG1|Nat|40|41|42|0|0|0|0|0|48|300|450\r\n"
                                  "3|C Okand|K|||0|83|0|0|0|0|99|-|-|300|450\r\n"
                                  "4|D Tom|K|TOM||30|83|0|0|0|0|99|-|-|300|450\r\n"
                                  "5|E Sma|K|lg2|Nat|40|41|42|0|0|0|0|0|48|300|450\r\n";
        QCOMPARE(display->tagEmot(vantat.size()), vantat);
    }

    // A national competition sends its series; an unknown class keeps the kind.
    void nationellTavling() {
        Flodesmiljo f(TcpPeer::Granser(), NyTavling::Typ::Nationellt, 2, 1);
        f.skytt(
            1, 1, QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("K"), QStringLiteral("LG1"),
            {{QStringLiteral("Res1"), 50}, {QStringLiteral("Res7"), 7}, {QStringLiteral("Totalt40"), 57}});
        f.skytt(1, 2, QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("K"), QStringLiteral("ZZ"));
        auto display = f.anslut();
        QVERIFY(display);
        QVERIFY(f.flode->visaSkjutlag(1));
        const QByteArray vantat = "Vintercupen|Nat| |1|1\r\n"
                                  "1|A B|K|LG1|Nat|40|50|0|0|0|0|0|7|0|57|0\r\n"
                                  "2|C D|K||Nat|0|0|0|0|0|0|0|0|0|0|0\r\n";
        QCOMPARE(display->tagEmot(vantat.size()), vantat);
    }

    // Class codes are keys looked up in memory: letter case does not matter, an
    // apostrophe is an ordinary character, an empty code is no class, and an
    // empty class table leaves every lane without one.
    void klasskoderSomNycklar() {
        Flodesmiljo f(TcpPeer::Granser(), NyTavling::Typ::Sportskytte, 3, 1);
        f.g.cnnTavling.kor(QStringLiteral("INSERT INTO Sportskytteklasser (Klass, Klassnamn, [Antal skott]) "
                                          "VALUES ('D''15', 'Apostrof', 20)"));
        f.skytt(1, 1, QStringLiteral("A"), QString(), QStringLiteral("K"), QStringLiteral("d'15"));
        f.skytt(1, 2, QStringLiteral("B"), QString(), QStringLiteral("K"), QString());
        f.skytt(1, 3, QStringLiteral("C"), QString(), QStringLiteral("K"), QStringLiteral("jh"));
        auto display = f.anslut();
        QVERIFY(display);
        QVERIFY(f.flode->visaSkjutlag(1));
        f.g.cnnTavling.kor(QStringLiteral("DELETE FROM Sportskytteklasser"));
        QVERIFY(f.flode->visaSkjutlag(1));
        const QByteArray vantat = "Vintercupen|Sport| |1|1\r\n"
                                  "1|A |K|d'15|Sport|20|0|0|0|0|0|0|-|-|0|0\r\n"
                                  "2|B |K||Sport|0|0|0|0|0|0|0|-|-|0|0\r\n"
                                  "3|C |K|jh|Sport|60|0|0|0|0|0|0|-|-|0|0\r\n"
                                  "Vintercupen|Sport| |1|0\r\n"
                                  "1|A |K||Sport|0|0|0|0|0|0|0|-|-|0|0\r\n"
                                  "2|B |K||Sport|0|0|0|0|0|0|0|-|-|0|0\r\n"
                                  "3|C |K||Sport|0|0|0|0|0|0|0|-|-|0|0\r\n";
        QCOMPARE(display->tagEmot(vantat.size()), vantat);
        QCOMPARE(f.flode->antalFel(), 0);
    }

    void textfalt_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("skickas");
        QTest::newRow("vanlig") << "Åsa Öberg-Ärlig"
                                << "Åsa Öberg-Ärlig";
        QTest::newRow("lodstreck") << "A|B||"
                                   << "A/B//";
        QTest::newRow("crlf") << "rad1\r\nrad2"
                              << "rad1 rad2";
        QTest::newRow("ensamma") << "a\rb\nc\n\rd"
                                 << "a b c  d";
        QTest::newRow("styrtecken") << QStringLiteral("a\tb") + QChar(0) + QChar(0x1F) + QChar(0x7F) + "c"
                                    << "a b   c";
        QTest::newRow("accent") << "Dvořák Łódź Ősz"
                                << "Dvorák ?ódz Osz";
        QTest::newRow("euro") << "5 €"
                              << "5 €";
        QTest::newRow("utanfor") << QStringLiteral("Kalle ") + QString::fromUcs4(U"\U0001F600") + "!"
                                 << "Kalle ?!";
    }
    void textfalt() {
        QFETCH(QString, text);
        QFETCH(QString, skickas);
        QCOMPARE(SkapaTCPData::textfalt(text), skickas);
    }

    // Names, clubs, the competition's name and the time cannot break a field or
    // a line on the display; a time given is sent, one missing is a blank.
    void texterKanInteBrytaMeddelandet() {
        Flodesmiljo f(TcpPeer::Granser(), NyTavling::Typ::Sportskytte, 1, 2);
        f.g.strTavlingsnamn = QStringLiteral("Cup|2026");
        f.skytt(1, 1, QStringLiteral("Anna|Bo"), QStringLiteral("Ek\r\nlund"), QStringLiteral("SK\nÖst"),
                QStringLiteral("H"));
        f.g.cnnTavling.kor(QStringLiteral("INSERT INTO Skjuttider (Skjutlag, Skjuttid) VALUES (1, ?)"),
                           {QStringLiteral("Fre 18.00\r\nbana|2")});
        f.g.cnnTavling.kor(QStringLiteral("INSERT INTO Skjuttider (Skjutlag, Skjuttid) VALUES (2, ?)"),
                           {QStringLiteral("Lör 9.00")});
        auto display = f.anslut();
        QVERIFY(display);
        QVERIFY(f.flode->visaSkjutlag(1));
        QVERIFY(f.flode->visaSkjutlag(2));
        const QByteArray vantat =
            ansi(QStringLiteral("Cup/2026|Sport|Fre 18.00 bana/2|1|1\r\n"
                                "1|Anna/Bo Ek lund|SK Öst|H|Sport|60|0|0|0|0|0|0|-|-|0|0\r\n"
                                "Cup/2026|Sport|Lör 9.00|2|0\r\n"
                                "1| |||Sport|0|0|0|0|0|0|0|-|-|0|0\r\n"));
        QCOMPARE(display->tagEmot(vantat.size()), vantat);
        QCOMPARE(display->meddelanden().size(), 2);
    }

    void nullTillNoll_data() {
        QTest::addColumn<QVariant>("varde");
        QTest::addColumn<int>("tal");
        QTest::addColumn<int>("fel");
        QTest::newRow("null") << QVariant() << 0 << 0;
        QTest::newRow("heltal") << QVariant(191) << 191 << 0;
        QTest::newRow("halv ned") << QVariant(2.5) << 2 << 0;
        QTest::newRow("halv upp") << QVariant(3.5) << 4 << 0;
        QTest::newRow("negativ") << QVariant(-2.5) << -2 << 0;
        QTest::newRow("storst") << QVariant(32767) << 32767 << 0;
        QTest::newRow("for stor") << QVariant(32768) << 0 << int(Felnummer::Overflow);
        QTest::newRow("text") << QVariant(QStringLiteral("x")) << 0 << int(Felnummer::TypeMismatch);
    }
    void nullTillNoll() {
        QFETCH(QVariant, varde);
        QFETCH(int, tal);
        QFETCH(int, fel);
        int ut = 0;
        QCOMPARE(felnummer([&] { ut = SkapaTCPData::NullTillNoll(varde); }), fel);
        QCOMPARE(ut, tal);
    }

    // A message that cannot be built is never half sent and never shown in a
    // box: it is counted as an error of the link, and the next one goes as usual.
    void byggfelRaknasOchSkickarInget() {
        Flodesmiljo f;
        exempel(f);
        const qint64 nr = f.skytt(1, 1, QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("K"),
                                  QStringLiteral("H"), {{QStringLiteral("Sum10"), 40000}});
        auto display = f.anslut();
        QVERIFY(display);
        QSignalSpy fel(f.flode.get(), &Askadarflode::felAndrat);
        QVERIFY(!f.flode->visaSkjutlag(1));
        QCOMPARE(f.flode->antalFel(), 1);
        QCOMPARE(f.flode->senasteFel(), QStringLiteral("SkapaTCPData: 6 Spill"));
        QCOMPARE(fel.count(), 1);
        QCOMPARE(f.g.intSkjutlagPaSkarm, 0);

        f.g.cnnTavling.Close();
        QVERIFY(!f.flode->visaSkjutlag(3));
        QCOMPARE(f.flode->antalFel(), 2);
        QVERIFY2(f.flode->senasteFel().startsWith(QStringLiteral("SkapaTCPData: ")),
                 qPrintable(f.flode->senasteFel()));
        QVERIFY(f.m.visade.isEmpty() && f.fragor.visade.isEmpty());

        f.g.cnnTavling.Open(f.databas);
        f.g.cnnTavling.kor(QStringLiteral("UPDATE Skyttar SET Sum10 = 0 WHERE Löpnummer = ?"), {nr});
        QVERIFY(f.flode->visaSkjutlag(3));
        QVERIFY(display->vantaPaMeddelanden(1));
        QVERIFY(display->meddelanden().first().startsWith("Vintercupen|Sport| |3|1\r\n"));
        QVERIFY(f.flode->ansluten());
    }
};

QTEST_MAIN(TestSkapaTCPData)
#include "test_skapatcpdata.moc"
