#include "common/Databasnamn.h"
#include "common/Poster.h"
#include "support/Testfixtur.h"

#include <QSqlQuery>
#include <QTest>

namespace {
// A stored shooter with a distinct value in every field.
qint64 skrivSkytt(Databas& db) {
    QList<std::pair<QString, QVariant>> falt{
        {Falt::Sarskjutning, 9.5}, {Falt::Startnr, 12},
        {Falt::Namn, "Åsa"},       {Falt::Efternamn, "Öberg"},
        {Falt::Forening, "Skf"},   {Falt::Klass, "H"},
        {Falt::Licensnr, "L1"},    {Falt::SkyttekortNr, "K2"},
        {Falt::Fodelsear, "1970"}, {Falt::Omg, 2},
        {Falt::Lag, 7LL},          {Falt::LagRes, 380},
        {Falt::Lagserier, 4},      {Falt::VandringsSerier, 6},
        {Falt::Totalt40, 390},     {Falt::Totalt60, 580},
        {Falt::Innertior, 21},     {Falt::TioNior, "30,8,2,0,0,0,0,0,0,0"},
        {Falt::Man1098, 1}};
    for (int i = 1; i <= 12; ++i) {
        falt.append({Falt::res(i), 38 + i});
        falt.append({Falt::sfst(i), QStringLiteral("9999%1").arg(i % 10)});
    }
    for (int i = 1; i <= 6; ++i)
        falt.append({Falt::sum(i), 90 + i});
    QStringList kolumner, platser;
    QVariantList varden;
    for (const auto& [namn, varde] : falt) {
        kolumner << namn;
        platser << QStringLiteral("?");
        varden << varde;
    }
    db.kor(
        QStringLiteral("INSERT INTO Skyttar (%1) VALUES (%2)").arg(kolumner.join(u','), platser.join(u',')),
        varden);
    return db.varde(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
}
} // namespace

class TestPoster : public QObject {
    Q_OBJECT
private slots:
    // Every field of a stored shooter's row reaches its member through the one
    // column list.
    void skyttLasesHel() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 1, 0);
        const qint64 lopnummer = skrivSkytt(f.g.cnnTavling);
        QSqlQuery q = f.g.cnnTavling.kor(
            QStringLiteral("SELECT %1 FROM Skyttar WHERE Löpnummer = ?").arg(Skytt::kolumner()), {lopnummer});
        QVERIFY(q.next());
        const Skytt s = Skytt::fran(q);
        QCOMPARE(s.lopnummer, lopnummer);
        QCOMPARE((QList<int>{s.startnr, s.omg, s.lagRes, s.lagserier, s.vandringsSerier, s.totalt40,
                             s.totalt60, s.innertior}),
                 (QList<int>{12, 2, 380, 4, 6, 390, 580, 21}));
        QCOMPARE(s.lag, 7);
        QCOMPARE((QStringList{s.namn, s.efternamn, s.forening, s.klass, s.licensnr, s.skyttekortNr,
                              s.fodelsear, s.tioNior}),
                 (QStringList{"Åsa", "Öberg", "Skf", "H", "L1", "K2", "1970", "30,8,2,0,0,0,0,0,0,0"}));
        QCOMPARE(s.sarskjutning, 9.5);
        QVERIFY(s.man1098);
        for (int i = 1; i <= 12; ++i) {
            QCOMPARE(s.res[size_t(i - 1)], 38 + i);
            QCOMPARE(s.sfst[size_t(i - 1)], QStringLiteral("9999%1").arg(i % 10));
        }
        for (int i = 1; i <= 6; ++i)
            QCOMPARE(s.sum[size_t(i - 1)], 90 + i);
    }

    // The list read after other columns, under a table name or an alias, or
    // without the shot strings gives the same row; shot strings not read are
    // "00000".
    void skyttLasesDelvis_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("forsta");
        QTest::addColumn<int>("antal");
        const int utan = Skytt::AntalKolumnerUtanSkott;
        QTest::newRow("utan skott") << QStringLiteral("SELECT %1 FROM Skyttar AS s WHERE s.Löpnummer = ?")
                                           .arg(Skytt::kolumner(QStringLiteral("s"), utan))
                                    << 0 << utan;
        QTest::newRow("efter banan") << QStringLiteral(
                                            "SELECT Skjutlag.Skjutlag, Skjutlag.Bana, %1 FROM Skyttar "
                                            "INNER JOIN Skjutlag ON Skyttar.Löpnummer = "
                                            "Skjutlag.Startnummer WHERE Skyttar.Löpnummer = ?")
                                            .arg(Skytt::kolumner(QStringLiteral("Skyttar")))
                                     << 2 << int(Skytt::AntalKolumner);
        QTest::newRow("efter banan utan skott")
            << QStringLiteral(
                   "SELECT Skjutlag.Bana, %1 FROM Skyttar INNER JOIN Skjutlag ON Skyttar.Löpnummer = "
                   "Skjutlag.Startnummer WHERE Skyttar.Löpnummer = ?")
                   .arg(Skytt::kolumner(QStringLiteral("Skyttar"), utan))
            << 1 << utan;
    }
    void skyttLasesDelvis() {
        QFETCH(QString, sql);
        QFETCH(int, forsta);
        QFETCH(int, antal);
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 1, 0);
        Databas& db = f.g.cnnTavling;
        const qint64 lopnummer = skrivSkytt(db);
        db.kor(QStringLiteral("UPDATE Skjutlag SET Startnummer = ? WHERE Bana = 1"), {lopnummer});
        QSqlQuery hel = db.kor(
            QStringLiteral("SELECT %1 FROM Skyttar WHERE Löpnummer = ?").arg(Skytt::kolumner()), {lopnummer});
        QSqlQuery q = db.kor(sql, {lopnummer});
        QVERIFY(hel.next() && q.next());
        Skytt vantat = Skytt::fran(hel);
        if (antal < Skytt::AntalKolumner)
            vantat.sfst.fill(QStringLiteral("00000"));
        const Skytt s = Skytt::fran(q, forsta, antal);
        QCOMPARE((QStringList{s.namn, s.klass, s.tioNior}),
                 (QStringList{vantat.namn, vantat.klass, vantat.tioNior}));
        QCOMPARE(s.lopnummer, lopnummer);
        QCOMPARE(s.sarskjutning, vantat.sarskjutning);
        QCOMPARE(s.res, vantat.res);
        QCOMPARE(s.sum, vantat.sum);
        QCOMPARE(s.man1098, vantat.man1098);
        QCOMPARE(s.sfst, vantat.sfst);
    }
};

QTEST_MAIN(TestPoster)
#include "test_poster.moc"
