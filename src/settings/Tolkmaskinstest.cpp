#include "settings/Tolkmaskinstest.h"

#include "common/Fel.h"
#include "common/Konvertering.h"
#include "platform/Meddelanden.h"
#include "platform/Serieport.h"

namespace P = Tolkprotokoll;

Tolkmaskinstest::Tolkmaskinstest(Tider tider, QObject* parent) : QObject(parent), m_tider(tider) {
    m_startsvar.setSingleShot(true);
    m_startsvar.setInterval(m_tider.startsvar);
    // One poll carries the whole exchange: it always ends in a verdict.
    m_frekvens.setSingleShot(true);
    m_frekvens.setInterval(m_tider.frekvens);
    m_timeout.setInterval(m_tider.timeout);
    m_efterSoh.setSingleShot(true);
    m_efterSoh.setInterval(m_tider.efterSoh);

    connect(&m_startsvar, &QTimer::timeout, this, &Tolkmaskinstest::igang);
    connect(&m_frekvens, &QTimer::timeout, this, &Tolkmaskinstest::poll);
    connect(&m_timeout, &QTimer::timeout, this, &Tolkmaskinstest::timeout);
    connect(&m_efterSoh, &QTimer::timeout, this, [this] { domslut({Resultat::IngenKontakt}); });
    connect(&m_port, &QSerialPort::readyRead, this, [this] {
        if (m_steg == Steg::Startsvar)
            lasStartsvar();
        else if (m_steg == Steg::Svar)
            lasSvar();
        // Otherwise what comes stays in the port until the poll reads it.
    });
    connect(&m_port, &QSerialPort::errorOccurred, this, &Tolkmaskinstest::portfel);
}

Tolkmaskinstest::~Tolkmaskinstest() {
    avsluta();
}

QString Tolkmaskinstest::enhetForComport(const QString& comport, const clsIni& programIni) {
    if (comport.trimmed().isEmpty())
        return {};
    try {
        return serieportEnhet(Konvertering::textTillHeltal(comport), programIni);
    } catch (const Fel&) {
        return {};
    }
}

void Tolkmaskinstest::starta(const QString& enhet, Modell modell) {
    if (pagar())
        return;
    m_modell = modell;
    m_buffert.clear();
    m_startsvarLast = 0;
    if (const auto fel = oppnaSerieport(m_port, enhet)) {
        Utfall u;
        u.resultat = fel->lage == Serieportlage::Saknas  ? Resultat::PortSaknas
                     : fel->lage == Serieportlage::Nekad ? Resultat::PortNekad
                                                         : Resultat::Fel;
        u.felnummer = fel->nummer;
        u.felbeskrivning = fel->beskrivning;
        emit klar(u);
        return;
    }
    // Left over from an earlier use of the port; not the machine's answer to us.
    m_port.clear();
    if (modell == Modell::Sam4000) {
        m_steg = Steg::Igang;
        // Bar codes are never offered, so the start is the one without them.
        if (!skicka(QByteArray(1, P::SamStart)) || !skicka(QByteArray(1, P::Ack)))
            return;
        igang();
    } else {
        m_steg = Steg::Startsvar;
        if (!skicka(QByteArray(1, P::RikaStart)) || !skicka(QByteArray(1, P::RikaStart2)))
            return;
        m_startsvar.start();
    }
}

void Tolkmaskinstest::lasStartsvar() {
    // Only the three characters of the answer are read; whatever follows is
    // thrown away by the poll.
    const QByteArray last = m_port.read(P::RikaStartsvarLangd - m_startsvarLast);
    m_startsvarLast += last.size();
    if (m_startsvarLast >= P::RikaStartsvarLangd)
        igang();
}

void Tolkmaskinstest::igang() {
    m_startsvar.stop();
    m_steg = Steg::Igang;
    m_frekvens.start();
    m_timeout.start();
}

