#include "common/IniNamn.h"
#include "entry/scoring_machine/Tavelsvar.h"
#include "entry/scoring_machine/Tolklank.h"
#include "platform/Serieport.h"
#include "support/Kabel.h"
#include "support/Testfixtur.h"
#include "support/VanligAnvandare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>

using namespace std::chrono_literals;
using Modell = Tavelsvar::Modell;
using Bild = Tolklank::Bild;
using Ikon = Meddelanden::Ikon;

namespace {

constexpr char SamPoll = 0x05;
constexpr char SamIgen = 0x15;
constexpr char RikaPoll = 0x16;
constexpr char RikaIgen = 0x08;

// The scoring machine at its end of the cable. It records every byte it is
// sent; a poll or a request to send again is answered with the next answer in
// line, or with "no card" when none is left; other bytes have their answers
// in svar.
class Maskin {
public:
    Maskin(const QString& enhet, Modell modell) : m_modell(modell) {
        if (oppnaSerieport(port, enhet))
            qFatal("the machine's end does not open");
        if (modell == Modell::Rika)
            svar[char(0xD4)] = "abc";
        QObject::connect(&port, &QSerialPort::readyRead, &port, [this] {
            for (const char c : port.readAll()) {
                mottaget += c;
                if (c == (m_modell == Modell::Rika ? RikaPoll : SamPoll) ||
                    c == (m_modell == Modell::Rika ? RikaIgen : SamIgen))
                    svaraPaPoll();
                else if (svar.contains(c))
                    skriv(svar.value(c));
                if (efterByte)
                    efterByte(c);
            }
        });
    }

    // Writes at once, and waits until the bytes have left for the cable.
    void skriv(const QByteArray& data) {
        port.write(data);
        port.waitForBytesWritten(5000);
    }

    QSerialPort port;
    QByteArray mottaget;
    QHash<char, QByteArray> svar;
    // Answers to the coming polls in turn; each answer in one or more pieces.
    QList<QList<QByteArray>> kort;
    // Says nothing to polls.
    bool tyst = false;
    std::function<void(char)> efterByte;

private:
    void svaraPaPoll() {
        if (tyst)
            return;
        if (kort.isEmpty()) {
            skriv(QByteArray(1, m_modell == Modell::Rika ? '\0' : SamIgen));
            return;
        }
        const QList<QByteArray> delar = kort.takeFirst();
        skriv(delar.first());
        // The rest comes a little later, as from a slow machine.
        for (int i = 1; i < delar.size(); ++i)
            QTimer::singleShot(20 * i, &port, [this, del = delar[i]] { skriv(del); });
    }

    Modell m_modell;
};

// Short waits; a bound that a test does not mean to reach is long.
Tolklank::Tider korta() {
    Tolklank::Tider t;
    t.frekvens = 20ms;
    t.timeout = 60s;
    t.omstart = 20ms;
    t.rikaStartsvar = 60s;
    t.efterRamstart = 60s;
    return t;
}

QString modelltext(Modell modell) {
    return modell == Modell::Rika ? QStringLiteral("RIKA") : QStringLiteral("SAM 4000");
}

QByteArray kort(Modell modell, QList<std::optional<double>> skott, const QByteArray& typ = "LG",
                int antal = 5) {
    Tavelsvar::Kort k;
    k.typ = typ;
    k.antal = antal;
    k.skott = std::move(skott);
    return Tavelsvar::bygg(modell, k);
}

// The card 10.9, 10.2, 9.8, 9.5, 8.0: series 46, "*+998" at 10.3.
QByteArray godtKort(Modell modell) {
    return kort(modell, {10.9, 10.2, 9.8, 9.5, 8.0});
}

// The same card with its check character wrong.
QByteArray felKontroll(const QByteArray& ram, Modell modell) {
    QByteArray fel = ram;
    fel[fel.size() - (modell == Modell::Sam4000 ? 2 : 1)] ^= 0x40;
    return fel;
}

// The good card with the given byte as its check character: a blank that
// nobody reads, right after the frame's first byte, makes it so.
QByteArray kortMedKontroll(Modell modell, char kontroll) {
    QByteArray ram = godtKort(modell);
    const qsizetype k = ram.size() - (modell == Modell::Sam4000 ? 2 : 1);
    ram[1] = char(ram[1] ^ ram[k] ^ kontroll);
    ram[k] = kontroll;
    return ram;
}

const QByteArray SamStart("\xB2\x06");
const QByteArray RikaInstallning("\x1BS5\r\x1BT0\r\x1BU1\r\x1BZ0\r");
const QByteArray RikaStart = QByteArray("\x0C\xD4") + RikaInstallning;

QByteArray start(Modell modell) {
    return modell == Modell::Rika ? RikaStart : SamStart;
}
QByteArray omstart(Modell modell) {
    return modell == Modell::Rika ? QByteArray("\x0C") + RikaInstallning : QByteArray("\x06");
}
QByteArray poll(Modell modell) {
    return QByteArray(1, modell == Modell::Rika ? RikaPoll : SamPoll);
}
QByteArray kvittens(Modell modell) {
    return QByteArray(1, modell == Modell::Rika ? '\x0C' : '\x06');
}
QByteArray igen(Modell modell) {
    return QByteArray(1, modell == Modell::Rika ? RikaIgen : SamIgen);
}
QByteArray stopp(Modell modell) {
    return QByteArray(1, modell == Modell::Rika ? '\xD0' : '\xB0');
}

const QString IngenKontakt =
    QStringLiteral("Ingen kontakt med tolkmaskinen!\r\rKolla att du har valt rätt Com port "
                   "i inställningarna\roch att kabeln sitter i ordentligt.");

// Whether this process holds the device open, under any name.
bool harOppen(const QString& enhet) {
    const QString mal = QFileInfo(enhet).canonicalFilePath();
    if (mal.isEmpty())
        qFatal("%s is no device", qPrintable(enhet));
    const QFileInfoList fd =
        QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::AllEntries | QDir::System);
    for (const QFileInfo& i : fd)
        if (i.symLinkTarget() == mal)
            return true;
    return false;
}

