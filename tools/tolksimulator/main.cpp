// A scoring machine on a serial line, for trying the program's link to it
// without one. It answers on a tty, usually one end of a pty pair:
//
//   socat -d -d pty,rawer,link=/tmp/tolk pty,rawer,link=/tmp/pc
//   pilkrona_tolksimulator --model rika --mode not-ready --verbose /tmp/tolk
//
// and the program is given /tmp/pc as its port (program INI, [Serieportar]
// COM1=/tmp/pc). With cards in it, it answers polls with whole frames:
//
//   pilkrona_tolksimulator --card "10.9,10.2,9.8,9.5,8.0" --card "9.9,?,10.0,8.1,7.7" /tmp/tolk

#include "competition/Tolkprotokoll.h"
#include "entry/scoring_machine/Tavelsvar.h"
#include "platform/Serieport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSerialPort>
#include <QTimer>
#include <cstdio>

namespace P = Tolkprotokoll;
using Tavelsvar::Modell;

namespace {

constexpr char SamStopp = '\xB0';
constexpr char RikaStopp = '\xD0';
constexpr char RikaKvitto = 0x0C; // FF: the RIKA's acknowledgement, and the first byte of its start
constexpr char RikaOmBegaran = 0x08;

enum class Lage {
    // Says nothing at all, as a machine that is off or not connected.
    Tyst,
    // Switched on: answers the start and every poll, with a card's frame
    // while it holds cards, else with "no card".
    Pa,
};

struct Installning {
    Modell modell = Modell::Sam4000;
    Lage lage = Lage::Pa;
    QList<Tavelsvar::Kort> kort;
    int bitar = 0;           // bytes per chunk of a frame; 0 the whole frame at once
    int bitpaus = 0;         // ms between the chunks
    int felaktiga = 0;       // the first answers of each card with a wrong check character
    int stoppEfter = -1;     // the first answer of each card stops after this many bytes
    int kopplaFranEfter = 0; // frames sent before the machine goes away; 0 never
    bool logg = false;
};

void logga(const char* riktning, const QByteArray& data) {
    std::fprintf(stderr, "%s %s\n", riktning, data.toHex(' ').constData());
    std::fflush(stderr);
}

void notera(const QString& text) {
    std::fprintf(stderr, "-- %s\n", qPrintable(text));
    std::fflush(stderr);
}

// The machine: what it answers to what it receives, its cards, and the
// frame it is sending (a chunk at a time when asked to).
class Tolkmaskin : public QObject {
public:
    Tolkmaskin(QSerialPort& port, Installning inst) : m_port(port), m_inst(std::move(inst)) {
        m_bittimer.setSingleShot(true);
        m_bittimer.setInterval(m_inst.bitpaus);
        connect(&m_bittimer, &QTimer::timeout, this, [this] { skickaBit(); });
    }

    void mottaget(const QByteArray& data) {
        for (const char c : data)
            taEmot(c);
    }

private:
    bool sam() const { return m_inst.modell == Modell::Sam4000; }
    bool harKort() const { return m_kortnummer < m_inst.kort.size(); }

    void taEmot(char c) {
        if (m_inst.lage == Lage::Tyst)
            return;
        // A RIKA's FF after a frame is its acknowledgement unless 0xD4 comes
        // next, which makes it the start of a new link: the next byte decides.
        if (m_kvittoVantar) {
            m_kvittoVantar = false;
            if (c != P::RikaStart2)
                kvittera();
        }
        if (sam()) {
            if (c == P::SamStart || c == P::SamStartMedStreckkod)
                startad();
            else if (c == P::Ack && m_utestaende)
                kvittera();
            else if (c == P::Enq)
                poll(P::Nak);
            else if (c == P::Nak && m_utestaende && !skickar())
                skickaKort();
            else if (c == SamStopp)
                stoppad();
            return;
        }
        if (c == RikaKvitto && m_utestaende)
            m_kvittoVantar = true;
        else if (c == P::RikaStart2) {
            startad();
            // The program reads three characters and throws them away; any three do.
            skriv(QByteArray(P::RikaStartsvarLangd, P::Ack));
        } else if (c == P::Syn)
            poll(P::Nul);
        else if (c == RikaOmBegaran && m_utestaende && !skickar())
            skickaKort();
        else if (c == RikaStopp)
            stoppad();
    }

