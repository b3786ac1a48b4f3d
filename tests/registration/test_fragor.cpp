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

namespace {

// The operator, who while each box is open looks whether the program holds a
// transaction: the connection must have none open, and a second program must
// be able to start writing at once rather than find the database locked.
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
            fel << text + QStringLiteral(": i en transaktion");
        const QString anslutning = QStringLiteral("andra programmet");
        {
            QSqlDatabase andra = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), anslutning);
            andra.setDatabaseName(m_db.sokvag());
            andra.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
            if (!andra.open()) {
                fel << text + QStringLiteral(": ") + andra.lastError().text();
            } else {
                QSqlQuery q(andra);
                if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
                    fel << text + QStringLiteral(": databasen låst (") + q.lastError().text() + u')';
                else
                    q.exec(QStringLiteral("ROLLBACK"));
            }
        }
        QSqlDatabase::removeDatabase(anslutning);
    }

    const Databas& m_db;
};

// Four lanes in three squads; shooters 1..4 fill squad 1, 5 and 6 stand on
// lanes 1 and 2 of squad 2. The team competition made with the competition is
// "Cup".
struct Miljo {
    Testfixtur f;
    Vakt m;
    qint64 cup = 0;
    Miljo() : m(f.g.cnnTavling) {
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 3, 6);
        cup = db().varde(QStringLiteral("SELECT Lagtävling FROM Lagtävling")).toLongLong();
    }
    Databas& db() { return f.g.cnnTavling; }
    qint64 skytt(int nr) {
        return db()
            .varde(QStringLiteral("SELECT Löpnummer FROM Skyttar WHERE Namn = ?"),
                   {QStringLiteral("Skytt%1").arg(nr)})
            .toLongLong();
    }
    Skyttar::Uppgifter uppgifter(const QString& bana, const QString& startnr) {
        Skyttar::Uppgifter u;
        u.namn = QStringLiteral("Ny");
        u.efternamn = QStringLiteral("Skytt");
        u.forening = QStringLiteral("Klubben");
        u.klass =
            db().varde(QStringLiteral("SELECT Klass FROM Skyttar WHERE Löpnummer > 1 LIMIT 1")).toString();
        u.bana = bana;
        u.startnr = startnr;
        return u;
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
                 mj.db().kor(QStringLiteral("INSERT INTO Skjutlag (Skjutlag, Bana) VALUES (?, 1)"), {lag});
             Skjutlag::laggTill(mj.f.g, mj.m);
         }},
        {"ny skytt på tagen bana", "Banan är upptagen, välj en annan.",
         [](Miljo& mj) {
             Skyttar::Sparning s;
             s.skjutlag = 1;
             Skyttar::spara(mj.f.g, mj.m, {}, s, mj.uppgifter(QStringLiteral("2"), QStringLiteral("40")));
         }},
        {"startnumret finns", "Detta startnummer finns redan!",
         [](Miljo& mj) {
             Skyttar::Sparning s;
             s.skjutlag = 2;
             Skyttar::spara(mj.f.g, mj.m, {}, s, mj.uppgifter(QStringLiteral("3"), QStringLiteral("5")));
         }},
        {"byte av bana", "Vill du byta bana mellan:",
         [](Miljo& mj) {
             Skyttar::Sparning s;
             s.andrar = true;
             s.lopnummer = mj.skytt(1);
             s.skjutlag = 2;
             Skyttar::spara(mj.f.g, mj.m, {}, s, mj.uppgifter(QStringLiteral("1"), QStringLiteral("1")));
         }},
        {"ta bort skytt i ett lag", "Skytten du försöker tabort är med i ett lag!",
         [](Miljo& mj) {
             const qint64 lag = Lag::skapa(mj.db(), mj.cup, QStringLiteral("Laget"));
             Lagmedlemmar::laggTill(mj.db(), lag, mj.skytt(3));
             Skyttar::taBort(mj.db(), mj.m, mj.skytt(3));
         }},
        {"nytt lag", "Det laget fanns redan!",
         [](Miljo& mj) {
             Lag::skapa(mj.db(), mj.cup, QStringLiteral("Första"));
             mj.m.namn << QStringLiteral("första") << QStringLiteral("Andra");
             Lag::NyttLag(mj.db(), mj.m, mj.cup);
         }},
        {"radera lag", "Är du säker på att du vill radera laget:",
         [](Miljo& mj) {
             const qint64 lag = Lag::skapa(mj.db(), mj.cup, QStringLiteral("Laget"));
             Lagmedlemmar::laggTill(mj.db(), lag, mj.skytt(2));
             Lag::taBort(mj.db(), mj.m, lag);
         }},
        {"ny lagmedlem med extra skott", "Skytten skjuter för några skott för lagtävlingen!",
         [](Miljo& mj) {
             mj.db().kor(QStringLiteral("UPDATE Lagtävling SET [Antal skott] = 1000"));
             const qint64 lag = Lag::skapa(mj.db(), mj.cup, QStringLiteral("Laget"));
             mj.m.svar << Meddelanden::Svar::Nej << Meddelanden::Svar::Ja << Meddelanden::Svar::Ja;
             Lagmedlemmar::LaggTillSkytt(mj.f.g, mj.m, lag, QStringLiteral("Skytt"), QString());
         }},
        {"lagmedlem utan träff", "Skytten finns inte, eller så är skytten redan med i ett lag.",
         [](Miljo& mj) {
             const qint64 lag = Lag::skapa(mj.db(), mj.cup, QStringLiteral("Laget"));
             Lagmedlemmar::LaggTillSkytt(mj.f.g, mj.m, lag, QStringLiteral("Ingen"), QString());
         }},
        {"ta bort lagmedlem", "Är du säker på att du vill ta bort skytten ur laget?",
         [](Miljo& mj) {
             const qint64 lag = Lag::skapa(mj.db(), mj.cup, QStringLiteral("Laget"));
             Lagmedlemmar::laggTill(mj.db(), lag, mj.skytt(4));
             Lagmedlemmar::taBort(mj.db(), mj.m, lag, mj.skytt(4));
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
