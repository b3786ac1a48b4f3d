#include "shell/ProgramIni.h"

#include "common/IniNamn.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString programIniSokvag(const QString& programmapp, const QString& anvandarmapp) {
    if (QFileInfo(programmapp).isWritable())
        return QDir(programmapp).filePath(Ini::ProgramIniNamn);
    QDir().mkpath(anvandarmapp);
    return QDir(anvandarmapp).filePath(Ini::ProgramIniNamn);
}

QString programIniSokvag(const QString& programmapp) {
    return programIniSokvag(programmapp, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}
