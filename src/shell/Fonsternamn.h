#pragma once

#include <QString>

// The form names under which the parts of the program register their windows,
// dialogs and list builders with the main window.
namespace Fonsternamn {
inline const QString NyTavling = QStringLiteral("frmNyTavling");
inline const QString ImporteraGuide = QStringLiteral("frmImporteraGuide");
inline const QString ExporteraGuide = QStringLiteral("frmExporteraGuide");
inline const QString Installningar = QStringLiteral("frmInstallningar");
inline const QString SokSkytt = QStringLiteral("frmSokSkytt");
inline const QString InskrivningSkyttar = QStringLiteral("frmInskrivningSkyttar");
inline const QString LagInskrivning = QStringLiteral("frmLagInskrivning");
inline const QString ValjSkjutlag = QStringLiteral("frmValjSkjutlag");
inline const QString ResultatInskrivning = QStringLiteral("frmResultatInskrivning");
inline const QString ValResSkarmGrund = QStringLiteral("frmValResSkarmGrund");
inline const QString UtskriftSkjutlag = QStringLiteral("frmUtskriftSkjutlag");
inline const QString Foreningsutskrift = QStringLiteral("frmForeningsutskrift");
inline const QString Lagutskrift = QStringLiteral("frmLagutskrift");
inline const QString KonfigAskSkarm = QStringLiteral("frmKonfigAskSkarm");
inline const QString VisaAskSkarm = QStringLiteral("frmVisaAskSkarm");
inline const QString Om = QStringLiteral("frmOm");
// The challenge-prize list is built at once, without a window of its own.
inline const QString VandringsprisLista = QStringLiteral("SkrivVandringsprisLista");
} // namespace Fonsternamn
