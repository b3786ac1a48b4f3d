// Times the save of one machine-read series (the series, its pair sum, both
// totals, its shot string and the automatic counts, SAM 4000, no INI write) on
// a competition of 2,000 shooters in 30 squads of 67 lanes, against a bare
// transaction that runs the same UPDATE, prepared once, on the same rows of the
// same file with the program's pragmas. The two are interleaved so that the
// disk's moods fall on both alike.
//
//     bench_series_save [folder]     (default: the current folder)
//
// The folder must be on a disk-backed file system: on tmpfs a commit costs
// nothing and the comparison would say nothing about the program.
#include "common/IniNamn.h"
#include "entry/Resultatrader.h"
#include "entry/Resultatsparning.h"
#include "platform/Meddelanden.h"
#include "platform/SvenskSortering.h"
#include "shell/NyTavling.h"
#include "shell/modGlobalt.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sqlite3.h>
#include <sys/vfs.h>
#include <vector>

namespace {

constexpr int Skjutlag = 30;
constexpr int Banor = 67;
constexpr int Skyttar = 2000;
constexpr int Uppvarmning = 20;
constexpr int Matningar = 200;
constexpr int Serie = 3;

// Creation asks nothing of a folder that exists; anything it says is printed.
class Tyst : public Meddelanden {
public:
    Svar visa(const QString& text, const QString&, Ikon, Knappar knappar) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return knappar == Knappar::JaNej || knappar == Knappar::JaNejAvbryt ? Svar::Ja : Svar::OK;
    }
    std::optional<QString> inmatning(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
};

QString filsystem(unsigned long typ) {
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

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double p95(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(std::ceil(0.95 * double(v.size())) - 1))];
}

[[noreturn]] void avbryt(const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::exit(1);
}

void sqlite(sqlite3* db, int kod, const char* vad) {
    if (kod != SQLITE_OK && kod != SQLITE_DONE && kod != SQLITE_ROW)
        avbryt(QStringLiteral("%1: %2").arg(QLatin1String(vad), QString::fromUtf8(sqlite3_errmsg(db))));
}

// The bare transaction: the same UPDATE as the save, prepared once.
class Ren {
public:
    explicit Ren(const QString& fil) {
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
                                   .arg(Serie)
                                   .arg(Serieregler::parForSerie(Serie) * 10)
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
    void kor(const Banrad& rad, const QByteArray& skott, int varde) {
        const Serieregler::Summor s = Serieregler::rakna(rad.res);
        const QByteArray tioNior = rad.tioNior.toUtf8();
        sqlite(m_db, sqlite3_step(m_borja), "begin");
        sqlite3_reset(m_borja);
        sqlite3_bind_int(m_update, 1, varde);
        sqlite3_bind_int(m_update, 2, s.par[Serieregler::parForSerie(Serie) - 1]);
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
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_update = nullptr;
    sqlite3_stmt* m_borja = nullptr;
    sqlite3_stmt* m_bekrafta = nullptr;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString bas = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    struct statfs fs {};
    if (statfs(QFile::encodeName(bas).constData(), &fs) != 0)
        avbryt(QStringLiteral("Mappen \"%1\" finns inte.").arg(bas));
    const unsigned long typ = static_cast<unsigned long>(fs.f_type);
    std::printf("folder: %s\nfile system: %s (0x%lx)\n", qPrintable(bas), qPrintable(filsystem(typ)), typ);
    if (typ == 0x01021994 || typ == 0x858458F6)
        avbryt(QStringLiteral("A file system in memory times nothing of the disk: give a folder on a disk."));

    QTemporaryDir mapp(QDir(bas).filePath(QStringLiteral("bench_series_save-XXXXXX")));
    if (!mapp.isValid())
        avbryt(QStringLiteral("Mappen kunde inte skapas i \"%1\".").arg(bas));

    modGlobalt g;
    Tyst m;
    g.strProgrammapp = QCoreApplication::applicationDirPath();
    g.iniProgram.setPath(mapp.filePath(Ini::ProgramIniNamn));
    g.strDecimaltecken = QStringLiteral(",");
    NyTavling::Uppgifter u;
    u.namn = QStringLiteral("Bänkcupen");
    u.antalBanor = QString::number(Banor);
    u.datum = QStringLiteral("6 december 2026");
    u.typ = NyTavling::Typ::Sportskytte;
    u.sokvag = mapp.path();
    if (!NyTavling::skapa(g, m, u))
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
            {{Ini::Model.sektion, Ini::Model.nyckel, QStringLiteral("SAM 4000")},
             {Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, QStringLiteral("0")},
             {Ini::TolkmaskinIGrundomg.sektion, Ini::TolkmaskinIGrundomg.nyckel, QStringLiteral("1")},
             {Ini::AntalSkjutlag.sektion, Ini::AntalSkjutlag.nyckel, QString::number(Skjutlag)}}))
        avbryt(g.iniTavling.senasteFel());
    g.blnTolkmaskinGrundomg = true;
    g.blnEjAuto1098 = false;

    QList<Banrad> rader;
    for (int lag = 1; lag <= Skjutlag; ++lag)
        rader += hamtaSkjutlag(g, lag);
    std::printf("competition: %lld shooters in %d squads of %d lanes, %s\n",
                static_cast<long long>(rader.size()), Skjutlag, Banor, qPrintable(g.strTavlingsdatabas));
    if (rader.size() != Skyttar)
        avbryt(QStringLiteral("Wrong number of shooters."));

    Resultatsparning sparning(g);
    Ren ren(g.strTavlingsdatabas);
    static const QString skottlista[] = {QStringLiteral("98*++"), QStringLiteral("+9987"),
                                         QStringLiteral("*****"), QStringLiteral("77889")};
    auto spara = [&](Banrad& rad, int i) {
        const QString& skott = skottlista[i % 4];
        sparning.sparaSerie(rad, Serie, *Serieregler::skottstrangsvarde(skott), skott);
    };
    auto bar = [&](Banrad& rad, int i) {
        const QString& skott = skottlista[(i + 1) % 4];
        ren.kor(rad, skott.toLatin1(), *Serieregler::skottstrangsvarde(skott));
    };

    try {
        for (int i = 0; i < Uppvarmning; ++i) {
            spara(rader[i], i);
            bar(rader[i], i);
        }
        std::vector<double> var, bara;
        QElapsedTimer t;
        for (int i = 0; i < Matningar; ++i) {
            Banrad& rad = rader[Uppvarmning + i * 9];
            // Each goes first every other time.
            for (int vem = 0; vem < 2; ++vem) {
                const bool vartTur = (vem == 0) == (i % 2 == 0);
                t.start();
                if (vartTur)
                    spara(rad, i);
                else
                    bar(rad, i);
                (vartTur ? var : bara).push_back(double(t.nsecsElapsed()) / 1e6);
            }
        }
        std::printf("series save:      median %.3f ms, p95 %.3f ms (%d saves)\n", median(var), p95(var),
                    Matningar);
        std::printf("bare transaction: median %.3f ms, p95 %.3f ms (%d transactions)\n", median(bara),
                    p95(bara), Matningar);
        std::printf("ratio: %.2f\n", median(var) / median(bara));
    } catch (const Fel& f) {
        avbryt(f.text());
    }
    db.Close();
    return 0;
}
