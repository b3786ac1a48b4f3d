#include "competition/Lag.h"
#include "competition/Lagmedlemmar.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Ikon = Meddelanden::Ikon;
using Svar = Meddelanden::Svar;
using Knappar = Meddelanden::Knappar;
using Lagmedlemmar::Utfall;

namespace {
const QString FinnsInte = u"Skytten finns inte, eller så är skytten redan med i ett lag."_s;

// A message box as its text, title, icon and buttons.
auto ruta(const TestMeddelanden::Visat& v) {
    return std::tuple(v.text, v.titel, v.ikon, v.knappar);
}

// A sport-shooting competition whose team competition "Cup" (made with it)
// counts 3 shooters of 60 shots; its shooters are of class H (60 shots).
struct Miljo {
    Testfixtur f;
    qint64 cup = 0;
    explicit Miljo(int skyttar = 0) {
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 10, 2, skyttar);
        cup = db().varde(u"SELECT Lagtävling FROM Lagtävling"_s).toLongLong();
    }
    Databas& db() { return f.g.cnnTavling; }
    qint64 lagtavling(const QString& namn, int storlek, int skott, int omg = 0) {
        db().kor(
            u"INSERT INTO Lagtävling (Lagtävlingsnamn, [Antal skyttar], [Antal skott], Omg, [Sport/Nat]) "
            u"VALUES (?, ?, ?, ?, 'Sport')"_s,
            {namn, storlek, skott, omg});
        return db().varde(u"SELECT last_insert_rowid()"_s).toLongLong();
    }
    qint64 skytt(const QString& namn, const QString& efternamn = u"Berg"_s, const QString& klass = u"H"_s,
                 int omg = 0) {
        db().kor(u"INSERT INTO Skyttar (Startnr, Namn, Efternamn, Förening, Klass, Omg) "
                 u"VALUES (7, ?, ?, 'Klubben', ?, ?)"_s,
                 {namn, efternamn, klass, omg});
        return db().varde(u"SELECT last_insert_rowid()"_s).toLongLong();
    }
    // A shooter's team and team series as "team/series".
    QString lagOchSerier(qint64 lopnummer) {
        return db()
            .varde(u"SELECT Lag || '/' || Lagserier FROM Skyttar WHERE Löpnummer = ?"_s, {lopnummer})
            .toString();
    }
    QString sok(qint64 lagNr, const QString& namn, const QString& efternamn = {}) {
        QStringList namnen;
        for (const Skytt& s : Lagmedlemmar::sok(f.g, lagNr, namn, efternamn))
            namnen << s.namn;
        return namnen.join(u' ');
    }
    Utfall laggTill(qint64 lag, const QString& namn, const QString& efternamn = {}) {
        return Lagmedlemmar::LaggTillSkytt(f.g, f.m, lag, namn, efternamn);
    }
};
} // namespace

// Teams and their members on a real competition: names, sizes, shots and
// series, the offered shooters, and deleting.
class TestLag : public QObject {
    Q_OBJECT
private slots:
    // The name is asked again with the reason while it is refused; what is
    // taken is trimmed, and a name used in any team competition is taken, in
    // any letter case. Cancel, nothing or blanks end it without a word.
    void nyttLagFragarTillsNamnetDuger() {
        Miljo mj;
        Lag::skapa(mj.db(), mj.lagtavling(u"Damer"_s, 3, 40), u"Östra"_s);
        int pip = 0;
        for (const QString& namn : {u"O'Brien"_s, u" öSTRA "_s, u"  Västra  "_s})
            mj.f.m.skriv(namn);
        const std::optional<Lag::Nytt> nytt = Lag::NyttLag(mj.db(), mj.f.m, mj.cup, [&] { ++pip; });
        QCOMPARE(nytt.value().namn, u"Västra"_s);
        QCOMPARE(
            mj.f.m.fragor,
            (QStringList{u"Vad ska laget heta?"_s,
                         u"Du har skrivit ett felaktigt tecken i namnet!\rDu måste välja ett nytt namn."_s,
                         u"Det laget fanns redan!\rDu måste välja ett nytt namn."_s}));
        QCOMPARE(pip, 2);
        const Lag::Lagpost lag = *Lag::hamta(mj.db(), nytt->nr);
        QVERIFY(lag.namn == u"Västra"_s && lag.lagtavling == mj.cup);
        for (const std::optional<QString>& svar :
             {std::optional<QString>(), std::optional<QString>(u""_s), std::optional<QString>(u"   "_s)}) {
            mj.f.m.skriv(svar);
            QVERIFY(!Lag::NyttLag(mj.db(), mj.f.m, mj.cup));
        }
        QVERIFY(mj.f.m.visade.isEmpty());
        // The core refuses what the question refuses, and a team competition
        // that is gone.
        for (const QString& namn : {u"Ek'en"_s, u"västra"_s, u" "_s})
            QVERIFY(felnummer([&] { Lag::skapa(mj.db(), mj.cup, namn); }) != 0);
        QCOMPARE(felnummer([&] { Lag::skapa(mj.db(), 999, u"Norra"_s); }), 3021);
        QCOMPARE(mj.db().varde(u"SELECT COUNT(*) FROM Lag"_s).toInt(), 2);
        QCOMPARE(mj.db().transaktionsdjup(), 0);
    }

