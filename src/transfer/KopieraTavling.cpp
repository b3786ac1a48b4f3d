#include "transfer/Tavlingsoverforing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>

namespace Overforing {

Kopieringsutfall kopieraTavlingsmapp(const QString& destination, const QString& kalla) {
    namespace fs = std::filesystem;
    const fs::path fran(QFile::encodeName(kalla).toStdString());
    const fs::path till = fs::path(QFile::encodeName(destination).toStdString()) /
                          QFile::encodeName(QFileInfo(kalla).fileName()).toStdString();
    std::error_code fel;
    fs::copy(fran, till, fs::copy_options::recursive | fs::copy_options::overwrite_existing, fel);
    if (fel)
        return {QString::number(fel.value()) + QLatin1Char(' ') + QString::fromLocal8Bit(fel.message()),
                false};
    return {};
}

} // namespace Overforing
