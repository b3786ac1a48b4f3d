#include "competition/Skjuttider.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"

#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;

// Shooting times on a real competition: the one procedure that every part
// reads, writes and renumbers them through.
class TestSkjuttider : public QObject {
    Q_OBJECT

    // Every row of the table as "squad=time", in squad order: also shows a
    // second row for one squad, which must never arise.
    static QStringList tabell(const Databas& db) {
        QStringList rader;
        QSqlQuery q = db.kor(u"SELECT Skjutlag, Skjuttid FROM Skjuttider ORDER BY Skjutlag"_s);
        while (q.next())
            rader << q.value(0).toString() + QLatin1Char('=') + q.value(1).toString();
        return rader;
    }

    static void skrivTider(Databas& db, int fran, int till) {
        for (int lag = fran; lag <= till; ++lag) {
            int lage = Skjuttider::Skriv;
            HanteraSkjuttid(db, lag, lage, u"Tid %1"_s.arg(lag), Skjuttider::LasEllerSkriv);
        }
    }

private slots:
    void tiderFoljerSkjutlagen() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 5, 4);
        Databas& db = f.g.cnnTavling;
        int lage = Skjuttider::Las;
        QCOMPARE(HanteraSkjuttid(db, 3, lage, u"bortglömd"_s, 0), QString());
        QVERIFY(tabell(db).isEmpty());
        lage = Skjuttider::Skriv;
        HanteraSkjuttid(db, 3, lage, u"Fredag"_s, 0);
        QCOMPARE(lage, 0);
        // A "changed" flag passed as it stands writes too.
        lage = 1;
        HanteraSkjuttid(db, 3, lage, u"Lördag 'kl' 9.00"_s, 0);
        QCOMPARE(HanteraSkjuttid(db, 3, lage, QString(), 0), u"Lördag 'kl' 9.00"_s);
        // An empty box of the registration form may have no text at all.
        lage = Skjuttider::Skriv;
        HanteraSkjuttid(db, 3, lage, QString(), 0);
        QCOMPARE(tabell(db), QStringList{u"3="_s});

        db.kor(u"DELETE FROM Skjuttider"_s);
        skrivTider(db, 1, 4);
        HanteraSkjuttid(db, 2, lage, QString(), Skjuttider::Infoga);
        QCOMPARE(tabell(db), (QStringList{u"1=Tid 1"_s, u"3=Tid 2"_s, u"4=Tid 3"_s, u"5=Tid 4"_s}));
        db.kor(u"DELETE FROM Skjuttider"_s);
        skrivTider(db, 1, 4);
        HanteraSkjuttid(db, 2, lage, QString(), Skjuttider::TaBort);
        QCOMPARE(tabell(db), (QStringList{u"1=Tid 1"_s, u"2=Tid 3"_s, u"3=Tid 4"_s}));
    }

    // The registration deletes squads in a transaction of its own and calls the
    // procedure inside: a failure of the times undoes the squads too. A read
    // shows its failure as the time.
    void fel() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Nationellt, 2, 3);
        Databas& db = f.g.cnnTavling;
        skrivTider(db, 1, 3);
        db.kor(u"CREATE TEMP TRIGGER stopp BEFORE UPDATE ON Skjuttider "
               "BEGIN SELECT RAISE(ABORT, 'stopp'); END"_s);
        const auto antalBanor = [&] { return db.varde(u"SELECT COUNT(*) FROM Skjutlag"_s).toInt(); };
        QCOMPARE(felnummer([&] {
                     db.transaktion([&] {
                         db.kor(u"DELETE FROM Skjutlag WHERE Skjutlag = 3"_s);
                         int lage = Skjuttider::Skriv;
                         HanteraSkjuttid(db, 1, lage, u"ny"_s, 0);
                     });
                 }),
                 Felnummer::Databasfel);
        QCOMPARE(antalBanor(), 6);
        QCOMPARE(db.transaktionsdjup(), 0);
        QCOMPARE(tabell(db).first(), u"1=Tid 1"_s);

        db.Close();
        int lage = Skjuttider::Las;
        QCOMPARE(HanteraSkjuttid(db, 1, lage, QString(), 0), u"Felkod: 3146"_s);
    }
};

QTEST_MAIN(TestSkjuttider)
#include "test_skjuttider.moc"
