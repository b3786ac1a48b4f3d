#include "platform/clsIni.h"

#include "platform/Filslag.h"
#include "platform/Windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>

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

// WriteKey() on lines already read: an existing key keeps its place and spelling.
void sattNyckel(QStringList& rader, const QString& sektion, const QString& nyckel, const QString& varde) {
    const QString v = enRad(varde);
    qsizetype start, slut;
    if (!hittaSektion(rader, sektion, &start, &slut)) {
        rader.append(QLatin1Char('[') + sektion + QLatin1Char(']'));
        rader.append(nyckel + QLatin1Char('=') + v);
        return;
    }
    QString stavning;
    const qsizetype rad = hittaNyckel(rader, start, slut, nyckel, &stavning);
    if (rad >= 0) {
        rader[rad] = stavning + QLatin1Char('=') + v;
        return;
    }
    // After the section's last non-blank line, so blank separator lines stay below.
    qsizetype efter = slut;
    while (efter - 1 > start && rader[efter - 1].trimmed().isEmpty())
        --efter;
    rader.insert(efter, nyckel + QLatin1Char('=') + v);
}

const QByteArray bom("\xEF\xBB\xBF");

// Only a file that needs UTF-8 to say something is taken for one: plain ASCII
// reads the same either way, and Swedish letters in Windows-1252 are almost never
// valid UTF-8. Sets *text for a UTF-8 file.
bool arUtf8(const QByteArray& bytes, QString* text) {
    const bool ickeAscii =
        std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (!ickeAscii)
        return false;
    QStringDecoder avkodare(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString utf8 = avkodare(bytes);
    if (avkodare.hasError())
        return false;
    *text = std::move(utf8);
    return true;
}

// Control characters other than the white space a text editor leaves. In a
// Windows-1252 file this includes the five bytes that code page leaves
// undefined, which decode as C1 controls.
bool arStyrtecken(QChar ch) {
    const char16_t u = ch.unicode();
    if (u == u'\t' || u == u'\r' || u == u'\n' || u == u'\f')
        return false;
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

// What the path leads to when that is a folder, a pipe or anything else but a
// plain file, as filslagText tells it; empty otherwise.
QString ovanligFil(const QString& sokvag) {
    const QString mal = QFileInfo(sokvag).canonicalFilePath();
    return mal.isEmpty() ? QString() : ovanligPost(mal);
}

QString slagfel(const QString& sokvag, const QString& slag) {
    return QStringLiteral("\"%1\" är %2 och kan inte användas som inställningsfil.").arg(sokvag, slag);
}

} // namespace

clsIni::Innehall clsIni::las() const {
    Innehall inn;
    if (m_sokvag.isEmpty())
        return inn;
    // A link to an INI elsewhere is followed (a program INI may be one), but a
    // pipe, a device or a folder is no settings file: never waited on, it
    // counts as one that cannot be read, and so is never written over.
    const std::optional<QByteArray> last = lasVanligFil(m_sokvag, -1, true);
    if (!last) {
        if (errno != ENOENT && errno != ENOTDIR)
            inn.status = Filstatus::KanInteLasas;
        return inn;
    }
    const QByteArray& bytes = *last;
    inn.status = Filstatus::Ok;
    QString text;
    if (bytes.startsWith(bom)) {
        inn.kodning = Kodning::Utf8MedBom;
        text = QString::fromUtf8(bytes.sliced(bom.size()));
    } else if (arUtf8(bytes, &text)) {
        inn.kodning = Kodning::Utf8;
    } else {
        text = Windows1252::tillText(bytes);
    }
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

bool clsIni::farSkrivas(const Innehall& inn) {
    if (m_sokvag.isEmpty()) {
        m_fel = QStringLiteral("Ingen inställningsfil är angiven.");
        return false;
    }
    if (inn.status == Filstatus::KanInteLasas) {
        const QString slag = ovanligFil(m_sokvag);
        m_fel = !slag.isEmpty() ? slagfel(m_sokvag, slag)
                                : QStringLiteral("Filen \"%1\" kan inte läsas.").arg(m_sokvag);
        return false;
    }
    m_fel.clear();
    return true;
}

bool clsIni::skriv(const Innehall& inn) {
    QString text;
    for (const QString& rad : inn.rader)
        text += rad + inn.radslut;
    QByteArray bytes;
    if (inn.kodning == Kodning::Utf8MedBom)
        bytes = bom + text.toUtf8();
    else if (inn.kodning == Kodning::Utf8 || !Windows1252::rymmer(text))
        bytes = text.toUtf8();
    else
        bytes = Windows1252::tillBytes(text);

    QSaveFile fil(m_sokvag);
    if (!fil.open(QIODevice::WriteOnly)) {
        const QString slag = ovanligFil(m_sokvag);
        m_fel = !slag.isEmpty() ? slagfel(m_sokvag, slag)
                                : QStringLiteral("Filen \"%1\" kan inte skrivas.").arg(m_sokvag);
        return false;
    }
    // commit() reports success even when the disk filled up halfway, and would
    // then put the cut-off file in place of the whole one.
    if (fil.write(bytes) != bytes.size() || !fil.flush()) {
        const int nummer = errno;
        fil.cancelWriting();
        m_fel = nummer == ENOSPC || nummer == EDQUOT
                    ? QStringLiteral("Disken är full: filen \"%1\" kunde inte sparas och är oförändrad.")
                    : QStringLiteral("Filen \"%1\" kunde inte sparas färdigt (disken kan vara full) och är "
                                     "oförändrad.");
        m_fel = m_fel.arg(m_sokvag);
        return false;
    }
    if (!fil.commit()) {
        m_fel = QStringLiteral("Filen \"%1\" kan inte skrivas.").arg(m_sokvag);
        return false;
    }
    m_fel.clear();
    return true;
}

bool clsIni::WriteSection(const QString& sektion) {
    Innehall inn = las();
    if (!farSkrivas(inn))
        return false;
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
    return WriteKeys({{sektion, nyckel, varde}});
}

bool clsIni::WriteKeys(const QList<Post>& poster) {
    Innehall inn = las();
    if (!farSkrivas(inn))
        return false;
    if (poster.isEmpty())
        return true;
    for (const Post& p : poster)
        sattNyckel(inn.rader, p.sektion, p.nyckel, p.varde);
    return skriv(inn);
}

bool clsIni::DeleteSection(const QString& sektion) {
    Innehall inn = las();
    if (!farSkrivas(inn))
        return false;
    qsizetype start, slut;
    if (!hittaSektion(inn.rader, sektion, &start, &slut))
        return true;
    inn.rader.remove(start, slut - start);
    return skriv(inn);
}

bool clsIni::DeleteKey(const QString& sektion, const QString& nyckel) {
    return DeleteKeys(sektion, {nyckel});
}

bool clsIni::DeleteKeys(const QString& sektion, const QStringList& nycklar) {
    Innehall inn = las();
    if (!farSkrivas(inn))
        return false;
    qsizetype start, slut;
    if (!hittaSektion(inn.rader, sektion, &start, &slut))
        return true;
    bool andrad = false;
    for (const QString& nyckel : nycklar) {
        const qsizetype rad = hittaNyckel(inn.rader, start, slut, nyckel, nullptr);
        if (rad < 0)
            continue;
        inn.rader.removeAt(rad);
        --slut;
        andrad = true;
    }
    return !andrad || skriv(inn);
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

clsIni::Filstatus clsIni::status() const {
    const Innehall inn = las();
    if (inn.status != Filstatus::Ok)
        return inn.status;
    // Windows skips a line it cannot make sense of, and so do we; but a file where
    // more than a tenth of the lines are such, or with characters no text editor
    // writes, is something else under an INI name.
    qsizetype rader = 0, obegripliga = 0;
    for (const QString& rad : inn.rader) {
        for (QChar ch : rad) {
            if (arStyrtecken(ch))
                return Filstatus::InteEnIniFil;
        }
        if (rad.trimmed().isEmpty())
            continue;
        ++rader;
        if (sektionsnamn(rad).isNull() && !arKommentar(rad) && !nyckelrad(rad, nullptr, nullptr))
            ++obegripliga;
    }
    return obegripliga * 10 > rader ? Filstatus::InteEnIniFil : Filstatus::Ok;
}
