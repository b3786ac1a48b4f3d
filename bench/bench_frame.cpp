// Times a card from the scoring machine into the database: the machine's end of
// a pseudo-terminal is played by this process, which answers the link's polls
// with whole frames; t0 is when the write() of a frame's last byte returns, t1
// when the save of the series it carries has committed. The link is the
// program's own, with result entry's save behind it, on a competition of 2,000
// shooters (SAM 4000 and RIKA, 200 cards each). In the same run, after every
// card, a bare transaction runs the same UPDATE, prepared once, on the row the
// card was saved to, in the same file with the program's pragmas: card and
// bare transaction take turns, so that the disk's moods fall on both alike.
// The figures are medians; ratio is the slower model's over the bare
// transaction's.
//
//     bench_frame [folder]     (default: the current folder)
//
// The folder must be on a disk-backed file system: on tmpfs a commit costs
// nothing and the comparison would say nothing about the program.
#include "Bankstod.h"
#include "common/Fel.h"
#include "common/IniNamn.h"
#include "entry/Resultatrader.h"
#include "entry/Resultatsparning.h"
#include "entry/scoring_machine/Tavelsvar.h"
#include "entry/scoring_machine/Tolklank.h"
#include "platform/Meddelanden.h"
#include "platform/Serieport.h"
#include "platform/SvenskSortering.h"
#include "shell/NyTavling.h"
#include "shell/modGlobalt.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <pty.h>
#include <sqlite3.h>
#include <sys/vfs.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;
using Klocka = std::chrono::steady_clock;
using Modell = Tavelsvar::Modell;
using namespace Bank;

namespace {

constexpr int Uppvarmning = 10;
constexpr int Matningar = 200;
constexpr int Serie = 3;

double ms(Klocka::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Writes all of a buffer to a descriptor; the time when the last write returned.
Klocka::time_point skrivAllt(int fd, const QByteArray& data) {
    qsizetype gjort = 0;
    while (gjort < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + gjort, size_t(data.size() - gjort));
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            avbryt(QStringLiteral("write: %1").arg(QString::fromLocal8Bit(strerror(errno))));
        if (n > 0)
            gjort += n;
    }
    return Klocka::now();
}

// The scoring machine, at the master end of the pty: the RIKA start's answer,
// "no card" or the next card's frame to a poll, the frame again on a repeat
// request, the card taken out by the acknowledgement.
class Maskinande {
public:
    Maskinande(int fd, Modell modell) : m_fd(fd), m_modell(modell), m_lyssna(fd, QSocketNotifier::Read) {
        QObject::connect(&m_lyssna, &QSocketNotifier::activated, &m_lyssna, [this] { las(); });
    }
    void laddaKort(const QByteArray& ram) { m_ramar.append(ram); }
    // When the write of the last frame's last byte returned.
    Klocka::time_point t0;
    int upprepningar = 0;

private:
    bool sam() const { return m_modell == Modell::Sam4000; }
    void las() {
        char buf[256];
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        for (ssize_t i = 0; i < n; ++i)
            tag(buf[i]);
    }
    void tag(char c) {
        const char poll = sam() ? 0x05 : 0x16;
        const char omIgen = sam() ? 0x15 : 0x08;
        const char kvittens = sam() ? 0x06 : 0x0C;
        if (!sam() && c == '\xD4') {
            skrivAllt(m_fd, "abc");
        } else if (c == poll) {
            if (!m_ramar.isEmpty())
                skickaRam();
            else
                skrivAllt(m_fd, QByteArray(1, sam() ? 0x15 : 0x00));
        } else if (c == omIgen && m_ute) {
            ++upprepningar;
            skickaRam();
        } else if (c == kvittens && m_ute) {
            m_ramar.removeFirst();
            m_ute = false;
        }
    }
    void skickaRam() {
        // The frame goes out as the machine sends it, all but its last byte
        // first, so that t0 is the return of the write that completes it.
        m_ute = true;
        const QByteArray& ram = m_ramar.first();
        skrivAllt(m_fd, ram.first(ram.size() - 1));
        t0 = skrivAllt(m_fd, ram.last(1));
    }

    int m_fd;
    Modell m_modell;
    QSocketNotifier m_lyssna;
    // The cards in the machine, the next first.
    QList<QByteArray> m_ramar;
    // The frame is out and not yet acknowledged.
    bool m_ute = false;
};

struct Resultat {
    std::vector<double> kort;
    std::vector<double> bara;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The cable: the program opens the slave end by its name, as it would a
    // serial port; this process keeps the master end.
    int master = -1, slav = -1;
    char slavnamn[256] = {};
    if (openpty(&master, &slav, slavnamn, nullptr, nullptr) != 0)
        avbryt(QStringLiteral("openpty: %1").arg(QString::fromLocal8Bit(strerror(errno))));
    termios t{};
    tcgetattr(slav, &t);
    cfmakeraw(&t);
    tcsetattr(slav, TCSANOW, &t);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    const auto tavling = skapaTavling(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath(),
                                      QStringLiteral("bench_frame"));
    modGlobalt& g = tavling->g;
    Tyst& m = tavling->m;
    QList<Banrad>& rader = tavling->rader;
    if (!g.iniTavling.WriteKeys(
            {{Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, QStringLiteral("0")},
             {Ini::TolkmaskinIGrundomg.sektion, Ini::TolkmaskinIGrundomg.nyckel, QStringLiteral("1")},
             {Ini::Comport.sektion, Ini::Comport.nyckel, QStringLiteral("1")},
             {Ini::DecimalerRika.sektion, Ini::DecimalerRika.nyckel, QStringLiteral("1")}}) ||
        !g.iniProgram.WriteKey(SerieportarSektion, QStringLiteral("COM1"), QString::fromLocal8Bit(slavnamn)))
        avbryt(g.iniTavling.senasteFel());
    g.sngInnertia = 10.3;
    std::printf("pty: %s\n", slavnamn);

