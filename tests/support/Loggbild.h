#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
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
