#include "spectator/Askadarflode.h"

#include "platform/Meddelanden.h"
#include "shell/modGlobalt.h"
#include "spectator/SkapaTCPData.h"

#include <exception>
#include <new>

Askadarflode::Askadarflode(modGlobalt& g, Meddelanden& m, quint16 port, const QHostAddress& adress,
                           TcpPeer::Granser granser, QObject* parent)
    : QObject(parent), m_g(g), m_m(m), m_peer(g, port, adress, granser) {
    connect(&m_peer, &TcpPeer::klientAnsluten, this, [this] {
        m_forstaPaAnslutningen = true;
        emit klientAnsluten();
        emit tillstandAndrat();
        // Not inside the socket's own handler: the question waits in an event
        // loop of its own, during which this display may leave and others come.
        QMetaObject::invokeMethod(this, &Askadarflode::erbjudByte, Qt::QueuedConnection);
    });
    connect(&m_peer, &TcpPeer::klientFrankopplad, this, &Askadarflode::slut);
    connect(&m_peer, &TcpPeer::socketfel, this, &Askadarflode::slut);
    connect(&m_peer, &TcpPeer::felRaknat, this, &Askadarflode::felAndrat);
}

Askadarflode::~Askadarflode() = default;

bool Askadarflode::ansluten() const {
    return m_peer.State() == TcpPeer::Ansluten;
}

bool Askadarflode::visaSkjutlag(int skjutlag) {
    if (skjutlag <= 0 || !ansluten())
        return false;
    const int alla = SkapaTCPData::allaBanor(m_g.iniTavling) ? 1 : 0;
    const bool omritning =
        alla != m_senastAllaBanor || m_tvingaOmritning || m_forstaPaAnslutningen || m_forstaForTavlingen;
    QString meddelande;
    auto misslyckat = [this](int nummer, const QString& beskrivning) {
        m_peer.raknaFel(QStringLiteral("SkapaTCPData: ") + QString::number(nummer) + QLatin1Char(' ') +
                        beskrivning);
        return false;
    };
    try {
        meddelande = SkapaTCPData::bygg(m_g, skjutlag, alla == 1, omritning);
    } catch (const Fel& f) {
        return misslyckat(f.nummer(), f.beskrivning());
    } catch (const std::bad_alloc&) {
        return misslyckat(7, QStringLiteral("Slut på minne"));
    } catch (const std::exception& e) {
        return misslyckat(5, QStringLiteral("Ogiltigt proceduranrop eller argument (%1)")
                                 .arg(QString::fromLocal8Bit(e.what())));
    }
    if (!m_peer.SendData(meddelande))
        return false;
    m_senastAllaBanor = alla;
    m_tvingaOmritning = false;
    m_forstaPaAnslutningen = false;
    m_forstaForTavlingen = false;
    m_g.intSkjutlagPaSkarm = skjutlag;
    return true;
}

QString Askadarflode::bytesfraga(int skjutlagPaSkarm) {
    return QStringLiteral("Vill du byta till det här skjutlaget på åskådarskärmen?\r\n"
                          "Aktuellt skjutlag på den är för närvarande: ") +
           QString::number(skjutlagPaSkarm);
}

bool Askadarflode::fragaOmByte(int skjutlag) {
    if (skjutlag <= 0 || m_fragaOppen || !ansluten())
        return false;
    const quint64 anslutning = m_peer.anslutningsnummer();
    // This display has been asked now, whoever asked.
    m_erbjuden = anslutning;
    m_fragaOppen = true;
    m_fragetext = bytesfraga(m_g.intSkjutlagPaSkarm);
    const Meddelanden::Svar svar = m_m.visa(m_fragetext, QStringLiteral("Åskådarskärm"),
                                            Meddelanden::Ikon::Fraga, Meddelanden::Knappar::JaNej);
    m_fragaOppen = false;
    // A display that connected while the question was open has not been asked yet.
    QMetaObject::invokeMethod(this, &Askadarflode::erbjudByte, Qt::QueuedConnection);
    return svar == Meddelanden::Svar::Ja && ansluten() && m_peer.anslutningsnummer() == anslutning;
}

bool Askadarflode::visaOppnatSkjutlag(int skjutlag) {
    if (!ansluten())
        return false;
    const int paSkarm = m_g.intSkjutlagPaSkarm;
    if (paSkarm != 0 && paSkarm != skjutlag && !fragaOmByte(skjutlag))
        return false;
    return visaSkjutlag(skjutlag);
}

void Askadarflode::begarOmritning(bool omritning) {
    m_tvingaOmritning = omritning;
}

void Askadarflode::tavlingOppnad() {
    m_forstaForTavlingen = true;
    m_senastAllaBanor = 0;
    Starta_winsock_tcp();
}

void Askadarflode::Starta_winsock_tcp() {
    m_peer.Starta_winsock_tcp(m_m);
    emit tillstandAndrat();
}

void Askadarflode::stoppa() {
    m_peer.Close();
    m_g.intSkjutlagPaSkarm = 0;
    slut();
}

void Askadarflode::slut() {
    // The question about a display that has gone answers itself: No.
    if (m_fragaOppen)
        m_m.stangFraga(m_fragetext);
    emit anslutningSlut();
    emit tillstandAndrat();
}

void Askadarflode::erbjudByte() {
    if (m_fragaOppen || !ansluten() || m_erbjuden == m_peer.anslutningsnummer())
        return;
    m_erbjuden = m_peer.anslutningsnummer();
    const int valt = m_g.intValtSkjutlag;
    // The screen shows nothing on a new connection, so the question names squad
    // 0 unless something was sent already.
    if (!resultatinskrivningOppen() || valt == 0 || valt == m_g.intSkjutlagPaSkarm)
        return;
    if (fragaOmByte(valt) && resultatinskrivningOppen() && m_g.intValtSkjutlag == valt)
        visaSkjutlag(valt);
}
