#include "lists/Skarmlista.h"

#include "competition/Serieregler.h"
#include "shell/modGlobalt.h"

namespace Skarmlista {

namespace {

constexpr int FullSerie = 50;
constexpr int FulltPar = 100;

Cell resultat(int varde, std::optional<int> fullt = std::nullopt) {
    return {QString::number(varde), Justering::Centrerad, fullt && varde == *fullt};
}

Rad skyttrad(const Skytt& s, int plats, Klassslag slag, Layout layout) {
    Rad r;
    r.celler[1] = {QString::number(plats) + QLatin1Char(' '), Justering::Hoger};
    r.celler[2] = {s.namn + QLatin1Char(' ') + s.efternamn};
    r.celler[3] = {s.forening};
    // Sport rows are let through by the 60-shot total, whatever the class
    // shoots; the two totals only differ for a shooter with series after the
    // eighth.
    const bool nationell = slag == Klassslag::Nationell;
    if ((nationell ? s.totalt40 : s.totalt60) == 0)
        return r;
    int total = 0;
    int totalKolumn = 12;
    if (nationell) {
        for (int i = 0; i < 8; ++i)
            r.celler[4 + i] = resultat(s.res[i], FullSerie);
        total = s.totalt40;
    } else {
        const int par = slag == Klassslag::Sport60 ? 6 : 4;
        for (int i = 0; i < par; ++i)
            r.celler[4 + i] = resultat(s.sum[i], FulltPar);
        total = slag == Klassslag::Sport60 ? s.totalt60 : s.totalt40;
        // In a mixed competition the sport rows stand in the national grid,
        // their total under "Totalt".
        totalKolumn = layout == Layout::AttaSerier ? 12 : 10;
    }
    r.celler[totalKolumn] = {QString::number(total), Justering::Centrerad, false, Stil::Total};
    r.celler[totalKolumn + 1] = resultat(s.innertior);
    r.celler[totalKolumn + 2] = {Serieregler::visaSarskjutning(s.sarskjutning), Justering::Centrerad};
    return r;
}

} // namespace

std::optional<Layout> layout(const modGlobalt& g) {
    if (g.blnSportskytte)
        return Layout::SexSerier;
    if (g.blnNationellt || g.blnMix)
        return Layout::AttaSerier;
    return std::nullopt;
}

QList<Kolumn> kolumner(Layout layout) {
    // A long name or club may take what the window has to spare beside the
    // other columns, so that the results always stay in view.
    const bool sex = layout == Layout::SexSerier;
    QList<Kolumn> k{{QStringLiteral("Plac"), 40},
                    {QStringLiteral("Namn"), 200, sex ? 240 : 200},
                    {QStringLiteral("Förening"), 120, sex ? 140 : 120}};
    const int serier = sex ? 6 : 8;
    for (int i = 1; i <= serier; ++i)
        k.append({QString::number(i), 30});
    k.append({{QStringLiteral("Totalt"), 50}, {QStringLiteral("10'"), 42}, {QStringLiteral("Särkj."), 47}});
    return k;
}

QList<Rad> rader(const Klassblock& block, Layout layout) {
    if (block.skyttar.isEmpty())
        return {};
    QList<Rad> rader;
    rader.append(Rad{});
    Rad klassrad;
    klassrad.celler[2] = {block.vald.klass.namn, Justering::Standard, false, Stil::Klassrubrik};
    klassrad.hojd = Klassradshojd;
    rader.append(klassrad);
    for (qsizetype i = 0; i < block.skyttar.size(); ++i)
        rader.append(skyttrad(block.skyttar[i], block.platser.value(i), block.slag, layout));
    return rader;
}

} // namespace Skarmlista
