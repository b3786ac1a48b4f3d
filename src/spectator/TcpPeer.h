#pragma once

#include "common/Fel.h"

#include <QAbstractSocket>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;
class Meddelanden;
class modGlobalt;

// What a spectator display may hold up (TcpPeer::Granser).
struct TcpGranser {
    // Bytes that may wait unsent for the display before it is cut off.
    qint64 maxOskickat = 1024 * 1024;
    // What is read at a time of whatever the display sends (and dropped).
    qint64 lasbuffert = 64 * 1024;
    // How long a stopped connection may go on delivering what was handed to it.
    int stangningMs = 2000;
};

// The server that the spectator display program on another PC connects to. It
// serves exactly one display at a time: while one is connected the server stops
// listening, so a second display is refused by the operating system at once and
// the first one never notices. When the display leaves, or the connection fails,
// the server listens again by itself. What the display sends is read and dropped.
//
// A display is a program on somebody else's PC: it may stop reading, flood us, or
// vanish with its PC. None of that may hold up the operator, so what waits for it
// is bounded, what it sends is never kept, and a vanished PC is noticed by the
// operating system within about a minute.
//
// The spectator feed owns one of these for the whole run; closing a competition
// leaves it alone, so a connected display stays connected.
class TcpPeer : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 StandardPort = 34587;

    // The states that the rest of the program tests for, numbered as the display
    // link has always numbered them (the link dialog shows the number).
    static constexpr int Stangd = 0;
    static constexpr int Lyssnar = 2;
    static constexpr int Ansluten = 7;
    static constexpr int Stanger = 8;

    // Error numbers that the operator sees in messages and in the link dialog.
    static constexpr int FelAtkomstNekad = 10013;
    static constexpr int FelAdressenUpptagen = 10048;
    static constexpr int FelNatverketNere = 10050;
    static constexpr int FelTarInteEmot = 10055;

    // How long an idle connection goes before the system starts asking whether
    // the display PC is still there, how often it asks, how many unanswered
    // questions end it, and how long sent data may stay unacknowledged: together
    // a PC that vanished without a word frees the connection within a minute.
    static constexpr int KeepaliveTomgangSek = 30;
    static constexpr int KeepaliveIntervallSek = 10;
    static constexpr int KeepaliveAntal = 3;
    static constexpr int AnvandarTidsgransMs = 60000;

    // What a display may hold up. Tests make them small to get there quickly.
    using Granser = TcpGranser;

    // The address is for tests, which keep the server on the loopback interface;
    // the program listens on every interface so that the display PC can reach it.
    TcpPeer(modGlobalt& g, quint16 lokalPort = StandardPort, const QHostAddress& adress = QHostAddress::Any,
            Granser granser = Granser(), QObject* parent = nullptr);
    // A stopped connection still delivering gets what is left of its time, then
    // it is cut.
    ~TcpPeer() override;

    // Starts listening unless already listening or connected. Never throws and has
    // no result: a network that is down sets blnTCPStartFel (the caller then leaves
    // the spectator menu disabled for the rest of the run); any other failure is
    // shown to the operator, description first, then the number.
    void Starta_winsock_tcp(Meddelanden& meddelanden);

    int State() const;
    // Stops listening and closes the connection to a display: what was already
    // handed over still reaches it, unless the display has not taken it within
    // stangningMs; then the line is cut. Nothing listens again until the next
    // Starta_winsock_tcp.
    void Close();
    quint16 LocalPort() const { return m_port; }
    // Counts the connections accepted since the start, so that whoever asked
    // something for one display can tell it is still the same one.
    quint64 anslutningsnummer() const { return m_anslutningsnummer; }

    // This PC's IPv4 addresses as the operator types one into the display
    // program: first that of the interface the default route goes through (the
    // one the display PC most likely shares), then the others; never loopback
    // unless there is nothing else (then 127.0.0.1 alone).
    static QStringList LocalIPs();
    static QString LocalIP() { return LocalIPs().value(0); }
    // The interface of the default route in the text of /proc/net/route, "" for
    // none (the lowest metric wins).
    static QString standardgranssnitt(const QByteArray& routetabell);

    // The link dialog's text for a state number: "7, Ansluten"; 3 to 5 as the bare
    // digit, unknown numbers "".
    static QString statustext(int tillstand);

    // Hands the whole text to the connected display in one write, one byte per
    // character in Windows-1252 as the display program reads it (characters
    // outside that code page become "?"). The text is sent as given: the squad
    // message carries its own line ends and needs no further framing. False when
    // no display is connected, the write was refused, or the display has left more
    // than maxOskickat unread: it is then cut off as a socket error.
    bool SendData(const QString& text);

    // Counts an error of the link (up to the largest count the dialog shows) and
    // records its text as the last error. Both are kept for the whole run, for
    // the link dialog.
    void raknaFel(const QString& senasteFel);
    int antalFel() const { return m_antalFel; }
    const QString& senasteFel() const { return m_senasteFel; }

    // The error number and Swedish description of a socket error.
    static Fel winsockFel(QAbstractSocket::SocketError fel, const QString& qtText = {});

signals:
    // A display has been accepted; State() is 7.
    void klientAnsluten();
    // The display closed the connection (politely or by a reset); the server
    // listens again and intSkjutlagPaSkarm is 0.
    void klientFrankopplad();
    // A socket error has been counted and recorded as the last error; the connection
    // (if any) is gone, the server listens again when it can, and
    // intSkjutlagPaSkarm is 0.
    void socketfel(int nummer, const QString& beskrivning);
    // The error count or the last error changed.
    void felRaknat();

private:
    void nyAnslutning();
    void frankopplad();
    void fel(QAbstractSocket::SocketError fel);
    void acceptFel(QAbstractSocket::SocketError fel);
    // Records an error event, lets the display go and listens again.
    void hanteraFel(const Fel& f);
    // Listens again after a connection ended; a failure is counted.
    void lyssnaIgen();
    // Forgets the connected socket: vanligt lets what has been written reach the
    // display before the line closes (for stangningMs at most), otherwise the line
    // is cut at once.
    void slappSocket(bool vanligt);

    modGlobalt& m_g;
    quint16 m_port;
    QHostAddress m_adress;
    Granser m_granser;
    QTcpServer m_server;
    QPointer<QTcpSocket> m_socket;
    quint64 m_anslutningsnummer = 0;
    int m_antalFel = 0;
    QString m_senasteFel;
};
