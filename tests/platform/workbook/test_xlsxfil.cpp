#include "common/Fel.h"
#include "platform/workbook/Filhallare.h"
#include "platform/workbook/Kalkylprogram.h"
#include "platform/workbook/Sidindelning.h"
#include "platform/workbook/XlsxFil.h"
#include "support/Dodsbarn.h"
#include "support/Filhallarbarn.h"
#include "support/Filstorlekstak.h"
#include "support/Pipvakt.h"
#include "support/Testfel.h"
#include "support/Testmiljo.h"
#include "support/VanligAnvandare.h"
#include "support/XlsxLasare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

using namespace Kalkyl;

namespace {

// A plain file of another user, in a table whose column is a Filslag.
constexpr int AnnanAgare = -1;

// Sets what lies at sokvag (a link itself, not what it leads to) as last
// changed the given number of minutes ago.
bool aldras(const QString& sokvag, int minuter) {
    const timespec tid{::time(nullptr) - minuter * 60, 0};
    const timespec tider[2] = {tid, tid};
    return ::utimensat(AT_FDCWD, QFile::encodeName(sokvag).constData(), tider, AT_SYMLINK_NOFOLLOW) == 0;
}

QByteArray lasBytes(const QString& sokvag) {
    QFile f(sokvag);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// What is done to the last part of a zip after it is written whole.
enum class Skada { Ingen, Kontrollsumma, Langd, Databyte, Avklippt, KatalogSlut };

struct Zipdel {
    QByteArray namn, innehall;
    bool packad = true;
};

void skriv16(QByteArray& b, quint32 v) {
    b.append(char(v & 0xff));
    b.append(char((v >> 8) & 0xff));
}
void skriv32(QByteArray& b, quint32 v) {
    skriv16(b, v & 0xffff);
    skriv16(b, v >> 16);
}

QByteArray packa(const QByteArray& data) {
    z_stream z{};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray ut(qsizetype(deflateBound(&z, uLong(data.size()))), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(ut.data());
    z.avail_out = uInt(ut.size());
    deflate(&z, Z_FINISH);
    ut.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return ut;
}

// A zip as the workbook writer lays it out: each part stored or deflated, its
// checksum and lengths in its local header and in the central directory.
QByteArray zip(const QList<Zipdel>& delar, Skada skada) {
    QByteArray fil, katalog;
    for (qsizetype i = 0; i < delar.size(); ++i) {
        const Zipdel& d = delar[i];
        const bool sista = i == delar.size() - 1;
        QByteArray data = d.packad ? packa(d.innehall) : d.innehall;
        quint32 crc = quint32(
            crc32(0, reinterpret_cast<const Bytef*>(d.innehall.constData()), uInt(d.innehall.size())));
        quint32 langd = quint32(d.innehall.size());
        if (sista && skada == Skada::Kontrollsumma)
            crc ^= 1;
        if (sista && skada == Skada::Langd)
            ++langd;
        if (sista && skada == Skada::Databyte)
            data[data.size() / 2] = char(data[data.size() / 2] ^ 0x20);
        const auto huvud = [&](QByteArray& b) {
            skriv16(b, 20);               // version needed
            skriv16(b, 0);                // flags
            skriv16(b, d.packad ? 8 : 0); // method
            skriv16(b, 0);                // time
            skriv16(b, 0x21);             // date
            skriv32(b, crc);
            skriv32(b, quint32(data.size()));
            skriv32(b, langd);
            skriv16(b, quint32(d.namn.size()));
            skriv16(b, 0); // extra field
        };
        const quint32 lokal = quint32(fil.size());
        skriv32(fil, 0x04034b50);
        huvud(fil);
        fil += d.namn + data;
        skriv32(katalog, 0x02014b50);
        skriv16(katalog, 20); // made by
        huvud(katalog);
        skriv16(katalog, 0); // comment
        skriv16(katalog, 0); // disk
        skriv16(katalog, 0); // internal attributes
        skriv32(katalog, 0); // external attributes
        skriv32(katalog, lokal);
        katalog += d.namn;
    }
    const quint32 borjan = quint32(fil.size());
    fil += katalog;
    skriv32(fil, 0x06054b50);
    skriv16(fil, 0);
    skriv16(fil, 0);
    skriv16(fil, quint32(delar.size()));
    skriv16(fil, quint32(delar.size()));
    // The end record says where the central directory ends: one byte off is a
    // file put together wrongly.
    skriv32(fil, quint32(katalog.size()) - (skada == Skada::KatalogSlut ? 1 : 0));
    skriv32(fil, borjan);
    skriv16(fil, 0);
    if (skada == Skada::Avklippt)
        fil.truncate(fil.size() / 2);
    return fil;
}

// A result list's frame and a class block, as the list builders write them.
void byggResultatlista(Kalkylprogram& app, Arbetsblad& blad) {
    blad.setName(QStringLiteral("Resultatlista"));
    blad.Cells().Select();
    blad.Cells().Font().setName(QStringLiteral("MS Sans Serif"));
    blad.Cells().Font().setSize(10);
    Sidformat& sf = blad.PageSetup();
    sf.setPrintGridlines(false);
    sf.setOrientation(Orientering::Liggande);
    sf.setPaperSize(Pappersstorlek::A4);
    const double cm = 0.393700787401575;
    sf.setLeftMargin(app.InchesToPoints(1.2 * cm));
    sf.setRightMargin(app.InchesToPoints(0 * cm));
    sf.setTopMargin(app.InchesToPoints(2.5 * cm));
    sf.setBottomMargin(app.InchesToPoints(2.5 * cm));
    sf.setHeaderMargin(app.InchesToPoints(1.3 * cm));
    sf.setFooterMargin(app.InchesToPoints(1.3 * cm));
    blad.Range(QStringLiteral("a:a")).setColumnWidth(5);
    blad.Range(QStringLiteral("a:a")).setHorizontalAlignment(Justering::Hoger);
    blad.Range(QStringLiteral("b:b")).setColumnWidth(22.86);
    blad.Range(QStringLiteral("b:b")).setHorizontalAlignment(Justering::Vanster);
    blad.Range(QStringLiteral("d:k")).setColumnWidth(3.57);
    blad.Range(QStringLiteral("d:k")).setHorizontalAlignment(Justering::Centrerad);
    blad.Range(QStringLiteral("l:l")).setColumnWidth(6.43);
    blad.Cells().setRowHeight(15.75);
    blad.Range(QStringLiteral("a1")).Select();
    sf.setLeftHeader(
        QStringLiteral("&\"MS Sans Serif,Normal\"&10 Höstcupen && Co 2024-10-05\n Resultatlista"));
    sf.setRightHeader(QStringLiteral("&\"MS Sans Serif,Normal\"&10Tävlings omg. Final"));
    sf.setRightFooter(QStringLiteral("&\"MS Sans Serif,Normal\"&10&P"));

    blad.Range(QStringLiteral("1:1")).setRowHeight(19.5);
    blad.Cells(1, 2).Font().setSize(13.5);
    blad.Cells(1, 2).Font().setBold(true);
    blad.Cells(1, 2).setValue(QStringLiteral("Damer"));
    blad.Range(QStringLiteral("2:2")).Font().setBold(true);
    blad.Cells(2, 1).setValue(QStringLiteral("Plac"));
    blad.Cells(2, 2).setValue(QStringLiteral("Namn"));
    blad.Cells(4, 1).setValue(1);
    blad.Cells(4, 2).setValue(QStringLiteral("Åsa Öberg"));
    blad.Cells(4, 4).setValue(50);
    blad.Cells(4, 4).Font().setColor(Rod);
    blad.Cells(4, 5).setValue(49);
    blad.Cells(4, 5).Font().setColor(Svart);
    blad.Cells(4, 12).Font().setBold(true);
    blad.Cells(4, 12).setValue(99.5);
    blad.Range(QStringLiteral("F5")).setNumberFormat(QStringLiteral("@"));
    blad.Range(QStringLiteral("F5")).setValue(QStringLiteral("10:30"));
    blad.Cells(5, 3).Font().setUnderline(Understrykning::Enkel);
    blad.Cells(5, 3).setValue(QStringLiteral("Förklaringar"));
    blad.Cells(6, 3).Interior().setColor(9868950);
    blad.Cells(6, 4).setValue(true);
    blad.HPageBreaks().Add(blad.Range(QStringLiteral("A5")));
}

// A saved workbook whose first cell has changed since: what a refused save must
// leave as it was.
struct SparadBok {
    Testmiljo t;
    const QString mal = t.fil(QStringLiteral("Skjutlagslista_Printer.xlsx"));
    Kalkylprogram app;
    Arbetsbok& bok = app.Workbooks().Add();
    QByteArray gammal;
    SparadBok() {
        bok.SaveAs(mal);
        gammal = lasBytes(mal);
        bok.Worksheets(1).Cells(1, 1).setValue(1);
    }
    QStringList filer() const { return QDir(t.mapp()).entryList(QDir::Files | QDir::Hidden); }
    // Saves again once nothing stands in the way: the change reaches the file.
    QString sparaIgen() {
        bok.SaveAs(mal);
        return XlsxLasare(mal).varde(QStringLiteral("A1"));
    }
};
// A child that saves a large workbook over and over until it is killed.
constexpr const char* Sparbarn = "--spara-tills-dodad";

int sparaTillsDodad(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Kalkylprogram program;
    Arbetsbok& bok = program.Workbooks().Add();
    for (int r = 1; r <= 3000; ++r)
        for (int k = 1; k <= 10; ++k)
            bok.Worksheets(1).Cells(r, k).setValue(QStringLiteral("Rad %1 kolumn %2").arg(r).arg(k));
    const QString mal = QString::fromLocal8Bit(argv[2]);
    std::puts("sparar");
    std::fflush(stdout);
    for (;;)
        bok.SaveAs(mal);
}

} // namespace

Q_DECLARE_METATYPE(Skada)
Q_DECLARE_METATYPE(XlsxLasare::Format)

class TestXlsxFil : public QObject {
    Q_OBJECT
private slots:
    void filnamnBlirXlsx() {
        QCOMPARE(XlsxFil::sokvag("/t/Cup/Utskrifter\\Resultatlista_Fil.xls"),
                 "/t/Cup/Utskrifter/Resultatlista_Fil.xlsx");
        QCOMPARE(XlsxFil::sokvag("/t/Cup\\Utskrifter\\LagutskriftOmg3_Printer.XLS"),
                 "/t/Cup/Utskrifter/LagutskriftOmg3_Printer.xlsx");
        QCOMPARE(XlsxFil::sokvag("/t/lista.xlsx"), "/t/lista.xlsx");
        QCOMPARE(XlsxFil::sokvag("/t/Lista v.2"), "/t/Lista v.2.xlsx");
        QCOMPARE(XlsxFil::sokvag("Skjutlagslista_Fil.xls"), QDir::currentPath() + "/Skjutlagslista_Fil.xlsx");
        QCOMPARE(felnummer([] { XlsxFil::sokvag("/t/Utskrifter\\"); }), Kalkylfel::Programfel);
    }

    // Everything the list set reaches the file: values, fonts, colours, fills,
    // widths, heights, alignment, text cells, page breaks and the page set-up.
    void listanLasesTillbakaUrFilen() {
        Testmiljo t;
        QDir().mkpath(t.fil(QStringLiteral("Cup/Utskrifter")));
        Kalkylprogram app;
        Arbetsbok& bok = app.Workbooks().Add();
        byggResultatlista(app, app.Worksheets(1));
        bok.setCheckCompatibility(false);
        const QString sparad = bok.SaveAs(
            t.fil(QStringLiteral("Cup")) + "\\Utskrifter\\Resultatlista_Fil.xls", Filformat::Excel8, false);
        bok.Close(false);
        QCOMPARE(sparad, t.fil(QStringLiteral("Cup/Utskrifter/Resultatlista_Fil.xlsx")));
        QVERIFY(!QFileInfo::exists(t.fil(QStringLiteral("Cup/Utskrifter/Resultatlista_Fil.xls"))));

        const XlsxLasare x(sparad);
        QCOMPARE(x.bladnamn(), "Resultatlista");
        QCOMPARE(x.celler({"B1", "B4", "A4", "L4", "D6", "F5"}),
                 QStringList({"s:Damer", "s:Åsa Öberg", "n:1", "n:99.5", "b:1", "s:10:30"}));
        using F = XlsxLasare::Format;
        const QString ms = QStringLiteral("MS Sans Serif");
        QCOMPARE(x.format("B1"), (F{.font = ms, .storlek = 13.5, .fet = true, .justering = "left"}));
        QCOMPARE(x.format("A2"), (F{.font = ms, .storlek = 10, .fet = true, .justering = "right"}));
        QCOMPARE(x.format("D4"), (F{.font = ms, .storlek = 10, .farg = "FFFF0000", .justering = "center"}));
        QCOMPARE(x.format("E4"), (F{.font = ms, .storlek = 10, .farg = "FF000000", .justering = "center"}));
        QCOMPARE(x.format("B4"), (F{.font = ms, .storlek = 10, .justering = "left"}));
        QCOMPARE(x.format("L4"), (F{.font = ms, .storlek = 10, .fet = true}));
        QCOMPARE(x.format("C5"), (F{.font = ms, .storlek = 10, .understrykning = "single"}));
        QCOMPARE(x.format("C6"), (F{.font = ms, .storlek = 10, .fyllning = "FF969696"}));
        QCOMPARE(x.format("F5"), (F{.font = ms, .storlek = 10, .justering = "center", .talformat = "@"}));
        QCOMPARE(x.kolumnformat(11), (F{.font = ms, .storlek = 10, .justering = "center"}));
        QCOMPARE(x.kolumnformat(20), (F{.font = ms, .storlek = 10}));
        QCOMPARE(x.radformat(2), (F{.font = ms, .storlek = 10, .fet = true}));

        // Widths in characters carry the file format's cell padding.
        QVERIFY(std::abs(x.kolumnbredd(1) - 5.7109375) < 1e-6);
        QVERIFY(std::abs(x.kolumnbredd(4) - 4.28515625) < 1e-6);
        QCOMPARE(x.kolumnbredd(11), x.kolumnbredd(4));
        QCOMPARE((QList<double>{x.radhojd(1), x.radhojd(4), x.radhojd(100)}),
                 (QList<double>{19.5, 15.75, 15.75}));
        const auto marginaler = x.attribut("pageMargins");
        QCOMPARE(marginaler.value("left").toDouble(), 1.2 / 2.54);
        QCOMPARE(marginaler.value("right").toDouble(), 0.0);
        QCOMPARE(marginaler.value("top").toDouble(), 2.5 / 2.54);
        QCOMPARE(marginaler.value("header").toDouble(), 1.3 / 2.54);
        QCOMPARE(marginaler.value("footer").toDouble(), 1.3 / 2.54);
        QCOMPARE(x.attribut("pageSetup").value("paperSize"), "9");
        QCOMPARE(x.attribut("pageSetup").value("orientation"), "landscape");
        QVERIFY(!x.attribut("printOptions").contains("gridLines"));
        QCOMPARE(x.text("oddHeader"),
                 "&L&\"MS Sans Serif,Normal\"&10 Höstcupen && Co 2024-10-05\n Resultatlista"
                 "&R&\"MS Sans Serif,Normal\"&10Tävlings omg. Final");
        QCOMPARE(x.text("oddFooter"), "&R&\"MS Sans Serif,Normal\"&10&P");
        QCOMPARE(x.sidbrytningar(), QList<int>{4});
        QCOMPARE(x.attribut("dimension").value("ref"), "A1:L6");
    }

    // A cell's format in the file is the sheet's with its column's, its row's
    // and its own laid over it, also in a column the list never named; formats
    // that differ in one detail stay apart.
    void formatGarIgenomVarjeLager() {
        Testmiljo t;
        Kalkylprogram app;
        Arbetsbok& bok = app.Workbooks().Add();
        Arbetsblad& blad = bok.Worksheets(1);
        blad.Cells().Font().setName("MS Sans Serif");
        blad.Cells().Font().setSize(10);
        blad.Range("c:c").Font().setName("Arial");
        blad.Range("c:c").setHorizontalAlignment(Justering::Centrerad);
        blad.Range("3:3").Font().setBold(true);
        blad.Range("3:3").Font().setSize(12);
        blad.Cells(3, 3).Font().setColor(Rod);
        for (const char* adress : {"C3", "E3", "C5", "Z5", "B5", "B6", "B7", "B8"})
            blad.Range(adress).setValue("x");
        blad.Range("B5").Interior().setColor(Svart);
        blad.Range("B6").Font().setSize(10.5);
        blad.Range("B7").Font().setName("Arial");
        blad.Range("B8").Font().setColor(Svart);
        const XlsxLasare x(bok.SaveAs(t.fil(QStringLiteral("Lista.xlsx"))));
        using F = XlsxLasare::Format;
        const QString ms = QStringLiteral("MS Sans Serif"), arial = QStringLiteral("Arial");
        QCOMPARE(x.format("C3"),
                 (F{.font = arial, .storlek = 12, .fet = true, .farg = "FFFF0000", .justering = "center"}));
        QCOMPARE(x.format("E3"), (F{.font = ms, .storlek = 12, .fet = true}));
        QCOMPARE(x.format("C5"), (F{.font = arial, .storlek = 10, .justering = "center"}));
        QCOMPARE(x.format("Z5"), (F{.font = ms, .storlek = 10}));
        QCOMPARE(x.format("B5"), (F{.font = ms, .storlek = 10, .fyllning = "FF000000"}));
        QCOMPARE(x.format("B6"), (F{.font = ms, .storlek = 10.5}));
        QCOMPARE(x.format("B7"), (F{.font = arial, .storlek = 10}));
        QCOMPARE(x.format("B8"), (F{.font = ms, .storlek = 10, .farg = "FF000000"}));
    }

    // A style set on a cell and then one set on the column's cells down to it:
    // in the file the cell has both (the newer where they set the same thing),
    // the cells above only the range's, though the save looks a format up only
    // when it differs from the one of the cell above.
    void cellstilUnderKolumnomrade_data() {
        QTest::addColumn<int>("fall");
        QTest::addColumn<XlsxLasare::Format>("cellen");
        QTest::addColumn<XlsxLasare::Format>("ovanfor");
        using F = XlsxLasare::Format;
        const QString calibri = QStringLiteral("Calibri"), arial = QStringLiteral("Arial");
        QTest::newRow("fet, sedan högerjusterat")
            << 0 << F{.font = calibri, .storlek = 11, .fet = true, .justering = "right"}
            << F{.font = calibri, .storlek = 11, .justering = "right"};
        QTest::newRow("textformat, sedan teckensnitt")
            << 1 << F{.font = arial, .storlek = 11, .talformat = "@"} << F{.font = arial, .storlek = 11};
        QTest::newRow("storlek, sedan fet") << 2 << F{.font = calibri, .storlek = 14, .fet = true}
                                            << F{.font = calibri, .storlek = 11, .fet = true};
        QTest::newRow("fet, sedan inte fet")
            << 3 << F{.font = calibri, .storlek = 11} << F{.font = calibri, .storlek = 11};
    }
    void cellstilUnderKolumnomrade() {
        QFETCH(int, fall);
        QFETCH(XlsxLasare::Format, cellen);
        QFETCH(XlsxLasare::Format, ovanfor);
        Testmiljo t;
        Kalkylprogram app;
        Arbetsbok& bok = app.Workbooks().Add();
        Arbetsblad& blad = bok.Worksheets(1);
        for (int r = 1; r <= 5; ++r)
            blad.Cells(r, 3).setValue(QStringLiteral("x"));
        Omrade cell = blad.Range("C5"), omrade = blad.Range("C1:C5");
        switch (fall) {
        case 0:
            cell.Font().setBold(true);
            omrade.setHorizontalAlignment(Justering::Hoger);
            break;
        case 1:
            cell.setNumberFormat(QString::fromLatin1(Textformat));
            omrade.Font().setName(QStringLiteral("Arial"));
            break;
        case 2:
            cell.Font().setSize(14);
            omrade.Font().setBold(true);
            break;
        case 3:
            cell.Font().setBold(true);
            omrade.Font().setBold(false);
            break;
        }
        const XlsxLasare x(bok.SaveAs(t.fil(QStringLiteral("Lista.xlsx"))));
        QCOMPARE(x.format("C5"), cellen);
        for (const char* adress : {"C1", "C4"})
            QCOMPARE(x.format(adress), ovanfor);
    }

    // Texts reach the file as their UTF-8, characters of every width; half of a
    // character beyond the first plane, which has none, is written as "?".
    void texterSomUtf8_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("iFilen");
        const QString mal = QString::fromUtf8("Skytt \xF0\x9F\x8E\xAF");
        const QString halvt = QStringLiteral("a") + QChar(0xD83C) + QStringLiteral("b");
        QTest::newRow("ascii") << QStringLiteral("Anna Berg") << QStringLiteral("Anna Berg");
        QTest::newRow("två byte") << QString::fromUtf8("Åsa Öberg") << QString::fromUtf8("Åsa Öberg");
        QTest::newRow("tre byte") << QString::fromUtf8("5 € \xEF\xBB\xBF")
                                  << QString::fromUtf8("5 € \xEF\xBB\xBF");
        QTest::newRow("fyra byte") << mal << mal;
        QTest::newRow("halvt tecken") << halvt << QStringLiteral("a?b");
    }
    void texterSomUtf8() {
        QFETCH(QString, text);
        QFETCH(QString, iFilen);
        Testmiljo t;
        Kalkylprogram app;
        Arbetsbok& bok = app.Workbooks().Add();
        bok.Worksheets(1).Cells(1, 1).setValue(text);
        bok.Worksheets(1).Cells(2, 1).setValue(QStringLiteral("x"));
        const XlsxLasare x(bok.SaveAs(t.fil(QStringLiteral("Lista.xlsx"))));
        QCOMPARE(x.varde("A1"), iFilen);
        QCOMPARE(x.varde("A2"), QStringLiteral("x"));
    }

    // The sheet's dimension is the block from the first to the last cell with a
    // value or a format; a sheet-wide font, formatted columns and rows without
    // cells stay outside it, and keep their formats in the file.
    void dimensionArAnvantOmrade() {
        Testmiljo t;
        const QString mal = t.fil(QStringLiteral("Lista.xlsx"));
        Kalkylprogram app;
        Arbetsbok& bok = app.Workbooks().Add();
        Arbetsblad& blad = bok.Worksheets(1);
        blad.Range("1:1").setRowHeight(30);
        bok.SaveAs(mal);
        QCOMPARE(XlsxLasare(mal).attribut("dimension").value("ref"), "A1");

        blad.Cells().Font().setName("MS Sans Serif");
        blad.Range("m:z").setHorizontalAlignment(Justering::Centrerad);
        blad.Range("20:20").Font().setBold(true);
        blad.Cells(3, 2).setValue("Skjutlag: 1");
        blad.Cells(5, 4).setValue(10);
        blad.Cells(8, 6).Font().setBold(true);
        bok.SaveAs(mal);
        const XlsxLasare x(mal);
        QCOMPARE(x.attribut("dimension").value("ref"), "B3:F8");
        using F = XlsxLasare::Format;
        QCOMPARE(x.kolumnformat(MaxKolumn), (F{.font = "MS Sans Serif", .storlek = 11}));
        QCOMPARE(x.kolumnformat(26), (F{.font = "MS Sans Serif", .storlek = 11, .justering = "center"}));
        QCOMPARE(x.radformat(20), (F{.font = "MS Sans Serif", .storlek = 11, .fet = true}));
        QCOMPARE(x.format("F8"), x.radformat(20));
        QCOMPARE(x.radhojd(1), 30.0);
        QVERIFY(!x.harCell("G8"));
    }

    // The print area is the block the program's own pages hold, from A1 to the
    // last row and column that show something: a text running on past the last
    // column, and formats, do not widen it; an empty sheet has none.
    void utskriftsomradeArProgrammetsSidor() {
        Testmiljo t;
        const QString mal = t.fil(QStringLiteral("Lista.xlsx"));
        Kalkylprogram app;
        Arbetsbok& bok = app.Workbooks().Add();
        Arbetsblad& blad = bok.Worksheets(1);
        blad.Range("m:z").setHorizontalAlignment(Justering::Centrerad);
        blad.Cells(9, 9).Font().setBold(true);
        bok.SaveAs(mal);
        QCOMPARE(XlsxLasare(mal).utskriftsomrade(), QString());

        blad.Cells(2, 1).setValue(1);
        blad.Cells(4, 3).setValue(QString(252, QLatin1Char('x')));
        bok.SaveAs(mal);
        QCOMPARE(XlsxLasare(mal).utskriftsomrade(), "$A$1:$C$4");

        blad.Cells(3, 5).Interior().setColor(Svart);
        blad.Range("7:7").setRowHeight(30);
        bok.SaveAs(mal);
        QCOMPARE(XlsxLasare(mal).utskriftsomrade(), "$A$1:$E$7");
        const Sidindelning sidor(blad);
        QCOMPARE(std::pair(sidor.sidor().back().sistaRad, sidor.sidor().back().sistaKolumn), std::pair(7, 5));
    }

    void nyFilErsatterGammalOchSakerhetskopieras() {
        SparadBok s;
        QFile::setPermissions(s.mal, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        Arbetsbok& bok = s.app.Workbooks().Add();
        bok.Worksheets(1).Cells(1, 1).setValue("ny");
        QCOMPARE(bok.SaveAs(s.mal, {}, true), s.mal);
        QCOMPARE(XlsxLasare(s.mal).varde("A1"), "ny");
        QCOMPARE(lasBytes(s.mal + ".bak"), s.gammal);
        // The replaced file keeps who may read it; no temporary file is left.
        const auto bitar = QFile::permissions(s.mal) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
        QCOMPARE(bitar, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        QCOMPARE(s.filer().size(), 2);
        // Close with save changes writes the same file again.
        bok.Worksheets(1).Cells(1, 1).setValue("igen");
        bok.Close(true);
        QCOMPARE(XlsxLasare(s.mal).varde("A1"), "igen");
        QCOMPARE(felnummer([&] { s.app.Workbooks().Add().SaveAs(s.mal, 99); }), Kalkylfel::Programfel);
        QCOMPARE(
            felnummer([&] { s.app.Workbooks().Add().SaveAs(s.t.fil(QStringLiteral("saknas/Lista.xls"))); }),
            Kalkylfel::Programfel);
    }

    // A file another program holds is refused with the number the lists act
    // on, names its holder, and stays as it was with its lock file; an Office
    // owner file always holds it. A LibreOffice lock file of this machine that
    // nothing backs (its program crashed, or a reader only has the file open)
    // is stale: the file is saved and the lock file goes. A writer without a
    // lock file is no spreadsheet program.
    void lastFil_data() {
        QTest::addColumn<QString>("lasfil");
        QTest::addColumn<QByteArray>("innehall");
        QTest::addColumn<int>("grepp"); // -1: no program holds the file
        QTest::addColumn<bool>("sparas");
        QTest::addColumn<QString>("anvandare");
        QTest::addColumn<QString>("dator");
        const QString lo = ".~lock.Skjutlagslista_Printer.xlsx#", office = "~$Skjutlagslista_Printer.xlsx";
        const QByteArray har = QSysInfo::machineHostName().toUtf8();
        const passwd* jag = getpwuid(geteuid());
        QVERIFY(jag);
        const QByteArray egen = "Anna Berg," + QByteArray(jag->pw_name) + "," + har + ",07.12.2026 06:19,x;";
        QTest::newRow("kvar efter krasch") << lo << egen << -1 << true << ""
                                           << "";
        QTest::newRow("kvar, datorns fulla namn")
            << lo << ",," + har + ".klubben.se,07.12.2026 06:19,x;" << -1 << true << ""
            << "";
        QTest::newRow("kvar, localhost")
            << lo << QByteArray(",,localhost,07.12.2026 06:19,x;") << -1 << true << ""
            << "";
        QTest::newRow("Office-fil") << office
                                    << QByteArray("\x04"
                                                  "Anna")
                                    << -1 << false << "Anna"
                                    << "";
        QTest::newRow("bara läsare") << lo << egen << int(Grepp::Laser) << true << ""
                                     << "";
        QTest::newRow("öppen för skrivning") << lo << egen << int(Grepp::Skriver) << false << "Anna Berg"
                                             << "";
        QTest::newRow("skrivare utan låsfil") << "" << QByteArray() << int(Grepp::Skriver) << true << ""
                                              << "";
        QTest::newRow("systemlås utan låsfil") << "" << QByteArray() << int(Grepp::Last) << false << ""
                                               << "";
        QTest::newRow("annan dator") << lo << QByteArray("Berg\\, Anna,anna,kontor-1,07.12.2026 06:19,x;")
                                     << -1 << false << "Berg, Anna"
                                     << "kontor-1";
    }
    void lastFil() {
        QFETCH(QString, lasfil);
        QFETCH(QByteArray, innehall);
        QFETCH(int, grepp);
        QFETCH(bool, sparas);
        QFETCH(QString, anvandare);
        QFETCH(QString, dator);
        SparadBok s;
        if (!lasfil.isEmpty()) {
            QFile las(s.t.fil(lasfil));
            QVERIFY(las.open(QIODevice::WriteOnly));
            las.write(innehall);
        }
        std::optional<Filhallarbarn> barn;
        if (grepp >= 0) {
            barn.emplace(s.mal, Grepp(grepp));
            QVERIFY(barn->haller());
        }
        // The copy of a competition asks the same question.
        QCOMPARE(Filhallare::oppnadAv(s.mal).has_value(), !sparas);
        std::optional<Innehavare> innehavare;
        try {
            s.bok.SaveAs(s.t.fil(QStringLiteral("Skjutlagslista_Printer.xls")));
        } catch (const FilenOppen& fel) {
            QCOMPARE(fel.nummer(), Felnummer::AtkomstNekad);
            innehavare = fel.innehavare();
        }
        QCOMPARE(!innehavare, sparas);
        if (sparas) {
            QCOMPARE(XlsxLasare(s.mal).varde("A1"), "1");
            QCOMPARE(s.filer(), QStringList{"Skjutlagslista_Printer.xlsx"});
            return;
        }
        QCOMPARE(lasBytes(s.mal), s.gammal);
        QCOMPARE(s.filer().contains(lasfil), !lasfil.isEmpty());
        QCOMPARE(innehavare->lasfil, lasfil.isEmpty() ? QString() : s.t.fil(lasfil));
        QCOMPARE(innehavare->dator, dator);
        QCOMPARE(innehavare->process, barn ? barn->pid() : 0);
        if (!anvandare.isEmpty())
            QCOMPARE(innehavare->anvandare, anvandare);
        QVERIFY(!innehavare->anvandare.isEmpty());
        barn.reset();
        if (lasfil.isEmpty())
            QCOMPARE(s.sparaIgen(), "1");
    }

    // A lock file that is no plain file is none a spreadsheet program made and
    // tells nothing: it is never opened (a pipe would hold the save up for
    // good) nor removed, and the save is refused, naming it, until the
    // operator removes it. The link leads to a stale lock file of this machine.
    void lasfilUtanFil_data() {
        QTest::addColumn<QString>("lasfil");
        QTest::addColumn<int>("slag");
        const QString lo = ".~lock.Skjutlagslista_Printer.xlsx#", office = "~$Skjutlagslista_Printer.xlsx";
        QTest::newRow("pipe från LibreOffice") << lo << int(Filslag::Pipe);
        QTest::newRow("pipe från Office") << office << int(Filslag::Pipe);
        QTest::newRow("mapp") << lo << int(Filslag::Mapp);
        QTest::newRow("länk") << lo << int(Filslag::Lank);
        QTest::newRow("teckenenhet från LibreOffice") << lo << int(Filslag::Enhet);
        QTest::newRow("teckenenhet från Office") << office << int(Filslag::Enhet);
    }
    void lasfilUtanFil() {
        QFETCH(QString, lasfil);
        QFETCH(int, slag);
        SparadBok s;
        const QString plats = s.t.fil(lasfil), gammal = s.t.fil(QStringLiteral("gammalt-lås"));
        const passwd* jag = getpwuid(geteuid());
        QVERIFY(jag);
        QFile las(gammal);
        QVERIFY(las.open(QIODevice::WriteOnly) &&
                las.write(",," + QSysInfo::machineHostName().toUtf8() + ",07.12.2026 06:19,x;") > 0);
        las.close();
        if (!laggPost(plats, Filslag(slag), gammal)) {
            const int fel = errno;
            QVERIFY2(Filslag(slag) == Filslag::Enhet && fel == EPERM, strerror(fel));
            QSKIP("mknod may not make a device here (EPERM: no CAP_MKNOD)");
        }
        Pipvakt vakt({plats});
        const std::optional<Innehavare> innehavare = Filhallare::oppnadAv(s.mal);
        QVERIFY(innehavare);
        QCOMPARE(innehavare->slag, filslagText(Filslag(slag)));
        QString text;
        try {
            s.bok.SaveAs(s.mal);
        } catch (const FilenOppen& fel) {
            text = fel.beskrivning();
        }
        QCOMPARE(vakt.stoppa(), 0);
        QCOMPARE(text,
                 QStringLiteral("Filen %1 kan inte ersättas. Låsfilen %2 är %3, ingen vanlig fil, och det "
                                "går inte att se om filen är öppen i ett annat program. Ta bort den för "
                                "hand och försök igen.")
                     .arg(s.mal, plats, filslagText(Filslag(slag))));
        QCOMPARE(lasBytes(s.mal), s.gammal);
        QCOMPARE(filslag(plats), Filslag(slag));
    }

    // An ordinary user cannot see every process: a lock file of another login
    // on this machine is taken at its word, one of the user's own is stale.
    void egenLasfilArInaktuell() {
        if (korSomVanligAnvandare("egenLasfilArInaktuell"))
            return;
        const passwd* jag = getpwuid(geteuid());
        QVERIFY(jag);
        for (const QByteArray& inloggning : {QByteArray(jag->pw_name), QByteArray("anna")}) {
            SparadBok s;
            QFile las(s.t.fil(".~lock.Skjutlagslista_Printer.xlsx#"));
            QVERIFY(las.open(QIODevice::WriteOnly));
            las.write("Anna Berg," + inloggning + "," + QSysInfo::machineHostName().toUtf8() +
                      ",07.12.2026 06:19,x;");
            las.close();
            const bool egen = inloggning == jag->pw_name;
            QCOMPARE(felnummer([&] { s.bok.SaveAs(s.mal); }), egen ? 0 : int(Felnummer::AtkomstNekad));
            QCOMPARE(las.exists(), !egen);
        }
    }

    // A file nobody may write stays as it is, also when the program runs as root.
    void skrivskyddadFilVagras() {
        SparadBok s;
        for (const QFile::Permissions lage :
             {QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther, QFile::Permissions(QFile::ReadOwner)}) {
            QVERIFY(QFile::setPermissions(s.mal, lage));
            QCOMPARE(felnummer([&] { s.bok.SaveAs(s.mal, {}, true); }), Felnummer::SokvagsAtkomstfel);
            QCOMPARE(lasBytes(s.mal), s.gammal);
            QCOMPARE(QFile::permissions(s.mal) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
                     lage);
        }
        QCOMPARE(s.filer(), QStringList{"Skjutlagslista_Printer.xlsx"});
        QVERIFY(QFile::setPermissions(s.mal, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(s.sparaIgen(), "1");
    }

    // A folder the user may not write in: refused, the old file kept.
    void skrivskyddadMappVagras() {
        if (korSomVanligAnvandare("skrivskyddadMappVagras"))
            return;
        SparadBok s;
        QFile::setPermissions(s.t.mapp(), QFile::ReadOwner | QFile::ExeOwner);
        const int nummer = felnummer([&] { s.bok.SaveAs(s.mal); });
        QFile::setPermissions(s.t.mapp(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(nummer, Felnummer::AtkomstNekad);
        QCOMPARE(lasBytes(s.mal), s.gammal);
    }

    // A save that fails half-way (here: the file size limit of the process)
    // leaves the old file as it was and no temporary file behind.
    void misslyckadSparningBehallerGammalFil() {
        SparadBok s;
        for (int r = 1; r <= 3000; ++r)
            for (int k = 1; k <= 10; ++k)
                s.bok.Worksheets(1).Cells(r, k).setValue(QStringLiteral("Rad %1 kolumn %2").arg(r).arg(k));
        const auto fel = medFilstorlekstak(16 * 1024, [&] { return fangaFel([&] { s.bok.SaveAs(s.mal); }); });
        QCOMPARE(fel.nummer(), Felnummer::DiskenFull);
        QCOMPARE(fel.beskrivning(), diskenFull(s.mal).beskrivning());
        QCOMPARE(lasBytes(s.mal), s.gammal);
        QCOMPARE(s.filer(), QStringList{"Skjutlagslista_Printer.xlsx"});
    }

    // A save killed half-way leaves its temporary file; the next save of the
    // list takes it away once nothing has written it for a while.
    void avbrutenSparningsResterTasBort() {
        SparadBok s;
        QRandomGenerator rng(20261207);
        QStringList rester;
        for (int varv = 0; varv < 20 && rester.isEmpty(); ++varv) {
            const QString dod = dodaMittIArbetet({QString::fromLatin1(Sparbarn), s.mal}, rng, 5, 60);
            QVERIFY2(dod.isEmpty(), qPrintable(dod));
            rester =
                s.filer().filter(QRegularExpression("^\\.Skjutlagslista_Printer\\.xlsx\\.pilkrona-......$"));
        }
        QVERIFY(!rester.isEmpty());
        for (const QString& rest : rester)
            QVERIFY(aldras(s.t.fil(rest), 60));
        QCOMPARE(s.sparaIgen(), "1");
        QCOMPARE(s.filer(), QStringList{"Skjutlagslista_Printer.xlsx"});
    }

    // Only what a killed save left is taken away, by the one rule that a save
    // uses for its own list and the opening of a competition for every list:
    // a file of its temporary name (the program's own ".pilkrona-" and six
    // letters in it), before or after it got the list's mode, with the
    // program's own owner, untouched for ten minutes. Anything else stays,
    // whatever its name: another list's at a save (another program may be
    // writing it now), one being written, an operator's own, another user's,
    // a pipe, a link, a file with two names.
    void sparningensResterKannsIgen_data() {
        QTest::addColumn<QString>("namn");
        QTest::addColumn<int>("slag"); // Filslag; Saknas: a file with a second name; AnnanAgare
        QTest::addColumn<int>("lage");
        QTest::addColumn<int>("minuter");     // since it was written
        QTest::addColumn<bool>("allaListor"); // the opening's clean-up, else a save
        QTest::addColumn<bool>("tasBort");
        const auto radVid = [](const char* namn, const char* fil, int slag, int lage, int minuter,
                               bool vidSparning, bool vidOppning) {
            QTest::addRow("%s, sparning", namn)
                << QString::fromUtf8(fil) << slag << lage << minuter << false << vidSparning;
            QTest::addRow("%s, alla listor", namn)
                << QString::fromUtf8(fil) << slag << lage << minuter << true << vidOppning;
        };
        const auto rad = [&](const char* namn, const char* fil, Filslag slag, int lage, int minuter,
                             bool tasBort) { radVid(namn, fil, int(slag), lage, minuter, tasBort, tasBort); };
        const char* egen = ".Skjutlagslista_Printer.xlsx.pilkrona-Ab3dE9";
        rad("denna lista", egen, Filslag::Fil, 0600, 60, true);
        rad("denna lista, elva minuter", egen, Filslag::Fil, 0600, 11, true);
        rad("denna lista, nio minuter", egen, Filslag::Fil, 0600, 9, false);
        rad("denna lista, skrivs nu", egen, Filslag::Fil, 0600, 0, false);
        // Killed after it got the list's mode, before its rename.
        rad("denna lista, listans läge", egen, Filslag::Fil, 0644, 60, true);
        radVid("annan ägare", egen, AnnanAgare, 0644, 60, false, false);
        radVid("en annan lista", ".LagutskriftOmg2_Fil.xlsx.pilkrona-x1Y2z3", int(Filslag::Fil), 0600, 60,
               false, true);
        rad("en annan lista, skrivs nu", ".Klubbens_medlemmar.xlsx.pilkrona-Zs7fip", Filslag::Fil, 0600, 0,
            false);
        rad("rsync", ".Klubbens_medlemmar.xlsx.Zs7fip", Filslag::Fil, 0600, 60, false);
        rad("operatörens fil", ".Skjutlagslista_Printer.xlsx.gammal", Filslag::Fil, 0644, 60, false);
        rad("operatörens fil, bara ägaren", ".Skjutlagslista_Printer.xlsx.OPER01", Filslag::Fil, 0600, 60,
            false);
        rad("pipe", egen, Filslag::Pipe, 0600, 60, false);
        rad("länk", egen, Filslag::Lank, 0600, 60, false);
        rad("två namn", egen, Filslag::Saknas, 0600, 60, false);
        rad("säkerhetskopia", "Skjutlagslista_Printer.xlsx.bak", Filslag::Fil, 0600, 60, false);
        rad("utan punkt först", "Skjutlagslista_Printer.xlsx.pilkrona-Ab3dE9", Filslag::Fil, 0600, 60, false);
        rad("annan fil", ".anteckning.txt.pilkrona-Ab3dE9", Filslag::Fil, 0600, 60, false);
        rad("fem tecken", ".Skjutlagslista_Printer.xlsx.pilkrona-Ab3dE", Filslag::Fil, 0600, 60, false);
        rad("sju tecken", ".Skjutlagslista_Printer.xlsx.pilkrona-Ab3dE9f", Filslag::Fil, 0600, 60, false);
        rad("LibreOffice-lås från annan dator", ".~lock.Lista.xlsx#", Filslag::Fil, 0600, 60, false);
    }
    void sparningensResterKannsIgen() {
        QFETCH(QString, namn);
        QFETCH(int, slag);
        QFETCH(int, lage);
        QFETCH(int, minuter);
        QFETCH(bool, allaListor);
        QFETCH(bool, tasBort);
        // Only root can give a file to another user.
        if (slag == AnnanAgare && ::geteuid() != 0)
            QSKIP("a file of another user needs root to make");
        SparadBok s;
        const QString fil = s.t.fil(namn);
        const QString annan = s.t.fil(QStringLiteral("annan.txt"));
        const bool vanlig = Filslag(slag) == Filslag::Fil || slag == AnnanAgare;
        QFile f(vanlig ? fil : annan);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(",anna,kontor-1,07.12.2026 06:19,x;");
        f.close();
        if (Filslag(slag) == Filslag::Saknas)
            QVERIFY(::link(QFile::encodeName(annan).constData(), QFile::encodeName(fil).constData()) == 0);
        else if (!vanlig)
            QVERIFY(laggPost(fil, Filslag(slag), annan));
        else if (slag == AnnanAgare)
            QVERIFY(::chown(QFile::encodeName(fil).constData(), 65534, 65534) == 0);
        QVERIFY(::chmod(QFile::encodeName(fil).constData(), mode_t(lage)) == 0);
        QVERIFY(aldras(f.fileName(), minuter) && aldras(fil, minuter));
        Pipvakt vakt({fil});
        if (allaListor)
            XlsxFil::rensaTillfalliga(s.t.mapp(), {}, s.mal);
        else
            QCOMPARE(s.sparaIgen(), "1");
        QCOMPARE(vakt.stoppa(), 0);
        QCOMPARE(filslag(fil) == Filslag::Saknas, tasBort);
        QVERIFY(vanlig || QFile::exists(annan));
    }

    // What the save reads back before the new file may replace the old: a part
    // cut off before its root element ends (as when the library's temporary
    // file could not be written whole), a checksum or a length that does not
    // match, a changed byte or a file cut short is not a whole workbook. Large
    // parts are read a piece at a time, so one spans many pieces.
    void kontrollenFinnerSkadadFil_data() {
        QTest::addColumn<QByteArray>("namn");
        QTest::addColumn<QByteArray>("innehall");
        QTest::addColumn<bool>("packad");
        QTest::addColumn<Skada>("skada");
        QTest::addColumn<bool>("hel");
        const QByteArray blad = "xl/worksheets/sheet1.xml";
        const QByteArray dekl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
        const QByteArray hel = dekl +
                               "<worksheet xmlns=\"x\"><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v>"
                               "</c></row></sheetData></worksheet>";
        QByteArray stor = dekl + "<sst count=\"20000\">";
        for (int i = 0; i < 20000; ++i)
            stor += "<si><t>Skytt " + QByteArray::number(i) + "</t></si>";
        stor += "</sst>";

        QTest::newRow("hel") << blad << hel << true << Skada::Ingen << true;
        QTest::newRow("hel, lagrad") << blad << hel << false << Skada::Ingen << true;
        QTest::newRow("radslut efter roten") << blad << hel + "\r\n" << true << Skada::Ingen << true;
        QTest::newRow("kommentar före roten")
            << blad << dekl + "<!-- x -->\n<worksheet></worksheet>" << true << Skada::Ingen << true;
        QTest::newRow("roten utan innehåll")
            << QByteArray("[Content_Types].xml") << dekl + "<Types a=\"/>\"/>\n"
            << true << Skada::Ingen << true;
        QTest::newRow("stor del") << QByteArray("xl/sharedStrings.xml") << stor << true << Skada::Ingen
                                  << true;
        QTest::newRow("del som inte är XML")
            << QByteArray("xl/media/image1.png") << QByteArray("\x89PNG\r\n") << true << Skada::Ingen << true;
        QTest::newRow("avklippt i en cell")
            << blad << hel.left(hel.indexOf("<v>")) << true << Skada::Ingen << false;
        QTest::newRow("avklippt efter en tagg")
            << blad << hel.left(hel.indexOf("</worksheet>")) << true << Skada::Ingen << false;
        QTest::newRow("stor del avklippt") << QByteArray("xl/sharedStrings.xml") << stor.left(stor.size() - 6)
                                           << true << Skada::Ingen << false;
        QTest::newRow("annan rots slut")
            << blad << dekl + "<worksheet></sst>" << true << Skada::Ingen << false;
        QTest::newRow("rotnamnet längre i slutet")
            << blad << dekl + "<sheet></worksheet>" << true << Skada::Ingen << false;
        QTest::newRow("något efter roten") << blad << hel + "<" << true << Skada::Ingen << false;
        QTest::newRow("efter rot utan innehåll")
            << blad << dekl + "<Types/><x/>" << true << Skada::Ingen << false;
        QTest::newRow("bara deklarationen") << blad << dekl << true << Skada::Ingen << false;
        QTest::newRow("tom del") << blad << QByteArray() << false << Skada::Ingen << false;
        QTest::newRow("fel kontrollsumma") << blad << hel << true << Skada::Kontrollsumma << false;
        QTest::newRow("fel längd") << blad << hel << true << Skada::Langd << false;
        QTest::newRow("ändrad byte, packad") << blad << stor << true << Skada::Databyte << false;
        QTest::newRow("ändrad byte, lagrad") << blad << hel << false << Skada::Databyte << false;
        QTest::newRow("avklippt fil") << blad << hel << true << Skada::Avklippt << false;
        QTest::newRow("katalogen slutar fel") << blad << hel << true << Skada::KatalogSlut << false;
        const QByteArray rels =
            dekl + "<Relationships xmlns=\"x\"><Relationship Id=\"rId1\"/></Relationships>";
        QTest::newRow(".rels hel") << QByteArray("_rels/.rels") << rels << true << Skada::Ingen << true;
        QTest::newRow(".rels avklippt")
            << QByteArray("_rels/.rels") << rels.left(rels.indexOf("</Relationships>")) << true
            << Skada::Ingen << false;
    }
    void kontrollenFinnerSkadadFil() {
        QFETCH(QByteArray, namn);
        QFETCH(QByteArray, innehall);
        QFETCH(bool, packad);
        QFETCH(Skada, skada);
        QFETCH(bool, hel);
        Testmiljo t;
        const QString sokvag = t.fil(QStringLiteral("Lista.xlsx"));
        QFile fil(sokvag);
        QVERIFY(fil.open(QIODevice::WriteOnly));
        const Zipdel typer{"[Content_Types].xml", "<?xml version=\"1.0\"?>\n<Types></Types>\n"};
        fil.write(zip({typer, {namn, innehall, packad}}, skada));
        fil.close();
        QCOMPARE(XlsxFil::arHel(sokvag), hel);
    }

    // A file with no parts, and no file at all, is no workbook.
    void tomFilArIngenArbetsbok() {
        Testmiljo t;
        const QString tom = t.fil(QStringLiteral("tom.xlsx"));
        QFile fil(tom);
        QVERIFY(fil.open(QIODevice::WriteOnly));
        fil.write(zip({}, Skada::Ingen));
        fil.close();
        QVERIFY(!XlsxFil::arHel(tom));
        QVERIFY(!XlsxFil::arHel(t.fil(QStringLiteral("saknas.xlsx"))));
    }

    // A visible application opens every saved workbook on the desktop.
    void synligtProgramOppnarSparadFil() {
        Testmiljo t;
        Kalkylprogram app;
        QStringList oppnade;
        app.setFiloppnare([&](const QString& sokvag) { oppnade.append(sokvag); });
        Arbetsbok& bok = app.Workbooks().Add();
        bok.SaveAs(t.fil(QStringLiteral("a.xls")));
        QVERIFY(oppnade.isEmpty());
        app.setVisible(true);
        bok.SaveAs(t.fil(QStringLiteral("b.xls")));
        QCOMPARE(oppnade, QStringList{t.fil(QStringLiteral("b.xlsx"))});
    }
};

int main(int argc, char** argv) {
    Filhallarbarn::omBarn(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], Sparbarn) == 0)
        return sparaTillsDodad(argc, argv);
    QTEST_MAIN_SETUP()
    TestXlsxFil t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}
#include "test_xlsxfil.moc"
