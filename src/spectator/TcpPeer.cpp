#include "spectator/TcpPeer.h"

#include "platform/Meddelanden.h"
#include "platform/Windows1252.h"
#include "shell/modGlobalt.h"

#include <QElapsedTimer>
#include <QFile>
#include <QNetworkInterface>
#include <QTcpSocket>
#include <QTimer>
#include <limits>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace {
// The error count is shown as a 16-bit number in the link dialog; it stops at
// the largest value rather than wrapping to a negative count.
constexpr int MaxAntalFel = std::numeric_limits<qint16>::max();

const QString TarInteEmot = QStringLiteral("Åskådar-PC:n tar inte emot data");

// Asks the system to watch the connection while nothing is sent, and to give up
// on data the display PC does not acknowledge: a PC that is switched off or
// unplugged never says goodbye.
void stallInVakt(QTcpSocket* s) {
    s->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    const int fd = static_cast<int>(s->socketDescriptor());
    if (fd < 0)
        return;
    const int tomgang = TcpPeer::KeepaliveTomgangSek;
    const int intervall = TcpPeer::KeepaliveIntervallSek;
    const int antal = TcpPeer::KeepaliveAntal;
    const unsigned int tidsgrans = TcpPeer::AnvandarTidsgransMs;
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &tomgang, sizeof tomgang);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &intervall, sizeof intervall);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &antal, sizeof antal);
    ::setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &tidsgrans, sizeof tidsgrans);
}

// Cuts the line: whatever still waits for the display, in our buffer or the
// system's, is thrown away and the display gets a reset instead of a close.
void klipp(QTcpSocket* s) {
    const int fd = static_cast<int>(s->socketDescriptor());
    if (fd >= 0) {
        const linger direkt{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &direkt, sizeof direkt);
    }
    s->abort();
    s->deleteLater();
}

bool virtuelltGranssnitt(const QNetworkInterface& i) {
    if (i.type() == QNetworkInterface::Virtual)
        return true;
    // Bridges and tunnels of virtual machines and containers: their addresses
    // are not where a display PC on the range's network can reach us.
    static const char* const prefix[] = {"docker", "virbr", "br-", "veth", "vmnet", "vboxnet",
                                         "lxcbr",  "lxdbr", "cni", "tun",  "tap",   "wg"};
    for (const char* p : prefix) {
        if (i.name().startsWith(QLatin1String(p)))
            return true;
    }
    return false;
}
} // namespace

TcpPeer::TcpPeer(modGlobalt& g, quint16 lokalPort, const QHostAddress& adress, Granser granser,
                 QObject* parent)
    : QObject(parent), m_g(g), m_port(lokalPort), m_adress(adress), m_granser(granser) {
    // One display is enough for the screen at the range; the backlog only has
    // to hold the display that is about to be accepted.
    m_server.setMaxPendingConnections(1);
    connect(&m_server, &QTcpServer::newConnection, this, &TcpPeer::nyAnslutning);
    connect(&m_server, &QTcpServer::acceptError, this, &TcpPeer::acceptFel);
}

TcpPeer::~TcpPeer() {
    m_server.close();
    slappSocket(true);
    // The program is ending: a display that has not taken what it was handed by
    // the end of its time gets nothing more. The wait needs no event loop.
    QElapsedTimer klocka;
    klocka.start();
    const auto socketar = findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly);
    for (QTcpSocket* s : socketar) {
        s->disconnect(this);
        if (s->state() == QAbstractSocket::UnconnectedState)
            continue;
        const qint64 kvar = m_granser.stangningMs - klocka.elapsed();
        if (kvar <= 0 || !s->waitForDisconnected(int(kvar)))
            klipp(s);
    }
}

void TcpPeer::Starta_winsock_tcp(Meddelanden& meddelanden) {
    const int tillstand = State();
    if (tillstand == Ansluten || tillstand == Lyssnar)
        return;
    if (tillstand != Stangd)
        Close();
    if (m_server.listen(m_adress, m_port))
        return;

    const Fel f = winsockFel(m_server.serverError(), m_server.errorString());
    if (f.nummer() == FelNatverketNere) {
        // Nothing the operator can do about it from here: the spectator menu is
        // simply left off for the rest of the run.
        m_g.blnTCPStartFel = true;
        return;
    }
    meddelanden.visa(QStringLiteral("modGlobalt Starta_winsock_tcp: ") + f.beskrivning() + QLatin1Char(' ') +
                         QString::number(f.nummer()),
                     QString(), Meddelanden::Ikon::Ingen, Meddelanden::Knappar::OK);
}

int TcpPeer::State() const {
    if (m_socket) {
        // Between the display hanging up and our handler running the socket is
        // on its way down, which the link dialog shows as "closing".
        return m_socket->state() == QAbstractSocket::ConnectedState ? Ansluten : Stanger;
    }
    return m_server.isListening() ? Lyssnar : Stangd;
}

