#pragma once

#include "platform/workbook/Utskriftsmotor.h"

#include <QString>

class QPrinter;

// PrintOut on paper: the sheet goes to the printer chosen in the copies dialog,
// or to the system's default printer, or, for checks, to a PDF file.
class Skrivarmotor : public Kalkyl::Utskriftsmotor {
public:
    // Empty: the system's default printer.
    void setSkrivare(const QString& namn) { m_skrivare = namn; }
    const QString& skrivare() const { return m_skrivare; }
    // Non-empty: print to this PDF file instead of a printer.
    void setPdfFil(const QString& sokvag) { m_pdfFil = sokvag; }
    const QString& pdfFil() const { return m_pdfFil; }

    // Points the printer at the target and sets the sheet's paper, orientation
    // and copies. Throws Fel when there is no printer to print on.
    void forbered(QPrinter& skrivare, const Kalkyl::Arbetsblad& blad, int kopior) const;
    void skrivUt(const Kalkyl::Arbetsblad& blad, int kopior) override;

private:
    QString m_skrivare;
    QString m_pdfFil;
};
