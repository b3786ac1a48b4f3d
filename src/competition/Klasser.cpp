#include "competition/Klasser.h"

#include "common/Databasnamn.h"
#include "common/Fel.h"
#include "competition/Klassmodell.h"
#include "platform/Databas.h"
#include "platform/Meddelanden.h"
#include "shell/modGlobalt.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {
using Ikon = Meddelanden::Ikon;

using Klassmodell::Nat;
using Klassmodell::Sport;

[[noreturn]] void klassenFinnsInte() {
    throw Fel(Klasser::RadenFinnsInte, QStringLiteral("Klassen finns inte längre."));
}
} // namespace

Klasser::Klasser(modGlobalt& g, Meddelanden& m) : m_g(g), m_m(m) {}

Databas& Klasser::db() const {
    return m_g.cnnTavling;
}

const QString& Klasser::tabell() const {
    return m_g.klasstabell();
}

bool Klasser::mixad() const {
    return m_g.blnMix;
}

QList<Klass> Klasser::las(const QString& villkor, const QVariantList& varden) const {
    return Klassmodell::lasKlasser(m_g, villkor, varden);
}

QList<Klass> Klasser::lista() const {
    return las({}, {});
}

Klass Klasser::klass(qint64 raknare) const {
    const QList<Klass> k = las(QStringLiteral("WHERE Räknare = ?"), {raknare});
    if (k.isEmpty())
        klassenFinnsInte();
    return k.first();
}

QList<Klass> Klasser::friaKlasser() const {
    return las(QStringLiteral("WHERE Sammanslagen = 0"), {});
}

QList<Klass> Klasser::klasserI(qint64 huvudklass) const {
    return las(QStringLiteral("WHERE Sammanslagen = ?"), {huvudklass});
}

Klasser::Utfall Klasser::vagra(Utfall u) const {
    visa(u, m_m);
    return u;
}

// The number as typed; anything that is no whole number counts as outside every
// range.
int Klasser::antalSkott(const Uppgifter& u) const {
    bool ok = false;
    const int n = u.antalSkott.toInt(&ok);
    return ok ? n : -1;
}

Klasser::Utfall Klasser::kontrollera(const Uppgifter& u) const {
    // Characters, not UTF-16 units: the table's own check counts the same way.
    if (u.kod.toUcs4().size() > MaxTeckenIKod)
        return vagra(Utfall::ForLang);
    if (u.kod.isEmpty() || u.namn.isEmpty() || u.antalSkott.isEmpty() || (mixad() && u.sportNat.isEmpty()))
        return vagra(Utfall::Ofullstandig);
    // A mixed competition sorts its classes by the kind; a class must be one of them.
    if (mixad() && u.sportNat != Sport && u.sportNat != Nat)
        return vagra(Utfall::Ofullstandig);
    const bool nationell =
        Klassmodell::slag(Klassmodell::tavlingsslag(m_g), u.sportNat, 0) == Klassslag::Nationell;
    const int storsta = nationell ? StorstaAntalSkottNationellt : StorstaAntalSkottSport;
    const int n = antalSkott(u);
    if (n < MinstaAntalSkott || n > storsta)
        return vagra(nationell ? Utfall::SkottNationellt : Utfall::SkottSport);
    return Utfall::Ok;
}

Klasser::Utfall Klasser::laggTill(const Uppgifter& u) {
    if (const Utfall k = kontrollera(u); k != Utfall::Ok)
        return k;
    Utfall utfall = Utfall::Ok;
    db().transaktion([&] {
        if (db().varde(QStringLiteral("SELECT Räknare FROM %1 WHERE Klass = ?").arg(tabell()), {u.kod})
                .isValid()) {
            utfall = Utfall::Dublett;
            return;
        }
        if (mixad())
            db().kor(QStringLiteral("INSERT INTO %1 (Klass, Klassnamn, [Antal skott], [Sport/Nat]) "
                                    "VALUES (?, ?, ?, ?)")
                         .arg(tabell()),
                     {u.kod, u.namn, antalSkott(u), u.sportNat});
        else
            db().kor(QStringLiteral("INSERT INTO %1 (Klass, Klassnamn, [Antal skott]) VALUES (?, ?, ?)")
                         .arg(tabell()),
                     {u.kod, u.namn, antalSkott(u)});
    });
    return utfall == Utfall::Ok ? utfall : vagra(utfall);
}

