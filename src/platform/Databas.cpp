#include "platform/Databas.h"

#include "platform/Filslag.h"
#include "platform/Filvag.h"
#include "platform/SvenskSortering.h"

#include <QAtomicInt>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <cerrno>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QAtomicInt nastaAnslutning{0};

// SQLite's result code (QSQLITE puts it, extended, in nativeErrorCode), 0 when
// the driver gave none.
int resultatkod(const QSqlError& e) {
    bool ok = false;
    const int kod = e.nativeErrorCode().toInt(&ok);
    return ok ? kod & 0xFF : 0;
}

// The code decides the message: the operator needs to know whether the file is
// damaged, the disk full or the file locked, not the driver's English.
[[noreturn]] void kastaSqlFel(const QSqlError& e, const QString& sokvag, const QString& sql) {
    switch (resultatkod(e)) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        throw Fel(Felnummer::DatabasSkadad, QStringLiteral("Databasfilen \"%1\" är skadad.").arg(sokvag));
    case SQLITE_FULL:
        throw diskenFull(sokvag);
    case SQLITE_READONLY:
        throw Fel(Felnummer::DatabasSkrivskyddad,
                  QStringLiteral("Databasfilen \"%1\" är skrivskyddad.").arg(sokvag));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw Fel(Felnummer::DatabasAnvands,
                  QStringLiteral("Databasfilen \"%1\" används av ett annat program.").arg(sokvag));
    case SQLITE_CANTOPEN:
        throw Fel(Felnummer::DatabasKanInteOppnas,
                  QStringLiteral("Databasfilen \"%1\" kan inte öppnas.").arg(sokvag));
    case SQLITE_IOERR:
        throw Fel(Felnummer::DiskEllerNatverksfel,
                  QStringLiteral("Läs- eller skrivfel i databasfilen \"%1\".").arg(sokvag));
    case SQLITE_PERM:
        throw Fel(Felnummer::AtkomstNekad,
                  QStringLiteral("Åtkomst nekad till databasfilen \"%1\".").arg(sokvag));
    default:
        break;
    }
    const QString drivertext = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    QString text = QStringLiteral("Databasfel i \"%1\" (%2)").arg(sokvag, drivertext);
    if (!sql.isEmpty())
        text += QStringLiteral(". SQL: ") + sql.simplified();
    throw Fel(Felnummer::Databasfel, text);
}

// Failures that the file or its folder, rather than the statement, may be the
// cause of.
bool filfel(int kod) {
    switch (kod) {
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
    case SQLITE_PERM:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return true;
    default:
        return false;
    }
}

bool identitet(const QString& sokvag, quint64* enhet, quint64* inod) {
    struct stat st {};
    if (::stat(QFile::encodeName(sokvag).constData(), &st) != 0)
        return false;
    *enhet = quint64(st.st_dev);
    *inod = quint64(st.st_ino);
    return true;
}
} // namespace

Databas::Databas() : m_namn(QStringLiteral("pilkrona_%1").arg(nastaAnslutning.fetchAndAddRelaxed(1))) {}

Databas::~Databas() {
    Close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_namn);
}

QString Databas::filhinder(const QString& sokvag) {
    // A link could lead to another competition's database, written then under
    // that competition's lock and this one's at once; a pipe would hold the
    // program up for good. Neither is read.
    const Filslag slag = filslag(sokvag);
    if (slag == Filslag::Lank)
        return QStringLiteral(
                   "Databasfilen \"%1\" är en symbolisk länk, ingen vanlig fil. En tävlings databas "
                   "måste ligga i tävlingens egen mapp: en länk kan leda till en annan tävlings "
                   "databas och följer inte med när tävlingen kopieras. Lägg databasen själv där i "
                   "stället för länken och försök igen.")
            .arg(sokvag);
    if (const QString text = filslagText(slag); !text.isEmpty())
        return QStringLiteral("Databasfilen \"%1\" är %2, ingen vanlig fil, och kan inte vara en "
                              "tävlingsdatabas. Ta bort den eller lägg tävlingens databas där i stället och "
                              "försök igen.")
            .arg(sokvag, text);
    return {};
}

