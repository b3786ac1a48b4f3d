#include "app/SvenskaQtTexter.h"

#include <QApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {
// Qt's Swedish catalogue was written before the standard buttons moved to the
// platform theme, before the print dialog got its present form and before
// most of the file dialog's texts: without these they show "Print", "Look
// in:", "Computer" and more in English. The catalogue's own texts come first;
// these fill in what it lacks.
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
            {"QFileDialog",
             {
                 {"Look in:", QStringLiteral("Leta i:")},
                 {"Go back", QStringLiteral("Gå tillbaka")},
                 {"Go forward", QStringLiteral("Gå framåt")},
                 {"Go to the parent directory", QStringLiteral("Gå till mappen ovanför")},
                 {"Create a New Folder", QStringLiteral("Skapa en ny mapp")},
                 {"Change to list view mode", QStringLiteral("Visa som lista")},
                 {"Change to detail view mode", QStringLiteral("Visa med detaljer")},
                 {"Sidebar", QStringLiteral("Sidopanel")},
                 {"List of places and bookmarks", QStringLiteral("Platser och bokmärken")},
                 {"Files", QStringLiteral("Filer")},
                 {"Find Directory", QStringLiteral("Välj mapp")},
                 {"Open", QStringLiteral("Öppna")},
                 {"Save As", QStringLiteral("Spara som")},
                 {"&Choose", QStringLiteral("&Välj")},
                 {"&Save", QStringLiteral("&Spara")},
                 {"Show ", QStringLiteral("Visa ")},
                 {"&New Folder", QStringLiteral("&Ny mapp")},
                 {"New Folder", QStringLiteral("Ny mapp")},
                 {"Directory:", QStringLiteral("Mapp:")},
                 {"All files (*)", QStringLiteral("Alla filer (*)")},
                 {"Directories", QStringLiteral("Mappar")},
                 {"Recent Places", QStringLiteral("Senaste platser")},
                 {"Remove", QStringLiteral("Ta bort")},
                 {"Delete", QStringLiteral("Ta bort")},
                 {"%1\nDirectory not found.\nPlease verify the correct directory name was given.",
                  QStringLiteral("%1\nMappen finns inte.\nKontrollera att mappens namn är rätt.")},
                 {"%1\nFile not found.\nPlease verify the correct file name was given.",
                  QStringLiteral("%1\nFilen finns inte.\nKontrollera att filens namn är rätt.")},
                 {"%1 already exists.\nDo you want to replace it?",
                  QStringLiteral("%1 finns redan.\nVill du ersätta den?")},
                 {"'%1' is write protected.\nDo you want to delete it anyway?",
                  QStringLiteral("'%1' är skrivskyddad.\nVill du ta bort den ändå?")},
                 {"Are you sure you want to delete '%1'?", QStringLiteral("Vill du ta bort '%1'?")},
                 {"Could not delete directory.", QStringLiteral("Mappen kunde inte tas bort.")},
             }},
            {"QFileSystemModel",
             {
                 {"Computer", QStringLiteral("Datorn")},
                 {"Name", QStringLiteral("Namn")},
                 {"Size", QStringLiteral("Storlek")},
                 {"Type", QStringLiteral("Typ")},
                 {"Date Modified", QStringLiteral("Ändringsdatum")},
             }},
            {"QAbstractFileIconProvider",
             {
                 {"Drive", QStringLiteral("Enhet")},
                 {"Folder", QStringLiteral("Mapp")},
                 {"Unknown", QStringLiteral("Okänd")},
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
