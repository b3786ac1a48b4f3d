#include "common/Konvertering.h"

#include "common/Fel.h"

#include <QLocale>
#include <cmath>

namespace Konvertering {

namespace {
const QString TypFel = QStringLiteral("Typerna matchar inte");

bool tolkaTal(const QString& text, double* varde) {
    QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    *varde = QLocale::c().toDouble(t, &ok);
    return ok && std::isfinite(*varde);
}
} // namespace

bool textTillJaNej(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    double v = 0;
    if (!tolkaTal(t, &v))
        throw Fel(Felnummer::TypeMismatch, TypFel);
    return v != 0;
}

double textTillDecimal(const QString& text) {
    double v = 0;
    if (!tolkaTal(text, &v))
        throw Fel(Felnummer::TypeMismatch, TypFel);
    return v;
}

int textTillHeltal(const QString& text) {
    double v = 0;
    if (!tolkaTal(text, &v))
        throw Fel(Felnummer::TypeMismatch, TypFel);
    const double avrundat = std::nearbyint(v); // the default rounding mode: halves to even
    if (avrundat < -32768 || avrundat > 32767)
        throw Fel(Felnummer::Overflow, QStringLiteral("Spill"));
    return static_cast<int>(avrundat);
}

QString decimalTillText(double varde) {
    QString t = QLocale::c().toString(varde, 'g', 15);
    t.replace(QLatin1Char('.'), QLatin1Char(','));
    return t;
}

} // namespace Konvertering
