#pragma once

#include "competition/Tolkprotokoll.h"
#include "settings/Installningsvarden.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>
#include <chrono>

class Meddelanden;
class clsIni;

// The waits of the link test; the tests run them short.
struct Tolkmaskinstider {
    // How long a RIKA is given to answer the start (its three characters).
    static constexpr std::chrono::milliseconds StandardStartsvar{500};
    // The poll comes this long after the start.
    static constexpr std::chrono::milliseconds StandardFrekvens{1000};
    // No answer this long after the start is no contact.
    static constexpr std::chrono::milliseconds StandardTimeout{3000};

    std::chrono::milliseconds startsvar = StandardStartsvar;
    std::chrono::milliseconds frekvens = StandardFrekvens;
    std::chrono::milliseconds timeout = StandardTimeout;
    std::chrono::milliseconds efterSoh = Tolkprotokoll::GransEfterSoh;
};

// The link test of the settings: opens the scoring machine's port, sends the
// model's start, polls once and tells whether the machine answered. It runs on
// the event loop (the port's data and timers), never waits in a loop of its
// own. Whatever way it ends (verdict, failure, avbryt, destruction) its timers
// are off and the port is closed.
class Tolkmaskinstest : public QObject {
    Q_OBJECT
public:
    using Modell = Installningsvarden::Modell;

    using Tider = Tolkmaskinstider;

    enum class Resultat {
        Kontakt,
        IngenKontakt,
        PortSaknas,
        PortNekad,
        // Any other failure of the port: felnummer and felbeskrivning.
        Fel,
    };
    struct Utfall {
        Utfall(Resultat r = Resultat::Kontakt, int nummer = 0, QString beskrivning = {})
            : resultat(r), felnummer(nummer), felbeskrivning(std::move(beskrivning)) {}
        Resultat resultat;
        int felnummer;
        QString felbeskrivning;
    };

    explicit Tolkmaskinstest(Tider tider = {}, QObject* parent = nullptr);
    ~Tolkmaskinstest() override;

    // The device of the port number the operator typed ("" when the text is no
    // number from 1 up), by the program INI's Serieportar.
    static QString enhetForComport(const QString& comport, const clsIni& programIni);

    // Starts a test on the device; klar() tells the outcome, at once when the
    // port cannot be opened. Ignored while a test runs.
    void starta(const QString& enhet, Modell modell);
    // Ends a running test with no verdict.
    void avbryt();
    bool pagar() const { return m_steg != Steg::Vilar; }
    bool portOppen() const { return m_port.isOpen(); }

    // Shows the outcome to the operator as the settings have always shown it.
    static void meddela(Meddelanden& m, const Utfall& utfall);

signals:
    // The test is over: timers off, port closed.
    void klar(const Tolkmaskinstest::Utfall& utfall);

private:
    enum class Steg {
        Vilar,
        // RIKA: the three characters of the answer to the start.
        Startsvar,
        // Timers on, waiting for the poll.
        Igang,
        // The poll is sent, waiting for the answer.
        Svar,
    };

    void lasStartsvar();
    void igang();
    void poll();
    void lasSvar();
    void timeout();
    void portfel(QSerialPort::SerialPortError fel);
    // Sends; false when the port failed and the test has ended.
    bool skicka(const QByteArray& byte);
    void avsluta();
    void domslut(const Utfall& utfall);

    Tider m_tider;
    Modell m_modell = Modell::Sam4000;
    Steg m_steg = Steg::Vilar;
    QSerialPort m_port;
    QTimer m_startsvar;
    QTimer m_frekvens;
    QTimer m_timeout;
    QTimer m_efterSoh;
    int m_startsvarLast = 0;
    QByteArray m_buffert;
};
