#include "competition/Vandringspris.h"

#include "common/Databasnamn.h"
#include "platform/Databas.h"
#include "platform/Meddelanden.h"
#include "shell/modGlobalt.h"

#include <cmath>

namespace Vandringspris {

namespace {

using Ikon = Meddelanden::Ikon;

void meddela(Meddelanden* m, const QString& text) {
    if (m)
        m->visa(text, QStringLiteral("Fel"), Ikon::Kritisk);
}

QString forMangaSkott(const QString& klass, int skott) {
    return QStringLiteral("Du får inte skriva in fler skott än vad som finns i klasserna.") +
           QStringLiteral("\r\n") + QStringLiteral("Högsta antal just nu är ") + klass +
           QString::number(skott) + QStringLiteral(" skott.");
}

void skrivAlla(Databas& db, int serierAntal) {
    db.transaktion([&] {
        db.kor(QStringLiteral("UPDATE Skyttar SET VandringsSerier = ? WHERE Löpnummer <> ?"),
               {serierAntal, PlatshallareLopnummer});
    });
}

} // namespace

int serier(int skott) {
    // The division is exact in binary for every whole number of shots, and a
    // fifth of one never ends in a half, so nearbyint rounds as the count must.
    return static_cast<int>(std::nearbyint(skott / 5.0));
}

bool serierFinns(const Databas& db) {
    return hogstaSerier(db) > 0;
}

int hogstaSerier(const Databas& db) {
    return db
        .varde(QStringLiteral("SELECT COALESCE(MAX(VandringsSerier), 0) FROM Skyttar WHERE Löpnummer <> ?"),
               {PlatshallareLopnummer})
        .toInt();
}

int antalSkyttar(const Databas& db) {
    return db
        .varde(QStringLiteral("SELECT COUNT(*) FROM Skyttar WHERE Löpnummer <> ?"), {PlatshallareLopnummer})
        .toInt();
}

Skottkontroll kontrolleraSkott(const modGlobalt& g, const QString& text, Meddelanden* m) {
    Skottkontroll k;
    bool ok = false;
    const qlonglong skott = text.trimmed().toLongLong(&ok);
    if (!ok) {
        meddela(m, QStringLiteral("Du måste ange antalet skott!"));
        k.utfall = Skottkontroll::Utfall::Tom;
        return k;
    }
    if (skott < MinstaAntalSkott) {
        meddela(m, QStringLiteral("Lägsta antalet skott är 10st"));
        k.utfall = Skottkontroll::Utfall::ForFa;
        return k;
    }
    const int tak = g.blnNationellt ? TakNationellt : TakSportskytte;
    // The class table's name is the program's own, never typed.
    QSqlQuery q = g.cnnTavling.kor(
        QStringLiteral("SELECT Klassnamn, [Antal skott] FROM %1 ORDER BY [Antal skott] DESC, Räknare LIMIT 1")
            .arg(g.klasstabell()));
    if (q.next()) {
        const QString klassnamn = q.value(0).toString();
        const int langst = q.value(1).toInt();
        if (skott > tak || skott > langst) {
            meddela(m, forMangaSkott(klassnamn + QLatin1Char(' '), langst));
            k.utfall = Skottkontroll::Utfall::Bytt;
            k.skott = langst;
            return k;
        }
    } else if (skott > tak) {
        // No class to name: the kind's ceiling is the most there is.
        meddela(m, forMangaSkott(QString(), tak));
        k.utfall = Skottkontroll::Utfall::Bytt;
        k.skott = tak;
        return k;
    }
    k.utfall = Skottkontroll::Utfall::Godkand;
    k.skott = static_cast<int>(skott);
    return k;
}

void bytAntalSkott(Databas& db, bool serierFanns, int skott) {
    if (!serierFanns)
        return;
    const int nya = serier(skott);
    db.transaktion([&] {
        const int gamla = hogstaSerier(db);
        if (gamla <= 0 || nya == gamla)
            return;
        db.kor(QStringLiteral(
                   "UPDATE Skyttar SET VandringsSerier = ? WHERE VandringsSerier = ? AND Löpnummer <> ?"),
               {nya, gamla, PlatshallareLopnummer});
    });
}

bool stangAv(Databas& db, Meddelanden& m, bool serierFanns) {
    if (!serierFanns)
        return true;
    if (m.visa(QStringLiteral("Är du säker på att du vill ta bort den nyvarande tävlingen helt?"),
               QStringLiteral("Bekräfta"), Ikon::Fraga, Meddelanden::Knappar::JaNej) != Meddelanden::Svar::Ja)
        return false;
    skrivAlla(db, 0);
    return true;
}

Stangningsbeslut beslutaVidStangning(const Databas& db, Meddelanden& m, const Stangningslage& l) {
    if (!l.pa || !l.alla)
        return {};
    bool ok = false;
    const int skott = l.antalSkott.trimmed().toInt(&ok);
    if (!ok || skott < MinstaAntalSkott)
        return {};
    if (!l.serierFanns) {
        // The first switch-on: everyone takes part, once there is anyone.
        if (antalSkyttar(db) < 1)
            return {};
        return {Stangning::Skrivet, serier(skott)};
    }
    if (l.gammalVilka != QLatin1String("Valda"))
        return {};
    if (m.visa(QStringLiteral("Du har ändrat i vandringspris från valda skyttar till alla!") +
                   QStringLiteral("\r\n") + QStringLiteral("Är det rätt?"),
               QStringLiteral("Bekräfta"), Ikon::Fraga, Meddelanden::Knappar::JaNej) != Meddelanden::Svar::Ja)
        return {Stangning::ValdaIgen, 0};
    return {Stangning::Skrivet, serier(skott)};
}

void verkstall(Databas& db, const Stangningsbeslut& beslut) {
    if (beslut.utfall == Stangning::Skrivet)
        skrivAlla(db, beslut.serier);
}

Stangning uppdateraVidStangning(Databas& db, Meddelanden& m, const Stangningslage& l) {
    const Stangningsbeslut beslut = beslutaVidStangning(db, m, l);
    verkstall(db, beslut);
    return beslut.utfall;
}

} // namespace Vandringspris
