#include "printouts/Lagresultat.h"

#include "common/Databasnamn.h"
#include "common/Poster.h"
#include "competition/Serieregler.h"
#include "platform/Databas.h"
#include "platform/Meddelanden.h"

#include <QSet>
#include <QSqlQuery>
#include <algorithm>
#include <array>
#include <map>

namespace Lagresultat {

namespace {

constexpr int AntalPar = FlestSerier / 2;

struct Lagsumma {
    std::array<int, FlestSerier> res{};
    int summa = 0;
    int innertior = 0;
    std::array<int, 10> antal{};
    QList<int> medlemmar; // the members' scores
};

QString serier(const QString& prefix, int forsta, int antal, int steg, const QString& efter) {
    QStringList l;
    for (int i = 0; i < antal; ++i)
        l << prefix + QString::number(forsta + i * steg) + efter;
    return l.join(QStringLiteral(", "));
}

} // namespace

QList<Utan> rakna(Databas& db) {
    QList<Utan> utan;
    db.transaktion([&] {
        utan.clear();
        db.kor(QStringLiteral("UPDATE Lag SET Summa = 0, IndRes = '', Innertior = 0, "
                              "TioNior = '0,0,0,0,0,0,0,0,0,0', ") +
               serier(QStringLiteral("Res"), 1, FlestSerier, 1, QStringLiteral(" = 0")) +
               QStringLiteral(", ") +
               serier(QStringLiteral("Sum"), 10, AntalPar, 10, QStringLiteral(" = 0")));

        QSet<qint64> finns;
        QSqlQuery lag = db.kor(QStringLiteral("SELECT [Lag nr] FROM Lag"));
        while (lag.next())
            finns.insert(lag.value(0).toLongLong());

        std::map<qint64, Lagsumma> summor;
        QSqlQuery q = db.kor(QStringLiteral("SELECT %1 FROM Skyttar WHERE Lag > 0 AND Löpnummer <> ? "
                                            "ORDER BY Lag, Löpnummer")
                                 .arg(Skytt::kolumner({}, Skytt::AntalKolumnerUtanSkott)),
                             {PlatshallareLopnummer});
        while (q.next()) {
            const Skytt k = Skytt::fran(q, 0, Skytt::AntalKolumnerUtanSkott);
            if (!finns.contains(k.lag)) {
                utan.append({k.lopnummer, k.namn, k.efternamn, k.lag});
                continue;
            }
            Lagsumma& s = summor[k.lag];
            // A count the registration never gives would otherwise read past the
            // series or count series backwards.
            const int n = std::clamp(k.lagserier, 0, FlestSerier);
            int t = 0;
            for (int i = 0; i < n; ++i) {
                const int serie = k.res[size_t(i)];
                t += serie;
                s.res[size_t(i)] += serie;
            }
            s.summa += t;
            s.innertior += k.innertior;
            const std::array<int, 10> a = Serieregler::tioNiorVarden(k.tioNior);
            for (size_t i = 0; i < a.size(); ++i)
                s.antal[i] += a[i];
            s.medlemmar.append(t);
            db.kor(QStringLiteral("UPDATE Skyttar SET LagRes = ? WHERE Löpnummer = ?"), {t, k.lopnummer});
        }

        const QString skriv =
            QStringLiteral("UPDATE Lag SET Summa = ?, IndRes = ?, Innertior = ?, TioNior = ?, ") +
            serier(QStringLiteral("Res"), 1, FlestSerier, 1, QStringLiteral(" = ?")) + QStringLiteral(", ") +
            serier(QStringLiteral("Sum"), 10, AntalPar, 10, QStringLiteral(" = ?")) +
            QStringLiteral(" WHERE [Lag nr] = ?");
        for (auto& [nr, s] : summor) {
            std::sort(s.medlemmar.begin(), s.medlemmar.end(), std::greater<int>());
            QStringList indRes;
            for (const int t : s.medlemmar)
                indRes << QString::number(t);
            QVariantList v{s.summa, indRes.join(QLatin1Char(',')), s.innertior,
                           Serieregler::tioNiorText(s.antal)};
            for (const int r : s.res)
                v << r;
            // A pair sum holds the counted series of the pair, as the series do.
            for (int p = 0; p < AntalPar; ++p)
                v << s.res[size_t(2 * p)] + s.res[size_t(2 * p + 1)];
            v << nr;
            db.kor(skriv, v);
        }
    });
    return utan;
}

void tala(Meddelanden& m, const QList<Utan>& utan) {
    if (utan.isEmpty())
        return;
    QStringList rader;
    for (const Utan& u : utan)
        rader << QStringLiteral("%1 %2 (lag %3)").arg(u.namn, u.efternamn).arg(u.lag);
    m.visa(QStringLiteral("Dessa skyttar hör till ett lag som inte finns och räknades inte med i "
                          "lagresultaten:\r\n") +
               rader.join(QStringLiteral("\r\n")),
           QStringLiteral("Lagresultat"), Meddelanden::Ikon::Utropstecken);
}

} // namespace Lagresultat
