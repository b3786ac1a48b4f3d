#include "entry/Resultatrader.h"
#include "entry/Serieregler.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"

#include <QTest>

using namespace Serieregler;

namespace {
Serier serier(std::initializer_list<int> varden) {
    Serier s{};
    int i = 0;
    for (const int v : varden)
        s[i++] = v;
    return s;
}

// A class of the competition's own table with a number of shots.
void nyKlass(Testfixtur& f, const QString& klass, int skott, const QString& sportNat = QString()) {
    if (f.g.blnMix)
        f.g.cnnTavling.kor(QStringLiteral("INSERT INTO Mixadeklasser (Klass, [Antal skott], [Sport/Nat]) "
                                          "VALUES (?, ?, ?)"),
                           {klass, skott, sportNat});
    else
        f.g.cnnTavling.kor(
            QStringLiteral("INSERT INTO %1 (Klass, [Antal skott]) VALUES (?, ?)").arg(f.g.klasstabell()),
            {klass, skott});
}
} // namespace

class T_serieregler : public QObject {
    Q_OBJECT

private slots:
    void summorOchTotaler_data() {
        QTest::addColumn<Serier>("s");
        QTest::addColumn<QList<int>>("par");
        QTest::addColumn<int>("t40");
        QTest::addColumn<int>("t60");
        QTest::newRow("20 skott") << serier({48, 47, 50, 49}) << QList<int>{95, 99, 0, 0, 0, 0} << 194 << 194;
        QTest::newRow("40 skott fullt")
            << serier({50, 50, 50, 50, 50, 50, 50, 50}) << QList<int>{100, 100, 100, 100, 0, 0} << 400 << 400;
        QTest::newRow("45 skott, serie 9") << serier({41, 42, 43, 44, 45, 46, 47, 48, 39})
                                           << QList<int>{83, 87, 91, 95, 39, 0} << 356 << 395;
        Serier full{};
        full.fill(50);
        QTest::newRow("60 skott fullt") << full << QList<int>{100, 100, 100, 100, 100, 100} << 400 << 600;
        // A 40-shot shooter with team series: the 40 total is series 1 to 8 all
        // the same, whatever the class.
        QTest::newRow("lagserier") << serier({10, 20, 30, 40, 0, 1, 2, 3, 4, 5, 6, 7})
                                   << QList<int>{30, 70, 1, 5, 9, 13} << 106 << 128;
    }
    void summorOchTotaler() {
        QFETCH(Serier, s);
        QFETCH(QList<int>, par);
        QFETCH(int, t40);
        QFETCH(int, t60);
        const Summor r = rakna(s);
        for (int k = 1; k <= AntalPar; ++k)
            QCOMPARE(r.par[k - 1], par[k - 1]);
        QCOMPARE(r.totalt40, t40);
        QCOMPARE(r.totalt60, t60);
        QCOMPARE(parForSerie(1), 1);
        QCOMPARE(parForSerie(8), 4);
        QCOMPARE(parForSerie(9), 5);
        QCOMPARE(parForSerie(12), 6);
    }

    void heltalsdelOchFullaPoang() {
        QCOMPARE(heltalsdel(QString()), 0);
        QCOMPARE(heltalsdel(QStringLiteral(" 47 ")), 47);
        QCOMPARE(heltalsdel(QStringLiteral("47,9")), 47);
        QCOMPARE(heltalsdel(QStringLiteral("051")), 51);
        QCOMPARE(felnummer([] { heltalsdel(QStringLiteral("4a")); }), Felnummer::TypeMismatch);
        QCOMPARE(felnummer([] { heltalsdel(QStringLiteral("*")); }), Felnummer::TypeMismatch);
        try {
            heltalsdel(QStringLiteral("x"));
        } catch (const Fel& f) {
            QCOMPARE(f.beskrivning(), QStringLiteral("Typerna matchar inte"));
        }
        QCOMPARE(felnummer([] { heltalsdel(QStringLiteral("99999999999")); }), Felnummer::Overflow);

        // Only the exact texts are full marks: "050" is not shown red.
        QVERIFY(fullSerie(QStringLiteral("50")));
        QVERIFY(!fullSerie(QStringLiteral("050")));
        QVERIFY(!fullSerie(QStringLiteral("49")));
        QVERIFY(fullPar(QStringLiteral("100")));
        QVERIFY(!fullPar(QStringLiteral("99")));
        QVERIFY(fullTotalt40(QStringLiteral("400")));
        QVERIFY(!fullTotalt40(QStringLiteral("600")));
        QVERIFY(fullTotalt60(QStringLiteral("600")));
        QVERIFY(!fullTotalt60(QStringLiteral("400")));
    }

