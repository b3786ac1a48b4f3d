// Times the export of an open competition: the folder copy of the core,
// without windows, from its call to its return after its last flush, against
// `cp -a SRC DST && sync -f DST` run as one child process. The competition has
// 2,000 shooters with results and 20 lists saved by the workbook engine. Both
// copy into fresh folders on the file system of the competition, one of each a
// round in turns after one untimed run of each; the figures are medians and
// 95th percentiles, ratio the copy's median over the reference's. Replacing an
// existing copy is timed on its own and is not part of the ratio.
//
//     bench_transfer [folder] [rounds]     (default: the current folder, 15)
#include "Bankstod.h"

#include "platform/workbook/Kalkylprogram.h"
#include "transfer/Tavlingsoverforing.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>

using namespace Bank;

namespace {

constexpr int Listor = 20;
constexpr int Listrader = 500;

void resultat(Databas& db) {
    db.transaktion([&] {
        db.kor(QStringLiteral("UPDATE Skyttar SET Res1 = Löpnummer % 51, Res2 = (Löpnummer * 3) % 51, "
                              "Res3 = (Löpnummer * 7) % 51, Res4 = (Löpnummer * 11) % 51, "
                              "Res5 = (Löpnummer * 13) % 51, Res6 = (Löpnummer * 17) % 51, "
                              "Sum10 = Res1 + Res2, Sum20 = Res3 + Res4, Sum30 = Res5 + Res6, "
                              "Totalt60 = Res1 + Res2 + Res3 + Res4 + Res5 + Res6"));
    });
}

// Twenty lists in Utskrifter, as the program saves them.
void listor(const QString& tavlingsmapp) {
    for (int l = 1; l <= Listor; ++l) {
        Kalkyl::Kalkylprogram app;
        Kalkyl::Arbetsbok& bok = app.Workbooks().Add();
        Kalkyl::Arbetsblad& blad = app.Worksheets(1);
        for (int r = 1; r <= Listrader; ++r) {
            blad.Cells(r, 1).setValue(r);
            blad.Cells(r, 2).setValue(QStringLiteral("Förnamn Efternamn %1").arg(l * Listrader + r));
            blad.Cells(r, 3).setValue(QStringLiteral("Skytteföreningen %1").arg(r % 37));
            for (int k = 4; k <= 11; ++k)
                blad.Cells(r, k).setValue(40 + (r * k) % 11);
            blad.Cells(r, 12).Font().setBold(true);
            blad.Cells(r, 12).setValue(400 + r % 50);
        }
        bok.SaveAs(tavlingsmapp + QStringLiteral("Utskrifter\\Lista%1.xls").arg(l, 2, 10, QLatin1Char('0')));
        bok.Close();
    }
}

double kopiera(const QString& destination, const QString& kalla) {
    QElapsedTimer klocka;
    klocka.start();
    const Overforing::Kopieringsutfall u = Overforing::kopieraTavlingsmapp(destination, kalla);
    const double ms = double(klocka.nsecsElapsed()) / 1e6;
    if (!u.feltext.isEmpty())
        avbryt(QStringLiteral("The copy failed: ") + u.feltext);
    return ms;
}

double referens(const QString& destination, const QString& kalla) {
    QElapsedTimer klocka;
    klocka.start();
    const int kod = QProcess::execute(
        QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("cp -a \"$1\" \"$2\" && sync -f \"$2\""),
                               QStringLiteral("sh"), kalla, destination});
    const double ms = double(klocka.nsecsElapsed()) / 1e6;
    if (kod != 0)
        avbryt(QStringLiteral("cp -a failed."));
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString bas = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    const int varv = argc > 2 ? std::max(1, atoi(argv[2])) : 15;
    try {
        const auto t = skapaTavling(bas, QStringLiteral("bench_transfer"));
        resultat(t->g.cnnTavling);
        listor(t->g.strTavlingsmapp);
        const QString kalla = QDir::cleanPath(t->g.strTavlingsmapp);
        qint64 byte = 0;
        int filer = 0;
        QDirIterator it(kalla, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            byte += it.nextFileInfo().size();
            ++filer;
        }
        std::printf("lists: %d\n", Listor);
        std::printf("folder files: %d\n", filer);
        std::printf("folder size: %lld bytes\n", static_cast<long long>(byte));

        QTemporaryDir mal(QDir(bas).filePath(QStringLiteral("bench_transfer_mal-XXXXXX")));
        if (!mal.isValid())
            avbryt(QStringLiteral("The target folder could not be made."));
        const auto ny = [&](const QString& namn) {
            QDir().mkdir(mal.filePath(namn));
            return mal.filePath(namn) + QLatin1Char('/');
        };
        kopiera(ny(QStringLiteral("a-forst")), kalla);
        referens(ny(QStringLiteral("b-forst")), kalla);

        std::vector<double> kopior, referenser, ersatt;
        for (int i = 0; i < varv; ++i)
            for (int vem = 0; vem < 2; ++vem) {
                if ((vem == 0) == (i % 2 == 0))
                    kopior.push_back(kopiera(ny(QStringLiteral("a%1").arg(i)), kalla));
                else
                    referenser.push_back(referens(ny(QStringLiteral("b%1").arg(i)), kalla));
            }
        for (int i = 0; i < varv; ++i)
            ersatt.push_back(kopiera(mal.filePath(QStringLiteral("a%1").arg(i)) + QLatin1Char('/'), kalla));

        std::printf("rounds: %d\n", varv);
        skrivTider("copy", kopior);
        skrivTider("cp -a and sync -f", referenser);
        skrivTider("replace", ersatt);
        std::printf("ratio: %.2f\n", median(kopior) / median(referenser));
        t->g.cnnTavling.Close();
    } catch (const Fel& f) {
        avbryt(f.text());
    }
    return 0;
}
