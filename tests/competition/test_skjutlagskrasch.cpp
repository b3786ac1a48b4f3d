#include "common/IniNamn.h"
#include "competition/Skjutlag.h"
#include "shell/Tavling.h"
#include "support/Dodsbarn.h"
#include "support/Testfixtur.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <cstdio>
#include <unistd.h>

namespace {

const char* const Barnarg = "--skjutlag-tills-dodad";
constexpr int Banor = 4;
constexpr int AntalFran = 6;
constexpr int Skyttar = 10;

// The operator who agrees to every question.
class JaMeddelanden : public Meddelanden {
public:
    Svar visa(const QString&, const QString&, Ikon, Knappar knappar) override {
        return knappar == Knappar::OK ? Svar::OK : Svar::Ja;
    }
    std::optional<QString> inmatning(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    bool stangFraga(const QString&) override { return false; }
};

int antalIDatabasen(const Databas& db) {
    return db.varde(QStringLiteral("SELECT COUNT(DISTINCT Skjutlag) FROM Skjutlag")).toInt();
}

// The squads that nobody stands on.
QList<int> tomma(const Databas& db) {
    QSqlQuery q = db.kor(QStringLiteral("SELECT s.Skjutlag FROM Skjutlag s LEFT JOIN Skyttar k "
                                        "ON k.Löpnummer = s.Startnummer AND k.Löpnummer <> 1 "
                                        "GROUP BY s.Skjutlag HAVING COUNT(k.Löpnummer) = 0"));
    QList<int> lag;
    while (q.next())
        lag << q.value(0).toInt();
    return lag;
}

// The child: squad operations chosen at random, as fast as they go, until it
// is killed; a squad is taken away only when it is empty, and the count stays
// between 2 and 30. It gives up by itself after a while or when its parent
// is gone, so that a failed test leaves nothing running.
int skjutlagTillsDodad(const QString& databas, const QString& ini, quint32 fro) {
    modGlobalt g;
    g.iniTavling.setPath(ini);
    g.intSkjutlagsstorlek = Banor;
    JaMeddelanden m;
    try {
        g.cnnTavling.Open(databas);
        QRandomGenerator rng(fro);
        const pid_t foralder = getppid();
        QElapsedTimer klocka;
        klocka.start();
        std::fputs("klar\n", stdout);
        std::fflush(stdout);
        while (klocka.elapsed() < 60000 && getppid() == foralder) {
            const int antal = antalIDatabasen(g.cnnTavling);
            const QList<int> lediga = tomma(g.cnnTavling);
            const int val = rng.bounded(4);
            if (antal > 2 && !lediga.isEmpty() && (val == 0 || antal >= Skjutlag::StorstaAntal)) {
                if (lediga.contains(antal) && rng.bounded(2) == 0)
                    Skjutlag::taBortSista(g, m);
                else
                    Skjutlag::taBortValt(g, m, lediga.at(rng.bounded(int(lediga.size()))));
            } else if (val == 1) {
                Skjutlag::laggTill(g, m);
            } else {
                Skjutlag::infoga(g, m, 1 + rng.bounded(qMax(antal, 1)));
            }
        }
    } catch (const Fel& f) {
        std::fprintf(stderr, "%s\n", qPrintable(f.text()));
        return 1;
    }
    return 0;
}

// What must hold whenever the program stopped, once the competition is
// opened again: the INI's count is the database's, the squads run 1..N
// without a gap, each has all its lanes, and every shooter stands on a lane
// of one of them.
QStringList avvikelser(const modGlobalt& g, int skyttar) {
    QStringList fel;
    const Databas& db = g.cnnTavling;
    const int antal = antalIDatabasen(db);
    const QString ini = g.iniTavling.GetKeyValue(Ini::AntalSkjutlag.sektion, Ini::AntalSkjutlag.nyckel,
                                                 Ini::AntalSkjutlag.standard);
    if (ini != QString::number(antal))
        fel << QStringLiteral("INI %1, databasen %2 skjutlag").arg(ini).arg(antal);
    QSqlQuery q =
        db.kor(QStringLiteral("SELECT Skjutlag, COUNT(*), COUNT(DISTINCT Bana), MIN(Bana), MAX(Bana) "
                              "FROM Skjutlag GROUP BY Skjutlag ORDER BY Skjutlag"));
    int forvantat = 1;
    while (q.next()) {
        const int lag = q.value(0).toInt();
        if (lag != forvantat)
            fel << QStringLiteral("skjutlag %1 där %2 väntades").arg(lag).arg(forvantat);
        forvantat = lag + 1;
        if (q.value(1).toInt() != Banor || q.value(2).toInt() != Banor || q.value(3).toInt() != 1 ||
            q.value(4).toInt() != Banor)
            fel << QStringLiteral("skjutlag %1: %2 banrader").arg(lag).arg(q.value(1).toInt());
    }
    const int naddaSkyttar =
        db.varde(QStringLiteral("SELECT COUNT(*) FROM Skyttar k WHERE k.Löpnummer <> 1 AND EXISTS "
                                "(SELECT 1 FROM Skjutlag s WHERE s.Startnummer = k.Löpnummer "
                                "AND s.Skjutlag BETWEEN 1 AND ?)"),
                 {ini.toInt()})
            .toInt();
    if (naddaSkyttar != skyttar)
        fel << QStringLiteral("%1 av %2 skyttar nås").arg(naddaSkyttar).arg(skyttar);
    return fel;
}

} // namespace

// A program killed in the middle of a squad operation: the database is the
// truth, and opening the competition again brings the INI's count in step.
class TestSkjutlagskrasch : public QObject {
    Q_OBJECT

private slots:
    void dodadMittISkjutlagsoperation() {
        Testfixtur f;
        const QString databas =
            f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, Banor, AntalFran, Skyttar);
        // Shooters further on too, so that inserts and deletes before them move them.
        f.g.cnnTavling.kor(
            QStringLiteral("UPDATE Skjutlag SET Skjutlag = 7 - Skjutlag WHERE Skjutlag IN (2, 5)"));
        const QString ini = f.g.iniTavling.Path();
        Tavling::stang(f.g);

        QRandomGenerator rng(20261207);
        int fel = 0;
        QStringList forsta;
        for (int varv = 1; varv <= 60; ++varv) {
            const QString dod = dodaMittIArbetet(
                {QString::fromLatin1(Barnarg), databas, ini, QString::number(rng.generate())}, rng, 2, 40);
            QVERIFY2(dod.isEmpty(), qPrintable(dod));

            Tavling::sattSokvagar(f.g, databas);
            QCOMPARE(Tavling::OppnaTavling(f.g, f.m, false).utfall, Tavling::Utfall::Oppnad);
            const QStringList avvikande = avvikelser(f.g, Skyttar);
            Tavling::stang(f.g);
            if (!avvikande.isEmpty() && ++fel == 1)
                forsta = QStringList{QStringLiteral("varv %1").arg(varv)} + avvikande;
        }
        QVERIFY2(fel == 0, qPrintable(QStringLiteral("%1 av 60: ").arg(fel) + forsta.join(u'\n')));
    }
};

int main(int argc, char** argv) {
    if (argc == 5 && qstrcmp(argv[1], Barnarg) == 0) {
        QCoreApplication app(argc, argv);
        return skjutlagTillsDodad(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                                  QByteArray(argv[4]).toUInt());
    }
    QApplication app(argc, argv);
    TestSkjutlagskrasch t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "test_skjutlagskrasch.moc"
