#include "competition/Klasser.h"
#include "competition/Serieregler.h"
#include "lists/Resultatlistbok.h"
#include "support/Testfixtur.h"
#include "support/XlsxLasare.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using Typ = NyTavling::Typ;

Q_DECLARE_METATYPE(NyTavling::Typ)

// The expected sheets of one competition of each kind: every cell's value as
// text, a row a line, cells separated by "|". PILKRONA_SKRIV_FACIT=1 writes
// them anew from what the list makes now; the diff then shows what changed.
namespace {

const QString Facitmapp = QStringLiteral(FACITMAPP);

// A shooter as the operator entered him: his class and round, his series and
// counts. Names, clubs and cards follow from the family name.
struct Post {
    QString efternamn, klass;
    int omg;
    QList<int> serier; // empty: no results yet
    int innertior = 0;
    QString tioNior = Serieregler::NollAntal;
    double sarskjutning = 0;
};

struct Tavling {
    Typ typ;
    bool omgangar;
    QStringList valfria;                             // the optional columns printed
    QList<QPair<QString, QStringList>> huvudklasser; // main classes and their members
    QStringList klasser;                             // chosen, in the order of the dialog
    int omg;                                         // the round listed, 0 without rounds
    QList<Post> skyttar;
};

const QList<int> Full8(8, 50);

// Ties, count-back, full marks, shooters without results and a main class.
const Tavling Nationell{
    Typ::Nationellt,
    false,
    {u"Födelseår"_s},
    {{u"LGX"_s, {u"LG3"_s, u"LGJ"_s}}},
    {u"LG1"_s, u"LG2"_s, u"LGV"_s, u"LGX"_s},
    0,
    {{u"Holm"_s, u"LG1"_s, 0, {}},
     {u"Berg"_s, u"LG1"_s, 0, {49, 50, 48, 50, 49, 50, 48, 49}, 10, u"36,4,0,0,0,0,0,0,0,0"_s},
     {u"Alm"_s, u"LG1"_s, 0, Full8, 21, u"40,0,0,0,0,0,0,0,0,0"_s},
     {u"Ek"_s, u"LG1"_s, 0, {49, 50, 48, 50, 49, 50, 48, 49}, 10, u"36,4,0,0,0,0,0,0,0,0"_s},
     {u"Dahl"_s, u"LG1"_s, 0, {49, 50, 48, 50, 49, 50, 48, 49}, 10, u"35,6,0,0,0,0,0,0,0,0"_s},
     {u"Lund"_s, u"LG1"_s, 0, {}},
     {u"Ask"_s, u"LG2"_s, 0, {45, 46, 47, 48, 49, 50, 44, 43}, 0, u"10,20,10,0,0,0,0,0,0,0"_s},
     {u"Gran"_s, u"LG3"_s, 0, {40, 41, 42, 43, 44, 45, 46, 47}, 2},
     {u"Björk"_s, u"LGJ"_s, 0, {41, 41, 42, 43, 44, 45, 46, 47}, 1}}};

// 60 and 40 shots, a shoot-off, a 40-shot shooter who shot 60, every optional column.
const Tavling Sport{
    Typ::Sportskytte,
    false,
    {u"Födelseår"_s, u"Aktivitetskort"_s, u"SkyttekortNr"_s},
    {},
    {u"H"_s, u"D"_s, u"JH"_s},
    0,
    {{u"Väst"_s,
      u"H"_s,
      0,
      {50, 49, 50, 48, 49, 49, 50, 50, 48, 48, 50, 50},
      25,
      u"50,10,0,0,0,0,0,0,0,0"_s,
      9.8},
     {u"Nord"_s, u"H"_s, 0, {50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50}, 60, u"60,0,0,0,0,0,0,0,0,0"_s},
     {u"Söder"_s,
      u"H"_s,
      0,
      {50, 49, 50, 48, 49, 49, 50, 50, 48, 48, 50, 50},
      25,
      u"50,10,0,0,0,0,0,0,0,0"_s,
      10.2},
     {u"Öst"_s, u"H"_s, 0, {}},
     {u"Ros"_s, u"D"_s, 0, {50, 49, 50, 50, 49, 48, 50, 50}, 12, u"36,4,0,0,0,0,0,0,0,0"_s},
     {u"Lilja"_s, u"D"_s, 0, {48, 48, 49, 49, 50, 50, 47, 47, 49, 49}, 3, u"30,10,0,0,0,0,0,0,0,0"_s},
     {u"Tulpan"_s, u"D"_s, 0, Full8, 30, u"40,0,0,0,0,0,0,0,0,0"_s}}};

// National and sport classes side by side, the list of the second round.
const Tavling Mix{Typ::Mix,
                  true,
                  {u"Aktivitetskort"_s, u"SkyttekortNr"_s},
                  {},
                  {u"H"_s, u"D"_s, u"LG1"_s, u"LGU"_s},
                  2,
                  {{u"Ahl"_s, u"H"_s, 1, {50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50}, 60},
                   {u"Bergh"_s, u"H"_s, 2, {47, 48, 49, 50, 47, 48, 49, 50, 47, 48, 49, 50}, 15},
                   {u"Carl"_s, u"H"_s, 2, {}},
                   {u"Dunér"_s, u"D"_s, 2, {49, 49, 49, 49, 49, 49, 49, 49}, 0},
                   {u"Ek"_s, u"LG1"_s, 2, {45, 46, 47, 48, 49, 50, 44, 43}, 4},
                   {u"Falk"_s, u"LG1"_s, 2, {46, 46, 47, 48, 49, 50, 44, 42}, 0},
                   {u"Grip"_s, u"LG1"_s, 1, Full8, 30},
                   {u"Hed"_s, u"LGU"_s, 1, {40, 40, 40, 40}}}};

QString text(const QList<QStringList>& rader) {
    QStringList l;
    for (const QStringList& r : rader)
        l << r.join(u'|');
    return l.join(u'\n') + u'\n';
}

// Where the sheet and the expected one differ, cell by cell.
QStringList skillnader(const QList<QStringList>& fick, const QList<QStringList>& vantat) {
    QStringList s;
    for (qsizetype r = 0; r < qMax(fick.size(), vantat.size()); ++r) {
        const QStringList f = fick.value(r), v = vantat.value(r);
        for (qsizetype k = 0; k < qMax(f.size(), v.size()); ++k)
            if (f.value(k) != v.value(k))
                s << u"%1%2: väntat \"%3\", fick \"%4\""_s.arg(Kalkyl::Arbetsblad::kolumnnamn(int(k) + 1))
                         .arg(r + 1)
                         .arg(v.value(k), f.value(k));
    }
    return s;
}

} // namespace

