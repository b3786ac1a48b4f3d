// Times the save of one machine-read series (the series, its pair sum, both
// totals, its shot string and the automatic counts, SAM 4000, no INI write) on
// a competition of 2,000 shooters in 30 squads of 67 lanes, against a bare
// transaction that runs the same UPDATE, prepared once, on the same rows of the
// same file with the program's pragmas. The two take turns, one of each on a
// row, the first changing from row to row, so that the disk's moods fall on
// both alike; the figures are medians.
//
//     bench_series_save [folder]     (default: the current folder)
//
// The folder must be on a disk-backed file system: on tmpfs a commit costs
// nothing and the comparison would say nothing about the program.
#include "Bankstod.h"
#include "common/IniNamn.h"
#include "entry/Resultatsparning.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>
#include <vector>

using namespace Bank;

namespace {
constexpr int Uppvarmning = 20;
constexpr int Matningar = 200;
constexpr int Serie = 3;
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const auto t = skapaTavling(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath(),
                                QStringLiteral("bench_series_save"));
    modGlobalt& g = t->g;
    QList<Banrad>& rader = t->rader;
    Databas& db = g.cnnTavling;
    if (!g.iniTavling.WriteKey(Ini::Model.sektion, Ini::Model.nyckel, QStringLiteral("SAM 4000")))
        avbryt(g.iniTavling.senasteFel());

    Resultatsparning sparning(g);
    Ren ren(g.strTavlingsdatabas, Serie);
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
        std::printf("saves: %d\n", Matningar);
        skrivTider("series save", var);
        skrivTider("bare transaction", bara);
        std::printf("ratio: %.2f\n", median(var) / median(bara));
    } catch (const Fel& f) {
        avbryt(f.text());
    }
    db.Close();
    return 0;
}