    // Members are taken until the team is full; a full team offers nobody.
    // Taking one out, only after a yes, makes room again. A shooter already
    // in a team is not put into another one.
    void medlemmarTillsLagetArFullt() {
        Miljo mj(5);
        const qint64 lag = Lag::skapa(mj.db(), mj.cup, u"Laget"_s);
        for (int i = 1; i <= 3; ++i) {
            QVERIFY(Lagmedlemmar::harPlats(mj.db(), lag));
            mj.f.m.svara(Svar::Ja);
            QCOMPARE(mj.laggTill(lag, u"Skytt%1"_s.arg(i)), Utfall::Tillagd);
        }
        QVERIFY(!Lagmedlemmar::harPlats(mj.db(), lag));
        const QList<Skytt> medlemmar = Lagmedlemmar::lista(mj.db(), lag);
        QCOMPARE(medlemmar.size(), 3);
        QCOMPARE(medlemmar[2].namn, u"Skytt3"_s);
        QCOMPARE(mj.lagOchSerier(medlemmar[0].lopnummer), u"%1/12"_s.arg(lag));
        mj.f.m.tom();
        QCOMPARE(mj.laggTill(lag, {}), Utfall::Fullt);
        QVERIFY(mj.f.m.visade.isEmpty());
        const qint64 fjarde =
            mj.db().varde(u"SELECT Löpnummer FROM Skyttar WHERE Namn = 'Skytt4'"_s).toLongLong();
        QVERIFY(!Lagmedlemmar::laggTill(mj.db(), lag, fjarde));
        QCOMPARE(mj.lagOchSerier(fjarde), u"0/0"_s);

        QVERIFY(!Lagmedlemmar::taBort(mj.db(), mj.f.m, lag, medlemmar[1].lopnummer));
        QCOMPARE(ruta(mj.f.m.visade.last()),
                 std::tuple(u"Är du säker på att du vill ta bort skytten ur laget?"_s, u"Bekräfta"_s,
                            Ikon::Fraga, Knappar::JaNej));
        QCOMPARE(Lagmedlemmar::antal(mj.db(), lag), 3);
        mj.f.m.svara(Svar::Ja);
        QVERIFY(Lagmedlemmar::taBort(mj.db(), mj.f.m, lag, medlemmar[1].lopnummer));
        QCOMPARE(mj.lagOchSerier(medlemmar[1].lopnummer), u"0/0"_s);
        QVERIFY(Lagmedlemmar::laggTill(mj.db(), lag, fjarde));

        const qint64 annat = Lag::skapa(mj.db(), mj.cup, u"Annat"_s);
        QCOMPARE(felnummer([&] { Lagmedlemmar::laggTill(mj.db(), annat, fjarde); }), 3021);
        QCOMPARE(felnummer([&] { Lagmedlemmar::laggTill(mj.db(), annat, 1); }), 3021);
        QCOMPARE(mj.lagOchSerier(fjarde), u"%1/12"_s.arg(lag));
    }