Klasser::Utfall Klasser::andra(qint64 raknare, const Uppgifter& u) {
    if (const Utfall k = kontrollera(u); k != Utfall::Ok)
        return k;
    Utfall utfall = Utfall::Ok;
    db().transaktion([&] {
        const Klass gammal = klass(raknare);
        // The class itself in another letter case is no duplicate.
        if (db().varde(
                    QStringLiteral("SELECT Räknare FROM %1 WHERE Klass = ? AND Räknare <> ?").arg(tabell()),
                    {u.kod, raknare})
                .isValid()) {
            utfall = Utfall::Dublett;
            return;
        }
        QString sql =
            QStringLiteral("UPDATE %1 SET Klass = ?, Klassnamn = ?, [Antal skott] = ?, Sammanslagen = 0")
                .arg(tabell());
        QVariantList varden{u.kod, u.namn, antalSkott(u)};
        if (mixad()) {
            sql += QStringLiteral(", [Sport/Nat] = ?");
            varden << u.sportNat;
        }
        varden << raknare;
        db().kor(sql + QStringLiteral(" WHERE Räknare = ?"), varden);
        // Exact comparison: a code that only changes its letter case is written
        // to the shooters too, so that they show it as the class does.
        if (u.kod != gammal.kod)
            db().kor(QStringLiteral("UPDATE Skyttar SET Klass = ? WHERE Klass = ?"), {u.kod, gammal.kod});
    });
    return utfall == Utfall::Ok ? utfall : vagra(utfall);
}

bool Klasser::anvandsAvSkyttar(qint64 raknare) const {
    return db()
        .varde(QStringLiteral("SELECT 1 FROM Skyttar WHERE Klass = ? LIMIT 1"), {klass(raknare).kod})
        .isValid();
}

Klasser::Utfall Klasser::taBort(qint64 raknare) {
    const Klass k = klass(raknare);
    if (anvandsAvSkyttar(raknare))
        return vagra(Utfall::FinnsBlandSkyttar);
    if (m_m.visa(QStringLiteral("Vill du verkligen ta bort klassen ") + k.namn + QStringLiteral("?"),
                 QStringLiteral("Bekräfta"), Ikon::Fraga,
                 Meddelanden::Knappar::JaNej) != Meddelanden::Svar::Ja)
        return Utfall::Avbrutet;
    db().kor(QStringLiteral("DELETE FROM %1 WHERE Räknare = ?").arg(tabell()), {raknare});
    return Utfall::Ok;
}

QList<Klass> Klasser::huvudklasser() const {
    QSqlQuery q = db().kor(QStringLiteral("SELECT Räknare, HuvudKlassnamn, HuvudKlassbeskr, [Antal skott], "
                                          "[Sport/Nat] FROM SammanslagningKlasser ORDER BY Räknare"));
    QList<Klass> klasser;
    while (q.next())
        klasser << Klass::fran(q.record());
    return klasser;
}

Klass Klasser::huvudklass(qint64 raknare) const {
    QSqlQuery q = db().kor(QStringLiteral("SELECT Räknare, HuvudKlassnamn, HuvudKlassbeskr, [Antal skott], "
                                          "[Sport/Nat] FROM SammanslagningKlasser WHERE Räknare = ?"),
                           {raknare});
    if (!q.next())
        throw Fel(RadenFinnsInte, QStringLiteral("Huvudklassen finns inte längre."));
    return Klass::fran(q.record());
}

