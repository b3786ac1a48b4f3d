#include "competition/Vandringspris.h"
#include "support/Testfixtur.h"

#include <QTest>

using namespace Vandringspris;
using Typ = NyTavling::Typ;
using Utfall = Skottkontroll::Utfall;
using Svar = Meddelanden::Svar;

namespace {

const QString ForMangaSkott =
    QStringLiteral("Du får inte skriva in fler skott än vad som finns i klasserna.\r\n"
                   "Högsta antal just nu är ");

struct Miljo {
    Testfixtur f;
    explicit Miljo(int skyttar = 3, Typ typ = Typ::Sportskytte) {
        f.skapaTavling(QStringLiteral("Cup"), typ, 10, 1, skyttar);
        // The placeholder carries a count of its own, so that a write that
        // forgets to leave it out shows.
        db().kor(QStringLiteral("UPDATE Skyttar SET VandringsSerier = 5 WHERE Löpnummer = 1"));
    }
    Databas& db() { return f.g.cnnTavling; }
    // The real shooters' series, in the order they were registered.
    QList<int> serierna() {
        QSqlQuery q =
            db().kor(QStringLiteral("SELECT VandringsSerier FROM Skyttar WHERE Löpnummer <> 1 ORDER BY "
                                    "Löpnummer"));
        QList<int> s;
        while (q.next())
            s << q.value(0).toInt();
        return s;
    }
    int platshallaren() {
        return db().varde(QStringLiteral("SELECT VandringsSerier FROM Skyttar WHERE Löpnummer = 1")).toInt();
    }
    void satt(const QList<int>& serier) {
        QSqlQuery q =
            db().kor(QStringLiteral("SELECT Löpnummer FROM Skyttar WHERE Löpnummer <> 1 ORDER BY Löpnummer"));
        for (int i = 0; q.next() && i < serier.size(); ++i)
            db().kor(QStringLiteral("UPDATE Skyttar SET VandringsSerier = ? WHERE Löpnummer = ?"),
                     {serier[i], q.value(0)});
    }
    Stangningslage lage(bool fanns, const QString& gammalVilka = QString(), const QString& skott = "40") {
        Stangningslage l;
        l.pa = true;
        l.alla = true;
        l.serierFanns = fanns;
        l.gammalVilka = gammalVilka;
        l.antalSkott = skott;
        return l;
    }
};

} // namespace

class TestVandringspris : public QObject {
    Q_OBJECT
private slots:
    void serierAvSkott() {
        QCOMPARE(serier(40), 8);
        QCOMPARE(serier(42), 8);
        QCOMPARE(serier(43), 9);
        QCOMPARE(serier(60), 12);
        QCOMPARE(serier(12), 2);
        QCOMPARE(serier(13), 3);
    }

    void nyttAntalSkottSkriverOmDeHogsta() {
        Miljo mj;
        QVERIFY(!serierFinns(mj.db())); // the placeholder does not count
        mj.satt({8, 0, 8});
        QVERIFY(serierFinns(mj.db()));
        bytAntalSkott(mj.db(), true, 30);
        QCOMPARE(mj.serierna(), (QList<int>{6, 0, 6}));
        bytAntalSkott(mj.db(), false, 60); // no series when the tab was loaded
        QCOMPARE(mj.serierna(), (QList<int>{6, 0, 6}));
        // A count that was 0 or less stays where it is.
        mj.satt({0, 0, 0});
        bytAntalSkott(mj.db(), true, 60);
        mj.satt({-1, -1, 0});
        bytAntalSkott(mj.db(), true, 60);
        QCOMPARE(mj.serierna(), (QList<int>{-1, -1, 0}));
        QCOMPARE(mj.platshallaren(), 5);
    }

    void avstangningFragarOchNollstaller() {
        Miljo mj;
        mj.satt({8, 8, 0});
        QVERIFY(!stangAv(mj.db(), mj.f.m, true)); // No
        QCOMPARE(mj.f.m.senasteText(),
                 QStringLiteral("Är du säker på att du vill ta bort den nyvarande tävlingen helt?"));
        QCOMPARE(mj.serierna(), (QList<int>{8, 8, 0}));
        mj.f.m.svara(Svar::Ja);
        QVERIFY(stangAv(mj.db(), mj.f.m, true));
        QCOMPARE(mj.serierna(), (QList<int>{0, 0, 0}));
        QCOMPARE(mj.platshallaren(), 5);
        mj.f.m.tom();
        QVERIFY(stangAv(mj.db(), mj.f.m, false));
        QVERIFY(mj.f.m.visade.isEmpty());
    }

