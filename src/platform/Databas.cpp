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
    if (!handtag || !registreraSvenskSortering(handtag)) {
        m_db.close();
        throw Fel(Felnummer::Databasfel, QStringLiteral("Sorteringsordningen kunde inte registreras."));
    }
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
    m_sokvag.clear();
}

bool Databas::IsOpen() const {
    return m_db.isValid() && m_db.isOpen();
}

QSqlQuery Databas::kor(const QString& sql, const QVariantList& varden) const {
    if (!IsOpen())
        throw Fel(Felnummer::Databasfel, QStringLiteral("Ingen databas är öppen."));
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

QVariant Databas::varde(const QString& sql, const QVariantList& varden) const {
    QSqlQuery q = kor(sql, varden);
    return q.next() ? q.value(0) : QVariant();
}

void Databas::borja() {
    kor(QStringLiteral("BEGIN IMMEDIATE"));
}
void Databas::bekrafta() {
    kor(QStringLiteral("COMMIT"));
}
void Databas::angra() {
    QSqlQuery q(m_db);
    q.exec(QStringLiteral("ROLLBACK"));
}
