#include "platform/workbook/Skrivarmotor.h"

#include "common/Fel.h"
#include "platform/workbook/Arbetsblad.h"
#include "platform/workbook/Bladritare.h"
#include "platform/workbook/Sidindelning.h"
#include "platform/workbook/Typsnitt.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

void Skrivarmotor::forbered(QPrinter& skrivare, const Kalkyl::Arbetsblad& blad, int kopior) const {
    if (!m_pdfFil.isEmpty()) {
        skrivare.setOutputFormat(QPrinter::PdfFormat);
        skrivare.setOutputFileName(m_pdfFil);
    } else {
        const QStringList skrivare_ = QPrinterInfo::availablePrinterNames();
        if (skrivare_.isEmpty())
            throw Fel(Kalkyl::Kalkylfel::Programfel,
                      QStringLiteral("Det finns ingen skrivare installerad. Listan skrevs inte ut."));
        QString namn = m_skrivare.isEmpty() ? QPrinterInfo::defaultPrinterName() : m_skrivare;
        if (namn.isEmpty())
            namn = skrivare_.first();
        if (!skrivare_.contains(namn))
            throw Fel(Kalkyl::Kalkylfel::Programfel,
                      QStringLiteral("Skrivaren \"%1\" finns inte. Listan skrevs inte ut.").arg(namn));
        skrivare.setOutputFormat(QPrinter::NativeFormat);
        skrivare.setPrinterName(namn);
        if (!skrivare.isValid())
            throw Fel(Kalkyl::Kalkylfel::Programfel,
                      QStringLiteral("Skrivaren \"%1\" kan inte användas. Listan skrevs inte ut.").arg(namn));
    }
    const Kalkyl::Sidformat& sf = blad.sidformat();
    const QPageSize papper(Kalkyl::Sidindelning::pappersstorlek(sf.PaperSize()), QPageSize::Point, QString(),
                           QPageSize::FuzzyMatch);
    const auto orientering =
        sf.Orientation() == Kalkyl::Orientering::Liggande ? QPageLayout::Landscape : QPageLayout::Portrait;
    // The sheet's own margins are painted; the printer's would come on top.
    skrivare.setPageLayout(QPageLayout(papper, orientering, QMarginsF(0, 0, 0, 0), QPageLayout::Point));
    skrivare.setFullPage(true);
    skrivare.setDocName(blad.Name());
    skrivare.setCopyCount(kopior);
    skrivare.setCollateCopies(true);
}

void Skrivarmotor::skrivUt(const Kalkyl::Arbetsblad& blad, int kopior) {
    Kalkyl::Typsnitt::ersattWindowsTypsnitt();
    QPrinter skrivare(QPrinter::HighResolution);
    forbered(skrivare, blad, kopior);
    // A printer that cannot make copies itself gets the pages again.
    const int upprepningar = skrivare.supportsMultipleCopies() ? 1 : kopior;
    Kalkyl::Bladritare::rita(blad, skrivare, upprepningar);
}