void TcpPeer::Close() {
    m_server.close();
    slappSocket(true);
}

QString TcpPeer::standardgranssnitt(const QByteArray& routetabell) {
    QString basta;
    qint64 bastaMetrik = std::numeric_limits<qint64>::max();
    const QList<QByteArray> rader = routetabell.split('\n');
    for (qsizetype i = 1; i < rader.size(); ++i) {
        const QList<QByteArray> f = rader[i].simplified().split(' ');
        if (f.size() < 8)
            continue;
        bool ok = false;
        const uint flaggor = f[3].toUInt(&ok, 16);
        const qint64 metrik = f[6].toLongLong();
        const bool uppe = ok && (flaggor & 1u);
        if (uppe && f[1] == "00000000" && f[7] == "00000000" && metrik < bastaMetrik) {
            basta = QString::fromLocal8Bit(f[0]);
            bastaMetrik = metrik;
        }
    }
    return basta;
}

QStringList TcpPeer::LocalIPs() {
    QByteArray routetabell;
    QFile route(QStringLiteral("/proc/net/route"));
    if (route.open(QIODevice::ReadOnly))
        routetabell = route.readAll();
    const QString standard = standardgranssnitt(routetabell);

    QStringList forst, verkliga, virtuella;
    const auto granssnitt = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& i : granssnitt) {
        if (!(i.flags() & QNetworkInterface::IsUp) || (i.flags() & QNetworkInterface::IsLoopBack))
            continue;
        QStringList& hit = i.name() == standard ? forst : virtuelltGranssnitt(i) ? virtuella : verkliga;
        const auto poster = i.addressEntries();
        for (const QNetworkAddressEntry& e : poster) {
            const QHostAddress a = e.ip();
            if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
                hit << a.toString();
        }
    }
    QStringList alla = forst + verkliga + virtuella;
    alla.removeDuplicates();
    if (alla.isEmpty())
        alla << QHostAddress(QHostAddress::LocalHost).toString();
    return alla;
}

QString TcpPeer::statustext(int tillstand) {
    switch (tillstand) {
    case 0:
        return QStringLiteral("0, Anslutningen är stängd");
    case 1:
        return QStringLiteral("1, Anslutningen är öppen");
    case 2:
        return QStringLiteral("2, Väntar på anslutning");
    case 3:
    case 4:
    case 5:
        return QString::number(tillstand);
    case 6:
        return QStringLiteral("6, Ansluter");
    case 7:
        return QStringLiteral("7, Ansluten");
    case 8:
        return QStringLiteral("8, Stänger anslutningen");
    case 9:
        return QStringLiteral("9, Error");
    default:
        return {};
    }
}

bool TcpPeer::SendData(const QString& text) {
    if (State() != Ansluten)
        return false;
    const QByteArray bytes = Windows1252::tillBytes(text);
    // A display that stopped reading would otherwise have us keep every message
    // for it; past the bound it is let go and the next display gets a chance.
    if (m_socket->bytesToWrite() + bytes.size() > m_granser.maxOskickat) {
        hanteraFel(Fel(FelTarInteEmot, TarInteEmot));
        return false;
    }
    return m_socket->write(bytes) == bytes.size();
}

void TcpPeer::raknaFel(const QString& senasteFel) {
    if (m_antalFel < MaxAntalFel)
        ++m_antalFel;
    m_senasteFel = senasteFel;
    emit felRaknat();
}

Fel TcpPeer::winsockFel(QAbstractSocket::SocketError fel, const QString& qtText) {
    using S = QAbstractSocket;
    switch (fel) {
    case S::ConnectionRefusedError:
        return Fel(10061, QStringLiteral("Anslutningen nekades"));
    case S::RemoteHostClosedError:
        return Fel(10054, QStringLiteral("Anslutningen stängdes av motparten"));
    case S::HostNotFoundError:
        return Fel(11001, QStringLiteral("Datorn hittades inte"));
    case S::SocketAccessError:
        return Fel(FelAtkomstNekad, QStringLiteral("Åtkomst nekad"));
    case S::SocketResourceError:
        return Fel(10055, QStringLiteral("Slut på resurser för nätverksanslutningar"));
    case S::SocketTimeoutError:
        return Fel(10060, QStringLiteral("Tidsgränsen för anslutningen överskreds"));
    case S::DatagramTooLargeError:
        return Fel(10040, QStringLiteral("Meddelandet är för stort"));
    // No usable network at all, or a system that cannot do what a plain TCP
    // server needs: both leave the spectator screen out of this run.
    case S::NetworkError:
    case S::UnsupportedSocketOperationError:
        return Fel(FelNatverketNere, QStringLiteral("Nätverket är inte tillgängligt"));
    case S::AddressInUseError:
        return Fel(FelAdressenUpptagen, QStringLiteral("Adressen används redan"));
    case S::SocketAddressNotAvailableError:
        return Fel(10049, QStringLiteral("Adressen finns inte på den här datorn"));
    case S::UnfinishedSocketOperationError:
        return Fel(10036, QStringLiteral("En åtgärd pågår redan"));
    case S::TemporaryError:
        return Fel(10035, QStringLiteral("Resursen är tillfälligt otillgänglig"));
    case S::OperationError:
        return Fel(40006, QStringLiteral("Fel tillstånd för den begärda åtgärden"));
    default:
        break;
    }
    // Anything else is not expected from a plain TCP server; keep the system's
    // own text so the cause can still be found.
    QString beskrivning = QStringLiteral("Okänt nätverksfel");
    if (!qtText.isEmpty())
        beskrivning += QStringLiteral(" (") + qtText + QLatin1Char(')');
    return Fel(11003, beskrivning);
}

