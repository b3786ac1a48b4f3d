#include "common/Databasnamn.h"
#include "common/IniNamn.h"
#include "entry/Resultatrader.h"
#include "entry/Resultatsparning.h"
#include "support/Dodsbarn.h"
#include "support/Testfixtur.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <cstdio>
#include <unistd.h>

namespace {

const char* const Skrivarg = "--skriv-tills-dodad";
constexpr int Skjutlag = 2;
constexpr int Banor = 10;

// The child saves read series until killed, or its parent has gone.
int skrivTillsDodad(const QString& databas, const QString& ini, quint32 fro) {
    modGlobalt g;
    g.iniTavling.setPath(ini);
    g.blnSportskytte = true;
    g.blnTolkmaskinGrundomg = true;
    g.blnEjAuto1098 = false;
    try {
        g.cnnTavling.Open(databas);
        QList<Banrad> rader;
        for (int lag = 1; lag <= Skjutlag; ++lag)
            rader += hamtaSkjutlag(g, lag);
        Resultatsparning sparning(g);
        QRandomGenerator rng(fro);
        const pid_t foralder = getppid();
        QElapsedTimer klocka;
        klocka.start();
        std::fputs("klar\n", stdout);
        std::fflush(stdout);
        while (klocka.elapsed() < 120000 && getppid() == foralder) {
            Banrad& rad = rader[rng.bounded(int(rader.size()))];
            const int serie = rng.bounded(1, 13);
            QString skott;
            for (int i = 0; i < 5; ++i)
                skott += QStringLiteral("0123456789+*").at(rng.bounded(12));
            if (rng.bounded(2) == 0)
                sparning.sparaSerie(rad, serie, *Serieregler::skottstrangsvarde(skott), skott);
            else
                sparning.sparaSkottForSkott(rad, serie, skott);
        }
    } catch (const Fel& f) {
        std::fprintf(stderr, "%s\n", qPrintable(f.text()));
        return 1;
    }
    return 0;
}

// Rows whose sums and counts disagree with their series and shot strings.
QStringList avvikelser(const Databas& db) {
    QStringList fel;
    const QString kontroll = db.varde(QStringLiteral("PRAGMA integrity_check")).toString();
    if (kontroll != QLatin1String("ok"))
        fel << kontroll;
    QSqlQuery q = db.kor(QStringLiteral("SELECT %1 FROM Skyttar WHERE Löpnummer <> ?").arg(Skytt::kolumner()),
                         {PlatshallareLopnummer});
    while (q.next()) {
        const Skytt s = Skytt::fran(q);
        const Serieregler::Summor sum = Serieregler::rakna(s.res);
        const Serieregler::Antal antal = Serieregler::raknaAntal(QStringList(s.sfst.begin(), s.sfst.end()));
        QList<int> lagrat(s.res.begin(), s.res.end()), ratt;
        for (const QString& skott : s.sfst)
            ratt << Serieregler::skottstrangsvarde(skott).value_or(-1);
        lagrat << QList<int>(s.sum.begin(), s.sum.end()) << s.totalt40 << s.totalt60 << s.innertior;
        ratt << QList<int>(sum.par.begin(), sum.par.end()) << sum.totalt40 << sum.totalt60 << antal.innertior;
        if (lagrat != ratt || s.tioNior != antal.tioNior)
            fel << QStringLiteral("%1: %2 %3").arg(s.lopnummer).arg(s.tioNior, antal.tioNior);
    }
    return fel;
}

} // namespace

class T_krasch : public QObject {
    Q_OBJECT

private slots:
    // A program killed in the middle of saving never leaves a row whose sums or
    // counts disagree with its series.
    void dodadMittISparning() {
        Testfixtur f;
        const QString databas = f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, Banor,
                                               Skjutlag, Banor * Skjutlag);
        const QString ini = f.g.iniTavling.Path();
        QVERIFY(f.g.iniTavling.WriteKeys(
            {{Ini::Model.sektion, Ini::Model.nyckel, QStringLiteral("SAM 4000")},
             {Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, QStringLiteral("0")},
             {Ini::TolkmaskinIGrundomg.sektion, Ini::TolkmaskinIGrundomg.nyckel, QStringLiteral("1")}}));
        f.g.cnnTavling.Close();
        QRandomGenerator rng(20261206);
        for (int varv = 1; varv <= 20; ++varv) {
            const QString dod = dodaMittIArbetet(
                {QString::fromLatin1(Skrivarg), databas, ini, QString::number(rng.generate())}, rng, 1, 250);
            QVERIFY2(dod.isEmpty(), qPrintable(dod));
            f.g.cnnTavling.Open(databas);
            const QStringList fel = avvikelser(f.g.cnnTavling);
            QVERIFY2(fel.isEmpty(),
                     qPrintable(QStringLiteral("varv %1: ").arg(varv) + fel.mid(0, 5).join(u'\n')));
            // The children did save something.
            QVERIFY(varv < 20 ||
                    f.g.cnnTavling.varde(QStringLiteral("SELECT SUM(Totalt60) FROM Skyttar")).toInt() > 0);
            f.g.cnnTavling.Close();
        }
    }
};

int main(int argc, char** argv) {
    if (argc == 5 && qstrcmp(argv[1], Skrivarg) == 0) {
        QCoreApplication app(argc, argv);
        return skrivTillsDodad(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                               QByteArray(argv[4]).toUInt());
    }
    QApplication app(argc, argv);
    T_krasch t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "test_krasch.moc"
