// A scoring machine on a serial line, for trying the program's link to it
// without one. It answers on a tty, usually one end of a pty pair:
//
//   socat -d -d pty,rawer,link=/tmp/tolk pty,rawer,link=/tmp/pc
//   pilkrona_tolksimulator --model rika --mode not-ready --verbose /tmp/tolk
//
// and the program is given /tmp/pc as its port (program INI, [Serieportar]
// COM1=/tmp/pc).

#include "platform/Serieport.h"
#include "settings/Tolkprotokoll.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSerialPort>
#include <QTextStream>
#include <cstdio>
#include <functional>

namespace P = Tolkprotokoll;

namespace {

enum class Modell { Sam4000, Rika };

enum class Lage {
    // Says nothing at all, as a machine that is off or not connected.
    Tyst,
    // Switched on with no card in it: answers the start and every poll.
    EjKlar,
};

// What the machine answers to what it receives, one byte at a time.
class Tolkmaskin {
public:
    Tolkmaskin(Modell modell, Lage lage) : m_modell(modell), m_lage(lage) {}

    // A card in the machine: the frame it answers the next poll with instead
    // of "no card". Empty while no card lies in it.
    std::function<QByteArray()> ram;

    QByteArray svar(char mottaget) {
        if (m_lage == Lage::Tyst)
            return {};
        if (m_modell == Modell::Sam4000) {
            if (mottaget == P::Enq)
                return kort(QByteArray(1, P::Nak));
            return {};
        }
        if (mottaget == P::RikaStart2)
            return Rikastartsvar;
        if (mottaget == P::Syn)
            return kort(QByteArray(1, P::Nul));
        return {};
    }

private:
    // The program reads the three characters of a RIKA's answer to the start
    // and throws them away; any three do.
    inline static const QByteArray Rikastartsvar = QByteArray(P::RikaStartsvarLangd, P::Ack);

    QByteArray kort(const QByteArray& inget) const {
        if (ram) {
            const QByteArray r = ram();
            if (!r.isEmpty())
                return r;
        }
        return inget;
    }

    Modell m_modell;
    Lage m_lage;
};

void logga(const char* riktning, const QByteArray& data) {
    std::fprintf(stderr, "%s %s\n", riktning, data.toHex(' ').constData());
    std::fflush(stderr);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pilkrona_tolksimulator"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Answers on a tty as a SAM 4000 or RIKA scoring machine (9600,N,8,1)."));
    parser.addHelpOption();
    QCommandLineOption modellVal(QStringLiteral("model"), QStringLiteral("sam4000 (default) or rika."),
                                 QStringLiteral("model"), QStringLiteral("sam4000"));
    QCommandLineOption lageVal(QStringLiteral("mode"),
                               QStringLiteral("silent: answers nothing; not-ready (default): no card in the "
                                              "machine, SAM 4000 answers ENQ with NAK, RIKA answers SYN with "
                                              "NUL and its start with three characters."),
                               QStringLiteral("mode"), QStringLiteral("not-ready"));
    QCommandLineOption pratsam(
        QStringList{QStringLiteral("v"), QStringLiteral("verbose")},
        QStringLiteral("Logs every byte received (<-) and sent (->) in hex on stderr."));
    parser.addOption(modellVal);
    parser.addOption(lageVal);
    parser.addOption(pratsam);
    parser.addPositionalArgument(QStringLiteral("tty"), QStringLiteral("The device to answer on."));
    parser.process(app);

    const QStringList argument = parser.positionalArguments();
    const QString modellText = parser.value(modellVal).toLower();
    const QString lageText = parser.value(lageVal).toLower();
    if (argument.size() != 1 ||
        (modellText != QLatin1String("sam4000") && modellText != QLatin1String("rika")) ||
        (lageText != QLatin1String("silent") && lageText != QLatin1String("not-ready"))) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }
    Tolkmaskin maskin(modellText == QLatin1String("rika") ? Modell::Rika : Modell::Sam4000,
                      lageText == QLatin1String("silent") ? Lage::Tyst : Lage::EjKlar);
    const bool logg = parser.isSet(pratsam);

    QSerialPort port;
    if (const auto fel = oppnaSerieport(port, argument.first())) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(argument.first()),
                     fel->lage == Serieportlage::Saknas  ? "no such serial port"
                     : fel->lage == Serieportlage::Nekad ? "permission denied"
                                                         : qPrintable(fel->beskrivning));
        return 1;
    }
    QObject::connect(&port, &QSerialPort::readyRead, &port, [&] {
        const QByteArray mottaget = port.readAll();
        if (logg)
            logga("<-", mottaget);
        QByteArray svar;
        for (const char c : mottaget)
            svar += maskin.svar(c);
        if (!svar.isEmpty()) {
            if (logg)
                logga("->", svar);
            port.write(svar);
        }
    });
    QObject::connect(&port, &QSerialPort::errorOccurred, &port, [&](QSerialPort::SerialPortError fel) {
        if (fel == QSerialPort::NoError)
            return;
        std::fprintf(stderr, "%s: %s\n", qPrintable(argument.first()), qPrintable(port.errorString()));
        app.exit(fel == QSerialPort::ResourceError ? 0 : 1);
    });
    if (logg)
        std::fprintf(stderr, "listening on %s\n", qPrintable(argument.first()));
    return app.exec();
}
