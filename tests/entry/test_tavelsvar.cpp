#include "common/Konvertering.h"
#include "competition/Tolkprotokoll.h"
#include "entry/scoring_machine/Tavelsvar.h"
#include "platform/Serieport.h"
#include "support/Kabel.h"

#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>
#include <QSerialPort>
#include <QTest>
#include <cmath>
#include <functional>

using namespace Tavelsvar;
namespace P = Tolkprotokoll;

namespace {

constexpr char Stx = 0x02;
constexpr char Etb = 0x17;
const Modell Sam = Modell::Sam4000;
const Modell Rika = Modell::Rika;

Kort kort(QList<std::optional<double>> skott) {
    Kort k;
    k.skott = std::move(skott);
    return k;
}

const Kort SamKort = kort({10.9, 10.2, 9.8, 9.5, 8.0});
const Kort RikaKort = kort({10.9, 10.3, 10.0, 9.9, 8.0});

// The text at 1-based positions of a frame.
QByteArray vid(const QByteArray& ram, int fran, int langd) {
    return ram.mid(fran - 1, langd);
}

// The position of the check character.
qsizetype kontrollpos(const QByteArray& ram, Modell modell) {
    return ram.indexOf(modell == Sam ? Etb : P::Eot) + 1;
}

// The frame with text written over it at a 1-based position, its check
// character made right again, as a machine would send it.
QByteArray andrad(QByteArray ram, Modell modell, int fran, const QByteArray& text) {
    ram.replace(fran - 1, text.size(), text);
    const qsizetype k = kontrollpos(ram, modell);
    ram[k] = static_cast<char>(kontrollsumma(ram.left(k)));
    return ram;
}

// A frame of the card whose check character comes out as the given byte: the
// blank at position 2, which nothing reads, is chosen to make it so.
QByteArray medKontrolltecken(Modell modell, char tecken) {
    QByteArray ram = bygg(modell, SamKort);
    const qsizetype k = kontrollpos(ram, modell);
    ram[1] = static_cast<char>(ram[1] ^ ram[k] ^ tecken);
    ram[k] = static_cast<char>(kontrollsumma(ram.left(k)));
    return ram;
}

int postStart(Modell modell, int k) {
    return (modell == Sam ? 33 : 34) + 24 * (k - 1);
}

// The simulator answering on the machine's end, the test on the program's.
class Simulator {
public:
    Simulator(const QStringList& val) {
        m_process.setReadChannel(QProcess::StandardError);
        m_process.start(QStringLiteral(TOLKSIMULATOR), val + QStringList{QStringLiteral("-v"), kabel.tolk});
        QByteArray logg;
        while (!logg.contains("listening") && m_process.waitForReadyRead(5000))
            logg += m_process.readAllStandardError();
        if (!logg.contains("listening"))
            qFatal("the simulator did not start: %s", logg.constData());
        if (oppnaSerieport(port, kabel.pc))
            qFatal("the program's end does not open");
    }
    ~Simulator() {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }

    // Writes to the machine and gathers its answer until it is whole.
    QByteArray fraga(const QByteArray& data, const std::function<bool(const QByteArray&)>& klar) {
        port.write(data);
        QByteArray svar;
        while (!klar(svar) && port.waitForReadyRead(5000))
            svar += port.readAll();
        return svar;
    }
    // The simulator has ended of itself, without a failure.
    bool avslutad() {
        if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(5000))
            return false;
        return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }

    Kabel kabel;
    QSerialPort port;

private:
    QProcess m_process;
};

void modeller() {
    QTest::addColumn<Modell>("modell");
    QTest::newRow("SAM 4000") << Sam;
    QTest::newRow("RIKA") << Rika;
}

} // namespace

