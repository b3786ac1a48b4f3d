#include "platform/clsIni.h"

#include "platform/Windows1252.h"

#include <QFile>
#include <QSaveFile>

namespace {

bool samma(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The section name of a "[name]" line, or a null string for any other line.
QString sektionsnamn(const QString& rad) {
    const QString t = rad.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return {};
    const qsizetype slut = t.indexOf(QLatin1Char(']'));
    return (slut < 0 ? t.mid(1) : t.mid(1, slut - 1)).trimmed();
}

bool arKommentar(const QString& rad) {
    const QString t = rad.trimmed();
    return t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'));
}

// Key and value of a "key=value" line; false for lines that are no key lines.
bool nyckelrad(const QString& rad, QString* nyckel, QString* varde) {
    if (arKommentar(rad))
        return false;
    const qsizetype lika = rad.indexOf(QLatin1Char('='));
    if (lika < 0)
        return false;
    if (nyckel)
        *nyckel = rad.left(lika).trimmed();
    if (varde) {
        QString v = rad.mid(lika + 1).trimmed();
        // As on Windows, one pair of matching quotes around a value is not part of it.
        if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
            v.back() == v.front())
            v = v.mid(1, v.size() - 2);
        *varde = v;
    }
    return true;
}

// [start, slut): the header line of the first section of that name and the line
// after its last line (the next header or the end).
bool hittaSektion(const QStringList& rader, const QString& sektion, qsizetype* start, qsizetype* slut) {
    for (qsizetype i = 0; i < rader.size(); ++i) {
        const QString namn = sektionsnamn(rader[i]);
        if (namn.isNull() || !samma(namn, sektion))
            continue;
        qsizetype j = i + 1;
        while (j < rader.size() && sektionsnamn(rader[j]).isNull())
            ++j;
        *start = i;
        *slut = j;
        return true;
    }
    return false;
}

qsizetype hittaNyckel(const QStringList& rader, qsizetype start, qsizetype slut, const QString& nyckel,
                      QString* stavning) {
    for (qsizetype i = start + 1; i < slut; ++i) {
        QString namn;
        if (nyckelrad(rader[i], &namn, nullptr) && samma(namn, nyckel)) {
            if (stavning)
                *stavning = namn;
            return i;
        }
    }
    return -1;
}

// A value must stay on its line: a line break in it would start a new key.
QString enRad(QString varde) {
    varde.replace(QLatin1String("\r\n"), QLatin1String(" "));
    varde.replace(QLatin1Char('\r'), QLatin1Char(' '));
    varde.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return varde;
}

} // namespace

clsIni::Innehall clsIni::las() const {
    Innehall inn;
    QFile fil(m_sokvag);
    if (m_sokvag.isEmpty() || !fil.open(QIODevice::ReadOnly))
        return inn;
    inn.finns = true;
    const QString text = Windows1252::tillText(fil.readAll());
    if (!text.isEmpty() && !text.contains(QLatin1String("\r\n")) && text.contains(QLatin1Char('\n')))
        inn.radslut = QStringLiteral("\n");
    inn.rader = text.split(QLatin1Char('\n'));
    for (QString& rad : inn.rader) {
        if (rad.endsWith(QLatin1Char('\r')))
            rad.chop(1);
    }
    // split() leaves an empty last entry after the final line break.
    if (!inn.rader.isEmpty() && inn.rader.back().isEmpty())
        inn.rader.removeLast();
    return inn;
}

bool clsIni::skriv(const Innehall& inn) const {
    if (m_sokvag.isEmpty())
        return false;
    QString text;
    for (const QString& rad : inn.rader)
        text += rad + inn.radslut;
    QSaveFile fil(m_sokvag);
    if (!fil.open(QIODevice::WriteOnly))
        return false;
    fil.write(Windows1252::tillBytes(text));
    return fil.commit();
}

bool clsIni::WriteSection(const QString& sektion) {
    Innehall inn = las();
    qsizetype start, slut;
    if (hittaSektion(inn.rader, sektion, &start, &slut)) {
        for (qsizetype i = slut - 1; i > start; --i) {
            if (nyckelrad(inn.rader[i], nullptr, nullptr))
                inn.rader.removeAt(i);
        }
    } else {
        inn.rader.append(QLatin1Char('[') + sektion + QLatin1Char(']'));
    }
    return skriv(inn);
}

bool clsIni::WriteKey(const QString& sektion, const QString& nyckel, const QString& varde) {
    Innehall inn = las();
    const QString v = enRad(varde);
    qsizetype start, slut;
    if (!hittaSektion(inn.rader, sektion, &start, &slut)) {
        inn.rader.append(QLatin1Char('[') + sektion + QLatin1Char(']'));
        inn.rader.append(nyckel + QLatin1Char('=') + v);
        return skriv(inn);
    }
    QString stavning;
    const qsizetype rad = hittaNyckel(inn.rader, start, slut, nyckel, &stavning);
    if (rad >= 0) {
        inn.rader[rad] = stavning + QLatin1Char('=') + v;
    } else {
        // After the section's last non-blank line, so blank separator lines stay below.
        qsizetype efter = slut;
        while (efter - 1 > start && inn.rader[efter - 1].trimmed().isEmpty())
            --efter;
        inn.rader.insert(efter, nyckel + QLatin1Char('=') + v);
    }
    return skriv(inn);
}

bool clsIni::DeleteSection(const QString& sektion) {
    Innehall inn = las();
    qsizetype start, slut;
    if (!hittaSektion(inn.rader, sektion, &start, &slut))
        return true;
    inn.rader.remove(start, slut - start);
    return skriv(inn);
}

bool clsIni::DeleteKey(const QString& sektion, const QString& nyckel) {
    Innehall inn = las();
    qsizetype start, slut;
    if (!hittaSektion(inn.rader, sektion, &start, &slut))
        return true;
    const qsizetype rad = hittaNyckel(inn.rader, start, slut, nyckel, nullptr);
    if (rad < 0)
        return true;
    inn.rader.removeAt(rad);
    return skriv(inn);
}

QString clsIni::GetKeyValue(const QString& sektion, const QString& nyckel, const QString& standard) const {
    const Innehall inn = las();
    qsizetype start, slut;
    if (!hittaSektion(inn.rader, sektion, &start, &slut))
        return standard;
    const qsizetype rad = hittaNyckel(inn.rader, start, slut, nyckel, nullptr);
    if (rad < 0)
        return standard;
    QString varde;
    nyckelrad(inn.rader[rad], nullptr, &varde);
    return varde;
}

QStringList clsIni::GetSections() const {
    QStringList sektioner;
    for (const QString& rad : las().rader) {
        const QString namn = sektionsnamn(rad);
        if (!namn.isNull())
            sektioner.append(namn);
    }
    return sektioner;
}

QList<QPair<QString, QString>> clsIni::GetSectionKeys(const QString& sektion) const {
    QList<QPair<QString, QString>> nycklar;
    const Innehall inn = las();
    qsizetype start, slut;
    if (!hittaSektion(inn.rader, sektion, &start, &slut))
        return nycklar;
    for (qsizetype i = start + 1; i < slut; ++i) {
        QString n, v;
        if (nyckelrad(inn.rader[i], &n, &v))
            nycklar.append({n, v});
    }
    return nycklar;
}
