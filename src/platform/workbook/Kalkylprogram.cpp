#include "platform/workbook/Kalkylprogram.h"

#include "common/Fel.h"
#include "platform/workbook/XlsxFil.h"

#include <QDebug>
#include <QDesktopServices>
#include <QUrl>

namespace Kalkyl {

// ---- Arbetsbok ----

Arbetsbok::Arbetsbok(Kalkylprogram* program)
    : m_program(program), m_blad(new Arbetsblad(this, QStringLiteral("Blad1"))) {}

Arbetsbok::~Arbetsbok() = default;

void Arbetsbok::kontrollera() const {
    m_program->kontrollera();
    if (!m_oppen)
        throw Fel(Kalkylfel::ObjektetFinnsInte, QStringLiteral("Arbetsboken är stängd."));
}

Arbetsblad& Arbetsbok::Worksheets(int index) {
    kontrollera();
    if (index != 1)
        throw Fel(Kalkylfel::IndexUtanforIntervallet, QStringLiteral("Indexet ligger utanför intervallet."));
    return *m_blad;
}

void Arbetsbok::setCheckCompatibility(bool kontrollera_) {
    kontrollera();
    m_kompatibilitet = kontrollera_;
}

QString Arbetsbok::SaveAs(const QString& Filename, std::optional<int> FileFormat,
                          std::optional<bool> CreateBackup) {
    kontrollera();
    if (FileFormat && *FileFormat != Filformat::Excel8 && *FileFormat != Filformat::OpenXml)
        throw Fel(Kalkylfel::Programfel, QStringLiteral("Filformatet %1 stöds inte.").arg(*FileFormat));
    const QString sokvag = XlsxFil::spara(*m_blad, Filename, CreateBackup.value_or(false));
    m_sparadSom = sokvag;
    if (m_program->Visible() && m_program->filoppnare())
        m_program->filoppnare()(sokvag);
    return sokvag;
}

void Arbetsbok::Close(bool SaveChanges) {
    kontrollera();
    if (SaveChanges) {
        if (m_sparadSom.isEmpty())
            throw Fel(Kalkylfel::Programfel,
                      QStringLiteral("Arbetsboken har inget filnamn att sparas under."));
        SaveAs(m_sparadSom);
    }
    m_oppen = false;
}

// ---- Arbetsbocker ----

Arbetsbok& Arbetsbocker::Add() {
    m_program->kontrollera();
    m_bocker.emplace_back(new Arbetsbok(m_program));
    return *m_bocker.back();
}

int Arbetsbocker::Count() const {
    m_program->kontrollera();
    int n = 0;
    for (const auto& bok : m_bocker)
        n += bok->arOppen() ? 1 : 0;
    return n;
}

Arbetsbok& Arbetsbocker::Item(int index) {
    m_program->kontrollera();
    int n = 0;
    for (const auto& bok : m_bocker)
        if (bok->arOppen() && ++n == index)
            return *bok;
    throw Fel(Kalkylfel::IndexUtanforIntervallet, QStringLiteral("Indexet ligger utanför intervallet."));
}

Arbetsbok* Arbetsbocker::aktiv() const {
    for (auto it = m_bocker.rbegin(); it != m_bocker.rend(); ++it)
        if ((*it)->arOppen())
            return it->get();
    return nullptr;
}

// ---- Kalkylprogram ----

Kalkylprogram::Kalkylprogram(Utskriftsmotor* utskrift)
    : m_bocker(this), m_utskrift(utskrift), m_oppnare([](const QString& sokvag) {
          // Only a debugging aid: a desktop without a program for the file must not
          // turn a saved list into a failed one.
          if (!QDesktopServices::openUrl(QUrl::fromLocalFile(sokvag)))
              qWarning() << "Kunde inte öppna" << sokvag;
      }) {}

Kalkylprogram::~Kalkylprogram() = default;

void Kalkylprogram::kontrollera() const {
    if (m_avslutat)
        throw Fel(Kalkylfel::ObjektetFinnsInte, QStringLiteral("Kalkylprogrammet är avslutat."));
}

Arbetsbocker& Kalkylprogram::Workbooks() {
    kontrollera();
    return m_bocker;
}

Arbetsblad& Kalkylprogram::Worksheets(int index) {
    kontrollera();
    Arbetsbok* bok = m_bocker.aktiv();
    if (!bok)
        throw Fel(Kalkylfel::Programfel, QStringLiteral("Det finns ingen öppen arbetsbok."));
    return bok->Worksheets(index);
}

void Kalkylprogram::setVisible(bool synlig) {
    kontrollera();
    m_synlig = synlig;
}

// 12.0 is the first version of the Office Open XML format, which is what the
// engine writes; the program's version class for it is "2007".
QString Kalkylprogram::Version() const {
    kontrollera();
    return QStringLiteral("12.0");
}

double Kalkylprogram::InchesToPoints(double tum) const {
    kontrollera();
    return tum * 72.0;
}

void Kalkylprogram::Quit() {
    kontrollera();
    for (auto& bok : m_bocker.m_bocker)
        bok->m_oppen = false;
    m_avslutat = true;
}

} // namespace Kalkyl
