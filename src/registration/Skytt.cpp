#include "registration/Skytt.h"

#include "common/Databasnamn.h"
#include "common/Fel.h"
#include "common/IniNamn.h"
#include "common/Konvertering.h"
#include "competition/Skjutlag.h"
#include "competition/Vandringspris.h"
#include "platform/Databas.h"
#include "platform/Meddelanden.h"
#include "platform/clsIni.h"
#include "shell/modGlobalt.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <limits>

namespace {
using Ikon = Meddelanden::Ikon;
using Knappar = Meddelanden::Knappar;
using Svar = Meddelanden::Svar;
using Skyttregister::Utfall;

// The real shooter on a lane (0 when it is free); the lane's rows are counted
// in `rader`.
qint64 skyttPaBana(const Databas& db, int skjutlag, int bana, int& rader) {
    QSqlQuery q =
        db.kor(QStringLiteral("SELECT k.Löpnummer FROM Skjutlag s "
                              "LEFT JOIN Skyttar k ON k.Löpnummer = s.Startnummer AND k.Löpnummer <> ? "
                              "WHERE s.Skjutlag = ? AND s.Bana = ? ORDER BY k.Löpnummer IS NULL, s.rowid"),
               {PlatshallareLopnummer, skjutlag, bana});
    rader = 0;
    qint64 lopnummer = 0;
    while (q.next()) {
        if (rader++ == 0 && !q.value(0).isNull())
            lopnummer = q.value(0).toLongLong();
    }
    return lopnummer;
}

// A field never typed in is a null text, which would be bound as NULL; the
// text fields hold empty text instead.
QString text(const QString& t) {
    return t.isNull() ? QStringLiteral("") : t;
}

QVariantList personuppgifter(const Skyttregister::Uppgifter& u, int startnr, int serier) {
    QVariantList v;
    for (const QString& t : {u.licensnr.trimmed(), u.skyttekortNr.trimmed(), u.fodelsear.trimmed(),
                             u.namn.trimmed(), u.efternamn.trimmed(), u.forening.trimmed(), u.klass})
        v << text(t);
    v << startnr << serier;
    return v;
}

// Puts the shooter on the lane and takes him off every other lane he may
// still be on.
void placera(Databas& db, qint64 lopnummer, int skjutlag, int bana) {
    db.kor(QStringLiteral("UPDATE Skjutlag SET Startnummer = ? "
                          "WHERE Startnummer = ? AND NOT (Skjutlag = ? AND Bana = ?)"),
           {PlatshallareLopnummer, lopnummer, skjutlag, bana});
    db.kor(QStringLiteral("UPDATE Skjutlag SET Startnummer = ? WHERE Skjutlag = ? AND Bana = ?"),
           {lopnummer, skjutlag, bana});
}
} // namespace