void Databas::kontrolleraFil(const QString& sokvag) {
    if (filslag(sokvag) == Filslag::Saknas)
        throw Fel(Felnummer::DatabasfilSaknas, QStringLiteral("Databasfilen \"%1\" finns inte.").arg(sokvag));
    if (const QString hinder = filhinder(sokvag); !hinder.isEmpty())
        throw Fel(Felnummer::DatabasKanInteOppnas, hinder);
    const std::optional<QByteArray> huvud = lasVanligFil(sokvag, 100);
    if (!huvud)
        throw Fel(Felnummer::AtkomstNekad, QStringLiteral("Databasfilen \"%1\" kan inte läsas.").arg(sokvag));
    if (huvud->startsWith(QByteArray("SQLite format 3\0", 16)) && huvud->size() == 100) {
        // Bytes 68..71 hold the application id, big-endian.
        const auto* p = reinterpret_cast<const unsigned char*>(huvud->constData()) + 68;
        const qint64 id = (qint64(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
        if (id == ApplikationsId)
            return;
    } else if (huvud->mid(4, 15) == "Standard Jet DB" || huvud->mid(4, 15) == "Standard ACE DB") {
        throw Fel(Felnummer::OkantDatabasformat,
                  QStringLiteral("Filen \"%1\" är en Access-databas (Jet) och kan inte öppnas av det här "
                                 "programmet. Skapa tävlingen på nytt.")
                      .arg(sokvag));
    }
    throw Fel(Felnummer::OkantDatabasformat,
              QStringLiteral("Filen \"%1\" är ingen tävlingsdatabas för Pilkrona.").arg(sokvag));
}

bool Databas::arSqlite(const QString& sokvag) {
    const std::optional<QByteArray> huvud = lasVanligFil(sokvag, 16);
    return huvud && *huvud == QByteArray("SQLite format 3\0", 16);
}

QStringList Databas::sidofiler(const QString& databasnamn) {
    return {databasnamn + QStringLiteral("-journal"), databasnamn + QStringLiteral("-wal"),
            databasnamn + QStringLiteral("-shm")};
}

bool Databas::arSidofil(const QString& filnamn) {
    return filnamn.endsWith(QStringLiteral("-journal")) || filnamn.endsWith(QStringLiteral("-wal")) ||
           filnamn.endsWith(QStringLiteral("-shm"));
}

namespace {
// The errno of a failed SQLite call, read at once after it: SQLite's unix
// layer leaves the system's errno of a failed read or write behind.
int systemfel(int kod, int sys) {
    switch (kod & 0xFF) {
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return sys ? sys : EIO;
    case SQLITE_FULL:
        return sys ? sys : ENOSPC;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return EACCES;
    case SQLITE_NOMEM:
        return ENOMEM;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return EBUSY;
    default:
        return EIO;
    }
}
} // namespace

int Databas::ogonblicksbild(const QString& kalla, const QString& mal) {
    sqlite3* fran = nullptr;
    sqlite3* till = nullptr;
    int fel = 0;
    const auto kor = [&fel](auto&& anrop) {
        if (fel)
            return;
        errno = 0;
        const int kod = anrop();
        const int sys = errno;
        if (kod != SQLITE_OK && kod != SQLITE_DONE)
            fel = systemfel(kod, sys);
    };
    // Read-write, so that a hot journal can be rolled back; a write-protected
    // file opens read-only by itself.
    kor([&] {
        return sqlite3_open_v2(QFile::encodeName(kalla).constData(), &fran, SQLITE_OPEN_READWRITE, nullptr);
    });
    kor([&] { return sqlite3_busy_timeout(fran, AnslutningsTidsgransSekunder * 1000); });
    kor([&] {
        return sqlite3_open_v2(QFile::encodeName(mal).constData(), &till,
                               SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    });
    // A new file nobody reads before the caller has flushed it: no journal, no
    // flush of its own.
    kor([&] { return sqlite3_exec(till, "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr); });
    kor([&] { return sqlite3_exec(till, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr); });
    if (!fel) {
        sqlite3_backup* b = sqlite3_backup_init(till, "main", fran, "main");
        if (!b) {
            fel = systemfel(sqlite3_errcode(till), 0);
        } else {
            // One step copies every page under one read lock; a writer's commit
            // in between is waited out by the busy handler, and beyond it here.
            QElapsedTimer klocka;
            klocka.start();
            for (;;) {
                errno = 0;
                const int kod = sqlite3_backup_step(b, -1);
                const int sys = errno;
                if (kod == SQLITE_DONE)
                    break;
                if ((kod == SQLITE_BUSY || kod == SQLITE_LOCKED) &&
                    klocka.elapsed() < AnslutningsTidsgransSekunder * 1000) {
                    sqlite3_sleep(10);
                    continue;
                }
                fel = systemfel(kod, sys);
                break;
            }
            const int slut = sqlite3_backup_finish(b);
            if (!fel && slut != SQLITE_OK)
                fel = systemfel(slut, 0);
        }
    }
    sqlite3_close_v2(fran);
    if (till && sqlite3_close(till) != SQLITE_OK && !fel)
        fel = EIO;
    return fel;
}

bool Databas::arSkrivbar(const QString& sokvag) {
    const QFileInfo info(sokvag);
    // SQLite writes its journal beside the file: the folder must take new files too.
    return info.isFile() && ::arSkrivbar(info.absoluteFilePath()) && ::arSkrivbar(info.absolutePath());
}

void Databas::Open(const QString& sokvag) {
    Close();
    kontrolleraFil(sokvag);
    m_db = QSqlDatabase::contains(m_namn) ? QSqlDatabase::database(m_namn, false)
                                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_namn);
    m_db.setDatabaseName(sokvag);
    m_db.setConnectOptions(
        QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(AnslutningsTidsgransSekunder * 1000));
    if (!m_db.open())
        kastaSqlFel(m_db.lastError(), sokvag, {});
    auto* handtag = *static_cast<sqlite3* const*>(m_db.driver()->handle().constData());
    if (!handtag || !registreraSvenskSortering(handtag) || !registreraSvenskLike(handtag)) {
        m_db.close();
        throw Fel(
            Felnummer::Databasfel,
            QStringLiteral("Svensk sortering och sökning kunde inte registreras för \"%1\".").arg(sokvag));
    }
    m_handtag = handtag;
    m_sokvag = sokvag;
    // SQLite goes on with the file it opened, whatever comes to lie at the path
    // later, and refuses to change it once it has moved; a failure then says
    // so (kastaFel).
    m_identitetKand = identitet(sokvag, &m_enhet, &m_inod);
    try {
        kor(QStringLiteral("PRAGMA journal_mode=DELETE")).next();
        kor(QStringLiteral("PRAGMA synchronous=FULL"));
    } catch (...) {
        Close();
        throw;
    }
}

void Databas::Close() {
    if (m_db.isOpen())
        m_db.close();
    m_handtag = nullptr;
    m_djup = 0;
    m_sokvag.clear();
    m_identitetKand = false;
}

bool Databas::IsOpen() const {
    return m_db.isValid() && m_db.isOpen();
}

void Databas::kontrolleraKorbar() const {
    if (!IsOpen())
        throw Fel(Felnummer::Databasfel, QStringLiteral("Ingen databas är öppen."));
    // SQLite rolls a whole transaction back by itself on some failures (disk full,
    // I/O error). Statements after that would each commit on their own, so the rest
    // of the operation must not run.
    if (m_djup > 0 && sqlite3_get_autocommit(m_handtag))
        throw Fel(
            Felnummer::Databasfel,
            QStringLiteral("Transaktionen i \"%1\" avbröts av databasen och har ångrats.").arg(m_sokvag));
}

QSqlQuery Databas::kor(const QString& sql, const QVariantList& varden) const {
    kontrolleraKorbar();
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        kastaFel(q.lastError(), sql);
    for (const QVariant& v : varden)
        q.addBindValue(v);
    if (!q.exec())
        kastaFel(q.lastError(), sql);
    return q;
}

namespace {
// A value bound as the Qt driver binds it, so that both ways of running a
// statement compare and store alike.
int bind(sqlite3_stmt* sats, int plats, const QVariant& v) {
    if (v.isNull())
        return sqlite3_bind_null(sats, plats);
    const auto text = [&](const QString& t) {
        return sqlite3_bind_text16(sats, plats, t.utf16(), int(t.size() * sizeof(QChar)), SQLITE_TRANSIENT);
    };
    switch (v.typeId()) {
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        return sqlite3_bind_blob(sats, plats, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
    case QMetaType::Int:
    case QMetaType::Bool:
        return sqlite3_bind_int(sats, plats, v.toInt());
    case QMetaType::Double:
        return sqlite3_bind_double(sats, plats, v.toDouble());
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return sqlite3_bind_int64(sats, plats, v.toLongLong());
    case QMetaType::QString:
        return text(*static_cast<const QString*>(v.constData()));
    default:
        return text(v.toString());
    }
}

// A failure of SQLite itself in the form the Qt driver reports it, so that it
// is told as every other database failure.
QSqlError sqliteFel(sqlite3* db, int kod) {
    return QSqlError(QString(), QString::fromUtf8(sqlite3_errmsg(db)), QSqlError::StatementError,
                     QString::number(kod));
}
} // namespace

// A column is read through its value object: every sqlite3_column_ call
// takes the connection's lock, the value's own calls take none, and a row is
// read on the thread that steps it.
sqlite3_value* Databasrad::kolumnvarde(int kolumn) const {
    return sqlite3_column_value(m_sats, kolumn);
}

// Only the rare value that is not stored as the field's kind goes through a
// QVariant, so that it converts exactly as a QSqlQuery's would.
QVariant Databasrad::varde(int kolumn) const {
    sqlite3_value* v = kolumnvarde(kolumn);
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_value_int64(v)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_value_double(v));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_value_blob(v)), sqlite3_value_bytes(v)));
    case SQLITE_TEXT:
        return QVariant(text(kolumn));
    default:
        return QVariant();
    }
}

qint64 Databasrad::heltal(int kolumn) const {
    sqlite3_value* v = kolumnvarde(kolumn);
    const int typ = sqlite3_value_type(v);
    if (typ == SQLITE_INTEGER)
        return sqlite3_value_int64(v);
    return typ == SQLITE_NULL ? 0 : varde(kolumn).toLongLong();
}

double Databasrad::tal(int kolumn) const {
    sqlite3_value* v = kolumnvarde(kolumn);
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return double(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return sqlite3_value_double(v);
    case SQLITE_NULL:
        return 0;
    default:
        return varde(kolumn).toDouble();
    }
}

QString Databasrad::text(int kolumn) const {
    sqlite3_value* v = kolumnvarde(kolumn);
    switch (sqlite3_value_type(v)) {
    case SQLITE_TEXT: {
        // Texts are stored as UTF-8: decoded here, SQLite need not make a
        // UTF-16 copy of each.
        const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
        return QString::fromUtf8(t, sqlite3_value_bytes(v));
    }
    case SQLITE_INTEGER:
        return QString::number(qint64(sqlite3_value_int64(v)));
    case SQLITE_NULL:
        return QString();
    default:
        return varde(kolumn).toString();
    }
}

void Databas::lasRader(const QString& sql, const QVariantList& varden,
                       const std::function<void(const Databasrad&)>& rad) const {
    kontrolleraKorbar();
    sqlite3_stmt* sats = nullptr;
    const auto slutfor = qScopeGuard([&] { sqlite3_finalize(sats); });
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(m_handtag, text.constData(), int(text.size()), &sats, nullptr) != SQLITE_OK)
        kastaFel(sqliteFel(m_handtag, sqlite3_extended_errcode(m_handtag)), sql);
    if (int(varden.size()) != sqlite3_bind_parameter_count(sats))
        kastaFel(QSqlError(QString(), QStringLiteral("Antalet värden stämmer inte med satsen."),
                           QSqlError::StatementError),
                 sql);
    for (qsizetype i = 0; i < varden.size(); ++i)
        if (bind(sats, int(i) + 1, varden[i]) != SQLITE_OK)
            kastaFel(sqliteFel(m_handtag, sqlite3_extended_errcode(m_handtag)), sql);
    const Databasrad r(sats);
    for (;;) {
        const int kod = sqlite3_step(sats);
        if (kod == SQLITE_DONE)
            break;
        if (kod != SQLITE_ROW)
            kastaFel(sqliteFel(m_handtag, sqlite3_extended_errcode(m_handtag)), sql);
        rad(r);
    }
}

