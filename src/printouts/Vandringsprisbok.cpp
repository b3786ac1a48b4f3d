#include "printouts/Vandringsprisbok.h"

#include "common/Databasnamn.h"
#include "common/IniNamn.h"
#include "common/Konvertering.h"
#include "output/Cellregler.h"
#include "platform/Databas.h"
#include "platform/workbook/Arbetsblad.h"
#include "shell/modGlobalt.h"

#include <QSqlQuery>
#include <QSqlRecord>

using Kalkyl::Arbetsblad;
using Rangordning::Kedja;
using Rangordning::Nyckel;

namespace Vandringsprisbok {

namespace {

constexpr double Titelhojd = 19.5;
constexpr double Titelstorlek = 13.5;
constexpr int ForstaSkytteRad = 4;

Nyckel<Skytt> totalt40() {
    return Rangordning::tal<Skytt>([](const Skytt& s) { return s.totalt40; });
}

// Total, the pair sums from the last backwards, the counts, the inner tens,
// the shoot-off as stored.
Kedja<Skytt> sportkedja(int par) {
    Kedja<Skytt> k;
    k.nycklar.push_back(par == 6 ? Rangordning::tal<Skytt>([](const Skytt& s) { return s.totalt60; })
                                 : totalt40());
    for (int i = par - 1; i >= 0; --i)
        k.nycklar.push_back(Rangordning::tal<Skytt>([i](const Skytt& s) { return s.sum[i]; }));
    k.nycklar.push_back(Rangordning::antal<Skytt>([](const Skytt& s) { return s.tioNior; }));
    k.nycklar.push_back(Rangordning::tal<Skytt>([](const Skytt& s) { return s.innertior; }));
    k.nycklar.push_back(Rangordning::tal<Skytt>([](const Skytt& s) { return s.sarskjutning; }));
    k.svans = [](const Skytt& s) { return Rangordning::Svans{{s.efternamn, s.namn}, s.lopnummer}; };
    return k;
}

} // namespace

Layout layout(const modGlobalt& g) {
    if (g.blnSportskytte) {
        const QString skott = g.iniTavling.GetKeyValue(Ini::VandringsprisAntalSkott.sektion,
                                                       Ini::VandringsprisAntalSkott.nyckel,
                                                       Ini::VandringsprisAntalSkott.standard);
        return Konvertering::textTillHeltal(skott) > 40 ? Layout::Sport60 : Layout::Sport40;
    }
    return g.blnNationellt ? Layout::Nationell : Layout::Ingen;
}

const Kedja<Skytt>& kedja(Layout layout) {
    static const Kedja<Skytt> sport40 = sportkedja(4), sport60 = sportkedja(6);
    switch (layout) {
    case Layout::Sport40:
        return sport40;
    case Layout::Sport60:
        return sport60;
    case Layout::Nationell:
    case Layout::Ingen:
        break;
    }
    return Rangordning::nationell();
}

Urval valjUt(const modGlobalt& g) {
    Urval u;
    u.layout = layout(g);
    if (u.layout == Layout::Ingen)
        return u;
    // The placeholder of the free lanes never has series; it is left out all
    // the same, as from every list.
    QSqlQuery q = g.cnnTavling.kor(
        QStringLiteral("SELECT %1 FROM Skyttar WHERE VandringsSerier <> 0 AND Löpnummer <> ?")
            .arg(Skytt::kolumner({}, Skytt::AntalKolumnerUtanSkott)),
        {PlatshallareLopnummer});
    while (q.next())
        u.skyttar << Skytt::fran(q, 0, Skytt::AntalKolumnerUtanSkott);
    const Kedja<Skytt>& k = kedja(u.layout);
    Rangordning::rangordna(u.skyttar, k);
    u.platser = Rangordning::platser(u.skyttar, k);
    return u;
}

void skriv(Arbetsblad& blad, const QString& prisnamn, const Urval& urval) {
    if (urval.layout == Layout::Ingen || urval.skyttar.isEmpty())
        return;
    const bool nationell = urval.layout == Layout::Nationell;
    const bool sextio = urval.layout == Layout::Sport60;

    blad.Range(QStringLiteral("1:1")).setRowHeight(Titelhojd);
    Kalkyl::Omrade titel = blad.Cells(1, 2);
    titel.Font().setSize(Titelstorlek);
    titel.Font().setBold(true);
    if (!prisnamn.isEmpty())
        titel.setValue(prisnamn);

    using namespace Kalkyl::Justering;
    blad.Range(QStringLiteral("A:A")).setHorizontalAlignment(Hoger);
    if (nationell) {
        blad.Range(QStringLiteral("D:K")).setHorizontalAlignment(Centrerad);
        blad.Range(QStringLiteral("L:L")).setHorizontalAlignment(Hoger);
        blad.Range(QStringLiteral("M:M")).setHorizontalAlignment(Vanster);
    } else {
        blad.Range(QStringLiteral("D:I")).setHorizontalAlignment(Centrerad);
        blad.Range(QStringLiteral("J:J")).setHorizontalAlignment(Hoger);
    }

    // The series are captioned by their numbers; a 40-shot list keeps the
    // captions of the fifth and sixth pair over empty columns.
    blad.Range(QStringLiteral("2:2")).Font().setBold(true);
    blad.Cells(2, 1).setValue(QStringLiteral("Plac"));
    blad.Cells(2, 2).setValue(QStringLiteral("Namn"));
    blad.Cells(2, 3).setValue(QStringLiteral("Förening"));
    const int serier = nationell ? 8 : 6;
    for (int i = 1; i <= serier; ++i)
        blad.Cells(2, 3 + i).setValue(i);
    blad.Cells(2, 4 + serier).setValue(QStringLiteral("Totalt"));
    if (nationell)
        blad.Cells(2, 13).setValue(QStringLiteral("10\u00B4"));

    for (qsizetype i = 0; i < urval.skyttar.size(); ++i) {
        const Skytt& s = urval.skyttar[i];
        const int rad = ForstaSkytteRad + int(i);
        blad.Cells(rad, 1).setValue(urval.platser.value(i));
        blad.Cells(rad, 2).setValue(s.namn + QLatin1Char(' ') + s.efternamn);
        blad.Cells(rad, 3).setValue(s.forening);
        if (nationell) {
            for (int r = 0; r < 8; ++r)
                Cellregler::poang(blad.Cells(rad, 4 + r), s.res[r], 50, false, Cellregler::Annars::Svart);
            Cellregler::poang(blad.Cells(rad, 12), s.totalt40, 400, true);
            if (s.innertior > 0)
                blad.Cells(rad, 13).setValue(s.innertior);
        } else {
            const int par = sextio ? 6 : 4;
            for (int p = 0; p < par; ++p)
                Cellregler::poang(blad.Cells(rad, 4 + p), s.sum[p], 100, false, Cellregler::Annars::Svart);
            if (sextio)
                Cellregler::poang(blad.Cells(rad, 10), s.totalt60, 600, true);
            else
                Cellregler::poang(blad.Cells(rad, 10), s.totalt40, 400, true);
        }
    }
}

const Arbetsboksram::Lista& ark() {
    using S = Arbetsboksram::Slag;
    // The squads' progress is told in the title, and "Filen spardes i:" once the
    // run's status window is gone.
    static const Arbetsboksram::Lista lista{
        .bladnamn = QStringLiteral("Vandringspris"),
        .rubrik = QStringLiteral(" Resultatlista Vandringspris"),
        .skjutlagstillagg = true,
        .marginaler = Arbetsboksram::Marginaler{1.2, 1.0, 2.5, 2.5, 1.3, 1.3},
        .bredder =
            {{S::Sport,
              {},
              {{"a:a", 5}, {"b:b", 22.86}, {"c:c", 15.57}, {"d:i", 3.57}, {"j:j", 6.43}, {"k:k", 5.29}}},
             {S::Alla,
              {},
              {{"a:a", 5}, {"b:b", 22.86}, {"c:c", 15.57}, {"d:k", 3.57}, {"l:l", 7}, {"m:m", 6.43}}}},
        .filstam = QStringLiteral("ResultatlistaVandring"),
        .korfel = {QStringLiteral("MDIfrmHuvudmeny.SkrivVandringsprisLista.. "), Meddelanden::Ikon::Kritisk,
                   QStringLiteral("Fel"), Felfalla::Ordning::BeskrivningForst},
        .sparadEfterKorningen = true};
    return lista;
}

std::optional<QString> kor(const Arbetsboksram::Omgivning& o, Utskriftsmal mal) {
    Arbetsboksram::Korning k;
    k.mal = mal;
    return Arbetsboksram(ark(), o).kor(k, [&](Arbetsblad& blad) {
        const QString prisnamn = o.g.iniTavling.GetKeyValue(Ini::VandringsprisTavlingsnamn.sektion,
                                                            Ini::VandringsprisTavlingsnamn.nyckel,
                                                            Ini::VandringsprisTavlingsnamn.standard);
        skriv(blad, prisnamn, valjUt(o.g));
    });
}

} // namespace Vandringsprisbok
