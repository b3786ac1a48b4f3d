#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <vector>

namespace Kalkyl {

class Arbetsblad;

// One printed page: a block of rows and columns. An empty sheet still prints one
// page with its header and footer, with no rows (sistaRad < forstaRad).
struct Sida {
    int nummer;
    int forstaRad, sistaRad, forstaKolumn, sistaKolumn;
    bool tom() const { return sistaRad < forstaRad; }
};

// How a sheet falls on paper, in points: the block from the first cell to the
// last row and column that show something (Arbetsblad::utskriftsomrade) split
// into pages down, then across, at the manual page breaks and wherever the next
// row or column would cross the margins.
class Sidindelning {
public:
    explicit Sidindelning(const Arbetsblad& blad);

    QSizeF papper() const { return m_papper; }
    // The part of the paper inside the margins, where the cells go.
    QRectF cellyta() const { return m_cellyta; }
    const QList<Sida>& sidor() const { return m_sidor; }
    double kolumnbredd(int kolumn) const;
    double radhojd(int rad) const;
    // The widest digit of the workbook's standard font in pixels at 96 dpi: the
    // unit of every column width, whatever font the sheet is set to.
    int siffrbredd() const { return m_siffrbredd; }

    // A paper size code's size in points, upright.
    static QSizeF pappersstorlek(int kod);
    // A column width in characters on paper: whole pixels at 96 dpi of the
    // digit width plus the cell's padding, as the spreadsheet draws it.
    static double kolumnbreddPunkter(double tecken, int siffrbredd);

private:
    // Rows or columns 1 to `sista`, of the sizes in `matt`, as {first, last} of each page.
    static QList<QPair<int, int>> dela(int sista, const std::vector<double>& matt, double utrymme,
                                       const QList<int>& brytningar);

    QSizeF m_papper;
    QRectF m_cellyta;
    int m_siffrbredd;
    std::vector<double> m_kolumnbredder, m_radhojder;
    QList<Sida> m_sidor;
};

} // namespace Kalkyl
