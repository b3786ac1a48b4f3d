#include "printouts/Lagutskriftbok.h"

#include "common/Databasnamn.h"
#include "common/Poster.h"
#include "platform/Databas.h"
#include "platform/workbook/Arbetsblad.h"
#include "platform/workbook/Kalkylkoder.h"
#include "shell/modGlobalt.h"

#include <QSqlQuery>
#include <algorithm>

namespace Lagutskriftbok {

namespace {

constexpr double Namnradhojd = 24.75;
constexpr double Namnstorlek = 18;
constexpr long Totalfarg = 9868950; // grey: 150, 150, 150

QList<int> indResVarden(const QString& indRes) {
    QList<int> v;
    for (const QString& del : indRes.split(QLatin1Char(','), Qt::SkipEmptyParts))
        v << del.trimmed().toInt();
    return v;
}

QList<Lagsammanstallning> lasLag(const Databas& db, qint64 lagtavling) {
    QList<Lagsammanstallning> lag;
    QSqlQuery q = db.kor(QStringLiteral("SELECT [Lag nr], Lagnamn, Summa, Innertior, TioNior, IndRes, "
                                        "Sum10, Sum20, Sum30, Sum40, Sum50, Sum60, Res1, Res2, Res3, Res4, "
                                        "Res5, Res6, Res7, Res8, Res9, Res10, Res11, Res12 "
                                        "FROM Lag WHERE Lagtävling = ? ORDER BY [Lag nr]"),
                         {lagtavling});
    while (q.next()) {
        Lagsammanstallning r;
        r.nr = q.value(0).toLongLong();
        r.namn = q.value(1).toString();
        r.summa = q.value(2).toInt();
        r.innertior = q.value(3).toInt();
        r.tioNior = q.value(4).toString();
        r.indRes = q.value(5).toString();
        for (int i = 0; i < 6; ++i)
            r.sum[size_t(i)] = q.value(6 + i).toInt();
        for (int i = 0; i < 12; ++i)
            r.res[size_t(i)] = q.value(12 + i).toInt();
        lag << r;
    }
    return lag;
}

QList<Medlem> lasMedlemmar(const Databas& db, qint64 lagNr) {
    QList<Medlem> m;
    QSqlQuery q = db.kor(QStringLiteral("SELECT %1 FROM Skyttar WHERE Lag = ? AND Löpnummer <> ? "
                                        "ORDER BY LagRes DESC, Efternamn, Namn, Löpnummer")
                             .arg(Skytt::kolumner({}, Skytt::AntalKolumnerUtanSkott)),
                         {lagNr, PlatshallareLopnummer});
    while (q.next()) {
        const Skytt s = Skytt::fran(q, 0, Skytt::AntalKolumnerUtanSkott);
        m << Medlem{s.namn, s.efternamn, s.lagRes};
    }
    return m;
}

} // namespace

Rangordning::Kedja<Lagsammanstallning> kedja(bool sport, int bredd) {
    using Rangordning::antal;
    using Rangordning::tal;
    Rangordning::Kedja<Lagsammanstallning> k;
    k.nycklar.push_back(tal<Lagsammanstallning>([](const Lagsammanstallning& l) { return l.summa; }));
    if (sport) {
        k.nycklar.push_back(tal<Lagsammanstallning>([](const Lagsammanstallning& l) { return l.innertior; }));
        for (int i = 5; i >= 0; --i)
            k.nycklar.push_back(
                tal<Lagsammanstallning>([i](const Lagsammanstallning& l) { return l.sum[size_t(i)]; }));
    } else {
        k.nycklar.push_back([bredd](const Lagsammanstallning& l, Rangordning::Varden& v) {
            const QList<int> varden = indResVarden(l.indRes);
            for (int i = 0; i < bredd; ++i)
                v.push_back(varden.value(i));
        });
        for (int i = 7; i >= 0; --i)
            k.nycklar.push_back(
                tal<Lagsammanstallning>([i](const Lagsammanstallning& l) { return l.res[size_t(i)]; }));
    }
    k.nycklar.push_back(antal<Lagsammanstallning>([](const Lagsammanstallning& l) { return l.tioNior; }));
    k.svans = [](const Lagsammanstallning& l) { return Rangordning::Svans{{l.namn}, l.nr}; };
    return k;
}

Urval lasIn(const Databas& db, std::optional<int> omg) {
    Urval u;
    for (const Lagtavlingar::Lagtavling& t : Lagtavlingar::lista(db)) {
        if (omg && t.omg != *omg)
            continue;
        u.tavlingFinns = true;
        const bool sport = t.sportNat == Lagtavlingar::Sport;
        if (!sport && t.sportNat != Lagtavlingar::Nat)
            continue;
        QList<Lagsammanstallning> lag = lasLag(db, t.nyckel);
        if (lag.isEmpty())
            continue;
        int bredd = 0;
        for (const Lagsammanstallning& l : lag)
            bredd = std::max(bredd, int(indResVarden(l.indRes).size()));
        const Rangordning::Kedja<Lagsammanstallning> k = kedja(sport, bredd);
        Rangordning::rangordna(lag, k);
        const QList<int> platser = Rangordning::platser(lag, k);
        Tavlingsblock b{t, {}};
        for (qsizetype i = 0; i < lag.size(); ++i)
            b.lag << Placerat{lag[i], platser[i], lasMedlemmar(db, lag[i].nr)};
        u.block << b;
    }
    return u;
}

void skriv(Kalkyl::Arbetsblad& blad, const QList<Tavlingsblock>& block) {
    int r = 1;
    for (const Tavlingsblock& b : block) {
        blad.Range(QStringLiteral("%1:%1").arg(r)).setRowHeight(Namnradhojd);
        Kalkyl::Omrade namn = blad.Cells(r, 1);
        namn.setValue(b.tavling.namn);
        namn.Font().setSize(Namnstorlek);
        namn.Font().setBold(true);
        r += 2;
        for (const Placerat& p : b.lag) {
            blad.Cells(r, 1).setValue(p.plats);
            blad.Cells(r, 1).Font().setBold(true);
            blad.Cells(r, 2).setValue(p.lag.namn);
            blad.Cells(r, 2).Font().setBold(true);
            r += 2;
            for (const Medlem& m : p.medlemmar) {
                blad.Cells(r, 3).setValue(m.namn + QLatin1Char(' ') + m.efternamn);
                blad.Cells(r, 4).setValue(m.lagRes);
                ++r;
            }
            Kalkyl::Omrade totalt = blad.Cells(r, 3);
            totalt.setValue(QStringLiteral("Totalt"));
            totalt.Font().setBold(true);
            totalt.setHorizontalAlignment(Kalkyl::Justering::Hoger);
            blad.Range(QStringLiteral("C%1:D%1").arg(r)).Interior().setColor(Totalfarg);
            blad.Cells(r, 4).setValue(p.lag.summa);
            blad.Cells(r, 4).Font().setBold(true);
            r += 2;
        }
    }
}

void ingenTavling(Meddelanden& m) {
    m.visa(QStringLiteral("Det finns ingen lagtävling skapad till denna omgången!"),
           QStringLiteral("Ingen tävling"), Meddelanden::Ikon::Kritisk);
}

const Arbetsboksram::Lista& ark() {
    static const Arbetsboksram::Lista lista{
        .bladnamn = QStringLiteral("Lagutskrift"),
        .rubrik = QStringLiteral(" Lagutskrift"),
        .teckenstorlek = 12,
        .bredder = {{Arbetsboksram::Slag::Alla,
                     {},
                     {{"a:a", 8.43}, {"b:b", 1.86}, {"c:c", 26}, {"d:d", 7.43}}}},
        .filstam = QStringLiteral("Lagutskrift"),
        .omgangsstam = QStringLiteral("LagutskriftOmg"),
        .visarUtskriftsstatus = true,
        .korfel = {QStringLiteral("frmLagutskrift.UtskriftExcel: "), Meddelanden::Ikon::Ingen, QString(),
                   Felfalla::Ordning::BeskrivningForst}};
    return lista;
}

std::optional<QString> kor(const Arbetsboksram::Omgivning& o, Utskriftsmal mal,
                           const std::optional<Omgangar::Omgang>& omgang) {
    const Urval u = lasIn(o.g.cnnTavling, omgang ? std::optional(omgang->omg) : std::nullopt);
    if (!u.tavlingFinns) {
        ingenTavling(o.m);
        return std::nullopt;
    }
    Arbetsboksram ram(ark(), o);
    return ram.kor({.mal = mal, .omgang = omgang}, [&](Kalkyl::Arbetsblad& blad) { skriv(blad, u.block); });
}

} // namespace Lagutskriftbok