Q_DECLARE_METATYPE(Tavling)

class TestResultatlistfacit : public QObject {
    Q_OBJECT
private slots:
    void facit_data() {
        QTest::addColumn<Tavling>("tavling");
        QTest::newRow("nationell") << Nationell;
        QTest::newRow("sport") << Sport;
        QTest::newRow("mix_omgangar") << Mix;
    }
    void facit() {
        QFETCH(Tavling, tavling);
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, tavling.typ, 10, 1, 0);
        f.g.blnFleraTavlingar = tavling.omgangar;
        Databas& db = f.g.cnnTavling;
        if (tavling.omgangar)
            for (int omg : {1, 2})
                QVERIFY(!Omgangar::laggTill(db, QString::number(omg), u"Omgång %1"_s.arg(omg)));
        for (const QString& falt : tavling.valfria)
            db.kor(u"UPDATE Utskriftsval SET Enable = 1 WHERE FältNamn = ?"_s, {falt});
        for (const Post& p : tavling.skyttar) {
            Serieregler::Serier serier{};
            std::copy(p.serier.begin(), p.serier.end(), serier.begin());
            const Serieregler::Summor s = Serieregler::rakna(serier);
            QVariantList v{u"F"_s + p.efternamn.left(1),
                           p.efternamn,
                           u"Klubb "_s + p.klass,
                           p.klass,
                           p.omg,
                           u"19%1"_s.arg(p.efternamn.size() + 80),
                           u"L-"_s + p.efternamn,
                           u"G-"_s + p.efternamn};
            for (int serie : serier)
                v << serie;
            for (int par : s.par)
                v << par;
            v << s.totalt40 << s.totalt60 << p.innertior << p.tioNior << p.sarskjutning;
            db.kor(
                u"INSERT INTO Skyttar (Namn, Efternamn, Förening, Klass, Omg, Födelseår, Licensnr, "
                "SkyttekortNr, Res1, Res2, Res3, Res4, Res5, Res6, Res7, Res8, Res9, Res10, Res11, Res12, "
                "Sum10, Sum20, Sum30, Sum40, Sum50, Sum60, Totalt40, Totalt60, Innertior, TioNior, "
                "Särskjutning) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                "?, ?, ?, ?, ?, ?, ?, ?)"_s,
                v);
        }
        Klasser klasser(f.g, f.m);
        QMap<QString, ValdKlass> valbara;
        for (const Klass& k : klasser.lista())
            valbara[k.kod] = {k, false};
        for (const auto& [kod, medlemmar] : tavling.huvudklasser) {
            const Klass forsta = valbara[medlemmar.first()].klass;
            QCOMPARE(klasser.nyHuvudklass({kod, kod + u" sammanslagen"_s, QString::number(forsta.antalSkott),
                                           forsta.sportNat}),
                     Klasser::Utfall::Ok);
            const Klass h = klasser.huvudklasser().last();
            for (const QString& m : medlemmar)
                QCOMPARE(klasser.slaSamman(valbara[m].klass.raknare, h.raknare), Klasser::Utfall::Ok);
            valbara[kod] = {h, true};
        }

        const std::optional<int> omg = tavling.omg ? std::optional(tavling.omg) : std::nullopt;
        QList<Klassblock> block;
        for (const QString& kod : tavling.klasser)
            if (const auto b = Resultaturval(f.g).valjUt(valbara.value(kod), omg))
                block << *b;
        const auto omgang = omg ? Omgangar::hitta(db, *omg) : std::nullopt;
        const auto fil = Resultatlistbok::kor({f.g, f.m}, Utskriftsmal::Fil, block, omgang);
        QVERIFY2(fil, qPrintable(f.m.senasteText()));
        const QList<QStringList> fick = XlsxLasare(*fil).rader();

        const QString facit = Facitmapp + u'/' + QString::fromLatin1(QTest::currentDataTag()) + u".txt"_s;
        if (qEnvironmentVariableIntValue("PILKRONA_SKRIV_FACIT")) {
            QFile ut(facit);
            QVERIFY(ut.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ut.write(text(fick).toUtf8());
            return;
        }
        QFile in(facit);
        QVERIFY2(in.open(QIODevice::ReadOnly), qPrintable(facit));
        QList<QStringList> vantat;
        for (const QString& rad : QString::fromUtf8(in.readAll()).split(u'\n'))
            vantat << (rad.isEmpty() ? QStringList() : rad.split(u'|'));
        while (!vantat.isEmpty() && vantat.last().isEmpty())
            vantat.removeLast();
        const QStringList s = skillnader(fick, vantat);
        QVERIFY2(s.isEmpty(), qPrintable(u"\n"_s + s.join(u'\n')));
    }
};

QTEST_MAIN(TestResultatlistfacit)
#include "test_resultatlistfacit.moc"
