#include "platform/workbook/Typsnitt.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <cmath>

namespace Kalkyl {

namespace {

// Calibri's metric twin; not every Debian has it installed.
const QString Carlito = QStringLiteral("Carlito");

bool harCarlito() {
    static const bool finns = QFontDatabase::hasFamily(Carlito);
    return finns;
}

} // namespace

void Typsnitt::ersattWindowsTypsnitt() {
    // Without it Calibri falls back to a wider face, so a QFont that names it
    // anywhere would lay text out wider than the spreadsheet program does.
    if (harCarlito() && !QFont::substitutes(QStringLiteral("Calibri")).contains(Carlito))
        QFont::insertSubstitution(QStringLiteral("Calibri"), Carlito);
}

QString Typsnitt::familj(const QString& namn) {
    const QString nyckel = namn.trimmed().toLower();
    if (nyckel == QLatin1String("calibri") && harCarlito())
        return Carlito;
    static const QHash<QString, QString> tvillingar = {
        {QStringLiteral("ms sans serif"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("microsoft sans serif"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("ms shell dlg"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("ms shell dlg 2"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("arial"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("helvetica"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("tahoma"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("verdana"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("calibri"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("segoe ui"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("times new roman"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("times"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("ms serif"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("georgia"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("cambria"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("courier new"), QStringLiteral("Liberation Mono")},
        {QStringLiteral("courier"), QStringLiteral("Liberation Mono")},
        {QStringLiteral("consolas"), QStringLiteral("Liberation Mono")},
        {QStringLiteral("lucida console"), QStringLiteral("Liberation Mono")},
    };
    if (const auto it = tvillingar.constFind(nyckel); it != tvillingar.constEnd())
        return *it;
    if (QFontDatabase::hasFamily(namn.trimmed()))
        return namn.trimmed();
    return QStringLiteral("Liberation Sans");
}

QFont Typsnitt::font(const QString& namn, double storlek, bool fet, bool kursiv, bool understruken) {
    QFont f(familj(namn));
    f.setPointSizeF(storlek);
    f.setBold(fet);
    f.setItalic(kursiv);
    f.setUnderline(understruken);
    // Widths are computed from unhinted outlines, so the printer and the PDF
    // lay out the same text alike.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

int Typsnitt::siffrbredd(const QString& namn, double storlek) {
    // Calibri, the standard font that gives every workbook its column unit,
    // has digits 1038 of its 2048 units wide, and so has Carlito, which prints
    // for it: 7 pixels at 11 points, as the spreadsheet programs count. The
    // font engine measures 7.6 at that size (8 once rounded), and without
    // Carlito the fallback's digits are wider still; either would print every
    // column wider than the file shows it. So the unit is computed.
    if (namn.trimmed().compare(QLatin1String("Calibri"), Qt::CaseInsensitive) == 0)
        return std::max(1, int(std::lround(storlek * 96 / 72 * 1038 / 2048)));
    QImage yta(1, 1, QImage::Format_RGB32);
    const int punkterPerMeter = qRound(96 / 0.0254);
    yta.setDotsPerMeterX(punkterPerMeter);
    yta.setDotsPerMeterY(punkterPerMeter);
    const QFontMetricsF matt(font(namn, storlek), &yta);
    qreal storsta = 0;
    for (char c = '0'; c <= '9'; ++c)
        storsta = std::max(storsta, matt.horizontalAdvance(QLatin1Char(c)));
    return std::max(1, int(std::lround(storsta)));
}

} // namespace Kalkyl
