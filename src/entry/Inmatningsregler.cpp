#include "entry/Inmatningsregler.h"

#include "competition/Klassmodell.h"

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
    return Klassmodell::slag({mix, nationellt, sportskytte}, sportNat, 0) == Klassslag::Nationell;
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

std::optional<Pilsteg> pilsteg(const Falt& fran, int tangent, int antalRader,
                               const std::function<bool(int rad)>& serie9Syns) {
    const int rad = fran.rad;
    switch (tangent) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const bool vanster = tangent == Qt::Key_Left;
        switch (fran.slag) {
        case Faltslag::Serie:
            return Pilsteg{{Faltslag::Serie, rad,
                            vanster ? foregaendeSerie(fran.serie, serie9Syns(rad))
                                    : nastaSerie(fran.serie, serie9Syns(rad))}};
        case Faltslag::Sarskjutning:
            return Pilsteg{{Faltslag::Serie, rad, vanster ? (serie9Syns(rad) ? AntalSerier : 8) : 1}};
        case Faltslag::Antal:
            return Pilsteg{vanster ? Falt{Faltslag::Sarskjutning, rad, 0} : Falt{Faltslag::Serie, rad, 1}};
        }
        return std::nullopt;
    }
    case Qt::Key_Up:
    case Qt::Key_Down:
        break;
    default:
        return std::nullopt;
    }
    const bool upp = tangent == Qt::Key_Up;
    if (antalRader <= 0)
        return Pilsteg{fran};
    const int sista = antalRader - 1;
    int till = ((rad + (upp ? -1 : 1)) % antalRader + antalRader) % antalRader;
    if (fran.slag == Faltslag::Serie && fran.serie >= 9) {
        // Rows that do not show series 9 to 12 are passed over.
        QList<bool> synlig(antalRader);
        for (int i = 0; i < antalRader; ++i)
            synlig[i] = serie9Syns(i);
        till = radMedSynligtFalt(rad, upp ? -1 : 1, antalRader, synlig);
    }
    Pilsteg steg{{fran.slag, till, fran.serie}};
    if (upp && till > rad && till == sista)
        steg.vy = Pilsteg::Vy::Botten;
    else if (!upp && till < rad && till == 0)
        steg.vy = Pilsteg::Vy::Topp;
    return steg;
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
