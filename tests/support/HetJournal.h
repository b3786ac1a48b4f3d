#pragma once

#include "support/Testmiljo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

// An older competition database whose last transaction was cut short: the
// file holds some of its changes and its journal the pages before them, so it
// is whole only with the journal beside it. Its table Prov has 500 rows, none
// of them beginning with "ändrad" once the journal is played back.
inline void databasMedHetJournal(const QString& fil) {
    QTemporaryDir tmp;
    const QString arbete = tmp.filePath(QStringLiteral("x.air"));
    QVERIFY(QFile::copy(Testmiljo::mallSokvag(), arbete));
    QFile::setPermissions(arbete, QFile::ReadOwner | QFile::WriteOwner);
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(arbete).constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db,
                          "CREATE TABLE Prov(x TEXT);"
                          "WITH RECURSIVE r(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM r WHERE i < 500) "
                          "INSERT INTO Prov SELECT printf('%0200d', i) FROM r;"
                          "PRAGMA cache_size=1; BEGIN; UPDATE Prov SET x = 'ändrad' || x;",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    QVERIFY(QFileInfo::exists(arbete + QStringLiteral("-journal")));
    QDir().mkpath(QFileInfo(fil).path());
    QVERIFY(QFile::copy(arbete, fil));
    QVERIFY(QFile::copy(arbete + QStringLiteral("-journal"), fil + QStringLiteral("-journal")));
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}
