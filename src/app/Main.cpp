#include "app/Main.h"

#include "app/Delsystem.h"
#include "app/MDIfrmHuvudmeny.h"
#include "app/QtDialoger.h"
#include "app/Tangentbordsfokus.h"
#include "app/frmSplash.h"
#include "platform/QtMeddelanden.h"
#include "shell/ProgramIni.h"
#include "shell/modGlobalt.h"
#include "spectator/Askadarflode.h"

#include <QApplication>
#include <QDir>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QPrinterInfo>
#include <QTranslator>

long AntalSkrivare() {
    return static_cast<long>(QPrinterInfo::availablePrinterNames().size());
}

namespace {
// Qt's Swedish catalogue lacks the standard buttons that every dialog shows
// (they moved to the platform theme after it was written); these few fill in.
class Standardknappar : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* sammanhang, const char* kalla, const char*, int) const override {
        static const QHash<QByteArray, QString> texter = {
            {"OK", QStringLiteral("OK")},
            {"Save", QStringLiteral("Spara")},
            {"Save All", QStringLiteral("Spara alla")},
            {"Open", QStringLiteral("Öppna")},
            {"&Yes", QStringLiteral("&Ja")},
            {"Yes to &All", QStringLiteral("Ja till &alla")},
            {"&No", QStringLiteral("&Nej")},
            {"N&o to All", QStringLiteral("N&ej till alla")},
            {"Abort", QStringLiteral("Avbryt")},
            {"Retry", QStringLiteral("Försök igen")},
            {"Ignore", QStringLiteral("Ignorera")},
            {"Close", QStringLiteral("Stäng")},
            {"Cancel", QStringLiteral("Avbryt")},
            {"Discard", QStringLiteral("Förkasta")},
            {"Help", QStringLiteral("Hjälp")},
            {"Apply", QStringLiteral("Verkställ")},
            {"Reset", QStringLiteral("Återställ")},
            {"Restore Defaults", QStringLiteral("Återställ standardvärden")},
        };
        if (qstrcmp(sammanhang, "QPlatformTheme") != 0)
            return {};
        return texter.value(QByteArray(kalla));
    }
    bool isEmpty() const override { return false; }
};
} // namespace

bool laddaSvenskaQtTexter(QApplication& app) {
    auto* katalog = new QTranslator(&app);
    const bool laddad =
        katalog->load(QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("qt"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (laddad)
        QCoreApplication::installTranslator(katalog);
    else
        delete katalog;
    QCoreApplication::installTranslator(new Standardknappar(&app));
    return laddad;
}

int Main(QApplication& app) {
    laddaSvenskaQtTexter(app);
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
    huvudmeny.MDIForm_Load(&splash);
    return app.exec();
}
