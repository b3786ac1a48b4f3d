#include "platform/workbook/Kalkylprogram.h"
#include "platform/workbook/Sidhuvudkod.h"
#include "platform/workbook/Sidindelning.h"
#include "platform/workbook/Typsnitt.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QTest>

using namespace Kalkyl;

namespace {
QList<QList<int>> sidor(const Sidindelning& s) {
    QList<QList<int>> svar;
    for (const Sida& sida : s.sidor())
        svar.append({sida.nummer, sida.forstaRad, sida.sistaRad, sida.forstaKolumn, sida.sistaKolumn});
    return svar;
}
} // namespace

class TestSidindelning : public QObject {
    Q_OBJECT
private slots:
    void sidhuvudkoder() {
        Textbit start;
        start.typsnitt = QStringLiteral("Calibri");
        start.storlek = 11;
        const auto rader = Sidhuvudkod::tolka(
            QStringLiteral(
                "&\"MS Sans Serif,Normal\"&10 Höstcupen && Co\n Resultatlista till och med Skjutlag: 3"),
            2, 5, start);
        QCOMPARE(rader.size(), 2);
        QCOMPARE(rader[0].size(), 1);
        QCOMPARE(rader[0][0].text, QStringLiteral(" Höstcupen & Co"));
        QCOMPARE(rader[0][0].typsnitt, QStringLiteral("MS Sans Serif"));
        QCOMPARE(rader[0][0].storlek, 10.0);
        QVERIFY(!rader[0][0].fet);
        // The font carries on to the next line.
        QCOMPARE(rader[1][0].storlek, 10.0);
        QCOMPARE(Sidhuvudkod::text(rader),
                 QStringLiteral(" Höstcupen & Co\n Resultatlista till och med Skjutlag: 3"));

        // Page number and count; CR LF and a lone "&" at the end; a font code
        // without its closing quote takes the rest of the text; escaped data.
        const struct {
            const char *kod, *text;
        } fall[] = {{"&\"MS Sans Serif,Normal\"&10&P", "7"},
                    {"Sida &P av &N\r\nslut&", "Sida 7 av 9\nslut"},
                    {"&\"MS Sans Serif,Normal\\&10Tävlings omg.", ""},
                    {"Sm && Co &&P", "Sm & Co &P"}};
        for (const auto& r : fall)
            QCOMPARE(Sidhuvudkod::text(Sidhuvudkod::tolka(QString::fromUtf8(r.kod), 7, 9)),
                     QString::fromUtf8(r.text));
        QCOMPARE(Sidhuvudkod::skydda(QStringLiteral("Sm & Co &P")), QStringLiteral("Sm && Co &&P"));
        const auto fet = Sidhuvudkod::tolka(QStringLiteral("&\"Arial,Bold Italic\"&12A&BB&14&UC&X"), 1, 1);
        QCOMPARE(fet[0].size(), 3);
        QVERIFY(fet[0][0].fet && fet[0][0].kursiv);
        QCOMPARE(fet[0][0].storlek, 12.0);
        QVERIFY(!fet[0][1].fet);
        QCOMPARE(fet[0][2].storlek, 14.0);
        QVERIFY(fet[0][2].understruken);
        QCOMPARE(fet[0][2].text, QStringLiteral("C"));
        // A size has up to three digits.
        const auto stor = Sidhuvudkod::tolka(QStringLiteral("&100Stor&8liten&72"), 1, 1);
        QCOMPARE(stor[0].size(), 2);
        QCOMPARE(stor[0][0].storlek, 100.0);
        QCOMPARE(stor[0][0].text, QStringLiteral("Stor"));
        QCOMPARE(stor[0][1].storlek, 8.0);
        QCOMPARE(stor[0][1].text, QStringLiteral("liten"));
    }

