#include "platform/workbook/Sidhuvudkod.h"

namespace Kalkyl {

namespace {

void sattStil(Textbit& bit, const QString& stil) {
    const QString s = stil.trimmed().toLower();
    bit.fet = s.contains(QLatin1String("bold")) || s.contains(QLatin1String("fet"));
    bit.kursiv = s.contains(QLatin1String("italic")) || s.contains(QLatin1String("kursiv"));
}

} // namespace

QList<Textrad> Sidhuvudkod::tolka(const QString& kod, int sida, int antalSidor, const Textbit& start) {
    QList<Textrad> rader;
    Textrad rad;
    Textbit aktuell = start;
    aktuell.text.clear();
    QString text;
    const auto avsluta = [&] {
        if (text.isEmpty())
            return;
        Textbit bit = aktuell;
        bit.text = text;
        rad.append(bit);
        text.clear();
    };
    const int n = int(kod.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = kod[i];
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            avsluta();
            rader.append(rad);
            rad.clear();
            if (c == QLatin1Char('\r') && i + 1 < n && kod[i + 1] == QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c != QLatin1Char('&')) {
            text += c;
            continue;
        }
        if (i + 1 >= n)
            break;
        const QChar k = kod[++i];
        if (k == QLatin1Char('&')) {
            text += k;
        } else if (k == QLatin1Char('"')) {
            avsluta();
            int slut = kod.indexOf(QLatin1Char('"'), i + 1);
            if (slut < 0)
                slut = n;
            const QString fontkod = kod.mid(i + 1, slut - i - 1);
            const int komma = fontkod.indexOf(QLatin1Char(','));
            const QString namn = (komma < 0 ? fontkod : fontkod.left(komma)).trimmed();
            // "-" keeps the font and changes only the style.
            if (!namn.isEmpty() && namn != QLatin1String("-"))
                aktuell.typsnitt = namn;
            if (komma >= 0)
                sattStil(aktuell, fontkod.mid(komma + 1));
            i = slut;
        } else if (k.isDigit()) {
            avsluta();
            int storlek = 0, siffror = 0;
            for (; i < n && siffror < 3 && kod[i].isDigit(); ++i, ++siffror)
                storlek = storlek * 10 + kod[i].digitValue();
            --i;
            if (storlek > 0)
                aktuell.storlek = storlek;
        } else if (k == QLatin1Char('P') || k == QLatin1Char('p')) {
            text += QString::number(sida);
        } else if (k == QLatin1Char('N') || k == QLatin1Char('n')) {
            text += QString::number(antalSidor);
        } else if (k == QLatin1Char('B') || k == QLatin1Char('b')) {
            avsluta();
            aktuell.fet = !aktuell.fet;
        } else if (k == QLatin1Char('I') || k == QLatin1Char('i')) {
            avsluta();
            aktuell.kursiv = !aktuell.kursiv;
        } else if (k == QLatin1Char('U') || k == QLatin1Char('u')) {
            avsluta();
            aktuell.understruken = !aktuell.understruken;
        }
    }
    avsluta();
    rader.append(rad);
    return rader;
}

QString Sidhuvudkod::skydda(const QString& text) {
    QString s = text;
    return s.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString Sidhuvudkod::text(const QList<Textrad>& rader) {
    QStringList rows;
    for (const Textrad& rad : rader) {
        QString s;
        for (const Textbit& bit : rad)
            s += bit.text;
        rows.append(s);
    }
    return rows.join(QLatin1Char('\n'));
}

} // namespace Kalkyl
