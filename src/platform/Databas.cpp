#include "platform/Databas.h"

#include "platform/SvenskSortering.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <sqlite3.h>

namespace {
QAtomicInt nastaAnslutning{0};

[[noreturn]] void kastaSqlFel(const QSqlError& e, const QString& sql) {
    QString text = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    if (!sql.isEmpty())
        text += QStringLiteral(" (") + sql.simplified() + QLatin1Char(')');
    throw Fel(Felnummer::Databasfel, text);
}
} // namespace

Databas::Databas() : m_namn(QStringLiteral("pilkrona_%1").arg(nastaAnslutning.fetchAndAddRelaxed(1))) {}

Databas::~Databas() {
    Close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_namn);
}

void Databas::kontrolleraFil(const QString& sokvag) {
    const QFileInfo info(sokvag);
    if (!info.exists() || !info.isFile())
        throw Fel(Felnummer::DatabasfilSaknas, QStringLiteral("Databasfilen \"%1\" finns inte.").arg(sokvag));
    QFile fil(sokvag);
    if (!fil.open(QIODevice::ReadOnly))
        throw Fel(Felnummer::AtkomstNekad, QStringLiteral("Databasfilen \"%1\" kan inte läsas.").arg(sokvag));
    const QByteArray huvud = fil.read(100);
    if (huvud.startsWith(QByteArray("SQLite format 3\0", 16)) && huvud.size() == 100) {
        // Bytes 68..71 hold the application id, big-endian.
        const auto* p = reinterpret_cast<const unsigned char*>(huvud.constData()) + 68;
        const qint64 id = (qint64(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
        if (id == ApplikationsId)
            return;
    } else if (huvud.mid(4, 15) == "Standard Jet DB" || huvud.mid(4, 15) == "Standard ACE DB") {
        throw Fel(Felnummer::OkantDatabasformat,
                  QStringLiteral("Filen \"%1\" är en Access-databas (Jet) och kan inte öppnas av det här "
                                 "programmet. Skapa tävlingen på nytt.")
                      .arg(sokvag));
    }
    throw Fel(Felnummer::OkantDatabasformat,
              QStringLiteral("Filen \"%1\" är ingen tävlingsdatabas för Pilkrona.").arg(sokvag));
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
        kastaSqlFel(m_db.lastError(), {});
    auto* handtag = *static_cast<sqlite3* const*>(m_db.driver()->handle().constData());
    if (!handtag || !registreraSvenskSortering(handtag) || !registreraSvenskLike(handtag)) {
        m_db.close();
        throw Fel(Felnummer::Databasfel, QStringLiteral("Sorteringsordningen kunde inte registreras."));
    }
    m_handtag = handtag;
    m_sokvag = sokvag;
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
}

bool Databas::IsOpen() const {
    return m_db.isValid() && m_db.isOpen();
}

QSqlQuery Databas::kor(const QString& sql, const QVariantList& varden) const {
    if (!IsOpen())
        throw Fel(Felnummer::Databasfel, QStringLiteral("Ingen databas är öppen."));
    // SQLite rolls a whole transaction back by itself on some failures (disk full,
    // I/O error). Statements after that would each commit on their own, so the rest
    // of the operation must not run.
    if (m_djup > 0 && sqlite3_get_autocommit(m_handtag))
        throw Fel(
            Felnummer::Databasfel,
            QStringLiteral("Transaktionen i \"%1\" avbröts av databasen och har ångrats.").arg(m_sokvag));
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        kastaSqlFel(q.lastError(), sql);
    for (const QVariant& v : varden)
        q.addBindValue(v);
    if (!q.exec())
        kastaSqlFel(q.lastError(), sql);
    return q;
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
