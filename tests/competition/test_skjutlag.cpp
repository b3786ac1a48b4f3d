#include "common/IniNamn.h"
#include "competition/Skjutlag.h"
#include "competition/Skjuttider.h"
#include "shell/Tavling.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"
#include "support/VanligAnvandare.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;
using Svar = Meddelanden::Svar;
using U = Skjutlag::Utfall;

namespace {
// The lane rows, squad by squad: each lane as the number in its shooter's name
// (Skytt3 is 3) or "-" when free, in lane order. A lane lost or doubled shows.
QString banor(const Databas& db) {
    QString ut;
    QSqlQuery q = db.kor(u"SELECT s.Skjutlag, COALESCE(k.Namn, '-') FROM Skjutlag s LEFT JOIN Skyttar k "
                         u"ON k.Löpnummer = s.Startnummer AND k.Löpnummer <> 1 ORDER BY 1, s.Bana, 2"_s);
    int lag = 1;
    while (q.next()) {
        for (; lag < q.value(0).toInt(); ++lag)
            ut += u'|';
        ut += q.value(1).toString().back();
    }
    return ut;
}
// The squads' times from squad 1 on, "Tid n" as n and "-" for a squad without.
QString tider(const Databas& db) {
    QString ut;
    for (const Skjuttider::Rad& r : Skjuttider::alla(db))
        ut = ut.leftJustified(r.skjutlag - 1, u'-') + r.skjuttid.back();
    return ut;
}
// A competition of 2 lanes a squad with its squads' times "Tid 1", "Tid 2"...
Databas& tavling(Testfixtur& f, int skjutlag, int skyttar) {
    f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 2, skjutlag, skyttar);
    for (int lag = 1; lag <= skjutlag; ++lag)
        Skjuttider::skriv(f.g.cnnTavling, lag, u"Tid %1"_s.arg(lag));
    return f.g.cnnTavling;
}
// The squad count as "database/INI".
QString antal(const Testfixtur& f) {
    return QString::number(Skjutlag::antal(f.g.cnnTavling)) + u'/' +
           f.g.iniTavling.GetKeyValue(Ini::AntalSkjutlag.sektion, Ini::AntalSkjutlag.nyckel,
                                      Ini::AntalSkjutlag.standard);
}
// The last message as "text|title".
QString meddelande(const TestMeddelanden& m) {
    return m.visade.isEmpty() ? u"|"_s : m.visade.back().text + u'|' + m.visade.back().titel;
}
} // namespace

