#include "competition/Serieregler.h"
#include "entry/Inmatningsregler.h"
#include "entry/Resultatrader.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"

#include <QTest>

using namespace Serieregler;
using namespace Inmatningsregler;
using namespace Qt::StringLiterals;

namespace {
Serier serier(std::initializer_list<int> varden) {
    Serier s{};
    std::copy(varden.begin(), varden.end(), s.begin());
    return s;
}

// A field as text: "ser3/0" series 3 of row 0, "sär/1", "antal/2".
QString text(const Falt& f) {
    const QString slag = f.slag == Faltslag::Serie          ? u"ser%1"_s.arg(f.serie)
                         : f.slag == Faltslag::Sarskjutning ? u"sär"_s
                                                            : u"antal"_s;
    return slag + u'/' + QString::number(f.rad);
}
Falt falt(const QString& t) {
    const QStringList d = t.split(u'/');
    if (d[0].startsWith(u"ser"_s))
        return {Faltslag::Serie, d[1].toInt(), d[0].mid(3).toInt()};
    return {d[0] == u"sär"_s ? Faltslag::Sarskjutning : Faltslag::Antal, d[1].toInt(), 0};
}

// A competition whose own class table has these classes with their shots.
struct Klasstavling : Testfixtur {
    explicit Klasstavling(const QList<std::pair<QString, int>>& klasser) {
        skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte);
        for (const auto& [klass, skott] : klasser)
            g.cnnTavling.kor(u"INSERT INTO %1 (Klass, [Antal skott]) VALUES (?, ?)"_s.arg(g.klasstabell()),
                             {klass, skott});
    }
};
} // namespace

class T_serieregler : public QObject {
    Q_OBJECT

private slots:
    // Pair sums and totals; the 40 total is series 1 to 8 whatever the class.
    void summorOchTotaler() {
        Serier full{};
        full.fill(50);
        const struct {
            Serier s;
            QList<int> par;
            int t40, t60;
        } fall[] = {{serier({48, 47, 50, 49}), {95, 99, 0, 0, 0, 0}, 194, 194},
                    {serier({50, 50, 50, 50, 50, 50, 50, 50}), {100, 100, 100, 100, 0, 0}, 400, 400},
                    {serier({41, 42, 43, 44, 45, 46, 47, 48, 39}), {83, 87, 91, 95, 39, 0}, 356, 395},
                    {full, {100, 100, 100, 100, 100, 100}, 400, 600},
                    {serier({10, 20, 30, 40, 0, 1, 2, 3, 4, 5, 6, 7}), {30, 70, 1, 5, 9, 13}, 106, 128}};
        for (const auto& f : fall) {
            const Summor r = rakna(f.s);
            QCOMPARE(QList<int>(r.par.begin(), r.par.end()), f.par);
            QCOMPARE(r.totalt40, f.t40);
            QCOMPARE(r.totalt60, f.t60);
        }
    }

    // Whole points of a field's text; full marks only exact ("050" is not).
    void heltalsdelOchFullaPoang() {
        QCOMPARE(heltalsdel(QString()), 0);
        QCOMPARE(heltalsdel(u" 47 "_s), 47);
        QCOMPARE(heltalsdel(u"47,9"_s), 47);
        QCOMPARE(heltalsdel(u"051"_s), 51);
        for (const QString& fel : {u"4a"_s, u"*"_s})
            QCOMPARE(felnummer([&] { heltalsdel(fel); }), Felnummer::TypeMismatch);
        QCOMPARE(felnummer([] { heltalsdel(u"99999999999"_s); }), Felnummer::Overflow);
        try {
            heltalsdel(u"x"_s);
            QFAIL("no error");
        } catch (const Fel& f) {
            QCOMPARE(f.beskrivning(), u"Typerna matchar inte"_s);
        }
        QVERIFY(fullSerie(u"50"_s) && !fullSerie(u"050"_s) && !fullSerie(u"49"_s));
        QVERIFY(fullPar(u"100"_s) && !fullPar(u"99"_s));
        QVERIFY(fullTotalt40(u"400"_s) && !fullTotalt40(u"600"_s));
        QVERIFY(fullTotalt60(u"600"_s) && !fullTotalt60(u"400"_s));
        for (const auto& [serie, par] : {std::pair{1, 1}, {2, 1}, {8, 4}, {9, 5}, {12, 6}})
            QCOMPARE(parForSerie(serie), par);
    }

