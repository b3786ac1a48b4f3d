#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// One INI file with Windows private-profile behaviour on a plain file: read and
// written whole at every call (nothing cached, so another program's change is seen
// at once), Windows-1252 on disk so that competition folders from Windows read
// correctly, section and key names matched without regard to letter case (Å/å
// included), every other line of the file kept as it was.
class clsIni {
public:
    clsIni() = default;
    explicit clsIni(const QString& sokvag) : m_sokvag(sokvag) {}

    // Leaves the section (creating it when missing) with no keys.
    bool WriteSection(const QString& sektion);
    // Creates file, section and key as needed; replaces an existing value in place,
    // under the key's existing spelling. An empty value keeps the key with "".
    bool WriteKey(const QString& sektion, const QString& nyckel, const QString& varde);
    bool DeleteSection(const QString& sektion);
    bool DeleteKey(const QString& sektion, const QString& nyckel);
    // A missing file, section or key yields the default; a key present with an
    // empty value yields "".
    QString GetKeyValue(const QString& sektion, const QString& nyckel, const QString& standard) const;

    void setPath(const QString& sokvag) { m_sokvag = sokvag; }
    const QString& Path() const { return m_sokvag; }

    QStringList GetSections() const;
    QList<QPair<QString, QString>> GetSectionKeys(const QString& sektion) const;

private:
    struct Innehall {
        QStringList rader;
        QString radslut = QStringLiteral("\r\n");
        bool finns = false;
    };
    Innehall las() const;
    bool skriv(const Innehall& innehall) const;

    QString m_sokvag;
};
