#include "Tolkstod.h"
#include "common/IniNamn.h"
#include "support/Testfixtur.h"
#include "support/VanligAnvandare.h"

#include <QFile>
#include <QTest>
#include <QThread>
#include <memory>

using Bild = Tolklank::Bild;
using Ikon = Meddelanden::Ikon;
using Tider = Tolklank::Tider;
using namespace Qt::StringLiterals;

namespace {

const QPair<int, QString> GodtKortLast(46, QStringLiteral("*+998"));
// The series and shot strings of the cards handed over.
using Lasta = QList<QPair<int, QString>>;

// The good card with its check character wrong.
QByteArray felKontroll(Modell modell) {
    QByteArray fel = ram(modell, GottKort);
    fel[fel.size() - kontrollFranSlut(modell)] ^= 0x40;
    return fel;
}

const QString IngenKontakt =
    QStringLiteral("Ingen kontakt med tolkmaskinen!\r\rKolla att du har valt rätt Com port "
                   "i inställningarna\roch att kabeln sitter i ordentligt.");
const QString PortSaknas =
    QStringLiteral("Du har valt en Com port som inte finns!\rÄndra Com port i inställningarna.");
const QString FelInstallningar = QStringLiteral("Fel inställningar");

// The window's share of the link: settings, marked series, saving, status.
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
    // Whether the machine got this first (endastMs given: only this, for so long).
    bool fatt(const QByteArray& forvantat, int endastMs = -1) {
        (void)QTest::qWaitFor([&] { return maskin->mottaget.size() >= forvantat.size(); }, 10000);
        if (endastMs >= 0)
            QTest::qWait(endastMs);
        const QByteArray& m = maskin->mottaget;
        if (endastMs >= 0 ? m == forvantat : m.startsWith(forvantat))
            return true;
        qWarning("sent %s, expected %s", m.toHex(' ').constData(), forvantat.toHex(' ').constData());
        return false;
    }
    // Whether the last message is this critical one, once one comes.
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

// How the machine goes quiet.
enum class Tystnad { Tyst, Fastnar, Dras, DrasMittIKort };

} // namespace

class T_tolklank : public QObject {
    Q_OBJECT
private slots:
    // The line settings as the INI writes them, set on the device (a pty takes
    // speed and stop bits only).
    void installningstext() {
        using S = QSerialPort;
        const std::pair<const char*, Serieinstallningar> goda[] = {
            {"9600,N,8,1", {9600, S::NoParity, S::Data8, S::OneStop}},
            {" 1200 , e, 7 ,2", {1200, S::EvenParity, S::Data7, S::TwoStop}},
            {"4800,O,5,1.5", {4800, S::OddParity, S::Data5, S::OneAndHalfStop}},
            {"4800,M,6,1", {4800, S::MarkParity, S::Data6, S::OneStop}},
            {"4800,S,6,1", {4800, S::SpaceParity, S::Data6, S::OneStop}}};
        for (const auto& [text, v] : goda) {
            const auto s = tolkaSerieinstallningar(QString::fromLatin1(text));
            QVERIFY2(s && s->hastighet == v.hastighet && s->paritet == v.paritet &&
                         s->databitar == v.databitar && s->stoppbitar == v.stoppbitar,
                     text);
        }
        for (const char* fel :
             {"", "9600", "9600,N,8", "9600,N,8,1,1", "0,N,8,1", "-9600,N,8,1", "snabb,N,8,1", "9600,X,8,1",
              "9600,N,9,1", "9600,N,4,1", "9600,N,8,3", "9600,,8,1"})
            QVERIFY2(!tolkaSerieinstallningar(QString::fromLatin1(fel)), fel);
        Kabel kabel;
        QSerialPort port;
        QVERIFY(!oppnaSerieport(port, kabel.pc, QStringLiteral("1200,N,8,2")));
        QCOMPARE(port.baudRate(), 1200);
        QCOMPARE(port.stopBits(), QSerialPort::TwoStop);
        port.close();
        const auto fel = oppnaSerieport(port, kabel.pc, QStringLiteral("9600,Q,8,1"));
        QVERIFY(fel && fel->nummer == int(QSerialPort::UnsupportedOperationError) && !port.isOpen());
    }

