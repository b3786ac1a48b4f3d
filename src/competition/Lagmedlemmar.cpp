#include "competition/Lagmedlemmar.h"

#include "common/Databasnamn.h"
#include "common/Fel.h"
#include "platform/Databas.h"
#include "platform/Meddelanden.h"
#include "shell/modGlobalt.h"

#include <cmath>

namespace Lagmedlemmar {

namespace {

using Ikon = Meddelanden::Ikon;
using Svar = Meddelanden::Svar;

// The number the old database engine gave a row that is no longer there.
constexpr int IngenAktuellPost = 3021;

// A member's row without the shot strings, which the team panel never shows.
QString valjSkyttar() {
    return QStringLiteral("SELECT %1 FROM Skyttar").arg(Skytt::kolumner({}, Skytt::AntalKolumnerUtanSkott));
}
const QString FinnsInte = QStringLiteral("Skytten finns inte, eller så är skytten redan med i ett lag.");

Skytt post(const QSqlQuery& q) {
    return Skytt::fran(q, 0, Skytt::AntalKolumnerUtanSkott);
}

QList<Skytt> poster(QSqlQuery q) {
    QList<Skytt> alla;
    while (q.next())
        alla << post(q);
    return alla;
}

Lagkrav kravFinns(const Databas& db, qint64 lagNr) {
    const std::optional<Lagkrav> k = krav(db, lagNr);
    if (!k)
        throw Fel(IngenAktuellPost, QStringLiteral("Laget finns inte längre."));
    return *k;
}

} // namespace

std::optional<Lagkrav> krav(const Databas& db, qint64 lagNr) {
    QSqlQuery q =
        db.kor(QStringLiteral("SELECT t.Lagtävling, t.[Antal skyttar], t.[Antal skott], t.Omg "
                              "FROM Lag AS l INNER JOIN Lagtävling AS t ON t.Lagtävling = l.Lagtävling "
                              "WHERE l.[Lag nr] = ?"),
               {lagNr});
    if (!q.next())
        return std::nullopt;
    return Lagkrav{q.value(0).toLongLong(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt()};
}

QList<Skytt> lista(const Databas& db, qint64 lagNr) {
    return poster(
        db.kor(valjSkyttar() + QStringLiteral(" WHERE Lag = ? AND Löpnummer <> ? ORDER BY Löpnummer"),
               {lagNr, PlatshallareLopnummer}));
}

int antal(const Databas& db, qint64 lagNr) {
    return db
        .varde(QStringLiteral("SELECT COUNT(*) FROM Skyttar WHERE Lag = ? AND Löpnummer <> ?"),
               {lagNr, PlatshallareLopnummer})
        .toInt();
}

std::optional<Skytt> hamta(const Databas& db, qint64 lopnummer) {
    QSqlQuery q = db.kor(valjSkyttar() + QStringLiteral(" WHERE Löpnummer = ? AND Löpnummer <> ?"),
                         {lopnummer, PlatshallareLopnummer});
    if (!q.next())
        return std::nullopt;
    return post(q);
}

bool harPlats(const Databas& db, qint64 lagNr) {
    const std::optional<Lagkrav> k = krav(db, lagNr);
    return k && antal(db, lagNr) < k->storlek;
}

int lagserier(int antalSkott) {
    // The default rounding of the floating-point environment takes halves to even.
    return static_cast<int>(std::nearbyint(antalSkott / 5.0));
}

QList<Skytt> sok(const modGlobalt& g, qint64 lagNr, const QString& namn, const QString& efternamn) {
    // The statement is made of fixed pieces; what was typed is only ever bound.
    QString sql = valjSkyttar() + QStringLiteral(" WHERE Löpnummer <> ? AND Lag = 0");
    QVariantList varden{PlatshallareLopnummer};
    if (!namn.trimmed().isEmpty()) {
        sql += QStringLiteral(" AND Namn LIKE ? ESCAPE '\\'");
        varden << Databas::bokstavligtMonster(namn) + QLatin1Char('%');
    }
    if (!efternamn.trimmed().isEmpty()) {
        sql += QStringLiteral(" AND Efternamn LIKE ? ESCAPE '\\'");
        varden << Databas::bokstavligtMonster(efternamn) + QLatin1Char('%');
    }
    if (g.blnFleraTavlingar) {
        sql += QStringLiteral(" AND Omg = ?");
        varden << kravFinns(g.cnnTavling, lagNr).omg;
    }
    return poster(g.cnnTavling.kor(sql + QStringLiteral(" ORDER BY Löpnummer"), varden));
}

bool laggTill(Databas& db, qint64 lagNr, qint64 lopnummer) {
    bool tillagd = false;
    db.transaktion([&] {
        const Lagkrav k = kravFinns(db, lagNr);
        if (antal(db, lagNr) >= k.storlek)
            return;
        const QSqlQuery q = db.kor(QStringLiteral("UPDATE Skyttar SET Lag = ?, Lagserier = ? "
                                                  "WHERE Löpnummer = ? AND Löpnummer <> ? AND Lag = 0"),
                                   {lagNr, lagserier(k.skott), lopnummer, PlatshallareLopnummer});
        if (q.numRowsAffected() != 1)
            throw Fel(IngenAktuellPost, FinnsInte);
        tillagd = true;
    });
    return tillagd;
}

void taBort(Databas& db, qint64 lagNr, qint64 lopnummer) {
    db.kor(
        QStringLiteral(
            "UPDATE Skyttar SET Lag = 0, Lagserier = 0 WHERE Löpnummer = ? AND Lag = ? AND Löpnummer <> ?"),
        {lopnummer, lagNr, PlatshallareLopnummer});
}

bool taBort(Databas& db, Meddelanden& m, qint64 lagNr, qint64 lopnummer) {
    if (m.visa(QStringLiteral("Är du säker på att du vill ta bort skytten ur laget?"),
               QStringLiteral("Bekräfta"), Ikon::Fraga, Meddelanden::Knappar::JaNej) != Svar::Ja)
        return false;
    taBort(db, lagNr, lopnummer);
    return true;
}

Utfall LaggTillSkytt(modGlobalt& g, Meddelanden& m, qint64 lagNr, const QString& namn,
                     const QString& efternamn, const std::function<void(const Skytt&)>& visa) {
    Databas& db = g.cnnTavling;
    const Lagkrav k = kravFinns(db, lagNr);
    if (antal(db, lagNr) >= k.storlek)
        return Utfall::Fullt;

    std::optional<Skytt> vald;
    for (const Skytt& s : sok(g, lagNr, namn, efternamn)) {
        if (visa)
            visa(s);
        const Svar svar = m.visa(QStringLiteral("Är det här rätt skytt?"), QStringLiteral("Bekräfta"),
                                 Ikon::Fraga, Meddelanden::Knappar::JaNejAvbryt);
        if (svar == Svar::Ja) {
            vald = s;
            break;
        }
        if (svar != Svar::Nej)
            return Utfall::Avbruten;
    }
    if (!vald) {
        m.visa(FinnsInte, QStringLiteral("Fel"), Ikon::Kritisk);
        return Utfall::IngenTraff;
    }

    const QVariant klassensSkott = db.varde(
        QStringLiteral("SELECT [Antal skott] FROM %1 WHERE Klass = ?").arg(g.klasstabell()), {vald->klass});
    if (!klassensSkott.isValid()) {
        m.visa(QStringLiteral(
                   "Klassen för skytten finns inte.\r\nKolla så att du inte ändrat namnet på klassen!"),
               QStringLiteral("Ingen klass."), Ikon::Kritisk);
        return Utfall::IngenKlass;
    }
    if (k.skott > klassensSkott.toInt() &&
        m.visa(QStringLiteral(
                   "Skytten skjuter för några skott för lagtävlingen!\r\nSka skytten skjuta extra antal?"),
               QStringLiteral("Fråga"), Ikon::Ingen, Meddelanden::Knappar::JaNej) != Svar::Ja)
        return Utfall::EjExtra;

    return laggTill(db, lagNr, vald->lopnummer) ? Utfall::Tillagd : Utfall::Fullt;
}

} // namespace Lagmedlemmar