void TcpPeer::nyAnslutning() {
    while (QTcpSocket* s = m_server.nextPendingConnection()) {
        if (m_socket) {
            // A second display slipped into the backlog before listening stopped.
            s->abort();
            s->deleteLater();
            continue;
        }
        s->setParent(this);
        m_socket = s;
    }
    if (!m_socket)
        return;
    // Not listening while connected is what keeps it to one display: the next
    // one is refused at once instead of hanging in the backlog.
    m_server.close();
    ++m_anslutningsnummer;

    QTcpSocket* s = m_socket;
    stallInVakt(s);
    // What the display sends is read in bounded pieces and dropped, however much
    // of it there is.
    s->setReadBufferSize(m_granser.lasbuffert);
    connect(s, &QTcpSocket::readyRead, this, [s] { s->skip(s->bytesAvailable()); });
    // Queued, so that the socket is never torn down inside its own signal; the
    // guard drops a second notice (the error before the disconnect, or events of
    // a socket that has already been let go).
    const QPointer<QTcpSocket> vakt(s);
    connect(
        s, &QTcpSocket::disconnected, this,
        [this, vakt] {
            if (vakt && vakt == m_socket)
                frankopplad();
        },
        Qt::QueuedConnection);
    connect(
        s, &QTcpSocket::errorOccurred, this,
        [this, vakt](QAbstractSocket::SocketError e) {
            if (vakt && vakt == m_socket)
                fel(e);
        },
        Qt::QueuedConnection);
    emit klientAnsluten();
}

void TcpPeer::frankopplad() {
    slappSocket(false);
    m_g.intSkjutlagPaSkarm = 0;
    lyssnaIgen();
    emit klientFrankopplad();
}

void TcpPeer::fel(QAbstractSocket::SocketError e) {
    // A display that hangs up, politely or not, has left; that is no error.
    if (e == QAbstractSocket::RemoteHostClosedError) {
        frankopplad();
        return;
    }
    hanteraFel(winsockFel(e, m_socket ? m_socket->errorString() : QString()));
}

void TcpPeer::acceptFel(QAbstractSocket::SocketError e) {
    hanteraFel(winsockFel(e, m_server.errorString()));
}

void TcpPeer::hanteraFel(const Fel& f) {
    raknaFel(QString::number(f.nummer()) + QStringLiteral(", ") + f.beskrivning());
    slappSocket(false);
    m_g.intSkjutlagPaSkarm = 0;
    lyssnaIgen();
    emit socketfel(f.nummer(), f.beskrivning());
}

void TcpPeer::lyssnaIgen() {
    m_server.close();
    // One attempt; if the port cannot be had now, the link dialog shows the
    // server as closed with the reason, and "Starta TCP" tries again.
    if (!m_server.listen(m_adress, m_port)) {
        const Fel f = winsockFel(m_server.serverError(), m_server.errorString());
        raknaFel(QString::number(f.nummer()) + QStringLiteral(", ") + f.beskrivning());
    }
}

void TcpPeer::slappSocket(bool vanligt) {
    if (!m_socket)
        return;
    QTcpSocket* s = m_socket;
    m_socket = nullptr;
    s->disconnect(this);
    if (!vanligt) {
        klipp(s);
        return;
    }
    // Nothing the display sends matters any more, however much it sends.
    connect(s, &QTcpSocket::readyRead, s, [s] { s->skip(s->bytesAvailable()); });
    s->disconnectFromHost();
    if (s->state() == QAbstractSocket::UnconnectedState) {
        s->deleteLater();
        return;
    }
    connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
    QTimer::singleShot(m_granser.stangningMs, s, [s] { klipp(s); });
}