    // The start bytes up to the first poll by Barcode and DecimalerRika (none
    // written first), read anew at every start.
    void start() {
        const QByteArray rika = "\x0C\xD4\x1BS5\r\x1BT0\r\x1BU1\r\x1BZ", sam = "\x06\x05";
        const struct {
            Modell modell;
            QString nyckel;
            QStringList varden;
            QByteArrayList skickat;
        } fall[] = {{Modell::Sam4000,
                     Ini::Barcode.nyckel,
                     {{}, "0", "1", "2"},
                     {"\xB2" + sam, "\xB2" + sam, "\xB1" + sam, "\xB2" + sam}},
                    {Modell::Rika,
                     Ini::DecimalerRika.nyckel,
                     {{}, "0", "1", "2", "True"},
                     {rika + "0\r\x16", rika + "0\r\x16", rika + "1\r\x16", "\x0C\xD4\x16", "\x0C\xD4\x16"}}};
        for (const auto& f : fall) {
            Bord b(f.modell);
            for (int i = 0; i < f.varden.size(); ++i) {
                if (!f.varden[i].isNull())
                    b.installning(f.nyckel, f.varden[i]);
                b.maskin->mottaget.clear();
                b.lank.HamtaResFranTolkmaskin();
                QVERIFY(b.lank.lasningPagar() && b.lank.portOppen());
                QVERIFY2(b.fatt(f.skickat[i]), qPrintable(f.varden[i]));
                QCOMPARE(b.lank.statustext(), Tolklank::StartText);
                b.lank.AvbrytKommTolkmaskin();
                QTRY_VERIFY(b.maskin->mottaget.endsWith(tal(f.modell).stopp));
            }
        }
    }

    // Only three characters answer the RIKA's start: else it waits the bound;
    // Escape ends the wait.
    void rikaStartsvar() {
        for (const QByteArray& svar : {QByteArray("abcd"), QByteArray()}) {
            Bord b(Modell::Rika);
            b.maskin->svar[char(0xD4)] = svar;
            b.lank.HamtaResFranTolkmaskin();
            QVERIFY(b.fatt("\x0C\xD4", 300));
            QCOMPARE(b.lank.statustext(), Tolklank::VilaText);
            QVERIFY(b.lank.lasningPagar());
            b.lank.avbrytMedEscape();
            QVERIFY(b.fatt("\x0C\xD4\xD0"));
            QVERIFY(!b.lank.portOppen());
            Bord snabb(Modell::Rika, korta(&Tider::rikaStartsvar, 100ms));
            snabb.maskin->svar[char(0xD4)] = svar;
            snabb.lank.HamtaResFranTolkmaskin();
            QVERIFY(snabb.fatt(tal(Modell::Rika).start + "\x16"));
        }
    }

