#include "platform/Databas.h"
#include "printouts/Lagresultat.h"
#include "support/Testfixtur.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A sport competition with one team competition and the teams 1 and 2.
struct Miljo {
    Testfixtur f;
    QList<qint64> skyttar;
    Miljo() {
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 10, 1, 6);
        const qint64 tavling = db().varde(u"SELECT Lagtävling FROM Lagtävling"_s).toLongLong();
        for (int nr : {1, 2})
            db().kor(u"INSERT INTO Lag ([Lag nr], Lagnamn, Lagtävling) VALUES (?, ?, ?)"_s,
                     {nr, u"Lag %1"_s.arg(nr), tavling});
        QSqlQuery q = db().kor(u"SELECT Löpnummer FROM Skyttar WHERE Löpnummer <> 1 ORDER BY Löpnummer"_s);
        while (q.next())
            skyttar << q.value(0).toLongLong();
    }
    Databas& db() { return f.g.cnnTavling; }
    // Shooter i (from 0) joins a team with its series, inner tens and counts.
    void medlem(int i, qint64 lag, int lagserier, const QList<int>& serier, int innertior = 0,
                const QString& tioNior = u"0,0,0,0,0,0,0,0,0,0"_s) {
        db().kor(
            u"UPDATE Skyttar SET Lag = ?, Lagserier = ?, Innertior = ?, TioNior = ? WHERE Löpnummer = ?"_s,
            {lag, lagserier, innertior, tioNior, skyttar[i]});
        for (int s = 0; s < serier.size(); ++s)
            db().kor(u"UPDATE Skyttar SET Res%1 = ? WHERE Löpnummer = ?"_s.arg(s + 1),
                     {serier[s], skyttar[i]});
    }
    // A team as "Summa|IndRes|Res1..Res6|Sum10..Sum30|Innertior|TioNior".
    QString lag(qint64 nr) {
        return db()
            .varde(u"SELECT Summa || '|' || IndRes || '|' || Res1 || ',' || Res2 || ',' || Res3 || ',' || "
                   u"Res4 || ',' || Res5 || ',' || Res6 || '|' || Sum10 || ',' || Sum20 || ',' || Sum30 || "
                   u"'|' || Innertior || '|' || TioNior FROM Lag WHERE [Lag nr] = ?"_s,
                   {nr})
            .toString();
    }
    // Every series and pair sum of a team, "Res1,..,Res12|Sum10,..,Sum60".
    QString serier(qint64 nr) {
        QStringList res, sum;
        for (int i = 1; i <= 12; ++i)
            res << db().varde(u"SELECT Res%1 FROM Lag WHERE [Lag nr] = ?"_s.arg(i), {nr}).toString();
        for (int i = 10; i <= 60; i += 10)
            sum << db().varde(u"SELECT Sum%1 FROM Lag WHERE [Lag nr] = ?"_s.arg(i), {nr}).toString();
        return res.join(u',') + u'|' + sum.join(u',');
    }
    int lagRes(int i) {
        return db().varde(u"SELECT LagRes FROM Skyttar WHERE Löpnummer = ?"_s, {skyttar[i]}).toInt();
    }
};

struct Medlem {
    int skytt;
    int lagserier;
    QList<int> serier;
    int innertior = 0;
    QString tioNior = u"0,0,0,0,0,0,0,0,0,0"_s;
};

} // namespace

Q_DECLARE_METATYPE(QList<Medlem>)

// The team scores rebuilt from the members' results.
class TestLagresultat : public QObject {
    Q_OBJECT

private slots:
    void lagetsPoang_data() {
        QTest::addColumn<QList<Medlem>>("medlemmar");
        QTest::addColumn<QString>("lag");
        QTest::addColumn<QList<int>>("lagRes");
        const QList<int> atta40(8, 40), atta45(8, 45);
        QTest::newRow("fyra av fem serier räknas")
            << QList<Medlem>{{0, 4, {48, 49, 47, 50, 46}}}
            << u"194|194|48,49,47,50,0,0|97,97,0|0|0,0,0,0,0,0,0,0,0,0"_s << QList<int>{194};
        QTest::newRow("högsta medlem först")
            << QList<Medlem>{{0, 8, atta40, 3, u"5,1,0,0,0,0,0,0,0,0"_s},
                             {1, 8, atta45, 2, u"1,2,3,0,0,0,0,0,0,0"_s}}
            << u"680|360,320|85,85,85,85,85,85|170,170,170|5|6,3,3,0,0,0,0,0,0,0"_s << QList<int>{320, 360};
        QTest::newRow("inga serier men tior och innertior")
            << QList<Medlem>{{0, 0, {50, 50}, 4, u"10,0,0,0,0,0,0,0,0,0"_s}}
            << u"0|0|0,0,0,0,0,0|0,0,0|4|10,0,0,0,0,0,0,0,0,0"_s << QList<int>{0};
        QTest::newRow("paret räknar bara räknade serier")
            << QList<Medlem>{{0, 3, {10, 20, 30, 40}}}
            << u"60|60|10,20,30,0,0,0|30,30,0|0|0,0,0,0,0,0,0,0,0,0"_s << QList<int>{60};
        QTest::newRow("fler än tolv serier klämms")
            << QList<Medlem>{{0, 20, QList<int>(12, 10)}}
            << u"120|120|10,10,10,10,10,10|20,20,20|0|0,0,0,0,0,0,0,0,0,0"_s << QList<int>{120};
        QTest::newRow("negativt antal serier klämms")
            << QList<Medlem>{{0, -3, {50}}} << u"0|0|0,0,0,0,0,0|0,0,0|0|0,0,0,0,0,0,0,0,0,0"_s
            << QList<int>{0};
    }
    void lagetsPoang() {
        QFETCH(QList<Medlem>, medlemmar);
        QFETCH(QString, lag);
        QFETCH(QList<int>, lagRes);
        Miljo mj;
        for (const Medlem& m : medlemmar)
            mj.medlem(m.skytt, 1, m.lagserier, m.serier, m.innertior, m.tioNior);
        QVERIFY(Lagresultat::rakna(mj.db()).isEmpty());
        QCOMPARE(mj.lag(1), lag);
        QList<int> res;
        for (const Medlem& m : medlemmar)
            res << mj.lagRes(m.skytt);
        QCOMPARE(res, lagRes);
        // A second run gives the same: nothing is carried over from the first.
        Lagresultat::rakna(mj.db());
        QCOMPARE(mj.lag(1), lag);
    }

