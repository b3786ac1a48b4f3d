#include "competition/Lag.h"
#include "competition/Lagmedlemmar.h"
#include "competition/Skjutlag.h"
#include "registration/Skytt.h"
#include "support/Testfixtur.h"

#include <QQueue>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// The operator, who while each box is open looks whether the program holds a
// transaction: the connection must have none open, and a second program must
// be able to start writing at once rather than find the database locked.
// He agrees to every question unless told otherwise.
class Vakt : public Meddelanden {
public:
    explicit Vakt(const Databas& db) : m_db(db) {}

    Svar visa(const QString& text, const QString&, Ikon, Knappar knappar) override {
        granska(text);
        if (knappar == Knappar::OK)
            return Svar::OK;
        return svar.isEmpty() ? Svar::Ja : svar.dequeue();
    }
    std::optional<QString> inmatning(const QString& fraga, const QString&, const QString&) override {
        granska(fraga);
        return namn.isEmpty() ? std::nullopt : std::optional<QString>(namn.dequeue());
    }
    bool stangFraga(const QString&) override { return false; }

    QQueue<Svar> svar;
    QQueue<QString> namn;
    QStringList visade;
    QStringList fel;

private:
    void granska(const QString& text) {
        visade << text;
        if (m_db.transaktionsdjup() != 0)
            fel << text + u": i en transaktion"_s;
        const QString anslutning = u"andra programmet"_s;
        {
            QSqlDatabase andra = QSqlDatabase::addDatabase(u"QSQLITE"_s, anslutning);
            andra.setDatabaseName(m_db.sokvag());
            andra.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=0"_s);
            if (!andra.open()) {
                fel << text + u": "_s + andra.lastError().text();
            } else if (QSqlQuery q(andra); !q.exec(u"BEGIN IMMEDIATE"_s)) {
                fel << text + u": databasen låst ("_s + q.lastError().text() + u')';
            } else {
                q.exec(u"ROLLBACK"_s);
            }
        }
        QSqlDatabase::removeDatabase(anslutning);
    }

    const Databas& m_db;
};

// Four lanes in three squads; shooters 1..4 fill squad 1, 5 and 6 stand on
// lanes 1 and 2 of squad 2. The team competition made with the competition is
// "Cup", and Laget is a team in it.
struct Miljo {
    Testfixtur f;
    Vakt m;
    qint64 lag = 0;
    Miljo() : m(f.g.cnnTavling) {
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 4, 3, 6);
        lag = Lag::skapa(db(), cup(), u"Laget"_s);
    }
    Databas& db() { return f.g.cnnTavling; }
    qint64 cup() { return db().varde(u"SELECT Lagtävling FROM Lagtävling"_s).toLongLong(); }
    qint64 skytt(int nr) {
        return db()
            .varde(u"SELECT Löpnummer FROM Skyttar WHERE Namn = ?"_s, {u"Skytt%1"_s.arg(nr)})
            .toLongLong();
    }
    // A new shooter, or shooter 1 edited, saved onto a lane of a squad.
    void spara(int skjutlag, const QString& bana, const QString& startnr, bool skytt1 = false) {
        Skyttregister::Uppgifter u;
        u.namn = u.efternamn = u.forening = u"Ny"_s;
        u.klass = db().varde(u"SELECT Klass FROM Skyttar WHERE Löpnummer > 1"_s).toString();
        u.bana = bana;
        u.startnr = startnr;
        Skyttregister::spara(f.g, m, {}, {skytt1, skytt1 ? skytt(1) : 0, skjutlag}, u);
    }
};

struct Fall {
    const char* namn;
    const char* fraga; // a box the case must get to
    std::function<void(Miljo&)> gor;
};

