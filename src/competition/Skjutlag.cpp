#include "competition/Skjutlag.h"

#include "common/Databasnamn.h"
#include "common/Fel.h"
#include "competition/Skjuttider.h"
#include "platform/Databas.h"
#include "platform/Meddelanden.h"
#include "shell/Tavling.h"
#include "shell/modGlobalt.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {
using Ikon = Meddelanden::Ikon;
using Knappar = Meddelanden::Knappar;
using Svar = Meddelanden::Svar;

// Lanes whose Startnummer points at a real shooter. A lane that points at a
// shooter row that is gone is free like one that points at the placeholder.
const QString UpptagnaBanor =
    QStringLiteral("SELECT COUNT(*) FROM Skjutlag s "
                   "JOIN Skyttar k ON k.Löpnummer = s.Startnummer AND k.Löpnummer <> ? "
                   "WHERE s.Skjutlag = ?");

bool harSkyttar(const Databas& db, int skjutlag) {
    return db.varde(UpptagnaBanor, {PlatshallareLopnummer, skjutlag}).toInt() > 0;
}

// The lanes 1..N of squad n that have no row yet. A database whose squad
// numbers have a gap (mended by hand, or written by another program) may
// already hold rows under the new number, and a lane must never have two rows.
void laggTillSaknadeBanor(Databas& db, int skjutlag, int banor) {
    if (banor < 1)
        return;
    db.kor(
        QStringLiteral("WITH RECURSIVE b(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM b WHERE n < ?) "
                       "INSERT INTO Skjutlag (Skjutlag, Bana) SELECT ?, n FROM b "
                       "WHERE NOT EXISTS (SELECT 1 FROM Skjutlag s WHERE s.Skjutlag = ? AND s.Bana = b.n)"),
        {banor, skjutlag, skjutlag});
}

// Runs the database part of a squad operation in one transaction, then writes
// the count the database now holds to the INI. The rows are the squads: a
// write that fails, or a program stopped before it, leaves only the INI's
// mirror behind, which the next opening of the competition puts right.
template <class F> void andraSkjutlag(modGlobalt& g, F&& andring) {
    g.cnnTavling.transaktion(std::forward<F>(andring));
    // Committed is done: nothing after it may report the operation as failed.
    try {
        (void)Tavling::rattaAntalSkjutlag(g);
    } catch (const Fel&) {
    }
}

bool fraga(Meddelanden& m, const QString& text) {
    return m.visa(text, QStringLiteral("Bekräfta"), Ikon::Fraga, Knappar::JaNej) == Svar::Ja;
}

void fullt(Meddelanden& m) {
    m.visa(QStringLiteral("Det går inte att skapa flera skjutlag."), QStringLiteral("Fullt."), Ikon::Kritisk);
}

// The checks both deletes share: not the only squad, the operator agrees, and
// nobody left on the squad's lanes.
Skjutlag::Utfall farTaBort(const modGlobalt& g, Meddelanden& m, int antal, int skjutlag) {
    if (antal <= 1) {
        m.visa(QStringLiteral("Du får inte ta bort 1:a skjutlaget!"), QStringLiteral("Fel"), Ikon::Kritisk);
        return Skjutlag::Utfall::Vagrat;
    }
    if (!fraga(m, QStringLiteral("Är du säker på att du vill ta bort skjutlag %1?").arg(skjutlag)))
        return Skjutlag::Utfall::Avbrutet;
    if (harSkyttar(g.cnnTavling, skjutlag)) {
        m.visa(QStringLiteral("Det går inte att ta bort skjutlaget för det finns fortfarande skyttar i det!"),
               QStringLiteral("Fel"), Ikon::Kritisk);
        return Skjutlag::Utfall::Vagrat;
    }
    return Skjutlag::Utfall::Klart;
}
} // namespace

