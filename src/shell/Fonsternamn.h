#pragma once

#include <QString>

// Names under which the child windows of the program are registered with the
// main window.
namespace Fonsternamn {
inline const QString NyTavling = QStringLiteral("frmNyTavling");
inline const QString ImporteraGuide = QStringLiteral("frmImporteraGuide");
inline const QString ExporteraGuide = QStringLiteral("frmExporteraGuide");
inline const QString Installningar = QStringLiteral("frmInstallningar");
inline const QString SokSkytt = QStringLiteral("frmSokSkytt");
inline const QString InskrivningSkyttar = QStringLiteral("frmInskrivningSkyttar");
inline const QString LagInskrivning = QStringLiteral("frmLagInskrivning");
inline const QString ValjSkjutlag = QStringLiteral("frmValjSkjutlag");
inline const QString ValResSkarmGrund = QStringLiteral("frmValResSkarmGrund");
inline const QString UtskriftSkjutlag = QStringLiteral("frmUtskriftSkjutlag");
inline const QString Foreningsutskrift = QStringLiteral("frmForeningsutskrift");
inline const QString Lagutskrift = QStringLiteral("frmLagutskrift");
inline const QString KonfigAskSkarm = QStringLiteral("frmKonfigAskSkarm");
inline const QString VisaAskSkarm = QStringLiteral("frmVisaAskSkarm");
inline const QString Om = QStringLiteral("frmOm");
} // namespace Fonsternamn
