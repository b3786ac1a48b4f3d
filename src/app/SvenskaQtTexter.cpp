#include "app/SvenskaQtTexter.h"

#include <QApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>

namespace {

// Paper names are mostly designations that read the same in Swedish (A4,
// Letter, JIS B5); what is English in them is put in Swedish words, inches
// and decimal commas.
QString pappersnamn(QString namn) {
    static const std::pair<const char*, const char*> ord[] = {
        {"Envelope", "Kuvert"},           {"Custom", "Anpassad"},    {"Double Postcard", "Dubbelt vykort"},
        {"Postcard", "Vykort"},           {"Architect", "Arkitekt"}, {"Fan-fold German", "Listpapper tyskt"},
        {"Fan-fold US", "Listpapper US"}, {"Small", "liten"},        {"Big", "stor"},
        {"Italian", "italienskt"},        {"Invite", "inbjudan"},
    };
    for (const auto& [engelska, svenska] : ord)
        namn.replace(QLatin1String(engelska), QString::fromUtf8(svenska));
    static const QRegularExpression tum(QStringLiteral("\\bin\\b"));
    static const QRegularExpression decimal(QStringLiteral("(\\d)\\.(\\d)"));
    return namn.replace(tum, QStringLiteral("tum")).replace(decimal, QStringLiteral("\\1,\\2"));
}

// Qt's Swedish catalogue was written before the standard buttons moved to the
// platform theme, before the print dialog got its present form and before
// most of the file dialog's texts: without these they show "Print", "Look
// in:", "Computer" and more in English, and the printer's properties dialog
// ("Egenskaper") is English throughout. The catalogue's own texts come
// first; these fill in what it lacks.
class SvenskaTillagg : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* sammanhang, const char* kalla, const char*, int) const override {
        if (qstrcmp(sammanhang, "QPageSize") == 0)
            return pappersnamn(QString::fromUtf8(kalla));
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
                 {"Local file", QStringLiteral("Lokal fil")},
                 {"Write PDF file", QStringLiteral("Skriv PDF-fil")},
                 {"Print to File (PDF)", QStringLiteral("Skriv till fil (PDF)")},
                 {"Print To File ...", QStringLiteral("Skriv till fil ...")},
                 {"1 (1x1)", QStringLiteral("1 (1x1)")},
                 {"2 (2x1)", QStringLiteral("2 (2x1)")},
                 {"4 (2x2)", QStringLiteral("4 (2x2)")},
                 {"6 (2x3)", QStringLiteral("6 (2x3)")},
                 {"9 (3x3)", QStringLiteral("9 (3x3)")},
                 {"16 (4x4)", QStringLiteral("16 (4x4)")},
                 {"Left to Right, Top to Bottom", QStringLiteral("Vänster till höger, uppifrån och ned")},
                 {"Left to Right, Bottom to Top", QStringLiteral("Vänster till höger, nerifrån och upp")},
                 {"Right to Left, Bottom to Top", QStringLiteral("Höger till vänster, nerifrån och upp")},
                 {"Right to Left, Top to Bottom", QStringLiteral("Höger till vänster, uppifrån och ned")},
                 {"Bottom to Top, Left to Right", QStringLiteral("Nerifrån och upp, vänster till höger")},
                 {"Bottom to Top, Right to Left", QStringLiteral("Nerifrån och upp, höger till vänster")},
                 {"Top to Bottom, Left to Right", QStringLiteral("Uppifrån och ned, vänster till höger")},
                 {"Top to Bottom, Right to Left", QStringLiteral("Uppifrån och ned, höger till vänster")},
                 {"%1 is a directory.\nPlease choose a different file name.",
                  QStringLiteral("%1 är en mapp.\nVälj ett annat filnamn.")},
                 {"File %1 is not writable.\nPlease choose a different file name.",
                  QStringLiteral("Filen %1 går inte att skriva.\nVälj ett annat filnamn.")},
                 {"%1 already exists.\nDo you want to overwrite it?",
                  QStringLiteral("%1 finns redan.\nVill du skriva över den?")},
                 {"Options 'Pages Per Sheet' and 'Page Set' cannot be used together.\nPlease turn one of "
                  "those "
                  "options off.",
                  QStringLiteral("Alternativen 'Sidor per ark' och 'Sidurval' kan inte användas samtidigt.\n"
                                 "Stäng av ett av dem.")},
                 {"Invalid Pages Definition", QStringLiteral("Felaktigt sidurval")},
                 {"%1 does not follow the correct syntax. Please use ',' to separate ranges and pages, '-' "
                  "to "
                  "define ranges and make sure ranges do not intersect with each other.",
                  QStringLiteral("%1 är inte rätt skrivet. Skilj sidor och intervall åt med ',', skriv ett "
                                 "intervall med '-' och se till att inga intervall går in i varandra.")},
                 {"Duplex Settings Conflicts", QStringLiteral("Dubbelsidig utskrift går inte ihop")},
                 {"There are conflicts in duplex settings. Do you want to fix them?",
                  QStringLiteral(
                      "Inställningarna för dubbelsidig utskrift går inte ihop. Vill du rätta dem?")},
             }},
            {"QPrintPropertiesDialog",
             {
                 {"Printer Properties", QStringLiteral("Skrivaregenskaper")},
                 {"Job Options", QStringLiteral("Jobbalternativ")},
                 {"Page Setup Conflicts", QStringLiteral("Sidinställningarna går inte ihop")},
                 {"There are conflicts in page setup options. Do you want to fix them?",
                  QStringLiteral("Några av sidinställningarna går inte ihop. Vill du rätta dem?")},
                 {"Advanced Option Conflicts", QStringLiteral("De avancerade inställningarna går inte ihop")},
                 {"There are conflicts in some advanced options. Do you want to fix them?",
                  QStringLiteral("Några av de avancerade inställningarna går inte ihop. Vill du rätta dem?")},
             }},
            {"QPrintPropertiesWidget",
             {
                 {"Form", QStringLiteral("Formulär")},
                 {"Page", QStringLiteral("Sida")},
                 {"Advanced", QStringLiteral("Avancerat")},
                 {"There are conflicts in some options. Please fix them.",
                  QStringLiteral("Några inställningar går inte ihop. Rätta dem.")},
             }},
            {"QPageSetupWidget",
             {
                 {"Form", QStringLiteral("Formulär")},
                 {"Paper", QStringLiteral("Papper")},
                 {"Width:", QStringLiteral("Bredd:")},
                 {"Height:", QStringLiteral("Höjd:")},
                 {"Orientation", QStringLiteral("Orientering")},
                 {"Reverse landscape", QStringLiteral("Omvänt liggande")},
                 {"Reverse portrait", QStringLiteral("Omvänt stående")},
                 {"Margins", QStringLiteral("Marginaler")},
                 {"top margin", QStringLiteral("övre marginal")},
                 {"left margin", QStringLiteral("vänstermarginal")},
                 {"right margin", QStringLiteral("högermarginal")},
                 {"bottom margin", QStringLiteral("nedre marginal")},
                 {"Page Layout", QStringLiteral("Sidlayout")},
                 {"Page order:", QStringLiteral("Sidordning:")},
                 {"Pages per sheet:", QStringLiteral("Sidor per ark:")},
                 {"Millimeters (mm)", QStringLiteral("Millimeter (mm)")},
                 {"Inches (in)", QStringLiteral("Tum (in)")},
                 {"Points (pt)", QStringLiteral("Punkter (pt)")},
                 {"Pica (P\u0338)", QStringLiteral("Pica (P\u0338)")},
                 {"Didot (DD)", QStringLiteral("Didot (DD)")},
                 {"Cicero (CC)", QStringLiteral("Cicero (CC)")},
                 {"Custom", QStringLiteral("Anpassad")},
                 {"mm", QStringLiteral("mm")},
             }},
            {"QCupsJobWidget",
             {
                 {"Job", QStringLiteral("Jobb")},
                 {"Job Control", QStringLiteral("Jobbhantering")},
                 {"Scheduled printing:", QStringLiteral("Schemalagd utskrift:")},
                 {"Billing information:", QStringLiteral("Debiteringsuppgifter:")},
                 {"Job priority:", QStringLiteral("Jobbets prioritet:")},
                 {"Banner Pages", QStringLiteral("Försättsblad")},
                 {"End:", QStringLiteral("Efter:")},
                 {"Start:", QStringLiteral("Före:")},
                 {"Print Immediately", QStringLiteral("Skriv ut genast")},
                 {"Hold Indefinitely", QStringLiteral("Vänta tills vidare")},
                 {"Day (06:00 to 17:59)", QStringLiteral("Dag (06:00 till 17:59)")},
                 {"Night (18:00 to 05:59)", QStringLiteral("Natt (18:00 till 05:59)")},
                 {"Second Shift (16:00 to 23:59)", QStringLiteral("Andra skiftet (16:00 till 23:59)")},
                 {"Third Shift (00:00 to 07:59)", QStringLiteral("Tredje skiftet (00:00 till 07:59)")},
                 {"Weekend (Saturday to Sunday)", QStringLiteral("Helg (lördag till söndag)")},
                 {"Specific Time", QStringLiteral("Vid en viss tid")},
                 {"None", QStringLiteral("Inget")},
                 {"Standard", QStringLiteral("Standard")},
                 {"Unclassified", QStringLiteral("Öppen")},
                 {"Confidential", QStringLiteral("Konfidentiell")},
                 {"Classified", QStringLiteral("Sekretessbelagd")},
                 {"Secret", QStringLiteral("Hemlig")},
                 {"Top Secret", QStringLiteral("Kvalificerat hemlig")},
             }},
            {"QPrintWidget",
             {
                 {"&Name:", QStringLiteral("&Namn:")},
                 {"P&roperties", QStringLiteral("&Egenskaper")},
                 {"Location:", QStringLiteral("Plats:")},
                 {"Preview", QStringLiteral("Förhandsgranska")},
                 {"Type:", QStringLiteral("Typ:")},
                 {"Output &file:", QStringLiteral("Utdata&fil:")},
                 {"Form", QStringLiteral("Formulär")},
             }},
            {"QPrintSettingsOutput",
             {
                 {"Form", QStringLiteral("Formulär")},
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

void svenskaFormatUtanSystemsprak() {
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
}

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
