#include "competition/Rangordning.h"
#include "competition/Serieregler.h"

#include <QTest>
#include <limits>

using namespace Qt::StringLiterals;
using Rangordning::Kedja;

namespace {

const Kedja<Skytt>& kedja(const QString& namn) {
    if (namn == u"sport60")
        return Rangordning::sport60();
    if (namn == u"sport40")
        return Rangordning::sport40();
    return Rangordning::nationell();
}

// A shooter in the middle of every range, so that any field can go up.
Skytt skytt(const QString& efternamn = u"Ek"_s, qint64 lopnummer = 2) {
    Skytt s;
    s.lopnummer = lopnummer;
    s.efternamn = efternamn;
    s.namn = u"Al"_s;
    s.res.fill(40);
    s.sum.fill(80);
    s.totalt40 = s.totalt60 = 300;
    s.innertior = 3;
    s.tioNior = u"5,5,5,5,5,5,5,5,5,5"_s;
    s.sarskjutning = 1;
    return s;
}

// Makes the shooter better in one field: "Totalt40", "Res3", "Sum20", "Antal9"
// (the count of nines), "Särskjutning".
void battre(Skytt& s, const QString& falt) {
    if (falt == u"Totalt40")
        ++s.totalt40;
    else if (falt == u"Totalt60")
        ++s.totalt60;
    else if (falt == u"Innertior")
        ++s.innertior;
    else if (falt.startsWith(u"Res"))
        ++s.res[falt.mid(3).toInt() - 1];
    else if (falt.startsWith(u"Sum"))
        ++s.sum[falt.mid(3).toInt() / 10 - 1];
    else if (falt.startsWith(u"Antal")) {
        std::array<int, 10> v = Serieregler::tioNiorVarden(s.tioNior);
        ++v[10 - falt.mid(5).toInt()];
        s.tioNior = Serieregler::tioNiorText(v);
    } else if (falt == u"Särskjutning")
        s.sarskjutning += 0.5;
    else
        qFatal("no field %s", qPrintable(falt));
}

QStringList bakifran(const QString& prefix, int fran, int till, int steg = 1) {
    QStringList f;
    for (int i = fran; i >= till; i -= steg)
        f << prefix + QString::number(i);
    return f;
}

// The chains as the result lists rank by them.
QStringList nycklar(const QString& kedja) {
    const QStringList antal = bakifran(u"Antal"_s, 10, 1);
    if (kedja == u"nationell")
        return QStringList{u"Totalt40"_s, u"Innertior"_s} + bakifran(u"Res"_s, 8, 1) + antal +
               QStringList{u"Särskjutning"_s};
    const bool sextio = kedja == u"sport60";
    return QStringList{sextio ? u"Totalt60"_s : u"Totalt40"_s, u"Innertior"_s} +
           bakifran(u"Sum"_s, sextio ? 60 : 40, 10, 10) + antal + QStringList{u"Särskjutning"_s};
}

QList<qint64> lopnummer(const QList<Skytt>& s) {
    QList<qint64> l;
    for (const Skytt& x : s)
        l << x.lopnummer;
    return l;
}

const QStringList Kedjor{u"nationell"_s, u"sport60"_s, u"sport40"_s};

} // namespace

// The ranking rule: the chains key by key, the counts and the shoot-off as
// numbers, places, and the name order of equal shooters.
class TestRangordning : public QObject {
    Q_OBJECT
private slots:
    // Better in key k ranks first even against a shooter better in every later
    // key, and whatever the names say: each key counts, and in this order.
    void nycklarIOrdning_data() {
        QTest::addColumn<QString>("kedja");
        QTest::addColumn<int>("k");
        for (const QString& k : Kedjor) {
            const QStringList n = nycklar(k);
            for (int i = 0; i < n.size(); ++i)
                QTest::addRow("%s %s", qPrintable(k), qPrintable(n[i])) << k << i;
        }
    }
    void nycklarIOrdning() {
        QFETCH(QString, kedja);
        QFETCH(int, k);
        const QStringList n = nycklar(kedja);
        Skytt a = skytt(u"Öst"_s, 9), b = skytt(u"Ahl"_s, 2);
        battre(a, n[k]);
        for (int i = k + 1; i < n.size(); ++i)
            battre(b, n[i]);
        const Kedja<Skytt>& kd = ::kedja(kedja);
        QVERIFY(Rangordning::fore(a, b, kd));
        QVERIFY(!Rangordning::fore(b, a, kd));
        QVERIFY(!Rangordning::likaResultat(a, b, kd));
        QList<Skytt> lista{b, a};
        Rangordning::rangordna(lista, kd);
        QCOMPARE(lopnummer(lista), (QList<qint64>{9, 2}));
        QCOMPARE(Rangordning::platser(lista, kd), (QList<int>{1, 2}));
    }

