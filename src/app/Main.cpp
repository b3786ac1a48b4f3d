#include "app/Main.h"

#include "app/Delsystem.h"
#include "app/MDIfrmHuvudmeny.h"
#include "app/QtDialoger.h"
#include "app/frmSplash.h"
#include "platform/QtMeddelanden.h"
#include "shell/ProgramIni.h"
#include "shell/modGlobalt.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QPrinterInfo>
#include <QTranslator>

long AntalSkrivare() {
    return static_cast<long>(QPrinterInfo::availablePrinterNames().size());
}

bool laddaSvenskaQtTexter(QApplication& app) {
    auto* oversattning = new QTranslator(&app);
    if (!oversattning->load(QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("qtbase"),
                            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete oversattning;
        return false;
    }
    return QCoreApplication::installTranslator(oversattning);
}

int Main(QApplication& app) {
    laddaSvenskaQtTexter(app);

    modGlobalt g;
    g.strProgrammapp = QCoreApplication::applicationDirPath();
    g.strHjalpfil = QDir(g.strProgrammapp).filePath(QStringLiteral("Hjälp/pilkrona.chm"));
    g.lngAntalSkrivare = AntalSkrivare();
    g.intAntalKopior = 1;
    g.strDecimaltecken = QLocale::system().decimalPoint();
    g.iniProgram.setPath(programIniSokvag(g.strProgrammapp));

    QtMeddelanden meddelanden;
    frmSplash splash(g.strProgrammapp, meddelanden);
    for (int i = 0; i < 3; ++i)
        app.processEvents();
    splash.show();
    for (int i = 0; i < 3; ++i)
        app.processEvents();

    QtDialoger dialoger;
    MDIfrmHuvudmeny huvudmeny(g, meddelanden, dialoger);
    registreraDelsystem(huvudmeny);
    meddelanden.setForalder(&huvudmeny);
    huvudmeny.MDIForm_Load(&splash);
    return app.exec();
}