    // A new link: a card sent but never acknowledged is still in the machine
    // and goes out again at the next poll.
    void startad() { m_utestaende = false; }

    // The program stopped: the rest of a frame on its way is not sent.
    void stoppad() {
        if (skickar()) {
            m_ut.clear();
            m_bittimer.stop();
            if (m_inst.logg)
                notera(QStringLiteral("stopped: the rest of the frame is not sent"));
        }
    }

    void poll(char ingetKort) {
        if (skickar())
            return; // busy with a frame: the poll is not heard
        if (harKort())
            skickaKort();
        else
            skriv(QByteArray(1, ingetKort));
    }

    // The frame was taken. A card whose last answer was right leaves the
    // machine; one acknowledged after a wrong check character stays, as the
    // operator runs it again.
    void kvittera() {
        m_utestaende = false;
        if (!harKort())
            return;
        if (m_inst.logg)
            notera(m_senastRatt ? QStringLiteral("card %1 acknowledged").arg(m_kortnummer + 1)
                                : QStringLiteral("card %1 acknowledged after a wrong check character: "
                                                 "it is read again")
                                      .arg(m_kortnummer + 1));
        if (m_senastRatt) {
            ++m_kortnummer;
            m_svarAvKortet = 0;
        }
    }

    void skickaKort() {
        ++m_svarAvKortet;
        QByteArray ram = Tavelsvar::bygg(m_inst.modell, m_inst.kort[m_kortnummer]);
        m_fel = m_svarAvKortet <= m_inst.felaktiga;
        if (m_fel) {
            const qsizetype kontroll = sam() ? ram.size() - 2 : ram.size() - 1;
            ram[kontroll] = static_cast<char>(ram[kontroll] ^ 0xFF);
        }
        m_hel = !(m_svarAvKortet == 1 && m_inst.stoppEfter >= 0 && m_inst.stoppEfter < ram.size());
        if (!m_hel)
            ram.truncate(m_inst.stoppEfter);
        if (m_inst.logg)
            notera(QStringLiteral("card %1, answer %2%3%4")
                       .arg(m_kortnummer + 1)
                       .arg(m_svarAvKortet)
                       .arg(m_fel ? QStringLiteral(", wrong check character") : QString())
                       .arg(m_hel ? QString() : QStringLiteral(", stops after %1 bytes").arg(ram.size())));
        m_ut = ram;
        skickaBit();
    }

    bool skickar() const { return !m_ut.isEmpty(); }

    void skickaBit() {
        const qsizetype n = m_inst.bitar > 0 ? qMin<qsizetype>(m_inst.bitar, m_ut.size()) : m_ut.size();
        skriv(m_ut.left(n));
        m_ut.remove(0, n);
        if (!m_ut.isEmpty()) {
            m_bittimer.start();
            return;
        }
        if (m_hel) {
            m_utestaende = true;
            m_senastRatt = !m_fel;
        }
        if (m_inst.kopplaFranEfter > 0 && ++m_skickade >= m_inst.kopplaFranEfter) {
            m_port.waitForBytesWritten(2000);
            if (m_inst.logg)
                notera(QStringLiteral("disconnecting after %1 frames").arg(m_skickade));
            m_port.close();
            QCoreApplication::exit(0);
        }
    }

    void skriv(const QByteArray& data) {
        if (data.isEmpty())
            return;
        if (m_inst.logg)
            logga("->", data);
        m_port.write(data);
    }

