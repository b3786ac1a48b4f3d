#include "competition/Lag.h"

#include "common/Databasnamn.h"
#include "common/Fel.h"
#include "competition/Lagtavlingar.h"
#include "platform/Databas.h"
#include "platform/Meddelanden.h"
#include "shell/Delade.h"

namespace Lag {

namespace {

using Ikon = Meddelanden::Ikon;

// The numbers the old database engine gave these failures.
constexpr int IngenAktuellPost = 3021;
constexpr int DubbletterIIndex = 3022;
constexpr int OgiltigtArgument = 5;

const QString Kolumner = QStringLiteral("SELECT [Lag nr], Lagnamn, Lagtävling FROM Lag");

Lagpost post(const QSqlQuery& q) {
    return {q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toLongLong()};
}

} // namespace

QList<Lagpost> lista(const Databas& db, qint64 lagtavling) {
    QSqlQuery q = db.kor(Kolumner + QStringLiteral(" WHERE Lagtävling = ? ORDER BY [Lag nr]"), {lagtavling});
    QList<Lagpost> alla;
    while (q.next())
        alla << post(q);
    return alla;
}

std::optional<Lagpost> hamta(const Databas& db, qint64 nr) {
    QSqlQuery q = db.kor(Kolumner + QStringLiteral(" WHERE [Lag nr] = ?"), {nr});
    if (!q.next())
        return std::nullopt;
    return post(q);
}

bool namnUpptaget(const Databas& db, const QString& namn) {
    // The column's Swedish collation makes = ignore letter case, Å, Ä and Ö included.
    return db.varde(QStringLiteral("SELECT 1 FROM Lag WHERE Lagnamn = ? LIMIT 1"), {namn.trimmed()})
        .isValid();
}

Namnprov provaNamn(const Databas& db, const QString& namn) {
    const QString t = namn.trimmed();
    if (t.isEmpty())
        return Namnprov::Tomt;
    // A team name has never held an apostrophe, in any version of the program.
    if (Delade::InnehallerApostrof(t))
        return Namnprov::Apostrof;
    if (namnUpptaget(db, t))
        return Namnprov::Upptaget;
    return Namnprov::Godkant;
}

qint64 skapa(Databas& db, qint64 lagtavling, const QString& namn) {
    const QString t = namn.trimmed();
    qint64 nr = 0;
    db.transaktion([&] {
        switch (provaNamn(db, t)) {
        case Namnprov::Godkant:
            break;
        case Namnprov::Tomt:
            throw Fel(OgiltigtArgument, QStringLiteral("Laget måste ha ett namn."));
        case Namnprov::Apostrof:
            throw Fel(OgiltigtArgument, QStringLiteral("Du har skrivit ett felaktigt tecken i namnet!"));
        case Namnprov::Upptaget:
            throw Fel(DubbletterIIndex, QStringLiteral("Det laget fanns redan!"));
        }
        if (!Lagtavlingar::hamta(db, lagtavling))
            throw Fel(IngenAktuellPost, QStringLiteral("Lagtävlingen finns inte längre."));
        db.kor(QStringLiteral("INSERT INTO Lag (Lagnamn, Lagtävling) VALUES (?, ?)"), {t, lagtavling});
        nr = db.varde(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
    });
    return nr;
}

std::optional<Nytt> NyttLag(Databas& db, Meddelanden& m, qint64 lagtavling,
                            const std::function<void()>& pip) {
    const QString titel = QStringLiteral("Nytt lag");
    std::optional<QString> svar = m.inmatning(QStringLiteral("Vad ska laget heta?"), titel);
    while (svar && !svar->trimmed().isEmpty()) {
        QString skal;
        switch (provaNamn(db, *svar)) {
        case Namnprov::Godkant:
            return Nytt{skapa(db, lagtavling, *svar), svar->trimmed()};
        case Namnprov::Tomt:
            return std::nullopt;
        case Namnprov::Apostrof:
            skal = QStringLiteral("Du har skrivit ett felaktigt tecken i namnet!");
            break;
        case Namnprov::Upptaget:
            skal = QStringLiteral("Det laget fanns redan!");
            break;
        }
        if (pip)
            pip();
        svar = m.inmatning(skal + QStringLiteral("\rDu måste välja ett nytt namn."), titel);
    }
    return std::nullopt;
}

void radera(Databas& db, qint64 nr) {
    db.transaktion([&] {
        db.kor(QStringLiteral("UPDATE Skyttar SET Lag = 0, Lagserier = 0 WHERE Lag = ? AND Löpnummer <> ?"),
               {nr, PlatshallareLopnummer});
        db.kor(QStringLiteral("DELETE FROM Lag WHERE [Lag nr] = ?"), {nr});
    });
}

bool taBort(Databas& db, Meddelanden& m, qint64 nr) {
    const std::optional<Lagpost> lag = hamta(db, nr);
    if (!lag)
        return false;
    if (m.visa(QStringLiteral("Är du säker på att du vill radera laget:\r") + lag->namn + QStringLiteral("?"),
               QStringLiteral("Bekräfta"), Ikon::Fraga, Meddelanden::Knappar::JaNej) != Meddelanden::Svar::Ja)
        return false;
    radera(db, nr);
    return true;
}

} // namespace Lag
