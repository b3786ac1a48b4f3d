#pragma once

#include "platform/workbook/Arbetsblad.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Kalkyl {

class Kalkylprogram;
class Utskriftsmotor;

// A workbook of one sheet, "Blad1". Saving writes Office Open XML whatever name
// the caller gives; see SaveAs.
class Arbetsbok {
public:
    Arbetsbok(const Arbetsbok&) = delete;
    Arbetsbok& operator=(const Arbetsbok&) = delete;
    ~Arbetsbok();

    Arbetsblad& Worksheets(int index);
    bool CheckCompatibility() const { return m_kompatibilitet; }
    void setCheckCompatibility(bool kontrollera);
    // Saves as "<folder>/<stem>.xlsx" for "<folder>\<stem>.xls" and the like
    // ("\" or "/"); FileFormat 56 or 51 or none, all meaning the one format.
    // The old file is replaced only by a complete new one. Throws Fel 70 or 75
    // when the file is open in another program or write-protected. Returns the
    // path written.
    QString SaveAs(const QString& Filename, std::optional<int> FileFormat = {},
                   std::optional<bool> CreateBackup = {});
    void Close(bool SaveChanges = false);

    bool arOppen() const { return m_oppen; }
    Kalkylprogram& program() const { return *m_program; }
    const QString& sparadSom() const { return m_sparadSom; }
    void kontrollera() const;

private:
    friend class Arbetsbocker;
    friend class Kalkylprogram;
    explicit Arbetsbok(Kalkylprogram* program);

    Kalkylprogram* m_program;
    std::unique_ptr<Arbetsblad> m_blad;
    bool m_oppen = true;
    bool m_kompatibilitet = true;
    QString m_sparadSom;
};

class Arbetsbocker {
public:
    Arbetsbok& Add();
    int Count() const;
    // The open workbooks counted from 1 in the order they were added.
    Arbetsbok& Item(int index);

private:
    friend class Kalkylprogram;
    friend class Arbetsbok;
    explicit Arbetsbocker(Kalkylprogram* program) : m_program(program) {}
    Arbetsbok* aktiv() const;
    Kalkylprogram* m_program;
    // Closed workbooks stay allocated until the application goes, so that a list
    // still holding one gets an error instead of a dangling reference.
    std::vector<std::unique_ptr<Arbetsbok>> m_bocker;
};

// The engine behind the lists' spreadsheet automation: created per list run,
// nothing to install or start.
class Kalkylprogram {
public:
    using Filoppnare = std::function<void(const QString& sokvag)>;

    explicit Kalkylprogram(Utskriftsmotor* utskrift = nullptr);
    ~Kalkylprogram();
    Kalkylprogram(const Kalkylprogram&) = delete;
    Kalkylprogram& operator=(const Kalkylprogram&) = delete;

    Arbetsbocker& Workbooks();
    // A sheet of the active (last added, still open) workbook.
    Arbetsblad& Worksheets(int index);
    // Visible: every saved workbook is opened with the desktop's own program.
    bool Visible() const { return m_synlig; }
    void setVisible(bool synlig);
    QString Version() const;
    double InchesToPoints(double tum) const;
    // Closes every workbook unsaved; the application and its objects are gone.
    void Quit();

    void setUtskriftsmotor(Utskriftsmotor* utskrift) { m_utskrift = utskrift; }
    Utskriftsmotor* utskriftsmotor() const { return m_utskrift; }
    // Replaces the desktop opening of a visible application's saved files.
    void setFiloppnare(Filoppnare oppnare) { m_oppnare = std::move(oppnare); }
    const Filoppnare& filoppnare() const { return m_oppnare; }

    bool arAvslutat() const { return m_avslutat; }
    void kontrollera() const;

private:
    Arbetsbocker m_bocker;
    Utskriftsmotor* m_utskrift;
    Filoppnare m_oppnare;
    bool m_synlig = false;
    bool m_avslutat = false;
};

} // namespace Kalkyl
