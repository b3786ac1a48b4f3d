#include "entry/scoring_machine/Tolklank.h"

#include "common/Fel.h"
#include "common/IniNamn.h"
#include "common/Konvertering.h"
#include "platform/Serieport.h"
#include "shell/modGlobalt.h"

namespace P = Tolkprotokoll;
using Modell = Tavelsvar::Modell;
using Ikon = Meddelanden::Ikon;

namespace {

// What only the link of result entry says to the machines; the rest is shared
// with the settings' link test.
constexpr char SamStopp = '\xB0';
constexpr char RikaStopp = '\xD0';
// RIKA asks for a card again with BS and acknowledges with FF, the byte it
// also starts with.
constexpr char RikaIgen = 0x08;
constexpr char RikaKvittens = P::RikaStart;
constexpr char Esc = 0x1B;
constexpr char Cr = 0x0D;

char kvittens(Modell modell) {
    return modell == Modell::Rika ? RikaKvittens : P::Ack;
}
char stoppbyte(Modell modell) {
    return modell == Modell::Rika ? RikaStopp : SamStopp;
}

QString installning(const modGlobalt& g, const IniNyckel& nyckel) {
    return g.iniTavling.GetKeyValue(nyckel.sektion, nyckel.nyckel, nyckel.standard);
}

const QString Installningsfel = QStringLiteral("Fel inställningar");

} // namespace

Tolklank::Tolklank(modGlobalt& g, Meddelanden& m, Tider tider, QObject* parent)
    : QObject(parent), m_g(g), m_m(m), m_tider(tider), m_status(VilaText) {
    m_frekvens.setInterval(m_tider.frekvens);
    m_timeout.setSingleShot(true);
    m_omstart.setSingleShot(true);
    m_omstart.setInterval(m_tider.omstart);
    m_startsvarTid.setSingleShot(true);
    m_startsvarTid.setInterval(m_tider.rikaStartsvar);

    connect(&m_frekvens, &QTimer::timeout, this, &Tolklank::poll);
    connect(&m_timeout, &QTimer::timeout, this, &Tolklank::timeout);
    connect(&m_omstart, &QTimer::timeout, this, [this] { starta(true); });
    connect(&m_startsvarTid, &QTimer::timeout, this, [this] {
        if (m_steg == Steg::Startsvar)
            installningar();
    });
    connect(&m_port, &QSerialPort::readyRead, this, [this] {
        if (m_steg == Steg::Startsvar)
            lasStartsvar();
        else if (m_steg == Steg::Samlar)
            samla();
        // Otherwise what comes waits in the port for the next poll.
    });
    // A failure may be reported in the middle of a write or a close; it is
    // handled once that step is over, and only for the port it came from.
    connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError fel) {
        const quint64 session = m_session;
        QMetaObject::invokeMethod(
            this, [this, session, fel] { portfel(session, fel); }, Qt::QueuedConnection);
    });
}

Tolklank::~Tolklank() {
    stoppaTimrar();
    stangPort();
}

QString Tolklank::bildnamn(Bild bild) {
    switch (bild) {
    case Bild::ComConn:
        return QStringLiteral("ComConn");
    case Bild::ComOkRec:
        return QStringLiteral("ComOkRec");
    case Bild::ComOkSend:
        return QStringLiteral("ComOkSend");
    case Bild::NoComConn:
        return QStringLiteral("NoComConn");
    case Bild::Ingen:
        break;
    }
    return {};
}

bool Tolklank::lasningPagar() const {
    return m_steg == Steg::Startsvar || m_steg == Steg::Vantar || m_steg == Steg::Samlar;
}

void Tolklank::HamtaResFranTolkmaskin() {
    // Enter is refused while a read runs; a second start would only muddle it.
    if (lasningPagar())
        return;
    starta(false);
}

