#include "competition/Lagtavlingar.h"

#include "common/Databasnamn.h"
#include "platform/Databas.h"
#include "platform/Meddelanden.h"
#include "shell/modGlobalt.h"

namespace Lagtavlingar {

namespace {

using Ikon = Meddelanden::Ikon;
const QString FelTitel = QStringLiteral("Fel");

const QString Kolumner =
    QStringLiteral("SELECT Lagtävling, Lagtävlingsnamn, [Antal skyttar], [Antal skott], Omg, [Sport/Nat] "
                   "FROM Lagtävling");

Lagtavling post(const QSqlQuery& q) {
    Lagtavling l;
    l.nyckel = q.value(0).toLongLong();
    l.namn = q.value(1).toString();
    l.antalSkyttar = q.value(2).toInt();
    l.antalSkott = q.value(3).toInt();
    l.omg = q.value(4).toInt();
    l.sportNat = q.value(5).toString();
    return l;
}

void meddela(Meddelanden* m, const QString& text, const QString& titel = FelTitel) {
    if (m)
        m->visa(text, titel, Ikon::Kritisk);
}

// A whole number typed in a box, or nothing when the text is none.
std::optional<int> heltal(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

bool omgangFinns(const Databas& db, int omg) {
    return db.varde(QStringLiteral("SELECT 1 FROM [Tävlings omg] WHERE Omg = ?"), {omg}).isValid();
}

// Writes one field of a team competition that has no teams (sql: the UPDATE
// with the value first and the key second).
Utfall skriv(Databas& db, qint64 nyckel, const QString& sql, const QVariant& varde) {
    Utfall u = Utfall::Sparad;
    db.transaktion([&] {
        if (LagtavlingAnvands(db, nyckel)) {
            u = Utfall::HarLag;
            return;
        }
        db.kor(sql, {varde, nyckel});
    });
    return u;
}

} // namespace

QList<Lagtavling> lista(const Databas& db) {
    QSqlQuery q = db.kor(Kolumner + QStringLiteral(" ORDER BY Lagtävling"));
    QList<Lagtavling> alla;
    while (q.next())
        alla << post(q);
    return alla;
}

std::optional<Lagtavling> hamta(const Databas& db, qint64 nyckel) {
    QSqlQuery q = db.kor(Kolumner + QStringLiteral(" WHERE Lagtävling = ?"), {nyckel});
    if (!q.next())
        return std::nullopt;
    return post(q);
}

bool finnsLag(const Databas& db) {
    return db.varde(QStringLiteral("SELECT 1 FROM Lag LIMIT 1")).isValid();
}

bool LagtavlingAnvands(const Databas& db, qint64 nyckel) {
    return db.varde(QStringLiteral("SELECT 1 FROM Lag WHERE Lagtävling = ? LIMIT 1"), {nyckel}).isValid();
}

bool namnUpptaget(const Databas& db, const QString& namn, qint64 utom) {
    // The column's Swedish collation makes = ignore letter case.
    return db
        .varde(
            QStringLiteral("SELECT 1 FROM Lagtävling WHERE Lagtävlingsnamn = ? AND Lagtävling <> ? LIMIT 1"),
            {namn.trimmed(), utom})
        .isValid();
}

bool omgangSaknas(const modGlobalt& g) {
    return g.blnFleraTavlingar &&
           !g.cnnTavling.varde(QStringLiteral("SELECT 1 FROM [Tävlings omg]")).isValid();
}

bool kanSkapa(const modGlobalt& g, Meddelanden& m) {
    if (!omgangSaknas(g))
        return true;
    meddela(&m, QStringLiteral("Du måste skapa minst en tävling innan du får skapa något lag!"));
    return false;
}

bool kanVisa(const modGlobalt& g, Meddelanden& m) {
    if (!omgangSaknas(g))
        return true;
    meddela(&m, QStringLiteral("Du måste skapa minst en tävling innan du får visa något lag!"));
    return false;
}

Ny NyLagtavling(modGlobalt& g, Meddelanden& m) {
    Ny ny;
    if (!kanSkapa(g, m))
        return ny;
    const std::optional<QString> svar =
        m.inmatning(QStringLiteral("Vad ska den nya lagtävlingen heta?"), QStringLiteral("Ny lagtävling"));
    if (!svar || svar->trimmed().isEmpty())
        return ny;
    const QString namn = svar->trimmed();
    Databas& db = g.cnnTavling;
    db.transaktion([&] {
        if (namnUpptaget(db, namn)) {
            ny.namnUpptaget = true;
            return;
        }
        int omg = 0;
        if (g.blnFleraTavlingar)
            omg = db.varde(QStringLiteral("SELECT Omg FROM [Tävlings omg] ORDER BY Omg LIMIT 1")).toInt();
        db.kor(QStringLiteral("INSERT INTO Lagtävling (Lagtävlingsnamn, [Antal skyttar], [Antal skott], Omg, "
                              "[Sport/Nat]) VALUES (?, ?, ?, ?, ?)"),
               {namn, NyAntalSkyttar, g.blnNationellt ? NyAntalSkottNationellt : NyAntalSkott, omg,
                g.blnNationellt ? Nat : Sport});
        ny.nyckel = db.varde(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
    });
    if (ny.namnUpptaget)
        meddela(&m, QStringLiteral("Lagtävlingen finns redan, du måste välja ett nytt namn!"));
    return ny;
}

Utfall sparaNamn(Databas& db, Meddelanden* m, qint64 nyckel, const QString& text) {
    const QString namn = text.trimmed();
    const std::optional<Lagtavling> l = hamta(db, nyckel);
    if (!l || l->namn == namn)
        return Utfall::Sparad;
    if (namn.isEmpty()) {
        meddela(m, QStringLiteral("Du måste ange ett namn på lagtävlingen!"));
        return Utfall::Nekad;
    }
    if (namnUpptaget(db, namn, nyckel)) {
        meddela(m, QStringLiteral("Lagtävlingen finns redan, du måste välja ett nytt namn!"));
        return Utfall::Nekad;
    }
    return skriv(db, nyckel, QStringLiteral("UPDATE Lagtävling SET Lagtävlingsnamn = ? WHERE Lagtävling = ?"),
                 namn);
}

Utfall sparaAntalSkyttar(Databas& db, Meddelanden* m, qint64 nyckel, const QString& text) {
    const std::optional<int> antal = heltal(text);
    const std::optional<Lagtavling> l = hamta(db, nyckel);
    if (!l || (antal && *antal == l->antalSkyttar))
        return Utfall::Sparad;
    // A team of nobody is as good as no number at all.
    if (!antal || *antal < MinstaAntalSkyttar) {
        meddela(m, QStringLiteral("Du måste ange antalet skyttar!"));
        return Utfall::Nekad;
    }
    return skriv(db, nyckel, QStringLiteral("UPDATE Lagtävling SET [Antal skyttar] = ? WHERE Lagtävling = ?"),
                 *antal);
}

Utfall sparaAntalSkott(Databas& db, Meddelanden* m, qint64 nyckel, const QString& text) {
    const std::optional<int> antal = heltal(text);
    const std::optional<Lagtavling> l = hamta(db, nyckel);
    if (!l || (antal && *antal == l->antalSkott))
        return Utfall::Sparad;
    if (text.trimmed().isEmpty()) {
        meddela(m, QStringLiteral("Du måste ange antalet skott!"));
        return Utfall::Nekad;
    }
    if (!antal || *antal < MinstaAntalSkott || *antal > StorstaAntalSkott) {
        meddela(m, QStringLiteral("Du får bara välja antal mellan 10 och 60 skott!"),
                QStringLiteral("Fel antal"));
        return Utfall::Nekad;
    }
    return skriv(db, nyckel, QStringLiteral("UPDATE Lagtävling SET [Antal skott] = ? WHERE Lagtävling = ?"),
                 *antal);
}

Utfall sparaOmg(Databas& db, qint64 nyckel, int omg) {
    const std::optional<Lagtavling> l = hamta(db, nyckel);
    if (!l)
        return Utfall::Sparad;
    if (omg != 0 && !omgangFinns(db, omg))
        omg = 0;
    if (omg == l->omg)
        return Utfall::Sparad;
    return skriv(db, nyckel, QStringLiteral("UPDATE Lagtävling SET Omg = ? WHERE Lagtävling = ?"), omg);
}

Utfall sparaSportNat(Databas& db, qint64 nyckel, const QString& text) {
    const QString varde = text == Nat ? Nat : Sport;
    const std::optional<Lagtavling> l = hamta(db, nyckel);
    if (!l || l->sportNat == varde)
        return Utfall::Sparad;
    return skriv(db, nyckel, QStringLiteral("UPDATE Lagtävling SET [Sport/Nat] = ? WHERE Lagtävling = ?"),
                 varde);
}

bool taBort(Databas& db, Meddelanden& m, qint64 nyckel) {
    const std::optional<Lagtavling> l = hamta(db, nyckel);
    if (!l)
        return false;
    if (m.visa(QStringLiteral("Är du säker på att du vill radera lagtävlingen: ") + l->namn,
               QStringLiteral("Bekräfta"), Ikon::Fraga, Meddelanden::Knappar::JaNej) != Meddelanden::Svar::Ja)
        return false;
    bool harLag = false;
    db.transaktion([&] {
        harLag = LagtavlingAnvands(db, nyckel);
        if (!harLag)
            db.kor(QStringLiteral("DELETE FROM Lagtävling WHERE Lagtävling = ?"), {nyckel});
    });
    if (harLag) {
        meddela(&m, QStringLiteral("Du kan inte radera en lagtävling när det finns lag i den!"));
        return false;
    }
    return true;
}

bool FinnsLag(const Databas& db, Meddelanden& m) {
    if (db.varde(QStringLiteral("SELECT 1 FROM Lagtävling LIMIT 1")).isValid())
        return true;
    meddela(&m, QStringLiteral("Du måste ha minst en lagtävling") + QLatin1Char('\r') +
                    QStringLiteral("när du har kryssat i att det ska finnas lagtävlingar!"));
    return false;
}

} // namespace Lagtavlingar
