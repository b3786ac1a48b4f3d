// Times the opening of the result-entry window, offscreen, on a squad of 10
// lanes and on one of 100, every lane taken by a shooter with results: from
// making the window to its first paint after the activation that shows the
// rows. Each is opened 11 times; the medians are printed, and last the ratio of
// the two. The rows are built while hidden and shown together, so the cost
// grows with the lanes and not faster: the goal is a ratio of at most 12.
#include "common/Fel.h"
#include "entry/frmResultatInskrivning.h"
#include "platform/Meddelanden.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/NyTavling.h"
#include "shell/modGlobalt.h"
#include "spectator/Askadarflode.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int Varv = 11;

// Nothing here asks the operator anything; whatever is said is counted.
class TystaMeddelanden : public Meddelanden {
public:
    Svar visa(const QString& text, const QString&, Ikon, Knappar) override {
        ++antal;
        senaste = text;
        return Svar::OK;
    }
    std::optional<QString> inmatning(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    bool stangFraga(const QString&) override { return false; }
    int antal = 0;
    QString senaste;
};

class Dialoger : public Plattformsdialoger {
public:
    QString oppnaFil(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString valjMapp(QWidget*, const QString&, const QString&) override { return {}; }
    std::optional<Kopior> valjKopior(QWidget*, const Kopior&) override { return std::nullopt; }
    bool oppnaDokument(const QString&) override { return false; }
};

quint16 ledigPort() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

// Squad 1 has 100 lanes, squad 2 10; every lane has a shooter with twelve series.
bool fyll(modGlobalt& g) {
    Databas& db = g.cnnTavling;
    QRandomGenerator slump(4711);
    try {
        db.transaktion([&] {
            db.kor(QStringLiteral("DELETE FROM Skjutlag WHERE Skjutlag = 2"));
            for (int bana = 1; bana <= 10; ++bana)
                db.kor(QStringLiteral("INSERT INTO Skjutlag (Skjutlag, Bana) VALUES (2, ?)"), {bana});
            const QStringList klasser = {QStringLiteral("H"), QStringLiteral("D"), QStringLiteral("JH")};
            int nr = 0;
            for (const auto& [skjutlag, banor] : {std::pair{1, 100}, std::pair{2, 10}}) {
                for (int bana = 1; bana <= banor; ++bana) {
                    ++nr;
                    QVariantList serier;
                    int totalt = 0;
                    for (int n = 0; n < 12; ++n) {
                        const int s = 35 + int(slump.bounded(16));
                        serier << s;
                        totalt += s;
                    }
                    db.kor(QStringLiteral(
                               "INSERT INTO Skyttar (Startnr, Namn, Efternamn, Förening, Klass, Res1, "
                               "Res2, Res3, Res4, Res5, Res6, Res7, Res8, Res9, Res10, Res11, Res12, "
                               "Totalt60) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                               "?)"),
                           QVariantList{nr, QStringLiteral("Skytt%1").arg(nr),
                                        QStringLiteral("Efternamn%1").arg(nr),
                                        QStringLiteral("Klubb %1").arg(nr % 7), klasser[nr % 3]} +
                               serier + QVariantList{totalt});
                    const qint64 lopnummer =
                        db.varde(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
                    db.kor(
                        QStringLiteral("UPDATE Skjutlag SET Startnummer = ? WHERE Skjutlag = ? AND Bana = ?"),
                        {lopnummer, skjutlag, bana});
                }
            }
        });
    } catch (const Fel& fel) {
        std::fprintf(stderr, "filling the competition failed: %s\n", qPrintable(fel.text()));
        return false;
    }
    return true;
}

// One opening, as the program's picker opens the window; milliseconds.
double oppna(Formkontext& k, Askadarflode& flode, int skjutlag, int& rader) {
    QElapsedTimer t;
    t.start();
    auto* w = new frmResultatInskrivning(k, flode);
    w->Oppna_databaser_mm(skjutlag);
    w->txtVisible();
    w->show();
    k.meddelaAktivering(w);
    QCoreApplication::processEvents();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    rader = w->intAntalRader();
    w->close();
    delete w;
    QCoreApplication::processEvents();
    return ms;
}

double median(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir mapp;
    modGlobalt g;
    g.strProgrammapp = QCoreApplication::applicationDirPath();
    g.iniProgram.setPath(QDir(mapp.path()).filePath(QStringLiteral("Pilkrona.ini")));
    TystaMeddelanden m;
    Dialoger dialoger;
    Fonstervard vard(g, m, dialoger);
    Formkontext& k = vard.kontext();
    NyTavling::Uppgifter u;
    u.namn = QStringLiteral("Bänken");
    u.antalBanor = QStringLiteral("100");
    u.datum = QStringLiteral("6 december 2026");
    u.typ = NyTavling::Typ::Sportskytte;
    u.sokvag = mapp.path();
    if (!NyTavling::skapa(g, m, u)) {
        std::fprintf(stderr, "the competition could not be created: %s\n", qPrintable(m.senaste));
        return 1;
    }
    // The new competition has squad 1; squad 2 is made by the filling.
    if (!fyll(g))
        return 1;
    Askadarflode flode(g, m, ledigPort(), QHostAddress(QHostAddress::LocalHost));

    // The first window of the run loads fonts and styles; it is not counted.
    int rader = 0;
    oppna(k, flode, 2, rader);
    QList<double> tio, hundra;
    for (int i = 0; i < Varv; ++i) {
        int r10 = 0, r100 = 0;
        tio << oppna(k, flode, 2, r10);
        hundra << oppna(k, flode, 1, r100);
        if (r10 != 10 || r100 != 100) {
            std::fprintf(stderr, "expected 10 and 100 rows, got %d and %d\n", r10, r100);
            return 1;
        }
    }
    if (m.antal != 0)
        std::fprintf(stderr, "messages shown: %d, the last: %s\n", m.antal, qPrintable(m.senaste));
    const double t10 = median(tio);
    const double t100 = median(hundra);
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("openings: %d of each\n", Varv);
    std::printf("10 lanes: median %.2f ms (min %.2f, max %.2f)\n", t10,
                *std::min_element(tio.begin(), tio.end()), *std::max_element(tio.begin(), tio.end()));
    std::printf("100 lanes: median %.2f ms (min %.2f, max %.2f)\n", t100,
                *std::min_element(hundra.begin(), hundra.end()),
                *std::max_element(hundra.begin(), hundra.end()));
    std::printf("ratio: %.2f\n", t100 / t10);
    return 0;
}
