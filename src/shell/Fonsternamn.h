#pragma once

#include "common/Poster.h"

#include <QString>

// What a window is opened for. A window that needs nothing takes IngenBegaran;
// the lists take their output kind (Utskriftsmal); result entry and its squad
// picker take a squad.
struct IngenBegaran {};
struct Skjutlagsbegaran {
    int skjutlag = 0; // the picker: the squad marked first, 0 when none has been chosen yet
};

// A window that stays open for more than one request (a list's dialog, whose
// output kind is chosen in the menu) and takes the request it is chosen with
// again: the host hands it over before the window comes forward. A window
// that does not take it comes forward as it is.
template <class B> class TarNyBegaran {
public:
    virtual ~TarNyBegaran() = default;
    virtual void nyBegaran(const B& begaran) = 0;
};

// A registered window's form name together with the type of what it is opened
// for, so that a window opened with the wrong request does not compile.
template <class B> struct Fonsterid {
    using Begaran = B;
    QString namn;
};

// The form names under which the parts of the program register their windows,
// dialogs and list builders with the window host.
namespace Fonsternamn {
inline const Fonsterid<IngenBegaran> NyTavling{QStringLiteral("frmNyTavling")};
inline const Fonsterid<IngenBegaran> Oppnat{QStringLiteral("frmOppnat")};
inline const Fonsterid<IngenBegaran> ImporteraGuide{QStringLiteral("frmImporteraGuide")};
inline const Fonsterid<IngenBegaran> ExporteraGuide{QStringLiteral("frmExporteraGuide")};
inline const Fonsterid<IngenBegaran> Installningar{QStringLiteral("frmInstallningar")};
inline const Fonsterid<IngenBegaran> SokSkytt{QStringLiteral("frmSokSkytt")};
inline const Fonsterid<IngenBegaran> InskrivningSkyttar{QStringLiteral("frmInskrivningSkyttar")};
inline const Fonsterid<IngenBegaran> LagInskrivning{QStringLiteral("frmLagInskrivning")};
inline const Fonsterid<Skjutlagsbegaran> ValjSkjutlag{QStringLiteral("frmValjSkjutlag")};
inline const Fonsterid<Skjutlagsbegaran> ResultatInskrivning{QStringLiteral("frmResultatInskrivning")};
inline const Fonsterid<Utskriftsmal> ValResSkarmGrund{QStringLiteral("frmValResSkarmGrund")};
// The on-screen result list; the class-choice dialog fills it.
inline const Fonsterid<IngenBegaran> ResSkarmGrund{QStringLiteral("frmResSkarmGrund")};
inline const Fonsterid<Utskriftsmal> UtskriftSkjutlag{QStringLiteral("frmUtskriftSkjutlag")};
inline const Fonsterid<Utskriftsmal> Foreningsutskrift{QStringLiteral("frmForeningsutskrift")};
inline const Fonsterid<Utskriftsmal> Lagutskrift{QStringLiteral("frmLagutskrift")};
inline const Fonsterid<IngenBegaran> KonfigAskSkarm{QStringLiteral("frmKonfigAskSkarm")};
inline const Fonsterid<IngenBegaran> VisaAskSkarm{QStringLiteral("frmVisaAskSkarm")};
inline const Fonsterid<IngenBegaran> Om{QStringLiteral("frmOm")};
// The challenge-prize list is built at once, without a window of its own.
inline const Fonsterid<Utskriftsmal> VandringsprisLista{QStringLiteral("SkrivVandringsprisLista")};
} // namespace Fonsternamn
