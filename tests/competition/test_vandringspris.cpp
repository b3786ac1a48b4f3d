#include "competition/Vandringspris.h"
#include "support/Testfixtur.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace Vandringspris;
using Typ = NyTavling::Typ;
using Utfall = Skottkontroll::Utfall;
using Svar = Meddelanden::Svar;

namespace {

const QString ForMangaSkott = u"Du får inte skriva in fler skott än vad som finns i klasserna.\r\n"
                              "Högsta antal just nu är "_s;

struct Miljo {
    Testfixtur f;
    explicit Miljo(int skyttar = 3, Typ typ = Typ::Sportskytte) {
        f.skapaTavling(u"Cup"_s, typ, 10, 1, skyttar);
        // The placeholder carries a count of its own, so that a write that
        // forgets to leave it out shows.
        db().kor(u"UPDATE Skyttar SET VandringsSerier = 5 WHERE Löpnummer = 1"_s);
    }
    Databas& db() { return f.g.cnnTavling; }
    // The real shooters' series, in the order they were registered.
    QList<int> serierna() {
        QSqlQuery q = db().kor(u"SELECT VandringsSerier FROM Skyttar WHERE Löpnummer <> 1 ORDER BY "
                               "Löpnummer"_s);
        QList<int> s;
        while (q.next())
            s << q.value(0).toInt();
        return s;
    }
    int platshallaren() {
        return db().varde(u"SELECT VandringsSerier FROM Skyttar WHERE Löpnummer = 1"_s).toInt();
    }
    void satt(const QList<int>& serier) {
        QSqlQuery q = db().kor(u"SELECT Löpnummer FROM Skyttar WHERE Löpnummer <> 1 ORDER BY Löpnummer"_s);
        for (int i = 0; q.next() && i < serier.size(); ++i)
            db().kor(u"UPDATE Skyttar SET VandringsSerier = ? WHERE Löpnummer = ?"_s,
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
        for (const auto& [skott, n] : {std::pair{40, 8}, {42, 8}, {43, 9}, {60, 12}, {12, 2}, {13, 3}})
            QCOMPARE(serier(skott), n);
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
        QCOMPARE(mj.f.m.senasteText(), u"Är du säker på att du vill ta bort den nyvarande tävlingen helt?"_s);
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
        QCOMPARE(uppdateraVidStangning(mj.db(), mj.f.m, mj.lage(false, {}, u" "_s)), Stangning::Inget);
        QCOMPARE(mj.serierna(), (QList<int>{0, 0, 0}));
        Miljo bara(0);
        QCOMPARE(uppdateraVidStangning(bara.db(), bara.f.m, bara.lage(false)), Stangning::Inget);
        QCOMPARE(bara.platshallaren(), 5);
        QVERIFY(mj.f.m.visade.isEmpty() && bara.f.m.visade.isEmpty());
    }

    void franValdaTillAllaFragas() {
        Miljo mj;
        mj.satt({8, 0, 0});
        QCOMPARE(uppdateraVidStangning(mj.db(), mj.f.m, mj.lage(true, u"Valda"_s)), Stangning::ValdaIgen);
        QCOMPARE(mj.f.m.senasteText(),
                 u"Du har ändrat i vandringspris från valda skyttar till alla!\r\nÄr det rätt?"_s);
        QCOMPARE(mj.f.m.visade.last().titel, u"Bekräfta"_s);
        QCOMPARE(mj.serierna(), (QList<int>{8, 0, 0}));
        mj.f.m.svara(Svar::Ja);
        QCOMPARE(uppdateraVidStangning(mj.db(), mj.f.m, mj.lage(true, u"Valda"_s, "60")), Stangning::Skrivet);
        QCOMPARE(mj.serierna(), (QList<int>{12, 12, 12}));
        // Alla as before, or no shots: nothing to ask.
        mj.f.m.tom();
        QCOMPARE(uppdateraVidStangning(mj.db(), mj.f.m, mj.lage(true, u"Alla"_s)), Stangning::Inget);
        QCOMPARE(uppdateraVidStangning(mj.db(), mj.f.m, mj.lage(true, u"Valda"_s, QString())),
                 Stangning::Inget);
        QVERIFY(mj.f.m.visade.isEmpty());
    }

    void skottkontroll_data() {
        QTest::addColumn<Typ>("typ");
        QTest::addColumn<QString>("bortKlasser"); // classes removed first (SQL condition)
        QTest::addColumn<QString>("text");
        QTest::addColumn<Utfall>("utfall");
        QTest::addColumn<int>("skott");
        QTest::addColumn<QString>("meddelande");
        const auto rad = [](const char* namn, Typ t, const char* bort, const char* text, Utfall u, int skott,
                            const QString& meddelande = {}) {
            QTest::newRow(namn) << t << QString::fromUtf8(bort) << QString::fromUtf8(text) << u << skott
                                << meddelande;
        };
        const Typ sport = Typ::Sportskytte;
        rad("tomt", sport, "", "  ", Utfall::Tom, 0, u"Du måste ange antalet skott!"_s);
        rad("9", sport, "", "9", Utfall::ForFa, 0, u"Lägsta antalet skott är 10st"_s);
        rad("45 sport", sport, "", "45", Utfall::Godkand, 45);
        rad("70 sport", sport, "", "70", Utfall::Bytt, 60, ForMangaSkott + u"Herrar 60 skott."_s);
        rad("50 sport, längsta 40", sport, "[Antal skott] = 60", "50", Utfall::Bytt, 40,
            ForMangaSkott + u"Damer 40 skott."_s);
        rad("45 nationell", Typ::Nationellt, "", "45", Utfall::Bytt, 40,
            ForMangaSkott + u"Luftgevär klass 1 40 skott."_s);
        rad("60 sport utan klasser", sport, "1 = 1", "60", Utfall::Godkand, 60);
        rad("61 sport utan klasser", sport, "1 = 1", "61", Utfall::Bytt, 60, ForMangaSkott + u"60 skott."_s);
        rad("41 nationell utan klasser", Typ::Nationellt, "1 = 1", "41", Utfall::Bytt, 40,
            ForMangaSkott + u"40 skott."_s);
    }
    void skottkontroll() {
        QFETCH(Typ, typ);
        QFETCH(QString, bortKlasser);
        QFETCH(QString, text);
        QFETCH(QString, meddelande);
        Miljo mj(0, typ);
        if (!bortKlasser.isEmpty())
            mj.db().kor(u"DELETE FROM %1 WHERE %2"_s.arg(mj.f.g.klasstabell(), bortKlasser));
        const Skottkontroll k = kontrolleraSkott(mj.f.g, text, &mj.f.m);
        QTEST(k.utfall, "utfall");
        QTEST(k.skott, "skott");
        QCOMPARE(mj.f.m.senasteText(), meddelande);
        if (!meddelande.isEmpty())
            QCOMPARE(mj.f.m.visade.last().titel, u"Fel"_s);
    }
};

QTEST_MAIN(TestVandringspris)
#include "test_vandringspris.moc"
