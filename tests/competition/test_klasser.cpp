#include "competition/Klasser.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Utfall = Klasser::Utfall;
using Typ = NyTavling::Typ;

namespace {
Klasser::Uppgifter u(const char* kod, const char* namn, int skott, const char* sportNat = nullptr) {
    return {QString::fromUtf8(kod), QString::fromUtf8(namn), QString::number(skott),
            sportNat ? QString::fromUtf8(sportNat) : QString()};
}

qint64 raknare(Testfixtur& f, const char* kod) {
    return f.g.cnnTavling
        .varde(u"SELECT Räknare FROM %1 WHERE Klass = ?"_s.arg(f.g.klasstabell()), {QString::fromUtf8(kod)})
        .toLongLong();
}

// The class codes of the shooters, placeholder left out, in Löpnummer order;
// given, they are set first.
QStringList skyttarnasKlasser(Testfixtur& f, const QStringList& satt = {}) {
    QSqlQuery q =
        f.g.cnnTavling.kor(u"SELECT Löpnummer, Klass FROM Skyttar WHERE Löpnummer <> 1 ORDER BY Löpnummer"_s);
    QStringList klasser;
    for (int i = 0; q.next(); ++i) {
        if (i < satt.size())
            f.g.cnnTavling.kor(u"UPDATE Skyttar SET Klass = ? WHERE Löpnummer = ?"_s, {satt[i], q.value(0)});
        klasser << (i < satt.size() ? satt[i] : q.value(1).toString());
    }
    return klasser;
}

QStringList koder(const QList<Klass>& klasser) {
    QStringList k;
    for (const Klass& klass : klasser)
        k << klass.kod;
    return k;
}
} // namespace

class TestKlasser : public QObject {
    Q_OBJECT
private slots:
    // What each refusal tells the operator.
    void meddelanden_data() {
        QTest::addColumn<Utfall>("utfall");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("titel");
        QTest::newRow("för lång") << Utfall::ForLang << "Det får bara vara 6 tecken i Fältet Klass!"
                                  << "För många tecken";
        QTest::newRow("ofullständig") << Utfall::Ofullstandig << "Du måste fylla i alla rutorna!"
                                      << "Inte ifyllt";
        QTest::newRow("nationell") << Utfall::SkottNationellt << "Antal skott måste vara mellan 10 och 40!"
                                   << "Fel";
        QTest::newRow("sport") << Utfall::SkottSport << "Antal skott måste vara mellan 10 och 60!"
                               << "Fel";
        QTest::newRow("dublett") << Utfall::Dublett << "Du får inte skapa en klass som redan finns!"
                                 << "Dublett";
        QTest::newRow("bland skyttarna")
            << Utfall::FinnsBlandSkyttar
            << "Klassen finns inskriven bland skyttarna, därför kan du inte tabort den!"
            << "Fel";
        QTest::newRow("fel antal skott") << Utfall::FelAntalSkott << "Det är fel antal skott i klassen."
                                         << "Fel antal skott";
        QTest::newRow("fel sport/nat") << Utfall::FelSportNat << "Det är fel typ av tävling i klassen."
                                       << "Fel Sport/nat";
    }
    void meddelanden() {
        QFETCH(Utfall, utfall);
        TestMeddelanden m;
        Klasser::visa(utfall, m);
        QCOMPARE(m.visade.size(), 1);
        QTEST(m.visade[0].text, "text");
        QTEST(m.visade[0].titel, "titel");
        QCOMPARE(m.visade[0].ikon, Meddelanden::Ikon::Kritisk);
    }