// A result-entry window's share of the link: the settings, the marked series,
// the saving of a card, and what the status panel showed.
struct Bord {
    Bord(Modell modell, Tolklank::Tider tider = korta(), bool medMaskin = true)
        : f(false), lank(f.g, f.m, tider) {
        f.g.iniTavling.setPath(f.t.fil(QStringLiteral("Cup.ini")));
        f.g.sngInnertia = 10.3;
        installning(Ini::Model, modelltext(modell));
        installning(Ini::Comport, QStringLiteral("7"));
        if (!f.g.iniProgram.WriteKey(SerieportarSektion, QStringLiteral("COM7"), kabel.pc))
            qFatal("the program INI cannot be written");
        if (medMaskin)
            maskin = std::make_unique<Maskin>(kabel.tolk, modell);
        lank.serieMarkerad = [this] { return markerad; };
        QObject::connect(&lank, &Tolklank::tavelsvar, &lank, [this](int serie, const QString& skott) {
            kort.append({serie, skott});
            if (sparas)
                lank.startaOmSenare();
            else
                lank.sparningMisslyckades();
        });
        QObject::connect(&lank, &Tolklank::statusAndrad, &lank, [this](const QString& text, Bild bild) {
            status.append({text, bild});
        });
    }
    void installning(const IniNyckel& nyckel, const QString& varde) {
        if (!f.g.iniTavling.WriteKey(nyckel.sektion, nyckel.nyckel, varde))
            qFatal("the competition INI cannot be written");
    }
    // Waits until the machine has been sent at least what it is expected to
    // have been sent, and tells whether that is what it got.
    bool fatt(const QByteArray& forvantat) {
        (void)QTest::qWaitFor([&] { return maskin->mottaget.size() >= forvantat.size(); }, 10000);
        if (!maskin->mottaget.startsWith(forvantat)) {
            qWarning("sent %s, expected %s", maskin->mottaget.toHex(' ').constData(),
                     forvantat.toHex(' ').constData());
            return false;
        }
        return true;
    }
    bool meddelat(const QString& text) {
        (void)QTest::qWaitFor([&] { return !f.m.visade.isEmpty(); }, 10000);
        if (f.m.senasteText() == text)
            return true;
        qWarning("shown \"%s\"", qPrintable(f.m.senasteText()));
        return false;
    }
    bool vilar() const { return !lank.lasningPagar() && lank.statustext() == Tolklank::VilaText; }

    Testfixtur f;
    Kabel kabel;
    std::unique_ptr<Maskin> maskin;
    Tolklank lank;
    bool markerad = true;
    bool sparas = true;
    QList<QPair<int, QString>> kort;
    QList<QPair<QString, Bild>> status;
};

} // namespace

class T_tolklank : public QObject {
    Q_OBJECT
private slots:
    void installningstext() {
        const auto s = tolkaSerieinstallningar(QStringLiteral("9600,N,8,1"));
        QVERIFY(s);
        QCOMPARE(s->hastighet, 9600);
        QCOMPARE(s->paritet, QSerialPort::NoParity);
        QCOMPARE(s->databitar, QSerialPort::Data8);
        QCOMPARE(s->stoppbitar, QSerialPort::OneStop);
        const auto t = tolkaSerieinstallningar(QStringLiteral(" 1200 , e, 7 ,2"));
        QVERIFY(t);
        QCOMPARE(t->hastighet, 1200);
        QCOMPARE(t->paritet, QSerialPort::EvenParity);
        QCOMPARE(t->databitar, QSerialPort::Data7);
        QCOMPARE(t->stoppbitar, QSerialPort::TwoStop);
        QCOMPARE(tolkaSerieinstallningar(QStringLiteral("4800,O,5,1.5"))->stoppbitar,
                 QSerialPort::OneAndHalfStop);
        QCOMPARE(tolkaSerieinstallningar(QStringLiteral("4800,M,6,1"))->paritet, QSerialPort::MarkParity);
        QCOMPARE(tolkaSerieinstallningar(QStringLiteral("4800,S,6,1"))->paritet, QSerialPort::SpaceParity);
        for (const char* fel :
             {"", "9600", "9600,N,8", "9600,N,8,1,1", "0,N,8,1", "-9600,N,8,1", "snabb,N,8,1", "9600,X,8,1",
              "9600,N,9,1", "9600,N,4,1", "9600,N,8,3", "9600,,8,1"})
            QVERIFY2(!tolkaSerieinstallningar(QString::fromLatin1(fel)), fel);

        // The line is set on the device (a pty takes speed and stop bits only).
        Kabel kabel;
        QSerialPort port;
        QVERIFY(!oppnaSerieport(port, kabel.pc, QStringLiteral("1200,N,8,2")));
        QCOMPARE(port.baudRate(), 1200);
        QCOMPARE(port.stopBits(), QSerialPort::TwoStop);
        port.close();
        const auto fel = oppnaSerieport(port, kabel.pc, QStringLiteral("9600,Q,8,1"));
        QVERIFY(fel);
        QCOMPARE(fel->nummer, int(QSerialPort::UnsupportedOperationError));
        QVERIFY(!port.isOpen());
    }