const QList<Fall>& fallen() {
    static const QList<Fall> fall = {
        {"infoga skjutlag", "Vill du infoga ett nytt skjutlag före skjutlag 2?",
         [](Miljo& mj) { Skjutlag::infoga(mj.f.g, mj.m, 2); }},
        {"ta bort sista skjutlaget", "Är du säker på att du vill ta bort skjutlag 3?",
         [](Miljo& mj) { Skjutlag::taBortSista(mj.f.g, mj.m); }},
        {"ta bort valt skjutlag", "Är du säker på att du vill ta bort skjutlag 3?",
         [](Miljo& mj) { Skjutlag::taBortValt(mj.f.g, mj.m, 3); }},
        {"ta bort skjutlag med skyttar",
         "Det går inte att ta bort skjutlaget för det finns fortfarande skyttar i det!",
         [](Miljo& mj) { Skjutlag::taBortValt(mj.f.g, mj.m, 2); }},
        {"fullt", "Det går inte att skapa flera skjutlag.",
         [](Miljo& mj) {
             for (int lag = 4; lag <= Skjutlag::StorstaAntal; ++lag)
                 mj.db().kor(u"INSERT INTO Skjutlag (Skjutlag, Bana) VALUES (?, 1)"_s, {lag});
             Skjutlag::laggTill(mj.f.g, mj.m);
         }},
        {"ny skytt på tagen bana", "Banan är upptagen, välj en annan.",
         [](Miljo& mj) { mj.spara(1, u"2"_s, u"40"_s); }},
        {"startnumret finns", "Detta startnummer finns redan!",
         [](Miljo& mj) { mj.spara(2, u"3"_s, u"5"_s); }},
        {"byte av bana", "Vill du byta bana mellan:", [](Miljo& mj) { mj.spara(2, u"1"_s, u"1"_s, true); }},
        {"ta bort skytt i ett lag", "Skytten du försöker tabort är med i ett lag!",
         [](Miljo& mj) {
             Lagmedlemmar::laggTill(mj.db(), mj.lag, mj.skytt(3));
             Skyttregister::taBort(mj.db(), mj.m, mj.skytt(3));
         }},
        {"nytt lag", "Det laget fanns redan!",
         [](Miljo& mj) {
             mj.m.namn << u"laget"_s << u"Andra"_s;
             Lag::NyttLag(mj.db(), mj.m, mj.cup());
         }},
        {"radera lag", "Är du säker på att du vill radera laget:",
         [](Miljo& mj) {
             Lagmedlemmar::laggTill(mj.db(), mj.lag, mj.skytt(2));
             Lag::taBort(mj.db(), mj.m, mj.lag);
         }},
        {"ny lagmedlem med extra skott", "Skytten skjuter för några skott för lagtävlingen!",
         [](Miljo& mj) {
             mj.db().kor(u"UPDATE Lagtävling SET [Antal skott] = 1000"_s);
             mj.m.svar << Meddelanden::Svar::Nej << Meddelanden::Svar::Ja << Meddelanden::Svar::Ja;
             Lagmedlemmar::LaggTillSkytt(mj.f.g, mj.m, mj.lag, u"Skytt"_s, QString());
         }},
        {"lagmedlem utan träff", "Skytten finns inte, eller så är skytten redan med i ett lag.",
         [](Miljo& mj) { Lagmedlemmar::LaggTillSkytt(mj.f.g, mj.m, mj.lag, u"Ingen"_s, QString()); }},
        {"ta bort lagmedlem", "Är du säker på att du vill ta bort skytten ur laget?",
         [](Miljo& mj) {
             Lagmedlemmar::laggTill(mj.db(), mj.lag, mj.skytt(4));
             Lagmedlemmar::taBort(mj.db(), mj.m, mj.lag, mj.skytt(4));
         }},
    };
    return fall;
}

} // namespace

// No operation of registration, squads or teams waits for the operator while
// it holds a transaction: every question and message comes before the
// writing begins or after it has ended.
class TestFragor : public QObject {
    Q_OBJECT

private slots:
    void ingenFragaITransaktion_data() {
        QTest::addColumn<int>("fall");
        for (int i = 0; i < fallen().size(); ++i)
            QTest::newRow(fallen().at(i).namn) << i;
    }
    void ingenFragaITransaktion() {
        QFETCH(int, fall);
        Miljo mj;
        fallen().at(fall).gor(mj);
        const QString fraga = QString::fromUtf8(fallen().at(fall).fraga);
        QVERIFY2(std::any_of(mj.m.visade.begin(), mj.m.visade.end(),
                             [&](const QString& t) { return t.startsWith(fraga); }),
                 qPrintable(mj.m.visade.join(u'\n')));
        QVERIFY2(mj.m.fel.isEmpty(), qPrintable(mj.m.fel.join(u'\n')));
        QCOMPARE(mj.db().transaktionsdjup(), 0);
    }
};

QTEST_MAIN(TestFragor)
#include "test_fragor.moc"
