#pragma once

#include "common/Fel.h"

#include <QAbstractSocket>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpServer>

class QTcpSocket;
class Meddelanden;
class modGlobalt;

// The server that the spectator display program on another PC connects to. It
// serves exactly one display at a time: while one is connected the server stops
// listening, so a second display is refused by the operating system at once and
// the first one never notices. When the display leaves, or the connection fails,
// the server listens again by itself. What the display sends is read and dropped.
//
// The main window owns one of these for the whole run; closing a competition
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

    // Error numbers that the operator sees in messages and in the link dialog.
    static constexpr int FelAtkomstNekad = 10013;
    static constexpr int FelAdressenUpptagen = 10048;
    static constexpr int FelNatverketNere = 10050;

    // The address is for tests, which keep the server on the loopback interface;
    // the program listens on every interface so that the display PC can reach it.
    TcpPeer(modGlobalt& g, quint16 lokalPort = StandardPort, const QHostAddress& adress = QHostAddress::Any,
            QObject* parent = nullptr);
    ~TcpPeer() override;

    // Starts listening unless already listening or connected. Never throws and has
    // no result: a network that is down sets blnTCPStartFel (the caller then leaves
    // the spectator menu disabled for the rest of the run); any other failure is
    // shown to the operator.
    void Starta_winsock_tcp(Meddelanden& meddelanden);

    int State() const;
    // Stops listening and closes the connection to a display (what was already
    // handed over still reaches it); nothing listens again until the next
    // Starta_winsock_tcp.
    void Close();
    quint16 LocalPort() const { return m_port; }
    // This PC's address as the operator types it into the display program: the
    // first IPv4 address that is not loopback, else 127.0.0.1.
    static QString LocalIP();

    // Hands the whole text to the connected display in one write, one byte per
    // character in Windows-1252 as the display program reads it (characters
    // outside that code page become "?"). The text is sent as given: the squad
    // message carries its own line ends and needs no further framing. False when
    // no display is connected or the write was refused; nothing is queued for a
    // display that connects later.
    bool SendData(const QString& text);

    // The error number and Swedish description of a socket error.
    static Fel winsockFel(QAbstractSocket::SocketError fel, const QString& qtText = {});

signals:
    // A display has been accepted; State() is 7.
    void klientAnsluten();
    // The display closed the connection; the server listens again and
    // intSkjutlagPaSkarm is 0.
    void klientFrankopplad();
    // A socket error has been counted and recorded in the state; the connection
    // (if any) is gone, the server listens again when it can, and
    // intSkjutlagPaSkarm is 0.
    void socketfel(int nummer, const QString& beskrivning);

private:
    void nyAnslutning();
    void frankopplad();
    void fel(QAbstractSocket::SocketError fel);
    void acceptFel(QAbstractSocket::SocketError fel);
    // Records an error event and listens again.
    void hanteraFel(const Fel& f);
    // Forgets the connected socket: vanligt lets what has been written reach the
    // display before the line closes, otherwise the line is cut at once.
    void slappSocket(bool vanligt);

    modGlobalt& m_g;
    quint16 m_port;
    QHostAddress m_adress;
    QTcpServer m_server;
    QPointer<QTcpSocket> m_socket;
};