    // Series colours (F window, G green, R red) by the class's and the extra
    // series; series 1 and 2 never change.
    void serieFarger() {
        const struct {
            int klass, extra;
            QString farger;
        } fall[] = {{klassensSerier(40), 0, u"FFFFFFFFRRRR"_s},
                    {klassensSerier(40), extraSerier(12, 0), u"FFFFFFFFGGGG"_s},
                    {klassensSerier(40), extraSerier(0, 10), u"FFFFFFFFGGRR"_s},
                    {klassensSerier(45), 0, u"FFFFFFFFFRRR"_s},
                    {klassensSerier(20), 0, u"FFFFRRRRRRRR"_s},
                    {0, 0, u"FFRRRRRRRRRR"_s}};
        for (const auto& f : fall) {
            QString t;
            for (int n = 1; n <= AntalSerier; ++n)
                t += u"FGR"_s.at(int(serieFarg(n, f.klass, f.extra)));
            QCOMPARE(t, f.farger);
        }
    }

    // The fields a row shows by its class (0: missing); a value in series 9 to
    // 12 brings the 60-shot total back.
    void synligaFalt() {
        const struct {
            bool nat;
            int skott, lagserier, vandring;
            Serier s;
            const char* syns;
        } fall[] = {{false, 40, 0, 0, {}, "9-12 40"},
                    {false, 42, 0, 0, {}, "9-12 40"},
                    {false, 43, 0, 0, {}, "9-12 60"},
                    {false, 45, 0, 0, {}, "9-12 60"},
                    {false, 50, 0, 0, {}, "9-12 60"},
                    {false, 60, 0, 0, {}, "9-12 60"},
                    {false, 40, 12, 0, {}, "9-12 40 60"},
                    {false, 40, 0, 10, {}, "9-12 40 60"},
                    {false, 40, 8, 8, {}, "9-12 40"},
                    {false, 40, 0, 0, serier({1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 7}), "9-12 40 60"},
                    {true, 40, 0, 0, {}, "40"},
                    {false, 0, 0, 0, {}, "9-12 40 60"}};
        Klasstavling f(
            {{u"K40"_s, 40}, {u"K42"_s, 42}, {u"K43"_s, 43}, {u"K45"_s, 45}, {u"K50"_s, 50}, {u"K60"_s, 60}});
        const Klassuppslag klasser(f.g);
        for (const auto& k : fall) {
            const std::optional<int> ks = klasser.klassensSerier(u"k"_s + QString::number(k.skott));
            QCOMPARE(ks.has_value(), k.skott != 0);
            const Radsynlighet r = synlighet(k.nat, ks, k.lagserier, k.vandring, k.s);
            QStringList t;
            for (const auto& [visas, namn] :
                 {std::pair{r.serier9till12, "9-12"}, {r.totalt40, "40"}, {r.totalt60, "60"}})
                if (visas)
                    t << QLatin1String(namn);
            QCOMPARE(t.join(u' '), QLatin1String(k.syns));
        }
    }

    // Series by shots, national rows; classes found in any letter case, the
    // first of two.
    void klassregler() {
        for (const auto& [skott, n] :
             {std::pair{20, 4}, {40, 8}, {42, 8}, {43, 9}, {45, 9}, {50, 10}, {60, 12}})
            QCOMPARE(klassensSerier(skott), n);
        QCOMPARE(extraSerier(12, 10), 12);
        QCOMPARE(extraSerier(0, 10), 10);
        QVERIFY(arNationellRad(false, true, false, QString()) &&
                !arNationellRad(false, false, true, QString()));
        QVERIFY(arNationellRad(true, false, false, u"Nat"_s) &&
                !arNationellRad(true, false, false, u"Sport"_s));
        QVERIFY(!arNationellRad(true, false, false, QString()));
        Klasstavling f({{u"ÅÄÖ"_s, 45}, {u"O'B"_s, 20}, {u"åäö"_s, 60}});
        const Klassuppslag k(f.g);
        QCOMPARE(k.antalSkott(u"åäö"_s), std::optional<int>(45));
        QCOMPARE(k.klassensSerier(u"Åäö"_s), std::optional<int>(9));
        QCOMPARE(k.antalSkott(u"o'b"_s), std::optional<int>(20));
        QCOMPARE(k.antalSkott(u"h"_s), std::optional<int>(60));
        QVERIFY(!k.antalSkott(u"X"_s) && !k.antalSkott(u"O''B"_s));
    }

