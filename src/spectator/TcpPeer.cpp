#include "spectator/TcpPeer.h"

#include "platform/Meddelanden.h"
#include "platform/Windows1252.h"
#include "shell/modGlobalt.h"

#include <QNetworkInterface>
#include <QTcpSocket>
#include <limits>

namespace {
// The error count is shown as a 16-bit number in the link dialog; it stops at
// the largest value rather than wrapping to a negative count.
constexpr int MaxAntalFel = std::numeric_limits<qint16>::max();
} // namespace

TcpPeer::TcpPeer(modGlobalt& g, quint16 lokalPort, const QHostAddress& adress, QObject* parent)
    : QObject(parent), m_g(g), m_port(lokalPort), m_adress(adress) {
    // One display is enough for the screen at the range; the backlog only has
    // to hold the display that is about to be accepted.
    m_server.setMaxPendingConnections(1);
    connect(&m_server, &QTcpServer::newConnection, this, &TcpPeer::nyAnslutning);
    connect(&m_server, &QTcpServer::acceptError, this, &TcpPeer::acceptFel);
}

TcpPeer::~TcpPeer() {
    if (m_socket)
        m_socket->disconnect(this);
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
    meddelanden.visa(QStringLiteral("modGlobalt Starta_winsock_tcp: ") + f.text(), QStringLiteral("Fel"),
                     Meddelanden::Ikon::Kritisk);
}

int TcpPeer::State() const {
    if (m_socket) {
        // Between the display hanging up and our handler running the socket is
        // on its way down, which the link dialog shows as "closing".
        return m_socket->state() == QAbstractSocket::ConnectedState ? Ansluten : 8;
    }
    return m_server.isListening() ? Lyssnar : Stangd;
}

void TcpPeer::Close() {
    m_server.close();
    slappSocket(true);
}

QString TcpPeer::LocalIP() {
    const auto adresser = QNetworkInterface::allAddresses();
    for (const QHostAddress& a : adresser) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
            return a.toString();
    }
    return QHostAddress(QHostAddress::LocalHost).toString();
}

bool TcpPeer::SendData(const QString& text) {
    if (State() != Ansluten)
        return false;
    const QByteArray bytes = Windows1252::tillBytes(text);
    return m_socket->write(bytes) == bytes.size();
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

    QTcpSocket* s = m_socket;
    connect(s, &QTcpSocket::readyRead, this, [s] { s->readAll(); });
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
    const bool lyssnar = m_server.listen(m_adress, m_port);
    m_g.intSkjutlagPaSkarm = 0;
    emit klientFrankopplad();
    if (!lyssnar)
        hanteraFel(winsockFel(m_server.serverError(), m_server.errorString()));
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
    if (m_g.intAntalTCPFel < MaxAntalFel)
        ++m_g.intAntalTCPFel;
    m_g.strSenasteTCPFel = QString::number(f.nummer()) + QStringLiteral(", ") + f.beskrivning();
    slappSocket(false);
    m_server.close();
    // One attempt; if the port cannot be had now, the link dialog shows the
    // server as closed and "Starta TCP" tries again.
    m_server.listen(m_adress, m_port);
    m_g.intSkjutlagPaSkarm = 0;
    emit socketfel(f.nummer(), f.beskrivning());
}

void TcpPeer::slappSocket(bool vanligt) {
    if (!m_socket)
        return;
    QTcpSocket* s = m_socket;
    m_socket = nullptr;
    s->disconnect(this);
    if (!vanligt) {
        s->abort();
        s->deleteLater();
        return;
    }
    s->disconnectFromHost();
    if (s->state() == QAbstractSocket::UnconnectedState)
        s->deleteLater();
    else
        connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
}
