#include "entry/Resultatrader.h"

#include "common/Databasnamn.h"
#include "shell/modGlobalt.h"

#include <QSqlQuery>

Klassuppslag::Klassuppslag(const modGlobalt& g) {
    // The table name is one of the three class tables, never typed text.
    QSqlQuery q = g.cnnTavling.kor(
        QStringLiteral("SELECT Klass, [Antal skott] FROM %1 ORDER BY Räknare").arg(g.klasstabell()));
    while (q.next()) {
        // The first row of a class wins, as a search from the top finds it.
        const QString nyckel = q.value(0).toString().toLower();
        if (!m_antalSkott.contains(nyckel))
            m_antalSkott.insert(nyckel, q.value(1).toInt());
    }
}

std::optional<int> Klassuppslag::antalSkott(const QString& klass) const {
    const auto it = m_antalSkott.constFind(klass.toLower());
    if (it == m_antalSkott.constEnd())
        return std::nullopt;
    return *it;
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
    QString sql = QStringLiteral("SELECT Skyttar.Löpnummer, Skyttar.Klass, Skyttar.Namn, Skyttar.Efternamn, "
                                 "Skyttar.Förening");
    for (int n = 1; n <= Serieregler::AntalSerier; ++n)
        sql += QStringLiteral(", Skyttar.") + Falt::res(n);
    sql += QStringLiteral(", Skyttar.Lagserier, Skyttar.VandringsSerier, Skyttar.Innertior, Skyttar.TioNior, "
                          "Skyttar.Särskjutning, Skyttar.Man1098");
    for (int n = 1; n <= Serieregler::AntalSerier; ++n)
        sql += QStringLiteral(", Skyttar.") + Falt::sfst(n);
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
        Banrad r;
        int i = 0;
        r.lopnummer = q.value(i++).toLongLong();
        r.klass = q.value(i++).toString();
        r.namn = q.value(i++).toString();
        r.efternamn = q.value(i++).toString();
        r.forening = q.value(i++).toString();
        for (int n = 0; n < Serieregler::AntalSerier; ++n)
            r.res[n] = q.value(i++).toInt();
        r.lagserier = q.value(i++).toInt();
        r.vandringsSerier = q.value(i++).toInt();
        r.innertior = q.value(i++).toInt();
        r.tioNior = q.value(i++).toString();
        r.sarskjutning = q.value(i++).toDouble();
        r.man1098 = q.value(i++).toInt();
        for (int n = 0; n < Serieregler::AntalSerier; ++n)
            r.sfst << q.value(i++).toString();
        r.skjutlag = q.value(i++).toInt();
        r.bana = q.value(i++).toInt();
        if (g.blnMix)
            r.sportNat = q.value(i++).toString();
        rader << r;
    }
    return rader;
}
