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
#include <QSerialPort>
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
using Tider = Tolklank::Tider;

namespace {

const QByteArray RikaInstallning("\x1BS5\r\x1BT0\r\x1BU1\r\x1BZ0\r");

// What the program says to each model, and the machine's "no card".
struct Tal {
    QByteArray start, omstart, poll, kvittens, igen, stopp, ejKlar;
};
Tal tal(Modell modell) {
    if (modell == Modell::Rika)
        return {"\x0C\xD4" + RikaInstallning, "\x0C" + RikaInstallning, "\x16", "\x0C", "\x08", "\xD0",
                QByteArray(1, '\0')};
    return {"\xB2\x06", "\x06", "\x05", "\x06", "\x15", "\xB0", "\x15"};
}

// The scoring machine at its end of the cable. It records every byte it is
// sent; a poll or a request to send again is answered with the next answer in
// line, or with "no card" when none is left; other bytes have their answers
// in svar.
class Maskin {
public:
    Maskin(const QString& enhet, Modell modell) : m_tal(tal(modell)) {
        if (oppnaSerieport(port, enhet))
            qFatal("the machine's end does not open");
        if (modell == Modell::Rika)
            svar[char(0xD4)] = "abc";
        QObject::connect(&port, &QSerialPort::readyRead, &port, [this] {
            for (const char c : port.readAll()) {
                mottaget += c;
                if (c == m_tal.poll[0] || c == m_tal.igen[0])
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
            skriv(m_tal.ejKlar);
            return;
        }
        const QList<QByteArray> delar = kort.takeFirst();
        skriv(delar.first());
        // The rest comes a little later, as from a slow machine.
        for (int i = 1; i < delar.size(); ++i)
            QTimer::singleShot(20 * i, &port, [this, del = delar[i]] { skriv(del); });
    }

    Tal m_tal;
};

// Short waits, one of them set; a bound that a test does not mean to reach is long.
Tider korta(std::chrono::milliseconds Tider::*tid = nullptr, std::chrono::milliseconds varde = {}) {
    Tider t;
    t.frekvens = 20ms;
    t.timeout = 60s;
    t.omstart = 20ms;
    t.rikaStartsvar = 60s;
    t.efterRamstart = 60s;
    if (tid)
        t.*tid = varde;
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
const QPair<int, QString> GodtKortLast(46, QStringLiteral("*+998"));
// The series and shot strings of the cards handed over.
using Lasta = QList<QPair<int, QString>>;

// Where the check character stands from the frame's end.
qsizetype kontrollFranSlut(Modell modell) {
    return modell == Modell::Sam4000 ? 2 : 1;
}

// The same card with its check character wrong.
QByteArray felKontroll(const QByteArray& ram, Modell modell) {
    QByteArray fel = ram;
    fel[fel.size() - kontrollFranSlut(modell)] ^= 0x40;
    return fel;
}

// The good card with the given byte as its check character: a blank that
// nobody reads, right after the frame's first byte, makes it so.
QByteArray kortMedKontroll(Modell modell, char kontroll) {
    QByteArray ram = godtKort(modell);
    const qsizetype k = ram.size() - kontrollFranSlut(modell);
    ram[1] = char(ram[1] ^ ram[k] ^ kontroll);
    ram[k] = kontroll;
    return ram;
}

const QString IngenKontakt =
    QStringLiteral("Ingen kontakt med tolkmaskinen!\r\rKolla att du har valt rätt Com port "
                   "i inställningarna\roch att kabeln sitter i ordentligt.");
const QString PortSaknas =
    QStringLiteral("Du har valt en Com port som inte finns!\rÄndra Com port i inställningarna.");
const QString FelInstallningar = QStringLiteral("Fel inställningar");

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
    Bord(Modell modell, Tider tider = korta(), bool medMaskin = true) : f(false), lank(f.g, f.m, tider) {
        f.g.iniTavling.setPath(f.t.fil(QStringLiteral("Cup.ini")));
        f.g.sngInnertia = 10.3;
        installning(Ini::Model.nyckel, modelltext(modell));
        installning(Ini::Comport.nyckel, QStringLiteral("7"));
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
    void installning(const QString& nyckel, const QString& varde) {
        if (!f.g.iniTavling.WriteKey(Ini::Sektion::Tolkmaskin, nyckel, varde))
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
    // The same, and nothing more comes within a while.
    bool fattEndast(const QByteArray& forvantat, int ms = 100) {
        if (!fatt(forvantat))
            return false;
        QTest::qWait(ms);
        if (maskin->mottaget == forvantat)
            return true;
        qWarning("sent %s after it", maskin->mottaget.mid(forvantat.size()).toHex(' ').constData());
        return false;
    }
    // Waits for a message, and tells whether the last one shown is this
    // critical one.
    bool visat(const QString& text, const QString& titel) {
        (void)QTest::qWaitFor([&] { return !f.m.visade.isEmpty(); }, 10000);
        if (!f.m.visade.isEmpty() && f.m.senasteText() == text && f.m.visade.back().titel == titel &&
            f.m.visade.back().ikon == Ikon::Kritisk)
            return true;
        qWarning("shown \"%s\" titled \"%s\"", qPrintable(f.m.senasteText()),
                 f.m.visade.isEmpty() ? "" : qPrintable(f.m.visade.back().titel));
        return false;
    }
    bool vilar() const { return !lank.lasningPagar() && lank.statustext() == Tolklank::VilaText; }

    Testfixtur f;
    Kabel kabel;
    std::unique_ptr<Maskin> maskin;
    Tolklank lank;
    bool markerad = true;
    bool sparas = true;
    Lasta kort;
    QList<QPair<QString, Bild>> status;
};

void modeller() {
    QTest::addColumn<Modell>("modell");
    QTest::newRow("SAM 4000") << Modell::Sam4000;
    QTest::newRow("RIKA") << Modell::Rika;
}

// How the machine goes quiet.
enum class Tystnad { Tyst, Fastnar, Dras, DrasMittIKort };

} // namespace

class T_tolklank : public QObject {
    Q_OBJECT
private slots:
    void installningstext() {
        using S = QSerialPort;
        const std::pair<const char*, Serieinstallningar> goda[] = {
            {"9600,N,8,1", {9600, S::NoParity, S::Data8, S::OneStop}},
            {" 1200 , e, 7 ,2", {1200, S::EvenParity, S::Data7, S::TwoStop}},
            {"4800,O,5,1.5", {4800, S::OddParity, S::Data5, S::OneAndHalfStop}},
            {"4800,M,6,1", {4800, S::MarkParity, S::Data6, S::OneStop}},
            {"4800,S,6,1", {4800, S::SpaceParity, S::Data6, S::OneStop}}};
        for (const auto& [text, varde] : goda) {
            const auto s = tolkaSerieinstallningar(QString::fromLatin1(text));
            QVERIFY2(s, text);
            QCOMPARE(s->hastighet, varde.hastighet);
            QCOMPARE(s->paritet, varde.paritet);
            QCOMPARE(s->databitar, varde.databitar);
            QCOMPARE(s->stoppbitar, varde.stoppbitar);
        }
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

    // The start and set-up bytes for each Barcode and DecimalerRika value, up
    // to the first poll, read anew at every start; the RIKA's three characters
    // of answer end its wait long before the bound.
    void start_data() {
        QTest::addColumn<Modell>("modell");
        QTest::addColumn<QString>("nyckel");
        QTest::addColumn<QString>("varde");
        QTest::addColumn<QByteArray>("skickat");
        const QString streckkod = Ini::Barcode.nyckel, decimaler = Ini::DecimalerRika.nyckel;
        const QByteArray rika = "\x0C\xD4\x1BS5\r\x1BT0\r\x1BU1\r";
        const Modell sam = Modell::Sam4000;
        QTest::newRow("Barcode saknas") << sam << streckkod << QString() << QByteArray("\xB2\x06\x05");
        QTest::newRow("Barcode 0") << sam << streckkod << "0" << QByteArray("\xB2\x06\x05");
        QTest::newRow("Barcode 1") << sam << streckkod << "1" << QByteArray("\xB1\x06\x05");
        QTest::newRow("Barcode 2") << sam << streckkod << "2" << QByteArray("\xB2\x06\x05");
        QTest::newRow("DecimalerRika saknas")
            << Modell::Rika << decimaler << QString() << rika + "\x1BZ0\r\x16";
        QTest::newRow("DecimalerRika 0") << Modell::Rika << decimaler << "0" << rika + "\x1BZ0\r\x16";
        QTest::newRow("DecimalerRika 1") << Modell::Rika << decimaler << "1" << rika + "\x1BZ1\r\x16";
        QTest::newRow("DecimalerRika 2") << Modell::Rika << decimaler << "2" << QByteArray("\x0C\xD4\x16");
        QTest::newRow("DecimalerRika True")
            << Modell::Rika << decimaler << "True" << QByteArray("\x0C\xD4\x16");
    }
    void start() {
        QFETCH(Modell, modell);
        QFETCH(QString, nyckel);
        QFETCH(QString, varde);
        QFETCH(QByteArray, skickat);
        const Tal t = tal(modell);
        Bord b(modell);
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt(t.start + t.poll));
        b.lank.AvbrytKommTolkmaskin();
        QTRY_VERIFY(b.maskin->mottaget.endsWith(t.stopp));
        b.maskin->mottaget.clear();
        if (!varde.isNull())
            b.installning(nyckel, varde);
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.lank.lasningPagar());
        QVERIFY(b.lank.portOppen());
        QVERIFY(b.fatt(skickat));
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
        Bord b(Modell::Rika);
        b.maskin->svar[char(0xD4)] = svar;
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fattEndast("\x0C\xD4", 300));
        QCOMPARE(b.lank.statustext(), Tolklank::VilaText);
        QVERIFY(b.lank.lasningPagar());
        // Escape during the wait ends it like a read.
        b.lank.avbrytMedEscape();
        QVERIFY(b.fatt("\x0C\xD4\xD0"));
        QVERIFY(!b.lank.portOppen());

        Bord snabb(Modell::Rika, korta(&Tider::rikaStartsvar, 100ms));
        snabb.maskin->svar[char(0xD4)] = svar;
        snabb.lank.HamtaResFranTolkmaskin();
        QVERIFY(snabb.fatt(tal(Modell::Rika).start + "\x16"));
    }

    // --- Poll, frames, check characters ---

    void omstartEfterSparat_data() { modeller(); }
    void omstartEfterSparat() {
        QFETCH(Modell, modell);
        const Tal t = tal(modell);
        Bord b(modell);
        b.maskin->kort = {{godtKort(modell)}, {kort(modell, {10.0, 10.3, 10.2, 0.0, 1.0})}};
        b.lank.HamtaResFranTolkmaskin();
        const QByteArray tva = t.start + t.poll + t.kvittens + t.omstart + t.poll + t.kvittens;
        QVERIFY(b.fatt(tva));
        QCOMPARE(b.kort, (QList{GodtKortLast, qMakePair(31, QStringLiteral("+*+01"))}));
        QVERIFY(b.status.contains(qMakePair(Tolklank::SparaText, Bild::ComConn)));
        // A restart goes on polling.
        QVERIFY(b.fatt(tva + t.omstart + t.poll + t.poll));
        QVERIFY(b.lank.lasningPagar());
        QCOMPARE(b.lank.statustext(), Tolklank::StartText);
    }

    // One read: the machine's answers to the polls in turn (each in one or
    // more pieces), what the link sends after the start and the first poll,
    // the cards it hands over and what it shows. Then Enter reads again from a
    // full start: what came into the port meanwhile answers nothing (the RIKA's
    // start answer is counted from the start), and a bad check character is
    // forgiven once more.
    void enLasning_data() {
        QTest::addColumn<Modell>("modell");
        QTest::addColumn<QList<QByteArrayList>>("svar");
        QTest::addColumn<bool>("sparas");
        QTest::addColumn<QByteArray>("skickat");
        QTest::addColumn<int>("kort");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("titel");
        QTest::addColumn<bool>("oppen");
        const QList<std::optional<double>> tior{10.0, 10.0, 10.0, 10.0, 10.0};
        for (const Modell m : {Modell::Sam4000, Modell::Rika}) {
            const Tal t = tal(m);
            const QByteArray ram = godtKort(m), fel = felKontroll(ram, m);
            const auto rad = [&](const QString& fall, const QList<QByteArrayList>& svar,
                                 const QByteArray& skickat, int kort, const QString& text = {},
                                 const QString& titel = {}, bool oppen = true, bool sparas = true) {
                QTest::newRow(qPrintable(modelltext(m) + QLatin1Char(' ') + fall))
                    << m << svar << sparas << skickat << kort << text << titel << oppen;
            };
            rad("ej klar två gånger", {{t.ejKlar}, {t.ejKlar}, {ram}}, t.poll + t.poll + t.kvittens, 1);
            rad("upprepas", {{fel}, {ram}}, t.igen + t.kvittens, 1);
            rad("två fel kontrolltecken", {{fel}, {fel}}, t.igen + t.kvittens + t.stopp, 0,
                QStringLiteral("Fel checksumma!\r\rDet blev fel i överföringen från tolkmaskinen!\r"
                               "Kör tavlan en gång till."),
                QStringLiteral("Överföringsfel!"), false);
            // No poll goes out while a card is on its way.
            rad("i fyra bitar", {{ram.left(1), ram.mid(1, 60), ram.mid(61, 92), ram.mid(153)}}, t.kvittens,
                1);
            // The check character alone after a pause, equal to a byte that
            // means something else in the talk.
            for (const char k : m == Modell::Sam4000 ? QByteArray("\x15$\x17") : QByteArray("\0\x04", 2)) {
                const QByteArray ramK = kortMedKontroll(m, k);
                const qsizetype n = kontrollFranSlut(m);
                rad(QStringLiteral("kontrolltecken %1").arg(quint8(k), 2, 16, QLatin1Char('0')),
                    {{ramK.chopped(n), ramK.right(n)}}, t.kvittens, 1);
            }
            // Refused: told, and open and idle for the operator to mark a
            // series and press Enter again.
            rad("typ", {{kort(m, tior, "lg")}}, t.kvittens, 0, Tavelsvar::FelTypText, Tavelsvar::FelTypTitel);
            rad("antal", {{kort(m, tior, "LG", 10)}}, t.kvittens, 0, Tavelsvar::FelAntalText,
                Tavelsvar::FelAntalTitel);
            rad("saknat skott", {{kort(m, {10.0, 10.0, std::nullopt, 10.0, 10.0})}}, t.kvittens, 0,
                Tavelsvar::SaknatSkottText, Tavelsvar::FelAntalTitel);
            rad("oläsbart", {{kort(m, {11.0, 10.0, 10.0, 10.0, 10.0})}}, t.kvittens, 0,
                Tavelsvar::OlasbarText, Tavelsvar::OlasbarTitel);
            // The window could not save it (and told so itself).
            rad("sparas inte", {{ram}}, t.kvittens, 1, {}, {}, true, false);
        }
    }
    void enLasning() {
        QFETCH(Modell, modell);
        QFETCH(QList<QByteArrayList>, svar);
        QFETCH(bool, sparas);
        QFETCH(QByteArray, skickat);
        QFETCH(int, kort);
        QFETCH(QString, text);
        QFETCH(QString, titel);
        QFETCH(bool, oppen);
        const Tal t = tal(modell);
        Bord b(modell, korta(&Tider::omstart, 60s));
        b.sparas = sparas;
        b.maskin->kort = svar;
        b.lank.HamtaResFranTolkmaskin();
        if (!text.isEmpty())
            QVERIFY(b.visat(text, titel));
        const QByteArray forsta = t.start + t.poll + skickat;
        QVERIFY(b.fattEndast(forsta));
        QCOMPARE(b.kort, Lasta(kort, GodtKortLast));
        QCOMPARE(b.f.m.visade.size(), text.isEmpty() ? 0 : 1);
        // A saved card waits for the restart; else the link waits for Enter.
        const bool sparad = kort && sparas;
        QCOMPARE(b.lank.statustext(), sparad ? Tolklank::SparaText : Tolklank::VilaText);
        QCOMPARE(b.lank.bild(), sparad ? Bild::ComConn : Bild::Ingen);
        QVERIFY(!b.lank.lasningPagar());
        QCOMPARE(b.lank.portOppen(), oppen);
        QCOMPARE(harOppen(b.kabel.pc), oppen);
        // The start showed ComConn, then the picture alternated once per poll.
        QCOMPARE(b.status.first(), qMakePair(Tolklank::StartText, Bild::ComConn));
        for (qsizetype i = 1; i <= forsta.count(t.poll[0]); ++i)
            QCOMPARE(b.status.value(i).second, i % 2 ? Bild::ComOkSend : Bild::ComOkRec);

        b.maskin->skriv(t.ejKlar + t.ejKlar);
        QTest::qWait(100);
        b.sparas = true;
        b.maskin->kort = {{felKontroll(godtKort(modell), modell)}, {godtKort(modell)}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt(forsta + t.start + t.poll + t.igen + t.kvittens));
        QCOMPARE(b.kort, Lasta(kort + 1, GodtKortLast));
        QCOMPARE(b.f.m.visade.size(), text.isEmpty() ? 0 : 1);
    }

    // --- Time-outs and a lost device ---

    void ingenKontakt_data() {
        QTest::addColumn<Modell>("modell");
        QTest::addColumn<Tystnad>("hur");
        for (const Modell m : {Modell::Sam4000, Modell::Rika}) {
            const QString namn = modelltext(m) + QLatin1Char(' ');
            QTest::newRow(qPrintable(namn + "tyst")) << m << Tystnad::Tyst;
            QTest::newRow(qPrintable(namn + "kortet fastnar")) << m << Tystnad::Fastnar;
            QTest::newRow(qPrintable(namn + "kabeln dras")) << m << Tystnad::Dras;
            QTest::newRow(qPrintable(namn + "kabeln dras mitt i kortet")) << m << Tystnad::DrasMittIKort;
        }
    }
    // A machine that answers nothing, a card that stops part-way, a cable
    // pulled between polls or in the middle of a card: no contact, told once;
    // the port is let go, a SAM 4000 shows NoComConn, and no card is saved.
    void ingenKontakt() {
        QFETCH(Modell, modell);
        QFETCH(Tystnad, hur);
        const Tal t = tal(modell);
        const bool dras = hur == Tystnad::Dras || hur == Tystnad::DrasMittIKort;
        Bord b(modell, hur == Tystnad::Tyst      ? korta(&Tider::timeout, 100ms)
                       : hur == Tystnad::Fastnar ? korta(&Tider::efterRamstart, 200ms)
                                                 : korta());
        b.maskin->tyst = hur != Tystnad::Dras;
        if (hur == Tystnad::Fastnar || hur == Tystnad::DrasMittIKort)
            b.maskin->efterByte = [&b, t, modell](char c) {
                if (c == t.poll[0])
                    b.maskin->skriv(godtKort(modell).left(60));
            };
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt(t.start + t.poll + (hur == Tystnad::Dras ? t.poll : QByteArray())));
        const QString pts = QFileInfo(b.kabel.pc).canonicalFilePath();
        if (dras) {
            QVERIFY(harOppen(pts));
            QTest::qWait(50);
            b.kabel.dra();
        }
        QVERIFY(b.visat(IngenKontakt, QStringLiteral("Kommunikationsfel!")));
        QCOMPARE(b.f.m.visade.size(), 1);
        QCOMPARE(b.lank.bild(), modell == Modell::Sam4000 ? Bild::NoComConn : Bild::Ingen);
        QVERIFY(b.vilar());
        QVERIFY(!b.lank.portOppen());
        QVERIFY(!QFileInfo::exists(pts) || !harOppen(pts));
        QVERIFY(b.kort.isEmpty());
        // No stop byte, and only one poll: the ticks while it waited were skipped.
        if (hur != Tystnad::Dras)
            QCOMPARE(b.maskin->mottaget, t.start + t.poll);
        if (dras) {
            // Enter again: the port is not there.
            b.lank.HamtaResFranTolkmaskin();
            QVERIFY(b.visat(PortSaknas, FelInstallningar));
            QVERIFY(b.vilar());
        }
    }