    // One read: the answers to the polls (in pieces), what the link sends, the
    // cards it hands over, what it shows. Enter then starts afresh: what came
    // meanwhile answers nothing, a bad check character is forgiven once more.
    void enLasning_data() {
        QTest::addColumn<Modell>("modell");
        QTest::addColumn<QList<QByteArrayList>>("svar");
        QTest::addColumn<bool>("sparas");
        QTest::addColumn<QByteArray>("skickat");
        QTest::addColumn<int>("kort");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("titel");
        QTest::addColumn<bool>("oppen");
        const QString tior = QStringLiteral("10,10,10,10,10");
        for (const Modell m : {Modell::Sam4000, Modell::Rika}) {
            const Tal t = tal(m);
            const QByteArray god = ram(m, GottKort), fel = felKontroll(m);
            const auto rad = [&](const QString& fall, const QList<QByteArrayList>& svar,
                                 const QByteArray& skickat, int kort, const QString& text = {},
                                 const QString& titel = {}, bool oppen = true, bool sparas = true) {
                QTest::newRow(qPrintable(modelltext(m) + QLatin1Char(' ') + fall))
                    << m << svar << sparas << skickat << kort << text << titel << oppen;
            };
            rad("ej klar två gånger", {{t.ejKlar}, {t.ejKlar}, {god}}, t.poll + t.poll + t.kvittens, 1);
            rad("upprepas", {{fel}, {god}}, t.igen + t.kvittens, 1);
            rad("två fel kontrolltecken", {{fel}, {fel}}, t.igen + t.kvittens + t.stopp, 0,
                QStringLiteral("Fel checksumma!\r\rDet blev fel i överföringen från tolkmaskinen!\r"
                               "Kör tavlan en gång till."),
                QStringLiteral("Överföringsfel!"), false);
            // No poll goes out while a card is on its way.
            rad("i fyra bitar", {{god.left(1), god.mid(1, 60), god.mid(61, 92), god.mid(153)}}, t.kvittens,
                1);
            // The check character alone, a byte that means something else.
            for (const char k : m == Modell::Sam4000 ? QByteArray("\x15$\x17") : QByteArray("\0\x04", 2)) {
                const QByteArray r = medKontrolltecken(m, k);
                const qsizetype n = kontrollFranSlut(m);
                rad(QStringLiteral("kontrolltecken %1").arg(quint8(k), 2, 16, QLatin1Char('0')),
                    {{r.chopped(n), r.right(n)}}, t.kvittens, 1);
            }
            // Refused: told, the port open and idle for Enter.
            rad("typ", {{ram(m, tior, "lg")}}, t.kvittens, 0, Tavelsvar::FelTypText, Tavelsvar::FelTypTitel);
            rad("antal", {{ram(m, tior, "LG", 10)}}, t.kvittens, 0, Tavelsvar::FelAntalText,
                Tavelsvar::FelAntalTitel);
            rad("saknat skott", {{ram(m, QStringLiteral("10,10,?,10,10"))}}, t.kvittens, 0,
                Tavelsvar::SaknatSkottText, Tavelsvar::FelAntalTitel);
            rad("oläsbart", {{ram(m, QStringLiteral("11,10,10,10,10"))}}, t.kvittens, 0,
                Tavelsvar::OlasbarText, Tavelsvar::OlasbarTitel);
            // The window could not save it (and told so itself).
            rad("sparas inte", {{god}}, t.kvittens, 1, {}, {}, true, false);
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
        QVERIFY(b.fatt(forsta, 100));
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
        b.maskin->kort = {{felKontroll(modell)}, {ram(modell, GottKort)}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt(forsta + t.start + t.poll + t.igen + t.kvittens));
        QCOMPARE(b.kort, Lasta(kort + 1, GodtKortLast));
        QCOMPARE(b.f.m.visade.size(), text.isEmpty() ? 0 : 1);
    }

    // A silent machine, a card stopping part-way, a cable pulled: no contact,
    // told once, the port let go, a SAM 4000 showing NoComConn, no card.
    void ingenKontakt() {
        for (const Modell modell : {Modell::Sam4000, Modell::Rika})
            for (const Tystnad hur : {Tystnad::Tyst, Tystnad::Fastnar, Tystnad::Dras, Tystnad::DrasMittIKort})
                if (!QTest::currentTestFailed())
                    ingenKontakt(modell, hur);
    }

    void langsamtKortHinner() {
        // Once the card has begun, the silent machine's time-out is over.
        Tider tider = korta(&Tider::timeout, 500ms);
        tider.omstart = 60s;
        Bord b(Modell::Sam4000, tider);
        const QByteArray r = ram(Modell::Sam4000, GottKort);
        b.maskin->kort = {{r.left(40)}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt("\xB2\x06\x05"));
        QTest::qWait(1500);
        QVERIFY(b.f.m.visade.isEmpty() && b.lank.lasningPagar());
        b.maskin->skriv(r.mid(40));
        QVERIFY(b.fatt("\xB2\x06\x05\x06"));
        QCOMPARE(b.kort.size(), 1);
    }

    // A card whole in the port when its time-out is long overdue counts.
    void kortOchTimeoutSamtidigt_data() { modeller(); }
    void kortOchTimeoutSamtidigt() {
        QFETCH(Modell, modell);
        const Tal t = tal(modell);
        Tider tider = korta(&Tider::timeout, 50ms);
        tider.omstart = 60s;
        Bord b(modell, tider);
        b.maskin->tyst = true;
        b.maskin->efterByte = [&b, t, modell](char c) {
            if (c != t.poll[0])
                return;
            b.maskin->skriv(ram(modell, GottKort));
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
        b.maskin->kort = {{ram(Modell::Sam4000, QStringLiteral("10,10,10,10,10"), "LP")}};
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.visat(Tavelsvar::FelTypText, Tavelsvar::FelTypTitel));
        QVERIFY(b.lank.portOppen());
        b.kabel.dra();
        QTRY_VERIFY(!b.lank.portOppen());
        QCOMPARE(b.f.m.visade.size(), 1);
        QVERIFY(b.vilar());
    }

    // Escape or Stop while a card comes: only the model's byte for it goes out,
    // the card is dropped, the port let go; again sends nothing; Enter reads.
    void avbrytMedKortIPorten() {
        for (const Modell modell : {Modell::Sam4000, Modell::Rika})
            for (const bool escape : {true, false})
                if (!QTest::currentTestFailed())
                    avbrytMedKortIPorten(modell, escape,
                                         escape && modell == Modell::Sam4000 ? QByteArray()
                                                                             : tal(modell).stopp);
    }

    // The settings' refusals are critical, titled "Fel inställningar"; others
    // show where, number and description, no icon or title. Nothing is sent; a
    // busy port reads once let go.
    void startfel() {
        const QString sam = modelltext(Modell::Sam4000), god = StandardSerieinstallningar;
        const QString proc = QStringLiteral("frmResultatinskrivning_HämtaResFrånTolkmaskin\r");
        const struct {
            QString model, comport, linje, text;
            bool heltext = true;
        } fall[] = {{u"SAM 5000"_s, u"7"_s, god, u"Okänd tolkmaskin i inställningarna: SAM 5000"_s},
                    {sam, u"0"_s, god, PortSaknas},
                    {sam, u"8"_s, god, PortSaknas},
                    {sam, u"7"_s, u"9600,X,8,1"_s,
                     proc + QString::number(int(QSerialPort::UnsupportedOperationError)) +
                         u" Porten klarar inte inställningarna \"9600,X,8,1\""_s},
                    {sam, u"sju"_s, god, proc + u"13 "_s, false},
                    {sam, u"7"_s, god, u"Com porten används redan av ett annat program."_s}};
        for (const auto& f : fall)
            if (!QTest::currentTestFailed())
                startfel(f.model, f.comport, f.linje, f.text, f.heltext);
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
        QVERIFY(b.vilar() && !b.lank.portOppen());
    }

private:
    void ingenKontakt(Modell modell, Tystnad hur) {
        const Tal t = tal(modell);
        const bool dras = hur == Tystnad::Dras || hur == Tystnad::DrasMittIKort;
        Bord b(modell, hur == Tystnad::Tyst      ? korta(&Tider::timeout, 100ms)
                       : hur == Tystnad::Fastnar ? korta(&Tider::efterRamstart, 200ms)
                                                 : korta());
        b.maskin->tyst = hur != Tystnad::Dras;
        if (hur == Tystnad::Fastnar || hur == Tystnad::DrasMittIKort)
            b.maskin->efterByte = [&b, t, modell](char c) {
                if (c == t.poll[0])
                    b.maskin->skriv(ram(modell, GottKort).left(60));
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
        QVERIFY(b.vilar() && !b.lank.portOppen() && !harOppen(pts));
        QVERIFY(b.kort.isEmpty());
        // No stop byte, and one poll: the ticks while it waited were skipped.
        if (hur != Tystnad::Dras)
            QCOMPARE(b.maskin->mottaget, t.start + t.poll);
        if (dras) {
            // Enter again: the port is not there.
            b.lank.HamtaResFranTolkmaskin();
            QVERIFY(b.visat(PortSaknas, FelInstallningar));
            QVERIFY(b.vilar());
        }
    }

    void avbrytMedKortIPorten(Modell modell, bool escape, const QByteArray& avslut) {
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
            b.maskin->skriv(ram(modell, GottKort));
            QThread::msleep(200);
            avbryt();
        };
        b.lank.HamtaResFranTolkmaskin();
        const QByteArray allt = t.start + t.poll + avslut;
        QVERIFY(b.fatt(allt, 200));
        QVERIFY(b.vilar() && b.lank.avbruten() && !b.lank.portOppen() && !harOppen(b.kabel.pc));
        QCOMPARE(b.lank.bild(), Bild::Ingen);
        QVERIFY(b.kort.isEmpty() && b.f.m.visade.isEmpty());
        avbryt();
        QCOMPARE(b.maskin->mottaget, allt);
        b.maskin->efterByte = nullptr;
        b.maskin->tyst = false;
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(!b.lank.avbruten());
        QVERIFY(b.fatt(allt + t.start + t.poll));
    }

    void startfel(const QString& model, const QString& comport, const QString& linje, const QString& text,
                  bool heltext) {
        Bord b(Modell::Sam4000);
        QVERIFY(b.f.g.iniProgram.WriteKey(SerieportarSektion, QStringLiteral("COM8"),
                                          b.f.t.fil(QStringLiteral("ttyUSB9"))));
        b.installning(Ini::Model.nyckel, model);
        b.installning(Ini::Comport.nyckel, comport);
        b.installning(Ini::Settings.nyckel, linje);
        QSerialPort annan;
        annan.setPortName(b.kabel.pc);
        if (text.startsWith(QStringLiteral("Com porten används")))
            QVERIFY(annan.open(QIODevice::ReadWrite));
        b.lank.HamtaResFranTolkmaskin();
        const QString visat = b.f.m.senasteText();
        QVERIFY2(heltext ? visat == text : visat.startsWith(text), qPrintable(visat));
        const bool ovantat = text.startsWith(QStringLiteral("frmResultatinskrivning_"));
        QCOMPARE(b.f.m.visade.back().titel, ovantat ? QString() : FelInstallningar);
        QCOMPARE(b.f.m.visade.back().ikon, ovantat ? Ikon::Ingen : Ikon::Kritisk);
        QVERIFY(b.vilar() && !b.lank.portOppen());
        QTest::qWait(100);
        QVERIFY(b.maskin->mottaget.isEmpty());
        if (!annan.isOpen())
            return;
        annan.close();
        b.lank.HamtaResFranTolkmaskin();
        QVERIFY(b.fatt("\xB2\x06\x05"));
    }
};

QTEST_MAIN(T_tolklank)
#include "test_tolklank.moc"
