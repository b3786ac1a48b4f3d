#include "common/Databasnamn.h"
#include "registration/Skytt.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"

#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;
using Svar = Meddelanden::Svar;
using U = Skyttregister::Utfall;

namespace {
Skyttregister::Uppgifter uppgifter(const QString& bana, const QString& startnr = {}) {
    Skyttregister::Uppgifter u;
    u.namn = u" Anna "_s;
    u.efternamn = u"O'Neill"_s;
    u.forening = u"Sandvikens SF"_s;
    u.klass = u"D"_s;
    u.fodelsear = u"1990"_s;
    u.startnr = startnr;
    u.bana = bana;
    return u;
}
// A new shooter (lopnummer 0) or an edit of one, onto a lane of the squad shown.
Skyttregister::Sparning sparning(int skjutlag, qint64 lopnummer = 0) {
    return {lopnummer != 0, lopnummer, skjutlag};
}
qint64 lopnummer(const Databas& db, const QString& namn) {
    return db.varde(u"SELECT Löpnummer FROM Skyttar WHERE Namn = ?"_s, {namn}).toLongLong();
}
// The lanes a shooter stands on, as "squad/lane".
QStringList platser(const Databas& db, qint64 lop) {
    QStringList p;
    QSqlQuery q = db.kor(u"SELECT Skjutlag, Bana FROM Skjutlag WHERE Startnummer = ? ORDER BY 1, 2"_s, {lop});
    while (q.next())
        p << u"%1/%2"_s.arg(q.value(0).toInt()).arg(q.value(1).toInt());
    return p;
}
Skyttregister::Resultat spara(Testfixtur& f, const Skyttregister::Sparning& s,
                              const Skyttregister::Uppgifter& u, Skyttregister::Prisregel regel = {}) {
    return Skyttregister::spara(f.g, f.m, regel, s, u);
}
} // namespace