    void langsamtKortHinner() {
        // Once the card has begun, the time-out for a silent machine no longer
        // applies.
        Tider tider = korta(&Tider::timeout, 500ms);
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

    void kortOchTimeoutSamtidigt_data() { modeller(); }
    void kortOchTimeoutSamtidigt() {
        QFETCH(Modell, modell);
        const Tal t = tal(modell);
        Tider tider = korta(&Tider::timeout, 50ms);
        tider.omstart = 60s;
        Bord b(modell, tider);
        b.maskin->tyst = true;
        // The card comes whole, and the program gets back to it only when its
        // time-out is long overdue.
        b.maskin->efterByte = [&b, t, modell](char c) {
            if (c != t.poll[0])
                return;
            b.maskin->skriv(godtKort(modell));
            QThread::msleep(500);
        };
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt(t.start + t.poll + t.kvittens));
        QCOMPARE(b.kort.size(), 1);
        QVERIFY(b.f.m.visade.isEmpty());
    }

    void maskinenForsvinnerIVila() {
        // Nothing runs after a refused card: the port is let go quietly.
        Bord b(Modell::Sam4000);
        b.maskin->kort = {{kort(Modell::Sam4000, {10.0, 10.0, 10.0, 10.0, 10.0}, "LP")}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.visat(Tavelsvar::FelTypText, Tavelsvar::FelTypTitel));
        QVERIFY(b.lank.portOppen());
        b.kabel.dra();
        QTRY_VERIFY(!b.lank.portOppen());
        QCOMPARE(b.f.m.visade.size(), 1);
        QVERIFY(b.vilar());
    }

