#include "app/QtDialoger.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

namespace {

// Qt's file dialog writes sizes and dates in the system's locale, whatever
// the program's: where the system has none (C, POSIX) they would come out in
// English. This shows them in the program's locale.
class ProgrammetsFormat : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    enum Kolumn { Storlek = 1, Andrad = 3 };
    QVariant data(const QModelIndex& i, int roll) const override {
        const auto* filer = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!filer || roll != Qt::DisplayRole || (i.column() != Storlek && i.column() != Andrad))
            return QIdentityProxyModel::data(i, roll);
        const QModelIndex k = mapToSource(i);
        if (i.column() == Andrad)
            return QLocale().toString(filer->lastModified(k), QLocale::ShortFormat);
        return filer->isDir(k) ? QString() : QLocale().formattedDataSize(filer->size(k));
    }
};

} // namespace

QString QtDialoger::oppnaFil(QWidget* foralder, const QString& rubrik, const QString& startmapp,
                             const QString& filter) {
    QFileDialog dialog(foralder, rubrik, startmapp, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (QLocale() != QLocale::system())
        dialog.setProxyModel(new ProgrammetsFormat(&dialog));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
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
