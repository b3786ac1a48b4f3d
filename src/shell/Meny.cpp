#include "shell/Meny.h"

namespace {
constexpr Menystart post(int niva, Meny m, const char* kontroll, const char* text, Menystart::Lage lage) {
    return {niva, m, kontroll, text, lage};
}
using L = Menystart;
} // namespace

// clang-format off
constexpr std::array<Menystart, AntalMenyval> trad = {{
    post(1, Meny::mnuArkiv, "mnuArkiv", "&Arkiv", L::Pa),
    post(2, Meny::mnuNy, "mnuNy", "&Ny Tävling", L::Pa),
    post(2, Meny::mnuOppna, "mnuOppna", "&Öppna Tävling", L::Pa),
    post(2, Meny::mnuStang, "mnuStang", "&Stäng Tävling", L::Av),
    post(2, Meny::mnuLine, "mnuLine", "-", L::Pa),
    post(2, Meny::mnuImportera, "mnuImportera", "&Importera", L::Pa),
    post(2, Meny::mnuExportera, "mnuExportera", "&Exportera", L::Pa),
    post(2, Meny::mnuLineExpImp, "mnuLineExpImp", "-", L::Pa),
    post(2, Meny::mnuInstallningar, "mnuInstallningar", "&Inställningar", L::Av),
    post(2, Meny::mnuSkrivare, "mnuSkrivare", "&Utskrifts alt.", L::Av),
    post(2, Meny::mnuLine2, "mnuLine2", "-", L::Pa),
    post(2, Meny::mnuFil1, "mnuFil1", "&1", L::Dold),
    post(2, Meny::mnuFil2, "mnuFil2", "&2", L::Dold),
    post(2, Meny::mnuFil3, "mnuFil3", "&3", L::Dold),
    post(2, Meny::mnuFil4, "mnuFil4", "&4", L::Dold),
    post(2, Meny::mnuFil5, "mnuFil5", "&5", L::Dold),
    post(2, Meny::mnuLineFiler, "mnuLineFiler", "-", L::Dold),
    post(2, Meny::mnuAvsluta, "mnuAvsluta", "&Avsluta", L::Pa),
    post(1, Meny::mnuRedigera, "mnuRedigera", "&Redigera", L::Pa),
    post(2, Meny::mnuSokSkytt, "mnuSokSkytt", "&Sök skytt", L::Av),
    post(1, Meny::mnuInskrivning, "mnuInskrivning", "&Inskrivning", L::Av),
    post(2, Meny::mnuInskrivningSkyttar, "mnuInskrivningSkyttar", "&Skyttar", L::Pa),
    post(2, Meny::mnuLag, "mnuLag", "&Lag", L::Av),
    post(2, Meny::mnuResultatInskrivning, "mnuResultatInskrivning", "&Resultat", L::Pa),
    post(1, Meny::mnuUtskrift, "mnuUtskrift", "&Utskrift", L::Av),
    post(2, Meny::mnuUtskriftSkarm, "mnuUtskriftSkarm", "&Skärm", L::Pa),
    post(3, Meny::mnuResVandrings, "mnuResVandrings", "&Res Vandringspris", L::Dold),
    post(3, Meny::mnuSkjutlagslistaPreview, "mnuSkjutlagslistaPreview", "&Skjutlagslista(vbagr)", L::Dold),
    post(3, Meny::mnuForeningslistaSkarm, "mnuForeningslistaSkarm", "&Föreningslista(Word97)", L::Dold),
    post(3, Meny::mnuResGrund, "mnuResGrund", "&Resultat grundomg(vbagrid)", L::Pa),
    post(2, Meny::mnuUtskriftSkrivare, "mnuUtskriftSkrivare", "&Skrivare", L::Pa),
    post(3, Meny::mnuSkjutlagslista, "mnuSkjutlagslista", "&Skjutlagslista(Excel)", L::Pa),
    post(3, Meny::mnuForeningslista, "mnuForeningslista", "&Föreningslista(Excel)", L::Pa),
    post(3, Meny::mnuLagutskrift, "mnuLagutskrift", "&Lagutskrift(Excel)", L::Pa),
    post(3, Meny::mnuResGrundPrinter, "mnuResGrundPrinter", "&Resultat grundomg(Excel)", L::Pa),
    post(3, Meny::mnuResVandringsprisPrinter, "mnuResVandringsprisPrinter", "Resultat &vandringspris (Excel)", L::Dold),
    post(2, Meny::mnuUtskriftFil, "mnuUtskriftFil", "&Fil", L::Pa),
    post(3, Meny::mnuSkjutlagslistaFil, "mnuSkjutlagslistaFil", "&Skjutlagslista(Excel)", L::Pa),
    post(3, Meny::mnuForeningslistaFil, "mnuForeningslistaFil", "&Föreningslista(Excel)", L::Pa),
    post(3, Meny::mnuLagutskriftFil, "mnuLagutskriftFil", "&Lagutskrift(Excel)", L::Pa),
    post(3, Meny::mnuResGrundFil, "mnuResGrundFil", "&Resultat grundomg(Excel)", L::Pa),
    post(3, Meny::mnuResVandringsprisFil, "mnuResVandringsprisFil", "Resultat &vandringspris (Excel)", L::Dold),
    post(1, Meny::mnuAskadarskarm, "mnuAskadarskarm", "&Åskådarskärm", L::Av),
    post(2, Meny::mnuKonfigAskSkarm, "mnuKonfigAskSkarm", "&Konfigurera", L::Pa),
    post(2, Meny::mnuVisaAskSkarm, "mnuVisaAskSkarm", "&Visa", L::Av),
    post(1, Meny::mnuHjalp, "mnuHjalp", "&Hjälp", L::Pa),
    post(2, Meny::mnuInnehall, "mnuInnehall", "&Innehåll", L::Pa),
    post(2, Meny::mnuLineHjalp, "mnuLineHjalp", "-", L::Pa),
    post(2, Meny::mnuOm, "mnuOm", "&Om", L::Pa),
}};
// clang-format on

namespace {
constexpr bool iOrdning() {
    for (int i = 0; i < AntalMenyval; ++i)
        if (int(trad[i].meny) != i)
            return false;
    return true;
}
} // namespace
static_assert(iOrdning(), "every menu constant has its entry in the tree, in the order of the constants");

const std::array<Menystart, AntalMenyval> menytrad = trad;

Meny mnuFil(int i) {
    return static_cast<Meny>(int(Meny::mnuFil1) + i - 1);
}
