#include "shell/Main.h"

#include "common/IniNamn.h"
#include "platform/QtMeddelanden.h"
#include "shell/MDIfrmHuvudmeny.h"
#include "shell/frmSplash.h"
#include "shell/modGlobalt.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QPrinterInfo>

long AntalSkrivare() {
    return static_cast<long>(QPrinterInfo::availablePrinterNames().size());
}

int Main(QApplication& app) {
    modGlobalt g;
    g.strProgrammapp = QCoreApplication::applicationDirPath();
    g.strHjalpfil = QDir(g.strProgrammapp).filePath(QStringLiteral("Hjälp/pilkrona.chm"));
    g.lngAntalSkrivare = AntalSkrivare();
    g.intAntalKopior = 1;
    g.strDecimaltecken = QLocale::system().decimalPoint();
    g.iniProgram.setPath(QDir(g.strProgrammapp).filePath(Ini::ProgramIniNamn));

    QtMeddelanden meddelanden;
    frmSplash splash(g.strProgrammapp, meddelanden);
    for (int i = 0; i < 3; ++i)
        app.processEvents();
    splash.show();
    for (int i = 0; i < 3; ++i)
        app.processEvents();

    MDIfrmHuvudmeny huvudmeny(g, meddelanden);
    meddelanden.setForalder(&huvudmeny);
    huvudmeny.MDIForm_Load(&splash);
    return app.exec();
}