    QSerialPort& m_port;
    const Installning m_inst;
    QTimer m_bittimer;
    QByteArray m_ut; // what is left of the frame being sent
    qsizetype m_kortnummer = 0;
    int m_svarAvKortet = 0;    // answers given with the current card
    bool m_fel = false;        // the frame being sent has a wrong check character
    bool m_hel = true;         // the frame being sent goes out whole
    bool m_utestaende = false; // a whole frame went out and was not acknowledged
    bool m_senastRatt = false; // that frame's check character was right
    bool m_kvittoVantar = false;
    int m_skickade = 0;
};

// "10.9,10.2,9.8,9.5,8.0": one to five values with a point, "?" for a missing
// shot (missing shots fill up to five).
std::optional<QList<std::optional<double>>> skottAv(const QString& text) {
    const QStringList delar = text.split(u',');
    if (delar.size() > 5)
        return std::nullopt;
    QList<std::optional<double>> skott;
    for (const QString& del : delar) {
        const QString d = del.trimmed();
        if (d == QLatin1String("?")) {
            skott.append(std::nullopt);
            continue;
        }
        bool ok = false;
        const double v = d.toDouble(&ok);
        if (!ok || v < 0 || v >= 100)
            return std::nullopt;
        skott.append(v);
    }
    return skott;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pilkrona_tolksimulator"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Answers on a tty as a SAM 4000 or RIKA scoring machine (9600,N,8,1).\n"
                       "With cards (--card) it answers each poll with the current card's frame until the\n"
                       "program acknowledges it (SAM 4000 ACK, RIKA FF), then moves to the next card;\n"
                       "a repeat request (SAM 4000 NAK, RIKA BS) sends the same card again. After the\n"
                       "last card it answers \"no card\" again. A start (SAM 4000 0xB1/0xB2, RIKA 0xD4)\n"
                       "or a stop (SAM 4000 0xB0, RIKA 0xD0) leaves an unacknowledged card in the machine."));
    parser.addHelpOption();
    const QCommandLineOption modellVal(QStringLiteral("model"), QStringLiteral("sam4000 (default) or rika."),
                                       QStringLiteral("model"), QStringLiteral("sam4000"));
    const QCommandLineOption lageVal(
        QStringLiteral("mode"),
        QStringLiteral("silent: answers nothing; not-ready (default): no card in the machine, SAM 4000 "
                       "answers ENQ with NAK, RIKA answers SYN with NUL and its start with three "
                       "characters; card: as not-ready, but answers polls with the cards given by --card "
                       "(any --card means this mode)."),
        QStringLiteral("mode"), QStringLiteral("not-ready"));
    const QCommandLineOption kortVal(
        QStringLiteral("card"),
        QStringLiteral("A card in the machine: up to five shot values with a point, separated by commas, "
                       "\"?\" for a missing shot, e.g. \"10.9,10.2,9.8,9.5,8.0\". Give it again for "
                       "more cards; they are read in turn."),
        QStringLiteral("shots"));
    const QCommandLineOption typVal(QStringLiteral("type"),
                                    QStringLiteral("The target type in every frame (default LG)."),
                                    QStringLiteral("XX"), QStringLiteral("LG"));
    const QCommandLineOption antalVal(QStringLiteral("count"),
                                      QStringLiteral("The shot count in every frame (default 5)."),
                                      QStringLiteral("N"), QStringLiteral("5"));
    const QCommandLineOption bitVal(QStringLiteral("chunk"),
                                    QStringLiteral("Sends a frame N bytes at a time (default: all at once)."),
                                    QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption bitpausVal(
        QStringLiteral("chunk-delay"),
        QStringLiteral("Milliseconds between the chunks of --chunk (default 0)."), QStringLiteral("MS"),
        QStringLiteral("0"));
    const QCommandLineOption felVal(
        QStringLiteral("corrupt"),
        QStringLiteral("The first K answers of each card carry a wrong check character. A card "
                       "acknowledged after a wrong one stays in the machine, as if run again."),
        QStringLiteral("K"), QStringLiteral("0"));
    const QCommandLineOption stoppVal(
        QStringLiteral("stall-after"),
        QStringLiteral("The first answer of each card sends only its first N bytes and then nothing more "
                       "for that poll; the next poll gets the whole card."),
        QStringLiteral("N"));
    const QCommandLineOption franVal(QStringLiteral("disconnect-after"),
                                     QStringLiteral("Exits, closing its end of the line, once N frames have "
                                                    "been sent (a stalled one counts)."),
                                     QStringLiteral("N"));
    const QCommandLineOption pratsam(
        QStringList{QStringLiteral("v"), QStringLiteral("verbose")},
        QStringLiteral("Logs every byte received (<-) and sent (->) in hex on stderr, and what the "
                       "machine does with its cards (--)."));
    parser.addOptions({modellVal, lageVal, kortVal, typVal, antalVal, bitVal, bitpausVal, felVal, stoppVal,
                       franVal, pratsam});
    parser.addPositionalArgument(QStringLiteral("tty"), QStringLiteral("The device to answer on."));
    parser.process(app);

    const auto avbryt = [&](const QString& text) {
        std::fprintf(stderr, "%s\n\n%s", qPrintable(text), qPrintable(parser.helpText()));
        return 2;
    };
    const auto heltal = [&](const QCommandLineOption& val, int minst, int& ut) {
        bool ok = false;
        ut = parser.value(val).toInt(&ok);
        return ok && ut >= minst;
    };

    const QStringList argument = parser.positionalArguments();
    if (argument.size() != 1)
        return avbryt(QStringLiteral("Give one tty."));
    Installning inst;
    const QString modellText = parser.value(modellVal).toLower();
    if (modellText == QLatin1String("rika"))
        inst.modell = Modell::Rika;
    else if (modellText != QLatin1String("sam4000"))
        return avbryt(QStringLiteral("Unknown model: ") + modellText);
    const QString lageText = parser.value(lageVal).toLower();
    if (lageText == QLatin1String("silent"))
        inst.lage = Lage::Tyst;
    else if (lageText != QLatin1String("not-ready") && lageText != QLatin1String("card"))
        return avbryt(QStringLiteral("Unknown mode: ") + lageText);
    if (inst.lage == Lage::Tyst && parser.isSet(kortVal))
        return avbryt(QStringLiteral("A silent machine takes no cards."));

    int antal = 0;
    if (!heltal(antalVal, 0, antal))
        return avbryt(QStringLiteral("--count wants a number."));
    const QByteArray typ = parser.value(typVal).toLatin1();
    for (const QString& text : parser.values(kortVal)) {
        const auto skott = skottAv(text);
        if (!skott)
            return avbryt(QStringLiteral("Not a card: ") + text);
        Tavelsvar::Kort k;
        k.typ = typ;
        k.antal = antal;
        k.skott = *skott;
        inst.kort.append(k);
    }
    if (!heltal(bitVal, 0, inst.bitar) || !heltal(bitpausVal, 0, inst.bitpaus) ||
        !heltal(felVal, 0, inst.felaktiga))
        return avbryt(QStringLiteral("--chunk, --chunk-delay and --corrupt want a number."));
    if (parser.isSet(stoppVal) && !heltal(stoppVal, 0, inst.stoppEfter))
        return avbryt(QStringLiteral("--stall-after wants a number."));
    if (parser.isSet(franVal) && !heltal(franVal, 1, inst.kopplaFranEfter))
        return avbryt(QStringLiteral("--disconnect-after wants a number from 1."));
    inst.logg = parser.isSet(pratsam);

    QSerialPort port;
    if (const auto fel = oppnaSerieport(port, argument.first())) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(argument.first()),
                     fel->lage == Serieportlage::Saknas  ? "no such serial port"
                     : fel->lage == Serieportlage::Nekad ? "permission denied"
                                                         : qPrintable(fel->beskrivning));
        return 1;
    }
    Tolkmaskin maskin(port, inst);
    QObject::connect(&port, &QSerialPort::readyRead, &port, [&] {
        const QByteArray mottaget = port.readAll();
        if (inst.logg)
            logga("<-", mottaget);
        maskin.mottaget(mottaget);
    });
    QObject::connect(&port, &QSerialPort::errorOccurred, &port, [&](QSerialPort::SerialPortError fel) {
        if (fel == QSerialPort::NoError)
            return;
        std::fprintf(stderr, "%s: %s\n", qPrintable(argument.first()), qPrintable(port.errorString()));
        app.exit(fel == QSerialPort::ResourceError ? 0 : 1);
    });
    if (inst.logg)
        std::fprintf(stderr, "listening on %s\n", qPrintable(argument.first()));
    return app.exec();
}
