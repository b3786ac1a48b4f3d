// Times the workbook engine on a large list: 2,000 rows of 15 columns with the
// fonts, colours and page set-up the lists use, built and saved as .xlsx, and
// printed page by page to a PDF through QPrinter. The reference is the same
// sheet written straight with libxlsxwriter in the same run: the same cells,
// formats, widths, heights and page set-up, each format made once. The engine
// and the reference take turns, one of each a round, so that a change of load
// on the machine falls on both; the figures are medians.
//
//     bench_workbook [folder] [rounds]     (default: a temporary folder, 11)
#include "platform/workbook/Kalkylprogram.h"
#include "platform/workbook/Sidindelning.h"
#include "platform/workbook/Skrivarmotor.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>
#include <xlsxwriter.h>

using namespace Kalkyl;

namespace {
constexpr int Rader = 2000;
constexpr int Kolumner = 15;
constexpr double Cm = 0.393700787401575;
constexpr double Radhojd = 15.75;
constexpr double Klassradhojd = 19.5;

// What the list puts in a cell; the engine and the reference both write this.
bool klassrad(int r) {
    return r % 50 == 1;
}
bool rubrikrad(int r) {
    return r % 50 == 2;
}
int serie(int r, int k) {
    return 40 + (r * k) % 11;
}

void bygg(Kalkylprogram& app, Arbetsblad& blad) {
    blad.setName(QStringLiteral("Resultatlista"));
    blad.Cells().Font().setName(QStringLiteral("MS Sans Serif"));
    blad.Cells().Font().setSize(10);
    Sidformat& sf = blad.PageSetup();
    sf.setPrintGridlines(false);
    sf.setOrientation(Orientering::Liggande);
    sf.setPaperSize(Pappersstorlek::A4);
    sf.setLeftMargin(app.InchesToPoints(1.2 * Cm));
    sf.setRightMargin(app.InchesToPoints(0.5 * Cm));
    sf.setTopMargin(app.InchesToPoints(2.5 * Cm));
    sf.setBottomMargin(app.InchesToPoints(2.5 * Cm));
    sf.setHeaderMargin(app.InchesToPoints(1.3 * Cm));
    sf.setFooterMargin(app.InchesToPoints(1.3 * Cm));
    blad.Range(QStringLiteral("a:a")).setColumnWidth(5);
    blad.Range(QStringLiteral("a:a")).setHorizontalAlignment(Justering::Hoger);
    blad.Range(QStringLiteral("b:b")).setColumnWidth(22.86);
    blad.Range(QStringLiteral("c:c")).setColumnWidth(15.57);
    blad.Range(QStringLiteral("d:k")).setColumnWidth(3.57);
    blad.Range(QStringLiteral("d:k")).setHorizontalAlignment(Justering::Centrerad);
    blad.Range(QStringLiteral("l:l")).setColumnWidth(6.43);
    blad.Range(QStringLiteral("l:l")).setHorizontalAlignment(Justering::Hoger);
    blad.Range(QStringLiteral("m:o")).setColumnWidth(5.29);
    blad.Cells().setRowHeight(Radhojd);
    sf.setLeftHeader(QStringLiteral("&\"MS Sans Serif,Normal\"&10 Höstcupen 2024-10-05\n Resultatlista"));
    sf.setRightHeader(QStringLiteral("&\"MS Sans Serif,Normal\"&10Tävlings omg. Final"));
    sf.setRightFooter(QStringLiteral("&\"MS Sans Serif,Normal\"&10&P"));

    for (int r = 1; r <= Rader; ++r) {
        if (klassrad(r)) {
            // A class block head every 50 rows, as the result list writes it.
            blad.Range(QStringLiteral("%1:%1").arg(r)).setRowHeight(Klassradhojd);
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
        if (klassrad(r) || rubrikrad(r))
            continue;
        blad.Cells(r, 1).setValue(r);
        blad.Cells(r, 2).setValue(QStringLiteral("Förnamn Efternamn %1").arg(r));
        blad.Cells(r, 3).setValue(QStringLiteral("Skytteföreningen %1").arg(r % 37));
        int summa = 0;
        for (int k = 4; k <= 11; ++k) {
            const int s = serie(r, k);
            summa += s;
            blad.Cells(r, k).setValue(s);
            blad.Cells(r, k).Font().setColor(s == 50 ? Rod : Svart);
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

// The reference: the same sheet through libxlsxwriter alone.
class Ra {
public:
    explicit Ra(const QString& fil) : m_bok(workbook_new(QFile::encodeName(fil).constData())) {}

    bool skriv() {
        if (!m_bok)
            return false;
        lxw_worksheet* ark = workbook_add_worksheet(m_bok, "Resultatlista");
        const struct {
            int forsta, sista;
            double bredd;
            Just just;
        } kolumner[] = {{0, 0, 5, Just::Hoger},
                        {1, 1, 22.86, Just::Ingen},
                        {2, 2, 15.57, Just::Ingen},
                        {3, 10, 3.57, Just::Centrerad},
                        {11, 11, 6.43, Just::Hoger},
                        {12, 14, 5.29, Just::Ingen},
                        {15, LXW_COL_MAX - 1, 8.43, Just::Ingen}};
        for (const auto& k : kolumner)
            worksheet_set_column(ark, lxw_col_t(k.forsta), lxw_col_t(k.sista), k.bredd, format(k.just));
        worksheet_set_default_row(ark, Radhojd, LXW_FALSE);
        const auto just = [](int k) {
            return k == 1 || k == 12 ? Just::Hoger : k >= 4 && k <= 11 ? Just::Centrerad : Just::Ingen;
        };
        const auto tal = [&](int r, int k, double v, lxw_format* f) {
            worksheet_write_number(ark, lxw_row_t(r - 1), lxw_col_t(k - 1), v, f);
        };
        const auto text = [&](int r, int k, const QString& t, lxw_format* f) {
            worksheet_write_string(ark, lxw_row_t(r - 1), lxw_col_t(k - 1), t.toUtf8().constData(), f);
        };
        for (int r = 1; r <= Rader; ++r) {
            if (klassrad(r)) {
                worksheet_set_row(ark, lxw_row_t(r - 1), Klassradhojd, nullptr);
                text(r, 2, QStringLiteral("Klass %1").arg(r / 50 + 1), format(Just::Ingen, true, true));
                worksheet_set_row(ark, lxw_row_t(r), Radhojd, format(Just::Ingen, true));
                text(r + 1, 1, QStringLiteral("Plac"), format(just(1), true));
                text(r + 1, 2, QStringLiteral("Namn"), format(just(2), true));
                text(r + 1, 3, QStringLiteral("Förening"), format(just(3), true));
                for (int k = 4; k <= 11; ++k)
                    tal(r + 1, k, k - 3, format(just(k), true));
                text(r + 1, 12, QStringLiteral("Totalt"), format(just(12), true));
            }
            if (klassrad(r) || rubrikrad(r))
                continue;
            tal(r, 1, r, format(just(1)));
            text(r, 2, QStringLiteral("Förnamn Efternamn %1").arg(r), format(just(2)));
            text(r, 3, QStringLiteral("Skytteföreningen %1").arg(r % 37), format(just(3)));
            int summa = 0;
            for (int k = 4; k <= 11; ++k) {
                const int s = serie(r, k);
                summa += s;
                tal(r, k, s, format(just(k), false, false, s == 50 ? Farg::Rod : Farg::Svart));
            }
            tal(r, 12, summa, format(just(12), true));
            tal(r, 13, r % 9, format(just(13)));
            text(r, 14, QStringLiteral("x"), format(just(14)));
            tal(r, 15, r % 3, format(just(15), false, false, Farg::Ingen, r % 10 == 0));
        }
        worksheet_set_paper(ark, 9);
        worksheet_set_landscape(ark);
        worksheet_set_margins(ark, 1.2 * Cm, 0.5 * Cm, 2.5 * Cm, 2.5 * Cm);
        lxw_header_footer_options huvud{};
        huvud.margin = 1.3 * Cm;
        worksheet_set_header_opt(ark,
                                 "&L&\"MS Sans Serif,Normal\"&10 Höstcupen 2024-10-05\n Resultatlista"
                                 "&R&\"MS Sans Serif,Normal\"&10Tävlings omg. Final",
                                 &huvud);
        lxw_header_footer_options fot{};
        fot.margin = 1.3 * Cm;
        worksheet_set_footer_opt(ark, "&R&\"MS Sans Serif,Normal\"&10&P", &fot);
        worksheet_gridlines(ark, LXW_SHOW_SCREEN_GRIDLINES);
        const lxw_error fel = workbook_close(m_bok);
        m_bok = nullptr;
        return fel == LXW_NO_ERROR;
    }
    ~Ra() {
        if (m_bok)
            workbook_close(m_bok);
    }
    Ra(const Ra&) = delete;
    Ra& operator=(const Ra&) = delete;

private:
    enum class Just { Ingen, Hoger, Centrerad };
    enum class Farg { Ingen, Svart, Rod };

    lxw_format* format(Just just, bool fet = false, bool stor = false, Farg farg = Farg::Ingen,
                       bool fylld = false) {
        const int nyckel = int(just) | int(fet) << 2 | int(stor) << 3 | int(farg) << 4 | int(fylld) << 6;
        lxw_format*& f = m_format[nyckel];
        if (f)
            return f;
        f = workbook_add_format(m_bok);
        format_set_font_name(f, "MS Sans Serif");
        format_set_font_size(f, stor ? 13.5 : 10);
        if (fet)
            format_set_bold(f);
        if (farg == Farg::Svart)
            format_set_font_color(f, LXW_COLOR_BLACK);
        else if (farg == Farg::Rod)
            format_set_font_color(f, 0xFF0000);
        if (fylld) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, 0x969696);
        }
        if (just == Just::Hoger)
            format_set_align(f, LXW_ALIGN_RIGHT);
        else if (just == Just::Centrerad)
            format_set_align(f, LXW_ALIGN_CENTER);
        return f;
    }

    lxw_workbook* m_bok;
    std::map<int, lxw_format*> m_format;
};

double ms(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}
} // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication program(argc, argv);
    // The files go to a temporary folder, or to the folder given, to be looked at.
    QTemporaryDir tillfallig;
    const QDir mapp(argc > 1 ? QString::fromLocal8Bit(argv[1]) : tillfallig.path());
    const int varv = argc > 2 ? std::max(1, atoi(argv[2])) : 11;
    mapp.mkpath(QStringLiteral("Utskrifter"));
    const QString raFil = mapp.filePath(QStringLiteral("Utskrifter/Ra.xlsx"));

    std::vector<double> byggtid, spartid, motortid, ratid, utskriftstid;
    qint64 storlek = 0, raStorlek = 0, pdfStorlek = 0;
    int sidor = 0;
    for (int i = 0; i < varv; ++i) {
        // Each goes first every other round.
        for (int vem = 0; vem < 2; ++vem) {
            QElapsedTimer tid;
            if ((vem == 0) == (i % 2 == 0)) {
                Skrivarmotor motor;
                motor.setPdfFil(mapp.filePath(QStringLiteral("Utskrifter/Resultatlista.pdf")));
                tid.start();
                Kalkylprogram app(&motor);
                Arbetsbok& bok = app.Workbooks().Add();
                Arbetsblad& blad = app.Worksheets(1);
                bygg(app, blad);
                byggtid.push_back(ms(tid));
                QElapsedTimer spara;
                spara.start();
                const QString xlsx =
                    bok.SaveAs(mapp.filePath(QStringLiteral("Utskrifter\\Resultatlista_Fil.xls")),
                               Filformat::Excel8, false);
                spartid.push_back(ms(spara));
                motortid.push_back(ms(tid));
                storlek = QFileInfo(xlsx).size();

                // Printing has no reference; it is timed in the same rounds.
                tid.restart();
                sidor = int(Sidindelning(blad).sidor().size());
                blad.PrintOut(1);
                utskriftstid.push_back(ms(tid));
                pdfStorlek = QFileInfo(motor.pdfFil()).size();
            } else {
                QFile::remove(raFil);
                tid.start();
                Ra ra(raFil);
                if (!ra.skriv()) {
                    std::fprintf(stderr, "libxlsxwriter could not write %s\n", qPrintable(raFil));
                    return 1;
                }
                ratid.push_back(ms(tid));
                raStorlek = QFileInfo(raFil).size();
            }
        }
    }

    std::printf("rows: %d\n", Rader);
    std::printf("columns: %d\n", Kolumner);
    std::printf("pages: %d\n", sidor);
    std::printf("rounds: %d\n", varv);
    std::printf("build model: %.1f ms\n", median(byggtid));
    std::printf("save xlsx: %.1f ms\n", median(spartid));
    std::printf("build and save: %.1f ms\n", median(motortid));
    std::printf("xlsx size: %lld bytes\n", static_cast<long long>(storlek));
    std::printf("print to PDF: %.1f ms\n", median(utskriftstid));
    std::printf("PDF size: %lld bytes\n", static_cast<long long>(pdfStorlek));
    std::printf("libxlsxwriter alone: %.1f ms\n", median(ratid));
    std::printf("libxlsxwriter xlsx size: %lld bytes\n", static_cast<long long>(raStorlek));
    std::printf("ratio: %.2f\n", median(motortid) / median(ratid));
    return 0;
}
