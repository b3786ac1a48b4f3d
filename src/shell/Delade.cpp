#include "shell/Delade.h"

#include "common/Fel.h"
#include "platform/Databas.h"
#include "platform/Meddelanden.h"
#include "shell/modGlobalt.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSqlQuery>
#include <QSysInfo>

namespace Delade {

int HamtaPaborjatSkjutlag(const Databas& db, Meddelanden& m) {
    try {
        QSqlQuery q = db.kor(QStringLiteral(
            "SELECT Skjutlag.Skjutlag, Skyttar.Totalt40 FROM Skyttar INNER JOIN Skjutlag ON "
            "Skyttar.Löpnummer = "
            "Skjutlag.Startnummer Where (((Skyttar.Totalt40) <> 0)) ORDER BY Skjutlag.Skjutlag DESC;"));
        return q.next() ? q.value(0).toInt() : 0;
    } catch (const Fel& f) {
        m.visa(QStringLiteral("frmValResSkärmGrund_HämtaPåbörjatSkjutlag ") + f.text(), QString(),
               Meddelanden::Ikon::Kritisk);
        return 0;
    }
}

void SkapaUtskriftsmapp(const modGlobalt& g) {
    const QString mapp = g.strTavlingsmapp + QStringLiteral("Utskrifter");
    if (QFileInfo(mapp).isDir())
        return;
    if (!QDir().mkdir(mapp))
        throw Fel(Felnummer::SokvagenInteHittad,
                  QStringLiteral("Mappen \"%1\" kunde inte skapas.").arg(mapp));
}

bool InnehallerApostrof(const QString& text) {
    return text.contains(QLatin1Char('\''));
}

QString HamtaDatornamn() {
    return QSysInfo::machineHostName();
}

namespace {
// The old conversion of a number text: the separator of the locale is the
// decimal point, other characters make it fail.
bool tillTal(const QString& text, const QString& decimaltecken, double* n) {
    QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    const QString sep = decimaltecken.isEmpty() ? QStringLiteral(".") : decimaltecken;
    if (sep != QLatin1String("."))
        t.replace(sep, QStringLiteral("."));
    else if (t.contains(QLatin1Char(',')))
        return false;
    bool ok = false;
    *n = QLocale::c().toDouble(t, &ok);
    return ok;
}
} // namespace

QString ValjUtExcelVer(double n, const QString& suffix) {
    // The old Single precision: 8.0 stays 8 exactly, 11.5 is between classes.
    const float v = static_cast<float>(n);
    if (v == 8.0f)
        return suffix == QLatin1String("Ingen") ? QStringLiteral("97") : QStringLiteral("97SR1");
    if (v > 8.0f && v < 9.0f)
        return QStringLiteral("97SR1");
    if (v >= 9.0f && v <= 11.0f)
        return QStringLiteral("2000XP");
    if (v >= 12.0f)
        return QStringLiteral("2007");
    return QString();
}

QString Bokstav(const QString& versionstext, const QString& decimaltecken, Meddelanden& m) {
    qsizetype p = -1;
    for (char c = 'A'; c <= 'Z' && p < 0; ++c)
        p = versionstext.indexOf(QLatin1Char(c), 0, Qt::CaseInsensitive);
    if (p < 0)
        return QStringLiteral("Error");
    double n = 0;
    if (!tillTal(versionstext.left(p), decimaltecken, &n)) {
        m.visa(QStringLiteral("KollaExcelVer.Bokstav: 13 Typerna matchar inte"));
        return QString();
    }
    return ValjUtExcelVer(n, versionstext.mid(p));
}

QString fncKollaExcelVer(const QString& versionstext, const QString& decimaltecken, Meddelanden& m) {
    QString text = versionstext;
    if (text.contains(QLatin1Char('.')))
        text.replace(QLatin1Char('.'), decimaltecken.isEmpty() ? QStringLiteral(".") : decimaltecken);
    double n = 0;
    if (tillTal(text, decimaltecken, &n))
        return ValjUtExcelVer(n, QStringLiteral("Ingen"));
    return Bokstav(text, decimaltecken, m);
}

} // namespace Delade
