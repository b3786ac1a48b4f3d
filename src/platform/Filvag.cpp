#include "platform/Filvag.h"

#include <QDir>
#include <QFileInfo>
#include <fcntl.h>
#include <unistd.h>

QString hittaFil(const QString& bas, const QString& relativ) {
    QString stig = relativ;
    stig.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList delar = stig.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString aktuell = bas;
    for (const QString& del : delar) {
        const QString exakt = QDir(aktuell).filePath(del);
        if (QFileInfo::exists(exakt)) {
            aktuell = exakt;
            continue;
        }
        QString hittad;
        const QStringList poster =
            QDir(aktuell).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QString& post : poster) {
            if (post.compare(del, Qt::CaseInsensitive) == 0) {
                hittad = QDir(aktuell).filePath(post);
                break;
            }
        }
        if (hittad.isEmpty())
            return {};
        aktuell = hittad;
    }
    return QFileInfo(aktuell).isFile() ? aktuell : QString();
}

bool arSkrivbar(const QString& sokvag) {
    const QFileInfo info(sokvag);
    if (!info.exists() || !info.isWritable())
        return false;
    return info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther);
}

void synkaMapp(const QString& mapp) {
    const int fd = ::open(QFile::encodeName(mapp).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}
