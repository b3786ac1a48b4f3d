// Times the opening of the result-entry window, offscreen, on squads of 10, 100
// and 1,000 lanes, every lane taken by a shooter with results: from making the
// window to the end of its first paint (the window rendered into an image)
// after the activation that shows the rows. The three take turns, one of each
// a round, the first of a round changing from round to round, so that a change
// of load on the machine falls on all three; the figures are medians. Then, in
// the 1,000-lane window of each round, Down goes from row to row in a series:
// the key's handling and the window's paint, per key.
//
// Only the rows in view are built, so the opening should cost nearly the same
// for 1,000 lanes as for 100: ratio is the time at 1,000 over the time at 100,
// the goal at most 3.
//
//     bench_entry_window [rounds]     (default 11)
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
#include <QImage>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::array<int, 3> Storlekar = {10, 100, 1000};
// The squads of those sizes.
constexpr std::array<int, 3> Lag = {2, 1, 3};
constexpr int Tangenter = 20;

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
    std::optional<Kopior> valjKopior(QWidget*, const Kopior&) override { return std::nullopt; }
    bool oppnaDokument(const QString&) override { return false; }
};

quint16 ledigPort() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

// Squad 1 has 100 lanes, squad 2 10, squad 3 1,000; every lane has a shooter
// with twelve series.
bool fyll(modGlobalt& g) {
    Databas& db = g.cnnTavling;
    QRandomGenerator slump(4711);
    try {
        db.transaktion([&] {
            db.kor(QStringLiteral("DELETE FROM Skjutlag WHERE Skjutlag IN (2, 3)"));
            for (int bana = 1; bana <= 10; ++bana)
                db.kor(QStringLiteral("INSERT INTO Skjutlag (Skjutlag, Bana) VALUES (2, ?)"), {bana});
            for (int bana = 1; bana <= 1000; ++bana)
                db.kor(QStringLiteral("INSERT INTO Skjutlag (Skjutlag, Bana) VALUES (3, ?)"), {bana});
            const QStringList klasser = {QStringLiteral("H"), QStringLiteral("D"), QStringLiteral("JH")};
            int nr = 0;
            for (const auto& [skjutlag, banor] : {std::pair{1, 100}, std::pair{2, 10}, std::pair{3, 1000}}) {
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

// One opening, as the program's picker opens the window, to the end of its
// first paint; milliseconds. The window is left open.
double oppna(Formkontext& k, Askadarflode& flode, int skjutlag, frmResultatInskrivning*& w, QImage& bild) {
    QElapsedTimer t;
    t.start();
    w = new frmResultatInskrivning(k, flode);
    w->Oppna_databaser_mm(skjutlag);
    w->txtVisible();
    w->show();
    QApplication::setActiveWindow(w);
    k.meddelaAktivering(w);
    QCoreApplication::processEvents();
    if (bild.size() != w->size())
        bild = QImage(w->size(), QImage::Format_ARGB32_Premultiplied);
    w->render(&bild);
    return double(t.nsecsElapsed()) / 1e6;
}

void stang(frmResultatInskrivning* w) {
    w->close();
    delete w;
    QCoreApplication::processEvents();
}

// Down in the focused series field, handled and painted; milliseconds.
double nerOchMala(frmResultatInskrivning* w, QImage& bild) {
    QElapsedTimer t;
    t.start();
    QWidget* falt = QApplication::focusWidget();
    if (!falt)
        return 0;
    QKeyEvent ned(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QKeyEvent upp(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(falt, &ned);
    QApplication::sendEvent(QApplication::focusWidget(), &upp);
    QCoreApplication::processEvents();
    w->render(&bild);
    return double(t.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int varv = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;

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
    // The new competition has squad 1; squads 2 and 3 are made by the filling.
    if (!fyll(g))
        return 1;
    Askadarflode flode(g, m, ledigPort(), QHostAddress(QHostAddress::LocalHost));

    // The first window of the run loads fonts and styles; it is not counted.
    QImage bild;
    frmResultatInskrivning* w = nullptr;
    oppna(k, flode, Lag[0], w, bild);
    stang(w);
    std::array<std::vector<double>, 3> tider;
    std::vector<double> tangenter;
    for (int i = 0; i < varv; ++i) {
        for (int j = 0; j < 3; ++j) {
            const size_t s = size_t((i + j) % 3);
            tider[s].push_back(oppna(k, flode, Lag[s], w, bild));
            if (w->intAntalRader() != Storlekar[s]) {
                std::fprintf(stderr, "expected %d rows, got %d\n", Storlekar[s], w->intAntalRader());
                return 1;
            }
            if (Storlekar[s] == 1000) {
                // Down from the first row walks past the view's last row, so
                // that rows come into view as the keys go.
                for (int n = 0; n < Tangenter; ++n)
                    tangenter.push_back(nerOchMala(w, bild));
            }
            stang(w);
        }
    }
    if (m.antal != 0)
        std::fprintf(stderr, "messages shown: %d, the last: %s\n", m.antal, qPrintable(m.senaste));
    const double t100 = median(tider[1]);
    const double t1000 = median(tider[2]);
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("rounds: %d\n", varv);
    for (size_t s = 0; s < 3; ++s)
        std::printf("%d lanes: %.2f ms\n", Storlekar[s], median(tider[s]));
    std::printf("Down key at 1000 lanes: %.2f ms\n", median(tangenter));
    std::printf("ratio: %.2f\n", t1000 / t100);
    return 0;
}