    // Enter/Right and Left go round series 1 to 8 of a national row, 1 to 12 else.
    void navigering() {
        // series, series 9 shows, next, previous
        const int fall[][4] = {{1, 0, 2, 8}, {3, 0, 4, 2},  {5, 0, 6, 4},    {8, 0, 1, 7},  {1, 1, 2, 12},
                               {8, 1, 9, 7}, {9, 1, 10, 8}, {11, 1, 12, 10}, {12, 1, 1, 11}};
        for (const auto& [serie, syns, nasta, foregaende] : fall) {
            QCOMPARE(nastaSerie(serie, syns), nasta);
            QCOMPARE(foregaendeSerie(serie, syns), foregaende);
        }
    }

    // The arrows: Left and Right in the row, Up and Down round the squad past
    // rows hiding series 9 to 12 (synlig: per row whether it shows them); the
    // view jumps as the focus goes round to the last (B) or first row (T).
    void pilar() {
        const struct {
            const char* fran;
            Qt::Key tangent;
            const char *synlig, *till;
        } fall[] = {
            {"ser3/0", Qt::Key_Left, "11", "ser2/0"},       {"ser3/0", Qt::Key_Right, "11", "ser4/0"},
            {"ser1/1", Qt::Key_Left, "11", "ser12/1"},      {"ser1/1", Qt::Key_Left, "10", "ser8/1"},
            {"ser8/1", Qt::Key_Right, "10", "ser1/1"},      {"sär/1", Qt::Key_Left, "11", "ser12/1"},
            {"sär/1", Qt::Key_Left, "10", "ser8/1"},        {"sär/1", Qt::Key_Right, "10", "ser1/1"},
            {"antal/1", Qt::Key_Left, "11", "sär/1"},       {"antal/1", Qt::Key_Right, "11", "ser1/1"},
            {"ser3/1", Qt::Key_Down, "1111", "ser3/2"},     {"ser3/1", Qt::Key_Up, "1111", "ser3/0"},
            {"ser3/0", Qt::Key_Up, "1000", "ser3/3 B"},     {"ser3/3", Qt::Key_Down, "1111", "ser3/0 T"},
            {"ser3/0", Qt::Key_Up, "1", "ser3/0"},          {"ser10/2", Qt::Key_Up, "1011", "ser10/0"},
            {"ser10/0", Qt::Key_Up, "1011", "ser10/3 B"},   {"ser10/0", Qt::Key_Up, "1010", "ser10/2"},
            {"ser10/2", Qt::Key_Down, "1010", "ser10/0 T"}, {"ser10/3", Qt::Key_Down, "0101", "ser10/1"},
            {"ser10/0", Qt::Key_Down, "1000", "ser10/0"},   {"sär/0", Qt::Key_Up, "10", "sär/1 B"},
            {"antal/2", Qt::Key_Down, "000", "antal/0 T"},  {"ser3/0", Qt::Key_Home, "1", ""}};
        for (const auto& f : fall) {
            const QString synlig = QString::fromUtf8(f.synlig);
            const std::optional<Pilsteg> steg =
                pilsteg(falt(QString::fromUtf8(f.fran)), f.tangent, int(synlig.size()),
                        [&](int r) { return synlig.at(r) == u'1'; });
            const QString vy = !steg || steg->vy == Pilsteg::Vy::Stannar ? QString()
                               : steg->vy == Pilsteg::Vy::Botten         ? u" B"_s
                                                                         : u" T"_s;
            QCOMPARE(steg ? text(steg->till) + vy : QString(), QString::fromUtf8(f.till));
        }
    }

    // Shot symbols and what five of them are worth.
    void skottstrangar() {
        for (const QChar c : u"0123456789*+"_s)
            QVERIFY(arSkottecken(c));
        QVERIFY(!arSkottecken(QLatin1Char('-')));
        const std::pair<QString, std::optional<int>> strangar[] = {
            {u"98*++"_s, 47}, {u"*****"_s, 50}, {u"+++++"_s, 50},  {u"00000"_s, 0},
            {u"10000"_s, 1},  {u"98*+"_s, {}},  {u"98*++9"_s, {}}, {u"98a++"_s, {}},
            {u"98.++"_s, {}}, {u" 98*+"_s, {}}, {QString(), {}}};
        for (const auto& [s, varde] : strangar)
            QVERIFY2(skottstrangsvarde(s) == varde, qPrintable(s));
    }