    // --- Stop and Escape ---

    void avbrytMedKortIPorten_data() {
        QTest::addColumn<Modell>("modell");
        QTest::addColumn<bool>("escape");
        QTest::addColumn<QByteArray>("avslut");
        QTest::newRow("SAM 4000 Escape") << Modell::Sam4000 << true << QByteArray();
        QTest::newRow("RIKA Escape") << Modell::Rika << true << QByteArray("\xD0");
        QTest::newRow("SAM 4000 stopp") << Modell::Sam4000 << false << QByteArray("\xB0");
        QTest::newRow("RIKA stopp") << Modell::Rika << false << QByteArray("\xD0");
    }
    // The card is on its way when the operator presses Escape or switches
    // squads (Stop): only the model's byte for it goes out, the card is dropped
    // and the port let go. Again while nothing runs sends nothing; the next
    // Enter starts afresh.
    void avbrytMedKortIPorten() {
        QFETCH(Modell, modell);
        QFETCH(bool, escape);
        QFETCH(QByteArray, avslut);
        const Tal t = tal(modell);
        Bord b(modell);
        const auto avbryt = [&b, escape] {
            if (escape)
                b.lank.avbrytMedEscape();
            else
                b.lank.AvbrytKommTolkmaskin();
        };
        b.maskin->tyst = true;
        b.maskin->efterByte = [&b, t, modell, avbryt](char c) {
            if (c != t.poll[0])
                return;
            b.maskin->skriv(godtKort(modell));
            QThread::msleep(200);
            avbryt();
        };
        b.lank.HamtaResFranTolkmaskin();
        const QByteArray allt = t.start + t.poll + avslut;
        QVERIFY(b.fattEndast(allt, 200));
        QVERIFY(b.vilar());
        QCOMPARE(b.lank.bild(), Bild::Ingen);
        QVERIFY(b.lank.avbruten());
        QVERIFY(!b.lank.portOppen());
        QVERIFY(!harOppen(b.kabel.pc));
        QVERIFY(b.kort.isEmpty());
        QVERIFY(b.f.m.visade.isEmpty());

        avbryt();
        QCOMPARE(b.maskin->mottaget, allt);
        b.maskin->efterByte = nullptr;
        b.maskin->tyst = false;
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(!b.lank.avbruten());
        QVERIFY(b.fatt(allt + t.start + t.poll));
    }

