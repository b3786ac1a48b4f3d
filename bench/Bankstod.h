#pragma once

// What the benchmarks share: a folder on a disk-backed file system; for result
// entry a competition of 2,000 shooters there and the bare transaction they are
// measured against; the figures (medians and 95th percentiles, printed one a line as
// "name: value unit").

#include "common/IniNamn.h"
#include "competition/Serieregler.h"
#include "entry/Resultatrader.h"
#include "platform/Meddelanden.h"
#include "platform/SvenskSortering.h"
#include "shell/NyTavling.h"
#include "shell/modGlobalt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sqlite3.h>
#include <sys/vfs.h>
#include <vector>

namespace Bank {

constexpr int Skjutlag = 30;
constexpr int Banor = 67;
constexpr int Skyttar = 2000;

[[noreturn]] inline void avbryt(const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::exit(1);
}

// Anything the program says during the run is printed and counted; yes to
// every question.
class Tyst : public Meddelanden {
public:
    Svar visa(const QString& text, const QString&, Ikon, Knappar knappar) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        ++sagt;
        return knappar == Knappar::JaNej || knappar == Knappar::JaNejAvbryt ? Svar::Ja : Svar::OK;
    }
    std::optional<QString> inmatning(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    bool stangFraga(const QString&) override { return false; }
    int sagt = 0;
};

inline QString filsystem(unsigned long typ) {
    switch (typ) {
    case 0xEF53:
        return QStringLiteral("ext2/ext3/ext4");
    case 0x58465342:
        return QStringLiteral("xfs");
    case 0x9123683E:
        return QStringLiteral("btrfs");
    case 0x2FC12FC1:
        return QStringLiteral("zfs");
    case 0xF2F52010:
        return QStringLiteral("f2fs");
    case 0x794C7630:
        return QStringLiteral("overlayfs");
    case 0x6969:
        return QStringLiteral("nfs");
    case 0x01021994:
        return QStringLiteral("tmpfs");
    case 0x858458F6:
        return QStringLiteral("ramfs");
    default:
        return QStringLiteral("okänt");
    }
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

inline double p95(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(std::ceil(0.95 * double(v.size())) - 1))];
}

// A series of times as its median and 95th percentile.
inline void skrivTider(const char* namn, const std::vector<double>& v) {
    std::printf("%s: %.3f ms\n", namn, median(v));
    std::printf("%s p95: %.3f ms\n", namn, p95(v));
}

inline void sqlite(sqlite3* db, int kod, const char* vad) {
    if (kod != SQLITE_OK && kod != SQLITE_DONE && kod != SQLITE_ROW)
        avbryt(QStringLiteral("%1: %2").arg(QLatin1String(vad), QString::fromUtf8(sqlite3_errmsg(db))));
}

// The competition the benchmark runs on: 2,000 shooters of class H in 30
// squads of 67 lanes, in a folder under bas that must lie on a disk (on tmpfs
// a commit costs nothing and the comparison would say nothing). Machine mode
// with automatic counts; the caller adds its own INI keys.
struct Tavling {
    QTemporaryDir mapp;
    modGlobalt g;
    Tyst m;
    QList<Banrad> rader;

    explicit Tavling(const QString& mallnamn) : mapp(mallnamn) {}
};

// Prints the folder and its file system, and refuses one in memory: there a
// commit or an fsync costs nothing and the comparison would say nothing.
inline void diskmapp(const QString& bas) {
    struct statfs fs {};
    if (statfs(QFile::encodeName(bas).constData(), &fs) != 0)
        avbryt(QStringLiteral("Mappen \"%1\" finns inte.").arg(bas));
    const unsigned long typ = static_cast<unsigned long>(fs.f_type);
    std::printf("folder: %s\nfile system: %s (0x%lx)\n", qPrintable(bas), qPrintable(filsystem(typ)), typ);
    if (typ == 0x01021994 || typ == 0x858458F6)
        avbryt(QStringLiteral("A file system in memory times nothing of the disk: give a folder on a disk."));
}

