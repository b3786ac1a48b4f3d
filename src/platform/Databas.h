#pragma once

#include "common/Fel.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class QSqlError;
struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_value;

// One row of Databas::lasRader, its columns by position from 0. A value reads
// as QSqlQuery::value(i) would give it converted (toLongLong, toDouble,
// toString), but straight from SQLite, without a QVariant per value: the lists
// read thousands of rows of forty columns.
class Databasrad {
public:
    qint64 heltal(int kolumn) const;
    double tal(int kolumn) const;
    QString text(int kolumn) const;

private:
    friend class Databas;
    explicit Databasrad(sqlite3_stmt* sats) : m_sats(sats) {}
    QVariant varde(int kolumn) const;
    sqlite3_value* kolumnvarde(int kolumn) const;
    sqlite3_stmt* m_sats;
};

// The connection to one competition database (SQLite). Every statement goes
// through kor() with its values bound; nothing typed by the operator is ever
// joined into SQL text. Failures are thrown as Fel with a Swedish description.
class Databas {
public:
    // The application id that the template database carries; a file without it is
    // not one of ours and is refused rather than opened as an empty database.
    static constexpr int ApplikationsId = 1347113550;
    static constexpr int AnslutningsTidsgransSekunder = 20;

    Databas();
    ~Databas();
    Databas(const Databas&) = delete;
    Databas& operator=(const Databas&) = delete;

    void Open(const QString& sokvag);
    void Close();
    bool IsOpen() const;
    const QString& sokvag() const { return m_sokvag; }

    // Prepares, binds the values in order and executes. The returned query is
    // positioned before the first row.
    QSqlQuery kor(const QString& sql, const QVariantList& varden = {}) const;
    // Prepares, binds the values in order and hands each row of the result to
    // rad, in order. For the large reads; failures as kor().
    void lasRader(const QString& sql, const QVariantList& varden,
                  const std::function<void(const Databasrad&)>& rad) const;
    // First column of the first row, or an invalid QVariant when there is no row.
    QVariant varde(const QString& sql, const QVariantList& varden = {}) const;

    // Runs f inside one transaction: committed when f returns, rolled back when it
    // throws (the exception goes on to the caller). Transactions nest, because one
    // operation often calls another that writes on its own: the outermost is the real
    // transaction, an inner one a savepoint. An inner failure that its caller catches
    // undoes only the inner part; the outer transaction goes on.
    template <class F> void transaktion(F&& f) {
        borja();
        try {
            f();
        } catch (...) {
            angra();
            throw;
        }
        bekrafta();
    }
    // Transactions now open, the outermost one included; 0 outside any.
    int transaktionsdjup() const { return m_djup; }

    // Text as typed, made into a LIKE pattern that matches only itself, to be used
    // with ESCAPE '\': "... WHERE Namn LIKE ? ESCAPE '\'" bound to
    // bokstavligtMonster(typed) + "%" finds the names that begin with the typed text,
    // even when it holds % or _. (LIKE ignores letter case in every alphabet.)
    static QString bokstavligtMonster(const QString& text);

    // Checks that a file is a competition database of ours without opening it for
    // writing; throws Fel with the reason otherwise. The file itself must be a
    // plain file: a symbolic link (which may lead to another competition's
    // database) and a pipe or device (which would hold the program up) are
    // refused, naming what they are, without being opened.
    static void kontrolleraFil(const QString& sokvag);
    // The refusal kontrolleraFil gives a database that is a symbolic link or
    // no plain file, naming it and what it is; empty for a plain file, nothing,
    // or what could not be looked at.
    static QString filhinder(const QString& sokvag);
    // Whether this user can write the file and create the journal beside it, as
    // every change needs. A file without any write bit counts as write-protected
    // even for root, who could write it anyway: the operator protected it.
    static bool arSkrivbar(const QString& sokvag);

    // Whether the file begins as every SQLite database does: false for a link,
    // a pipe or anything else that is no plain file, which is not waited on.
    static bool arSqlite(const QString& sokvag);
    // The files SQLite keeps beside a database while it writes (the rollback
    // journal; a write-ahead log and its index in other modes), for the file
    // name databasnamn, and whether a file name is one of them. Such a file
    // belongs to that very database: beside another file of the name it would
    // be played into that file.
    static QStringList sidofiler(const QString& databasnamn);
    static bool arSidofil(const QString& filnamn);
    // Writes a consistent copy of the database kalla as the new file mal
    // through SQLite's backup: a journal left behind by a write cut short is
    // rolled back first, and other connections, this program's own among them,
    // may go on writing meanwhile: the copy holds one committed state. mal is
    // not flushed; the caller does that. Returns 0, or the system's error number
    // (errno) of the failure; one the system gave no number for counts as EIO,
    // a full disk as ENOSPC, a refused write as EACCES, a database held too
    // long by a writer as EBUSY.
    static int ogonblicksbild(const QString& kalla, const QString& mal);

private:
    // Throws when no database is open or SQLite has rolled the open
    // transaction back by itself.
    void kontrolleraKorbar() const;
    // The file at the path is no longer the one opened: moved, deleted or replaced.
    bool filenArUtbytt() const;
    [[noreturn]] void kastaFel(const QSqlError& e, const QString& sql) const;
    void borja();
    void bekrafta();
    void angra() noexcept;
    bool korUtanFel(const QString& sql) noexcept;

    QString m_namn;
    QString m_sokvag;
    QSqlDatabase m_db;
    sqlite3* m_handtag = nullptr;
    int m_djup = 0;
    // Device and inode of the file opened.
    bool m_identitetKand = false;
    quint64 m_enhet = 0;
    quint64 m_inod = 0;
};
