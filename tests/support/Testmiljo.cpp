#include "support/Testmiljo.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <unistd.h>

Testmiljo::Testmiljo() {
    m_dir.setAutoRemove(true);
}

QString Testmiljo::mallSokvag() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Pilkrona.mdb"));
}

QString Testmiljo::kopieraMall(const QString& namn) const {
    const QString mal = fil(namn);
    QFile::remove(mal);
    QFile::copy(mallSokvag(), mal);
    QFile::setPermissions(mal, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return mal;
}

void Testmiljo::kopieraGrafik() const {
    const QDir kalla(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Grafik")));
    QDirIterator it(kalla.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString fran = it.next();
        const QString mal =
            QDir(m_dir.path()).filePath(QStringLiteral("Grafik/") + kalla.relativeFilePath(fran));
        QDir().mkpath(QFileInfo(mal).path());
        QFile::copy(fran, mal);
    }
}

bool Testmiljo::arRoot() {
    return geteuid() == 0;
}
