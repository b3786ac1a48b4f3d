#include "shell/SenasteFiler.h"

#include "common/IniNamn.h"
#include "platform/Meddelanden.h"
#include "shell/modGlobalt.h"

namespace SenasteFiler {

namespace {
clsIni::Post post(int i, const QString& varde) {
    return {Ini::Sektion::Sokvagar, Ini::filnamnNyckel(i), varde};
}
} // namespace

QString menytext(int i, const QString& sokvag) {
    QString visning = sokvag;
    if (visning.size() > 40)
        visning = visning.left(3) + QStringLiteral("...") + visning.right(34);
    visning.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QLatin1Char('&') + QString::number(i) + QLatin1Char(' ') + visning;
}

QString filnamn(const modGlobalt& g, int i) {
    return g.iniProgram.GetKeyValue(Ini::Sektion::Sokvagar, Ini::filnamnNyckel(i), QString());
}

int Hur_manga_filnamn_finns_det(const modGlobalt& g) {
    int antal = 0;
    for (int i = 1; i <= Ini::AntalSenasteFiler; ++i) {
        if (!filnamn(g, i).isEmpty())
            antal = i;
    }
    return antal;
}

QList<clsIni::Post> Flytta_alla_filnamn_ett_steg(const modGlobalt& g, int antal) {
    QList<clsIni::Post> skrivningar;
    int n = antal;
    while (n != 0) {
        if (n == Ini::AntalSenasteFiler)
            skrivningar << post(n, QString());
        else
            skrivningar << post(n + 1, filnamn(g, n));
        --n;
        if (n == 0)
            skrivningar << post(1, QString());
    }
    return skrivningar;
}

bool Finns_filnamnet_redan(const modGlobalt& g) {
    for (int i = 1; i <= Ini::AntalSenasteFiler; ++i) {
        if (filnamn(g, i) == g.strTavlingsdatabas)
            return true;
    }
    return false;
}

bool laggForst(modGlobalt& g, Meddelanden& m) {
    QList<clsIni::Post> skrivningar = Flytta_alla_filnamn_ett_steg(g, Hur_manga_filnamn_finns_det(g));
    skrivningar << post(1, g.strTavlingsdatabas);
    if (g.iniProgram.WriteKeys(skrivningar))
        return true;
    m.visa(QStringLiteral("Tävlingen kunde inte föras in i listan över senaste tävlingar.\r\n") +
               g.iniProgram.senasteFel(),
           QStringLiteral("Senaste tävlingar"), Meddelanden::Ikon::Utropstecken);
    return false;
}

std::optional<QList<int>> tomLista(modGlobalt& g, Meddelanden& m) {
    QList<int> fyllda;
    QStringList nycklar;
    for (int i = 1; i <= Ini::AntalSenasteFiler; ++i) {
        if (!filnamn(g, i).isEmpty()) {
            fyllda << i;
            nycklar << Ini::filnamnNyckel(i);
        }
    }
    if (nycklar.isEmpty() || g.iniProgram.DeleteKeys(Ini::Sektion::Sokvagar, nycklar))
        return fyllda;
    m.visa(QStringLiteral("Listan över senaste tävlingar kunde inte tas bort.\r\n") +
               g.iniProgram.senasteFel(),
           QStringLiteral("Senaste tävlingar"), Meddelanden::Ikon::Utropstecken);
    return std::nullopt;
}

} // namespace SenasteFiler