    // The shooter's class must exist; a class of fewer shots than the team
    // competition counts asks first, and no writes nothing. The series are the
    // shots / 5, rounded.
    void klassOchSkott() {
        Miljo mj;
        const qint64 dam = mj.skytt(u"Dam"_s, u"Berg"_s, u"D"_s), herr = mj.skytt(u"Herr"_s);
        const qint64 borta = mj.skytt(u"Borta"_s, u"Berg"_s, u"XX"_s);
        const qint64 sextio = Lag::skapa(mj.db(), mj.cup, u"Sextio"_s);
        const qint64 lag40 = Lag::skapa(mj.db(), mj.lagtavling(u"Fyrtio"_s, 3, 40), u"Fyrtiolaget"_s);
        mj.f.m.svara(Svar::Ja);
        mj.f.m.svara(Svar::Nej);
        QCOMPARE(mj.laggTill(sextio, u"dam"_s), Utfall::EjExtra);
        QCOMPARE(
            ruta(mj.f.m.visade.last()),
            std::tuple(
                u"Skytten skjuter för några skott för lagtävlingen!\r\nSka skytten skjuta extra antal?"_s,
                u"Fråga"_s, Ikon::Ingen, Knappar::JaNej));
        QCOMPARE(mj.lagOchSerier(dam), u"0/0"_s);
        mj.f.m.svara(Svar::Ja);
        mj.f.m.svara(Svar::Ja);
        QCOMPARE(mj.laggTill(sextio, u"dam"_s), Utfall::Tillagd);
        QCOMPARE(mj.lagOchSerier(dam), u"%1/12"_s.arg(sextio));
        // 40 shots for a 60-shot class: no question.
        mj.f.m.tom();
        mj.f.m.svara(Svar::Ja);
        QCOMPARE(mj.laggTill(lag40, u"herr"_s), Utfall::Tillagd);
        QCOMPARE(mj.f.m.visade.size(), 1);
        QCOMPARE(mj.lagOchSerier(herr), u"%1/8"_s.arg(lag40));

        mj.f.m.svara(Svar::Ja);
        QCOMPARE(mj.laggTill(lag40, u"Borta"_s), Utfall::IngenKlass);
        QCOMPARE(
            ruta(mj.f.m.visade.last()),
            std::tuple(u"Klassen för skytten finns inte.\r\nKolla så att du inte ändrat namnet på klassen!"_s,
                       u"Ingen klass."_s, Ikon::Kritisk, Knappar::OK));
        QCOMPARE(mj.lagOchSerier(borta), u"0/0"_s);
        QCOMPARE(Lagmedlemmar::lagserier(42), 8);
        QCOMPARE(Lagmedlemmar::lagserier(43), 9);
    }

    // Every free matching shooter is offered in turn: no goes on, yes takes,
    // cancel ends silently. Shooters in a team, of another round, and the
    // placeholder are never offered. Both boxes empty offer everyone free.
    void erbjudnaSkyttar() {
        Miljo mj;
        mj.f.g.blnFleraTavlingar = true;
        const qint64 omg2 = mj.lagtavling(u"Omgång 2"_s, 5, 60, 2);
        const qint64 berg = mj.skytt(u"Anna"_s, u"Berg"_s, u"H"_s, 2);
        const qint64 ek = mj.skytt(u"Annika"_s, u"Ek"_s, u"H"_s, 2);
        mj.skytt(u"Anna"_s, u"Ås"_s, u"H"_s, 1);
        const qint64 upptagen = mj.skytt(u"Anneli"_s, u"Lund"_s, u"H"_s, 2);
        const qint64 lag = Lag::skapa(mj.db(), omg2, u"Laget"_s);
        QVERIFY(Lagmedlemmar::laggTill(mj.db(), Lag::skapa(mj.db(), omg2, u"Annat"_s), upptagen));

        QList<qint64> visade;
        const auto visa = [&](const Skytt& s) { visade << s.lopnummer; };
        mj.f.m.svara(Svar::Nej);
        mj.f.m.svara(Svar::Nej);
        QCOMPARE(Lagmedlemmar::LaggTillSkytt(mj.f.g, mj.f.m, lag, u"ann"_s, {}, visa), Utfall::IngenTraff);
        QCOMPARE(visade, (QList<qint64>{berg, ek}));
        QCOMPARE(mj.f.m.visade.size(), 3);
        QCOMPARE(ruta(mj.f.m.visade[0]),
                 std::tuple(u"Är det här rätt skytt?"_s, u"Bekräfta"_s, Ikon::Fraga, Knappar::JaNejAvbryt));
        QCOMPARE(ruta(mj.f.m.visade[2]), std::tuple(FinnsInte, u"Fel"_s, Ikon::Kritisk, Knappar::OK));
        mj.f.m.tom();
        mj.f.m.svara(Svar::Avbryt);
        QCOMPARE(mj.laggTill(lag, u"ann"_s), Utfall::Avbruten);
        QCOMPARE(mj.f.m.visade.size(), 1);
        mj.f.m.tom();
        QCOMPARE(mj.laggTill(lag, u"Bertil"_s), Utfall::IngenTraff);
        QCOMPARE(mj.f.m.visade.size(), 1);
        QCOMPARE(mj.f.m.senasteText(), FinnsInte);

        mj.f.m.svara(Svar::Nej);
        mj.f.m.svara(Svar::Ja);
        QCOMPARE(mj.laggTill(lag, {}, u"  "_s), Utfall::Tillagd);
        QCOMPARE(mj.lagOchSerier(ek), u"%1/12"_s.arg(lag));
        QCOMPARE(mj.sok(lag, u" "_s), u"Anna"_s);
        mj.f.g.blnFleraTavlingar = false;
        QCOMPARE(mj.sok(lag, {}), u"Anna Anna"_s);
    }