    Resultatsparning sparning(g);
    Ren ren(g.strTavlingsdatabas, Serie);
    static const QList<std::optional<double>> kortlista[] = {
        {10.9, 10.2, 9.8, 9.5, 8.0},
        {10.0, 9.9, 9.7, 8.6, 7.5},
        {10.4, 10.5, 10.6, 10.7, 10.8},
        {7.1, 7.9, 8.2, 8.8, 9.0},
    };
    // Their shot strings.
    static const QString skottstrangar[] = {QStringLiteral("*+998"), QStringLiteral("+9987"),
                                            QStringLiteral("*****"), QStringLiteral("77889")};

    // One model: its cards through a link of its own, each saved into the next
    // row; a bare transaction on the same row follows every other card.
    auto kor = [&](Modell modell, const QString& modelltext, int forstaRad) {
        if (!g.iniTavling.WriteKey(Ini::Model.sektion, Ini::Model.nyckel, modelltext))
            avbryt(g.iniTavling.senasteFel());
        Tolklank::Tider tider;
        tider.frekvens = 2ms;
        tider.omstart = 1ms;
        tider.timeout = 10s;
        tider.rikaStartsvar = 10s;
        Tolklank lank(g, m, tider);
        lank.serieMarkerad = [] { return true; };
        Maskinande maskin(master, modell);
        Resultat r;
        QEventLoop slinga;
        int kort = 0;
        for (int i = 0; i < Uppvarmning + Matningar; ++i) {
            Tavelsvar::Kort k;
            k.skott = kortlista[i % 4];
            maskin.laddaKort(Tavelsvar::bygg(modell, k));
        }
        QObject::connect(&lank, &Tolklank::tavelsvar, &slinga, [&](int varde, const QString& skott) {
            Banrad& rad = rader[forstaRad + kort * 4];
            if (skott != skottstrangar[kort % 4])
                avbryt(QStringLiteral("%1: card %2 read as %3.").arg(modelltext).arg(kort).arg(skott));
            try {
                sparning.sparaSerie(rad, Serie, varde, skott);
            } catch (const Fel& f) {
                avbryt(f.text());
            }
            const Klocka::time_point t1 = Klocka::now();
            if (kort >= Uppvarmning)
                r.kort.push_back(ms(t1 - maskin.t0));
            {
                // Another card's shots, so that the bare transaction changes
                // the row as the save did.
                const QString& annan = skottstrangar[(kort + 1) % 4];
                const QByteArray bar = annan.toLatin1();
                const int barVarde = *Serieregler::skottstrangsvarde(annan);
                const Klocka::time_point b0 = Klocka::now();
                ren.kor(rad, bar, barVarde);
                if (kort >= Uppvarmning)
                    r.bara.push_back(ms(Klocka::now() - b0));
            }
            if (++kort == Uppvarmning + Matningar) {
                lank.AvbrytKommTolkmaskin();
                slinga.quit();
                return;
            }
            lank.startaOmSenare();
        });
        QTimer vakt;
        vakt.setSingleShot(true);
        QObject::connect(&vakt, &QTimer::timeout, [&] {
            avbryt(QStringLiteral("%1: no card for 30 s after %2 cards.").arg(modelltext).arg(kort));
        });
        QObject::connect(&lank, &Tolklank::tavelsvar, &vakt, [&] { vakt.start(30s); });
        vakt.start(30s);
        lank.HamtaResFranTolkmaskin();
        if (m.sagt)
            avbryt(QStringLiteral("%1: the link did not start.").arg(modelltext));
        slinga.exec();
        if (m.sagt || maskin.upprepningar)
            avbryt(QStringLiteral("%1: %2 messages, %3 repeated frames.")
                       .arg(modelltext)
                       .arg(m.sagt)
                       .arg(maskin.upprepningar));
        // What the stop wrote is not the next model's business.
        QCoreApplication::processEvents();
        char skrap[256];
        while (::read(master, skrap, sizeof skrap) > 0) {
        }
        return r;
    };

    const Resultat sam = kor(Modell::Sam4000, QStringLiteral("SAM 4000"), 20);
    const Resultat rika = kor(Modell::Rika, QStringLiteral("RIKA"), 21);
    std::vector<double> bara = sam.bara;
    bara.insert(bara.end(), rika.bara.begin(), rika.bara.end());

    std::printf("cards per model: %d\n", Matningar);
    skrivTider("SAM 4000 card", sam.kort);
    skrivTider("RIKA card", rika.kort);
    skrivTider("bare transaction", bara);
    std::printf("ratio: %.2f\n", std::max(median(sam.kort), median(rika.kort)) / median(bara));
    g.cnnTavling.Close();
    ::close(slav);
    ::close(master);
    return 0;
}
