#include "lists/Skarmlista.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace Skarmlista;

Q_DECLARE_METATYPE(Klassblock)
Q_DECLARE_METATYPE(Skarmlista::Layout)

namespace {

// One shooter as the ranking hands him over; results by kind: series for a
// national class, pair sums for a sport class.
Skytt skytt(const QString& namn, std::initializer_list<int> resultat, int t40, int t60, int innertior = 0,
            double sarskjutning = 0) {
    Skytt s;
    s.namn = namn;
    s.efternamn = u"Ek"_s;
    s.forening = u"SK"_s;
    int i = 0;
    for (int r : resultat) {
        s.res[i] = r;
        if (i < 6)
            s.sum[i] = r;
        ++i;
    }
    s.totalt40 = t40;
    s.totalt60 = t60;
    s.innertior = innertior;
    s.sarskjutning = sarskjutning;
    return s;
}

Klassblock block(Klassslag slag, QList<Skytt> skyttar, QList<int> platser,
                 const QString& namn = u"Klassen"_s) {
    Klass k;
    k.kod = u"K"_s;
    k.namn = namn;
    return {{k, false}, slag, std::move(skyttar), std::move(platser)};
}

// A row as one line: the cells from column 1 on, "|" between them, each cell
// marked ">" right-aligned, "^" centred, "!" red, "*" total font, "#" class
// font; a row of its own height starts with it ("38:").
QString text(const Rad& r) {
    QStringList celler;
    const int sista = r.celler.isEmpty() ? 0 : r.celler.lastKey();
    for (int k = 1; k <= sista; ++k) {
        const Cell c = r.celler.value(k);
        QString t = c.text;
        if (c.justering == Justering::Hoger)
            t += u'>';
        if (c.justering == Justering::Centrerad)
            t += u'^';
        if (c.rod)
            t += u'!';
        if (c.stil == Stil::Total)
            t += u'*';
        if (c.stil == Stil::Klassrubrik)
            t += u'#';
        celler << t;
    }
    return (r.hojd ? QString::number(r.hojd) + u':' : QString()) + celler.join(u'|');
}

} // namespace

// The rows of the on-screen result list, class by class.
class TestSkarmlista : public QObject {
    Q_OBJECT
private slots:
    void rader_data() {
        QTest::addColumn<Klassblock>("block");
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<QStringList>("rader");
        const QString tom;
        const QString klassrad = u"38:|Klassen#"_s;
        QTest::newRow("nationell: 50 röd, total fet, ingen total visar bara namnet")
            << block(Klassslag::Nationell,
                     {skytt(u"Ada"_s, {50, 49, 50, 48, 47, 46, 45, 50}, 385, 385, 7, 9.5),
                      skytt(u"Bo"_s, {}, 0, 0), skytt(u"Cia"_s, {}, 0, 0)},
                     {1, 2, 2})
            << Layout::AttaSerier
            << QStringList{tom, klassrad, u"1 >|Ada Ek|SK|50^!|49^|50^!|48^|47^|46^|45^|50^!|385^*|7^|9,5^"_s,
                           u"2 >|Bo Ek|SK"_s, u"2 >|Cia Ek|SK"_s};
        QTest::newRow("sport 60 i sportskytte: 100 röd, 600 inte")
            << block(Klassslag::Sport60, {skytt(u"Ada"_s, {100, 100, 100, 100, 100, 100}, 400, 600, 40)}, {1})
            << Layout::SexSerier
            << QStringList{tom, klassrad,
                           u"1 >|Ada Ek|SK|100^!|100^!|100^!|100^!|100^!|100^!|600^*|40^|0^"_s};
        QTest::newRow("sport 60 i mix: 7 och 8 tomma")
            << block(Klassslag::Sport60, {skytt(u"Ada"_s, {99, 98, 97, 96, 95, 94}, 390, 579, 3)}, {1})
            << Layout::AttaSerier
            << QStringList{tom, klassrad, u"1 >|Ada Ek|SK|99^|98^|97^|96^|95^|94^|||579^*|3^|0^"_s};
        QTest::newRow("sport 40 i sportskytte: femte och sjätte paret tomma")
            << block(Klassslag::Sport40, {skytt(u"Ada"_s, {99, 98, 97, 100}, 394, 394, 2, 10.25)}, {1})
            << Layout::SexSerier
            << QStringList{tom, klassrad, u"1 >|Ada Ek|SK|99^|98^|97^|100^!|||394^*|2^|10,25^"_s};
        QTest::newRow("sport 40 i mix")
            << block(Klassslag::Sport40, {skytt(u"Ada"_s, {99, 98, 97, 96}, 390, 390)}, {1})
            << Layout::AttaSerier
            << QStringList{tom, klassrad, u"1 >|Ada Ek|SK|99^|98^|97^|96^|||||390^*|0^|0^"_s};
        // Sport rows are let through by the 60-shot total.
        QTest::newRow("sport 40 utan 60-skottstotal")
            << block(Klassslag::Sport40, {skytt(u"Ada"_s, {99, 98, 97, 96}, 390, 0)}, {1})
            << Layout::SexSerier << QStringList{tom, klassrad, u"1 >|Ada Ek|SK"_s};
        QTest::newRow("klass utan skyttar")
            << block(Klassslag::Nationell, {}, {}) << Layout::AttaSerier << QStringList{};
    }
    void rader() {
        QFETCH(Klassblock, block);
        QFETCH(Layout, layout);
        QFETCH(QStringList, rader);
        QStringList faktiska;
        for (const Rad& r : Skarmlista::rader(block, layout))
            faktiska << text(r);
        QCOMPARE(faktiska, rader);
    }

    // The main class shows its own description on its class row.
    void huvudklassensBeskrivning() {
        Klassblock b = block(Klassslag::Nationell, {skytt(u"Ada"_s, {}, 0, 0)}, {1}, u"Alla damer"_s);
        b.vald.huvudklass = true;
        QCOMPARE(text(Skarmlista::rader(b, Layout::AttaSerier)[1]), u"38:|Alla damer#"_s);
    }

    void kolumner_data() {
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<QString>("rubriker");
        QTest::newRow("sportskytte")
            << Layout::SexSerier
            << u"Plac 40|Namn 200|Förening 120|1 30|2 30|3 30|4 30|5 30|6 30|Totalt 50|"
               "10' 42|Särkj. 47"_s;
        QTest::newRow("nationellt och mix")
            << Layout::AttaSerier
            << u"Plac 40|Namn 200|Förening 120|1 30|2 30|3 30|4 30|5 30|6 30|7 30|8 30|Totalt 50|10' 42|"
               "Särkj. 47"_s;
    }
    void kolumner() {
        QFETCH(Layout, layout);
        QFETCH(QString, rubriker);
        QStringList k;
        for (const Kolumn& c : Skarmlista::kolumner(layout))
            k << c.rubrik + u' ' + QString::number(c.bredd);
        QCOMPARE(k.join(u'|'), rubriker);
    }
};

QTEST_MAIN(TestSkarmlista)
#include "test_skarmlista.moc"