class T_tavelsvar : public QObject {
    Q_OBJECT

private slots:
    // Where the fields stand, as both machines send them.
    void ramarnasPositioner() {
        const QByteArray sam = bygg(Sam, SamKort), rika = bygg(Rika, RikaKort);
        QCOMPARE(sam.size(), 155);
        QCOMPARE(rika.size(), 155);
        const struct {
            const QByteArray& ram;
            int fran;
            QByteArray text;
        } falt[] = {{sam, 1, "\x02"},   {sam, 20, "LG"},   {sam, 23, "05"},    {sam, 33, "10.9"},
                    {sam, 57, "10.2"},  {sam, 81, " 9.8"}, {sam, 105, " 9.5"}, {sam, 129, " 8.0"},
                    {sam, 153, "\x17"}, {sam, 155, "$"},   {rika, 1, "\x01"},  {rika, 24, "LG"},
                    {rika, 30, "005"},  {rika, 34, "109"}, {rika, 106, "099"}, {rika, 130, "080"},
                    {rika, 154, "\x04"}};
        for (const auto& f : falt)
            QCOMPARE(vid(f.ram, f.fran, int(f.text.size())), f.text);
        QCOMPARE(static_cast<quint8>(sam[153]), kontrollsumma(sam.left(153)));
        QCOMPARE(static_cast<quint8>(rika[154]), kontrollsumma(rika.left(154)));
        QByteArray mellan = sam; // blanks between the fields
        for (const auto& [fran, langd] :
             {std::pair{20, 2}, {23, 2}, {33, 4}, {57, 4}, {81, 4}, {105, 4}, {129, 4}})
            mellan.replace(fran - 1, langd, QByteArray(langd, ' '));
        QCOMPARE(mellan.mid(1, 151), QByteArray(151, ' '));

        Kort saknas = SamKort;
        saknas.skott[2].reset();
        saknas.typ = "GV";
        saknas.antal = 10;
        const QByteArray annan = bygg(Sam, saknas);
        QCOMPARE(vid(annan, 81, 4), QByteArray("?   "));
        QCOMPARE(vid(annan, 20, 5), QByteArray("GV 10"));
        QVERIFY(bygg(Modell::Okand, SamKort).isEmpty());
    }

    // The machines' examples: a point in the frame whatever the locale says.
    void femSkott() {
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
        const float innertia = static_cast<float>(Konvertering::textTillDecimal(QStringLiteral("10,3")));

        const Lasning sam = las(bygg(Sam, SamKort), Sam, innertia);
        QCOMPARE(sam.utfall, Lasning::Utfall::Ok);
        QCOMPARE(sam.serie, 46);
        QCOMPARE(sam.skottstrang, QStringLiteral("*+998"));

        const Lasning rika = las(bygg(Rika, RikaKort), Rika, innertia);
        QCOMPARE(rika.utfall, Lasning::Utfall::Ok);
        QCOMPARE(rika.serie, 47);
        QCOMPARE(rika.skottstrang, QStringLiteral("**+98"));

        // Leading zeros in the value, a ten written without its tenth.
        const QByteArray noll = andrad(bygg(Sam, SamKort), Sam, 81, "09.8");
        QCOMPARE(las(noll, Sam, innertia).skottstrang, QStringLiteral("*+998"));
        const Lasning tom = las(bygg(Sam, kort({0.0, 0.0, 0.0, 0.0, 0.0})), Sam, 10.3f);
        QCOMPARE(tom.serie, 0);
        QCOMPARE(tom.skottstrang, QStringLiteral("00000"));
        QLocale::setDefault(QLocale::c());
    }

    void skottsymbol_data() {
        QTest::addColumn<int>("tiondelar");
        QTest::addColumn<QString>("innertia");
        QTest::addColumn<QString>("symbol");
        const QString tiotre = QStringLiteral("10,3");
        QTest::newRow("exakt vid innertian") << 103 << tiotre << "*";
        QTest::newRow("strax under") << 102 << tiotre << "+";
        QTest::newRow("exakt tio") << 100 << tiotre << "+";
        QTest::newRow("tio komma nio") << 109 << tiotre << "*";
        QTest::newRow("nio komma nio") << 99 << tiotre << "9";
        QTest::newRow("nolla") << 0 << tiotre << "0";
        QTest::newRow("innertia 10,0") << 100 << QStringLiteral("10") << "*";
        QTest::newRow("innertia 10,9") << 108 << QStringLiteral("10,9") << "+";
    }
    // Single precision, equality included, as the value read from the frame
    // and the threshold from the competition's INI meet.
    void skottsymbol() {
        QFETCH(int, tiondelar);
        QFETCH(QString, innertia);
        QFETCH(QString, symbol);
        const float grans = static_cast<float>(Konvertering::textTillDecimal(innertia));
        QCOMPARE(Skottsymbol(static_cast<float>(tiondelar) / 10.0f, grans), symbol);
    }