    void klassensSerierOchFarger() {
        QCOMPARE(klassensSerier(20), 4);
        QCOMPARE(klassensSerier(40), 8);
        QCOMPARE(klassensSerier(42), 8);
        QCOMPARE(klassensSerier(43), 9);
        QCOMPARE(klassensSerier(45), 9);
        QCOMPARE(klassensSerier(50), 10);
        QCOMPARE(klassensSerier(60), 12);
        QCOMPARE(extraSerier(12, 10), 12);
        QCOMPARE(extraSerier(0, 10), 10);

        // 40 shots without extra series: 9 to 12 are not shot.
        for (int n = 1; n <= 8; ++n)
            QCOMPARE(serieFarg(n, 8, 0), Seriefarg::Fonster);
        for (int n = 9; n <= 12; ++n)
            QCOMPARE(serieFarg(n, 8, 0), Seriefarg::Rod);
        // Team series to 12, prize series to 10: green where the class ends.
        for (int n = 9; n <= 12; ++n)
            QCOMPARE(serieFarg(n, 8, extraSerier(12, 0)), Seriefarg::Gron);
        QCOMPARE(serieFarg(10, 8, extraSerier(0, 10)), Seriefarg::Gron);
        QCOMPARE(serieFarg(11, 8, extraSerier(0, 10)), Seriefarg::Rod);
        // 45 shots: series 9 belongs to the class.
        QCOMPARE(serieFarg(9, 9, 0), Seriefarg::Fonster);
        QCOMPARE(serieFarg(10, 9, 0), Seriefarg::Rod);
        // 20 shots: series 5 onwards red, but 1 and 2 never change colour.
        QCOMPARE(serieFarg(5, 4, 0), Seriefarg::Rod);
        QCOMPARE(serieFarg(1, 0, 0), Seriefarg::Fonster);
        QCOMPARE(serieFarg(2, 0, 0), Seriefarg::Fonster);
        QCOMPARE(serieFarg(3, 0, 0), Seriefarg::Rod);
    }

