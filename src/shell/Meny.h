#pragma once

#include <QList>
#include <array>

// The main window's menu items, named after their controls. Windows switch
// items by these constants, so a misspelt item does not compile; every constant
// has its place in the menu tree below (checked when the tree is built).
enum class Meny {
    mnuArkiv,
    mnuNy,
    mnuOppna,
    mnuStang,
    mnuLine,
    mnuImportera,
    mnuExportera,
    mnuLineExpImp,
    mnuInstallningar,
    mnuSkrivare,
    mnuLine2,
    mnuFil1,
    mnuFil2,
    mnuFil3,
    mnuFil4,
    mnuFil5,
    mnuLineFiler,
    mnuAvsluta,
    mnuRedigera,
    mnuSokSkytt,
    mnuInskrivning,
    mnuInskrivningSkyttar,
    mnuLag,
    mnuResultatInskrivning,
    mnuUtskrift,
    mnuUtskriftSkarm,
    mnuResVandrings,
    mnuSkjutlagslistaPreview,
    mnuForeningslistaSkarm,
    mnuResGrund,
    mnuUtskriftSkrivare,
    mnuSkjutlagslista,
    mnuForeningslista,
    mnuLagutskrift,
    mnuResGrundPrinter,
    mnuResVandringsprisPrinter,
    mnuUtskriftFil,
    mnuSkjutlagslistaFil,
    mnuForeningslistaFil,
    mnuLagutskriftFil,
    mnuResGrundFil,
    mnuResVandringsprisFil,
    mnuAskadarskarm,
    mnuKonfigAskSkarm,
    mnuVisaAskSkarm,
    mnuHjalp,
    mnuInnehall,
    mnuLineHjalp,
    mnuOm,
};

// Item i (1 to 5) of the recent-competitions list.
Meny mnuFil(int i);

// The state an item has when the program starts, before any competition is open.
struct Menystart {
    int niva; // 1 = menu bar
    Meny meny;
    const char* kontroll; // the control's name, for finding it in tests and by hand
    const char* text;     // "-" for a separator
    enum Lage { Pa, Av, Dold } lage;
};

constexpr int AntalMenyval = int(Meny::mnuOm) + 1;
// The menu tree in display order; entry i is the item whose constant is i.
extern const std::array<Menystart, AntalMenyval> menytrad;

// What a window does to the main menu while it is open: the items it switches
// off (and on) when it opens and gives back (or takes away) when it closes,
// however it closes. Written with named fields:
//
//     Menylagen{.avVidOppning = {Meny::mnuUtskrift}, .paVidStangning = {Meny::mnuUtskrift}}
//
// A window's own special cases (an item that comes back only while a display
// is connected) stay in its code.
struct Menylagen {
    QList<Meny> avVidOppning{};
    QList<Meny> paVidOppning{};
    QList<Meny> paVidStangning{};
    QList<Meny> avVidStangning{};
};