    // Fields outside a chain neither order nor separate: the shooters share the
    // place and stand by name.
    void ejNyckel_data() {
        QTest::addColumn<QString>("kedja");
        QTest::addColumn<QString>("falt");
        const auto rad = [](const QString& k, const QStringList& falt) {
            for (const QString& f : falt)
                QTest::addRow("%s %s", qPrintable(k), qPrintable(f)) << k << f;
        };
        rad(u"nationell"_s,
            QStringList{u"Totalt60"_s} + bakifran(u"Res"_s, 12, 9) + bakifran(u"Sum"_s, 60, 10, 10));
        rad(u"sport60"_s, QStringList{u"Totalt40"_s} + bakifran(u"Res"_s, 12, 1));
        rad(u"sport40"_s, QStringList{u"Totalt60"_s, u"Sum60"_s, u"Sum50"_s} + bakifran(u"Res"_s, 12, 1));
    }
    void ejNyckel() {
        QFETCH(QString, kedja);
        QFETCH(QString, falt);
        Skytt a = skytt(u"Öst"_s, 9), b = skytt(u"Ahl"_s, 2);
        battre(a, falt);
        const Kedja<Skytt>& kd = ::kedja(kedja);
        QVERIFY(Rangordning::likaResultat(a, b, kd));
        QList<Skytt> lista{a, b};
        Rangordning::rangordna(lista, kd);
        QCOMPARE(lopnummer(lista), (QList<qint64>{2, 9}));
        QCOMPARE(Rangordning::platser(lista, kd), (QList<int>{1, 1}));
    }

    // The counts as ten numbers, tens first; a missing or unreadable count is 0.
    // The shoot-off as stored; one that is no number ranks below every number.
    // Either order of the rows gives the same.
    void antalOchSarskjutning_data() {
        QTest::addColumn<QString>("tioNiorA");
        QTest::addColumn<double>("sarskjutningA");
        QTest::addColumn<QString>("tioNiorB");
        QTest::addColumn<double>("sarskjutningB");
        QTest::addColumn<QString>("forst"); // "a", "b" or "lika"
        const QString noll = Serieregler::NollAntal;
        QTest::newRow("10 tior före 9")
            << u"10,0,0,0,0,0,0,0,0,0"_s << 0.0 << u"9,9,9,9,9,9,9,9,9,9"_s << 0.0 << u"a"_s;
        QTest::newRow("10 nior före 9")
            << u"2,10,0,0,0,0,0,0,0,0"_s << 0.0 << u"2,9,9,9,9,9,9,9,9,9"_s << 0.0 << u"a"_s;
        QTest::newRow("en etta") << noll << 0.0 << u"0,0,0,0,0,0,0,0,0,1"_s << 0.0 << u"b"_s;
        QTest::newRow("tom text") << QString() << 0.0 << noll << 0.0 << u"lika"_s;
        QTest::newRow("kort text") << u"1"_s << 0.0 << u"1,0,0,0,0,0,0,0,0,0"_s << 0.0 << u"lika"_s;
        QTest::newRow("oläsbart") << u"x,3"_s << 0.0 << u"0,3"_s << 0.0 << u"lika"_s;
        QTest::newRow("särskjutning") << noll << 9.5 << noll << 9.4 << u"a"_s;
        QTest::newRow("särskjutning 10") << noll << 9.4 << noll << 10.0 << u"b"_s;
        QTest::newRow("lika särskjutning") << noll << 9.5 << noll << 9.5 << u"lika"_s;
        const double ejTal = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("särskjutning inget tal") << noll << ejTal << noll << -1e300 << u"b"_s;
        QTest::newRow("båda inget tal") << noll << ejTal << noll << ejTal << u"lika"_s;
    }
    void antalOchSarskjutning() {
        QFETCH(QString, tioNiorA);
        QFETCH(double, sarskjutningA);
        QFETCH(QString, tioNiorB);
        QFETCH(double, sarskjutningB);
        QFETCH(QString, forst);
        for (const QString& k : Kedjor)
            for (const bool bakfram : {false, true}) {
                Skytt a = skytt(u"Öst"_s, 9), b = skytt(u"Ahl"_s, 2);
                a.tioNior = tioNiorA;
                b.tioNior = tioNiorB;
                a.sarskjutning = sarskjutningA;
                b.sarskjutning = sarskjutningB;
                QList<Skytt> lista = bakfram ? QList<Skytt>{a, b} : QList<Skytt>{b, a};
                Rangordning::rangordna(lista, kedja(k));
                const QList<int> platser = Rangordning::platser(lista, kedja(k));
                if (forst == u"lika") {
                    QCOMPARE(lopnummer(lista), (QList<qint64>{2, 9}));
                    QCOMPARE(platser, (QList<int>{1, 1}));
                } else {
                    QCOMPARE(lista.first().lopnummer, forst == u"a" ? 9 : 2);
                    QCOMPARE(platser, (QList<int>{1, 2}));
                }
            }
    }

