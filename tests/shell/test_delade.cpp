#include "common/Poster.h"
#include "platform/Databas.h"
#include "shell/Delade.h"
#include "shell/modGlobalt.h"
#include "support/Testfixtur.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace Delade;

class TestDelade : public QObject {
    Q_OBJECT
private slots:
    // A squad's lanes with their shooters, read as every part of the program
    // reads them: free lanes come as the placeholder, with the lane kept.
    void banorOchSkyttarLasesLika() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 2, 5);
        QSqlQuery q =
            f.g.cnnTavling.kor(QStringLiteral("SELECT Skjutlag.Skjutlag, Skjutlag.Bana, "
                                              "Skjutlag.Startnummer, %1 FROM Skyttar INNER JOIN "
                                              "Skjutlag ON Skyttar.Löpnummer = Skjutlag.Startnummer WHERE "
                                              "Skjutlag.Skjutlag = ? ORDER BY Bana")
                                   .arg(Skytt::kolumner(QStringLiteral("Skyttar"))),
                               {2});
        QList<Bana> banor;
        QList<Skytt> skyttar;
        while (q.next()) {
            banor << Bana::fran(q.record());
            skyttar << Skytt::fran(q, 3);
        }
        QCOMPARE(banor.size(), 4);
        QVERIFY(!banor[0].ledig() && banor[1].ledig() && banor[3].ledig());
        QCOMPARE(banor[3].bana, 4);
        QCOMPARE(skyttar[0].namn, QStringLiteral("Skytt5"));
        QCOMPARE(skyttar[0].startnr, 5);
        QCOMPARE(skyttar[0].tioNior, QStringLiteral("0,0,0,0,0,0,0,0,0,0"));
        QCOMPARE(skyttar[0].sfst[11], QStringLiteral("00000"));
        QVERIFY(skyttar[1].arPlatshallare() && skyttar[1].namn.isEmpty());

        QSqlQuery k = f.g.cnnTavling.kor(
            QStringLiteral("SELECT * FROM %1 WHERE Klass = ?").arg(f.g.klasstabell()), {skyttar[0].klass});
        QVERIFY(k.next());
        const Klass lasen = Klass::fran(k.record());
        QCOMPARE(lasen.kod, skyttar[0].klass);
        QVERIFY(lasen.raknare > 0 && lasen.antalSkott >= 10);
        QCOMPARE(lasen.sammanslagen, 0);
        QCOMPARE(text(Utskriftsmal::Skarm), QStringLiteral("Skärm"));
        QCOMPARE(f.g.klasstabell(), QStringLiteral("Sportskytteklasser"));
    }

    void versionsklass_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("sep");
        QTest::addColumn<QString>("klass");
        for (const char* sep : {",", "."}) {
            const QString s = QString::fromLatin1(sep);
            QTest::addRow("8.0 %s", sep) << "8.0" << s << "97";
            QTest::addRow("8.0e %s", sep) << "8.0e" << s << "97SR1";
            QTest::addRow("8.5 %s", sep) << "8.5" << s << "97SR1";
            QTest::addRow("9.0 %s", sep) << "9.0" << s << "2000XP";
            QTest::addRow("10.0 %s", sep) << "10.0" << s << "2000XP";
            QTest::addRow("11.0 %s", sep) << "11.0" << s << "2000XP";
            QTest::addRow("11.5 %s", sep) << "11.5" << s << "";
            QTest::addRow("12.0 %s", sep) << "12.0" << s << "2007";
            QTest::addRow("14.0 %s", sep) << "14.0" << s << "2007";
            QTest::addRow("7.0 %s", sep) << "7.0" << s << "";
            QTest::addRow("9.0e SR-1 %s", sep) << "9.0e SR-1" << s << "2000XP";
            QTest::addRow("1..2 %s", sep) << "1..2" << s << "Error";
        }
    }
    void versionsklass() {
        QFETCH(QString, text);
        QFETCH(QString, sep);
        QFETCH(QString, klass);
        TestMeddelanden m;
        QCOMPARE(fncKollaExcelVer(text, sep, m), klass);
        QVERIFY(m.visade.isEmpty());
    }

    void bokstavUtanTalVisasSomFel() {
        TestMeddelanden m;
        QCOMPARE(fncKollaExcelVer(QStringLiteral("abc"), QStringLiteral(","), m), QString());
        QVERIFY(m.senasteText().startsWith(QStringLiteral("KollaExcelVer.Bokstav: 13")));
    }

    void paborjatSkjutlag() {
        Testmiljo t;
        Databas db;
        db.Open(t.kopieraMall(QStringLiteral("Cup.air")));
        TestMeddelanden m;
        QCOMPARE(HamtaPaborjatSkjutlag(db, m), 0);
        for (int lag = 1; lag <= 3; ++lag)
            for (int bana = 1; bana <= 2; ++bana)
                db.kor(QStringLiteral("INSERT INTO Skjutlag (Skjutlag, Bana) VALUES (?, ?)"), {lag, bana});
        // Free lanes point at the placeholder; it counts only with a total of its own.
        QCOMPARE(HamtaPaborjatSkjutlag(db, m), 0);
        for (int lag : {1, 3}) {
            db.kor(QStringLiteral("INSERT INTO Skyttar (Namn, Totalt40) VALUES ('x', 390)"));
            db.kor(QStringLiteral("UPDATE Skjutlag SET Startnummer = (SELECT MAX(Löpnummer) FROM Skyttar) "
                                  "WHERE Skjutlag = ? AND Bana = 1"),
                   {lag});
        }
        QCOMPARE(HamtaPaborjatSkjutlag(db, m), 3);
        db.kor(QStringLiteral("UPDATE Skyttar SET Totalt40 = 0 WHERE Löpnummer <> 1"));
        db.kor(QStringLiteral("UPDATE Skyttar SET Totalt40 = 5 WHERE Löpnummer = 1"));
        QCOMPARE(HamtaPaborjatSkjutlag(db, m), 3);
        db.Close();
        QCOMPARE(HamtaPaborjatSkjutlag(db, m), 0);
        QVERIFY(m.senasteText().startsWith(QStringLiteral("frmValResSkärmGrund_HämtaPåbörjatSkjutlag ")));
    }

    void utskriftsmapp() {
        Testmiljo t;
        modGlobalt g;
        g.strTavlingsmapp = t.mapp() + QLatin1Char('/');
        SkapaUtskriftsmapp(g);
        QVERIFY(QFileInfo(t.fil(QStringLiteral("Utskrifter"))).isDir());
        SkapaUtskriftsmapp(g);
    }
};

QTEST_MAIN(TestDelade)
#include "test_delade.moc"