    // A "?" is found record by record: what stands before it must read, what
    // stands after it is never looked at.
    void saknatSkott() {
        for (const Modell modell : {Sam, Rika}) {
            const QByteArray ram = bygg(modell, SamKort);
            const QByteArray tredje = andrad(ram, modell, postStart(modell, 3), "?");
            QCOMPARE(las(tredje, modell, 10.3f).utfall, Lasning::Utfall::SaknatSkott);
            QCOMPARE(las(andrad(tredje, modell, postStart(modell, 4), "xx"), modell, 10.3f).utfall,
                     Lasning::Utfall::SaknatSkott);
            QCOMPARE(las(andrad(tredje, modell, postStart(modell, 2), "xx"), modell, 10.3f).utfall,
                     Lasning::Utfall::Olasbar);
            Kort k = SamKort;
            k.skott[4].reset();
            QCOMPARE(las(bygg(modell, k), modell, 10.3f).utfall, Lasning::Utfall::SaknatSkott);
            QCOMPARE(las(bygg(modell, kort({})), modell, 10.3f).utfall, Lasning::Utfall::SaknatSkott);
        }
    }

    void kontroller_data() {
        QTest::addColumn<Modell>("modell");
        QTest::addColumn<QByteArray>("typ");
        QTest::addColumn<QByteArray>("antal");
        QTest::addColumn<Kontroll>("kontroll");
        const QByteArray lg = "LG";
        QTest::newRow("SAM 05") << Sam << lg << QByteArray("05") << Kontroll::Ok;
        QTest::newRow("SAM blank 5") << Sam << lg << QByteArray(" 5") << Kontroll::Ok;
        QTest::newRow("RIKA 005") << Rika << lg << QByteArray("005") << Kontroll::Ok;
        QTest::newRow("RIKA 05") << Rika << lg << QByteArray(" 05") << Kontroll::Ok;
        QTest::newRow("RIKA 5") << Rika << lg << QByteArray("  5") << Kontroll::Ok;
        QTest::newRow("SAM lg") << Sam << QByteArray("lg") << QByteArray("05") << Kontroll::FelTyp;
        QTest::newRow("RIKA Lg") << Rika << QByteArray("Lg") << QByteArray("005") << Kontroll::FelTyp;
        QTest::newRow("SAM GV") << Sam << QByteArray("GV") << QByteArray("05") << Kontroll::FelTyp;
        QTest::newRow("typ och antal fel") << Sam << QByteArray("LP") << QByteArray("10") << Kontroll::FelTyp;
        QTest::newRow("RIKA typ och antal")
            << Rika << QByteArray("L ") << QByteArray("010") << Kontroll::FelTyp;
        QTest::newRow("SAM 10") << Sam << lg << QByteArray("10") << Kontroll::FelAntal;
        QTest::newRow("SAM 00") << Sam << lg << QByteArray("00") << Kontroll::FelAntal;
        QTest::newRow("RIKA 050") << Rika << lg << QByteArray("050") << Kontroll::FelAntal;
        QTest::newRow("RIKA 500") << Rika << lg << QByteArray("500") << Kontroll::FelAntal;
    }
    // Type before count, exactly "LG", the count by its value.
    void kontroller() {
        QFETCH(Modell, modell);
        QFETCH(QByteArray, typ);
        QFETCH(QByteArray, antal);
        QFETCH(Kontroll, kontroll);
        const bool sam = modell == Sam;
        const QByteArray ram =
            andrad(andrad(bygg(modell, SamKort), modell, sam ? 20 : 24, typ), modell, sam ? 23 : 30, antal);
        QCOMPARE(KollaTavelsvar(ram, modell), kontroll);
    }

