#include "entry/Inmatningsregler.h"

#include <Qt>

namespace Inmatningsregler {

using Serieregler::AntalSerier;

Seriefarg serieFarg(int serie, int klassensSerier, int extraSerier) {
    if (serie <= 2 || klassensSerier >= serie)
        return Seriefarg::Fonster;
    if (extraSerier >= serie)
        return Seriefarg::Gron;
    return Seriefarg::Rod;
}

bool arNationellRad(bool mix, bool nationellt, bool sportskytte, const QString& sportNat) {
    if (mix)
        return sportNat == QLatin1String("Nat");
    return nationellt && !sportskytte;
}

Radsynlighet synlighet(bool nationellRad, std::optional<int> klassensSerier, int lagserier,
                       int vandringsSerier, const Serier& serier) {
    Radsynlighet r;
    r.serier9till12 = !nationellRad;
    // A national row has no 60-shot total of its own; only values in series 9
    // to 12 (from a competition that was once of another kind) bring it out.
    r.totalt60 = !nationellRad;
    if (klassensSerier) {
        if (*klassensSerier >= 9)
            r.totalt40 = false;
        else if (lagserier <= 8 && vandringsSerier <= 8)
            r.totalt60 = false;
    }
    for (int n = 9; n <= AntalSerier; ++n)
        if (serier[n - 1] != 0)
            r.totalt60 = true;
    return r;
}

int nastaSerie(int serie, bool serie9Syns) {
    if (serie == 8)
        return serie9Syns ? 9 : 1;
    if (serie >= AntalSerier)
        return 1;
    return serie + 1;
}

int foregaendeSerie(int serie, bool serie12Syns) {
    if (serie <= 1)
        return serie12Syns ? 12 : 8;
    return serie - 1;
}

int radMedSynligtFalt(int fran, int riktning, int antalRader, const QList<bool>& synlig) {
    if (antalRader <= 0)
        return fran;
    const int steg = riktning < 0 ? -1 : 1;
    int rad = fran;
    for (int i = 1; i < antalRader; ++i) {
        rad = ((rad + steg) % antalRader + antalRader) % antalRader;
        if (rad < synlig.size() && synlig[rad])
            return rad;
    }
    return fran;
}

bool tillatetISerie(QChar tecken) {
    return (tecken >= QLatin1Char('0') && tecken <= QLatin1Char('9')) || tecken == QChar(u'\b');
}

int antalfaltVidPil(int index, int tangent) {
    // Two columns, left 11..6 and right 5..1 from the top; up and down wrap
    // within a column, left and right go to the field beside (6 has none).
    static constexpr int vanster[] = {11, 10, 9, 8, 7, 6};
    static constexpr int hoger[] = {5, 4, 3, 2, 1};
    if (index < 1 || index > 11)
        return index;
    const bool iVanster = index >= 6;
    const int* kolumn = iVanster ? vanster : hoger;
    const int hojd = iVanster ? 6 : 5;
    const int plats = iVanster ? 11 - index : 5 - index;
    switch (tangent) {
    case Qt::Key_Up:
        return kolumn[(plats + hojd - 1) % hojd];
    case Qt::Key_Down:
        return kolumn[(plats + 1) % hojd];
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (iVanster)
            return plats < 5 ? hoger[plats] : index;
        return vanster[plats];
    default:
        return index;
    }
}

} // namespace Inmatningsregler
