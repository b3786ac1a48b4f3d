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

using Svar = Meddelanden::Svar;
using U = Skjutlag::Utfall;

// Squads and lanes on a real competition: each operation moves shooters and
// times together in one transaction, the squads are the database's rows, and
// the INI's count follows them once they are committed.
class TestSkjutlag : public QObject {
    Q_OBJECT

    // Every lane row as "squad/lane=shooter's first name" ("-" for a free
    // lane), in squad and lane order: a lane lost or doubled shows.
    static QStringList banor(const Databas& db) {
        QStringList rader;
        QSqlQuery q = db.kor(QStringLiteral(
            "SELECT s.Skjutlag, s.Bana, COALESCE(k.Namn, '-') FROM Skjutlag s "
            "LEFT JOIN Skyttar k ON k.Löpnummer = s.Startnummer AND k.Löpnummer <> 1 ORDER BY 1, 2, 3"));
        while (q.next())
            rader << QStringLiteral("%1/%2=%3")
                         .arg(q.value(0).toInt())
                         .arg(q.value(1).toInt())
                         .arg(q.value(2).toString());
        return rader;
    }
    static QStringList tider(const Databas& db) {
        QStringList rader;
        for (const Skjuttider::Rad& r : Skjuttider::alla(db))
            rader << QString::number(r.skjutlag) + QLatin1Char('=') + r.skjuttid;
        return rader;
    }
    static void skrivTider(Databas& db, int antal) {
        for (int lag = 1; lag <= antal; ++lag)
            Skjuttider::skriv(db, lag, QStringLiteral("Tid %1").arg(lag));
    }
    // The squad count as "database/INI".
    static QString antal(const Testfixtur& f) {
        return QString::number(Skjutlag::antal(f.g.cnnTavling)) + QLatin1Char('/') +
               f.g.iniTavling.GetKeyValue(Ini::AntalSkjutlag.sektion, Ini::AntalSkjutlag.nyckel,
                                          Ini::AntalSkjutlag.standard);
    }
    static void flytta(Databas& db, int franLag, int franBana, int tillLag, int tillBana) {
        const qint64 lop =
            db.varde(QStringLiteral("SELECT Startnummer FROM Skjutlag WHERE Skjutlag = ? AND Bana = ?"),
                     {franLag, franBana})
                .toLongLong();
        db.kor(QStringLiteral("UPDATE Skjutlag SET Startnummer = 1 WHERE Skjutlag = ? AND Bana = ?"),
               {franLag, franBana});
        db.kor(QStringLiteral("UPDATE Skjutlag SET Startnummer = ? WHERE Skjutlag = ? AND Bana = ?"),
               {lop, tillLag, tillBana});
    }

private slots:
    // Inserting before squad 1 of 3: the old squads become 2..4 with their
    // shooters and times, the new squad 1 is empty and has no time.
    void infogaForeForsta() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 2, 3, 5);
        Databas& db = f.g.cnnTavling;
        skrivTider(db, 3);
        f.m.svara(Svar::Ja);
        QCOMPARE(Skjutlag::infoga(f.g, f.m, 1), U::Klart);
        QCOMPARE(f.m.visade.size(), 1);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Vill du infoga ett nytt skjutlag före skjutlag 1?"));
        QCOMPARE(f.m.visade[0].titel, QStringLiteral("Bekräfta"));
        QCOMPARE(antal(f), QStringLiteral("4/4"));
        QCOMPARE(banor(db), (QStringList{"1/1=-", "1/2=-", "2/1=Skytt1", "2/2=Skytt2", "3/1=Skytt3",
                                         "3/2=Skytt4", "4/1=Skytt5", "4/2=-"}));
        QCOMPARE(tider(db), (QStringList{"2=Tid 1", "3=Tid 2", "4=Tid 3"}));

        // No changes nothing.
        f.m.svara(Svar::Nej);
        QCOMPARE(Skjutlag::infoga(f.g, f.m, 2), U::Avbrutet);
        QCOMPARE(antal(f), QStringLiteral("4/4"));
        QCOMPARE(banor(db).size(), 8);
    }

    // Deleting the shown squad 2 of 4: 3 and 4 become 2 and 3 with their
    // shooters and times. A squad with anyone on it stays.
    void taBortValt() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Nationellt, 2, 4, 4);
        Databas& db = f.g.cnnTavling;
        flytta(db, 2, 1, 3, 2);
        flytta(db, 2, 2, 4, 1);
        skrivTider(db, 4);

        f.m.svara(Svar::Ja);
        QCOMPARE(Skjutlag::taBortValt(f.g, f.m, 1), U::Vagrat);
        QCOMPARE(
            f.m.senasteText(),
            QStringLiteral("Det går inte att ta bort skjutlaget för det finns fortfarande skyttar i det!"));
        QCOMPARE(antal(f), QStringLiteral("4/4"));

        f.m.tom();
        f.m.svara(Svar::Ja);
        QCOMPARE(Skjutlag::taBortValt(f.g, f.m, 2), U::Klart);
        QCOMPARE(f.m.visade[0].text, QStringLiteral("Är du säker på att du vill ta bort skjutlag 2?"));
        QCOMPARE(antal(f), QStringLiteral("3/3"));
        QCOMPARE(banor(db),
                 (QStringList{"1/1=Skytt1", "1/2=Skytt2", "2/1=-", "2/2=Skytt3", "3/1=Skytt4", "3/2=-"}));
        QCOMPARE(tider(db), (QStringList{"1=Tid 1", "2=Tid 3", "3=Tid 4"}));
    }

    // The last squad's time stays when it goes and comes back with a squad
    // appended under its number.
    void taBortSistaOchLaggTill() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 3, 3, 2);
        Databas& db = f.g.cnnTavling;
        skrivTider(db, 3);
        f.m.svara(Svar::Ja);
        QCOMPARE(Skjutlag::taBortSista(f.g, f.m), U::Klart);
        QCOMPARE(f.m.visade[0].text, QStringLiteral("Är du säker på att du vill ta bort skjutlag 3?"));
        QCOMPARE(antal(f), QStringLiteral("2/2"));
        QCOMPARE(banor(db).size(), 6);
        QCOMPARE(tider(db).last(), QStringLiteral("3=Tid 3"));

        QCOMPARE(Skjutlag::laggTill(f.g, f.m), U::Klart);
        QCOMPARE(antal(f), QStringLiteral("3/3"));
        QCOMPARE(banor(db).mid(6), (QStringList{"3/1=-", "3/2=-", "3/3=-"}));
        int lage = Skjuttider::Las;
        QCOMPARE(HanteraSkjuttid(db, 3, lage, QString(), 0), QStringLiteral("Tid 3"));
    }

    // Inserting before the last squad: the last squad moves up one number with
    // its shooters and its time, the squads before it stay as they were.
    void infogaForeSista() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 2, 3, 6);
        Databas& db = f.g.cnnTavling;
        skrivTider(db, 3);
        f.m.svara(Svar::Ja);
        QCOMPARE(Skjutlag::infoga(f.g, f.m, 3), U::Klart);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Vill du infoga ett nytt skjutlag före skjutlag 3?"));
        QCOMPARE(antal(f), QStringLiteral("4/4"));
        QCOMPARE(banor(db), (QStringList{"1/1=Skytt1", "1/2=Skytt2", "2/1=Skytt3", "2/2=Skytt4", "3/1=-",
                                         "3/2=-", "4/1=Skytt5", "4/2=Skytt6"}));
        QCOMPARE(tider(db), (QStringList{"1=Tid 1", "2=Tid 2", "4=Tid 3"}));
    }

    // Squads run from 1 to 30: the only squad cannot go, a 31st is never made.
    void granser() {
        {
            Testfixtur f;
            f.skapaTavling(QStringLiteral("En"), NyTavling::Typ::Sportskytte, 2, 1);
            QCOMPARE(Skjutlag::taBortSista(f.g, f.m), U::Vagrat);
            QCOMPARE(Skjutlag::taBortValt(f.g, f.m, 1), U::Vagrat);
            QCOMPARE(f.m.visade.size(), 2); // refused before any question
            QCOMPARE(f.m.senasteText(), QStringLiteral("Du får inte ta bort 1:a skjutlaget!"));
            QCOMPARE(f.m.visade.back().titel, QStringLiteral("Fel"));
            QCOMPARE(banor(f.g.cnnTavling).size(), 2);
        }
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Full"), NyTavling::Typ::Sportskytte, 2, 30);
        QCOMPARE(Skjutlag::laggTill(f.g, f.m), U::Vagrat);
        QCOMPARE(Skjutlag::infoga(f.g, f.m, 5), U::Vagrat);
        QCOMPARE(f.m.visade.size(), 2);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Det går inte att skapa flera skjutlag."));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Fullt."));
        QCOMPARE(antal(f), QStringLiteral("30/30"));
        QCOMPARE(banor(f.g.cnnTavling).size(), 60);
    }

    // A failure of the times undoes the renumbered lanes, and a failure of
    // the rows leaves the count.
    void felLamnarAlltSomDetVar() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 2, 3, 3);
        Databas& db = f.g.cnnTavling;
        skrivTider(db, 3);
        const QStringList foreBanor = banor(db);
        const QStringList foreTider = tider(db);
        db.kor(QStringLiteral("CREATE TEMP TRIGGER stopp BEFORE UPDATE ON Skjuttider "
                              "BEGIN SELECT RAISE(ABORT, 'stopp'); END"));
        db.kor(QStringLiteral("CREATE TEMP TRIGGER stoppRadera BEFORE DELETE ON Skjuttider "
                              "BEGIN SELECT RAISE(ABORT, 'stopp'); END"));
        f.m.svara(Svar::Ja);
        QCOMPARE(felnummer([&] { Skjutlag::infoga(f.g, f.m, 2); }), Felnummer::Databasfel);
        f.m.svara(Svar::Ja);
        QCOMPARE(felnummer([&] { Skjutlag::taBortValt(f.g, f.m, 3); }), Felnummer::Databasfel);
        QCOMPARE(banor(db), foreBanor);
        QCOMPARE(tider(db), foreTider);
        QCOMPARE(antal(f), QStringLiteral("3/3"));
        QCOMPARE(db.transaktionsdjup(), 0);

        db.kor(QStringLiteral("CREATE TEMP TRIGGER stoppBana BEFORE INSERT ON Skjutlag "
                              "BEGIN SELECT RAISE(ABORT, 'stopp'); END"));
        QCOMPARE(felnummer([&] { Skjutlag::laggTill(f.g, f.m); }), Felnummer::Databasfel);
        QCOMPARE(banor(db), foreBanor);
        QCOMPARE(antal(f), QStringLiteral("3/3"));
    }

    // The rows are the squads: an INI that cannot be written neither stops an
    // operation nor undoes it, and the next operation counts the rows. A
    // commit that fails leaves rows and INI as they were.
    void iniFoljerRaderna() {
        if (korSomVanligAnvandare("iniFoljerRaderna"))
            return;
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 2, 3, 3);
        Databas& db = f.g.cnnTavling;
        skrivTider(db, 3);
        const QString ini = f.g.iniTavling.Path();
        QVERIFY(QFile::setPermissions(ini, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QCOMPARE(Skjutlag::laggTill(f.g, f.m), U::Klart);
        QCOMPARE(antal(f), QStringLiteral("4/3"));
        f.m.svara(Svar::Ja);
        QCOMPARE(Skjutlag::infoga(f.g, f.m, 4), U::Klart);
        QCOMPARE(antal(f), QStringLiteral("5/3"));
        f.m.svara(Svar::Ja);
        QCOMPARE(Skjutlag::taBortSista(f.g, f.m), U::Klart);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Är du säker på att du vill ta bort skjutlag 5?"));
        QCOMPARE(antal(f), QStringLiteral("4/3"));
        QVERIFY(!Tavling::rattaAntalSkjutlag(f.g));
        QCOMPARE(banor(db).size(), 8);
        QVERIFY(QFile::setPermissions(ini, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(Skjutlag::laggTill(f.g, f.m), U::Klart);
        QCOMPARE(antal(f), QStringLiteral("5/5"));

        // A deferred constraint makes the commit itself fail.
        const QStringList foreBanor = banor(db);
        db.kor(QStringLiteral("PRAGMA foreign_keys = ON"));
        db.kor(QStringLiteral("CREATE TEMP TABLE foralder (id INTEGER PRIMARY KEY)"));
        db.kor(QStringLiteral("CREATE TEMP TABLE barn (f INTEGER REFERENCES foralder (id) "
                              "DEFERRABLE INITIALLY DEFERRED)"));
        db.kor(QStringLiteral("CREATE TEMP TRIGGER brytning AFTER INSERT ON Skjutlag "
                              "BEGIN INSERT INTO barn VALUES (7); END"));
        QVERIFY(felnummer([&] { Skjutlag::laggTill(f.g, f.m); }) != 0);
        QCOMPARE(banor(db), foreBanor);
        QCOMPARE(antal(f), QStringLiteral("5/5"));
        QCOMPARE(db.transaktionsdjup(), 0);
    }

    // Opening a competition puts an INI count that a stop left behind in step
    // with the rows, higher or lower.
    void oppningRattarAntalet_data() {
        QTest::addColumn<QString>("ini");
        QTest::newRow("under") << QStringLiteral("2");
        QTest::newRow("över") << QStringLiteral("4");
        QTest::newRow("saknas") << QString();
        QTest::newRow("skräp") << QStringLiteral("många");
    }
    void oppningRattarAntalet() {
        QFETCH(QString, ini);
        Testfixtur f;
        const QString databas = f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 2, 3, 5);
        if (ini.isNull())
            QVERIFY(f.g.iniTavling.DeleteKey(Ini::AntalSkjutlag.sektion, Ini::AntalSkjutlag.nyckel));
        else
            QVERIFY(f.g.iniTavling.WriteKey(Ini::AntalSkjutlag.sektion, Ini::AntalSkjutlag.nyckel, ini));
        Tavling::stang(f.g);
        Tavling::sattSokvagar(f.g, databas);
        QCOMPARE(Tavling::OppnaTavling(f.g, f.m, false).utfall, Tavling::Utfall::Oppnad);
        QCOMPARE(antal(f), QStringLiteral("3/3"));
        QVERIFY2(f.m.visade.isEmpty(), qPrintable(f.m.senasteText()));
    }

    // While result entry is open the squads keep their numbers, without a word.
    void resultatinskrivningSparrar() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 2, 3);
        f.g.blnResultatInskrivningOppen = true;
        QCOMPARE(Skjutlag::infoga(f.g, f.m, 1), U::Sparrat);
        QCOMPARE(Skjutlag::taBortSista(f.g, f.m), U::Sparrat);
        QCOMPARE(Skjutlag::taBortValt(f.g, f.m, 2), U::Sparrat);
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(antal(f), QStringLiteral("3/3"));
    }

    // The view of a squad lists every lane in lane order, whatever order the
    // rows were written in; a lane whose shooter row is gone shows as free,
    // and free lanes are counted the same way.
    void vyOchLedigaBanor() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 3, 2, 4);
        Databas& db = f.g.cnnTavling;
        db.kor(QStringLiteral("DELETE FROM Skjutlag WHERE Skjutlag = 1 AND Bana = 1"));
        db.kor(QStringLiteral("INSERT INTO Skjutlag (Skjutlag, Bana, Startnummer) VALUES (1, 1, 999)"));
        const QList<Skjutlag::Rad> vy = Skjutlag::vy(db, 1);
        QCOMPARE(vy.size(), 3);
        QCOMPARE(vy[0].bana, 1);
        QVERIFY(vy[0].ledig() && vy[0].namn.isEmpty());
        QCOMPARE(vy[1].bana, 2);
        QCOMPARE(vy[1].namn, QStringLiteral("Skytt2"));
        QCOMPARE(vy[2].startnr, 3);
        QCOMPARE(Skjutlag::ledigaBanor(db, 1), 1);
        QCOMPARE(Skjutlag::ledigaPerSkjutlag(db, 2), (QList<int>{1, 2}));

        // The squad is deleted as empty as it shows.
        db.kor(QStringLiteral("DELETE FROM Skyttar WHERE Löpnummer > 1"));
        f.m.svara(Svar::Ja);
        QCOMPARE(Skjutlag::taBortValt(f.g, f.m, 1), U::Klart);
        QCOMPARE(banor(db), (QStringList{"1/1=-", "1/2=-", "1/3=-"}));
    }
};

QTEST_MAIN(TestSkjutlag)
#include "test_skjutlag.moc"