// One shooter on a real competition: the start numbers, the checks of a save
// in their order, placing a new shooter, moving and swapping an edited one,
// the challenge prize's series and deleting.
class TestSkytt : public QObject {
    Q_OBJECT

private slots:
    void ledigaStartnummer() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 10, 4);
        Databas& db = f.g.cnnTavling;
        Skyttregister::LedigaStartnummer l = Skyttregister::ledigaStartnummer(db);
        QCOMPARE(l.lista, QList<int>{1});
        QCOMPARE(l.forslag, 1);
        for (const int nr : {1, 2, 5, 5, 0, 0})
            db.kor(u"INSERT INTO Skyttar (Startnr, Namn) VALUES (?, 'x')"_s, {nr});
        l = Skyttregister::ledigaStartnummer(db);
        QCOMPARE(l.lista, (QList<int>{3, 4, 6}));
        QCOMPARE(l.forslag, 6);
        // Only the 30 lowest gaps, then the highest plus one.
        db.kor(u"INSERT INTO Skyttar (Startnr, Namn) VALUES (100, 'x')"_s);
        l = Skyttregister::ledigaStartnummer(db);
        QCOMPARE(l.lista.size(), 31);
        QCOMPARE(l.lista.mid(0, 3), (QList<int>{3, 4, 6}));
        QCOMPARE(l.lista[29], 33);
        QCOMPARE(l.lista.last(), 101);
        // 0 is "none": never a duplicate, the placeholder's 0 included.
        QVERIFY(!Skyttregister::startnummerFinns(db, 0));
        QVERIFY(Skyttregister::startnummerFinns(db, 5));
        const qint64 hundra = db.varde(u"SELECT Löpnummer FROM Skyttar WHERE Startnr = 100"_s).toLongLong();
        QVERIFY(!Skyttregister::startnummerFinns(db, 100, hundra));
        QCOMPARE(Skyttregister::startnummer(u" "_s), 0);
        QCOMPARE(felnummer([] { Skyttregister::startnummer(u"12a"_s); }), Felnummer::TypeMismatch);
    }

    // The checks come in the order the fields are filled, each with its
    // message: from the last check to the first, each row breaks one more
    // field, and the earliest broken one is told. A refused save writes nothing.
    void kontrollerIOrdning() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 10, 2, 3);
        Databas& db = f.g.cnnTavling;
        const QString antal = u"SELECT COUNT(*) FROM Skyttar"_s;
        const int fore = db.varde(antal).toInt();
        using S = Skyttregister::Uppgifter;
        const struct {
            QString S::*falt;
            const char *varde, *meddelande;
            U utfall;
        } fall[] = {
            {&S::bana, " ", "Du måste fylla i en bana!|Fel.", U::FelBana},
            {&S::bana, "11", "Det finns bara 10 banor.|Fel.", U::FelBana},
            {&S::bana, "99999999999999999999", "Det finns bara 10 banor.|Fel.", U::FelBana},
            {&S::bana, "0", "Du får bara skriva in på banor som finns!|Fel.", U::FelBana},
            {&S::namn, "  ", "Du måste ange ett namn på skytten!|Fel", U::FelNamn},
            {&S::forening, " ", "Du måste ange en förening på skytten!|Fel", U::FelForening},
            {&S::klass, "", "Du måste ange en klass på skytten!|Fel", U::FelKlass},
            {&S::fodelsear, "199", "Du måste ange födelseåret med 4 siffror!|Fel antal siffror",
             U::FelFodelsear},
            {&S::startnr, "2", "Detta startnummer finns redan!|Dublettnr", U::Dublett},
            {&S::bana, "2", "Banan är upptagen, välj en annan.|Fel", U::BanaUpptagen},
        };
        Skyttregister::Uppgifter u = uppgifter(u"5"_s);
        for (int i = int(std::size(fall)) - 1; i >= 0; --i) {
            u.*fall[i].falt = QString::fromUtf8(fall[i].varde);
            f.m.tom();
            QCOMPARE(spara(f, sparning(1), u).utfall, fall[i].utfall);
            QCOMPARE(f.m.visade.size(), 1);
            QCOMPARE(f.m.senasteText() + u'|' + f.m.visade[0].titel, QString::fromUtf8(fall[i].meddelande));
            QCOMPARE(f.m.visade[0].ikon, Meddelanden::Ikon::Kritisk);
        }
        // A lane the squad has no row for is refused too.
        db.kor(u"DELETE FROM Skjutlag WHERE Skjutlag = 2 AND Bana = 7"_s);
        QCOMPARE(spara(f, sparning(2), uppgifter(u"7"_s)).utfall, U::BanaSaknas);
        QCOMPARE(f.m.senasteText(), u"Bana 7 finns inte i skjutlag 2, välj en annan."_s);
        QCOMPARE(db.varde(antal).toInt(), fore);
        // Rounds in use: a round must be chosen, and its key is what is written,
        // whatever its description.
        f.g.blnFleraTavlingar = true;
        db.kor(u"INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (3, 'Final'), (4, 'Final')"_s);
        QCOMPARE(spara(f, sparning(1), uppgifter(u"5"_s)).utfall, U::FelOmg);
        QCOMPARE(f.m.senasteText(), u"Du måste välja i vilken tävlingsomgång skytten ska vara med i!"_s);
        u = uppgifter(u"5"_s);
        u.omg = 4;
        const Skyttregister::Resultat r = spara(f, sparning(1), u);
        QCOMPARE(r.utfall, U::Sparad);
        QCOMPARE(r.bana, 5);
        QCOMPARE(platser(db, r.lopnummer), QStringList{u"1/5"_s});
        const Skytt s = *Skyttregister::hamta(db, r.lopnummer);
        QCOMPARE(u"%1|%2|%3|%4|%5"_s.arg(s.omg).arg(s.namn, s.efternamn).arg(s.startnr).arg(s.fodelsear),
                 u"4|Anna|O'Neill|0|1990"_s);
        // Two shooters without a start number are no duplicates.
        u.bana = u"6"_s;
        QCOMPARE(spara(f, sparning(1), u).utfall, U::Sparad);
    }

    // An edited shooter keeps his own start number, moves to a free lane
    // (his old lane becomes free), and swaps with a taken lane only when the
    // operator agrees, also across squads. However the rows came to hold a
    // shooter twice, a save leaves him on exactly one lane; so does a swap
    // with a shooter who stood on two.
    void flyttOchByte() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 4, 2, 6);
        Databas& db = f.g.cnnTavling;
        const qint64 s1 = lopnummer(db, u"Skytt1"_s), s3 = lopnummer(db, u"Skytt3"_s);
        db.kor(u"UPDATE Skjutlag SET Startnummer = ? WHERE Skjutlag = 2 AND Bana = 3"_s, {s1});
        db.kor(u"UPDATE Skjutlag SET Startnummer = ? WHERE Skjutlag = 2 AND Bana = 4"_s, {s3});
        Skyttregister::Uppgifter u = uppgifter(u"3"_s, u"1"_s);
        u.namn = u"Skytt1"_s;
        u.efternamn = u"Efternamn1"_s;
        // Lane 3 is taken by Skytt3: No writes nothing, not even the fields.
        f.m.svara(Svar::Nej);
        QCOMPARE(spara(f, sparning(1, s1), u).utfall, U::BytetNekat);
        QCOMPARE(f.m.senasteText(), u"Vill du byta bana mellan:\r\rSkytt1 Efternamn1  Skjutlag 1  "
                                    u"Bana: 1\r\rSkytt3 Efternamn3  Skjutlag: 1  Bana: 3"_s);
        QCOMPARE(f.m.visade.back().titel, u"Banan är upptagen."_s);
        QCOMPARE(f.m.visade.back().knappar, Meddelanden::Knappar::JaNej);
        QCOMPARE(platser(db, s1), (QStringList{u"1/1"_s, u"2/3"_s}));
        QCOMPARE(Skyttregister::hamta(db, s1)->forening, u"Klubb 1"_s);

        f.m.svara(Svar::Ja);
        QCOMPARE(spara(f, sparning(1, s1), u).utfall, U::Sparad);
        QCOMPARE(platser(db, s1), QStringList{u"1/3"_s});
        QCOMPARE(platser(db, s3), QStringList{u"1/1"_s});
        QCOMPARE(Skyttregister::hamta(db, s1)->forening, u"Sandvikens SF"_s);
        // Saving on his own lane changes no lane.
        QCOMPARE(spara(f, sparning(1, s1), u).utfall, U::Sparad);
        QCOMPARE(platser(db, s1), QStringList{u"1/3"_s});
        // Across squads: Skytt1 (1/3) and Skytt6 (2/2).
        u.bana = u"2"_s;
        f.m.svara(Svar::Ja);
        QCOMPARE(spara(f, sparning(2, s1), u).utfall, U::Sparad);
        QCOMPARE(platser(db, s1), QStringList{u"2/2"_s});
        QCOMPARE(platser(db, lopnummer(db, u"Skytt6"_s)), QStringList{u"1/3"_s});
        // To a free lane of another squad: the old lane becomes free.
        u.bana = u"4"_s;
        QCOMPARE(spara(f, sparning(2, s1), u).utfall, U::Sparad);
        QCOMPARE(platser(db, s1), QStringList{u"2/4"_s});
        QVERIFY(platser(db, PlatshallareLopnummer).contains(u"2/2"_s));
        // Staying on his lane with a start number another shooter has is refused.
        u.startnr = u"5"_s;
        QCOMPARE(spara(f, sparning(2, s1), u).utfall, U::Dublett);
    }

    // The shooter row and the lane row are one change, new or edited.
    void sparningArEnTransaktion() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 4, 1, 1);
        Databas& db = f.g.cnnTavling;
        db.kor(
            u"CREATE TEMP TRIGGER stopp BEFORE UPDATE ON Skjutlag BEGIN SELECT RAISE(ABORT, 'stopp'); END"_s);
        QCOMPARE(felnummer([&] { spara(f, sparning(1), uppgifter(u"2"_s)); }), Felnummer::Databasfel);
        QCOMPARE(db.varde(u"SELECT COUNT(*) FROM Skyttar"_s).toInt(), 2);
        const qint64 s1 = lopnummer(db, u"Skytt1"_s);
        QCOMPARE(felnummer([&] { spara(f, sparning(1, s1), uppgifter(u"3"_s)); }), Felnummer::Databasfel);
        QCOMPARE(Skyttregister::hamta(db, s1)->namn, u"Skytt1"_s);
        QCOMPARE(platser(db, s1), QStringList{u"1/1"_s});
    }

    // Series: with "Alla" everyone, with "Valda" the ticked ones, without the
    // prize nobody; 42 shots are 8 series, written at a save. The
    // placeholder never gets any.
    void vandringsserier() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 10, 1);
        clsIni& ini = f.g.iniTavling;
        QVERIFY(ini.WriteKey("Vandringspris", "AntalSkott", "42"));
        const struct {
            const char *pa, *vilka;
            bool ikryssad;
            int serier;
        } fall[] = {{"0", "Alla", true, 0},
                    {"1", "Alla", false, 8},
                    {"1", "Valda", false, 0},
                    {"1", "Valda", true, 8}};
        Skyttregister::Prisregel regel;
        for (const auto& c : fall) {
            QVERIFY(ini.WriteKeys(
                {{"Vandringspris", "Vandringspris", c.pa}, {"Vandringspris", "Vilka", c.vilka}}));
            regel = Skyttregister::Prisregel::las(ini);
            QCOMPARE(Skyttregister::vandringsserier(ini, regel, c.ikryssad), c.serier);
        }
        Skyttregister::Uppgifter u = uppgifter(u"1"_s);
        u.vandringspris = true;
        QCOMPARE(
            Skyttregister::hamta(f.g.cnnTavling, spara(f, sparning(1), u, regel).lopnummer)->vandringsSerier,
            8);
        QCOMPARE(f.g.cnnTavling.varde(u"SELECT VandringsSerier FROM Skyttar WHERE Löpnummer = 1"_s).toInt(),
                 0);
    }

    // Deleting asks, and asks again for a team member; the lane becomes free.
    void taBort() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 4, 1, 2);
        Databas& db = f.g.cnnTavling;
        const qint64 s1 = lopnummer(db, u"Skytt1"_s);
        db.kor(u"UPDATE Skyttar SET Lag = 3 WHERE Löpnummer = ?"_s, {s1});
        f.m.svara(Svar::Ja);
        f.m.svara(Svar::Nej);
        QVERIFY(!Skyttregister::taBort(db, f.m, s1));
        QCOMPARE(f.m.visade.size(), 2);
        QCOMPARE(f.m.visade[0].text, u"Är du säker på att du vill ta bort den här skytten?"_s);
        QCOMPARE(f.m.visade[0].titel, u"Bekräfta borttag."_s);
        QCOMPARE(f.m.visade[1].text,
                 u"Skytten du försöker tabort är med i ett lag!\r\nVill du fortfarande tabort skytten?"_s);
        QCOMPARE(f.m.visade[1].titel, u"Lagskytt!"_s);
        QVERIFY(Skyttregister::hamta(db, s1));

        f.m.svara(Svar::Ja);
        f.m.svara(Svar::Ja);
        QVERIFY(Skyttregister::taBort(db, f.m, s1));
        QVERIFY(!Skyttregister::hamta(db, s1));
        QCOMPARE(platser(db, PlatshallareLopnummer), (QStringList{u"1/1"_s, u"1/3"_s, u"1/4"_s}));
        // The placeholder is nobody to delete.
        QVERIFY(!Skyttregister::taBort(db, f.m, PlatshallareLopnummer));
        QCOMPARE(Skyttregister::foreningar(db), QStringList{u"Klubb 2"_s});
    }
};

QTEST_MAIN(TestSkytt)
#include "test_skytt.moc"