    // Shots from 10 to 40 for a national class, 10 to 60 for a sport class, in
    // a mixed competition by the class's own kind, which it must have; codes
    // of up to six characters. A refusal is told.
    void kontroller_data() {
        QTest::addColumn<Typ>("typ");
        QTest::addColumn<QString>("kod");
        QTest::addColumn<int>("skott");
        QTest::addColumn<QString>("sportNat");
        QTest::addColumn<Utfall>("utfall");
        const auto rad = [](const char* namn, Typ t, int skott, const char* sportNat, Utfall u,
                            const char* kod = "Sen E") {
            QTest::newRow(namn) << t << QString::fromUtf8(kod) << skott << QString::fromUtf8(sportNat) << u;
        };
        rad("nationell 9", Typ::Nationellt, 9, "", Utfall::SkottNationellt);
        rad("nationell 10", Typ::Nationellt, 10, "", Utfall::Ok);
        rad("nationell 40", Typ::Nationellt, 40, "", Utfall::Ok);
        rad("nationell 41", Typ::Nationellt, 41, "", Utfall::SkottNationellt);
        rad("sport 9", Typ::Sportskytte, 9, "", Utfall::SkottSport);
        rad("sport 41", Typ::Sportskytte, 41, "", Utfall::Ok);
        rad("sport 60", Typ::Sportskytte, 60, "", Utfall::Ok);
        rad("sport 61", Typ::Sportskytte, 61, "", Utfall::SkottSport);
        rad("mix Nat 40", Typ::Mix, 40, "Nat", Utfall::Ok);
        rad("mix Nat 41", Typ::Mix, 41, "Nat", Utfall::SkottNationellt);
        rad("mix Sport 60", Typ::Mix, 60, "Sport", Utfall::Ok);
        rad("mix Sport 61", Typ::Mix, 61, "Sport", Utfall::SkottSport);
        rad("mix utan sort", Typ::Mix, 40, "", Utfall::Ofullstandig);
        rad("sju tecken", Typ::Mix, 40, "Nat", Utfall::ForLang, "ABCDEFG");
        rad("sex svenska tecken", Typ::Mix, 40, "Nat", Utfall::Ok, "ÅÄÖåäö");
    }
    void kontroller() {
        QFETCH(Typ, typ);
        QFETCH(QString, kod);
        QFETCH(int, skott);
        QFETCH(QString, sportNat);
        QFETCH(Utfall, utfall);
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, typ);
        Klasser k(f.g, f.m);
        const Klasser::Uppgifter uppgifter{kod, u"Seniorer"_s, QString::number(skott), sportNat};
        QCOMPARE(k.kontrollera(uppgifter), utfall);
        QCOMPARE(f.m.visade.size(), utfall == Utfall::Ok ? 0 : 1);
        const int fore = k.lista().size();
        QCOMPARE(k.laggTill(uppgifter), utfall);
        QCOMPARE(k.lista().size(), fore + (utfall == Utfall::Ok));
        if (utfall == Utfall::Ok)
            QCOMPARE(k.lista().back().sportNat, sportNat);
    }

    // The new code reaches the class and its shooters together or not at all, and
    // only the shooters of that class; a name alone leaves the shooters.
    void namnbyteNarSkyttarnaIEnTransaktion() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, Typ::Sportskytte, 10, 1, 5);
        skyttarnasKlasser(f, {"H", "D", "H", "JH", "H"});
        Klasser k(f.g, f.m);
        const qint64 h = raknare(f, "H");

        f.g.cnnTavling.kor(u"CREATE TRIGGER stopp BEFORE UPDATE OF Klass ON Skyttar BEGIN "
                           "SELECT RAISE(ABORT, 'stopp'); END"_s);
        QVERIFY(felnummer([&] { k.andra(h, u("Herr", "Herrar", 60)); }) != 0);
        QCOMPARE(k.klass(h).kod, u"H"_s);
        QCOMPARE(skyttarnasKlasser(f).count(u"H"_s), 3);
        f.g.cnnTavling.kor(u"DROP TRIGGER stopp"_s);

        QCOMPARE(k.andra(h, u("Herr", "Herrar", 60)), Utfall::Ok);
        QCOMPARE(skyttarnasKlasser(f), (QStringList{"Herr", "D", "Herr", "JH", "Herr"}));
        const qint64 d = raknare(f, "D");
        QCOMPARE(k.andra(d, u("D", "Damer öppen", 60)), Utfall::Ok);
        QCOMPARE(k.klass(d).namn, u"Damer öppen"_s);
        QCOMPARE(k.klass(d).antalSkott, 60);
        QCOMPARE(skyttarnasKlasser(f)[1], u"D"_s);
        QVERIFY(f.m.visade.isEmpty());
    }

    // Codes are the same class whatever their letter case, Swedish letters too;
    // a class keeps its own code in another case, and the shooters follow.
    // Apostrophes are only data.
    void dublettIAnnanBokstavsstorlek() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, Typ::Sportskytte, 10, 1, 2);
        skyttarnasKlasser(f, {"H", "D"});
        Klasser k(f.g, f.m);
        const int fore = k.lista().size();
        QCOMPARE(k.laggTill(u("h", "Herrar igen", 60)), Utfall::Dublett);
        QCOMPARE(f.m.senasteText(), u"Du får inte skapa en klass som redan finns!"_s);
        QCOMPARE(k.laggTill(u("ÖV", "Öppen", 40)), Utfall::Ok);
        QCOMPARE(k.laggTill(u("öv", "Öppen", 40)), Utfall::Dublett);
        QCOMPARE(k.laggTill(u("O'B", "O'Briens 'klass'", 40)), Utfall::Ok);
        QCOMPARE(k.laggTill(u("o'b", "x", 40)), Utfall::Dublett);
        QCOMPARE(k.lista().size(), fore + 2);
        QCOMPARE(k.klass(raknare(f, "O'B")).namn, u"O'Briens 'klass'"_s);

        const qint64 d = raknare(f, "D");
        QCOMPARE(k.andra(d, u("jh", "Damer", 40)), Utfall::Dublett);
        QCOMPARE(k.klass(d).kod, u"D"_s);
        f.m.tom();
        QCOMPARE(k.andra(d, u("d", "Damer", 40)), Utfall::Ok);
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(k.klass(d).kod, u"d"_s);
        QCOMPARE(skyttarnasKlasser(f), (QStringList{"H", "d"}));
        const qint64 dar = raknare(f, "H");
        QCOMPARE(k.andra(dar, u("D'Ar", "d'Artagnan", 40)), Utfall::Ok);
        QCOMPARE(skyttarnasKlasser(f), (QStringList{"D'Ar", "d"}));
        QCOMPARE(k.taBort(dar), Utfall::FinnsBlandSkyttar);

        QCOMPARE(k.nyHuvudklass(u("Se'n", "'", 40)), Utfall::Ok);
        QCOMPARE(k.nyHuvudklass(u("SE'N", "Seniorer", 40)), Utfall::Dublett);
        QCOMPARE(k.huvudklasser().size(), 1);
        QCOMPARE(k.slaSamman(dar, k.huvudklasser()[0].raknare), Utfall::Ok);
        QCOMPARE(koder(k.klasserI(k.huvudklasser()[0].raknare)), QStringList{"D'Ar"});
    }

    // A class a shooter carries stays; otherwise it goes when the operator says yes.
    void borttagning() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, Typ::Sportskytte, 10, 1, 1);
        Klasser k(f.g, f.m);
        const qint64 h = raknare(f, "H");
        QCOMPARE(k.taBort(h), Utfall::FinnsBlandSkyttar);
        QCOMPARE(f.m.visade.back().text,
                 u"Klassen finns inskriven bland skyttarna, därför kan du inte tabort den!"_s);
        skyttarnasKlasser(f, {"D"});
        QCOMPARE(k.taBort(h), Utfall::Avbrutet);
        QCOMPARE(f.m.visade.back().text, u"Vill du verkligen ta bort klassen Herrar?"_s);
        QCOMPARE(f.m.visade.back().titel, u"Bekräfta"_s);
        QVERIFY(koder(k.lista()).contains(u"H"_s));
        f.m.svara(Meddelanden::Svar::Ja);
        QCOMPARE(k.taBort(h), Utfall::Ok);
        QVERIFY(!koder(k.lista()).contains(u"H"_s));
        QCOMPARE(felnummer([&] { k.klass(h); }), Klasser::RadenFinnsInte);
    }

    // Same shot count, and in a mixed competition the same kind; the class shows
    // as merged until it is taken out, its main class deleted or the class changed.
    void sammanslagning() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, Typ::Mix);
        Klasser k(f.g, f.m);
        QCOMPARE(k.nyHuvudklass(u("Sen", "Seniorer", 60, "Sport")), Utfall::Ok);
        QCOMPARE(k.nyHuvudklass(u("LGD", "Luftgevär dam", 40, "Nat")), Utfall::Ok);
        const qint64 sen = k.huvudklasser()[0].raknare;
        const qint64 lgd = k.huvudklasser()[1].raknare;
        QCOMPARE(k.huvudklasser()[1].sportNat, u"Nat"_s);

        QCOMPARE(k.slaSamman(raknare(f, "D"), sen), Utfall::FelAntalSkott);
        QCOMPARE(f.m.senasteText(), u"Det är fel antal skott i klassen."_s);
        QCOMPARE(k.slaSamman(raknare(f, "D"), lgd), Utfall::FelSportNat);
        const qint64 h = raknare(f, "H");
        QCOMPARE(k.slaSamman(h, sen), Utfall::Ok);
        QCOMPARE(k.slaSamman(raknare(f, "JH"), sen), Utfall::Ok);
        QCOMPARE(k.slaSamman(raknare(f, "LG1"), lgd), Utfall::Ok);
        QCOMPARE(koder(k.klasserI(sen)), (QStringList{"H", "JH"}));
        QVERIFY(!koder(k.friaKlasser()).contains(u"H"_s));

        k.lyftUr(h);
        QCOMPARE(koder(k.klasserI(sen)), QStringList{"JH"});
        QVERIFY(koder(k.friaKlasser()).contains(u"H"_s));

        // Both writes of a deletion or neither.
        f.g.cnnTavling.kor(u"CREATE TRIGGER stopp BEFORE DELETE ON SammanslagningKlasser "
                           "BEGIN SELECT RAISE(ABORT, 'stopp'); END"_s);
        QVERIFY(felnummer([&] { k.raderaHuvudklass(sen); }) != 0);
        QCOMPARE(koder(k.klasserI(sen)), QStringList{"JH"});
        f.g.cnnTavling.kor(u"DROP TRIGGER stopp"_s);
        k.raderaHuvudklass(sen);
        QCOMPARE(k.huvudklasser().size(), 1);
        QVERIFY(koder(k.friaKlasser()).contains(u"JH"_s));

        const qint64 lg1 = raknare(f, "LG1");
        QCOMPARE(k.andra(lg1, u("LG1", "Luftgevär klass 1", 40, "Nat")), Utfall::Ok);
        QCOMPARE(k.klass(lg1).sammanslagen, qint64(0));
        QVERIFY(k.klasserI(lgd).isEmpty());
        QCOMPARE(felnummer([&] { k.lyftUr(9999); }), Klasser::RadenFinnsInte);
    }
};

QTEST_MAIN(TestKlasser)
#include "test_klasser.moc"