void Tolklank::starta(bool omstart) {
    m_omstart.stop();
    m_buffert.clear();

    const QString model = installning(m_g, Ini::Model);
    const Modell modell = Tavelsvar::modellAv(model);
    if (modell == Modell::Okand) {
        startfel(QStringLiteral("Okänd tolkmaskin i inställningarna: ") + model, Installningsfel,
                 Ikon::Kritisk);
        return;
    }

    if (!m_port.isOpen()) {
        QString enhet;
        try {
            enhet =
                serieportEnhet(Konvertering::textTillHeltal(installning(m_g, Ini::Comport)), m_g.iniProgram);
        } catch (const Fel& f) {
            startfel(QStringLiteral("frmResultatinskrivning_HämtaResFrånTolkmaskin\r") + f.text(), {},
                     Ikon::Ingen);
            return;
        }
        ++m_session;
        if (const auto fel = oppnaSerieport(m_port, enhet, installning(m_g, Ini::Settings))) {
            if (fel->lage == Serieportlage::Saknas)
                startfel(QStringLiteral(
                             "Du har valt en Com port som inte finns!\rÄndra Com port i inställningarna."),
                         Installningsfel, Ikon::Kritisk);
            else if (fel->lage == Serieportlage::Nekad)
                startfel(QStringLiteral("Du har inte behörighet att använda ") + enhet +
                             QStringLiteral(".\rAnvändaren måste vara med i gruppen dialout."),
                         Installningsfel, Ikon::Kritisk);
            else if (fel->nummer == QSerialPort::PermissionError)
                startfel(QStringLiteral("Com porten används redan av ett annat program."), Installningsfel,
                         Ikon::Kritisk);
            else
                startfel(QStringLiteral("frmResultatinskrivning_HämtaResFrånTolkmaskin\r") +
                             QString::number(fel->nummer) + QLatin1Char(' ') + fel->beskrivning,
                         {}, Ikon::Ingen);
            return;
        }
    }
    // The machines say nothing unasked: what lies in the port (from before it
    // was ours, or since a card was refused) answers nothing we are about to say.
    m_port.clear(QSerialPort::Input);
    m_modell = modell;
    m_avbryt = false;

    if (modell == Modell::Rika) {
        skicka(P::RikaStart);
        if (!omstart) {
            // The machine answers its start with three characters, which say
            // nothing we use; the set-up waits for them, but not for ever.
            m_steg = Steg::Startsvar;
            m_startsvar.clear();
            skicka(P::RikaStart2);
            m_startsvarTid.start();
            return;
        }
        installningar();
        return;
    }

    if (!omstart) {
        double streckkod = 0;
        try {
            streckkod = Konvertering::textTillDecimal(installning(m_g, Ini::Barcode));
        } catch (const Fel&) {
            // Not a number: no bar codes.
        }
        skicka(streckkod == 1 ? P::SamStartMedStreckkod : P::SamStart);
    }
    skicka(P::Ack);
    igang();
}

void Tolklank::startfel(const QString& text, const QString& titel, Meddelanden::Ikon ikon) {
    // A restart that fails leaves nothing running: the status says so too.
    stoppaTimrar();
    m_steg = Steg::Vilar;
    sattStatus(VilaText, Bild::Ingen);
    m_m.visa(text, titel, ikon);
}

void Tolklank::lasStartsvar() {
    // Exactly three characters are the answer; more than that is something
    // else, and the start then waits its whole time before it goes on.
    m_startsvar += m_port.readAll();
    if (m_startsvar.size() == P::RikaStartsvarLangd)
        installningar();
}

void Tolklank::installningar() {
    m_startsvarTid.stop();
    // Whether the machine gives decimals follows the same setting that result
    // entry counts by, so that the two always agree; a text that is neither
    // "0" nor "1" leaves the machine as it is set up by hand.
    const QString decimaler = installning(m_g, Ini::DecimalerRika);
    if (decimaler == QLatin1String("0") || decimaler == QLatin1String("1")) {
        for (const char* kommando : {"S5", "T0", "U1"})
            skicka(Esc + QByteArray(kommando) + Cr);
        skicka(Esc + QByteArray("Z") + decimaler.toLatin1() + Cr);
    }
    igang();
}

void Tolklank::igang() {
    m_steg = Steg::Vantar;
    m_frekvens.start();
    startaTimeout(m_tider.timeout);
    sattStatus(StartText, Bild::ComConn);
}

