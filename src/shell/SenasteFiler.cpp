#include "shell/SenasteFiler.h"

namespace SenasteFiler {

QString menytext(int i, const QString& sokvag) {
    QString visning = sokvag;
    if (visning.size() > 40)
        visning = visning.left(3) + QStringLiteral("...") + visning.right(34);
    visning.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QLatin1Char('&') + QString::number(i) + QLatin1Char(' ') + visning;
}

} // namespace SenasteFiler
