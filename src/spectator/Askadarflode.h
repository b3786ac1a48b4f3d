#pragma once

#include "spectator/TcpPeer.h"

#include <QObject>
#include <functional>

class Meddelanden;
class modGlobalt;

// The spectator feed: the link to the display program and everything that
// decides what it is sent. Result entry, the squad-on-screen dialog and the
// connection itself all go through here, and only here is the squad on screen
// (intSkjutlagPaSkarm) set after a send.
//
// Nothing here ever stops the operator with a box of its own except the one
// question whether to switch the screen to another squad: a failure of the feed
// is counted and recorded for the link dialog.
//
// The program makes one for the whole run and hands it to the main window and to
// the parts that use it.
class Askadarflode : public QObject {
    Q_OBJECT
public:
    // Port, address and bounds are parameters so that tests keep to loopback, a
    // free port and small bounds.
    Askadarflode(modGlobalt& g, Meddelanden& m, quint16 port = TcpPeer::StandardPort,
                 const QHostAddress& adress = QHostAddress::Any,
                 TcpPeer::Granser granser = TcpPeer::Granser(), QObject* parent = nullptr);
    ~Askadarflode() override;

    modGlobalt& g() const { return m_g; }
    TcpPeer& tcpPeer() { return m_peer; }
    const TcpPeer& tcpPeer() const { return m_peer; }

    // --- For result entry ---

    // Whether a display is connected now.
    bool ansluten() const;
    // Builds the squad's message and sends it to the connected display. Only a
    // message that was sent makes the squad the one on screen and settles the
    // redraw state. False when nothing was sent: no display, no squad, the build
    // failed (counted and recorded as the last error, never shown in a box), or
    // the display was cut off for not reading.
    bool visaSkjutlag(int skjutlag);
    // The one question whether the display should switch to another squad (the
    // text names the squad on screen now). True only for Yes while the display
    // that was connected when it was asked is still connected. Never more than one
    // is open: while one is, this answers false without asking. The question is
    // closed as No when its display leaves.
    bool fragaOmByte(int skjutlag);
    // What result entry does when it has opened or switched to a squad: with a
    // display connected the squad is sent at once when the screen shows nothing
    // or that squad, otherwise only after Yes to the switch question. True when
    // it was sent.
    bool visaOppnatSkjutlag(int skjutlag);
    // The squad picker asks for the next message to make the display redraw the
    // whole screen (a newly opened result entry), or takes that back (a switch
    // of the open one). A new display gets a redraw whatever is asked here.
    void begarOmritning(bool omritning);
    bool fragaOppen() const { return m_fragaOppen; }
    // Whether the next message makes the display redraw because it was asked to.
    bool omritningBegard() const { return m_tvingaOmritning; }
    // The lane choice ("all lanes" 1, else 0) of the last message sent.
    int senastAllaBanor() const { return m_senastAllaBanor; }

    // Whether the result-entry window is open; the window host answers (the
    // spectator part's registration asks it). Without an answer: not open.
    void sattInskrivningsfraga(std::function<bool()> oppen) { m_inskrivningOppen = std::move(oppen); }
    bool resultatinskrivningOppen() const { return m_inskrivningOppen && m_inskrivningOppen(); }

    // --- For the shell and the link dialog ---

    // A competition has been opened: listening starts (if it has not) and the
    // first message sent for it makes the display redraw.
    void tavlingOppnad();
    // Starts listening unless listening or connected (see TcpPeer).
    void Starta_winsock_tcp();
    // "Stoppa TCP": the display is let go, nothing listens, the screen shows no
    // known squad.
    void stoppa();
    // The link dialog's text for the state now.
    QString Status_TCP() const { return TcpPeer::statustext(m_peer.State()); }
    // The link's errors since the program started: how many, and the last one's
    // text (a socket error, or a message that could not be built).
    int antalFel() const { return m_peer.antalFel(); }
    const QString& senasteFel() const { return m_peer.senasteFel(); }

    static QString bytesfraga(int skjutlagPaSkarm);

signals:
    // A display has been accepted.
    void klientAnsluten();
    // The display is gone: it left, failed, was cut off or stopped.
    void anslutningSlut();
    // The link's state may have changed (listening, connected, closed).
    void tillstandAndrat();
    // The error count or the last error changed.
    void felAndrat();

private:
    // The question a new display is asked once: switch to the squad open in
    // result entry? Run from the event loop, and again after a question closes,
    // for a display that came while another question was open.
    void erbjudByte();
    void slut();

    modGlobalt& m_g;
    Meddelanden& m_m;
    TcpPeer m_peer;
    // Redraw demands that only a sent message settles: a display that has had
    // nothing yet, and a competition that has had nothing sent yet.
    bool m_forstaPaAnslutningen = false;
    bool m_forstaForTavlingen = true;
    bool m_fragaOppen = false;
    QString m_fragetext; // the switch question while it is open
    quint64 m_erbjuden = 0;
    // The lane choice of the last message: a change makes the display redraw.
    int m_senastAllaBanor = 0;
    bool m_tvingaOmritning = false;
    std::function<bool()> m_inskrivningOppen;
};