    void typsnittOchKolumnbredd() {
        QCOMPARE(Typsnitt::familj(QStringLiteral("MS Sans Serif")), QStringLiteral("Liberation Sans"));
        QCOMPARE(Typsnitt::familj(QStringLiteral("Times New Roman")), QStringLiteral("Liberation Serif"));
        QCOMPARE(Typsnitt::familj(QStringLiteral("Finns Inte Någonstans")),
                 QStringLiteral("Liberation Sans"));
        // Liberation Sans has Arial's widths: a 10-point digit is 7 pixels at 96 dpi.
        QCOMPARE(Typsnitt::siffrbredd(QStringLiteral("MS Sans Serif"), 10), 7);
        // The standard font, Calibri 11, has 7-pixel digits; it prints as
        // Carlito, which has Calibri's widths (a digit 1038 of 2048 units), as
        // LibreOffice shows it, and so does any QFont that asks for Calibri.
        QCOMPARE(Typsnitt::siffrbredd(QStringLiteral("Calibri"), 11), 7);
        QFont calibri = Typsnitt::font(QStringLiteral("Calibri"), 11);
        QCOMPARE(QFontInfo(calibri).family(), QStringLiteral("Carlito"));
        calibri.setPixelSize(2048);
        QCOMPARE(QFontMetricsF(calibri).horizontalAdvance(QLatin1Char('0')), 1038.0);
        Typsnitt::ersattWindowsTypsnitt();
        QCOMPARE(QFontInfo(QFont(QStringLiteral("Calibri"))).family(), QStringLiteral("Carlito"));
        QCOMPARE(Typsnitt::siffrbredd(QStringLiteral("MS Sans Serif"), 11), 8);
        // Characters of a 7-pixel digit plus 5 pixels of padding, 3/4 point a pixel.
        QCOMPARE(Sidindelning::kolumnbreddPunkter(5, 7), 30.0);
        QCOMPARE(Sidindelning::kolumnbreddPunkter(3.57, 7), 22.5);
        QCOMPARE(Sidindelning::kolumnbreddPunkter(8.43, 7), 48.0);
        QCOMPARE(Sidindelning::kolumnbreddPunkter(0.5, 7), 4.5);
        QCOMPARE(Sidindelning::kolumnbreddPunkter(0, 7), 0.0);
        QCOMPARE(Sidindelning::pappersstorlek(Pappersstorlek::A4).toSize(), QSize(595, 842));
    }

    // Column widths count characters of the workbook's standard font: a sheet
    // set to a larger font prints its columns as wide as the file and the
    // spreadsheet program show them.
    void kolumnbreddRaknasIStandardtypsnittet() {
        Kalkylprogram app;
        Arbetsblad& standard = app.Workbooks().Add().Worksheets(1);
        Arbetsblad& storre = app.Workbooks().Add().Worksheets(1);
        storre.Cells().Font().setSize(12);
        Arbetsblad& annat = app.Workbooks().Add().Worksheets(1);
        annat.Cells().Font().setName(QStringLiteral("MS Sans Serif"));
        annat.Cells().Font().setSize(12);
        for (Arbetsblad* blad : {&standard, &storre, &annat}) {
            blad->Range(QStringLiteral("b:b")).setColumnWidth(20);
            blad->Cells(1, 2).setValue(QStringLiteral("Namn"));
        }
        // 20 characters of a 7-pixel digit and the padding: 145 pixels.
        QCOMPARE(Sidindelning(standard).kolumnbredd(2), 108.75);
        QCOMPARE(Sidindelning(storre).kolumnbredd(2), Sidindelning(standard).kolumnbredd(2));
        QCOMPARE(Sidindelning(annat).kolumnbredd(2), Sidindelning(standard).kolumnbredd(2));
        QCOMPARE(Sidindelning(annat).siffrbredd(), 7);
    }

    // Rows fill a page up to the bottom margin; a manual break starts a new page;
    // a row taller than the page stands alone.
    void raderDelasPaSidor() {
        Kalkylprogram app;
        Arbetsblad& blad = app.Workbooks().Add().Worksheets(1);
        Sidformat& sf = blad.PageSetup();
        sf.setTopMargin(71);
        sf.setBottomMargin(71);
        blad.Cells().setRowHeight(20);
        blad.Cells().Font().setName(QStringLiteral("MS Sans Serif"));
        blad.Cells().Font().setSize(10);
        for (int r = 2; r <= 80; ++r)
            blad.Cells(r, 2).setValue(r);
        Sidindelning indelning(blad);
        QCOMPARE(indelning.papper().toSize(), QSize(595, 842));
        QCOMPARE(indelning.cellyta().height(), indelning.papper().height() - 142);
        // 700 points of cells: 35 rows of 20, from the empty first row and column on.
        QCOMPARE(sidor(indelning),
                 (QList<QList<int>>{{1, 1, 35, 1, 2}, {2, 36, 70, 1, 2}, {3, 71, 80, 1, 2}}));

        // 242 points of cells: 12 rows of 20, and row 50 larger than a page.
        sf.setTopMargin(300);
        sf.setBottomMargin(300);
        blad.HPageBreaks().Add(blad.Range(QStringLiteral("A10")));
        blad.HPageBreaks().Add(blad.Range(QStringLiteral("A90")));
        blad.Range(QStringLiteral("50:50")).setRowHeight(409);
        QCOMPARE(sidor(Sidindelning(blad)), (QList<QList<int>>{{1, 1, 9, 1, 2},
                                                               {2, 10, 21, 1, 2},
                                                               {3, 22, 33, 1, 2},
                                                               {4, 34, 45, 1, 2},
                                                               {5, 46, 49, 1, 2},
                                                               {6, 50, 50, 1, 2},
                                                               {7, 51, 62, 1, 2},
                                                               {8, 63, 74, 1, 2},
                                                               {9, 75, 80, 1, 2}}));
        QCOMPARE(Sidindelning(blad).radhojd(50), 409.0);
    }