inline std::unique_ptr<Tavling> skapaTavling(const QString& bas, const QString& namn) {
    diskmapp(bas);
    auto t = std::make_unique<Tavling>(QDir(bas).filePath(namn + QStringLiteral("-XXXXXX")));
    if (!t->mapp.isValid())
        avbryt(QStringLiteral("Mappen kunde inte skapas i \"%1\".").arg(bas));
    modGlobalt& g = t->g;
    g.strProgrammapp = QCoreApplication::applicationDirPath();
    g.iniProgram.setPath(t->mapp.filePath(Ini::ProgramIniNamn));
    NyTavling::Uppgifter u;
    u.namn = QStringLiteral("Bänkcupen");
    u.antalBanor = QString::number(Banor);
    u.datum = QStringLiteral("6 december 2026");
    u.typ = NyTavling::Typ::Sportskytte;
    u.sokvag = t->mapp.path();
    if (!NyTavling::skapa(g, t->m, u))
        avbryt(QStringLiteral("The competition could not be created."));

    Databas& db = g.cnnTavling;
    db.transaktion([&] {
        for (int lag = 2; lag <= Skjutlag; ++lag)
            for (int bana = 1; bana <= Banor; ++bana)
                db.kor(QStringLiteral("INSERT INTO Skjutlag (Skjutlag, Bana) VALUES (?, ?)"), {lag, bana});
        for (int i = 0; i < Skyttar; ++i) {
            db.kor(QStringLiteral("INSERT INTO Skyttar (Startnr, Namn, Efternamn, Förening, Klass) "
                                  "VALUES (?, ?, ?, ?, ?)"),
                   {i + 1, QStringLiteral("Skytt%1").arg(i + 1), QStringLiteral("Efternamn%1").arg(i + 1),
                    QStringLiteral("Klubb %1").arg(i % 40 + 1), QStringLiteral("H")});
            const qint64 lopnummer = db.varde(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
            db.kor(QStringLiteral("UPDATE Skjutlag SET Startnummer = ? WHERE Skjutlag = ? AND Bana = ?"),
                   {lopnummer, i / Banor + 1, i % Banor + 1});
        }
    });
    if (!g.iniTavling.WriteKeys(
            {{Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, QStringLiteral("0")},
             {Ini::TolkmaskinIGrundomg.sektion, Ini::TolkmaskinIGrundomg.nyckel, QStringLiteral("1")},
             {Ini::AntalSkjutlag.sektion, Ini::AntalSkjutlag.nyckel, QString::number(Skjutlag)}}))
        avbryt(g.iniTavling.senasteFel());
    g.blnTolkmaskinGrundomg = true;
    g.blnEjAuto1098 = false;

    for (int lag = 1; lag <= Skjutlag; ++lag)
        t->rader += hamtaSkjutlag(g, lag);
    std::printf("database: %s\n", qPrintable(g.strTavlingsdatabas));
    std::printf("shooters: %lld\n", static_cast<long long>(t->rader.size()));
    std::printf("squads: %d\n", Skjutlag);
    std::printf("lanes per squad: %d\n", Banor);
    if (t->rader.size() != Skyttar)
        avbryt(QStringLiteral("Wrong number of shooters."));
    return t;
}

// The bare transaction: the same UPDATE as a machine-read save of one series,
// prepared once, on the same file with the program's pragmas.
class Ren {
public:
    Ren(const QString& fil, int serie) : m_serie(serie) {
        sqlite(m_db,
               sqlite3_open_v2(QFile::encodeName(fil).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr),
               "open");
        if (!registreraSvenskSortering(m_db) || !registreraSvenskLike(m_db))
            avbryt(QStringLiteral("SVENSKA"));
        sqlite3_busy_timeout(m_db, 20000);
        sqlite(m_db, sqlite3_exec(m_db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr), "journal");
        sqlite(m_db, sqlite3_exec(m_db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr), "synchronous");
        const QByteArray sql = QStringLiteral("UPDATE Skyttar SET Res%1 = ?, Sum%2 = ?, Totalt40 = ?, "
                                              "Totalt60 = ?, SfST%1 = ?, TioNior = ?, Innertior = ? "
                                              "WHERE Löpnummer = ?")
                                   .arg(serie)
                                   .arg(Serieregler::parForSerie(serie) * 10)
                                   .toUtf8();
        sqlite(m_db, sqlite3_prepare_v2(m_db, sql.constData(), -1, &m_update, nullptr), "prepare");
        sqlite(m_db, sqlite3_prepare_v2(m_db, "BEGIN IMMEDIATE", -1, &m_borja, nullptr), "prepare");
        sqlite(m_db, sqlite3_prepare_v2(m_db, "COMMIT", -1, &m_bekrafta, nullptr), "prepare");
    }
    ~Ren() {
        sqlite3_finalize(m_update);
        sqlite3_finalize(m_borja);
        sqlite3_finalize(m_bekrafta);
        sqlite3_close(m_db);
    }
    Ren(const Ren&) = delete;
    Ren& operator=(const Ren&) = delete;

    void kor(const Banrad& rad, const QByteArray& skott, int varde) {
        const Serieregler::Summor s = Serieregler::rakna(rad.res);
        const QByteArray tioNior = rad.tioNior.toUtf8();
        sqlite(m_db, sqlite3_step(m_borja), "begin");
        sqlite3_reset(m_borja);
        sqlite3_bind_int(m_update, 1, varde);
        sqlite3_bind_int(m_update, 2, s.par[Serieregler::parForSerie(m_serie) - 1]);
        sqlite3_bind_int(m_update, 3, s.totalt40);
        sqlite3_bind_int(m_update, 4, s.totalt60);
        sqlite3_bind_text(m_update, 5, skott.constData(), int(skott.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(m_update, 6, tioNior.constData(), int(tioNior.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(m_update, 7, rad.innertior);
        sqlite3_bind_int64(m_update, 8, rad.lopnummer);
        sqlite(m_db, sqlite3_step(m_update), "update");
        sqlite3_reset(m_update);
        sqlite(m_db, sqlite3_step(m_bekrafta), "commit");
        sqlite3_reset(m_bekrafta);
    }

private:
    int m_serie;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_update = nullptr;
    sqlite3_stmt* m_borja = nullptr;
    sqlite3_stmt* m_bekrafta = nullptr;
};

} // namespace Bank