// Squads and lanes on a real competition: each operation moves shooters and
// times together in one transaction, the squads are the database's rows, and
// the INI's count follows them once they are committed. The lanes and times
// are written compactly, see banor() and tider().
class TestSkjutlag : public QObject {
    Q_OBJECT

private slots:
    // Four squads of two lanes: Skytt1 and 2 in squad 1, squad 2 empty, Skytt5
    // and 6 in squad 3, Skytt3 and 4 in squad 4. A squad with anyone on it stays.
    void operationer_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("skjutlag");
        QTest::addColumn<Svar>("svar");
        QTest::addColumn<U>("utfall");
        QTest::addColumn<QString>("meddelande");
        QTest::addColumn<QString>("efter"); // count, lanes and times
        const QString infoga = u"Vill du infoga ett nytt skjutlag före skjutlag %1?|Bekräfta"_s;
        const QString skyttar =
            u"Det går inte att ta bort skjutlaget för det finns fortfarande skyttar i det!|Fel"_s;
        QTest::newRow("infoga före första")
            << u"infoga"_s << 1 << Svar::Ja << U::Klart << infoga.arg(1) << u"5/5 --|12|--|56|34 -1234"_s;
        QTest::newRow("infoga före sista")
            << u"infoga"_s << 4 << Svar::Ja << U::Klart << infoga.arg(4) << u"5/5 12|--|56|--|34 123-4"_s;
        QTest::newRow("infoga, nej") << u"infoga"_s << 2 << Svar::Nej << U::Avbrutet << infoga.arg(2)
                                     << u"4/4 12|--|56|34 1234"_s;
        QTest::newRow("ta bort valt")
            << u"valt"_s << 2 << Svar::Ja << U::Klart
            << u"Är du säker på att du vill ta bort skjutlag 2?|Bekräfta"_s << u"3/3 12|56|34 134"_s;
        QTest::newRow("ta bort valt med skyttar")
            << u"valt"_s << 3 << Svar::Ja << U::Vagrat << skyttar << u"4/4 12|--|56|34 1234"_s;
        QTest::newRow("ta bort sista med skyttar")
            << u"sista"_s << 4 << Svar::Ja << U::Vagrat << skyttar << u"4/4 12|--|56|34 1234"_s;
        QTest::newRow("lägg till") << u"lägg till"_s << 5 << Svar::Ja << U::Klart << u"|"_s
                                   << u"5/5 12|--|56|34|-- 1234"_s;
    }
    void operationer() {
        QFETCH(QString, operation);
        QFETCH(int, skjutlag);
        QFETCH(Svar, svar);
        Testfixtur f;
        Databas& db = tavling(f, 4, 6);
        db.kor(u"UPDATE Skjutlag SET Skjutlag = 6 - Skjutlag WHERE Skjutlag IN (2, 4)"_s);
        f.m.svara(svar);
        const U u = operation == u"infoga"_s  ? Skjutlag::infoga(f.g, f.m, skjutlag)
                    : operation == u"valt"_s  ? Skjutlag::taBortValt(f.g, f.m, skjutlag)
                    : operation == u"sista"_s ? Skjutlag::taBortSista(f.g, f.m)
                                              : Skjutlag::laggTill(f.g, f.m);
        QTEST(u, "utfall");
        QTEST(meddelande(f.m), "meddelande");
        QTEST(antal(f) + u' ' + banor(db) + u' ' + tider(db), "efter");
    }

    // The last squad's time stays when it goes and comes back with a squad
    // appended under its number.
    void sistaSkjutlagetsTid() {
        Testfixtur f;
        Databas& db = tavling(f, 3, 2);
        f.m.svara(Svar::Ja);
        QCOMPARE(Skjutlag::taBortSista(f.g, f.m), U::Klart);
        QCOMPARE(f.m.senasteText(), u"Är du säker på att du vill ta bort skjutlag 3?"_s);
        QCOMPARE(antal(f) + banor(db) + tider(db), u"2/212|--123"_s);
        QCOMPARE(Skjutlag::laggTill(f.g, f.m), U::Klart);
        QCOMPARE(antal(f) + banor(db), u"3/312|--|--"_s);
        int lage = Skjuttider::Las;
        QCOMPARE(HanteraSkjuttid(db, 3, lage, QString(), 0), u"Tid 3"_s);
    }

    // Squads run from 1 to 30: the only squad cannot go, a 31st is never made;
    // both are refused before any question.
    void granser() {
        {
            Testfixtur f;
            f.skapaTavling(u"En"_s, NyTavling::Typ::Sportskytte, 2, 1);
            QCOMPARE(Skjutlag::taBortSista(f.g, f.m), U::Vagrat);
            QCOMPARE(Skjutlag::taBortValt(f.g, f.m, 1), U::Vagrat);
            QCOMPARE(f.m.visade.size(), 2);
            QCOMPARE(meddelande(f.m), u"Du får inte ta bort 1:a skjutlaget!|Fel"_s);
            QCOMPARE(banor(f.g.cnnTavling), u"--"_s);
        }
        Testfixtur f;
        f.skapaTavling(u"Full"_s, NyTavling::Typ::Sportskytte, 2, 30);
        QCOMPARE(Skjutlag::laggTill(f.g, f.m), U::Vagrat);
        QCOMPARE(Skjutlag::infoga(f.g, f.m, 5), U::Vagrat);
        QCOMPARE(f.m.visade.size(), 2);
        QCOMPARE(meddelande(f.m), u"Det går inte att skapa flera skjutlag.|Fullt."_s);
        QCOMPARE(antal(f), u"30/30"_s);
        QCOMPARE(banor(f.g.cnnTavling).count(u'-'), 60);
    }

    // A failure of the times undoes the renumbered lanes, and a failure of
    // the rows leaves the count.
    void felLamnarAlltSomDetVar() {
        Testfixtur f;
        Databas& db = tavling(f, 3, 3);
        for (const QString& nar :
             {u"UPDATE ON Skjuttider"_s, u"DELETE ON Skjuttider"_s, u"INSERT ON Skjutlag"_s})
            db.kor(u"CREATE TEMP TRIGGER [%1] BEFORE %1 BEGIN SELECT RAISE(ABORT, 's'); END"_s.arg(nar));
        f.m.svara(Svar::Ja);
        QCOMPARE(felnummer([&] { Skjutlag::infoga(f.g, f.m, 2); }), Felnummer::Databasfel);
        f.m.svara(Svar::Ja);
        QCOMPARE(felnummer([&] { Skjutlag::taBortValt(f.g, f.m, 3); }), Felnummer::Databasfel);
        QCOMPARE(felnummer([&] { Skjutlag::laggTill(f.g, f.m); }), Felnummer::Databasfel);
        QCOMPARE(antal(f) + banor(db) + tider(db), u"3/312|3-|--123"_s);
        QCOMPARE(db.transaktionsdjup(), 0);
    }

    // The rows are the squads: an INI that cannot be written neither stops an
    // operation nor undoes it, and the next operation counts the rows. A
    // commit that fails leaves rows and INI as they were.
    void iniFoljerRaderna() {
        if (korSomVanligAnvandare("iniFoljerRaderna"))
            return;
        Testfixtur f;
        Databas& db = tavling(f, 3, 3);
        const QString ini = f.g.iniTavling.Path();
        QVERIFY(QFile::setPermissions(ini, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QCOMPARE(Skjutlag::laggTill(f.g, f.m), U::Klart);
        QCOMPARE(antal(f), u"4/3"_s);
        f.m.svara(Svar::Ja);
        QCOMPARE(Skjutlag::infoga(f.g, f.m, 4), U::Klart);
        QCOMPARE(antal(f), u"5/3"_s);
        QCOMPARE(banor(db), u"12|3-|--|--|--"_s);
        QVERIFY(!Tavling::rattaAntalSkjutlag(f.g));
        QVERIFY(QFile::setPermissions(ini, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(Skjutlag::laggTill(f.g, f.m), U::Klart);
        QCOMPARE(antal(f), u"6/6"_s);
        // A deferred constraint makes the commit itself fail.
        db.kor(u"PRAGMA foreign_keys = ON"_s);
        db.kor(u"CREATE TEMP TABLE foralder (id INTEGER PRIMARY KEY)"_s);
        db.kor(
            u"CREATE TEMP TABLE barn (f INTEGER REFERENCES foralder (id) DEFERRABLE INITIALLY DEFERRED)"_s);
        db.kor(
            u"CREATE TEMP TRIGGER brytning AFTER INSERT ON Skjutlag BEGIN INSERT INTO barn VALUES (7); END"_s);
        QVERIFY(felnummer([&] { Skjutlag::laggTill(f.g, f.m); }) != 0);
        QCOMPARE(antal(f) + banor(db), u"6/612|3-|--|--|--|--"_s);
        QCOMPARE(db.transaktionsdjup(), 0);
    }

    // Opening a competition puts an INI count that a stop left behind in step
    // with the rows, higher or lower.
    void oppningRattarAntalet_data() {
        QTest::addColumn<QString>("ini");
        QTest::newRow("under") << u"2"_s;
        QTest::newRow("över") << u"4"_s;
        QTest::newRow("saknas") << QString();
        QTest::newRow("skräp") << u"många"_s;
    }
    void oppningRattarAntalet() {
        QFETCH(QString, ini);
        Testfixtur f;
        const QString databas = f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 2, 3, 5);
        if (ini.isNull())
            QVERIFY(f.g.iniTavling.DeleteKey(Ini::AntalSkjutlag.sektion, Ini::AntalSkjutlag.nyckel));
        else
            QVERIFY(f.g.iniTavling.WriteKey(Ini::AntalSkjutlag.sektion, Ini::AntalSkjutlag.nyckel, ini));
        Tavling::stang(f.g);
        Tavling::sattSokvagar(f.g, databas);
        QCOMPARE(Tavling::OppnaTavling(f.g, f.m, false).utfall, Tavling::Utfall::Oppnad);
        QCOMPARE(antal(f), u"3/3"_s);
        QVERIFY2(f.m.visade.isEmpty(), qPrintable(f.m.senasteText()));
    }

    // While result entry is open the squads keep their numbers, without a word.
    void resultatinskrivningSparrar() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 2, 3);
        const auto oppen = Skjutlag::Resultatinskrivning::Oppen;
        QCOMPARE(Skjutlag::infoga(f.g, f.m, 1, oppen), U::Sparrat);
        QCOMPARE(Skjutlag::taBortSista(f.g, f.m, oppen), U::Sparrat);
        QCOMPARE(Skjutlag::taBortValt(f.g, f.m, 2, oppen), U::Sparrat);
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(antal(f), u"3/3"_s);
    }

    // The view of a squad lists every lane in lane order, whatever order the
    // rows were written in; a lane whose shooter row is gone shows as free,
    // is counted free and is deleted with its squad as empty as it shows.
    void vyOchLedigaBanor() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 3, 2, 4);
        Databas& db = f.g.cnnTavling;
        db.kor(u"DELETE FROM Skjutlag WHERE Skjutlag = 1 AND Bana = 1"_s);
        db.kor(u"INSERT INTO Skjutlag (Skjutlag, Bana, Startnummer) VALUES (1, 1, 999)"_s);
        const QList<Skjutlag::Rad> vy = Skjutlag::vy(db, 1);
        QCOMPARE(vy.size(), 3);
        QVERIFY(vy[0].bana == 1 && vy[0].ledig() && vy[0].namn.isEmpty());
        QVERIFY(vy[1].bana == 2 && vy[1].namn == u"Skytt2"_s && vy[2].startnr == 3);
        // The shooter's whole row comes with the lane, for the lists.
        db.kor(u"UPDATE Skyttar SET Res3 = 47, Födelseår = '1990' WHERE Namn = 'Skytt2'"_s);
        const Skytt skytt = Skjutlag::vy(db, 1)[1].skytt;
        QVERIFY(skytt.lopnummer == vy[1].lopnummer && skytt.res[2] == 47 && skytt.fodelsear == u"1990"_s);
        QCOMPARE(vy[0].skytt.namn, QString());
        QCOMPARE(Skjutlag::ledigaBanor(db, 1), 1);
        QCOMPARE(Skjutlag::ledigaPerSkjutlag(db, 2), (QList<int>{1, 2}));
        db.kor(u"DELETE FROM Skyttar WHERE Löpnummer > 1"_s);
        f.m.svara(Svar::Ja);
        QCOMPARE(Skjutlag::taBortValt(f.g, f.m, 1), U::Klart);
        QCOMPARE(banor(db), u"---"_s);
    }
};

QTEST_MAIN(TestSkjutlag)
#include "test_skjutlag.moc"
