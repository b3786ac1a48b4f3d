// Times the workbook engine on a large list: 2,000 rows of 15 columns with the
// fonts, colours and page set-up the lists use, built, saved as .xlsx and
// printed page by page to a PDF through QPrinter.
#include "platform/workbook/Kalkylprogram.h"
#include "platform/workbook/Sidindelning.h"
#include "platform/workbook/Skrivarmotor.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

using namespace Kalkyl;

namespace {
constexpr int Rader = 2000;
constexpr int Kolumner = 15;

void bygg(Kalkylprogram& app, Arbetsblad& blad) {
    const double cm = 0.393700787401575;
    blad.setName(QStringLiteral("Resultatlista"));
    blad.Cells().Font().setName(QStringLiteral("MS Sans Serif"));
    blad.Cells().Font().setSize(10);
    Sidformat& sf = blad.PageSetup();
    sf.setPrintGridlines(false);
    sf.setOrientation(Orientering::Liggande);
    sf.setPaperSize(Pappersstorlek::A4);
    sf.setLeftMargin(app.InchesToPoints(1.2 * cm));
    sf.setRightMargin(app.InchesToPoints(0.5 * cm));
    sf.setTopMargin(app.InchesToPoints(2.5 * cm));
    sf.setBottomMargin(app.InchesToPoints(2.5 * cm));
    sf.setHeaderMargin(app.InchesToPoints(1.3 * cm));
    sf.setFooterMargin(app.InchesToPoints(1.3 * cm));
    blad.Range(QStringLiteral("a:a")).setColumnWidth(5);
    blad.Range(QStringLiteral("a:a")).setHorizontalAlignment(Justering::Hoger);
    blad.Range(QStringLiteral("b:b")).setColumnWidth(22.86);
    blad.Range(QStringLiteral("c:c")).setColumnWidth(15.57);
    blad.Range(QStringLiteral("d:k")).setColumnWidth(3.57);
    blad.Range(QStringLiteral("d:k")).setHorizontalAlignment(Justering::Centrerad);
    blad.Range(QStringLiteral("l:l")).setColumnWidth(6.43);
    blad.Range(QStringLiteral("l:l")).setHorizontalAlignment(Justering::Hoger);
    blad.Range(QStringLiteral("m:o")).setColumnWidth(5.29);
    blad.Cells().setRowHeight(15.75);
    sf.setLeftHeader(QStringLiteral("&\"MS Sans Serif,Normal\"&10 Höstcupen 2024-10-05\n Resultatlista"));
    sf.setRightHeader(QStringLiteral("&\"MS Sans Serif,Normal\"&10Tävlings omg. Final"));
    sf.setRightFooter(QStringLiteral("&\"MS Sans Serif,Normal\"&10&P"));

    for (int r = 1; r <= Rader; ++r) {
        if (r % 50 == 1) {
            // A class block head every 50 rows, as the result list writes it.
            blad.Range(QStringLiteral("%1:%1").arg(r)).setRowHeight(19.5);
            blad.Cells(r, 2).Font().setSize(13.5);
            blad.Cells(r, 2).Font().setBold(true);
            blad.Cells(r, 2).setValue(QStringLiteral("Klass %1").arg(r / 50 + 1));
            blad.Range(QStringLiteral("%1:%1").arg(r + 1)).Font().setBold(true);
            blad.Cells(r + 1, 1).setValue(QStringLiteral("Plac"));
            blad.Cells(r + 1, 2).setValue(QStringLiteral("Namn"));
            blad.Cells(r + 1, 3).setValue(QStringLiteral("Förening"));
            for (int k = 4; k <= 11; ++k)
                blad.Cells(r + 1, k).setValue(k - 3);
            blad.Cells(r + 1, 12).setValue(QStringLiteral("Totalt"));
        }
        if (r % 50 == 1 || r % 50 == 2)
            continue;
        blad.Cells(r, 1).setValue(r);
        blad.Cells(r, 2).setValue(QStringLiteral("Förnamn Efternamn %1").arg(r));
        blad.Cells(r, 3).setValue(QStringLiteral("Skytteföreningen %1").arg(r % 37));
        int summa = 0;
        for (int k = 4; k <= 11; ++k) {
            const int serie = 40 + (r * k) % 11;
            summa += serie;
            blad.Cells(r, k).setValue(serie);
            blad.Cells(r, k).Font().setColor(serie == 50 ? Rod : Svart);
        }
        blad.Cells(r, 12).Font().setBold(true);
        blad.Cells(r, 12).setValue(summa);
        blad.Cells(r, 13).setValue(r % 9);
        blad.Cells(r, 14).setValue(QStringLiteral("x"));
        if (r % 10 == 0)
            blad.Cells(r, 15).Interior().setColor(rgbFarg(150, 150, 150));
        blad.Cells(r, 15).setValue(r % 3);
    }
}

double ms(QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication program(argc, argv);
    // The files go to a temporary folder, or to the folder given, to be looked at.
    QTemporaryDir tillfallig;
    const QDir mapp(argc > 1 ? QString::fromLocal8Bit(argv[1]) : tillfallig.path());
    mapp.mkpath(QStringLiteral("Utskrifter"));
    Skrivarmotor motor;
    motor.setPdfFil(mapp.filePath(QStringLiteral("Utskrifter/Resultatlista.pdf")));

    QElapsedTimer tid;
    tid.start();
    Kalkylprogram app(&motor);
    Arbetsbok& bok = app.Workbooks().Add();
    Arbetsblad& blad = app.Worksheets(1);
    bygg(app, blad);
    const double byggtid = ms(tid);

    tid.restart();
    const QString xlsx = bok.SaveAs(mapp.filePath(QStringLiteral("Utskrifter\\Resultatlista_Fil.xls")),
                                    Filformat::Excel8, false);
    const double spartid = ms(tid);

    tid.restart();
    const int sidor = int(Sidindelning(blad).sidor().size());
    blad.PrintOut(1);
    const double utskriftstid = ms(tid);

    std::printf("workbook: %d rows x %d columns, %d pages\n", Rader, Kolumner, sidor);
    std::printf("  build model      %8.1f ms\n", byggtid);
    std::printf("  save .xlsx       %8.1f ms  (%lld bytes)\n", spartid, QFileInfo(xlsx).size());
    std::printf("  print to PDF     %8.1f ms  (%lld bytes)\n", utskriftstid,
                QFileInfo(motor.pdfFil()).size());
    return 0;
}