    void stoppUnderOmstart_data() { modeller(); }
    void stoppUnderOmstart() {
        QFETCH(Modell, modell);
        const Tal t = tal(modell);
        Bord b(modell, korta(&Tider::omstart, 200ms));
        b.maskin->kort = {{godtKort(modell)}};
        // Switching squads right after the card was saved.
        QObject::connect(&b.lank, &Tolklank::tavelsvar, &b.lank, [&b] { b.lank.AvbrytKommTolkmaskin(); });
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt(t.start + t.poll + t.kvittens + t.stopp));
        QCOMPARE(b.kort.size(), 1);
        QVERIFY(b.vilar());
        QVERIFY(!b.lank.portOppen());
        QVERIFY(b.fattEndast(t.start + t.poll + t.kvittens + t.stopp, 600));
        QVERIFY(!b.lank.portOppen());
        QVERIFY(b.lank.avbruten());
    }

    // --- Starts that fail ---

    void startfel_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("comport");
        QTest::addColumn<QString>("linje");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("heltext");
        const auto rad = [](const char* namn, const QString& model, const QString& comport,
                            const QString& linje, const QString& text, bool heltext = true) {
            QTest::newRow(namn) << model << comport << linje << text << heltext;
        };
        const QString sam = modelltext(Modell::Sam4000), god = StandardSerieinstallningar;
        const QString proc = QStringLiteral("frmResultatinskrivning_HämtaResFrånTolkmaskin\r");
        rad("okänd modell", "SAM 5000", "7", god, "Okänd tolkmaskin i inställningarna: SAM 5000");
        rad("port 0", sam, "0", god, PortSaknas);
        rad("ingen enhet", sam, "8", god, PortSaknas);
        rad("fel linje", sam, "7", "9600,X,8,1",
            proc + QString::number(int(QSerialPort::UnsupportedOperationError)) +
                " Porten klarar inte inställningarna \"9600,X,8,1\"");
        rad("port ej tal", sam, "sju", god, proc + "13 ", false);
    }
    // The settings' own refusals are critical, titled "Fel inställningar";
    // other failures show where, the number and the description, with no icon
    // and the program's title. Nothing is sent.
    void startfel() {
        QFETCH(QString, model);
        QFETCH(QString, comport);
        QFETCH(QString, linje);
        QFETCH(QString, text);
        QFETCH(bool, heltext);
        Bord b(Modell::Sam4000);
        QVERIFY(b.f.g.iniProgram.WriteKey(SerieportarSektion, QStringLiteral("COM8"),
                                          b.f.t.fil(QStringLiteral("ttyUSB9"))));
        b.installning(Ini::Model.nyckel, model);
        b.installning(Ini::Comport.nyckel, comport);
        b.installning(Ini::Settings.nyckel, linje);
        b.lank.HamtaResFranTolkmaskin();
        const QString visat = b.f.m.senasteText();
        QVERIFY2(heltext ? visat == text : visat.startsWith(text), qPrintable(visat));
        const bool ovantat = text.startsWith(QStringLiteral("frmResultatinskrivning_"));
        QCOMPARE(b.f.m.visade.back().titel, ovantat ? QString() : FelInstallningar);
        QCOMPARE(b.f.m.visade.back().ikon, ovantat ? Ikon::Ingen : Ikon::Kritisk);
        QVERIFY(b.vilar());
        QVERIFY(!b.lank.portOppen());
        QTest::qWait(100);
        QVERIFY(b.maskin->mottaget.isEmpty());
    }

    void portUpptagen() {
        Bord b(Modell::Sam4000);
        QSerialPort annan;
        annan.setPortName(b.kabel.pc);
        QVERIFY(annan.open(QIODevice::ReadWrite));
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.visat(QStringLiteral("Com porten används redan av ett annat program."), FelInstallningar));
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
        QVERIFY(b.visat(QStringLiteral("Du har inte behörighet att använda ") + b.kabel.pc +
                            QStringLiteral(".\rAnvändaren måste vara med i gruppen dialout."),
                        FelInstallningar));
        QVERIFY(b.vilar());
        QVERIFY(!b.lank.portOppen());
    }
};

QTEST_MAIN(T_tolklank)
#include "test_tolklank.moc"
