#include "competition/Klassmodell.h"

#include "common/Databasnamn.h"
#include "platform/Databas.h"
#include "shell/modGlobalt.h"

#include <QSqlQuery>

namespace Klassmodell {

Tavlingsslag tavlingsslag(const modGlobalt& g) {
    return {g.blnMix, g.blnNationellt, g.blnSportskytte};
}

Klassslag slag(const Tavlingsslag& t, const QString& sportNat, int antalSkott) {
    const bool sport = t.mix ? sportNat == Sport : t.sportskytte;
    const bool nationell = t.mix ? sportNat == Nat : t.nationellt;
    if (sport)
        return antalSkott > 40 ? Klassslag::Sport60 : Klassslag::Sport40;
    if (nationell)
        return Klassslag::Nationell;
    return Klassslag::Okand;
}

Klassslag slag(const modGlobalt& g, const Klass* klass) {
    return klass ? slag(tavlingsslag(g), klass->sportNat, klass->antalSkott) : slag(tavlingsslag(g), {}, 0);
}

QString nyckel(const QString& kod) {
    return kod.toCaseFolded();
}

QList<Klass> lasKlasser(const modGlobalt& g, const QString& villkor, const QVariantList& varden) {
    // Positions, not names: the table is read whole at every list and every
    // message to the spectators.
    const bool mix = g.klasstabell() == Tabell::Mixadeklasser;
    QString sql = QStringLiteral("SELECT Räknare, Klass, Klassnamn, [Antal skott], Sammanslagen%1 FROM %2")
                      .arg(mix ? QStringLiteral(", [Sport/Nat]") : QString(), g.klasstabell());
    if (!villkor.isEmpty())
        sql += QLatin1Char(' ') + villkor;
    QSqlQuery q = g.cnnTavling.kor(sql + QStringLiteral(" ORDER BY Räknare"), varden);
    QList<Klass> klasser;
    while (q.next()) {
        Klass k;
        k.raknare = q.value(0).toLongLong();
        k.kod = q.value(1).toString();
        k.namn = q.value(2).toString();
        k.antalSkott = int(q.value(3).toLongLong());
        k.sammanslagen = q.value(4).toLongLong();
        if (mix)
            k.sportNat = q.value(5).toString();
        klasser << k;
    }
    return klasser;
}

QStringList klasskoder(const modGlobalt& g) {
    QSqlQuery q =
        g.cnnTavling.kor(QStringLiteral("SELECT Klass FROM %1 ORDER BY Klass").arg(g.klasstabell()));
    QStringList koder;
    while (q.next())
        koder << q.value(0).toString();
    return koder;
}

Klassregister::Klassregister(const QList<Klass>& klasser) : m_klasser(klasser) {
    for (qsizetype i = 0; i < m_klasser.size(); ++i) {
        const QString n = nyckel(m_klasser[i].kod);
        if (!m_index.contains(n))
            m_index.insert(n, i);
    }
}

Klassregister Klassregister::las(const modGlobalt& g) {
    return Klassregister(lasKlasser(g));
}

const Klass* Klassregister::hitta(const QString& kod) const {
    const auto i = m_index.constFind(nyckel(kod));
    return i == m_index.constEnd() ? nullptr : &m_klasser[*i];
}

} // namespace Klassmodell