    // A team whose members have all left, or a competition where no shooter
    // has a team, shows no score from before.
    void tomtLagNollstalls() {
        Miljo mj;
        mj.medlem(0, 1, 12, QList<int>(12, 40));
        mj.medlem(1, 2, 2, {30, 31});
        Lagresultat::rakna(mj.db());
        QCOMPARE(mj.serier(1), u"40,40,40,40,40,40,40,40,40,40,40,40|80,80,80,80,80,80"_s);
        mj.db().kor(u"UPDATE Skyttar SET Lag = 0, Lagserier = 0 WHERE Lag = 1"_s);
        Lagresultat::rakna(mj.db());
        QCOMPARE(mj.lag(1), u"0||0,0,0,0,0,0|0,0,0|0|0,0,0,0,0,0,0,0,0,0"_s);
        QCOMPARE(mj.serier(1), u"0,0,0,0,0,0,0,0,0,0,0,0|0,0,0,0,0,0"_s);
        QCOMPARE(mj.lag(2), u"61|61|30,31,0,0,0,0|61,0,0|0|0,0,0,0,0,0,0,0,0,0"_s);
        mj.db().kor(u"UPDATE Skyttar SET Lag = 0, Lagserier = 0"_s);
        Lagresultat::rakna(mj.db());
        QCOMPARE(mj.lag(2), mj.lag(1));
    }

    // A member whose team has no row is left out and named; the other teams
    // are all computed, before and after it.
    void saknatLagHoppasOver() {
        Miljo mj;
        mj.medlem(0, 1, 1, {40});
        mj.medlem(1, 7, 1, {45});
        mj.medlem(2, 2, 1, {30});
        mj.db().kor(u"UPDATE Skyttar SET Namn = 'Eva', Efternamn = 'Ek', LagRes = 9 WHERE Löpnummer = ?"_s,
                    {mj.skyttar[1]});
        const QList<Lagresultat::Utan> utan = Lagresultat::rakna(mj.db());
        QCOMPARE(utan.size(), 1);
        QCOMPARE(utan[0].lopnummer, mj.skyttar[1]);
        QCOMPARE(mj.lagRes(1), 9);
        QVERIFY(mj.lag(1).startsWith(u"40|40|"_s));
        QVERIFY(mj.lag(2).startsWith(u"30|30|"_s));
        Lagresultat::tala(mj.f.m, utan);
        QCOMPARE(mj.f.m.visade.size(), 1);
        QVERIFY(mj.f.m.senasteText().endsWith(u"\r\nEva Ek (lag 7)"_s));
        mj.f.m.tom();
        Lagresultat::tala(mj.f.m, {});
        QVERIFY(mj.f.m.visade.isEmpty());
    }

    // A failure while the teams are written undoes the whole run: the members'
    // scores and the teams' reset included.
    void ettFelAngrarAllt() {
        Miljo mj;
        mj.medlem(0, 1, 1, {40});
        Lagresultat::rakna(mj.db());
        mj.medlem(0, 1, 2, {40, 10});
        mj.db().kor(u"UPDATE Lag SET Summa = 77 WHERE [Lag nr] = 2"_s);
        mj.db().kor(u"CREATE TRIGGER nej BEFORE UPDATE OF Summa ON Lag WHEN NEW.Summa > 0 "
                    u"BEGIN SELECT RAISE(ABORT, 'nej'); END"_s);
        QVERIFY_THROWS_EXCEPTION(Fel, Lagresultat::rakna(mj.db()));
        QCOMPARE(mj.lagRes(0), 40);
        QVERIFY(mj.lag(1).startsWith(u"40|40|"_s));
        QVERIFY(mj.lag(2).startsWith(u"77|"_s));
        QCOMPARE(mj.db().transaktionsdjup(), 0);
    }
};

QTEST_MAIN(TestLagresultat)
#include "test_lagresultat.moc"
