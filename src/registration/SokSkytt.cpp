#include "registration/SokSkytt.h"

#include "common/Databasnamn.h"
#include "platform/Databas.h"
#include "shell/Delade.h"

#include <QSqlQuery>

namespace SokSkytt {

namespace {
// A typed beginning as a LIKE pattern bound with ESCAPE '\'.
QString borjanPa(const QString& text) {
    return Databas::bokstavligtMonster(text.trimmed()) + QLatin1Char('%');
}
} // namespace

bool harFelaktigtTecken(const Kriterier& k) {
    for (const QString* text : {&k.fornamn, &k.efternamn, &k.licensnr, &k.startnr})
        if (Delade::InnehallerApostrof(text->trimmed()))
            return true;
    return false;
}

QList<Traff> sok(const Databas& db, const Kriterier& k) {
    // The start number is a number; LIKE compares its text, which is what makes
    // a typed beginning of the number work.
    QString sql =
        QStringLiteral("SELECT Skyttar.Löpnummer, Skjutlag.Skjutlag, Skjutlag.Bana "
                       "FROM Skyttar INNER JOIN Skjutlag ON Skyttar.Löpnummer = Skjutlag.Startnummer "
                       "WHERE Skyttar.Löpnummer <> ? "
                       "AND Skyttar.Namn LIKE ? ESCAPE '\\' AND Skyttar.Efternamn LIKE ? ESCAPE '\\' "
                       "AND Skyttar.Licensnr LIKE ? ESCAPE '\\' AND Skyttar.Startnr LIKE ? ESCAPE '\\'");
    QVariantList varden{PlatshallareLopnummer, borjanPa(k.fornamn), borjanPa(k.efternamn),
                        borjanPa(k.licensnr), borjanPa(k.startnr)};
    if (k.omg) {
        sql += QStringLiteral(" AND Skyttar.Omg = ?");
        varden << *k.omg;
    }
    sql += QStringLiteral(" ORDER BY Skjutlag.Skjutlag, Skjutlag.Bana, Skjutlag.rowid");

    QList<Traff> traffar;
    QSqlQuery q = db.kor(sql, varden);
    while (q.next())
        traffar.append({q.value(0).toLongLong(), q.value(1).toInt(), q.value(2).toInt()});
    return traffar;
}

Sokning::Utfall Sokning::sok(const Databas& db, const Kriterier& k) {
    if (harFelaktigtTecken(k))
        return Utfall::FelaktigtTecken;
    m_traffar = SokSkytt::sok(db, k);
    m_visad.reset();
    return visaFran(0);
}

Sokning::Utfall Sokning::nasta() {
    if (!m_visad)
        return Utfall::IngenTraff;
    return visaFran(*m_visad + 1);
}

std::optional<Traff> Sokning::visad() const {
    if (!m_visad)
        return std::nullopt;
    return m_traffar.at(*m_visad);
}

Sokning::Utfall Sokning::visaFran(qsizetype index) {
    for (; index < m_traffar.size(); ++index) {
        if (m_visa(m_traffar.at(index))) {
            m_visad = index;
            return Utfall::Visad;
        }
    }
    m_visad.reset();
    return Utfall::IngenTraff;
}

} // namespace SokSkytt
