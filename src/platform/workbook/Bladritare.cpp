#include "platform/workbook/Bladritare.h"

#include "common/Fel.h"
#include "platform/workbook/Arbetsblad.h"
#include "platform/workbook/Sidhuvudkod.h"
#include "platform/workbook/Sidindelning.h"
#include "platform/workbook/Typsnitt.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <vector>

namespace Kalkyl {

namespace {

QColor farg(long f) {
    return QColor(int(f & 0xff), int((f >> 8) & 0xff), int((f >> 16) & 0xff));
}

// Text inside a cell keeps two pixels from the cell's sides.
constexpr double Utfyllnad = 1.5;

class Sidritare {
public:
    Sidritare(const Arbetsblad& blad, const Sidindelning& indelning, QPainter& p, double dpi)
        : m_blad(blad), m_ind(indelning), m_p(p), m_dpi(dpi) {}

    void rita(const Sida& sida) {
        ritaSidhuvud(sida);
        if (sida.tom())
            return;
        m_x.assign(1, m_ind.cellyta().left());
        for (int k = sida.forstaKolumn; k <= sida.sistaKolumn; ++k)
            m_x.push_back(m_x.back() + m_ind.kolumnbredd(k));
        m_y.assign(1, m_ind.cellyta().top());
        for (int r = sida.forstaRad; r <= sida.sistaRad; ++r)
            m_y.push_back(m_y.back() + m_ind.radhojd(r));
        m_sida = sida;
        m_p.save();
        // Nothing of the cells reaches into the margins, as on the spreadsheet's paper.
        m_p.setClipRect(QRectF(QPointF(m_x.front(), m_y.front()), QPointF(m_x.back(), m_y.back())));
        ritaFyllningar();
        if (m_blad.sidformat().PrintGridlines())
            ritaRutnat();
        ritaTexter();
        m_p.restore();
    }

private:
    // The font at its size in points on a painter that counts in points.
    QFont font(const QString& namn, double storlek, bool fet, bool kursiv, bool understruken) const {
        QFont f = Typsnitt::font(namn, storlek, fet, kursiv, understruken);
        f.setPointSizeF(storlek * 72.0 / m_dpi);
        return f;
    }

    QRectF cell(int r, int k) const {
        const size_t i = size_t(k - m_sida.forstaKolumn), j = size_t(r - m_sida.forstaRad);
        return QRectF(QPointF(m_x[i], m_y[j]), QPointF(m_x[i + 1], m_y[j + 1]));
    }

    void ritaFyllningar() {
        for (int r = m_sida.forstaRad; r <= m_sida.sistaRad; ++r)
            for (int k = m_sida.forstaKolumn; k <= m_sida.sistaKolumn; ++k)
                if (const auto f = m_blad.fyllning(r, k))
                    m_p.fillRect(cell(r, k), farg(*f));
    }

    void ritaRutnat() {
        m_p.setPen(QPen(Qt::black, 0.5));
        for (const double x : m_x)
            m_p.drawLine(QPointF(x, m_y.front()), QPointF(x, m_y.back()));
        for (const double y : m_y)
            m_p.drawLine(QPointF(m_x.front(), y), QPointF(m_x.back(), y));
    }

    bool harVarde(int r, int k) const { return m_blad.varde(r, k).isValid(); }

    void ritaTexter() {
        const auto& rader = m_blad.rader();
        for (auto rad = rader.lower_bound(m_sida.forstaRad);
             rad != rader.end() && rad->first <= m_sida.sistaRad; ++rad) {
            const int r = rad->first;
            const auto& celler = rad->second.celler;
            for (auto c = celler.lower_bound(m_sida.forstaKolumn);
                 c != celler.end() && c->first <= m_sida.sistaKolumn; ++c)
                // A column or row of no width or height is hidden, with its text.
                if (c->second.varde.isValid() && m_ind.kolumnbredd(c->first) > 0 && m_ind.radhojd(r) > 0)
                    ritaText(r, c->first, c->second.varde);
        }
    }

    void ritaText(int r, int k, const QVariant& varde) {
        const Stil s = m_blad.stil(r, k);
        const bool tal = varde.typeId() == QMetaType::Double;
        int justering = *s.justering;
        if (justering == Justering::Allman)
            justering = varde.typeId() == QMetaType::Bool ? Justering::Centrerad
                        : tal                             ? Justering::Hoger
                                                          : Justering::Vanster;
        const QFont f = font(*s.namn, *s.storlek, *s.fet, false, *s.understrykning != Understrykning::Ingen);
        const QFontMetricsF matt(f, m_p.device());
        m_p.setFont(f);
        m_p.setPen(farg(s.farg.value_or(Svart)));
        QString text = visningstext(varde);
        const QRectF ruta = cell(r, k);
        QRectF yta = ruta.adjusted(Utfyllnad, 0, -Utfyllnad, -0.75);
        const double bredd = matt.horizontalAdvance(text);
        if (tal) {
            // A number is never cut: one that does not fit shows as "#", as in the
            // spreadsheet, so that 600 cannot be read as 60.
            if (bredd > yta.width())
                text = QString(std::max(0, int(yta.width() / matt.horizontalAdvance(QLatin1Char('#')))),
                               QLatin1Char('#'));
        } else if (bredd > yta.width()) {
            // A text runs on over empty neighbours on its open side.
            double vanster = ruta.left(), hoger = ruta.right();
            if (justering != Justering::Hoger)
                for (int n = k + 1; n <= m_sida.sistaKolumn && !harVarde(r, n); ++n)
                    hoger = cell(r, n).right();
            if (justering != Justering::Vanster)
                for (int n = k - 1; n >= m_sida.forstaKolumn && !harVarde(r, n); --n)
                    vanster = cell(r, n).left();
            if (justering == Justering::Centrerad) {
                const double halva = std::min(ruta.center().x() - vanster, hoger - ruta.center().x());
                vanster = ruta.center().x() - halva;
                hoger = ruta.center().x() + halva;
            }
            yta.setLeft(vanster + Utfyllnad);
            yta.setRight(hoger - Utfyllnad);
        }
        const int flaggor = Qt::AlignBottom | Qt::TextSingleLine |
                            (justering == Justering::Hoger       ? Qt::AlignRight
                             : justering == Justering::Centrerad ? Qt::AlignHCenter
                                                                 : Qt::AlignLeft);
        m_p.drawText(yta, flaggor, text);
    }

