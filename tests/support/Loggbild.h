#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <sys/stat.h>

// What a copy's record says of a file as it lies: "F:<size>:<seconds>:<nanoseconds>" of its
// modification time. Tests that lay out what a copy cut off would have left write their records
// with it.
inline QByteArray loggbild(const QString& fil) {
    struct stat st {};
    if (lstat(QFile::encodeName(fil).constData(), &st) != 0)
        return "saknas";
    return "F:" + QByteArray::number(qint64(st.st_size)) + ':' +
           QByteArray::number(qint64(st.st_mtim.tv_sec)) + ':' +
           QByteArray::number(qint64(st.st_mtim.tv_nsec));
}

// Marks the folder bak as a backup the program made, its mark listing what it
// holds now as a copy's moved-aside folder lists it.
inline void markeraSomSakerhetskopia(const QString& bak) {
    QByteArray text = "Den här mappen är en säkerhetskopia som Pilkrona gjorde vid en kopiering.\n"
                      "sakerhetskopia 1\n";
    QDirIterator it(bak, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QStringList poster;
    while (it.hasNext())
        poster << it.next();
    poster.sort();
    for (const QString& fil : poster) {
        const QString rel = QDir(bak).relativeFilePath(fil);
        if (rel.startsWith(u".pilkrona-"))
            continue;
        text += "u " + QFile::encodeName(rel).toPercentEncoding() + ' ' +
                (QFileInfo(fil).isDir() ? QByteArray("D") : loggbild(fil)) + '\n';
    }
    QFile f(bak + QStringLiteral("/.pilkrona-sakerhetskopia"));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text + "klar\n");
}
