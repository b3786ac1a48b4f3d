#pragma once

#include "competition/Tolkprotokoll.h"
#include "entry/scoring_machine/Tavelsvar.h"
#include "platform/Meddelanden.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>

class modGlobalt;

// The waits of the link; tests run them short.
struct Tolklankstider {
    std::chrono::milliseconds frekvens{1000};     // between polls
    std::chrono::milliseconds timeout{3000};      // no frame begun this long: no contact
    std::chrono::milliseconds omstart{200};       // after a saved card, before the next start
    std::chrono::milliseconds rikaStartsvar{500}; // the RIKA's answer to its start
    std::chrono::milliseconds efterRamstart = Tolkprotokoll::GransEfterSoh; // a begun frame must end
};

// The link of result entry to the scoring machine (SAM 4000 or RIKA) on its
// serial port. Event-driven on the port's data and its timers: nothing here
// waits in a loop of its own. The operator marks a series and presses Enter:
// the port opens, the model's start goes out, a poll every second gathers the
// answer, a whole frame with a good check character is acknowledged, checked
// and read, and tavelsvar() hands the series to the window, which saves it and
// calls startaOmSenare(). Stop, Escape, a time-out, a second bad check
// character, switching squads and closing the window close the port.
class Tolklank : public QObject {
    Q_OBJECT
public:
    using Tider = Tolklankstider;
    enum class Bild { Ingen, ComConn, ComOkRec, ComOkSend, NoComConn };

    Tolklank(modGlobalt& g, Meddelanden& m, Tider tider = {}, QObject* parent = nullptr);
    ~Tolklank() override;

    // The window says whether a series field has the focus (where a card goes).
    std::function<bool()> serieMarkerad;

    // Enter on a series field (and the restart after a saved card): a full start,
    // or a restart when the restart timer brought it here.
    void HamtaResFranTolkmaskin();
    // Switching squads, closing the window: the stop byte, the port closed.
    void AvbrytKommTolkmaskin();
    // Escape during a read: RIKA gets its stop byte, the port is closed.
    void avbrytMedEscape();
    // A card read from the machine has been saved: the next start comes after
    // the restart wait.
    void startaOmSenare();
    // A card could not be saved: the link waits for Enter again.
    void sparningMisslyckades();

    // A read runs (the poll is on): keys in the series fields are refused.
    bool lasningPagar() const;
    // The last read was ended by Stop or Escape (cleared by the next start).
    bool avbruten() const { return m_avbryt; }
    bool portOppen() const { return m_port.isOpen(); }
    QString statustext() const { return m_status; }
    Bild bild() const { return m_bild; }

    inline static const QString VilaText =
        QStringLiteral("Tryck på Enter för att ta emot resultat från tolkmaskin.");
    inline static const QString StartText =
        QStringLiteral("Kör in tavlan i tolkmaskinen... Tryck ESC för att avbryta.");
    inline static const QString SparaText =
        QStringLiteral("Sparar resultat och startar om kommunikationen med tolkmaskinen.");
    inline static const QString OmstartText = QStringLiteral("Startar om kommunikationen med tolkmaskinen.");
    // The picture's name in Grafik ("ComConn" ...), "" for none.
    static QString bildnamn(Bild bild);

signals:
    void statusAndrad(const QString& text, Tolklank::Bild bild);
    // A checked and read card, to be saved into the marked series.
    void tavelsvar(int serie, const QString& skottstrang);

private:
    enum class Steg {
        // Nothing runs; the port is closed, or open and idle after a refused card.
        Vilar,
        // RIKA: its three characters of answer to the start.
        Startsvar,
        // The poll timer runs; between polls.
        Vantar,
        // A poll is sent and its answer is being gathered.
        Samlar,
        // A card went to the window, which saves it.
        Sparar,
        // The card is saved; the restart comes.
        Omstart,
    };

    void starta(bool omstart);
    // The start could not be made: told, and nothing runs.
    void startfel(const QString& text, const QString& titel, Meddelanden::Ikon ikon);
    void lasStartsvar();
    void installningar();
    void igang();
    void poll();
    void samla();
    void helRam();
    void timeout();
    void portfel(quint64 session, QSerialPort::SerialPortError fel);
    // Lost contact: a time-out, or the device went away.
    void ingenKontakt();
    // Sends one step of the talk at once, so that it leaves in order even when
    // the port is closed right after.
    void skicka(const QByteArray& byte);
    void skicka(char byte) { skicka(QByteArray(1, byte)); }
    void startaTimeout(std::chrono::milliseconds tid);
    void stoppaTimrar();
    void stangPort();
    void sattStatus(const QString& text, Bild bild);

    modGlobalt& m_g;
    Meddelanden& m_m;
    Tider m_tider;
    QSerialPort m_port;
    QString m_status;
    Bild m_bild = Bild::Ingen;

    Steg m_steg = Steg::Vilar;
    Tavelsvar::Modell m_modell = Tavelsvar::Modell::Sam4000;
    QTimer m_frekvens;
    QTimer m_timeout;
    QTimer m_omstart;
    QTimer m_startsvarTid;
    QByteArray m_buffert;
    QByteArray m_startsvar;
    // Counts the openings of the port, so that a failure reported late by a
    // port since closed is not taken for one of the port now open.
    quint64 m_session = 0;
    bool m_avbryt = false;
    bool m_upprepat = false;
    bool m_ramBorjad = false;
    bool m_visaComOkRec = false;
    bool m_timeoutUppskjuten = false;
};