    // The fields a row shows, for classes read from the competition itself.
    void synligaFaltEfterKlass_data() {
        QTest::addColumn<int>("skott");
        QTest::addColumn<int>("lagserier");
        QTest::addColumn<int>("vandring");
        QTest::addColumn<Serier>("s");
        QTest::addColumn<bool>("t40");
        QTest::addColumn<bool>("t60");
        QTest::newRow("40") << 40 << 0 << 0 << Serier{} << true << false;
        QTest::newRow("42") << 42 << 0 << 0 << Serier{} << true << false;
        QTest::newRow("43") << 43 << 0 << 0 << Serier{} << false << true;
        QTest::newRow("45") << 45 << 0 << 0 << Serier{} << false << true;
        QTest::newRow("50") << 50 << 0 << 0 << Serier{} << false << true;
        QTest::newRow("60") << 60 << 0 << 0 << Serier{} << false << true;
        QTest::newRow("40 med lagserier") << 40 << 12 << 0 << Serier{} << true << true;
        QTest::newRow("40 med vandringsserier") << 40 << 0 << 10 << Serier{} << true << true;
        QTest::newRow("40 med lagserier 8") << 40 << 8 << 8 << Serier{} << true << false;
        // A value in series 9 to 12 brings the 60-shot total back.
        QTest::newRow("40 med serie 11")
            << 40 << 0 << 0 << serier({1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 7}) << true << true;
    }
    void synligaFaltEfterKlass() {
        QFETCH(int, skott);
        QFETCH(int, lagserier);
        QFETCH(int, vandring);
        QFETCH(Serier, s);
        QFETCH(bool, t40);
        QFETCH(bool, t60);
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte);
        nyKlass(f, QStringLiteral("K") + QString::number(skott), skott);
        const Klassuppslag klasser(f.g);
        const std::optional<int> ks = klasser.klassensSerier(QStringLiteral("k") + QString::number(skott));
        QVERIFY(ks.has_value());
        const Radsynlighet r = synlighet(false, ks, lagserier, vandring, s);
        QVERIFY(r.serier9till12);
        QCOMPARE(r.totalt40, t40);
        QCOMPARE(r.totalt60, t60);
    }

    void synligaFaltNationelltOchUtanKlass() {
        // National rows never show series 9 to 12 nor, without values there,
        // the 60-shot total.
        const Radsynlighet nat = synlighet(true, 8, 0, 0, Serier{});
        QVERIFY(!nat.serier9till12);
        QVERIFY(nat.totalt40);
        QVERIFY(!nat.totalt60);
        // A missing class hides nothing.
        const Radsynlighet utan = synlighet(false, std::nullopt, 0, 0, Serier{});
        QVERIFY(utan.serier9till12 && utan.totalt40 && utan.totalt60);

        QVERIFY(arNationellRad(false, true, false, QString()));
        QVERIFY(!arNationellRad(false, false, true, QString()));
        QVERIFY(arNationellRad(true, false, false, QStringLiteral("Nat")));
        QVERIFY(!arNationellRad(true, false, false, QStringLiteral("Sport")));
        QVERIFY(!arNationellRad(true, false, false, QString()));
    }

    void klassuppslagIgnorerarSkiftlage() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte);
        nyKlass(f, QStringLiteral("ÅÄÖ"), 45);
        nyKlass(f, QStringLiteral("O'B"), 20);
        nyKlass(f, QStringLiteral("åäö"), 60); // the same class again: the first counts
        const Klassuppslag k(f.g);
        QCOMPARE(k.antalSkott(QStringLiteral("åäö")), std::optional<int>(45));
        QCOMPARE(k.klassensSerier(QStringLiteral("Åäö")), std::optional<int>(9));
        QCOMPARE(k.antalSkott(QStringLiteral("o'b")), std::optional<int>(20));
        QCOMPARE(k.antalSkott(QStringLiteral("h")), std::optional<int>(60));
        QVERIFY(!k.antalSkott(QStringLiteral("X")).has_value());
        QVERIFY(!k.antalSkott(QStringLiteral("O''B")).has_value());
        QCOMPARE(ingenKlassText(7), QStringLiteral("Klassen för skytten på bana 7 finns inte.\r\n"
                                                   "Kolla så att du inte ändrat namnet på klassen!"));
    }

    void navigeringNationellRad() {
        // A national row: series 9 to 12 hidden.
        const bool syns = synlighet(true, 8, 0, 0, Serier{}).serier9till12;
        QCOMPARE(nastaSerie(3, syns), 4);
        QCOMPARE(nastaSerie(8, syns), 1);
        QCOMPARE(foregaendeSerie(1, syns), 8);
        QCOMPARE(foregaendeSerie(5, syns), 4);
    }

    void navigeringSportrad() {
        // A sport 40-shot row shows its red series 9 to 12 and goes through them.
        const bool syns40 = synlighet(false, 8, 0, 0, Serier{}).serier9till12;
        QVERIFY(syns40);
        QCOMPARE(nastaSerie(8, syns40), 9);
        QCOMPARE(nastaSerie(9, syns40), 10);
        QCOMPARE(nastaSerie(11, syns40), 12);
        QCOMPARE(nastaSerie(12, syns40), 1);
        QCOMPARE(foregaendeSerie(1, syns40), 12);
        QCOMPARE(foregaendeSerie(9, syns40), 8);
    }

    void uppNedISerie9Till12() {
        // Rows 1 and 3 are national in a mixed squad; Up and Down skip them.
        const QList<bool> synlig{true, false, true, false};
        QCOMPARE(radMedSynligtFalt(0, +1, 4, synlig), 2);
        QCOMPARE(radMedSynligtFalt(2, +1, 4, synlig), 0);
        QCOMPARE(radMedSynligtFalt(0, -1, 4, synlig), 2);
        QCOMPARE(radMedSynligtFalt(2, -1, 4, synlig), 0);
        // The only row that shows the field: the focus stays.
        QCOMPARE(radMedSynligtFalt(2, +1, 4, QList<bool>{false, false, true, false}), 2);
        QCOMPARE(radMedSynligtFalt(0, -1, 1, QList<bool>{true}), 0);
        // From row 0 upward the search starts at the last row.
        QCOMPARE(radMedSynligtFalt(0, -1, 5, QList<bool>{true, true, false, true, true}), 4);
        QCOMPARE(radMedSynligtFalt(3, -1, 5, QList<bool>{true, false, false, true, true}), 0);
    }

    void tangenterISerie() {
        for (char c = '0'; c <= '9'; ++c)
            QVERIFY(tillatetISerie(QLatin1Char(c)));
        QVERIFY(tillatetISerie(QChar(u'\b')));
        for (const QChar c : QStringLiteral("*+,.a -\r"))
            QVERIFY(!tillatetISerie(c));
        QVERIFY(!tillatetISerie(QChar(u'٣'))); // a digit, but not one the field takes
    }

    void skottstrangar() {
        QCOMPARE(skottstrangsvarde(QStringLiteral("98*++")), std::optional<int>(47));
        QCOMPARE(skottstrangsvarde(QStringLiteral("*****")), std::optional<int>(50));
        QCOMPARE(skottstrangsvarde(QStringLiteral("+++++")), std::optional<int>(50));
        QCOMPARE(skottstrangsvarde(QStringLiteral("00000")), std::optional<int>(0));
        QCOMPARE(skottstrangsvarde(QStringLiteral("10000")), std::optional<int>(1));
        for (const QString& fel : {QStringLiteral("98*+"), QStringLiteral("98*++9"), QStringLiteral("98a++"),
                                   QStringLiteral("98.++"), QStringLiteral(" 98*+"), QString()})
            QVERIFY2(!skottstrangsvarde(fel).has_value(), qPrintable(fel));
        QVERIFY(arSkottecken(QLatin1Char('*')));
        QVERIFY(!arSkottecken(QLatin1Char('-')));
    }

    void raknaTecken() {
        QCOMPARE(RaknaTecken(QStringLiteral("*+*9"), QStringLiteral("*")), 2);
        QCOMPARE(RaknaTecken(QStringLiteral("*+*9"), QStringLiteral(" * ")), 2);
        QCOMPARE(RaknaTecken(QString(), QStringLiteral("9")), 0);
        QCOMPARE(RaknaTecken(QStringLiteral("99"), QString()), 0);
    }

    // The counts of the examples: an inner ten, a ten, a nine, an eight and a
    // seven, and a ten with four nines; the other ten strings empty.
    void antalUrSkottstrangar() {
        QStringList s{QStringLiteral("*+987"), QStringLiteral("+9999")};
        for (int i = 0; i < 10; ++i)
            s << QStringLiteral("00000");
        const Antal a = raknaAntal(s);
        QCOMPARE(a.tioNior, QStringLiteral("3,5,1,1,0,0,0,0,0,0"));
        QCOMPARE(a.innertior, 1);

        const Antal noll = raknaAntal(QStringList(12, QStringLiteral("00000")));
        QCOMPARE(noll.tioNior, NollAntal);
        QCOMPARE(noll.innertior, 0);
        QCOMPARE(raknaAntal({}).tioNior, NollAntal);
        // Misses are never counted.
        QCOMPARE(raknaAntal({QStringLiteral("+0000")}).tioNior, QStringLiteral("1,0,0,0,0,0,0,0,0,0"));
        QCOMPARE(raknaAntal({QStringLiteral("12345"), QStringLiteral("6789*")}).tioNior,
                 QStringLiteral("1,1,1,1,1,1,1,1,1,1"));
    }

    void innertiorEfterTolkmaskin() {
        const QString sam = QStringLiteral("SAM 4000"), rika = QStringLiteral("RIKA");
        const QString noll = QStringLiteral("0"), ett = QStringLiteral("1");
        QVERIFY(innertiorRaknas(sam, noll, noll));
        QVERIFY(innertiorRaknas(sam, noll, ett));
        QVERIFY(innertiorRaknas(rika, ett, noll));
        QVERIFY(!innertiorRaknas(rika, noll, noll));
        QVERIFY(!innertiorRaknas(rika, ett, ett));
        QVERIFY(!innertiorRaknas(QStringLiteral("Megalink"), ett, noll));
        QVERIFY(!innertiorRaknas(QStringLiteral("sam 4000"), noll, noll));

        QVERIFY(innertiorForHand(rika, noll, noll));
        QVERIFY(innertiorForHand(rika, ett, ett));
        QVERIFY(!innertiorForHand(rika, ett, noll));
        QVERIFY(!innertiorForHand(sam, noll, ett));
    }

    // The count dialog's texts: a short TioNior, a leading zero, nothing stored.
    void antalText() {
        const std::array<int, 10> tre = tioNiorVarden(QStringLiteral("3,05,1"));
        QCOMPARE(tre, (std::array<int, 10>{3, 5, 1, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(tioNiorVarden(QString()), (std::array<int, 10>{}));
        QCOMPARE(tioNiorVarden(QStringLiteral("1,x,2,,3")), (std::array<int, 10>{1, 0, 2, 0, 3}));
        QCOMPARE(tioNiorVarden(QStringLiteral("1,2,3,4,5,6,7,8,9,10,11"))[9], 10);
        QCOMPARE(tioNiorText({2, 7, 0, 0, 0, 0, 0, 0, 0, 0}), QStringLiteral("2,7,0,0,0,0,0,0,0,0"));
        QCOMPARE(tioNiorText(tioNiorVarden(QStringLiteral("3,05,1"))), QStringLiteral("3,5,1,0,0,0,0,0,0,0"));
    }

    void antalfaltensPilar() {
        // field, up, down, left/right
        const int tabell[][4] = {{11, 6, 10, 5}, {10, 11, 9, 4}, {9, 10, 8, 3}, {8, 9, 7, 2},
                                 {7, 8, 6, 1},   {6, 7, 11, 6},  {5, 1, 4, 11}, {4, 5, 3, 10},
                                 {3, 4, 2, 9},   {2, 3, 1, 8},   {1, 2, 5, 7}};
        for (const auto& r : tabell) {
            QCOMPARE(antalfaltVidPil(r[0], Qt::Key_Up), r[1]);
            QCOMPARE(antalfaltVidPil(r[0], Qt::Key_Down), r[2]);
            QCOMPARE(antalfaltVidPil(r[0], Qt::Key_Left), r[3]);
            QCOMPARE(antalfaltVidPil(r[0], Qt::Key_Right), r[3]);
            QCOMPARE(antalfaltVidPil(r[0], Qt::Key_Tab), r[0]);
        }
    }

    void sarskjutning() {
        QCOMPARE(tolkaSarskjutning(QStringLiteral("9,5")), std::optional<double>(9.5));
        QCOMPARE(tolkaSarskjutning(QString()), std::optional<double>(0));
        QCOMPARE(tolkaSarskjutning(QStringLiteral("  ")), std::optional<double>(0));
        QCOMPARE(tolkaSarskjutning(QStringLiteral("10")), std::optional<double>(10));
        QCOMPARE(tolkaSarskjutning(QStringLiteral(",5")), std::optional<double>(0.5));
        QCOMPARE(tolkaSarskjutning(QStringLiteral("9,")), std::optional<double>(9));
        for (const QString& fel : {QStringLiteral("9.5"), QStringLiteral("1,2,3"), QStringLiteral(","),
                                   QStringLiteral("-1"), QStringLiteral("1e3"), QStringLiteral("9 5")})
            QVERIFY2(!tolkaSarskjutning(fel).has_value(), qPrintable(fel));
        QCOMPARE(visaSarskjutning(9.5), QStringLiteral("9,5"));
        QCOMPARE(visaSarskjutning(0), QStringLiteral("0"));
        QCOMPARE(visaSarskjutning(10.25), QStringLiteral("10,25"));
        QCOMPARE(visaSarskjutning(10.3), QStringLiteral("10,3"));
    }
};

QTEST_MAIN(T_serieregler)
#include "test_serieregler.moc"
