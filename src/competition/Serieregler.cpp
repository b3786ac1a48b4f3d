#include "competition/Serieregler.h"

#include "common/Fel.h"

#include <QLocale>
#include <QStringTokenizer>
#include <Qt>
#include <algorithm>
#include <cmath>
#include <limits>

namespace Serieregler {

namespace {
const QString TypFel = QStringLiteral("Typerna matchar inte");

bool arSiffra(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
} // namespace

Summor rakna(const Serier& serier) {
    Summor s;
    for (int k = 0; k < AntalPar; ++k)
        s.par[k] = serier[2 * k] + serier[2 * k + 1];
    for (int k = 0; k < AntalPar; ++k) {
        s.totalt60 += s.par[k];
        if (k < 4)
            s.totalt40 += s.par[k];
    }
    return s;
}

int heltalsdel(const QString& text) {
    QString t = text.trimmed();
    if (t.isEmpty())
        return 0;
    // A pasted "47,0" or "47.0" is a number too; a decimal series is cut to
    // its whole points like every other field of the row.
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        throw Fel(Felnummer::TypeMismatch, TypFel);
    const double heltal = std::floor(v);
    if (heltal < std::numeric_limits<int>::min() || heltal > std::numeric_limits<int>::max())
        throw Fel(Felnummer::Overflow, QStringLiteral("Spill"));
    return static_cast<int>(heltal);
}

bool fullSerie(const QString& text) {
    return text == QLatin1String("50");
}
bool fullPar(const QString& text) {
    return text == QLatin1String("100");
}
bool fullTotalt40(const QString& text) {
    return text == QLatin1String("400");
}
bool fullTotalt60(const QString& text) {
    return text == QLatin1String("600");
}

int klassensSerier(int antalSkott) {
    // Shots / 5 never ends in a half, so plain rounding is the nearest number.
    return static_cast<int>(std::lround(antalSkott / 5.0));
}

int extraSerier(int lagserier, int vandringsSerier) {
    return std::max(lagserier, vandringsSerier);
}

bool arSkottecken(QChar tecken) {
    return arSiffra(tecken) || tecken == QChar(Innertia) || tecken == QChar(Tia);
}

std::optional<int> skottstrangsvarde(const QString& skott) {
    if (skott.size() != 5)
        return std::nullopt;
    int summa = 0;
    for (const QChar c : skott) {
        if (!arSkottecken(c))
            return std::nullopt;
        summa += arSiffra(c) ? c.unicode() - u'0' : 10;
    }
    return summa;
}

int RaknaTecken(const QString& text, const QString& tecken) {
    const QString t = tecken.trimmed();
    if (t.size() != 1)
        return 0;
    return static_cast<int>(text.count(t.front()));
}

Antal raknaAntal(const QStringList& skottstrangar) {
    const QString s = skottstrangar.join(QString());
    Antal a;
    a.innertior = RaknaTecken(s, QString(QChar(Innertia)));
    const int tior = RaknaTecken(s, QString(QChar(Tia)));
    QString text = QString::number(a.innertior + tior);
    for (char d = '9'; d >= '1'; --d)
        text += QLatin1Char(',') + QString::number(RaknaTecken(s, QString(QLatin1Char(d))));
    a.tioNior = text;
    return a;
}

namespace {
// INI numbers as the old reads took them; a text that is no number counts as
// the key's default, 0.
int iniTal(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : 0;
}
const QString Sam4000 = QStringLiteral("SAM 4000");
const QString Rika = QStringLiteral("RIKA");
} // namespace

bool innertiorRaknas(const QString& model, const QString& decimalerRika, const QString& ejAutoInnertior) {
    if (model == Sam4000)
        return true;
    return model == Rika && iniTal(decimalerRika) == 1 && iniTal(ejAutoInnertior) == 0;
}

bool innertiorForHand(const QString& model, const QString& decimalerRika, const QString& ejAutoInnertior) {
    return model == Rika && (iniTal(decimalerRika) == 0 || ejAutoInnertior == QLatin1String("1"));
}

namespace {
// One count of a TioNior text; one that is no number, or below 0, is 0. The
// plain digits that the program writes are read here; anything else as Qt
// reads a number.
int antalIText(QStringView del) {
    if (del.size() > 0 && del.size() < 10) {
        int tal = 0;
        bool siffror = true;
        for (const QChar c : del) {
            if (c < u'0' || c > u'9') {
                siffror = false;
                break;
            }
            tal = tal * 10 + (c.unicode() - u'0');
        }
        if (siffror)
            return tal;
    }
    bool ok = false;
    const int tal = del.trimmed().toInt(&ok);
    return ok && tal >= 0 ? tal : 0;
}
} // namespace

std::array<int, 10> tioNiorVarden(const QString& tioNior) {
    std::array<int, 10> v{};
    if (tioNior.isEmpty())
        return v;
    // Read in place: every list ranks thousands of these.
    int i = 0;
    for (const QStringView del : QStringView(tioNior).tokenize(u',')) {
        if (i == 10)
            break;
        v[size_t(i++)] = antalIText(del);
    }
    return v;
}

QString tioNiorText(const std::array<int, 10>& varden) {
    QStringList delar;
    for (const int v : varden)
        delar << QString::number(v);
    return delar.join(QLatin1Char(','));
}

std::optional<double> tolkaSarskjutning(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return 0.0;
    int kommatecken = 0, siffror = 0;
    for (const QChar c : t) {
        if (c == QLatin1Char(','))
            ++kommatecken;
        else if (arSiffra(c))
            ++siffror;
        else
            return std::nullopt;
    }
    if (kommatecken > 1 || siffror == 0)
        return std::nullopt;
    QString punkt = t;
    punkt.replace(QLatin1Char(','), QLatin1Char('.'));
    if (punkt.startsWith(QLatin1Char('.')))
        punkt.prepend(QLatin1Char('0'));
    bool ok = false;
    const double v = QLocale::c().toDouble(punkt, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString visaSarskjutning(double varde) {
    QString t = QLocale::c().toString(varde, 'g', 15);
    t.replace(QLatin1Char('.'), QLatin1Char(','));
    return t;
}

} // namespace Serieregler
