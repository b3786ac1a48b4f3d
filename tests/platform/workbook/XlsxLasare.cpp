#include "XlsxLasare.h"

#include <QProcess>
#include <QXmlStreamReader>

XlsxLasare::XlsxLasare(const QString& sokvag) : m_fil(sokvag) {
    QXmlStreamReader strangar(del(QStringLiteral("xl/sharedStrings.xml")));
    QString aktuell;
    while (!strangar.atEnd()) {
        strangar.readNext();
        if (strangar.isStartElement() && strangar.name() == QLatin1String("si"))
            aktuell.clear();
        else if (strangar.isStartElement() && strangar.name() == QLatin1String("t"))
            aktuell += strangar.readElementText();
        else if (strangar.isEndElement() && strangar.name() == QLatin1String("si"))
            m_strangar.append(aktuell);
    }
    lasStilar();
    m_blad = del(QStringLiteral("xl/worksheets/sheet1.xml"));
    lasBlad();
}

QString XlsxLasare::del(const QString& namn) const {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), m_fil, namn});
    unzip.waitForFinished();
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

QString XlsxLasare::bladnamn() const {
    QXmlStreamReader xml(del(QStringLiteral("xl/workbook.xml")));
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("sheet"))
            return xml.attributes().value(QLatin1String("name")).toString();
    }
    return {};
}

void XlsxLasare::lasStilar() {
    QXmlStreamReader xml(del(QStringLiteral("xl/styles.xml")));
    QList<Format> fonter, fyllningar;
    QHash<int, QString> talformat;
    enum { Ingen, Fonter, Fyllningar, Cellformat } avsnitt = Ingen;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() &&
            (xml.name() == QLatin1String("fonts") || xml.name() == QLatin1String("fills") ||
             xml.name() == QLatin1String("cellXfs")))
            avsnitt = Ingen;
        if (!xml.isStartElement())
            continue;
        const auto n = xml.name();
        const auto a = xml.attributes();
        if (n == QLatin1String("fonts"))
            avsnitt = Fonter;
        else if (n == QLatin1String("fills"))
            avsnitt = Fyllningar;
        else if (n == QLatin1String("cellXfs"))
            avsnitt = Cellformat;
        else if (n == QLatin1String("numFmt"))
            talformat[a.value(QLatin1String("numFmtId")).toInt()] =
                a.value(QLatin1String("formatCode")).toString();
        else if (avsnitt == Fonter && n == QLatin1String("font"))
            fonter.append(Format{});
        else if (avsnitt == Fonter && n == QLatin1String("b"))
            fonter.last().fet = true;
        else if (avsnitt == Fonter && n == QLatin1String("u"))
            fonter.last().understrykning = a.hasAttribute(QLatin1String("val"))
                                               ? a.value(QLatin1String("val")).toString()
                                               : QStringLiteral("single");
        else if (avsnitt == Fonter && n == QLatin1String("sz"))
            fonter.last().storlek = a.value(QLatin1String("val")).toDouble();
        else if (avsnitt == Fonter && n == QLatin1String("color"))
            fonter.last().farg = a.value(QLatin1String("rgb")).toString();
        else if (avsnitt == Fonter && n == QLatin1String("name"))
            fonter.last().font = a.value(QLatin1String("val")).toString();
        else if (avsnitt == Fyllningar && n == QLatin1String("fill"))
            fyllningar.append(Format{});
        else if (avsnitt == Fyllningar && n == QLatin1String("fgColor"))
            fyllningar.last().fyllning = a.value(QLatin1String("rgb")).toString();
        else if (avsnitt == Cellformat && n == QLatin1String("xf")) {
            Format f = fonter.value(a.value(QLatin1String("fontId")).toInt());
            f.fyllning = fyllningar.value(a.value(QLatin1String("fillId")).toInt()).fyllning;
            f.talformat = talformat.value(a.value(QLatin1String("numFmtId")).toInt());
            if (a.value(QLatin1String("numFmtId")) == QLatin1String("49"))
                f.talformat = QStringLiteral("@");
            m_format.append(f);
        } else if (avsnitt == Cellformat && n == QLatin1String("alignment"))
            m_format.last().justering = a.value(QLatin1String("horizontal")).toString();
    }
}

void XlsxLasare::lasBlad() {
    QXmlStreamReader xml(m_blad);
    QString cell;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto n = xml.name();
        const auto a = xml.attributes();
        if (n == QLatin1String("sheetFormatPr")) {
            m_standardhojd = a.value(QLatin1String("defaultRowHeight")).toDouble();
        } else if (n == QLatin1String("col")) {
            m_kolumner.append({a.value(QLatin1String("min")).toInt(), a.value(QLatin1String("max")).toInt(),
                               a.value(QLatin1String("width")).toDouble(),
                               a.value(QLatin1String("style")).toInt()});
        } else if (n == QLatin1String("row")) {
            m_rader[a.value(QLatin1String("r")).toInt()] = {
                a.hasAttribute(QLatin1String("ht")) ? a.value(QLatin1String("ht")).toDouble() : -1,
                a.value(QLatin1String("s")).toInt()};
        } else if (n == QLatin1String("c")) {
            cell = a.value(QLatin1String("r")).toString();
            m_celler[cell] = {
                a.value(QLatin1String("t")).toString(), {}, a.value(QLatin1String("s")).toInt()};
        } else if (n == QLatin1String("v")) {
            m_celler[cell].varde = xml.readElementText();
        } else if (n == QLatin1String("brk")) {
            m_brytningar.append(a.value(QLatin1String("id")).toInt());
        }
    }
}

QString XlsxLasare::varde(const QString& adress) const {
    const Cell c = m_celler.value(adress);
    if (c.typ == QLatin1String("s"))
        return m_strangar.value(c.varde.toInt());
    return c.varde;
}

QString XlsxLasare::typ(const QString& adress) const {
    const Cell c = m_celler.value(adress);
    return c.typ.isEmpty() ? QStringLiteral("n") : c.typ;
}

XlsxLasare::Format XlsxLasare::formatNr(int stil) const {
    return m_format.value(stil);
}

XlsxLasare::Format XlsxLasare::format(const QString& adress) const {
    return formatNr(m_celler.value(adress).stil);
}

double XlsxLasare::kolumnbredd(int kolumn) const {
    for (const Kolumn& k : m_kolumner)
        if (kolumn >= k.min && kolumn <= k.max)
            return k.bredd;
    return -1;
}

XlsxLasare::Format XlsxLasare::kolumnformat(int kolumn) const {
    for (const Kolumn& k : m_kolumner)
        if (kolumn >= k.min && kolumn <= k.max)
            return formatNr(k.stil);
    return formatNr(0);
}

double XlsxLasare::radhojd(int rad) const {
    const auto it = m_rader.constFind(rad);
    return it != m_rader.constEnd() && it->first >= 0 ? it->first : m_standardhojd;
}

XlsxLasare::Format XlsxLasare::radformat(int rad) const {
    return formatNr(m_rader.value(rad).second);
}

QMap<QString, QString> XlsxLasare::attribut(const QString& element) const {
    QXmlStreamReader xml(m_blad);
    QMap<QString, QString> svar;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == element) {
            for (const auto& a : xml.attributes())
                svar[a.name().toString()] = a.value().toString();
            break;
        }
    }
    return svar;
}

QString XlsxLasare::text(const QString& element) const {
    QXmlStreamReader xml(m_blad);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == element)
            return xml.readElementText();
    }
    return {};
}
