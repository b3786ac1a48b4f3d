#include "platform/workbook/Sidindelning.h"

#include "platform/workbook/Arbetsblad.h"
#include "platform/workbook/Typsnitt.h"

#include <QPageSize>
#include <cmath>

namespace Kalkyl {

QSizeF Sidindelning::pappersstorlek(int kod) {
    QPageSize::PageSizeId id = QPageSize::A4;
    switch (kod) {
    case Pappersstorlek::Letter:
        id = QPageSize::Letter;
        break;
    case Pappersstorlek::Legal:
        id = QPageSize::Legal;
        break;
    case Pappersstorlek::A3:
        id = QPageSize::A3;
        break;
    case Pappersstorlek::A5:
        id = QPageSize::A5;
        break;
    default:
        break;
    }
    return QPageSize(id).size(QPageSize::Point);
}

double Sidindelning::kolumnbreddPunkter(double tecken, int siffrbredd) {
    if (tecken <= 0)
        return 0;
    double pixlar;
    if (tecken < 1)
        pixlar = std::round(tecken * (siffrbredd + 5));
    else
        pixlar = std::trunc((256 * tecken + std::trunc(128.0 / siffrbredd)) / 256 * siffrbredd) + 5;
    return pixlar * 0.75;
}

QList<QPair<int, int>> Sidindelning::dela(int sista, const std::vector<double>& matt, double utrymme,
                                          const QList<int>& brytningar) {
    QList<QPair<int, int>> delar;
    int start = 1;
    double anvant = 0;
    for (int i = 1; i <= sista; ++i) {
        const double m = matt[size_t(i - 1)];
        // A row or column larger than the page gets a page of its own and is cut.
        if (i > start && (brytningar.contains(i) || anvant + m > utrymme + 0.01)) {
            delar.append({start, i - 1});
            start = i;
            anvant = 0;
        }
        anvant += m;
    }
    delar.append({start, sista});
    return delar;
}

Sidindelning::Sidindelning(const Arbetsblad& blad) {
    const Sidformat& s = blad.sidformat();
    const QSizeF upprat = pappersstorlek(s.PaperSize());
    m_papper = s.Orientation() == Orientering::Liggande ? upprat.transposed() : upprat;
    m_cellyta = QRectF(s.LeftMargin(), s.TopMargin(), m_papper.width() - s.LeftMargin() - s.RightMargin(),
                       m_papper.height() - s.TopMargin() - s.BottomMargin());
    // Column widths count characters of the workbook's standard font, whatever
    // font the sheet shows: that is the unit the file stores them in and the
    // unit the spreadsheet program measures them with.
    const Stil standard = standardstil();
    m_siffrbredd = Typsnitt::siffrbredd(*standard.namn, *standard.storlek);

    const auto omrade = blad.utskriftsomrade();
    if (!omrade) {
        m_sidor.append({1, 1, 0, 1, 0});
        return;
    }
    const auto [sistaRad, sistaKolumn] = *omrade;
    for (int k = 1; k <= sistaKolumn; ++k)
        m_kolumnbredder.push_back(kolumnbreddPunkter(blad.kolumnbredd(k), m_siffrbredd));
    for (int r = 1; r <= sistaRad; ++r)
        m_radhojder.push_back(blad.radhojd(r));
    QList<int> brytningar;
    for (const int r : blad.sidbrytningar().rader())
        brytningar.append(r);

    const auto radgrupper = dela(sistaRad, m_radhojder, m_cellyta.height(), brytningar);
    const auto kolumngrupper = dela(sistaKolumn, m_kolumnbredder, m_cellyta.width(), {});
    int nummer = 0;
    for (const auto& [forstaK, sistaK] : kolumngrupper)
        for (const auto& [forstaR, sistaR] : radgrupper)
            m_sidor.append({++nummer, forstaR, sistaR, forstaK, sistaK});
}

double Sidindelning::kolumnbredd(int kolumn) const {
    const size_t i = size_t(kolumn - 1);
    return kolumn >= 1 && i < m_kolumnbredder.size() ? m_kolumnbredder[i] : 0;
}

double Sidindelning::radhojd(int rad) const {
    const size_t i = size_t(rad - 1);
    return rad >= 1 && i < m_radhojder.size() ? m_radhojder[i] : 0;
}

} // namespace Kalkyl