    // What does not read is refused as unreadable, not guessed at; the type
    // and count checks leave such a frame to the reading.
    void olasbart_data() {
        QTest::addColumn<Modell>("modell");
        QTest::addColumn<int>("position");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("SAM elva") << Sam << 57 << QByteArray("11.0");
        QTest::newRow("SAM tio komma x") << Sam << 57 << QByteArray("10.x");
        QTest::newRow("SAM bokstaven O") << Sam << 57 << QByteArray("1O.4");
        QTest::newRow("SAM komma") << Sam << 81 << QByteArray(" 9,8");
        QTest::newRow("SAM minus") << Sam << 81 << QByteArray("-1.0");
        QTest::newRow("SAM blanka") << Sam << 81 << QByteArray("    ");
        QTest::newRow("SAM blank i talet") << Sam << 81 << QByteArray("9 .8");
        QTest::newRow("SAM punkt utan tiondel") << Sam << 81 << QByteArray(" 9. ");
        QTest::newRow("SAM antal ej tal") << Sam << 23 << QByteArray("x5");
        QTest::newRow("RIKA elva") << Rika << 58 << QByteArray("110");
        QTest::newRow("RIKA utan tiondel") << Rika << 58 << QByteArray("10 ");
        QTest::newRow("RIKA blank mitt i") << Rika << 58 << QByteArray("9 5");
        QTest::newRow("RIKA plus") << Rika << 58 << QByteArray("+95");
        QTest::newRow("RIKA antal ej tal") << Rika << 30 << QByteArray("0 5");
    }
    void olasbart() {
        QFETCH(Modell, modell);
        QFETCH(int, position);
        QFETCH(QByteArray, text);
        const QByteArray ram = andrad(bygg(modell, SamKort), modell, position, text);
        QCOMPARE(KollaTavelsvar(ram, modell), Kontroll::Ok);
        QCOMPARE(las(ram, modell, 10.3f).utfall, Lasning::Utfall::Olasbar);
    }

    // The last value read stands at position 132 in both models.
    void fortKort() {
        for (const Modell m : {Sam, Rika}) {
            const QByteArray ram = bygg(m, SamKort);
            QCOMPARE(las(ram.left(132), m, 10.3f).serie, 46);
            QCOMPARE(las(ram.left(131), m, 10.3f).utfall, Lasning::Utfall::Olasbar);
            QCOMPARE(KollaTavelsvar(ram.left(10), m), Kontroll::Ok);
            QCOMPARE(las(ram.left(10), m, 10.3f).utfall, Lasning::Utfall::Olasbar);
            QCOMPARE(KollaTavelsvar(ram.left(m == Sam ? 23 : 31), m), Kontroll::Ok);
            QCOMPARE(las(QByteArray(), m, 10.3f).utfall, Lasning::Utfall::Olasbar);
        }
        QCOMPARE(KollaTavelsvar("nonsens", Modell::Okand), Kontroll::Ok);
        QCOMPARE(las(bygg(Sam, SamKort), Modell::Okand, 10.3f).utfall, Lasning::Utfall::Olasbar);
    }

    void kontrollsummor() {
        QCOMPARE(kontrollsumma(QByteArray::fromHex("02414217")), quint8(0x16));
        QCOMPARE(kontrollsumma(QByteArray()), quint8(0));
        QCOMPARE(kontrollsumma(QByteArray("\xff\x0f")), quint8(0xf0));
        for (const Modell m : {Sam, Rika}) {
            const QByteArray ram = bygg(m, SamKort);
            QVERIFY(kontrollsummanStammer(ram, m));
            QByteArray fel = ram;
            fel[1] = 'x';
            QVERIFY(!kontrollsummanStammer(fel, m));
            QVERIFY(!kontrollsummanStammer(ram.left(kontrollpos(ram, m)), m));
        }
        QVERIFY(!kontrollsummanStammer(bygg(Sam, SamKort), Modell::Okand));
    }