    void kolumnerDelasNedSedanTvars() {
        Kalkylprogram app;
        Arbetsblad& blad = app.Workbooks().Add().Worksheets(1);
        blad.Cells().Font().setName(QStringLiteral("MS Sans Serif"));
        blad.Cells().Font().setSize(10);
        Sidformat& sf = blad.PageSetup();
        sf.setOrientation(Orientering::Liggande);
        sf.setLeftMargin(21);
        sf.setRightMargin(21);
        // 800 points across: ten columns of 75 points (9.21 characters: 100 pixels).
        blad.Range(QStringLiteral("a:l")).setColumnWidth(13.57);
        blad.Cells().setRowHeight(50);
        for (int r = 1; r <= 12; ++r)
            for (int k = 1; k <= 12; ++k)
                blad.Cells(r, k).setValue(1);
        Sidindelning indelning(blad);
        QCOMPARE(indelning.kolumnbredd(1), 75.0);
        QCOMPARE(indelning.cellyta().width(), 800.0);
        QCOMPARE(sidor(indelning),
                 (QList<QList<int>>{
                     {1, 1, 9, 1, 10}, {2, 10, 12, 1, 10}, {3, 1, 9, 11, 12}, {4, 10, 12, 11, 12}}));
    }

    // Paper starts at the first row and column and reaches the last row with a
    // value, a fill or its own height and the last column with a value or a
    // fill; a sheet without any is one empty page.
    void utskriftsomrade() {
        Kalkylprogram app;
        Arbetsblad& blad = app.Workbooks().Add().Worksheets(1);
        blad.Range(QStringLiteral("2:2")).Font().setBold(true);
        blad.Range(QStringLiteral("f:f")).setColumnWidth(20);
        QCOMPARE(sidor(Sidindelning(blad)), (QList<QList<int>>{{1, 1, 0, 1, 0}}));
        QVERIFY(Sidindelning(blad).sidor().first().tom());
        blad.Cells(3, 4).setValue(QStringLiteral("x"));
        blad.Cells(7, 2).Interior().setColor(Rod);
        QCOMPARE(sidor(Sidindelning(blad)), (QList<QList<int>>{{1, 1, 7, 1, 4}}));
        blad.Range(QStringLiteral("9:9")).setRowHeight(30);
        blad.Cells(12, 9).Font().setBold(true);
        QCOMPARE(sidor(Sidindelning(blad)), (QList<QList<int>>{{1, 1, 9, 1, 4}}));
    }

    // An empty title row keeps its height on paper and the rows below stay
    // where the list put them.
    void tomRubrikradSkrivsUt() {
        Kalkylprogram app;
        Arbetsblad& blad = app.Workbooks().Add().Worksheets(1);
        blad.Range(QStringLiteral("1:1")).setRowHeight(30);
        blad.Cells(2, 2).setValue(QStringLiteral("Skjutlag: 1"));
        const Sidindelning indelning(blad);
        QCOMPARE(sidor(indelning), (QList<QList<int>>{{1, 1, 2, 1, 2}}));
        QCOMPARE(indelning.radhojd(1), 30.0);
        QCOMPARE(indelning.kolumnbredd(1), Sidindelning::kolumnbreddPunkter(StandardKolumnbredd, 7));
    }
};

QTEST_MAIN(TestSidindelning)
#include "test_sidindelning.moc"