    // The counts of the shot strings; misses are never counted.
    void antalUrSkottstrangar() {
        QStringList s{u"*+987"_s, u"+9999"_s};
        for (int i = 0; i < 10; ++i)
            s << TomSkottstrang;
        QCOMPARE(raknaAntal(s).tioNior, u"3,5,1,1,0,0,0,0,0,0"_s);
        QCOMPARE(raknaAntal(s).innertior, 1);
        const Antal noll = raknaAntal(QStringList(12, TomSkottstrang));
        QCOMPARE(noll.tioNior, NollAntal);
        QCOMPARE(noll.innertior, 0);
        QCOMPARE(raknaAntal({}).tioNior, NollAntal);
        QCOMPARE(raknaAntal({u"+0000"_s}).tioNior, u"1,0,0,0,0,0,0,0,0,0"_s);
        QCOMPARE(raknaAntal({u"12345"_s, u"6789*"_s}).tioNior, u"1,1,1,1,1,1,1,1,1,1"_s);
    }

    // Inner tens counted or typed, by model, DecimalerRika and EjAutoInnertior.
    void innertiorEfterTolkmaskin() {
        const struct {
            QString model, decimaler, ejAuto;
            bool raknas, forHand;
        } fall[] = {
            {u"SAM 4000"_s, u"0"_s, u"0"_s, true, false}, {u"SAM 4000"_s, u"0"_s, u"1"_s, true, false},
            {u"RIKA"_s, u"1"_s, u"0"_s, true, false},     {u"RIKA"_s, u"0"_s, u"0"_s, false, true},
            {u"RIKA"_s, u"1"_s, u"1"_s, false, true},     {u"Megalink"_s, u"1"_s, u"0"_s, false, false},
            {u"sam 4000"_s, u"0"_s, u"0"_s, false, false}};
        for (const auto& f : fall) {
            QCOMPARE(innertiorRaknas(f.model, f.decimaler, f.ejAuto), f.raknas);
            QCOMPARE(innertiorForHand(f.model, f.decimaler, f.ejAuto), f.forHand);
        }
    }

    // The count dialog's texts, and where its arrows lead.
    void antalfalten() {
        QCOMPARE(tioNiorVarden(u"3,05,1"_s), (std::array<int, 10>{3, 5, 1, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(tioNiorVarden(QString()), (std::array<int, 10>{}));
        QCOMPARE(tioNiorVarden(u"1,x,2,,3"_s), (std::array<int, 10>{1, 0, 2, 0, 3}));
        QCOMPARE(tioNiorVarden(u" 4 ,-2,+3,1234567890"_s), (std::array<int, 10>{4, 0, 3, 1234567890}));
        QCOMPARE(tioNiorVarden(u"1,2,3,4,5,6,7,8,9,10,11"_s)[9], 10);
        QCOMPARE(tioNiorText({2, 7, 0, 0, 0, 0, 0, 0, 0, 0}), u"2,7,0,0,0,0,0,0,0,0"_s);
        // field, up, down, left/right
        const int tabell[][4] = {{11, 6, 10, 5}, {10, 11, 9, 4}, {9, 10, 8, 3}, {8, 9, 7, 2},
                                 {7, 8, 6, 1},   {6, 7, 11, 6},  {5, 1, 4, 11}, {4, 5, 3, 10},
                                 {3, 4, 2, 9},   {2, 3, 1, 8},   {1, 2, 5, 7}};
        for (const auto& [falt, upp, ner, sidan] : tabell) {
            QCOMPARE(antalfaltVidPil(falt, Qt::Key_Up), upp);
            QCOMPARE(antalfaltVidPil(falt, Qt::Key_Down), ner);
            QCOMPARE(antalfaltVidPil(falt, Qt::Key_Left), sidan);
            QCOMPARE(antalfaltVidPil(falt, Qt::Key_Right), sidan);
            QCOMPARE(antalfaltVidPil(falt, Qt::Key_Tab), falt);
        }
    }

    void sarskjutning() {
        const std::pair<QString, std::optional<double>> fall[] = {
            {u"9,5"_s, 9.5}, {QString(), 0},   {u"  "_s, 0}, {u"10"_s, 10}, {u",5"_s, 0.5}, {u"9,"_s, 9},
            {u"9.5"_s, {}},  {u"1,2,3"_s, {}}, {u","_s, {}}, {u"-1"_s, {}}, {u"1e3"_s, {}}, {u"9 5"_s, {}}};
        for (const auto& [text, varde] : fall)
            QVERIFY2(tolkaSarskjutning(text) == varde, qPrintable(text));
        QCOMPARE(visaSarskjutning(9.5), u"9,5"_s);
        QCOMPARE(visaSarskjutning(0), u"0"_s);
        QCOMPARE(visaSarskjutning(10.25), u"10,25"_s);
        QCOMPARE(visaSarskjutning(10.3), u"10,3"_s);
    }
};

QTEST_MAIN(T_serieregler)
#include "test_serieregler.moc"
