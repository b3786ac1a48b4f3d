#include "shell/SenasteFiler.h"

#include "common/IniNamn.h"
#include "shell/modGlobalt.h"

namespace SenasteFiler {

namespace {
QString las(const modGlobalt& g, int i) {
    return g.iniProgram.GetKeyValue(Ini::Sektion::Sokvagar, Ini::filnamnNyckel(i), QString());
}
void skriv(modGlobalt& g, int i, const QString& varde) {
    g.iniProgram.WriteKey(Ini::Sektion::Sokvagar, Ini::filnamnNyckel(i), varde);
}
} // namespace

QString menytext(int i, const QString& sokvag) {
    QString visning = sokvag;
    if (visning.size() > 40)
        visning = visning.left(3) + QStringLiteral("...") + visning.right(34);
    visning.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QLatin1Char('&') + QString::number(i) + QLatin1Char(' ') + visning;
}

void Hur_manga_filnamn_finns_det(modGlobalt& g) {
    g.intAntalFilnamn = 0;
    for (int i = 1; i <= Ini::AntalSenasteFiler; ++i) {
        if (!las(g, i).isEmpty())
            g.intAntalFilnamn = i;
    }
}

void Flytta_alla_filnamn_ett_steg(modGlobalt& g) {
    int n = g.intAntalFilnamn;
    while (n != 0) {
        if (n == Ini::AntalSenasteFiler)
            skriv(g, n, QString());
        else
            skriv(g, n + 1, las(g, n));
        --g.intAntalFilnamn;
        --n;
        if (n == 0)
            skriv(g, 1, QString());
    }
}

bool Finns_filnamnet_redan(const modGlobalt& g) {
    for (int i = 1; i <= Ini::AntalSenasteFiler; ++i) {
        if (las(g, i) == g.strTavlingsdatabas)
            return true;
    }
    return false;
}

void laggForst(modGlobalt& g) {
    Hur_manga_filnamn_finns_det(g);
    Flytta_alla_filnamn_ett_steg(g);
    skriv(g, 1, g.strTavlingsdatabas);
}

} // namespace SenasteFiler
