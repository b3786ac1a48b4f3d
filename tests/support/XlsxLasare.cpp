#include "support/XlsxLasare.h"

#include <QProcess>
#include <QTest>
#include <QXmlStreamReader>

namespace {
// Whether the reader stands at the start of the named element.
bool ar(const QXmlStreamReader& xml, const char* namn) {
    return xml.isStartElement() && xml.name() == QLatin1String(namn);
}
// The named attribute of the element the reader stands at; empty when it has none.
QString egenskap(const QXmlStreamReader& xml, const char* namn) {
    return xml.attributes().value(QLatin1String(namn)).toString();
}
} // namespace

XlsxLasare::XlsxLasare(const QString& sokvag) : m_fil(sokvag) {
    QXmlStreamReader strangar(del(QStringLiteral("xl/sharedStrings.xml")));
    QString aktuell;
    while (!strangar.atEnd()) {
        strangar.readNext();
        if (ar(strangar, "si"))
            aktuell.clear();
        else if (ar(strangar, "t"))
            aktuell += strangar.readElementText();
        else if (strangar.isEndElement() && strangar.name() == u"si")
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
    while (!xml.atEnd())
        if (xml.readNext(); ar(xml, "sheet"))
            return egenskap(xml, "name");
    return {};
}

QString XlsxLasare::utskriftsomrade() const {
    QXmlStreamReader xml(del(QStringLiteral("xl/workbook.xml")));
    while (!xml.atEnd())
        if (xml.readNext(); ar(xml, "definedName") && egenskap(xml, "name") == u"_xlnm.Print_Area")
            return xml.readElementText().section(QLatin1Char('!'), -1);
    return {};
}

void XlsxLasare::lasStilar() {
    QXmlStreamReader xml(del(QStringLiteral("xl/styles.xml")));
    QList<Format> fonter, fyllningar;
    QHash<int, QString> talformat;
    enum { Ingen, Fonter, Fyllningar, Cellformat } avsnitt = Ingen;
    while (!xml.atEnd()) {
        xml.readNext();
        const auto n = xml.name();
        if (xml.isEndElement() && (n == u"fonts" || n == u"fills" || n == u"cellXfs"))
            avsnitt = Ingen;
        if (!xml.isStartElement())
            continue;
        const auto a = [&](const char* namn) { return egenskap(xml, namn); };
        if (n == u"fonts")
            avsnitt = Fonter;
        else if (n == u"fills")
            avsnitt = Fyllningar;
        else if (n == u"cellXfs")
            avsnitt = Cellformat;
        else if (n == u"numFmt")
            talformat[a("numFmtId").toInt()] = a("formatCode");
        else if (avsnitt == Fonter && n == u"font")
            fonter.append(Format{});
        else if (avsnitt == Fonter && n == u"b")
            fonter.last().fet = true;
        else if (avsnitt == Fonter && n == u"u")
            fonter.last().understrykning =
                xml.attributes().hasAttribute(QStringLiteral("val")) ? a("val") : QStringLiteral("single");
        else if (avsnitt == Fonter && n == u"sz")
            fonter.last().storlek = a("val").toDouble();
        else if (avsnitt == Fonter && n == u"color")
            fonter.last().farg = a("rgb");
        else if (avsnitt == Fonter && n == u"name")
            fonter.last().font = a("val");
        else if (avsnitt == Fyllningar && n == u"fill")
            fyllningar.append(Format{});
        else if (avsnitt == Fyllningar && n == u"fgColor")
            fyllningar.last().fyllning = a("rgb");
        else if (avsnitt == Cellformat && n == u"xf") {
            Format f = fonter.value(a("fontId").toInt());
            f.fyllning = fyllningar.value(a("fillId").toInt()).fyllning;
            f.talformat =
                a("numFmtId") == u"49" ? QStringLiteral("@") : talformat.value(a("numFmtId").toInt());
            m_format.append(f);
        } else if (avsnitt == Cellformat && n == u"alignment")
            m_format.last().justering = a("horizontal");
    }
}

void XlsxLasare::lasBlad() {
    QXmlStreamReader xml(m_blad);
    QString cell;
    while (!xml.atEnd()) {
        xml.readNext();
        const auto a = [&](const char* namn) { return egenskap(xml, namn); };
        if (ar(xml, "sheetFormatPr"))
            m_standardhojd = a("defaultRowHeight").toDouble();
        else if (ar(xml, "col"))
            m_kolumner.append(
                Kolumn{a("min").toInt(), a("max").toInt(), a("width").toDouble(), a("style").toInt()});
        else if (ar(xml, "row"))
            m_rader[a("r").toInt()] = {
                xml.attributes().hasAttribute(QStringLiteral("ht")) ? a("ht").toDouble() : -1,
                a("s").toInt()};
        else if (ar(xml, "c"))
            m_celler[cell = a("r")] = {a("t"), {}, a("s").toInt()};
        else if (ar(xml, "v"))
            m_celler[cell].varde = xml.readElementText();
        else if (ar(xml, "brk"))
            m_brytningar.append(a("id").toInt());
    }
}

QString XlsxLasare::varde(const QString& adress) const {
    const Cell c = m_celler.value(adress);
    return c.typ == u"s" ? m_strangar.value(c.varde.toInt()) : c.varde;
}

QString XlsxLasare::typ(const QString& adress) const {
    const QString t = m_celler.value(adress).typ;
    return t.isEmpty() ? QStringLiteral("n") : t;
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
    while (!xml.atEnd())
        if (xml.readNext(); xml.isStartElement() && xml.name() == element) {
            for (const auto& a : xml.attributes())
                svar[a.name().toString()] = a.value().toString();
            break;
        }
    return svar;
}

QString XlsxLasare::text(const QString& element) const {
    QXmlStreamReader xml(m_blad);
    while (!xml.atEnd())
        if (xml.readNext(); xml.isStartElement() && xml.name() == element)
            return xml.readElementText();
    return {};
}

QStringList XlsxLasare::celler(const QStringList& adresser) const {
    QStringList svar;
    for (const QString& a : adresser)
        svar << typ(a) + QLatin1Char(':') + varde(a);
    return svar;
}

QList<QStringList> XlsxLasare::rader() const {
    QList<QStringList> rader;
    for (auto it = m_celler.constBegin(); it != m_celler.constEnd(); ++it) {
        const QString& adress = it.key();
        qsizetype i = 0;
        int kolumn = 0;
        for (; i < adress.size() && adress[i].isLetter(); ++i)
            kolumn = kolumn * 26 + (adress[i].toUpper().unicode() - 'A' + 1);
        const int rad = adress.mid(i).toInt();
        const QString v = varde(adress);
        if (v.isEmpty())
            continue;
        while (rader.size() < rad)
            rader.append(QStringList());
        QStringList& celler = rader[rad - 1];
        while (celler.size() < kolumn)
            celler.append(QString());
        celler[kolumn - 1] = v;
    }
    return rader;
}

char* toString(const XlsxLasare::Format& f) {
    return QTest::toString(QStringLiteral("%1 %2%3 farg=%4 %5 fyllning=%6 %7 %8")
                               .arg(f.font)
                               .arg(f.storlek)
                               .arg(f.fet ? QStringLiteral(" fet") : QString())
                               .arg(f.farg, f.understrykning, f.fyllning, f.justering, f.talformat));
}