namespace Skjutlag {

int antal(const Databas& db) {
    return Tavling::antalSkjutlag(db);
}

bool Rad::ledig() const {
    return lopnummer == PlatshallareLopnummer;
}

QList<Rad> vy(const Databas& db, int skjutlag) {
    // The lane and the joined shooter's key come first and are read by their
    // places, the shooter's row after them; a lane whose row points at no
    // shooter, or at the placeholder, has no key.
    QSqlQuery q =
        db.kor(QStringLiteral("SELECT s.Bana, k.Löpnummer, %1 FROM Skjutlag s "
                              "LEFT JOIN Skyttar k ON k.Löpnummer = s.Startnummer AND k.Löpnummer <> ? "
                              "WHERE s.Skjutlag = ? ORDER BY s.Bana, s.rowid")
                   .arg(Skytt::kolumner(QStringLiteral("k"))),
               {PlatshallareLopnummer, skjutlag});
    QList<Rad> rader;
    while (q.next()) {
        Rad r;
        r.bana = q.value(0).toInt();
        if (!q.value(1).isNull()) {
            r.skytt = Skytt::fran(q, 2);
            r.lopnummer = r.skytt.lopnummer;
            r.namn = r.skytt.namn;
            r.efternamn = r.skytt.efternamn;
            r.forening = r.skytt.forening;
            r.klass = r.skytt.klass;
            r.licensnr = r.skytt.licensnr;
            r.omg = r.skytt.omg;
            r.startnr = r.skytt.startnr;
        }
        rader << r;
    }
    return rader;
}

int ledigaBanor(const Databas& db, int skjutlag) {
    return db
        .varde(QStringLiteral("SELECT COUNT(*) FROM Skjutlag s "
                              "LEFT JOIN Skyttar k ON k.Löpnummer = s.Startnummer AND k.Löpnummer <> ? "
                              "WHERE s.Skjutlag = ? AND k.Löpnummer IS NULL"),
               {PlatshallareLopnummer, skjutlag})
        .toInt();
}

QList<int> ledigaPerSkjutlag(const Databas& db, int antal) {
    QList<int> lediga(qMax(antal, 0), 0);
    QSqlQuery q =
        db.kor(QStringLiteral("SELECT s.Skjutlag, COUNT(*) FROM Skjutlag s "
                              "LEFT JOIN Skyttar k ON k.Löpnummer = s.Startnummer AND k.Löpnummer <> ? "
                              "WHERE k.Löpnummer IS NULL AND s.Skjutlag BETWEEN 1 AND ? "
                              "GROUP BY s.Skjutlag"),
               {PlatshallareLopnummer, antal});
    while (q.next())
        lediga[q.value(0).toInt() - 1] = q.value(1).toInt();
    return lediga;
}

bool hittaPlats(const Databas& db, qint64 lopnummer, Plats& plats) {
    QSqlQuery q = db.kor(QStringLiteral("SELECT Skjutlag, Bana FROM Skjutlag WHERE Startnummer = ? "
                                        "ORDER BY Skjutlag, Bana LIMIT 1"),
                         {lopnummer});
    if (!q.next())
        return false;
    plats.skjutlag = q.value(0).toInt();
    plats.bana = q.value(1).toInt();
    return true;
}

Utfall laggTill(modGlobalt& g, Meddelanden& m) {
    const int gammalt = antal(g.cnnTavling);
    if (gammalt >= StorstaAntal) {
        fullt(m);
        return Utfall::Vagrat;
    }
    const int nytt = gammalt + 1;
    andraSkjutlag(g, [&] { laggTillSaknadeBanor(g.cnnTavling, nytt, g.intSkjutlagsstorlek); });
    return Utfall::Klart;
}

Utfall infoga(modGlobalt& g, Meddelanden& m, int fore, Resultatinskrivning inskrivning) {
    // Result entry shows a squad by its number; its own window keeps this one
    // from being used meanwhile, and this keeps the numbers still regardless.
    if (inskrivning == Resultatinskrivning::Oppen)
        return Utfall::Sparrat;
    const int gammalt = antal(g.cnnTavling);
    if (gammalt >= StorstaAntal) {
        fullt(m);
        return Utfall::Vagrat;
    }
    if (fore < 1 || fore > gammalt)
        return Utfall::Vagrat;
    if (!fraga(m, QStringLiteral("Vill du infoga ett nytt skjutlag före skjutlag %1?").arg(fore)))
        return Utfall::Avbrutet;
    Databas& db = g.cnnTavling;
    andraSkjutlag(g, [&] {
        db.kor(QStringLiteral("UPDATE Skjutlag SET Skjutlag = Skjutlag + 1 WHERE Skjutlag >= ?"), {fore});
        int lage = Skjuttider::Las;
        HanteraSkjuttid(db, fore, lage, QString(), Skjuttider::Infoga);
        laggTillSaknadeBanor(db, fore, g.intSkjutlagsstorlek);
    });
    return Utfall::Klart;
}

Utfall taBortSista(modGlobalt& g, Meddelanden& m, Resultatinskrivning inskrivning) {
    if (inskrivning == Resultatinskrivning::Oppen)
        return Utfall::Sparrat;
    const int gammalt = antal(g.cnnTavling);
    const Utfall kontroll = farTaBort(g, m, gammalt, gammalt);
    if (kontroll != Utfall::Klart)
        return kontroll;
    // The last squad's time stays: a squad appended later under its number
    // gets it back.
    andraSkjutlag(
        g, [&] { g.cnnTavling.kor(QStringLiteral("DELETE FROM Skjutlag WHERE Skjutlag = ?"), {gammalt}); });
    return Utfall::Klart;
}

Utfall taBortValt(modGlobalt& g, Meddelanden& m, int skjutlag, Resultatinskrivning inskrivning) {
    if (inskrivning == Resultatinskrivning::Oppen)
        return Utfall::Sparrat;
    const int gammalt = antal(g.cnnTavling);
    if (gammalt > 1 && (skjutlag < 1 || skjutlag > gammalt))
        return Utfall::Vagrat;
    const Utfall kontroll = farTaBort(g, m, gammalt, skjutlag);
    if (kontroll != Utfall::Klart)
        return kontroll;
    Databas& db = g.cnnTavling;
    andraSkjutlag(g, [&] {
        db.kor(QStringLiteral("DELETE FROM Skjutlag WHERE Skjutlag = ?"), {skjutlag});
        db.kor(QStringLiteral("UPDATE Skjutlag SET Skjutlag = Skjutlag - 1 WHERE Skjutlag > ?"), {skjutlag});
        int lage = Skjuttider::Las;
        HanteraSkjuttid(db, skjutlag, lage, QString(), Skjuttider::TaBort);
    });
    return Utfall::Klart;
}

} // namespace Skjutlag