bool Databas::filenArUtbytt() const {
    if (!m_identitetKand)
        return false;
    quint64 enhet = 0, inod = 0;
    return !identitet(m_sokvag, &enhet, &inod) || enhet != m_enhet || inod != m_inod;
}

// A competition's file renamed, deleted or replaced while it is open, or its
// folder made read-only, shows in SQLite as a read-only database or a journal
// that cannot be opened, which would send the operator after the wrong cause.
// SQLite never writes to whatever now lies at the path, so nothing is stored
// wrongly; the message says what happened and what to do.
void Databas::kastaFel(const QSqlError& e, const QString& sql) const {
    const int kod = resultatkod(e);
    if (filfel(kod)) {
        if (filenArUtbytt())
            throw Fel(Felnummer::DatabasfilSaknas,
                      QStringLiteral("Databasfilen \"%1\" har flyttats, tagits bort eller bytts ut sedan "
                                     "tävlingen öppnades, så ändringen kunde inte sparas. Stäng tävlingen "
                                     "och öppna den igen.")
                          .arg(m_sokvag));
        const QFileInfo fil(m_sokvag);
        if (kod != SQLITE_CORRUPT && kod != SQLITE_NOTADB && ::arSkrivbar(fil.absoluteFilePath()) &&
            !::arSkrivbar(fil.absolutePath()))
            throw Fel(Felnummer::DatabasKanInteOppnas,
                      QStringLiteral("Mappen \"%1\" går inte att skriva i, så ändringar i databasfilen "
                                     "\"%2\" kan inte sparas. Stäng tävlingen och öppna den igen när mappen "
                                     "går att skriva i.")
                          .arg(QDir::toNativeSeparators(fil.absolutePath()), m_sokvag));
    }
    kastaSqlFel(e, m_sokvag, sql);
}