    void forstaPaslagningenMedAlla() {
        {
            Miljo mj;
            QCOMPARE(uppdateraVidStangning(mj.db(), mj.f.m, mj.lage(false)), Stangning::Skrivet);
            QCOMPARE(mj.serierna(), (QList<int>{8, 8, 8}));
            QCOMPARE(mj.platshallaren(), 5);
        }
        Miljo mj;
        Stangningslage valda = mj.lage(false);
        valda.alla = false;
        QCOMPARE(uppdateraVidStangning(mj.db(), mj.f.m, valda), Stangning::Inget);
        QCOMPARE(uppdateraVidStangning(mj.db(), mj.f.m, mj.lage(false, {}, QStringLiteral(" "))),
                 Stangning::Inget);
        QCOMPARE(mj.serierna(), (QList<int>{0, 0, 0}));
        Miljo bara(0);
        QCOMPARE(uppdateraVidStangning(bara.db(), bara.f.m, bara.lage(false)), Stangning::Inget);
        QCOMPARE(bara.platshallaren(), 5);
        QVERIFY(mj.f.m.visade.isEmpty() && bara.f.m.visade.isEmpty());
    }

    void franValdaTillAllaFragas() {
        Miljo mj;
        mj.satt({8, 0, 0});
        QCOMPARE(uppdateraVidStangning(mj.db(), mj.f.m, mj.lage(true, QStringLiteral("Valda"))),
                 Stangning::ValdaIgen);
        QCOMPARE(
            mj.f.m.senasteText(),
            QStringLiteral("Du har ändrat i vandringspris från valda skyttar till alla!\r\nÄr det rätt?"));
        QCOMPARE(mj.f.m.visade.last().titel, QStringLiteral("Bekräfta"));
        QCOMPARE(mj.serierna(), (QList<int>{8, 0, 0}));
        mj.f.m.svara(Svar::Ja);
        QCOMPARE(uppdateraVidStangning(mj.db(), mj.f.m, mj.lage(true, QStringLiteral("Valda"), "60")),
                 Stangning::Skrivet);
        QCOMPARE(mj.serierna(), (QList<int>{12, 12, 12}));
        // Alla as before, or no shots: nothing to ask.
        mj.f.m.tom();
        QCOMPARE(uppdateraVidStangning(mj.db(), mj.f.m, mj.lage(true, QStringLiteral("Alla"))),
                 Stangning::Inget);
        QCOMPARE(uppdateraVidStangning(mj.db(), mj.f.m, mj.lage(true, QStringLiteral("Valda"), QString())),
                 Stangning::Inget);
        QVERIFY(mj.f.m.visade.isEmpty());
    }

    void skottkontroll_data() {
        QTest::addColumn<int>("typ");
        QTest::addColumn<QString>("bortKlasser"); // classes removed first (SQL condition)
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("utfall");
        QTest::addColumn<int>("skott");
        QTest::addColumn<QString>("meddelande");
        const int sport = int(Typ::Sportskytte);
        const int nat = int(Typ::Nationellt);
        QTest::newRow("tomt") << sport << ""
                              << "  " << int(Utfall::Tom) << 0 << "Du måste ange antalet skott!";
        QTest::newRow("9") << sport << ""
                           << "9" << int(Utfall::ForFa) << 0 << "Lägsta antalet skott är 10st";
        QTest::newRow("45 sport") << sport << ""
                                  << "45" << int(Utfall::Godkand) << 45 << "";
        QTest::newRow("70 sport") << sport << ""
                                  << "70" << int(Utfall::Bytt) << 60 << ForMangaSkott + "Herrar 60 skott.";
        QTest::newRow("50 sport, längsta 40")
            << sport << "[Antal skott] = 60"
            << "50" << int(Utfall::Bytt) << 40 << ForMangaSkott + "Damer 40 skott.";
        QTest::newRow("45 nationell")
            << nat << ""
            << "45" << int(Utfall::Bytt) << 40 << ForMangaSkott + "Luftgevär klass 1 40 skott.";
        QTest::newRow("60 sport utan klasser") << sport << "1 = 1"
                                               << "60" << int(Utfall::Godkand) << 60 << "";
        QTest::newRow("61 sport utan klasser")
            << sport << "1 = 1"
            << "61" << int(Utfall::Bytt) << 60 << ForMangaSkott + "60 skott.";
        QTest::newRow("41 nationell utan klasser")
            << nat << "1 = 1"
            << "41" << int(Utfall::Bytt) << 40 << ForMangaSkott + "40 skott.";
    }
    void skottkontroll() {
        QFETCH(int, typ);
        QFETCH(QString, bortKlasser);
        QFETCH(QString, text);
        Miljo mj(0, static_cast<Typ>(typ));
        if (!bortKlasser.isEmpty())
            mj.db().kor(QStringLiteral("DELETE FROM %1 WHERE %2").arg(mj.f.g.klasstabell(), bortKlasser));
        const Skottkontroll k = kontrolleraSkott(mj.f.g, text, &mj.f.m);
        QFETCH(int, utfall);
        QCOMPARE(int(k.utfall), utfall);
        QFETCH(int, skott);
        QCOMPARE(k.skott, skott);
        QFETCH(QString, meddelande);
        QCOMPARE(mj.f.m.senasteText(), meddelande);
        if (!meddelande.isEmpty())
            QCOMPARE(mj.f.m.visade.last().titel, QStringLiteral("Fel"));
    }
};

QTEST_MAIN(TestVandringspris)
#include "test_vandringspris.moc"
