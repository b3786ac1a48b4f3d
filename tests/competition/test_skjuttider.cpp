#include "competition/Skjuttider.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"

#include <QSqlQuery>
#include <QTest>

// Shooting times on a real competition: the one procedure that every part
// reads, writes and renumbers them through.
class TestSkjuttider : public QObject {
    Q_OBJECT

    // Every row of the table as "squad=time", in squad order: also shows a
    // second row for one squad, which must never arise.
    static QStringList tabell(const Databas& db) {
        QStringList rader;
        QSqlQuery q = db.kor(QStringLiteral("SELECT Skjutlag, Skjuttid FROM Skjuttider ORDER BY Skjutlag"));
        while (q.next())
            rader << q.value(0).toString() + QLatin1Char('=') + q.value(1).toString();
        return rader;
    }

    static void skrivTider(Databas& db, int fran, int till) {
        for (int lag = fran; lag <= till; ++lag) {
            int lage = Skjuttider::Skriv;
            HanteraSkjuttid(db, lag, lage, QStringLiteral("Tid %1").arg(lag), Skjuttider::LasEllerSkriv);
        }
    }

private slots:
    void tiderFoljerSkjutlagen() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 5, 4);
        Databas& db = f.g.cnnTavling;
        int lage = Skjuttider::Las;
        QCOMPARE(HanteraSkjuttid(db, 3, lage, QStringLiteral("bortglömd"), 0), QString());
        QVERIFY(tabell(db).isEmpty());
        lage = Skjuttider::Skriv;
        HanteraSkjuttid(db, 3, lage, QStringLiteral("Fredag"), 0);
        QCOMPARE(lage, 0);
        // A "changed" flag passed as it stands writes too.
        lage = 1;
        HanteraSkjuttid(db, 3, lage, QStringLiteral("Lördag 'kl' 9.00"), 0);
        QCOMPARE(HanteraSkjuttid(db, 3, lage, QString(), 0), QStringLiteral("Lördag 'kl' 9.00"));
        // An empty box of the registration form may have no text at all.
        lage = Skjuttider::Skriv;
        HanteraSkjuttid(db, 3, lage, QString(), 0);
        QCOMPARE(tabell(db), QStringList{QStringLiteral("3=")});

        db.kor(QStringLiteral("DELETE FROM Skjuttider"));
        skrivTider(db, 1, 4);
        HanteraSkjuttid(db, 2, lage, QString(), Skjuttider::Infoga);
        QCOMPARE(tabell(db), (QStringList{QStringLiteral("1=Tid 1"), QStringLiteral("3=Tid 2"),
                                          QStringLiteral("4=Tid 3"), QStringLiteral("5=Tid 4")}));
        db.kor(QStringLiteral("DELETE FROM Skjuttider"));
        skrivTider(db, 1, 4);
        HanteraSkjuttid(db, 2, lage, QString(), Skjuttider::TaBort);
        QCOMPARE(tabell(db), (QStringList{QStringLiteral("1=Tid 1"), QStringLiteral("2=Tid 3"),
                                          QStringLiteral("3=Tid 4")}));
    }

    // The registration deletes squads in a transaction of its own and calls the
    // procedure inside: a failure of the times undoes the squads too. A read
    // shows its failure as the time.
    void fel() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Nationellt, 2, 3);
        Databas& db = f.g.cnnTavling;
        skrivTider(db, 1, 3);
        db.kor(QStringLiteral("CREATE TEMP TRIGGER stopp BEFORE UPDATE ON Skjuttider "
                              "BEGIN SELECT RAISE(ABORT, 'stopp'); END"));
        const auto antalBanor = [&] {
            return db.varde(QStringLiteral("SELECT COUNT(*) FROM Skjutlag")).toInt();
        };
        QCOMPARE(felnummer([&] {
                     db.transaktion([&] {
                         db.kor(QStringLiteral("DELETE FROM Skjutlag WHERE Skjutlag = 3"));
                         int lage = Skjuttider::Skriv;
                         HanteraSkjuttid(db, 1, lage, QStringLiteral("ny"), 0);
                     });
                 }),
                 Felnummer::Databasfel);
        QCOMPARE(antalBanor(), 6);
        QCOMPARE(db.transaktionsdjup(), 0);
        QCOMPARE(tabell(db).first(), QStringLiteral("1=Tid 1"));

        db.Close();
        int lage = Skjuttider::Las;
        QCOMPARE(HanteraSkjuttid(db, 1, lage, QString(), 0), QStringLiteral("Felkod: 3146"));
    }
};

QTEST_MAIN(TestSkjuttider)
#include "test_skjuttider.moc"
