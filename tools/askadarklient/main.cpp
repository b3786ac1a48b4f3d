// A spectator display for trying the program's feed by hand and in tests. It
// connects to the program, splits what arrives into squad messages and prints
// each one, decoded from Windows-1252, as it arrives:
//
//   pilkrona_askadarklient --host 192.168.1.10
//
// prints
//
//   --- message 1: squad 3, redraw 1, 126 bytes
//   Vintercupen|Sport| |3|1
//   1|Förnamn Efternamn|Klubb|D15|Sport|60|96|95|0|0|0|0|-|-|191|191
//   ...
//
// --no-read plays a display that connects and never reads, to see the program
// cut it off.

#include "platform/Windows1252.h"
#include "spectator/Meddelandedelare.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTcpSocket>
#include <QTimer>
#include <cstdio>

namespace {

constexpr quint16 StandardPort = 34587;

void skriv(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

class Klient {
public:
    Klient(int antal, int pausMs) : m_antal(antal) {
        m_paus.setSingleShot(true);
        m_paus.setInterval(pausMs);
        // The sender writes each message in one piece; when nothing more has come
        // for a moment, what has come is a whole message.
        QObject::connect(&m_paus, &QTimer::timeout, [this] { visa(m_delare.avsluta()); });
    }

    void ta(const QByteArray& data) {
        const auto hela = m_delare.lagg(data);
        for (const QByteArray& m : hela)
            visa(m);
        if (!m_delare.pagaende().isEmpty())
            m_paus.start();
    }
    void slut() {
        m_paus.stop();
        visa(m_delare.avsluta());
    }

private:
    void visa(const QByteArray& meddelande) {
        if (meddelande.isEmpty() || klar())
            return;
        ++m_visade;
        const QList<QByteArray> falt = meddelande.left(meddelande.indexOf("\r\n")).split('|');
        skriv(QStringLiteral("--- message %1: squad %2, redraw %3, %4 bytes\n")
                  .arg(m_visade)
                  .arg(QString::fromLatin1(falt.value(3)), QString::fromLatin1(falt.value(4)))
                  .arg(meddelande.size()));
        QString text = Windows1252::tillText(meddelande);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        skriv(text);
        if (klar())
            QCoreApplication::exit(0);
    }
    bool klar() const { return m_antal > 0 && m_visade >= m_antal; }

    Meddelandedelare m_delare;
    QTimer m_paus;
    int m_antal;
    int m_visade = 0;
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pilkrona_askadarklient"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Connects to Pilkrona's spectator feed as a display would and prints each squad "
                       "message as it arrives (decoded from Windows-1252). Ends when the program closes "
                       "the connection, or after --count messages."));
    parser.addHelpOption();
    QCommandLineOption vardVal(QStringLiteral("host"),
                               QStringLiteral("The program's PC (default 127.0.0.1)."),
                               QStringLiteral("address"), QStringLiteral("127.0.0.1"));
    QCommandLineOption portVal(QStringLiteral("port"), QStringLiteral("The feed's port (default 34587)."),
                               QStringLiteral("port"), QString::number(StandardPort));
    QCommandLineOption antalVal(QStringLiteral("count"),
                                QStringLiteral("Ends after this many messages (default 0: never)."),
                                QStringLiteral("n"), QStringLiteral("0"));
    QCommandLineOption pausVal(QStringLiteral("pause"),
                               QStringLiteral("Milliseconds without data after which the last message "
                                              "counts as whole (default 300)."),
                               QStringLiteral("ms"), QStringLiteral("300"));
    QCommandLineOption lasInte(QStringLiteral("no-read"),
                               QStringLiteral("Connects and never reads: a display that hangs."));
    parser.addOptions({vardVal, portVal, antalVal, pausVal, lasInte});
    parser.process(app);

    bool portOk = false, antalOk = false, pausOk = false;
    const uint port = parser.value(portVal).toUInt(&portOk);
    const int antal = parser.value(antalVal).toInt(&antalOk);
    const int paus = parser.value(pausVal).toInt(&pausOk);
    if (!parser.positionalArguments().isEmpty() || !portOk || port == 0 || port > 65535 || !antalOk ||
        antal < 0 || !pausOk || paus < 0) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }

    QTcpSocket socket;
    Klient klient(antal, paus);
    if (parser.isSet(lasInte)) {
        // Take one byte into our buffer and then nothing: the system's buffers
        // fill and the program's writes back up.
        socket.setReadBufferSize(1);
    } else {
        QObject::connect(&socket, &QTcpSocket::readyRead, [&] { klient.ta(socket.readAll()); });
    }
    QObject::connect(&socket, &QTcpSocket::disconnected, [&] {
        klient.slut();
        skriv(QStringLiteral("--- connection closed\n"));
        app.exit(0);
    });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, [&](QAbstractSocket::SocketError fel) {
        if (fel == QAbstractSocket::RemoteHostClosedError)
            return;
        std::fprintf(stderr, "%s:%u: %s\n", qPrintable(parser.value(vardVal)), port,
                     qPrintable(socket.errorString()));
        app.exit(1);
    });
    QObject::connect(&socket, &QTcpSocket::connected, [&] {
        std::fprintf(stderr, "connected to %s:%u\n", qPrintable(parser.value(vardVal)), port);
    });
    socket.connectToHost(parser.value(vardVal), quint16(port));
    const int kod = app.exec();
    // Going down closes the socket, which is no news from the program.
    socket.disconnect();
    return kod;
}