QString Databas::bokstavligtMonster(const QString& text) {
    QString ut;
    ut.reserve(text.size() + 4);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            ut += QLatin1Char('\\');
        ut += c;
    }
    return ut;
}

QVariant Databas::varde(const QString& sql, const QVariantList& varden) const {
    QSqlQuery q = kor(sql, varden);
    return q.next() ? q.value(0) : QVariant();
}

// Inner levels all use one savepoint name: SQLite releases and rolls back to the
// latest savepoint of a name, which is always the innermost open one.
void Databas::borja() {
    kor(m_djup == 0 ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("SAVEPOINT inre"));
    ++m_djup;
}

void Databas::bekrafta() {
    if (m_djup == 0) // closed while f ran
        throw Fel(Felnummer::Databasfel, QStringLiteral("Transaktionen avbröts: databasen stängdes."));
    try {
        kor(m_djup == 1 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE inre"));
    } catch (...) {
        // A failed COMMIT leaves the transaction open; nothing of it may stay.
        angra();
        throw;
    }
    --m_djup;
}

void Databas::angra() noexcept {
    if (m_djup == 0)
        return;
    --m_djup;
    if (!IsOpen())
        return;
    // These fail harmlessly when SQLite has already rolled the transaction back.
    if (m_djup == 0) {
        korUtanFel(QStringLiteral("ROLLBACK"));
    } else {
        korUtanFel(QStringLiteral("ROLLBACK TO inre"));
        korUtanFel(QStringLiteral("RELEASE inre"));
    }
}

bool Databas::korUtanFel(const QString& sql) noexcept {
    try {
        QSqlQuery q(m_db);
        return q.exec(sql);
    } catch (...) {
        return false;
    }
}