namespace Skyttregister {

LedigaStartnummer ledigaStartnummer(const Databas& db) {
    QSqlQuery q = db.kor(QStringLiteral("SELECT DISTINCT Startnr FROM Skyttar "
                                        "WHERE Startnr > 0 AND Löpnummer <> ? ORDER BY Startnr"),
                         {PlatshallareLopnummer});
    QList<int> anvanda;
    while (q.next())
        anvanda << q.value(0).toInt();
    LedigaStartnummer l;
    if (anvanda.isEmpty()) {
        l.lista = {1};
        return l;
    }
    const int hogsta = anvanda.back();
    l.forslag = hogsta < std::numeric_limits<int>::max() ? hogsta + 1 : hogsta;
    int nasta = 1;
    for (const int nr : anvanda) {
        for (; nasta < nr && l.lista.size() < MestLuckor; ++nasta)
            l.lista << nasta;
        if (l.lista.size() >= MestLuckor)
            break;
        nasta = nr + 1;
    }
    l.lista << l.forslag;
    return l;
}

bool startnummerFinns(const Databas& db, int startnr, qint64 utom) {
    if (startnr == 0)
        return false;
    return db
        .varde(QStringLiteral("SELECT 1 FROM Skyttar WHERE Startnr = ? AND Löpnummer <> ? AND Löpnummer <> ? "
                              "LIMIT 1"),
               {startnr, PlatshallareLopnummer, utom})
        .isValid();
}

int startnummer(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return 0;
    bool ok = false;
    const int nr = t.toInt(&ok);
    if (!ok || nr < 0)
        throw Fel(Felnummer::TypeMismatch, QStringLiteral("Typerna matchar inte"));
    return nr;
}

std::optional<Skytt> hamta(const Databas& db, qint64 lopnummer) {
    if (lopnummer == PlatshallareLopnummer)
        return std::nullopt;
    QSqlQuery q = db.kor(QStringLiteral("SELECT %1 FROM Skyttar WHERE Löpnummer = ?").arg(Skytt::kolumner()),
                         {lopnummer});
    if (!q.next())
        return std::nullopt;
    return Skytt::fran(q);
}

QStringList foreningar(const Databas& db) {
    QSqlQuery q =
        db.kor(QStringLiteral("SELECT Förening FROM Skyttar WHERE Löpnummer <> ? AND Förening <> '' "
                              "GROUP BY Förening ORDER BY Förening"),
               {PlatshallareLopnummer});
    QStringList lista;
    while (q.next())
        lista << q.value(0).toString();
    return lista;
}

Prisregel Prisregel::las(const clsIni& ini) {
    Prisregel r;
    r.pa = Konvertering::textTillJaNej(ini.GetKeyValue(
        Ini::VandringsprisPa.sektion, Ini::VandringsprisPa.nyckel, Ini::VandringsprisPa.standard));
    const QString vilka = ini.GetKeyValue(Ini::VandringsprisVilka.sektion, Ini::VandringsprisVilka.nyckel,
                                          Ini::VandringsprisVilka.standard);
    r.alla = vilka == QLatin1String("Alla");
    r.valda = vilka == QLatin1String("Valda");
    return r;
}

int vandringsserier(const clsIni& ini, const Prisregel& regel, bool ikryssad) {
    if (!regel.allaDeltar() && !(regel.valjsForHand() && ikryssad))
        return 0;
    const int skott = Konvertering::textTillHeltal(ini.GetKeyValue(Ini::VandringsprisAntalSkott.sektion,
                                                                   Ini::VandringsprisAntalSkott.nyckel,
                                                                   Ini::VandringsprisAntalSkott.standard));
    return Vandringspris::serier(skott);
}

Resultat spara(modGlobalt& g, Meddelanden& m, const Prisregel& regel, const Sparning& s, const Uppgifter& u) {
    Databas& db = g.cnnTavling;
    Resultat r;
    const auto vagra = [&](Utfall utfall, const QString& text, const QString& titel) {
        m.visa(text, titel, Ikon::Kritisk);
        r.utfall = utfall;
        return r;
    };
    const QString fel = QStringLiteral("Fel");
    const QString felPunkt = QStringLiteral("Fel.");

    const QString banText = u.bana.trimmed();
    if (banText.isEmpty())
        return vagra(Utfall::FelBana, QStringLiteral("Du måste fylla i en bana!"), felPunkt);
    bool tal = false;
    const qlonglong bana = banText.toLongLong(&tal);
    if (!tal || bana > g.intSkjutlagsstorlek)
        return vagra(Utfall::FelBana, QStringLiteral("Det finns bara %1 banor.").arg(g.intSkjutlagsstorlek),
                     felPunkt);
    if (bana < 1)
        return vagra(Utfall::FelBana, QStringLiteral("Du får bara skriva in på banor som finns!"), felPunkt);
    if (g.blnFleraTavlingar && !u.omg)
        return vagra(Utfall::FelOmg,
                     QStringLiteral("Du måste välja i vilken tävlingsomgång skytten ska vara med i!"),
                     felPunkt);
    if (u.namn.trimmed().isEmpty())
        return vagra(Utfall::FelNamn, QStringLiteral("Du måste ange ett namn på skytten!"), fel);
    if (u.forening.trimmed().isEmpty())
        return vagra(Utfall::FelForening, QStringLiteral("Du måste ange en förening på skytten!"), fel);
    if (u.klass.trimmed().isEmpty())
        return vagra(Utfall::FelKlass, QStringLiteral("Du måste ange en klass på skytten!"), fel);
    if (!fodelsearGodkant(u.fodelsear.trimmed()))
        return vagra(Utfall::FelFodelsear, QStringLiteral("Du måste ange födelseåret med 4 siffror!"),
                     QStringLiteral("Fel antal siffror"));
    const int startnr = startnummer(u.startnr);
    if (startnummerFinns(db, startnr, s.andrar ? s.lopnummer : 0))
        return vagra(Utfall::Dublett, QStringLiteral("Detta startnummer finns redan!"),
                     QStringLiteral("Dublettnr"));
    const int serier = vandringsserier(g.iniTavling, regel, u.vandringspris);

    int rader = 0;
    const qint64 pabanan = skyttPaBana(db, s.skjutlag, int(bana), rader);
    if (rader == 0)
        return vagra(
            Utfall::BanaSaknas,
            QStringLiteral("Bana %1 finns inte i skjutlag %2, välj en annan.").arg(bana).arg(s.skjutlag),
            fel);
    const QString upptagen = QStringLiteral("Banan är upptagen, välj en annan.");
    r.bana = int(bana);

    if (!s.andrar) {
        if (pabanan != 0)
            return vagra(Utfall::BanaUpptagen, upptagen, fel);
        db.transaktion([&] {
            QVariantList varden = personuppgifter(u, startnr, serier);
            varden << (g.blnFleraTavlingar ? *u.omg : 0);
            db.kor(QStringLiteral("INSERT INTO Skyttar (Licensnr, SkyttekortNr, Födelseår, Namn, Efternamn, "
                                  "Förening, Klass, Startnr, VandringsSerier, Omg) "
                                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                   varden);
            r.lopnummer = db.varde(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
            placera(db, r.lopnummer, s.skjutlag, r.bana);
        });
        r.utfall = Utfall::Sparad;
        return r;
    }

    const qint64 lopnummer = s.lopnummer;
    if (lopnummer == PlatshallareLopnummer || !hamta(db, lopnummer))
        throw Fel(Felnummer::Databasfel, QStringLiteral("Skytten finns inte längre i tävlingen."));
    Skjutlag::Plats gammal;
    const bool harPlats = Skjutlag::hittaPlats(db, lopnummer, gammal);
    const bool byte = pabanan != 0 && pabanan != lopnummer;
    if (byte) {
        // Without a lane of his own there is nothing to give the other shooter.
        if (!harPlats)
            return vagra(Utfall::BanaUpptagen, upptagen, fel);
        const std::optional<Skytt> annan = hamta(db, pabanan);
        // Names are joined, not put through arg(): a name may hold "%1".
        const QString fraga =
            QStringLiteral("Vill du byta bana mellan:\r\r") + u.namn.trimmed() + QLatin1Char(' ') +
            u.efternamn.trimmed() + QStringLiteral("  Skjutlag ") + QString::number(gammal.skjutlag) +
            QStringLiteral("  Bana: ") + QString::number(gammal.bana) + QStringLiteral("\r\r") + annan->namn +
            QLatin1Char(' ') + annan->efternamn + QStringLiteral("  Skjutlag: ") +
            QString::number(s.skjutlag) + QStringLiteral("  Bana: ") + QString::number(r.bana);
        if (m.visa(fraga, QStringLiteral("Banan är upptagen."), Ikon::Fraga, Knappar::JaNej) != Svar::Ja) {
            r.utfall = Utfall::BytetNekat;
            return r;
        }
    }
    db.transaktion([&] {
        QVariantList varden = personuppgifter(u, startnr, serier);
        QString omg;
        if (g.blnFleraTavlingar) {
            omg = QStringLiteral(", Omg = ?");
            varden << *u.omg;
        }
        varden << lopnummer;
        db.kor(QStringLiteral("UPDATE Skyttar SET Licensnr = ?, SkyttekortNr = ?, Födelseår = ?, Namn = ?, "
                              "Efternamn = ?, Förening = ?, Klass = ?, Startnr = ?, VandringsSerier = ?%1 "
                              "WHERE Löpnummer = ?")
                   .arg(omg),
               varden);
        if (byte)
            placera(db, pabanan, gammal.skjutlag, gammal.bana);
        placera(db, lopnummer, s.skjutlag, r.bana);
    });
    r.lopnummer = lopnummer;
    r.utfall = Utfall::Sparad;
    return r;
}

bool taBort(Databas& db, Meddelanden& m, qint64 lopnummer) {
    if (lopnummer == PlatshallareLopnummer)
        return false;
    if (m.visa(QStringLiteral("Är du säker på att du vill ta bort den här skytten?"),
               QStringLiteral("Bekräfta borttag."), Ikon::Fraga, Knappar::JaNej) != Svar::Ja)
        return false;
    const qint64 lag =
        db.varde(QStringLiteral("SELECT Lag FROM Skyttar WHERE Löpnummer = ?"), {lopnummer}).toLongLong();
    if (lag != 0 &&
        m.visa(QStringLiteral(
                   "Skytten du försöker tabort är med i ett lag!\r\nVill du fortfarande tabort skytten?"),
               QStringLiteral("Lagskytt!"), Ikon::Fraga, Knappar::JaNej) != Svar::Ja)
        return false;
    db.transaktion([&] {
        db.kor(QStringLiteral("DELETE FROM Skyttar WHERE Löpnummer = ?"), {lopnummer});
        db.kor(QStringLiteral("UPDATE Skjutlag SET Startnummer = ? WHERE Startnummer = ?"),
               {PlatshallareLopnummer, lopnummer});
    });
    return true;
}

QString storForstaBokstav(const QString& text) {
    if (text.isEmpty())
        return text;
    return text.left(1).toUpper() + text.mid(1);
}

bool fodelsearGodkant(const QString& text) {
    return text.isEmpty() || text.size() >= 4;
}

} // namespace Skyttregister