Klasser::Utfall Klasser::nyHuvudklass(const Uppgifter& u) {
    if (const Utfall k = kontrollera(u); k != Utfall::Ok)
        return k;
    Utfall utfall = Utfall::Ok;
    db().transaktion([&] {
        if (db().varde(QStringLiteral("SELECT Räknare FROM SammanslagningKlasser WHERE HuvudKlassnamn = ?"),
                       {u.kod})
                .isValid()) {
            utfall = Utfall::Dublett;
            return;
        }
        db().kor(QStringLiteral("INSERT INTO SammanslagningKlasser (HuvudKlassnamn, HuvudKlassbeskr, "
                                "[Antal skott], [Sport/Nat]) VALUES (?, ?, ?, ?)"),
                 {u.kod, u.namn, antalSkott(u), mixad() ? u.sportNat : QStringLiteral("")});
    });
    return utfall == Utfall::Ok ? utfall : vagra(utfall);
}

Klasser::Utfall Klasser::slaSamman(qint64 klassRaknare, qint64 huvudklassRaknare) {
    const Klass h = huvudklass(huvudklassRaknare);
    const Klass k = klass(klassRaknare);
    if (h.antalSkott != k.antalSkott)
        return vagra(Utfall::FelAntalSkott);
    if (mixad() && h.sportNat != k.sportNat)
        return vagra(Utfall::FelSportNat);
    db().kor(QStringLiteral("UPDATE %1 SET Sammanslagen = ? WHERE Räknare = ?").arg(tabell()),
             {huvudklassRaknare, klassRaknare});
    return Utfall::Ok;
}

void Klasser::lyftUr(qint64 klassRaknare) {
    if (db().kor(QStringLiteral("UPDATE %1 SET Sammanslagen = 0 WHERE Räknare = ?").arg(tabell()),
                 {klassRaknare})
            .numRowsAffected() == 0)
        klassenFinnsInte();
}

void Klasser::raderaHuvudklass(qint64 huvudklassRaknare) {
    db().transaktion([&] {
        db().kor(QStringLiteral("UPDATE %1 SET Sammanslagen = 0 WHERE Sammanslagen = ?").arg(tabell()),
                 {huvudklassRaknare});
        db().kor(QStringLiteral("DELETE FROM SammanslagningKlasser WHERE Räknare = ?"), {huvudklassRaknare});
    });
}

void Klasser::visa(Utfall u, Meddelanden& m) {
    const auto fel = [&m](const QString& text, const QString& titel) { m.visa(text, titel, Ikon::Kritisk); };
    switch (u) {
    case Utfall::ForLang:
        fel(QStringLiteral("Det får bara vara 6 tecken i Fältet Klass!"), QStringLiteral("För många tecken"));
        break;
    case Utfall::Ofullstandig:
        fel(QStringLiteral("Du måste fylla i alla rutorna!"), QStringLiteral("Inte ifyllt"));
        break;
    case Utfall::SkottNationellt:
        fel(QStringLiteral("Antal skott måste vara mellan 10 och 40!"), QStringLiteral("Fel"));
        break;
    case Utfall::SkottSport:
        fel(QStringLiteral("Antal skott måste vara mellan 10 och 60!"), QStringLiteral("Fel"));
        break;
    case Utfall::Dublett:
        fel(QStringLiteral("Du får inte skapa en klass som redan finns!"), QStringLiteral("Dublett"));
        break;
    case Utfall::FinnsBlandSkyttar:
        fel(QStringLiteral("Klassen finns inskriven bland skyttarna, därför kan du inte tabort den!"),
            QStringLiteral("Fel"));
        break;
    case Utfall::FelAntalSkott:
        fel(QStringLiteral("Det är fel antal skott i klassen."), QStringLiteral("Fel antal skott"));
        break;
    case Utfall::FelSportNat:
        fel(QStringLiteral("Det är fel typ av tävling i klassen."), QStringLiteral("Fel Sport/nat"));
        break;
    case Utfall::Ok:
    case Utfall::Avbrutet:
        break;
    }
}
