#include "entry/Resultatrader.h"

#include "common/Databasnamn.h"
#include "shell/modGlobalt.h"

#include <QSqlQuery>

Klassuppslag::Klassuppslag(const modGlobalt& g) : m_klasser(Klassmodell::Klassregister::las(g)) {}

std::optional<int> Klassuppslag::antalSkott(const QString& klass) const {
    if (const Klass* k = m_klasser.hitta(klass))
        return k->antalSkott;
    return std::nullopt;
}

std::optional<int> Klassuppslag::klassensSerier(const QString& klass) const {
    const std::optional<int> skott = antalSkott(klass);
    if (!skott)
        return std::nullopt;
    return Serieregler::klassensSerier(*skott);
}

QString ingenKlassText(int bana) {
    return QStringLiteral("Klassen för skytten på bana ") + QString::number(bana) +
           QStringLiteral(" finns inte.\r\nKolla så att du inte ändrat namnet på klassen!");
}

QList<Banrad> hamtaSkjutlag(const modGlobalt& g, int skjutlag) {
    QString sql = QStringLiteral("SELECT %1").arg(Skytt::kolumner(QStringLiteral("Skyttar")));
    sql += QStringLiteral(", Skjutlag.Skjutlag, Skjutlag.Bana");
    if (g.blnMix) {
        // Joined through the first row of the class, so that a class entered
        // twice in the mixed table still gives its shooter one row.
        sql +=
            QStringLiteral(", Mixadeklasser.[Sport/Nat] "
                           "FROM (Skyttar INNER JOIN Skjutlag ON Skyttar.Löpnummer = Skjutlag.Startnummer) "
                           "INNER JOIN Mixadeklasser ON Mixadeklasser.Räknare = "
                           "(SELECT m.Räknare FROM Mixadeklasser AS m WHERE m.Klass = Skyttar.Klass "
                           "ORDER BY m.Räknare LIMIT 1) ");
    } else {
        sql +=
            QStringLiteral(" FROM Skyttar INNER JOIN Skjutlag ON Skyttar.Löpnummer = Skjutlag.Startnummer ");
    }
    sql += QStringLiteral("WHERE Skyttar.Löpnummer <> ? AND Skjutlag.Skjutlag = ? ORDER BY Skjutlag.Bana");

    QSqlQuery q = g.cnnTavling.kor(sql, {PlatshallareLopnummer, skjutlag});
    QList<Banrad> rader;
    while (q.next()) {
        const Skytt k = Skytt::fran(q);
        Banrad r;
        r.lopnummer = k.lopnummer;
        r.klass = k.klass;
        r.namn = k.namn;
        r.efternamn = k.efternamn;
        r.forening = k.forening;
        for (int n = 0; n < Serieregler::AntalSerier; ++n) {
            r.res[n] = k.res[size_t(n)];
            r.sfst << k.sfst[size_t(n)];
        }
        r.lagserier = k.lagserier;
        r.vandringsSerier = k.vandringsSerier;
        r.innertior = k.innertior;
        r.tioNior = k.tioNior;
        r.sarskjutning = k.sarskjutning;
        r.man1098 = k.man1098 ? 1 : 0;
        int i = Skytt::AntalKolumner;
        r.skjutlag = q.value(i++).toInt();
        r.bana = q.value(i++).toInt();
        if (g.blnMix)
            r.sportNat = q.value(i++).toString();
        rader << r;
    }
    return rader;
}