    // Draws one header or footer section; `nedifran` stacks the lines up from `y`.
    void ritaSektion(const QString& kod, int sida, Qt::Alignment justering, double y, bool nedifran) {
        if (kod.isEmpty())
            return;
        const Stil standard = standardstil();
        Textbit start;
        start.typsnitt = *standard.namn;
        start.storlek = *standard.storlek;
        const QList<Textrad> rader = Sidhuvudkod::tolka(kod, sida, int(m_ind.sidor().size()), start);
        const QSizeF papper = m_ind.papper();
        const Sidformat& sf = m_blad.sidformat();
        std::vector<double> hojder;
        for (const Textrad& rad : rader) {
            double h = QFontMetricsF(font(start.typsnitt, start.storlek, false, false, false), m_p.device())
                           .height();
            if (!rad.isEmpty()) {
                h = 0;
                for (const Textbit& bit : rad)
                    h = std::max(h, QFontMetricsF(font(bit.typsnitt, bit.storlek, bit.fet, bit.kursiv, false),
                                                  m_p.device())
                                        .height());
            }
            hojder.push_back(h);
        }
        double topp = y;
        if (nedifran)
            for (const double h : hojder)
                topp -= h;
        for (qsizetype i = 0; i < rader.size(); ++i) {
            const Textrad& rad = rader[i];
            double bredd = 0;
            for (const Textbit& bit : rad)
                bredd += QFontMetricsF(font(bit.typsnitt, bit.storlek, bit.fet, bit.kursiv, bit.understruken),
                                       m_p.device())
                             .horizontalAdvance(bit.text);
            double x = sf.LeftMargin();
            if (justering & Qt::AlignRight)
                x = papper.width() - sf.RightMargin() - bredd;
            else if (justering & Qt::AlignHCenter)
                x = (papper.width() - bredd) / 2;
            double baslinje = 0;
            for (const Textbit& bit : rad)
                baslinje = std::max(
                    baslinje,
                    QFontMetricsF(font(bit.typsnitt, bit.storlek, bit.fet, bit.kursiv, false), m_p.device())
                        .ascent());
            for (const Textbit& bit : rad) {
                const QFont f = font(bit.typsnitt, bit.storlek, bit.fet, bit.kursiv, bit.understruken);
                m_p.setFont(f);
                m_p.setPen(Qt::black);
                m_p.drawText(QPointF(x, topp + baslinje), bit.text);
                x += QFontMetricsF(f, m_p.device()).horizontalAdvance(bit.text);
            }
            topp += hojder[size_t(i)];
        }
    }

    void ritaSidhuvud(const Sida& sida) {
        const Sidformat& sf = m_blad.sidformat();
        ritaSektion(sf.LeftHeader(), sida.nummer, Qt::AlignLeft, sf.HeaderMargin(), false);
        ritaSektion(sf.RightHeader(), sida.nummer, Qt::AlignRight, sf.HeaderMargin(), false);
        ritaSektion(sf.RightFooter(), sida.nummer, Qt::AlignRight,
                    m_ind.papper().height() - sf.FooterMargin(), true);
    }

    const Arbetsblad& m_blad;
    const Sidindelning& m_ind;
    QPainter& m_p;
    double m_dpi;
    Sida m_sida{};
    std::vector<double> m_x, m_y;
};

} // namespace

void Bladritare::rita(const Arbetsblad& blad, QPagedPaintDevice& enhet, int kopior) {
    const Sidindelning indelning(blad);
    QPainter p;
    if (!p.begin(&enhet))
        throw Fel(Kalkylfel::Programfel, QStringLiteral("Skrivaren kunde inte startas."));
    const double dpi = enhet.logicalDpiY();
    Sidritare ritare(blad, indelning, p, dpi);
    bool forsta = true;
    for (int kopia = 0; kopia < kopior; ++kopia)
        for (const Sida& sida : indelning.sidor()) {
            if (!forsta && !enhet.newPage()) {
                p.end();
                throw Fel(Kalkylfel::Programfel, QStringLiteral("Skrivaren tog inte emot fler sidor."));
            }
            forsta = false;
            p.save();
            p.scale(enhet.logicalDpiX() / 72.0, dpi / 72.0);
            ritare.rita(sida);
            p.restore();
        }
    if (!p.end())
        throw Fel(Kalkylfel::Programfel, QStringLiteral("Utskriften kunde inte slutföras."));
}

} // namespace Kalkyl