    // --- Start and set-up ---

    void samStart_data() {
        QTest::addColumn<QString>("barcode");
        QTest::addColumn<QByteArray>("skickat");
        QTest::newRow("saknas") << QString() << QByteArray("\xB2\x06\x05");
        QTest::newRow("0") << "0" << QByteArray("\xB2\x06\x05");
        QTest::newRow("1") << "1" << QByteArray("\xB1\x06\x05");
        QTest::newRow("2") << "2" << QByteArray("\xB2\x06\x05");
    }
    void samStart() {
        QFETCH(QString, barcode);
        QFETCH(QByteArray, skickat);
        Bord b(Modell::Sam4000);
        if (!barcode.isNull())
            b.installning(Ini::Barcode, barcode);
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.lank.lasningPagar());
        QVERIFY(b.lank.portOppen());
        QCOMPARE(b.lank.statustext(), Tolklank::StartText);
        QCOMPARE(b.lank.bild(), Bild::ComConn);
        QVERIFY(b.fatt(skickat));
    }

    void rikaStart_data() {
        QTest::addColumn<QString>("decimaler");
        QTest::addColumn<QByteArray>("installning");
        QTest::newRow("saknas") << QString() << RikaInstallning;
        QTest::newRow("0") << "0" << RikaInstallning;
        QTest::newRow("1") << "1" << QByteArray("\x1BS5\r\x1BT0\r\x1BU1\r\x1BZ1\r");
        QTest::newRow("2") << "2" << QByteArray();
        QTest::newRow("True") << "True" << QByteArray();
    }
    void rikaStart() {
        QFETCH(QString, decimaler);
        QFETCH(QByteArray, installning);
        // The three characters of the answer end the wait long before its bound.
        Bord b(Modell::Rika);
        if (!decimaler.isNull())
            b.installning(Ini::DecimalerRika, decimaler);
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.lank.lasningPagar());
        QVERIFY(b.fatt(QByteArray("\x0C\xD4") + installning + "\x16"));
        QCOMPARE(b.lank.statustext(), Tolklank::StartText);
    }

    void rikaStartsvar_data() {
        QTest::addColumn<QByteArray>("svar");
        QTest::newRow("fyra") << QByteArray("abcd");
        QTest::newRow("inget") << QByteArray();
    }
    void rikaStartsvar() {
        QFETCH(QByteArray, svar);
        // Anything but three characters waits the whole bound, then goes on.
        Tolklank::Tider tider = korta();
        tider.rikaStartsvar = 60s;
        Bord b(Modell::Rika, tider);
        b.maskin->svar[char(0xD4)] = svar;
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt("\x0C\xD4"));
        QTest::qWait(300);
        QCOMPARE(b.maskin->mottaget, QByteArray("\x0C\xD4"));
        QCOMPARE(b.lank.statustext(), Tolklank::VilaText);
        QVERIFY(b.lank.lasningPagar());
        // Escape during the wait ends it like a read.
        b.lank.avbrytMedEscape();
        QVERIFY(b.fatt("\x0C\xD4\xD0"));
        QVERIFY(!b.lank.portOppen());

        tider.rikaStartsvar = 100ms;
        Bord snabb(Modell::Rika, tider);
        snabb.maskin->svar[char(0xD4)] = svar;
        snabb.lank.HamtaResFranTolkmaskin();
        QVERIFY(snabb.fatt(RikaStart + "\x16"));
    }

    void gammaltIPortenVidStart() {
        // Bytes that came while the port stood open and idle answer nothing:
        // the start's answer is counted from the start.
        Bord b(Modell::Rika);
        b.maskin->kort = {{kort(Modell::Rika, {10.0, 10.0, 10.0, 10.0, 10.0}, "LP")}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.meddelat(Tavelsvar::FelTypText));
        QVERIFY(b.lank.portOppen());
        b.maskin->skriv(QByteArray("\0\0", 2));
        QTest::qWait(100);
        b.maskin->mottaget.clear();
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt(RikaStart + "\x16"));
    }

    void streckkodLasesVidVarjeStart() {
        Bord b(Modell::Sam4000);
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt("\xB2\x06\x05"));
        b.lank.AvbrytKommTolkmaskin();
        QTRY_VERIFY(b.maskin->mottaget.endsWith('\xB0'));
        b.installning(Ini::Barcode, QStringLiteral("1"));
        b.maskin->mottaget.clear();
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt("\xB1\x06\x05"));
    }

    // --- Poll, frames, check characters ---

    void pollOchKort_data() {
        QTest::addColumn<Modell>("modell");
        QTest::newRow("SAM 4000") << Modell::Sam4000;
        QTest::newRow("RIKA") << Modell::Rika;
    }
    void pollOchKort() {
        QFETCH(Modell, modell);
        Tolklank::Tider tider = korta();
        tider.omstart = 60s;
        Bord b(modell, tider);
        const QByteArray ejKlar(1, modell == Modell::Rika ? '\0' : SamIgen);
        // Not ready twice, then the card.
        b.maskin->kort = {{ejKlar}, {ejKlar}, {godtKort(modell)}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt(start(modell) + poll(modell) + poll(modell) + poll(modell) + kvittens(modell)));
        QCOMPARE(b.kort.size(), 1);
        QCOMPARE(b.kort.first(), qMakePair(46, QStringLiteral("*+998")));
        QVERIFY(b.f.m.visade.isEmpty());
        // Saved: the restart is pending, nothing runs.
        QCOMPARE(b.lank.statustext(), Tolklank::SparaText);
        QCOMPARE(b.lank.bild(), Bild::ComConn);
        QVERIFY(!b.lank.lasningPagar());
        QVERIFY(b.lank.portOppen());
        // The picture went ComConn, then alternated once per poll.
        QList<Bild> bilder;
        for (const auto& s : std::as_const(b.status))
            bilder.append(s.second);
        QCOMPARE(bilder, (QList<Bild>{Bild::ComConn, Bild::ComOkSend, Bild::ComOkRec, Bild::ComOkSend,
                                      Bild::ComConn}));
        QCOMPARE(b.status.first().first, Tolklank::StartText);
        QCOMPARE(b.status.last().first, Tolklank::SparaText);
        QTest::qWait(100);
        QCOMPARE(b.maskin->mottaget,
                 start(modell) + poll(modell) + poll(modell) + poll(modell) + kvittens(modell));
    }

    void omstartEfterSparat_data() { pollOchKort_data(); }
    void omstartEfterSparat() {
        QFETCH(Modell, modell);
        Bord b(modell);
        b.maskin->kort = {{godtKort(modell)}, {kort(modell, {10.0, 10.3, 10.2, 0.0, 1.0})}};
        b.lank.HamtaResFranTolkmaskin();
        const QByteArray forsta = start(modell) + poll(modell) + kvittens(modell);
        QVERIFY(b.fatt(forsta + omstart(modell) + poll(modell) + kvittens(modell)));
        QCOMPARE(b.kort.size(), 2);
        QCOMPARE(b.kort.last(), qMakePair(31, QStringLiteral("+*+01")));
        QVERIFY(b.status.contains(qMakePair(Tolklank::SparaText, Bild::ComConn)));
        // A restart goes on polling.
        QVERIFY(b.fatt(forsta + omstart(modell) + poll(modell) + kvittens(modell) + omstart(modell) +
                       poll(modell) + poll(modell)));
        QVERIFY(b.lank.lasningPagar());
        QCOMPARE(b.lank.statustext(), Tolklank::StartText);
    }

    void upprepning_data() { pollOchKort_data(); }
    void upprepning() {
        QFETCH(Modell, modell);
        Tolklank::Tider tider = korta();
        tider.omstart = 60s;
        Bord b(modell, tider);
        // A bad check character once in each of two cycles: one request to
        // send again in each, and both cards come.
        const QByteArray ram = godtKort(modell);
        b.maskin->kort = {{felKontroll(ram, modell)}, {ram}};
        b.lank.HamtaResFranTolkmaskin();
        const QByteArray en = poll(modell) + igen(modell) + kvittens(modell);
        QVERIFY(b.fatt(start(modell) + en));
        QCOMPARE(b.kort.size(), 1);
        QVERIFY(b.f.m.visade.isEmpty());

        b.maskin->kort = {{felKontroll(ram, modell)}, {ram}};
        b.maskin->mottaget.clear();
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt(start(modell) + en));
        QCOMPARE(b.kort.size(), 2);
        QVERIFY(b.f.m.visade.isEmpty());
    }

    void tvaFelaKontrolltecken_data() { pollOchKort_data(); }
    void tvaFelaKontrolltecken() {
        QFETCH(Modell, modell);
        Bord b(modell);
        const QByteArray fel = felKontroll(godtKort(modell), modell);
        b.maskin->kort = {{fel}, {fel}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(
            b.meddelat(QStringLiteral("Fel checksumma!\r\rDet blev fel i överföringen från tolkmaskinen!\r"
                                      "Kör tavlan en gång till.")));
        QCOMPARE(b.f.m.visade.back().titel, QStringLiteral("Överföringsfel!"));
        QCOMPARE(b.f.m.visade.back().ikon, Ikon::Kritisk);
        QVERIFY(b.fatt(start(modell) + poll(modell) + igen(modell) + kvittens(modell) + stopp(modell)));
        QVERIFY(!b.lank.portOppen());
        QVERIFY(!harOppen(b.kabel.pc));
        QVERIFY(b.vilar());
        QCOMPARE(b.lank.bild(), Bild::Ingen);
        QVERIFY(b.kort.isEmpty());
        QTest::qWait(100);
        QCOMPARE(b.maskin->mottaget,
                 start(modell) + poll(modell) + igen(modell) + kvittens(modell) + stopp(modell));
    }

    void kortIBitar_data() { pollOchKort_data(); }
    void kortIBitar() {
        QFETCH(Modell, modell);
        Tolklank::Tider tider = korta();
        tider.omstart = 60s;
        Bord b(modell, tider);
        const QByteArray ram = godtKort(modell);
        b.maskin->kort = {{ram.left(1), ram.mid(1, 60), ram.mid(61, 92), ram.mid(153)}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt(start(modell) + poll(modell) + kvittens(modell)));
        QCOMPARE(b.kort.size(), 1);
        QCOMPARE(b.kort.first(), qMakePair(46, QStringLiteral("*+998")));
        // No poll went out while the card was on its way.
        QCOMPARE(b.maskin->mottaget, start(modell) + poll(modell) + kvittens(modell));
    }

    void kontrolltecknetSomStyrtecken_data() {
        QTest::addColumn<Modell>("modell");
        QTest::addColumn<char>("kontroll");
        QTest::newRow("SAM 4000 NAK") << Modell::Sam4000 << char(0x15);
        QTest::newRow("SAM 4000 $") << Modell::Sam4000 << '$';
        QTest::newRow("SAM 4000 ETB") << Modell::Sam4000 << char(0x17);
        QTest::newRow("RIKA NUL") << Modell::Rika << char(0);
        QTest::newRow("RIKA EOT") << Modell::Rika << char(0x04);
    }
    void kontrolltecknetSomStyrtecken() {
        QFETCH(Modell, modell);
        QFETCH(char, kontroll);
        Tolklank::Tider tider = korta();
        tider.omstart = 60s;
        Bord b(modell, tider);
        const QByteArray ram = kortMedKontroll(modell, kontroll);
        // The check character may come alone, after a pause.
        b.maskin->kort = {
            {ram.chopped(modell == Modell::Sam4000 ? 2 : 1), ram.right(modell == Modell::Sam4000 ? 2 : 1)}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt(start(modell) + poll(modell) + kvittens(modell)));
        QCOMPARE(b.kort.size(), 1);
        QCOMPARE(b.kort.first(), qMakePair(46, QStringLiteral("*+998")));
        QVERIFY(b.f.m.visade.isEmpty());
    }

    void ingenSerieMarkerad_data() { pollOchKort_data(); }
    void ingenSerieMarkerad() {
        QFETCH(Modell, modell);
        Bord b(modell);
        b.markerad = false;
        b.maskin->kort = {{godtKort(modell)}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(
            b.meddelat(QStringLiteral("Ingen skytts serie är markerad!\r\nDet går ej att spara resultat "
                                      "någonstans!\r\n\r\nMarkera en skytts serie och kör tavlan igen.")));
        QCOMPARE(b.f.m.visade.back().titel, QStringLiteral("Ingen serie markerad"));
        QCOMPARE(b.f.m.visade.back().ikon, Ikon::Kritisk);
        QVERIFY(b.kort.isEmpty());
        QVERIFY(b.status.contains(qMakePair(Tolklank::OmstartText, Bild::ComConn)));
        // Dropped and acknowledged; the link starts again by itself.
        QVERIFY(b.fatt(start(modell) + poll(modell) + kvittens(modell) + omstart(modell) + poll(modell)));
        QCOMPARE(b.f.m.visade.size(), 1);
    }

    void kortetNekas_data() {
        QTest::addColumn<Modell>("modell");
        QTest::addColumn<QByteArray>("ram");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("titel");
        for (const Modell m : {Modell::Sam4000, Modell::Rika}) {
            const QString namn = modelltext(m) + QLatin1Char(' ');
            QTest::newRow(qPrintable(namn + "typ")) << m << kort(m, {10.0, 10.0, 10.0, 10.0, 10.0}, "lg")
                                                    << Tavelsvar::FelTypText << Tavelsvar::FelTypTitel;
            QTest::newRow(qPrintable(namn + "antal"))
                << m << kort(m, {10.0, 10.0, 10.0, 10.0, 10.0}, "LG", 10) << Tavelsvar::FelAntalText
                << Tavelsvar::FelAntalTitel;
            QTest::newRow(qPrintable(namn + "saknat skott"))
                << m << kort(m, {10.0, 10.0, std::nullopt, 10.0, 10.0}) << Tavelsvar::SaknatSkottText
                << Tavelsvar::FelAntalTitel;
            QTest::newRow(qPrintable(namn + "oläsbart")) << m << kort(m, {11.0, 10.0, 10.0, 10.0, 10.0})
                                                         << Tavelsvar::OlasbarText << Tavelsvar::OlasbarTitel;
        }
    }
    void kortetNekas() {
        QFETCH(Modell, modell);
        QFETCH(QByteArray, ram);
        QFETCH(QString, text);
        QFETCH(QString, titel);
        Bord b(modell);
        b.maskin->kort = {{ram}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.meddelat(text));
        QCOMPARE(b.f.m.visade.back().titel, titel);
        QCOMPARE(b.f.m.visade.back().ikon, Ikon::Kritisk);
        QVERIFY(b.kort.isEmpty());
        // Open and idle: the operator marks a series and presses Enter again.
        QVERIFY(b.vilar());
        QCOMPARE(b.lank.bild(), Bild::Ingen);
        QVERIFY(b.lank.portOppen());
        QTest::qWait(100);
        const QByteArray forsta = start(modell) + poll(modell) + kvittens(modell);
        QCOMPARE(b.maskin->mottaget, forsta);
        // Enter again: a full start on the port that is open.
        b.maskin->kort = {{godtKort(modell)}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt(forsta + start(modell) + poll(modell) + kvittens(modell)));
        QCOMPARE(b.kort.size(), 1);
    }

    void sparningMisslyckas() {
        Bord b(Modell::Sam4000);
        b.sparas = false;
        b.maskin->kort = {{godtKort(Modell::Sam4000)}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt("\xB2\x06\x05\x06"));
        QCOMPARE(b.kort.size(), 1);
        QVERIFY(b.vilar());
        QVERIFY(b.lank.portOppen());
        QTest::qWait(100);
        QCOMPARE(b.maskin->mottaget, QByteArray("\xB2\x06\x05\x06"));
    }

    // --- Time-outs and a lost device ---

    void tystMaskin_data() {
        QTest::addColumn<Modell>("modell");
        QTest::addColumn<Bild>("bild");
        QTest::newRow("SAM 4000") << Modell::Sam4000 << Bild::NoComConn;
        QTest::newRow("RIKA") << Modell::Rika << Bild::Ingen;
    }
    void tystMaskin() {
        QFETCH(Modell, modell);
        QFETCH(Bild, bild);
        Tolklank::Tider tider = korta();
        tider.timeout = 100ms;
        Bord b(modell, tider);
        b.maskin->tyst = true;
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.meddelat(IngenKontakt));
        QCOMPARE(b.f.m.visade.back().titel, QStringLiteral("Kommunikationsfel!"));
        QCOMPARE(b.f.m.visade.back().ikon, Ikon::Kritisk);
        QCOMPARE(b.lank.bild(), bild);
        QVERIFY(b.vilar());
        QVERIFY(!b.lank.portOppen());
        // No stop byte, and only one poll: the ticks while it waited were skipped.
        QCOMPARE(b.maskin->mottaget, start(modell) + poll(modell));
    }

    void kortFastnar_data() { pollOchKort_data(); }
    void kortFastnar() {
        QFETCH(Modell, modell);
        Tolklank::Tider tider = korta();
        tider.efterRamstart = 200ms;
        Bord b(modell, tider);
        b.maskin->kort = {{godtKort(modell).left(70)}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.meddelat(IngenKontakt));
        QVERIFY(b.vilar());
        QVERIFY(!b.lank.portOppen());
        QCOMPARE(b.maskin->mottaget, start(modell) + poll(modell));
        QVERIFY(b.kort.isEmpty());
    }

    void langsamtKortHinner() {
        // Once the card has begun, the time-out for a silent machine no longer
        // applies.
        Tolklank::Tider tider = korta();
        tider.timeout = 500ms;
        tider.omstart = 60s;
        Bord b(Modell::Sam4000, tider);
        const QByteArray ram = godtKort(Modell::Sam4000);
        b.maskin->kort = {{ram.left(40)}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt("\xB2\x06\x05"));
        QTest::qWait(1500);
        QVERIFY(b.f.m.visade.isEmpty());
        QVERIFY(b.lank.lasningPagar());
        b.maskin->skriv(ram.mid(40));
        QVERIFY(b.fatt("\xB2\x06\x05\x06"));
        QCOMPARE(b.kort.size(), 1);
    }

    void kortOchTimeoutSamtidigt_data() { pollOchKort_data(); }
    void kortOchTimeoutSamtidigt() {
        QFETCH(Modell, modell);
        Tolklank::Tider tider = korta();
        tider.timeout = 50ms;
        tider.omstart = 60s;
        Bord b(modell, tider);
        b.maskin->tyst = true;
        // The card comes whole, and the program gets back to it only when its
        // time-out is long overdue.
        b.maskin->efterByte = [&b, modell](char c) {
            if (c != poll(modell)[0])
                return;
            b.maskin->skriv(godtKort(modell));
            QThread::msleep(500);
        };
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt(start(modell) + poll(modell) + kvittens(modell)));
        QCOMPARE(b.kort.size(), 1);
        QVERIFY(b.f.m.visade.isEmpty());
    }

    void maskinenForsvinner_data() { pollOchKort_data(); }
    void maskinenForsvinner() {
        QFETCH(Modell, modell);
        Bord b(modell);
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt(start(modell) + poll(modell) + poll(modell)));
        const QString pts = QFileInfo(b.kabel.pc).canonicalFilePath();
        QVERIFY(harOppen(pts));
        b.kabel.dra();
        QVERIFY(b.meddelat(IngenKontakt));
        QCOMPARE(b.f.m.visade.size(), 1);
        QVERIFY(b.vilar());
        QVERIFY(!b.lank.portOppen());
        QVERIFY(!QFileInfo::exists(pts) || !harOppen(pts));
        // Enter again: the port is not there.
        b.lank.HamtaResFranTolkmaskin();
        QCOMPARE(
            b.f.m.senasteText(),
            QStringLiteral("Du har valt en Com port som inte finns!\rÄndra Com port i inställningarna."));
        QVERIFY(b.vilar());
    }

    void maskinenForsvinnerMittIKort() {
        Bord b(Modell::Rika);
        b.maskin->efterByte = [&b](char c) {
            if (c == RikaPoll)
                b.maskin->skriv(godtKort(Modell::Rika).left(50));
        };
        b.maskin->tyst = true;
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt(RikaStart + "\x16"));
        QTest::qWait(50);
        b.kabel.dra();
        QVERIFY(b.meddelat(IngenKontakt));
        QVERIFY(b.vilar());
        QVERIFY(!b.lank.portOppen());
    }

    void maskinenForsvinnerIVila() {
        // Nothing runs after a refused card: the port is let go quietly.
        Bord b(Modell::Sam4000);
        b.maskin->kort = {{kort(Modell::Sam4000, {10.0, 10.0, 10.0, 10.0, 10.0}, "LP")}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.meddelat(Tavelsvar::FelTypText));
        QVERIFY(b.lank.portOppen());
        b.kabel.dra();
        QTRY_VERIFY(!b.lank.portOppen());
        QCOMPARE(b.f.m.visade.size(), 1);
        QVERIFY(b.vilar());
    }

    // --- Stop and Escape ---

    void escapeMedKortIPorten_data() {
        QTest::addColumn<Modell>("modell");
        QTest::addColumn<QByteArray>("escape");
        QTest::newRow("SAM 4000") << Modell::Sam4000 << QByteArray();
        QTest::newRow("RIKA") << Modell::Rika << QByteArray("\xD0");
    }
    void escapeMedKortIPorten() {
        QFETCH(Modell, modell);
        QFETCH(QByteArray, escape);
        Bord b(modell);
        b.maskin->tyst = true;
        // The card is on its way when the operator presses Escape.
        b.maskin->efterByte = [&b, modell](char c) {
            if (c != poll(modell)[0])
                return;
            b.maskin->skriv(godtKort(modell));
            QThread::msleep(200);
            b.lank.avbrytMedEscape();
        };
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt(start(modell) + poll(modell) + escape));
        QVERIFY(b.vilar());
        QCOMPARE(b.lank.bild(), Bild::Ingen);
        QVERIFY(b.lank.avbruten());
        QVERIFY(!b.lank.portOppen());
        QVERIFY(!harOppen(b.kabel.pc));
        QTest::qWait(200);
        QCOMPARE(b.maskin->mottaget, start(modell) + poll(modell) + escape);
        QVERIFY(b.kort.isEmpty());
        QVERIFY(b.f.m.visade.isEmpty());

        // Escape while nothing runs does nothing.
        b.lank.avbrytMedEscape();
        QCOMPARE(b.maskin->mottaget, start(modell) + poll(modell) + escape);
        // The next Enter starts afresh.
        b.maskin->efterByte = nullptr;
        b.maskin->tyst = false;
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(!b.lank.avbruten());
        QVERIFY(b.fatt(start(modell) + poll(modell) + escape + start(modell) + poll(modell)));
    }

    void stoppUnderOmstart_data() { pollOchKort_data(); }
    void stoppUnderOmstart() {
        QFETCH(Modell, modell);
        Tolklank::Tider tider = korta();
        tider.omstart = 200ms;
        Bord b(modell, tider);
        b.maskin->kort = {{godtKort(modell)}};
        // Switching squads right after the card was saved.
        QObject::connect(&b.lank, &Tolklank::tavelsvar, &b.lank, [&b] { b.lank.AvbrytKommTolkmaskin(); });
        b.lank.HamtaResFranTolkmaskin();
        const QByteArray allt = start(modell) + poll(modell) + kvittens(modell) + stopp(modell);
        QVERIFY(b.fatt(allt));
        QCOMPARE(b.kort.size(), 1);
        QVERIFY(b.vilar());
        QVERIFY(!b.lank.portOppen());
        QTest::qWait(600);
        QCOMPARE(b.maskin->mottaget, allt);
        QVERIFY(!b.lank.portOppen());
        QVERIFY(b.lank.avbruten());
    }

    void stoppUnderPoll_data() { pollOchKort_data(); }
    void stoppUnderPoll() {
        QFETCH(Modell, modell);
        Bord b(modell);
        b.maskin->tyst = true;
        b.maskin->efterByte = [&b, modell](char c) {
            if (c != poll(modell)[0])
                return;
            b.maskin->skriv(godtKort(modell));
            QThread::msleep(200);
            b.lank.AvbrytKommTolkmaskin();
        };
        b.lank.HamtaResFranTolkmaskin();
        const QByteArray allt = start(modell) + poll(modell) + stopp(modell);
        QVERIFY(b.fatt(allt));
        QVERIFY(b.vilar());
        QVERIFY(!harOppen(b.kabel.pc));
        QTest::qWait(200);
        QCOMPARE(b.maskin->mottaget, allt);
        QVERIFY(b.kort.isEmpty());
        QVERIFY(b.f.m.visade.isEmpty());
        // A stop when nothing is open sends nothing.
        b.lank.AvbrytKommTolkmaskin();
        QCOMPARE(b.maskin->mottaget, allt);
    }

    // --- Starts that fail ---

    void okandModell() {
        Bord b(Modell::Sam4000);
        b.installning(Ini::Model, QStringLiteral("SAM 5000"));
        b.lank.HamtaResFranTolkmaskin();
        QCOMPARE(b.f.m.senasteText(), QStringLiteral("Okänd tolkmaskin i inställningarna: SAM 5000"));
        QCOMPARE(b.f.m.visade.back().titel, QStringLiteral("Fel inställningar"));
        QCOMPARE(b.f.m.visade.back().ikon, Ikon::Kritisk);
        QVERIFY(b.vilar());
        QVERIFY(!b.lank.portOppen());
        QTest::qWait(100);
        QVERIFY(b.maskin->mottaget.isEmpty());
    }

    void portSaknas() {
        Bord b(Modell::Sam4000);
        const QString saknas =
            QStringLiteral("Du har valt en Com port som inte finns!\rÄndra Com port i inställningarna.");
        for (const QString& comport : {QStringLiteral("0"), QStringLiteral("8")}) {
            b.f.m.tom();
            QVERIFY(b.f.g.iniProgram.WriteKey(SerieportarSektion, QStringLiteral("COM8"),
                                              b.f.t.fil(QStringLiteral("ttyUSB9"))));
            b.installning(Ini::Comport, comport);
            b.lank.HamtaResFranTolkmaskin();
            QCOMPARE(b.f.m.senasteText(), saknas);
            QCOMPARE(b.f.m.visade.back().titel, QStringLiteral("Fel inställningar"));
            QCOMPARE(b.f.m.visade.back().ikon, Ikon::Kritisk);
            QVERIFY(b.vilar());
            QVERIFY(!b.lank.portOppen());
        }
    }

    void portUpptagen() {
        Bord b(Modell::Sam4000);
        QSerialPort annan;
        annan.setPortName(b.kabel.pc);
        QVERIFY(annan.open(QIODevice::ReadWrite));
        b.lank.HamtaResFranTolkmaskin();
        QCOMPARE(b.f.m.senasteText(), QStringLiteral("Com porten används redan av ett annat program."));
        QCOMPARE(b.f.m.visade.back().titel, QStringLiteral("Fel inställningar"));
        QCOMPARE(b.f.m.visade.back().ikon, Ikon::Kritisk);
        QVERIFY(b.vilar());
        annan.close();
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt("\xB2\x06\x05"));
    }

    void portNekad() {
        if (korSomVanligAnvandare("portNekad"))
            return;
        Bord b(Modell::Sam4000, korta(), false);
        QVERIFY(QFile::setPermissions(QFileInfo(b.kabel.pc).canonicalFilePath(), {}));
        b.lank.HamtaResFranTolkmaskin();
        QCOMPARE(b.f.m.senasteText(), QStringLiteral("Du har inte behörighet att använda ") + b.kabel.pc +
                                          QStringLiteral(".\rAnvändaren måste vara med i gruppen dialout."));
        QCOMPARE(b.f.m.visade.back().titel, QStringLiteral("Fel inställningar"));
        QCOMPARE(b.f.m.visade.back().ikon, Ikon::Kritisk);
        QVERIFY(b.vilar());
        QVERIFY(!b.lank.portOppen());
    }

    void andraFel() {
        Bord b(Modell::Sam4000);
        b.installning(Ini::Settings, QStringLiteral("9600,X,8,1"));
        b.lank.HamtaResFranTolkmaskin();
        QCOMPARE(b.f.m.senasteText(),
                 QStringLiteral("frmResultatinskrivning_HämtaResFrånTolkmaskin\r%1 Porten klarar inte "
                                "inställningarna \"9600,X,8,1\"")
                     .arg(int(QSerialPort::UnsupportedOperationError)));
        QCOMPARE(b.f.m.visade.back().titel, QString());
        QCOMPARE(b.f.m.visade.back().ikon, Ikon::Ingen);
        QVERIFY(!b.lank.portOppen());

        b.installning(Ini::Settings, QStringLiteral("9600,N,8,1"));
        b.installning(Ini::Comport, QStringLiteral("sju"));
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY2(b.f.m.senasteText().startsWith(
                     QStringLiteral("frmResultatinskrivning_HämtaResFrånTolkmaskin\r13 ")),
                 qPrintable(b.f.m.senasteText()));
        QVERIFY(b.vilar());
        QVERIFY(!b.lank.portOppen());
        QTest::qWait(100);
        QVERIFY(b.maskin->mottaget.isEmpty());
    }
};

QTEST_MAIN(T_tolklank)
#include "test_tolklank.moc"
