#include "app/Main.h"

#include "app/Delsystem.h"
#include "app/MDIfrmHuvudmeny.h"
#include "app/QtDialoger.h"
#include "app/Tangentbordsfokus.h"
#include "app/frmSplash.h"
#include "platform/QtMeddelanden.h"
#include "platform/workbook/Typsnitt.h"
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
// Qt's Swedish catalogue was written before the standard buttons moved to the
// platform theme and before the print dialog got its present form: without
// these it shows "Print", "Options" and most of its labels in English. The
// catalogue's own texts come first; these fill in what it lacks.
class SvenskaTillagg : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* sammanhang, const char* kalla, const char*, int) const override {
        static const QHash<QByteArray, QHash<QByteArray, QString>> texter = {
            {"QPlatformTheme",
             {
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
             }},
            {"QPrintDialog",
             {
                 {"&Print", QStringLiteral("&Skriv ut")},
                 {"&Options >>", QStringLiteral("&Alternativ >>")},
                 {"&Options <<", QStringLiteral("&Alternativ <<")},
                 {"All Pages", QStringLiteral("Alla sidor")},
                 {"Odd Pages", QStringLiteral("Udda sidor")},
                 {"Even Pages", QStringLiteral("Jämna sidor")},
             }},
            {"QPrintWidget",
             {
                 {"&Name:", QStringLiteral("&Namn:")},
                 {"P&roperties", QStringLiteral("&Egenskaper")},
                 {"Location:", QStringLiteral("Plats:")},
                 {"Preview", QStringLiteral("Förhandsgranska")},
                 {"Type:", QStringLiteral("Typ:")},
                 {"Output &file:", QStringLiteral("Utdata&fil:")},
             }},
            {"QPrintSettingsOutput",
             {
                 {"Copies:", QStringLiteral("Kopior:")},
                 {"Current Page", QStringLiteral("Aktuell sida")},
                 {"Pages", QStringLiteral("Sidor")},
                 {"Page Set:", QStringLiteral("Sidurval:")},
                 {"Output Settings", QStringLiteral("Utskriftsinställningar")},
                 {"Reverse", QStringLiteral("Omvänd ordning")},
                 {"Color Mode", QStringLiteral("Färgläge")},
                 {"Color", QStringLiteral("Färg")},
                 {"Grayscale", QStringLiteral("Gråskala")},
                 {"Double Sided Printing", QStringLiteral("Dubbelsidig utskrift")},
                 {"Off", QStringLiteral("Av")},
                 {"Long side binding", QStringLiteral("Bindning längs långsidan")},
                 {"Short side binding", QStringLiteral("Bindning längs kortsidan")},
                 {"Options", QStringLiteral("Alternativ")},
                 {"Specify pages or ranges separated by commas. Ranges are specified by two numbers "
                  "separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
                  QStringLiteral("Ange sidor eller intervall åtskilda med kommatecken. Ett intervall är "
                                 "två tal med bindestreck emellan. Till exempel skriver 3,5-7,9 ut "
                                 "sidorna 3, 5, 6, 7 och 9.")},
             }},
        };
        const auto delar = texter.constFind(QByteArray(sammanhang));
        return delar == texter.constEnd() ? QString() : delar->value(QByteArray(kalla));
    }
    bool isEmpty() const override { return false; }
};
} // namespace

bool laddaSvenskaQtTexter(QApplication& app) {
    // The last installed is asked first: the catalogue keeps its own wording,
    // the additions answer only what it lacks.
    QCoreApplication::installTranslator(new SvenskaTillagg(&app));
    auto* katalog = new QTranslator(&app);
    const bool laddad =
        katalog->load(QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("qt"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (laddad)
        QCoreApplication::installTranslator(katalog);
    else
        delete katalog;
    return laddad;
}

int Main(QApplication& app) {
    laddaSvenskaQtTexter(app);
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
    huvudmeny.MDIForm_Load(&splash);
    return app.exec();
}