void Tolklank::poll() {
    // A tick that falls due while a poll is still gathering is skipped.
    if (m_steg != Steg::Vantar)
        return;
    m_steg = Steg::Samlar;
    m_upprepat = false;
    m_ramBorjad = false;
    m_buffert.clear();
    startaTimeout(m_tider.timeout);
    sattStatus(m_status, m_visaComOkRec ? Bild::ComOkRec : Bild::ComOkSend);
    m_visaComOkRec = !m_visaComOkRec;
    if (m_modell == Modell::Sam4000) {
        skicka(P::Enq);
    } else {
        // A RIKA says nothing unasked; what lies in the port is stale.
        m_port.readAll();
        skicka(P::Syn);
    }
    if (m_steg == Steg::Samlar)
        samla();
}

void Tolklank::samla() {
    m_buffert += m_port.readAll();
    if (Tavelsvar::arEjKlar(m_buffert, m_modell)) {
        // No card yet: the next tick asks again.
        m_buffert.clear();
        m_timeout.stop();
        m_steg = Steg::Vantar;
        return;
    }
    // A card on its way gets its own, longer bound.
    if (!m_ramBorjad && Tavelsvar::harRamstart(m_buffert, m_modell)) {
        m_ramBorjad = true;
        startaTimeout(m_tider.efterRamstart);
    }
    if (Tavelsvar::arHel(m_buffert, m_modell))
        helRam();
}

void Tolklank::helRam() {
    if (!Tavelsvar::kontrollsummanStammer(m_buffert, m_modell)) {
        if (!m_upprepat) {
            m_upprepat = true;
            m_ramBorjad = false;
            m_buffert.clear();
            skicka(m_modell == Modell::Rika ? RikaIgen : P::Nak);
            startaTimeout(m_tider.timeout);
            return;
        }
        stoppaTimrar();
        m_steg = Steg::Vilar;
        m_buffert.clear();
        sattStatus(VilaText, Bild::Ingen);
        skicka(kvittens(m_modell));
        skicka(stoppbyte(m_modell));
        stangPort();
        m_m.visa(QStringLiteral("Fel checksumma!\r\rDet blev fel i överföringen från tolkmaskinen!\r"
                                "Kör tavlan en gång till."),
                 QStringLiteral("Överföringsfel!"), Ikon::Kritisk);
        return;
    }

    const QByteArray ram = m_buffert;
    m_buffert.clear();
    skicka(kvittens(m_modell));
    stoppaTimrar();

    if (!(serieMarkerad && serieMarkerad())) {
        // Acknowledged already, so the machine has let the card go: it is
        // dropped, and the link is ready for it again shortly.
        m_steg = Steg::Omstart;
        m_m.visa(QStringLiteral("Ingen skytts serie är markerad!\r\nDet går ej att spara resultat "
                                "någonstans!\r\n\r\nMarkera en skytts serie och kör tavlan igen."),
                 QStringLiteral("Ingen serie markerad"), Ikon::Kritisk);
        // Stopped while the message was up: nothing more.
        if (m_steg != Steg::Omstart)
            return;
        sattStatus(OmstartText, Bild::ComConn);
        m_omstart.start();
        return;
    }

    // A refused card leaves the port open: the operator marks a series and
    // presses Enter to read it again.
    switch (Tavelsvar::KollaTavelsvar(ram, m_modell)) {
    case Tavelsvar::Kontroll::Ok:
        break;
    case Tavelsvar::Kontroll::FelTyp:
        m_steg = Steg::Vilar;
        m_m.visa(Tavelsvar::FelTypText, Tavelsvar::FelTypTitel, Ikon::Kritisk);
        if (m_steg == Steg::Vilar)
            sattStatus(VilaText, Bild::Ingen);
        return;
    case Tavelsvar::Kontroll::FelAntal:
        m_steg = Steg::Vilar;
        m_m.visa(Tavelsvar::FelAntalText, Tavelsvar::FelAntalTitel, Ikon::Kritisk);
        if (m_steg == Steg::Vilar)
            sattStatus(VilaText, Bild::Ingen);
        return;
    }

    const Tavelsvar::Lasning lasning = Tavelsvar::las(ram, m_modell, static_cast<float>(m_g.sngInnertia));
    switch (lasning.utfall) {
    case Tavelsvar::Lasning::Utfall::Ok:
        m_steg = Steg::Sparar;
        sattStatus(SparaText, Bild::ComConn);
        emit tavelsvar(lasning.serie, lasning.skottstrang);
        return;
    case Tavelsvar::Lasning::Utfall::SaknatSkott:
        m_steg = Steg::Vilar;
        sattStatus(VilaText, Bild::Ingen);
        m_m.visa(Tavelsvar::SaknatSkottText, Tavelsvar::FelAntalTitel, Ikon::Kritisk);
        return;
    case Tavelsvar::Lasning::Utfall::Olasbar:
        m_steg = Steg::Vilar;
        sattStatus(VilaText, Bild::Ingen);
        m_m.visa(Tavelsvar::OlasbarText, Tavelsvar::OlasbarTitel, Ikon::Kritisk);
        return;
    }
}

