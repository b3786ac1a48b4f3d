#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// One INI file with Windows private-profile behaviour on a plain file: read and
// written whole at every call (nothing cached, so another program's change is seen
// at once), section and key names matched without regard to letter case (Å/å
// included), every other line of the file kept as it was.
//
// A file keeps its encoding. Files from the old Windows program are Windows-1252,
// and so is every new file; a file that starts with a UTF-8 byte order mark, or is
// valid UTF-8 with some non-ASCII byte in it, was made elsewhere and stays UTF-8.
// A Windows-1252 file turns into UTF-8 only when it must hold a character that
// code page lacks, so that no name or path is ever stored as "?".
//
// A file that is there but cannot be read is never written: writing would replace
// settings we could not see with the few keys of this call. A pipe, a device or a
// folder under the INI's name counts as such and is never waited on; a link to
// a plain file is followed.
class clsIni {
public:
    // One key to write with WriteKeys().
    struct Post {
        QString sektion, nyckel, varde;
    };

    enum class Filstatus {
        Saknas,
        Ok,
        KanInteLasas,
        // Binary data or text that is mostly not INI lines: no settings to read.
        InteEnIniFil,
    };

    clsIni() = default;
    explicit clsIni(const QString& sokvag) : m_sokvag(sokvag) {}

    // Each write is all or nothing: false leaves the file as it was, with the reason
    // in senasteFel().

    // Leaves the section (creating it when missing) with no keys.
    [[nodiscard]] bool WriteSection(const QString& sektion);
    // Creates file, section and key as needed; replaces an existing value in place,
    // under the key's existing spelling. An empty value keeps the key with "".
    [[nodiscard]] bool WriteKey(const QString& sektion, const QString& nyckel, const QString& varde);
    // Several keys in one rewrite of the file, in the given order, each placed as
    // WriteKey() would place it.
    [[nodiscard]] bool WriteKeys(const QList<Post>& poster);
    [[nodiscard]] bool DeleteSection(const QString& sektion);
    [[nodiscard]] bool DeleteKey(const QString& sektion, const QString& nyckel);
    // Removes several keys of one section in one rewrite of the file.
    [[nodiscard]] bool DeleteKeys(const QString& sektion, const QStringList& nycklar);
    // A missing or unreadable file, section or key yields the default; a key
    // present with an empty value yields "".
    QString GetKeyValue(const QString& sektion, const QString& nyckel, const QString& standard) const;

    void setPath(const QString& sokvag) {
        m_sokvag = sokvag;
        m_fel.clear();
    }
    const QString& Path() const { return m_sokvag; }

    QStringList GetSections() const;
    QList<QPair<QString, QString>> GetSectionKeys(const QString& sektion) const;

    Filstatus status() const;
    // Why the last write call failed, in Swedish and naming the file, for the
    // user; empty after a write that succeeded.
    const QString& senasteFel() const { return m_fel; }

private:
    enum class Kodning { Windows1252, Utf8, Utf8MedBom };
    struct Innehall {
        QStringList rader;
        QString radslut = QStringLiteral("\r\n");
        Kodning kodning = Kodning::Windows1252;
        Filstatus status = Filstatus::Saknas;
    };
    Innehall las() const;
    // Whether the file may be rewritten from what las() gave; sets m_fel when not.
    bool farSkrivas(const Innehall& innehall);
    bool skriv(const Innehall& innehall);

    QString m_sokvag;
    QString m_fel;
};
