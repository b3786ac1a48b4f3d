#include "competition/Skjuttider.h"

#include "platform/Databas.h"

#include <QSqlQuery>

namespace Skjuttider {

QString felkod(int nummer) {
    return QStringLiteral("Felkod: ") + QString::number(nummer);
}

QString las(const Databas& db, int skjutlag) {
    return db.varde(QStringLiteral("SELECT Skjuttid FROM Skjuttider WHERE Skjutlag = ? LIMIT 1"), {skjutlag})
        .toString();
}

void skriv(Databas& db, int skjutlag, const QString& skjuttid) {
    // A text never set would be bound as NULL, which the field refuses: no time is "".
    const QString text = skjuttid.isNull() ? QStringLiteral("") : skjuttid;
    db.transaktion([&] {
        const QSqlQuery q =
            db.kor(QStringLiteral("UPDATE Skjuttider SET Skjuttid = ? WHERE Skjutlag = ?"), {text, skjutlag});
        if (q.numRowsAffected() == 0)
            db.kor(QStringLiteral("INSERT INTO Skjuttider (Skjutlag, Skjuttid) VALUES (?, ?)"),
                   {skjutlag, text});
    });
}

// The table has no unique index on Skjutlag, so one UPDATE can shift the
// numbers without meeting itself halfway.
void infoga(Databas& db, int skjutlag) {
    db.transaktion([&] {
        db.kor(QStringLiteral("UPDATE Skjuttider SET Skjutlag = Skjutlag + 1 WHERE Skjutlag >= ?"),
               {skjutlag});
    });
}

void taBort(Databas& db, int skjutlag) {
    db.transaktion([&] {
        db.kor(QStringLiteral("DELETE FROM Skjuttider WHERE Skjutlag = ?"), {skjutlag});
        db.kor(QStringLiteral("UPDATE Skjuttider SET Skjutlag = Skjutlag - 1 WHERE Skjutlag > ?"),
               {skjutlag});
    });
}

void radera(Databas& db, int skjutlag) {
    db.transaktion([&] { db.kor(QStringLiteral("DELETE FROM Skjuttider WHERE Skjutlag = ?"), {skjutlag}); });
}

QList<Rad> alla(const Databas& db) {
    QList<Rad> rader;
    QSqlQuery q =
        db.kor(QStringLiteral("SELECT Skjutlag, Skjuttid FROM Skjuttider ORDER BY Skjutlag, rowid"));
    while (q.next())
        rader.append({q.value(0).toInt(), q.value(1).toString()});
    return rader;
}

} // namespace Skjuttider

QString HanteraSkjuttid(Databas& db, int skjutlag, int& lage, const QString& skjuttid, int atgard) {
    switch (atgard) {
    case Skjuttider::Infoga:
        Skjuttider::infoga(db, skjutlag);
        return {};
    case Skjuttider::TaBort:
        Skjuttider::taBort(db, skjutlag);
        return {};
    default:
        break;
    }
    if (lage != Skjuttider::Las) {
        Skjuttider::skriv(db, skjutlag, skjuttid);
        lage = Skjuttider::Las;
        return {};
    }
    try {
        return Skjuttider::las(db, skjutlag);
    } catch (const Fel& fel) {
        return Skjuttider::felkod(fel.nummer());
    }
}
