#include "common/Databasnamn.h"
#include "common/IniNamn.h"
#include "competition/Skjutlag.h"
#include "registration/Skytt.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"

#include <QSqlQuery>
#include <QTest>

using Svar = Meddelanden::Svar;
using U = Skyttar::Utfall;

// One shooter on a real competition: the start numbers, the checks of a save
// in their order, placing a new shooter, moving and swapping an edited one,
// the challenge prize's series and deleting.
class TestSkytt : public QObject {
    Q_OBJECT

    static Skyttar::Uppgifter uppgifter(const QString& bana, const QString& startnr = QString()) {
        Skyttar::Uppgifter u;
        u.namn = QStringLiteral(" Anna ");
        u.efternamn = QStringLiteral("O'Neill");
        u.forening = QStringLiteral("Sandvikens SF");
        u.klass = QStringLiteral("D");
        u.fodelsear = QStringLiteral("1990");
        u.startnr = startnr;
        u.bana = bana;
        return u;
    }
    static Skyttar::Sparning ny(int skjutlag) {
        Skyttar::Sparning s;
        s.skjutlag = skjutlag;
        return s;
    }
    static Skyttar::Sparning andra(qint64 lopnummer, int skjutlag) {
        Skyttar::Sparning s;
        s.andrar = true;
        s.lopnummer = lopnummer;
        s.skjutlag = skjutlag;
        return s;
    }
    static qint64 pa(const Databas& db, int skjutlag, int bana) {
        return db
            .varde(QStringLiteral("SELECT Startnummer FROM Skjutlag WHERE Skjutlag = ? AND Bana = ?"),
                   {skjutlag, bana})
            .toLongLong();
    }
    static qint64 lopnummer(const Databas& db, const QString& namn) {
        return db.varde(QStringLiteral("SELECT Löpnummer FROM Skyttar WHERE Namn = ?"), {namn}).toLongLong();
    }
    // The lanes a shooter stands on, as "squad/lane".
    static QStringList platser(const Databas& db, qint64 lop) {
        QStringList p;
        QSqlQuery q = db.kor(
            QStringLiteral("SELECT Skjutlag, Bana FROM Skjutlag WHERE Startnummer = ? ORDER BY 1, 2"), {lop});
        while (q.next())
            p << QStringLiteral("%1/%2").arg(q.value(0).toInt()).arg(q.value(1).toInt());
        return p;
    }
    static Skyttar::Resultat spara(Testfixtur& f, const Skyttar::Sparning& s, const Skyttar::Uppgifter& u,
                                   Skyttar::Prisregel regel = {}) {
        return Skyttar::spara(f.g, f.m, regel, s, u);
    }

private slots:
    void ledigaStartnummer() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 10, 4);
        Databas& db = f.g.cnnTavling;
        Skyttar::LedigaStartnummer l = Skyttar::ledigaStartnummer(db);
        QCOMPARE(l.lista, QList<int>{1});
        QCOMPARE(l.forslag, 1);

        for (const int nr : {1, 2, 5, 5, 0, 0})
            db.kor(QStringLiteral("INSERT INTO Skyttar (Startnr, Namn) VALUES (?, 'x')"), {nr});
        l = Skyttar::ledigaStartnummer(db);
        QCOMPARE(l.lista, (QList<int>{3, 4, 6}));
        QCOMPARE(l.forslag, 6);

        // Only the 30 lowest gaps, then the highest plus one.
        db.kor(QStringLiteral("INSERT INTO Skyttar (Startnr, Namn) VALUES (100, 'x')"));
        l = Skyttar::ledigaStartnummer(db);
        QCOMPARE(l.lista.size(), 31);
        QCOMPARE(l.lista.mid(0, 3), (QList<int>{3, 4, 6}));
        QCOMPARE(l.lista[29], 33);
        QCOMPARE(l.lista.last(), 101);

        // 0 is "none": never a duplicate, the placeholder's 0 included.
        QVERIFY(!Skyttar::startnummerFinns(db, 0));
        QVERIFY(Skyttar::startnummerFinns(db, 5));
        const qint64 hundra =
            db.varde(QStringLiteral("SELECT Löpnummer FROM Skyttar WHERE Startnr = 100")).toLongLong();
        QVERIFY(!Skyttar::startnummerFinns(db, 100, hundra));
        QCOMPARE(Skyttar::startnummer(QStringLiteral(" ")), 0);
        QCOMPARE(felnummer([] { Skyttar::startnummer(QStringLiteral("12a")); }), Felnummer::TypeMismatch);
    }

    // The checks come in the order the fields are filled, each with its
    // message; a refused save writes nothing.
    void kontrollerIOrdning() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 10, 2, 3);
        Databas& db = f.g.cnnTavling;
        const auto antalSkyttar = [&] {
            return db.varde(QStringLiteral("SELECT COUNT(*) FROM Skyttar")).toInt();
        };
        const int fore = antalSkyttar();
        struct Fall {
            Skyttar::Uppgifter u;
            U utfall;
            QString text, titel;
        };
        Skyttar::Uppgifter utanNamn = uppgifter(QStringLiteral("5"));
        utanNamn.namn = QStringLiteral("  ");
        utanNamn.forening.clear();
        Skyttar::Uppgifter utanForening = uppgifter(QStringLiteral("5"));
        utanForening.forening = QStringLiteral(" ");
        Skyttar::Uppgifter utanKlass = uppgifter(QStringLiteral("5"));
        utanKlass.klass.clear();
        Skyttar::Uppgifter kortAr = uppgifter(QStringLiteral("5"));
        kortAr.fodelsear = QStringLiteral("199");
        Skyttar::Uppgifter tomBanaUtanNamn = utanNamn;
        tomBanaUtanNamn.bana = QStringLiteral(" ");
        const QList<Fall> fall = {
            {tomBanaUtanNamn, U::FelBana, "Du måste fylla i en bana!", "Fel."},
            {uppgifter("11"), U::FelBana, "Det finns bara 10 banor.", "Fel."},
            {uppgifter("99999999999999999999"), U::FelBana, "Det finns bara 10 banor.", "Fel."},
            {uppgifter("0"), U::FelBana, "Du får bara skriva in på banor som finns!", "Fel."},
            {utanNamn, U::FelNamn, "Du måste ange ett namn på skytten!", "Fel"},
            {utanForening, U::FelForening, "Du måste ange en förening på skytten!", "Fel"},
            {utanKlass, U::FelKlass, "Du måste ange en klass på skytten!", "Fel"},
            {kortAr, U::FelFodelsear, "Du måste ange födelseåret med 4 siffror!", "Fel antal siffror"},
            {uppgifter("5", "2"), U::Dublett, "Detta startnummer finns redan!", "Dublettnr"},
            {uppgifter("2"), U::BanaUpptagen, "Banan är upptagen, välj en annan.", "Fel"},
        };
        for (const Fall& c : fall) {
            f.m.tom();
            QCOMPARE(spara(f, ny(1), c.u).utfall, c.utfall);
            QCOMPARE(f.m.visade.size(), 1);
            QCOMPARE(f.m.senasteText(), c.text);
            QCOMPARE(f.m.visade[0].titel, c.titel);
            QCOMPARE(f.m.visade[0].ikon, Meddelanden::Ikon::Kritisk);
        }
        // A lane the squad has no row for is refused too.
        db.kor(QStringLiteral("DELETE FROM Skjutlag WHERE Skjutlag = 2 AND Bana = 7"));
        QCOMPARE(spara(f, ny(2), uppgifter("7")).utfall, U::BanaSaknas);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Bana 7 finns inte i skjutlag 2, välj en annan."));
        QCOMPARE(antalSkyttar(), fore);

        // Rounds in use: a round must be chosen, and its key is what is written,
        // whatever its description.
        f.g.blnFleraTavlingar = true;
        db.kor(QStringLiteral(
            "INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (3, 'Final'), (4, 'Final')"));
        f.m.tom();
        QCOMPARE(spara(f, ny(1), uppgifter("5")).utfall, U::FelOmg);
        QCOMPARE(f.m.senasteText(),
                 QStringLiteral("Du måste välja i vilken tävlingsomgång skytten ska vara med i!"));
        Skyttar::Uppgifter u = uppgifter("5");
        u.omg = 4;
        const Skyttar::Resultat r = spara(f, ny(1), u);
        QCOMPARE(r.utfall, U::Sparad);
        QCOMPARE(r.bana, 5);
        QCOMPARE(pa(db, 1, 5), r.lopnummer);
        const std::optional<Skytt> s = Skyttar::hamta(db, r.lopnummer);
        QVERIFY(s);
        QCOMPARE(s->omg, 4);
        QCOMPARE(s->namn, QStringLiteral("Anna"));
        QCOMPARE(s->efternamn, QStringLiteral("O'Neill"));
        QCOMPARE(s->startnr, 0);
        QCOMPARE(s->fodelsear, QStringLiteral("1990"));
        // Two shooters without a start number are no duplicates.
        u.bana = QStringLiteral("6");
        QCOMPARE(spara(f, ny(1), u).utfall, U::Sparad);
    }

    // An edited shooter keeps his own start number, moves to a free lane
    // (his old lane becomes free), and swaps with a taken lane only when the
    // operator agrees, also across squads.
    void flyttOchByte() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 2, 6);
        Databas& db = f.g.cnnTavling;
        const qint64 s1 = lopnummer(db, "Skytt1");
        const qint64 s6 = lopnummer(db, "Skytt6");
        Skyttar::Uppgifter u = uppgifter("3", "1");
        u.namn = QStringLiteral("Skytt1");
        u.efternamn = QStringLiteral("Efternamn1");

        // Lane 3 is taken by Skytt3: No writes nothing, not even the fields.
        f.m.svara(Svar::Nej);
        QCOMPARE(spara(f, andra(s1, 1), u).utfall, U::BytetNekat);
        QCOMPARE(f.m.senasteText(),
                 QStringLiteral("Vill du byta bana mellan:\r\rSkytt1 Efternamn1  Skjutlag 1  "
                                "Bana: 1\r\rSkytt3 Efternamn3  Skjutlag: 1  Bana: 3"));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Banan är upptagen."));
        QCOMPARE(f.m.visade.back().knappar, Meddelanden::Knappar::JaNej);
        QCOMPARE(platser(db, s1), QStringList{"1/1"});
        QCOMPARE(Skyttar::hamta(db, s1)->forening, QStringLiteral("Klubb 1"));

        f.m.svara(Svar::Ja);
        QCOMPARE(spara(f, andra(s1, 1), u).utfall, U::Sparad);
        QCOMPARE(platser(db, s1), QStringList{"1/3"});
        QCOMPARE(platser(db, lopnummer(db, "Skytt3")), QStringList{"1/1"});
        QCOMPARE(Skyttar::hamta(db, s1)->forening, QStringLiteral("Sandvikens SF"));

        // Across squads: Skytt1 (1/3) and Skytt6 (2/2).
        u.bana = QStringLiteral("2");
        f.m.svara(Svar::Ja);
        QCOMPARE(spara(f, andra(s1, 2), u).utfall, U::Sparad);
        QCOMPARE(platser(db, s1), QStringList{"2/2"});
        QCOMPARE(platser(db, s6), QStringList{"1/3"});

        // To a free lane of another squad: the old lane becomes free.
        u.bana = QStringLiteral("4");
        QCOMPARE(spara(f, andra(s1, 2), u).utfall, U::Sparad);
        QCOMPARE(platser(db, s1), QStringList{"2/4"});
        QCOMPARE(pa(db, 2, 2), PlatshallareLopnummer);

        // Staying on his lane with a start number another shooter has is refused.
        u.startnr = QStringLiteral("5");
        QCOMPARE(spara(f, andra(s1, 2), u).utfall, U::Dublett);
    }

    // However the rows came to hold a shooter twice, a save leaves him on
    // exactly one lane; so does a swap with a shooter who stood on two.
    void enBanaPerSkytt() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Nationellt, 3, 2, 2);
        Databas& db = f.g.cnnTavling;
        const qint64 s1 = lopnummer(db, "Skytt1");
        const qint64 s2 = lopnummer(db, "Skytt2");
        db.kor(QStringLiteral("UPDATE Skjutlag SET Startnummer = ? WHERE Skjutlag = 2 AND Bana = 1"), {s1});
        db.kor(QStringLiteral("UPDATE Skjutlag SET Startnummer = ? WHERE Skjutlag = 2 AND Bana = 3"), {s2});
        Skyttar::Uppgifter u = uppgifter("3", "1");
        QCOMPARE(spara(f, andra(s1, 1), u).utfall, U::Sparad);
        QCOMPARE(platser(db, s1), QStringList{"1/3"});

        u.bana = QStringLiteral("2");
        f.m.svara(Svar::Ja);
        QCOMPARE(spara(f, andra(s1, 1), u).utfall, U::Sparad);
        QCOMPARE(platser(db, s1), QStringList{"1/2"});
        QCOMPARE(platser(db, s2), QStringList{"1/3"});
        // Saving on his own lane changes no lane.
        QCOMPARE(spara(f, andra(s1, 1), u).utfall, U::Sparad);
        QCOMPARE(platser(db, s1), QStringList{"1/2"});
    }

    // The shooter row and the lane row are one change.
    void sparningArEnTransaktion() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 1, 1);
        Databas& db = f.g.cnnTavling;
        db.kor(QStringLiteral("CREATE TEMP TRIGGER stopp BEFORE UPDATE ON Skjutlag "
                              "BEGIN SELECT RAISE(ABORT, 'stopp'); END"));
        QCOMPARE(felnummer([&] { spara(f, ny(1), uppgifter("2")); }), Felnummer::Databasfel);
        QCOMPARE(db.varde(QStringLiteral("SELECT COUNT(*) FROM Skyttar")).toInt(), 2);
        const qint64 s1 = lopnummer(db, "Skytt1");
        QCOMPARE(felnummer([&] { spara(f, andra(s1, 1), uppgifter("3")); }), Felnummer::Databasfel);
        QCOMPARE(Skyttar::hamta(db, s1)->namn, QStringLiteral("Skytt1"));
        QCOMPARE(platser(db, s1), QStringList{"1/1"});
    }

    // Series at a save: with "Alla" everyone, with "Valda" the ticked ones,
    // without the prize nobody; 42 shots are 8 series. The placeholder never.
    void vandringsserier() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 10, 1);
        Databas& db = f.g.cnnTavling;
        QVERIFY(f.g.iniTavling.WriteKeys({{"Vandringspris", "Vandringspris", "1"},
                                          {"Vandringspris", "AntalSkott", "42"},
                                          {"Vandringspris", "Vilka", "Valda"}}));
        const Skyttar::Prisregel valda = Skyttar::Prisregel::las(f.g.iniTavling);
        QVERIFY(valda.valjsForHand() && !valda.allaDeltar());
        const auto serier = [&](const Skyttar::Resultat& r) {
            return Skyttar::hamta(db, r.lopnummer)->vandringsSerier;
        };
        Skyttar::Uppgifter u = uppgifter("1");
        u.vandringspris = true;
        QCOMPARE(serier(spara(f, ny(1), u, valda)), 8);
        u.vandringspris = false;
        u.bana = QStringLiteral("2");
        QCOMPARE(serier(spara(f, ny(1), u, valda)), 0);

        QVERIFY(f.g.iniTavling.WriteKey("Vandringspris", "Vilka", "Alla"));
        const Skyttar::Prisregel alla = Skyttar::Prisregel::las(f.g.iniTavling);
        u.bana = QStringLiteral("3");
        QCOMPARE(serier(spara(f, ny(1), u, alla)), 8);

        QVERIFY(f.g.iniTavling.WriteKey("Vandringspris", "Vandringspris", "0"));
        const Skyttar::Prisregel av = Skyttar::Prisregel::las(f.g.iniTavling);
        u.vandringspris = true;
        u.bana = QStringLiteral("4");
        QCOMPARE(serier(spara(f, ny(1), u, av)), 0);
        QCOMPARE(db.varde(QStringLiteral("SELECT VandringsSerier FROM Skyttar WHERE Löpnummer = 1")).toInt(),
                 0);
    }

    // Deleting asks, and asks again for a team member; the lane becomes free.
    void taBort() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 1, 2);
        Databas& db = f.g.cnnTavling;
        const qint64 s1 = lopnummer(db, "Skytt1");
        db.kor(QStringLiteral("UPDATE Skyttar SET Lag = 3 WHERE Löpnummer = ?"), {s1});
        f.m.svara(Svar::Ja);
        f.m.svara(Svar::Nej);
        QVERIFY(!Skyttar::taBort(db, f.m, s1));
        QCOMPARE(f.m.visade.size(), 2);
        QCOMPARE(f.m.visade[0].text, QStringLiteral("Är du säker på att du vill ta bort den här skytten?"));
        QCOMPARE(f.m.visade[0].titel, QStringLiteral("Bekräfta borttag."));
        QCOMPARE(f.m.visade[1].text, QStringLiteral("Skytten du försöker tabort är med i ett lag!\r\n"
                                                    "Vill du fortfarande tabort skytten?"));
        QCOMPARE(f.m.visade[1].titel, QStringLiteral("Lagskytt!"));
        QVERIFY(Skyttar::hamta(db, s1));

        f.m.svara(Svar::Ja);
        f.m.svara(Svar::Ja);
        QVERIFY(Skyttar::taBort(db, f.m, s1));
        QVERIFY(!Skyttar::hamta(db, s1));
        QCOMPARE(pa(db, 1, 1), PlatshallareLopnummer);
        // The placeholder is nobody to delete.
        QVERIFY(!Skyttar::taBort(db, f.m, PlatshallareLopnummer));
        QVERIFY(Skyttar::foreningar(db) == QStringList{QStringLiteral("Klubb 2")});
    }
};

QTEST_MAIN(TestSkytt)
#include "test_skytt.moc"
