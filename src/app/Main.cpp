#include "app/Main.h"

#include "app/Delsystem.h"
#include "app/MDIfrmHuvudmeny.h"
#include "app/QtDialoger.h"
#include "app/Signalvakt.h"
#include "app/SvenskaQtTexter.h"
#include "app/Tangentbordsfokus.h"
#include "app/frmSplash.h"
#include "platform/QtMeddelanden.h"
#include "platform/workbook/Typsnitt.h"
#include "shell/Avslutning.h"
#include "shell/ProgramIni.h"
#include "shell/modGlobalt.h"
#include "spectator/Askadarflode.h"

#include <QApplication>
#include <QDir>
#include <QPrinterInfo>

long AntalSkrivare() {
    return static_cast<long>(QPrinterInfo::availablePrinterNames().size());
}

int Main(QApplication& app) {
    laddaSvenskaQtTexter(app);
    svenskaFormatUtanSystemsprak();
    Kalkyl::Typsnitt::ersattWindowsTypsnitt();
    Tangentbordsfokus tangentbordsfokus;

    modGlobalt g;
    g.strProgrammapp = QCoreApplication::applicationDirPath();
    g.strHjalpfil = QDir(g.strProgrammapp).filePath(QStringLiteral("Hjälp/pilkrona.chm"));
    g.lngAntalSkrivare = AntalSkrivare();
    g.intAntalKopior = 1;
    g.iniProgram.setPath(programIniSokvag(g.strProgrammapp));

    QtMeddelanden meddelanden;
    frmSplash splash(g.strProgrammapp, meddelanden);
    for (int i = 0; i < 3; ++i)
        app.processEvents();
    splash.show();
    for (int i = 0; i < 3; ++i)
        app.processEvents();

    // The spectator feed outlives the main window: a display still taking what it
    // was last sent gets its moment when the program ends.
    Askadarflode askadarflode(g, meddelanden);
    QtDialoger dialoger;
    MDIfrmHuvudmeny huvudmeny(g, meddelanden, dialoger, askadarflode);
    registreraDelsystem(huvudmeny.programdelar());
    meddelanden.setForalder(&huvudmeny);
    // Told to end by the system, the program closes as Avsluta closes it,
    // after a copy that runs has ended, and asks nothing. Until now nothing
    // was open that a signal's ordinary end could leave behind.
    Avslutning avslutning(meddelanden, [&huvudmeny] { huvudmeny.avslutaUtanSvar(); });
    Signalvakt signalvakt;
    QObject::connect(&signalvakt, &Signalvakt::mottagen, &signalvakt, [&avslutning] { avslutning.begar(); });
    huvudmeny.MDIForm_Load(&splash);
    return avslutning.kor();
}
