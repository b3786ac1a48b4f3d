#include "platform/Filnamn.h"

#include <QStringList>

QString namnfel(const QString& namn) {
    if (namn.isEmpty() || namn == QLatin1String(".") || namn == QLatin1String(".."))
        return QStringLiteral("namnet kan inte användas");
    // Linux allows all but "/" and NUL; FAT refuses these and every control character.
    static const QString forbjudna = QStringLiteral("/\\:*?\"<>|");
    for (const QChar c : namn) {
        if (c.unicode() < 0x20)
            return QStringLiteral("namnet innehåller ett styrtecken");
        if (forbjudna.contains(c))
            return QStringLiteral("tecknet \"%1\" kan inte användas i ett namn").arg(c);
    }
    // FAT drops a trailing dot or blank, so the copy would get another name.
    if (namn.endsWith(QLatin1Char('.')) || namn.endsWith(QLatin1Char(' ')))
        return QStringLiteral("ett namn kan inte sluta med punkt eller blanksteg");
    // Device names of DOS, with or without an extension.
    static const QStringList enheter = [] {
        QStringList l = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                         QStringLiteral("NUL")};
        for (int i = 1; i <= 9; ++i)
            l << QStringLiteral("COM%1").arg(i) << QStringLiteral("LPT%1").arg(i);
        return l;
    }();
    const QString stam = namn.section(QLatin1Char('.'), 0, 0).trimmed();
    if (enheter.contains(stam, Qt::CaseInsensitive))
        return QStringLiteral("\"%1\" är ett reserverat namn på ett USB-minne").arg(stam);
    // 255 UTF-16 units on FAT, 255 bytes on Linux.
    if (namn.size() > 255 || namn.toUtf8().size() > 255)
        return QStringLiteral("namnet är för långt");
    return {};
}
