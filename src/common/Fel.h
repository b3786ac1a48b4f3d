#pragma once

#include <QString>
#include <stdexcept>

// A failure inside the core, carrying the number and description that the
// program's error messages show ("... : " & number & " " & description).
// Numbers follow the old runtime where a message depends on them (53 file not
// found, 13 type mismatch, 6 overflow, 70 permission denied, 75 path/file access)
// and the old database engine where one of its errors means the same (3026 disk
// full, 3049 damaged database), so that callers can tell the failures apart.
class Fel : public std::runtime_error {
public:
    Fel(int nummer, const QString& beskrivning)
        : std::runtime_error(beskrivning.toStdString()), m_nummer(nummer), m_beskrivning(beskrivning) {}

    int nummer() const { return m_nummer; }
    const QString& beskrivning() const { return m_beskrivning; }
    // "number description", the tail of every error message.
    QString text() const { return QString::number(m_nummer) + QLatin1Char(' ') + m_beskrivning; }

private:
    int m_nummer;
    QString m_beskrivning;
};

namespace Felnummer {
constexpr int Overflow = 6;
constexpr int TypeMismatch = 13;
constexpr int FilenInteHittad = 53;
constexpr int AtkomstNekad = 70;
constexpr int SokvagsAtkomstfel = 75;
constexpr int SokvagenInteHittad = 76;
constexpr int OkantDatabasformat = 3343;
constexpr int DatabasfilSaknas = 3024;
constexpr int DiskenFull = 3026;
constexpr int DatabasSkrivskyddad = 3027;
constexpr int DiskEllerNatverksfel = 3043;
constexpr int DatabasAnvands = 3045;
constexpr int DatabasSkadad = 3049;
constexpr int DatabasKanInteOppnas = 3051;
constexpr int Databasfel = 3146; // any other database failure
} // namespace Felnummer

// The one text for a file that could not be written because the disk is full,
// whichever file it was: the database, a list or a settings file.
inline Fel diskenFull(const QString& sokvag) {
    return Fel(Felnummer::DiskenFull, QStringLiteral("Disken är full: \"%1\" kan inte skrivas.").arg(sokvag));
}