    // Whatever byte the check character is, a frame is whole exactly when its
    // last byte has come, and not a byte before.
    void hel_data() {
        QTest::addColumn<Modell>("modell");
        QTest::addColumn<char>("tecken");
        QTest::newRow("SAM NAK") << Sam << P::Nak;
        QTest::newRow("SAM dollar") << Sam << P::SamRamslut;
        QTest::newRow("SAM ETB") << Sam << Etb;
        QTest::newRow("SAM STX") << Sam << Stx;
        QTest::newRow("SAM ACK") << Sam << P::Ack;
        QTest::newRow("RIKA NUL") << Rika << P::Nul;
        QTest::newRow("RIKA EOT") << Rika << P::Eot;
        QTest::newRow("RIKA SOH") << Rika << P::Soh;
        QTest::newRow("RIKA 0xff") << Rika << '\xff';
    }
    void hel() {
        QFETCH(Modell, modell);
        QFETCH(char, tecken);
        const QByteArray ram = medKontrolltecken(modell, tecken);
        QCOMPARE(ram[modell == Sam ? 153 : 154], tecken);
        for (qsizetype n = 0; n < ram.size(); ++n) {
            QVERIFY2(!arHel(ram.left(n), modell), qPrintable(QString::number(n)));
            QVERIFY(!arEjKlar(ram.left(n), modell));
        }
        QVERIFY(arHel(ram, modell));
        QVERIFY(kontrollsummanStammer(ram, modell));
        QCOMPARE(KollaTavelsvar(ram, modell), Kontroll::Ok);
        QCOMPARE(las(ram, modell, 10.3f).serie, 46);
    }

    void ejKlarOchRamstart() {
        const QByteArray nak(1, P::Nak), nul(1, P::Nul), stx(1, Stx), soh(1, P::Soh);
        QVERIFY(arEjKlar(nak, Sam));
        QVERIFY(arEjKlar(nul, Rika));
        for (const auto& [text, modell] : {std::pair{nul, Sam},
                                           {nak, Rika},
                                           {nak + nak, Sam},
                                           {stx + nak, Sam},
                                           {nul + nul, Rika},
                                           {QByteArray(), Sam},
                                           {nak, Modell::Okand}})
            QVERIFY2(!arEjKlar(text, modell), text.toHex().constData());

        QVERIFY(harRamstart(stx, Sam));
        QVERIFY(harRamstart(nak + stx, Sam));
        QVERIFY(harRamstart(soh, Rika));
        for (const auto& [text, modell] :
             {std::pair{nak, Sam}, {soh, Sam}, {stx, Rika}, {stx, Modell::Okand}})
            QVERIFY2(!harRamstart(text, modell), text.toHex().constData());

        QCOMPARE(modellAv(QStringLiteral("SAM 4000")), Sam);
        QCOMPARE(modellAv(QStringLiteral("RIKA")), Rika);
        QCOMPARE(modellAv(QStringLiteral("rika")), Modell::Okand);
        QCOMPARE(modellAv(QStringLiteral("SAM4000")), Modell::Okand);
    }

