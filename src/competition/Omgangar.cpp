#include "competition/Omgangar.h"

#include "common/Databasnamn.h"
#include "platform/Databas.h"

#include <QSqlQuery>

namespace Omgangar {

namespace {
const QString FelOmgang = QStringLiteral("Fel omgång.");

Vagran noll() {
    return {QStringLiteral("Du får inte ha 0 som tävlingsomgång!"), FelOmgang};
}

Vagran tommaFalt() {
    return {QStringLiteral("Du måste fylla i alla fälten!"), QStringLiteral("Tomma fält")};
}

QList<Omgang> las(const Databas& db, const QString& sql) {
    QList<Omgang> omgangar;
    QSqlQuery q = db.kor(sql);
    while (q.next())
        omgangar.append({q.value(0).toInt(), q.value(1).toString()});
    return omgangar;
}
} // namespace

Vagran ingenOmgang() {
    return {QStringLiteral("Tävlingen har flera tävlingsomgångar men ingen är inskriven.\r\n"
                           "Skriv in omgångarna under Inställningar först."),
            QStringLiteral("Ingen tävlingsomgång")};
}

QList<Omgang> alla(const Databas& db) {
    return las(db, QStringLiteral("SELECT Omg, Beskrivning FROM [Tävlings omg] ORDER BY Omg, rowid"));
}

QList<Omgang> iInskrivenOrdning(const Databas& db) {
    return las(db, QStringLiteral("SELECT Omg, Beskrivning FROM [Tävlings omg] ORDER BY rowid"));
}

std::optional<Omgang> hitta(const Databas& db, int omg) {
    QSqlQuery q = db.kor(
        QStringLiteral("SELECT Omg, Beskrivning FROM [Tävlings omg] WHERE Omg = ? ORDER BY rowid LIMIT 1"),
        {omg});
    if (!q.next())
        return std::nullopt;
    return Omgang{q.value(0).toInt(), q.value(1).toString()};
}

Nummer tolkaNummer(const QString& text) {
    const QString t = text.trimmed();
    const Vagran inteHeltal{QStringLiteral("Tävlingsomgången måste vara ett heltal från %1 till %2!")
                                .arg(MinstaOmg)
                                .arg(StorstaOmg),
                            FelOmgang};
    qsizetype i = 0;
    const bool minus = t.startsWith(QLatin1Char('-'));
    if (minus || t.startsWith(QLatin1Char('+')))
        i = 1;
    if (i == t.size())
        return {std::nullopt, inteHeltal};
    // Only the digits 0-9: toInt would take other scripts' digits and blanks.
    for (qsizetype j = i; j < t.size(); ++j)
        if (t.at(j) < QLatin1Char('0') || t.at(j) > QLatin1Char('9'))
            return {std::nullopt, inteHeltal};
    QString siffror = t.mid(i);
    while (siffror.size() > 1 && siffror.startsWith(QLatin1Char('0')))
        siffror.remove(0, 1);
    if (siffror == QLatin1String("0") || minus)
        return {std::nullopt, noll()};
    const int omg = siffror.size() <= 5 ? siffror.toInt() : StorstaOmg + 1;
    if (omg > StorstaOmg)
        return {std::nullopt, inteHeltal};
    return {omg, {}};
}

std::optional<Vagran> nollVagras(const QString& text) {
    QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('+')))
        t.remove(0, 1);
    if (t.isEmpty())
        return std::nullopt;
    for (const QChar c : t)
        if (c != QLatin1Char('0'))
            return std::nullopt;
    return noll();
}

std::optional<Vagran> laggTill(Databas& db, const QString& omgText, const QString& beskrivning) {
    const QString text = beskrivning.trimmed();
    if (omgText.trimmed().isEmpty() || text.isEmpty())
        return tommaFalt();
    const Nummer nummer = tolkaNummer(omgText);
    if (!nummer.omg)
        return nummer.vagran;
    std::optional<Vagran> vagran;
    db.transaktion([&] {
        // Beskrivning compares in the Swedish collation: "Final" and "FINAL" are one description.
        const QVariant finns =
            db.varde(QStringLiteral("SELECT 1 FROM [Tävlings omg] WHERE Omg = ? OR Beskrivning = ? LIMIT 1"),
                     {*nummer.omg, text});
        if (finns.isValid()) {
            vagran = Vagran{QStringLiteral("Du får inte skriva in en Omgång/Beskrivning som redan finns!\r\n"
                                           "Skriv in en ny."),
                            QStringLiteral("Dubblett av omgången.")};
            return;
        }
        db.kor(QStringLiteral("INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (?, ?)"),
               {*nummer.omg, text});
    });
    return vagran;
}

std::optional<Vagran> andraBeskrivning(Databas& db, int omg, const QString& beskrivning) {
    const QString text = beskrivning.trimmed();
    if (text.isEmpty())
        return tommaFalt();
    std::optional<Vagran> vagran;
    db.transaktion([&] {
        const QSqlQuery q =
            db.kor(QStringLiteral("UPDATE [Tävlings omg] SET Beskrivning = ? WHERE Omg = ?"), {text, omg});
        if (q.numRowsAffected() == 0)
            vagran = Vagran{QStringLiteral("Tävlingsomgång %1 finns inte längre.").arg(omg), FelOmgang};
    });
    return vagran;
}

std::optional<Vagran> borttagVagras(const Databas& db, int omg) {
    if (db.varde(QStringLiteral("SELECT COUNT(*) FROM [Tävlings omg]")).toInt() <= 1)
        return Vagran{QStringLiteral("Det måste finnas minst en tävling inskriven!"),
                      QStringLiteral("Radering ej tillåten")};
    const int skyttar =
        db.varde(QStringLiteral("SELECT COUNT(*) FROM Skyttar WHERE Omg = ? AND Löpnummer <> ?"),
                 {omg, PlatshallareLopnummer})
            .toInt();
    if (skyttar > 0)
        return Vagran{QStringLiteral("Det finns %1st skyttar inskriven på denna omgång!\r\n"
                                     "Du kan inte radera omgången då!")
                          .arg(skyttar),
                      QStringLiteral("Fel vid radering")};
    return std::nullopt;
}

std::optional<Vagran> taBort(Databas& db, int omg) {
    std::optional<Vagran> vagran;
    db.transaktion([&] {
        vagran = borttagVagras(db, omg);
        if (!vagran)
            db.kor(QStringLiteral("DELETE FROM [Tävlings omg] WHERE Omg = ?"), {omg});
    });
    return vagran;
}

} // namespace Omgangar