void Tolklank::startaOmSenare() {
    if (m_steg != Steg::Sparar)
        return;
    m_steg = Steg::Omstart;
    m_omstart.start();
}

void Tolklank::sparningMisslyckades() {
    if (m_steg != Steg::Sparar)
        return;
    m_steg = Steg::Vilar;
    sattStatus(VilaText, Bild::Ingen);
}

void Tolklank::timeout() {
    // Before the first poll there is nothing to wait for yet; the poll starts
    // its own time.
    if (m_steg != Steg::Samlar)
        return;
    // A card that is already here counts, even when its last bytes and the
    // time-out fall due together: what the port holds is taken first, and
    // what the system still holds for it gets one more turn of the event loop.
    samla();
    if (m_steg != Steg::Samlar)
        return;
    if (!m_timeoutUppskjuten && vantandeByte(m_port) > 0) {
        m_timeoutUppskjuten = true;
        m_timeout.start(0);
        return;
    }
    ingenKontakt();
}

void Tolklank::portfel(quint64 session, QSerialPort::SerialPortError fel) {
    if (session != m_session || !m_port.isOpen())
        return;
    // The cable pulled, the adapter unplugged: the device reads and writes no more.
    if (fel != QSerialPort::ResourceError && fel != QSerialPort::ReadError && fel != QSerialPort::WriteError)
        return;
    if (m_steg == Steg::Vilar) {
        // Nothing runs: the next Enter tells the operator, if the port is gone.
        stangPort();
        return;
    }
    ingenKontakt();
}

void Tolklank::ingenKontakt() {
    stoppaTimrar();
    stangPort();
    m_steg = Steg::Vilar;
    m_buffert.clear();
    sattStatus(VilaText, m_modell == Modell::Sam4000 ? Bild::NoComConn : Bild::Ingen);
    m_m.visa(QStringLiteral("Ingen kontakt med tolkmaskinen!\r\rKolla att du har valt rätt Com port i "
                            "inställningarna\roch att kabeln sitter i ordentligt."),
             QStringLiteral("Kommunikationsfel!"), Ikon::Kritisk);
}

void Tolklank::AvbrytKommTolkmaskin() {
    m_avbryt = true;
    stoppaTimrar();
    if (m_port.isOpen())
        skicka(stoppbyte(m_modell));
    stangPort();
    m_steg = Steg::Vilar;
    m_buffert.clear();
    sattStatus(VilaText, Bild::Ingen);
}

void Tolklank::avbrytMedEscape() {
    if (!lasningPagar())
        return;
    m_avbryt = true;
    stoppaTimrar();
    // A SAM 4000 is left to stop by itself; a RIKA is told.
    if (m_port.isOpen() && m_modell == Modell::Rika)
        skicka(RikaStopp);
    stangPort();
    m_steg = Steg::Vilar;
    m_buffert.clear();
    sattStatus(VilaText, Bild::Ingen);
}

void Tolklank::skicka(const QByteArray& byte) {
    if (!m_port.isOpen())
        return;
    // A failure comes back through errorOccurred.
    m_port.write(byte);
    m_port.flush();
}

void Tolklank::startaTimeout(std::chrono::milliseconds tid) {
    m_timeoutUppskjuten = false;
    m_timeout.start(tid);
}

void Tolklank::stoppaTimrar() {
    m_frekvens.stop();
    m_timeout.stop();
    m_omstart.stop();
    m_startsvarTid.stop();
}

void Tolklank::stangPort() {
    if (!m_port.isOpen())
        return;
    m_port.close();
    ++m_session;
}

void Tolklank::sattStatus(const QString& text, Bild bild) {
    if (text == m_status && bild == m_bild)
        return;
    m_status = text;
    m_bild = bild;
    emit statusAndrad(m_status, m_bild);
}