    // Good frames of both models broken in every way a line can break them, read
    // by every function the link uses, under either model: nothing crashes, and
    // a frame read as Ok has five shot symbols that agree with the rings in
    // it, and a series no higher than 50.
    void fuzz() {
        QRandomGenerator slump(20240612);
        auto tal = [&](int n) { return static_cast<int>(slump.bounded(n)); };
        auto slumpkort = [&] {
            Kort k;
            for (int i = 0; i < 5; ++i)
                k.skott.append(tal(12) == 0 ? std::nullopt : std::optional<double>(tal(110) / 10.0));
            if (tal(8) == 0)
                k.typ = tal(2) ? "lg" : "GV";
            if (tal(8) == 0)
                k.antal = tal(12);
            return k;
        };
        const QByteArray tecken("0123456789 .?$-+,LG\x01\x02\x04\x15\x17\x00", 26);
        auto slumptecken = [&] { return tal(2) ? tecken[tal(tecken.size())] : static_cast<char>(tal(256)); };

        const float trosklar[] = {10.3f, 10.0f, 10.9f, 9.5f};
        int lasta = 0, lastaEfterAndring = 0;
        for (int varv = 0; varv < 200000; ++varv) {
            const Modell modell = tal(2) ? Sam : Rika;
            const QByteArray gott = bygg(modell, slumpkort());
            QByteArray ram = gott;
            for (int n = 1 + tal(4); n > 0; --n) {
                const int pos = tal(static_cast<int>(ram.size()) + 1);
                switch (tal(7)) {
                case 0: // a byte changed
                    if (pos < ram.size())
                        ram[pos] = slumptecken();
                    break;
                case 1: // a bit flipped
                    if (pos < ram.size())
                        ram[pos] = static_cast<char>(ram[pos] ^ (1 << tal(8)));
                    break;
                case 2: // the line went quiet
                    ram.truncate(pos);
                    break;
                case 3: // bytes too many
                    ram.insert(pos, QByteArray(1 + tal(3), slumptecken()));
                    break;
                case 4: // a byte lost
                    ram.remove(pos, 1);
                    break;
                case 5: { // two bytes swapped
                    const int annan = tal(static_cast<int>(ram.size()) + 1);
                    if (pos < ram.size() && annan < ram.size())
                        std::swap(ram[pos], ram[annan]);
                    break;
                }
                default: // the end of another frame, of either model
                    ram = ram.left(pos) + bygg(tal(2) ? Sam : Rika, slumpkort()).mid(pos);
                    break;
                }
            }

            const Modell som = tal(5) == 0 ? (tal(3) == 0 ? Modell::Okand : Rika) : modell;
            const bool hela = arHel(ram, som);
            const bool stammer = kontrollsummanStammer(ram, som);
            QVERIFY(hela || !stammer);
            if (arEjKlar(ram, som))
                QCOMPARE(ram.size(), 1);
            harRamstart(ram, som);
            KollaTavelsvar(ram, som);
            const float innertia = trosklar[tal(4)];
            const Lasning l = las(ram, som, innertia);
            if (l.utfall != Lasning::Utfall::Ok)
                continue;
            ++lasta;
            if (ram != gott)
                ++lastaEfterAndring;
            QVERIFY(l.serie >= 0 && l.serie <= 50);
            QCOMPARE(l.skottstrang.size(), 5);
            // The rings and values as they stand in the frame, read here on
            // their own.
            int summa = 0;
            for (int k = 1; k <= 5; ++k) {
                const QByteArray post = vid(ram, postStart(som, k), som == Sam ? 4 : 3);
                bool ok = false;
                const int ring = post.left(2).trimmed().toInt(&ok);
                QVERIFY2(ok && ring >= 0 && ring <= 10, ram.toHex().constData());
                const double varde = som == Sam ? post.trimmed().toDouble(&ok) : post.toInt(&ok) / 10.0;
                QVERIFY2(ok && std::floor(varde) == ring, ram.toHex().constData());
                summa += ring;
                const QChar symbol = l.skottstrang[k - 1];
                if (symbol == u'*')
                    QVERIFY(static_cast<float>(varde) >= innertia);
                else if (symbol == u'+')
                    QVERIFY(ring == 10 && static_cast<float>(varde) < innertia);
                else
                    QVERIFY2(symbol == QChar(u'0' + ring) && ring < 10 &&
                                 static_cast<float>(varde) < innertia,
                             ram.toHex().constData());
            }
            QCOMPARE(l.serie, summa);
        }
        // Both the good frames and many broken ones were read through.
        QVERIFY(lasta > 20000);
        QVERIFY(lastaEfterAndring > 2000);
    }