    // Rows as given (the place rule does not sort): a row shares the place of
    // the row directly above when it is equal to it, else takes its running
    // number.
    void platser_data() {
        QTest::addColumn<QList<int>>("totalt");
        QTest::addColumn<QList<int>>("platser");
        QTest::newRow("1,2,2,4") << QList<int>{400, 390, 390, 380} << QList<int>{1, 2, 2, 4};
        QTest::newRow("1,1,1,4") << QList<int>{400, 400, 400, 380} << QList<int>{1, 1, 1, 4};
        QTest::newRow("1,2,2,2,5") << QList<int>{400, 390, 390, 390, 380} << QList<int>{1, 2, 2, 2, 5};
        QTest::newRow("bara raden ovanför") << QList<int>{400, 390, 400} << QList<int>{1, 2, 3};
        QTest::newRow("utan resultat") << QList<int>{400, 390, 0, 0, 0} << QList<int>{1, 2, 3, 3, 3};
        QTest::newRow("en") << QList<int>{0} << QList<int>{1};
        QTest::newRow("ingen") << QList<int>{} << QList<int>{};
    }
    void platser() {
        QFETCH(QList<int>, totalt);
        QList<Skytt> lista;
        for (const int t : totalt) {
            Skytt s;
            s.totalt40 = t;
            lista << s;
        }
        QTEST(Rangordning::platser(lista, Rangordning::nationell()), "platser");
    }

    // Equal shooters stand by family name (Swedish, letter case ignored), first
    // name and Löpnummer, whatever order they come in; they share place 1.
    void namnordning() {
        const QList<Skytt> skyttar = [] {
            QList<Skytt> s;
            const auto lagg = [&s](const QString& efternamn, const QString& namn, qint64 nr) {
                Skytt x = skytt(efternamn, nr);
                x.namn = namn;
                s << x;
            };
            lagg(u"Åberg"_s, u"Bo"_s, 5);
            lagg(u"Öberg"_s, u"Al"_s, 8);
            lagg(u"Zetterberg"_s, u"Al"_s, 4);
            lagg(u"åberg"_s, u"al"_s, 7);
            lagg(u"Andersson"_s, u"Cy"_s, 3);
            lagg(u"Ärling"_s, u"Al"_s, 9);
            lagg(u"ÅBERG"_s, u"Al"_s, 6);
            lagg(u"ek"_s, u"Al"_s, 2);
            return s;
        }();
        const QList<qint64> ordning{3, 2, 4, 6, 7, 5, 9, 8};
        for (const bool bakfram : {false, true}) {
            QList<Skytt> lista = skyttar;
            if (bakfram)
                std::reverse(lista.begin(), lista.end());
            Rangordning::rangordna(lista, Rangordning::sport60());
            QCOMPARE(lopnummer(lista), ordning);
            QCOMPARE(Rangordning::platser(lista, Rangordning::sport60()), QList<int>(8, 1));
        }
    }

    // Another kind of row ranks by its own chain: teams by sum, inner tens and
    // counts, then by name.
    void annanRadtyp() {
        struct Lagrad {
            QString namn;
            int summa = 0, innertior = 0;
            QString tioNior;
        };
        const Kedja<Lagrad> k{{Rangordning::tal<Lagrad>([](const Lagrad& l) { return l.summa; }),
                               Rangordning::tal<Lagrad>([](const Lagrad& l) { return l.innertior; }),
                               Rangordning::antal<Lagrad>([](const Lagrad& l) { return l.tioNior; })},
                              [](const Lagrad& l) {
                                  return Rangordning::Svans{{l.namn}, 0};
                              }};
        QList<Lagrad> lag{{u"Ö"_s, 1190, 30, u"9"_s},
                          {u"B"_s, 1180, 40, u"99"_s},
                          {u"A"_s, 1190, 30, u"10"_s},
                          {u"C"_s, 1190, 30, u"10"_s}};
        Rangordning::rangordna(lag, k);
        QStringList namn;
        for (const Lagrad& l : lag)
            namn << l.namn;
        QCOMPARE(namn, (QStringList{u"A"_s, u"C"_s, u"Ö"_s, u"B"_s}));
        QCOMPARE(Rangordning::platser(lag, k), (QList<int>{1, 1, 3, 4}));
    }
};

QTEST_MAIN(TestRangordning)
#include "test_rangordning.moc"
