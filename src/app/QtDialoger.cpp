#include "app/QtDialoger.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

QString QtDialoger::oppnaFil(QWidget* foralder, const QString& rubrik, const QString& startmapp,
                             const QString& filter) {
    return QFileDialog::getOpenFileName(foralder, rubrik, startmapp, filter);
}

std::optional<Plattformsdialoger::Kopior> QtDialoger::valjKopior(QWidget* foralder, const Kopior& nu) {
    // Without a default printer the dialog would have nothing to offer: the
    // command ends quietly instead.
    if (QPrinterInfo::defaultPrinter().isNull())
        return std::nullopt;
    QPrinter skrivare;
    skrivare.setCopyCount(nu.antal > 0 ? nu.antal : 1);
    if (!nu.skrivare.isEmpty())
        skrivare.setPrinterName(nu.skrivare);
    QPrintDialog dialog(&skrivare, foralder);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return Kopior{skrivare.copyCount(), skrivare.printerName()};
}

bool QtDialoger::oppnaDokument(const QString& fil) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(fil));
}