    // What is typed is matched as it stands, at the start of the name, in
    // any letter case; wildcards and apostrophes are letters, and an
    // apostrophe goes all the way into the team.
    void sokningenArBokstavlig() {
        Miljo mj;
        const qint64 lag = Lag::skapa(mj.db(), mj.cup, u"Laget"_s);
        for (const char* namn : {"Åsa", "Xåsa", "100%", "1000", "A_B", "AxB", "O'Brien"})
            mj.skytt(QString::fromUtf8(namn), u"Öberg"_s);
        mj.skytt(u"Öst"_s, u"ÅBERG"_s);
        QCOMPARE(mj.sok(lag, u"ÅSA"_s), u"Åsa"_s);
        QCOMPARE(mj.sok(lag, {}, u"åb"_s), u"Öst"_s);
        QCOMPARE(mj.sok(lag, u"åsa"_s, u"ÖBERG"_s), u"Åsa"_s);
        QCOMPARE(mj.sok(lag, u"100%"_s), u"100%"_s);
        QCOMPARE(mj.sok(lag, u"A_"_s), u"A_B"_s);
        QCOMPARE(mj.sok(lag, u"%"_s), QString());
        QCOMPARE(mj.sok(lag, u"o'b"_s), u"O'Brien"_s);
        mj.f.m.svara(Svar::Ja);
        QCOMPARE(mj.laggTill(lag, u"O'"_s, u"Öb"_s), Utfall::Tillagd);
        QCOMPARE(Lagmedlemmar::lista(mj.db(), lag).value(0).namn, u"O'Brien"_s);
    }

    // Deleting a team asks, frees its members and removes it together: a
    // failure on the way leaves both as they were.
    void raderaLagIEnTransaktion() {
        Miljo mj;
        const qint64 a = mj.skytt(u"A"_s), b = mj.skytt(u"B"_s), c = mj.skytt(u"C"_s);
        const qint64 lagA = Lag::skapa(mj.db(), mj.cup, u"Lag A"_s),
                     lagB = Lag::skapa(mj.db(), mj.cup, u"Lag B"_s);
        for (const auto& [lag, skytt] : {std::pair{lagA, a}, {lagA, b}, {lagB, c}})
            QVERIFY(Lagmedlemmar::laggTill(mj.db(), lag, skytt));
        mj.db().kor(u"CREATE TEMP TRIGGER stopp BEFORE DELETE ON Lag BEGIN SELECT RAISE(ABORT, 's'); END"_s);
        QVERIFY(felnummer([&] { Lag::radera(mj.db(), lagA); }) != 0);
        QCOMPARE(mj.lagOchSerier(a) + u' ' + mj.lagOchSerier(b), u"%1/12 %1/12"_s.arg(lagA));
        QVERIFY(Lag::hamta(mj.db(), lagA));
        mj.db().kor(u"DROP TRIGGER stopp"_s);

        QVERIFY(!Lag::taBort(mj.db(), mj.f.m, lagA));
        QCOMPARE(ruta(mj.f.m.visade.last()), std::tuple(u"Är du säker på att du vill radera laget:\rLag A?"_s,
                                                        u"Bekräfta"_s, Ikon::Fraga, Knappar::JaNej));
        QVERIFY(Lag::hamta(mj.db(), lagA));
        mj.f.m.svara(Svar::Ja);
        QVERIFY(Lag::taBort(mj.db(), mj.f.m, lagA));
        QVERIFY(!Lag::hamta(mj.db(), lagA));
        QCOMPARE(mj.lagOchSerier(a) + u' ' + mj.lagOchSerier(b), u"0/0 0/0"_s);
        QCOMPARE(mj.lagOchSerier(c), u"%1/12"_s.arg(lagB));
        QCOMPARE(mj.lagOchSerier(1), u"0/0"_s);
    }
};

QTEST_MAIN(TestLag)
#include "test_lag.moc"
