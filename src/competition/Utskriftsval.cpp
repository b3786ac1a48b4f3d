#include "competition/Utskriftsval.h"

#include "common/Konvertering.h"
#include "platform/Databas.h"

namespace Utskriftsval {

QStringList listnamn(const Databas& db) {
    QSqlQuery q = db.kor(QStringLiteral("SELECT Listnamn FROM Utskriftsval ORDER BY Listnamn"));
    QStringList namn;
    while (q.next())
        namn << q.value(0).toString();
    return namn;
}

namespace {
std::optional<Kolumn> forsta(QSqlQuery q) {
    if (!q.next())
        return std::nullopt;
    Kolumn k;
    k.listnamn = q.value(0).toString();
    k.faltnamn = q.value(1).toString();
    k.bredd = q.value(2).toDouble();
    k.enable = q.value(3).toBool();
    k.alltidEnable = q.value(4).toBool();
    k.standardEnable = q.value(5).toBool();
    k.standardBredd = q.value(6).toDouble();
    return k;
}

const QString Kolumner =
    QStringLiteral("SELECT Listnamn, FältNamn, Bredd, Enable, AlltidEnable, StandardEnable, StandardBredd "
                   "FROM Utskriftsval ");
} // namespace

std::optional<Kolumn> hamta(const Databas& db, const QString& listnamn) {
    return forsta(db.kor(Kolumner + QStringLiteral("WHERE Listnamn = ?"), {listnamn}));
}

std::optional<Kolumn> hamtaFalt(const Databas& db, const QString& faltnamn) {
    return forsta(db.kor(Kolumner + QStringLiteral("WHERE FältNamn = ? ORDER BY rowid LIMIT 1"), {faltnamn}));
}

QString breddText(double bredd) {
    return Konvertering::decimalTillText(bredd);
}

std::optional<double> tolkaBredd(const QString& text) {
    if (text.trimmed().isEmpty())
        return std::nullopt;
    return Konvertering::textTillDecimal(text);
}

bool sparaMed(Databas& db, const QString& listnamn, bool med) {
    return db.kor(QStringLiteral("UPDATE Utskriftsval SET Enable = ? WHERE Listnamn = ? AND AlltidEnable = 0 "
                                 "AND Enable <> ?"),
                  {med ? 1 : 0, listnamn, med ? 1 : 0})
               .numRowsAffected() > 0;
}

bool sparaBredd(Databas& db, const QString& listnamn, const QString& text) {
    const std::optional<double> bredd = tolkaBredd(text);
    if (!bredd)
        return false;
    return db.kor(QStringLiteral("UPDATE Utskriftsval SET Bredd = ? WHERE Listnamn = ? AND Bredd <> ?"),
                  {*bredd, listnamn, *bredd})
               .numRowsAffected() > 0;
}

void standard(Databas& db) {
    db.transaktion([&] {
        db.kor(QStringLiteral("UPDATE Utskriftsval SET Enable = StandardEnable, Bredd = StandardBredd"));
    });
}

QString utanSlutkomma(const QString& text) {
    return text.trimmed().endsWith(QLatin1Char(',')) ? text.trimmed().chopped(1) : text;
}

} // namespace Utskriftsval