    void simulatorn_data() { modeller(); }
    // The simulator holds cards and answers each poll with the current one,
    // the first answer of each with a wrong check character; a repeat request
    // gets it again, the acknowledgement moves on, and after the last card the
    // machine says "no card".
    void simulatorn() {
        QFETCH(Modell, modell);
        const bool sam = modell == Sam;
        Simulator sim({"--model", sam ? "sam4000" : "rika", "--card", "10.9,10.2,9.8,9.5,8.0", "--card",
                       "10.3, ?,10,9.9,0", "--corrupt", "1", "--chunk", "16", "--chunk-delay", "1"});
        const auto hel = [modell](const QByteArray& svar) { return arHel(svar, modell); };
        const auto langd = [](qsizetype n) { return [n](const QByteArray& s) { return s.size() >= n; }; };
        const QByteArray poll(1, sam ? P::Enq : P::Syn);

        if (!sam) // the RIKA answers its start with three characters
            QCOMPARE(sim.fraga("\x0C\xD4", langd(3)).size(), 3);
        for (const Kort& k : {SamKort, kort({10.3, std::nullopt, 10.0, 9.9, 0.0})}) {
            const QByteArray ratt = bygg(modell, k);
            const QByteArray forsta = sim.fraga(poll, hel);
            QCOMPARE(forsta.size(), ratt.size());
            QVERIFY(!kontrollsummanStammer(forsta, modell));
            QCOMPARE(forsta.left(kontrollpos(ratt, modell)), ratt.left(kontrollpos(ratt, modell)));
            QCOMPARE(sim.fraga(sam ? "\x15" : "\x08", hel), ratt);
            // A card never acknowledged (the link was stopped before it took
            // it) is still in the machine after a new start.
            if (sam) {
                QCOMPARE(sim.fraga("\xB2\x06\x05", hel), ratt);
            } else {
                QCOMPARE(sim.fraga("\xD0\x0C\xD4", langd(P::RikaStartsvarLangd)).size(),
                         P::RikaStartsvarLangd);
                QCOMPARE(sim.fraga(poll, hel), ratt);
            }
            sim.port.write(sam ? "\x06" : "\x0C");
        }
        QCOMPARE(sim.fraga(poll, langd(1)), QByteArray(1, sam ? P::Nak : P::Nul));
    }

    // A frame that stops part-way, the rest at the next poll, the target type
    // and count as given, and the machine that goes away after its frames.
    void simulatornStannarOchForsvinner() {
        Simulator sim({"--card", "9.1,?,10.4", "--type", "lg", "--count", "10", "--stall-after", "40",
                       "--disconnect-after", "2"});
        Kort k = kort({9.1, std::nullopt, 10.4});
        k.typ = "lg";
        k.antal = 10;
        const QByteArray ratt = bygg(Sam, k);
        QCOMPARE(sim.fraga("\xB2\x06\x05", [](const QByteArray& s) { return s.size() >= 40; }),
                 ratt.left(40));
        QCOMPARE(sim.fraga("\x05", [](const QByteArray& s) { return arHel(s, Sam); }), ratt);
        QCOMPARE(KollaTavelsvar(ratt, Sam), Kontroll::FelTyp);
        QVERIFY(sim.avslutad());
    }

    void simulatornsHjalp() {
        QProcess hjalp;
        hjalp.start(QStringLiteral(TOLKSIMULATOR), {QStringLiteral("--help")});
        QVERIFY(hjalp.waitForFinished(10000));
        QCOMPARE(hjalp.exitCode(), 0);
        const QByteArray text = hjalp.readAllStandardOutput();
        for (const char* val :
             {"--model", "--mode", "--card", "--type", "--count", "--chunk", "--chunk-delay", "--corrupt",
              "--stall-after", "--disconnect-after", "--verbose"})
            QVERIFY2(text.contains(val), text.constData());
        QProcess fel;
        fel.start(QStringLiteral(TOLKSIMULATOR), {"--card", "9,x", "/dev/null"});
        QVERIFY(fel.waitForFinished(10000));
        QCOMPARE(fel.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(T_tavelsvar)
#include "test_tavelsvar.moc"