void Tolkmaskinstest::poll() {
    if (m_steg != Steg::Igang)
        return;
    m_steg = Steg::Svar;
    m_buffert.clear();
    if (m_modell == Modell::Sam4000) {
        // What the machine said since the start counts too.
        if (!skicka(QByteArray(1, P::Enq)))
            return;
    } else {
        m_port.readAll();
        if (!skicka(QByteArray(1, P::Syn)))
            return;
    }
    lasSvar();
}

void Tolkmaskinstest::lasSvar() {
    m_buffert += m_port.readAll();
    if (m_modell == Modell::Sam4000) {
        // A machine with a card in it answers with its frame instead of NAK.
        if (m_buffert.contains(P::Nak) || m_buffert.contains(P::SamRamslut))
            domslut({Resultat::Kontakt});
        return;
    }
    // A card on its way: the time-out no longer applies, the bound after SOH does.
    if (m_buffert.contains(P::Soh) && m_timeout.isActive()) {
        m_timeout.stop();
        m_efterSoh.start();
    }
    const qsizetype eot = m_buffert.indexOf(P::Eot);
    if (m_buffert.contains(P::Nul) || (eot >= 0 && eot + 1 < m_buffert.size()))
        domslut({Resultat::Kontakt});
}

void Tolkmaskinstest::timeout() {
    // Before the poll there is nothing to wait for yet; the next tick counts.
    if (m_steg == Steg::Svar)
        domslut({Resultat::IngenKontakt});
}

void Tolkmaskinstest::portfel(QSerialPort::SerialPortError fel) {
    if (fel == QSerialPort::NoError || m_steg == Steg::Vilar)
        return;
    const Serieportfel f = serieportfel(m_port);
    domslut({Resultat::Fel, f.nummer, f.beskrivning});
}

bool Tolkmaskinstest::skicka(const QByteArray& byte) {
    if (m_port.write(byte) != byte.size() && m_steg != Steg::Vilar) {
        const Serieportfel f = serieportfel(m_port);
        domslut({Resultat::Fel, f.nummer, f.beskrivning});
    }
    return m_steg != Steg::Vilar;
}

void Tolkmaskinstest::avbryt() {
    avsluta();
}

void Tolkmaskinstest::avsluta() {
    m_steg = Steg::Vilar;
    m_startsvar.stop();
    m_frekvens.stop();
    m_timeout.stop();
    m_efterSoh.stop();
    if (m_port.isOpen())
        m_port.close();
}

void Tolkmaskinstest::domslut(const Utfall& utfall) {
    avsluta();
    emit klar(utfall);
}

void Tolkmaskinstest::meddela(Meddelanden& m, const Utfall& utfall) {
    using Ikon = Meddelanden::Ikon;
    switch (utfall.resultat) {
    case Resultat::Kontakt:
        m.visa(QStringLiteral("Kommunikationen med tolkmaskinen fungerar!"),
               QStringLiteral("Kommunikation OK"), Ikon::Information);
        break;
    case Resultat::IngenKontakt:
        m.visa(QStringLiteral("Ingen kontakt med tolkmaskinen!\r\rProva en annan Com port\r"
                              "och att kabeln sitter i ordentligt."),
               QStringLiteral("Kommunikationsfel!"), Ikon::Kritisk);
        break;
    case Resultat::PortSaknas:
        m.visa(QStringLiteral("Du har valt en Com port som inte finns!\rÄndra Com port och prova igen."),
               QStringLiteral("Fel inställningar"), Ikon::Kritisk);
        break;
    case Resultat::PortNekad:
        m.visa(QStringLiteral("Du har inte behörighet att använda datorns serieportar.\r"
                              "Be datorns administratör att lägga till dig i gruppen dialout "
                              "och logga sedan ut och in igen."),
               QStringLiteral("Fel inställningar"), Ikon::Kritisk);
        break;
    case Resultat::Fel:
        m.visa(QStringLiteral("frmInställningar_TestaKommTolkmaskin\r") + QString::number(utfall.felnummer) +
               QLatin1Char(' ') + utfall.felbeskrivning);
        break;
    }
}
