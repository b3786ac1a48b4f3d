#include "Tolkstod.h"
#include "common/Konvertering.h"
#include "competition/Tolkprotokoll.h"

#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>
#include <cmath>

using namespace Tavelsvar;
namespace P = Tolkprotokoll;

namespace {

constexpr char Stx = 0x02;
constexpr char Etb = 0x17;
const Modell Sam = Modell::Sam4000;
const Modell Rika = Modell::Rika;
const QString RikaKort = QStringLiteral("10.9,10.3,10.0,9.9,8.0");

// The text at 1-based positions of a frame.
QByteArray vid(const QByteArray& ram, int fran, int langd) {
    return ram.mid(fran - 1, langd);
}

// The frame with text written at a 1-based position, its check character right.
QByteArray andrad(QByteArray ram, Modell modell, int fran, const QByteArray& text) {
    ram.replace(fran - 1, text.size(), text);
    const qsizetype k = ram.indexOf(modell == Sam ? Etb : P::Eot) + 1;
    ram[k] = static_cast<char>(kontrollsumma(ram.left(k)));
    return ram;
}

// Where shot record k (1..5) begins.
int postStart(Modell modell, int k) {
    return (modell == Sam ? 33 : 34) + 24 * (k - 1);
}

// The simulator answering on the machine's end, the test on the program's.
class Simulator {
public:
    explicit Simulator(const QStringList& val) {
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
    // The machine's answer, gathered until n bytes (0: a whole frame).
    QByteArray fraga(const QByteArray& data, qsizetype n, Modell modell = Sam) {
        port.write(data);
        QByteArray svar;
        while ((n ? svar.size() < n : !arHel(svar, modell)) && port.waitForReadyRead(5000))
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

} // namespace

class T_tavelsvar : public QObject {
    Q_OBJECT

private slots:
    // Where the fields stand, as both machines send them, blanks between.
    void ramarnasPositioner() {
        const QByteArray sam = ram(Sam, GottKort), rika = ram(Rika, RikaKort);
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
        QByteArray mellan = sam;
        for (const auto& [fran, langd] :
             {std::pair{20, 2}, {23, 2}, {33, 4}, {57, 4}, {81, 4}, {105, 4}, {129, 4}})
            mellan.replace(fran - 1, langd, QByteArray(langd, ' '));
        QCOMPARE(mellan.mid(1, 151), QByteArray(151, ' '));
        const QByteArray annan = ram(Sam, QStringLiteral("10.9,10.2,?,9.5,8.0"), "GV", 10);
        QCOMPARE(vid(annan, 81, 4), QByteArray("?   "));
        QCOMPARE(vid(annan, 20, 5), QByteArray("GV 10"));
        QVERIFY(bygg(Modell::Okand, kort(GottKort)).isEmpty());
    }

    // The machines' examples, whatever the locale; a leading zero.
    void femSkott() {
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
        const auto innertia = static_cast<float>(Konvertering::textTillDecimal(QStringLiteral("10,3")));
        const auto lasning = [innertia](const QByteArray& r, Modell m) {
            const Lasning l = las(r, m, innertia);
            return QStringLiteral("%1 %2 %3").arg(int(l.utfall)).arg(l.serie).arg(l.skottstrang);
        };
        QCOMPARE(lasning(ram(Sam, GottKort), Sam), QStringLiteral("0 46 *+998"));
        QCOMPARE(lasning(ram(Rika, RikaKort), Rika), QStringLiteral("0 47 **+98"));
        QCOMPARE(lasning(andrad(ram(Sam, GottKort), Sam, 81, "09.8"), Sam), QStringLiteral("0 46 *+998"));
        QCOMPARE(lasning(ram(Sam, QStringLiteral("0,0,0,0,0")), Sam), QStringLiteral("0 0 00000"));
        QLocale::setDefault(QLocale::c());
    }

    // Single precision, equality included, as value and threshold meet.
    void skottsymbol() {
        const struct {
            int tiondelar;
            const char* innertia;
            const char* symbol;
        } fall[] = {{103, "10,3", "*"}, {102, "10,3", "+"}, {100, "10,3", "+"}, {109, "10,3", "*"},
                    {99, "10,3", "9"},  {0, "10,3", "0"},   {100, "10", "*"},   {108, "10,9", "+"}};
        for (const auto& f : fall) {
            const auto grans =
                static_cast<float>(Konvertering::textTillDecimal(QString::fromLatin1(f.innertia)));
            QCOMPARE(Skottsymbol(static_cast<float>(f.tiondelar) / 10.0f, grans), QLatin1String(f.symbol));
        }
    }

    // A "?" is found record by record: what comes after it is never read.
    void saknatSkott() {
        for (const Modell modell : {Sam, Rika}) {
            const QByteArray tredje = andrad(ram(modell, GottKort), modell, postStart(modell, 3), "?");
            const auto utfall = [modell](const QByteArray& r) { return las(r, modell, 10.3f).utfall; };
            QCOMPARE(utfall(tredje), Lasning::Utfall::SaknatSkott);
            QCOMPARE(utfall(andrad(tredje, modell, postStart(modell, 4), "xx")),
                     Lasning::Utfall::SaknatSkott);
            QCOMPARE(utfall(andrad(tredje, modell, postStart(modell, 2), "xx")), Lasning::Utfall::Olasbar);
            QCOMPARE(utfall(ram(modell, QStringLiteral("10.9,10.2,9.8,9.5,?"))),
                     Lasning::Utfall::SaknatSkott);
            QCOMPARE(utfall(ram(modell, QString())), Lasning::Utfall::SaknatSkott);
        }
    }

    // Type before count, exactly "LG", the count by its value.
    void kontroller() {
        const struct {
            Modell modell;
            QByteArray typ, antal;
            Kontroll kontroll;
        } fall[] = {{Sam, "LG", "05", Kontroll::Ok},         {Sam, "LG", " 5", Kontroll::Ok},
                    {Rika, "LG", "005", Kontroll::Ok},       {Rika, "LG", " 05", Kontroll::Ok},
                    {Rika, "LG", "  5", Kontroll::Ok},       {Sam, "lg", "05", Kontroll::FelTyp},
                    {Rika, "Lg", "005", Kontroll::FelTyp},   {Sam, "GV", "05", Kontroll::FelTyp},
                    {Sam, "LP", "10", Kontroll::FelTyp},     {Rika, "L ", "010", Kontroll::FelTyp},
                    {Sam, "LG", "10", Kontroll::FelAntal},   {Sam, "LG", "00", Kontroll::FelAntal},
                    {Rika, "LG", "050", Kontroll::FelAntal}, {Rika, "LG", "500", Kontroll::FelAntal}};
        for (const auto& f : fall) {
            const bool sam = f.modell == Sam;
            const QByteArray r = andrad(andrad(ram(f.modell, GottKort), f.modell, sam ? 20 : 24, f.typ),
                                        f.modell, sam ? 23 : 30, f.antal);
            QVERIFY2(KollaTavelsvar(r, f.modell) == f.kontroll, (f.typ + ' ' + f.antal).constData());
        }
    }

    // What does not read is refused, not guessed at; the checks let it pass.
    void olasbart() {
        const struct {
            Modell modell;
            int position;
            QByteArray text;
        } fall[] = {{Sam, 57, "11.0"}, {Sam, 57, "10.x"}, {Sam, 57, "1O.4"}, {Sam, 81, " 9,8"},
                    {Sam, 81, "-1.0"}, {Sam, 81, "    "}, {Sam, 81, "9 .8"}, {Sam, 81, " 9. "},
                    {Sam, 23, "x5"},   {Rika, 58, "110"}, {Rika, 58, "10 "}, {Rika, 58, "9 5"},
                    {Rika, 58, "+95"}, {Rika, 30, "0 5"}};
        for (const auto& f : fall) {
            const QByteArray r = andrad(ram(f.modell, GottKort), f.modell, f.position, f.text);
            QVERIFY2(KollaTavelsvar(r, f.modell) == Kontroll::Ok, f.text.constData());
            QVERIFY2(las(r, f.modell, 10.3f).utfall == Lasning::Utfall::Olasbar, f.text.constData());
        }
    }

    // The last value read ends at 132; a frame too short passes the checks.
    void fortKort() {
        for (const Modell m : {Sam, Rika}) {
            const QByteArray r = ram(m, GottKort);
            QCOMPARE(las(r.left(132), m, 10.3f).serie, 46);
            QCOMPARE(las(r.left(131), m, 10.3f).utfall, Lasning::Utfall::Olasbar);
            QCOMPARE(KollaTavelsvar(r.left(10), m), Kontroll::Ok);
            QCOMPARE(las(r.left(10), m, 10.3f).utfall, Lasning::Utfall::Olasbar);
            QCOMPARE(KollaTavelsvar(r.left(m == Sam ? 23 : 31), m), Kontroll::Ok);
            QCOMPARE(las(QByteArray(), m, 10.3f).utfall, Lasning::Utfall::Olasbar);
        }
        QCOMPARE(KollaTavelsvar("nonsens", Modell::Okand), Kontroll::Ok);
        QCOMPARE(las(ram(Sam, GottKort), Modell::Okand, 10.3f).utfall, Lasning::Utfall::Olasbar);
    }

    void kontrollsummor() {
        QCOMPARE(kontrollsumma(QByteArray::fromHex("02414217")), quint8(0x16));
        QCOMPARE(kontrollsumma(QByteArray()), quint8(0));
        QCOMPARE(kontrollsumma(QByteArray("\xff\x0f")), quint8(0xf0));
        for (const Modell m : {Sam, Rika}) {
            const QByteArray r = ram(m, GottKort);
            QByteArray fel = r;
            fel[1] = 'x';
            QVERIFY(kontrollsummanStammer(r, m) && !kontrollsummanStammer(fel, m));
            QVERIFY(!kontrollsummanStammer(r.chopped(kontrollFranSlut(m)), m));
        }
        QVERIFY(!kontrollsummanStammer(ram(Sam, GottKort), Modell::Okand));
    }

    // Whatever byte the check character is, a frame is whole at its last byte.
    void hel() {
        const std::pair<Modell, char> fall[] = {{Sam, P::Nak},  {Sam, P::SamRamslut}, {Sam, Etb},
                                                {Sam, Stx},     {Sam, P::Ack},        {Rika, P::Nul},
                                                {Rika, P::Eot}, {Rika, P::Soh},       {Rika, '\xff'}};
        for (const auto& [modell, tecken] : fall) {
            const QByteArray r = medKontrolltecken(modell, tecken);
            QCOMPARE(r[modell == Sam ? 153 : 154], tecken);
            for (qsizetype n = 0; n < r.size(); ++n)
                QVERIFY2(!arHel(r.left(n), modell) && !arEjKlar(r.left(n), modell),
                         qPrintable(QString::number(n)));
            QVERIFY(arHel(r, modell) && kontrollsummanStammer(r, modell));
            QCOMPARE(KollaTavelsvar(r, modell), Kontroll::Ok);
            QCOMPARE(las(r, modell, 10.3f).serie, 46);
        }
    }

    void ejKlarOchRamstart() {
        const QByteArray nak(1, P::Nak), nul(1, P::Nul), stx(1, Stx), soh(1, P::Soh);
        QVERIFY(arEjKlar(nak, Sam) && arEjKlar(nul, Rika));
        for (const auto& [text, modell] : {std::pair{nul, Sam},
                                           {nak, Rika},
                                           {nak + nak, Sam},
                                           {stx + nak, Sam},
                                           {nul + nul, Rika},
                                           {QByteArray(), Sam},
                                           {nak, Modell::Okand}})
            QVERIFY2(!arEjKlar(text, modell), text.toHex().constData());
        QVERIFY(harRamstart(stx, Sam) && harRamstart(nak + stx, Sam) && harRamstart(soh, Rika));
        for (const auto& [text, modell] :
             {std::pair{nak, Sam}, {soh, Sam}, {stx, Rika}, {stx, Modell::Okand}})
            QVERIFY2(!harRamstart(text, modell), text.toHex().constData());
        QCOMPARE(modellAv(QStringLiteral("SAM 4000")), Sam);
        QCOMPARE(modellAv(QStringLiteral("RIKA")), Rika);
        QCOMPARE(modellAv(QStringLiteral("rika")), Modell::Okand);
        QCOMPARE(modellAv(QStringLiteral("SAM4000")), Modell::Okand);
    }

    // Frames broken in every way a line can break them, read by every function
    // under either model: nothing crashes, and what reads agrees with its rings.
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
            QByteArray r = gott;
            for (int n = 1 + tal(4); n > 0; --n) {
                const int pos = tal(static_cast<int>(r.size()) + 1),
                          annan = tal(static_cast<int>(r.size()) + 1);
                const bool inne = pos < r.size();
                switch (tal(7)) {
                case 0: // a byte changed
                    if (inne)
                        r[pos] = slumptecken();
                    break;
                case 1: // a bit flipped
                    if (inne)
                        r[pos] = static_cast<char>(r[pos] ^ (1 << tal(8)));
                    break;
                case 2: // the line went quiet
                    r.truncate(pos);
                    break;
                case 3: // bytes too many
                    r.insert(pos, QByteArray(1 + tal(3), slumptecken()));
                    break;
                case 4: // a byte lost
                    r.remove(pos, 1);
                    break;
                case 5: // two bytes swapped
                    if (inne && annan < r.size())
                        std::swap(r[pos], r[annan]);
                    break;
                default: // the end of another frame, of either model
                    r = r.left(pos) + bygg(tal(2) ? Sam : Rika, slumpkort()).mid(pos);
                    break;
                }
            }
            const Modell som = tal(5) == 0 ? (tal(3) == 0 ? Modell::Okand : Rika) : modell;
            QVERIFY(arHel(r, som) || !kontrollsummanStammer(r, som));
            if (arEjKlar(r, som))
                QCOMPARE(r.size(), 1);
            harRamstart(r, som);
            KollaTavelsvar(r, som);
            const float innertia = trosklar[tal(4)];
            const Lasning l = las(r, som, innertia);
            if (l.utfall != Lasning::Utfall::Ok)
                continue;
            ++lasta;
            lastaEfterAndring += r != gott;
            QVERIFY(l.serie >= 0 && l.serie <= 50);
            QCOMPARE(l.skottstrang.size(), 5);

            int summa = 0;
            for (int k = 1; k <= 5; ++k) {
                const QByteArray post = vid(r, postStart(som, k), som == Sam ? 4 : 3);
                bool ok = false;
                const int ring = post.left(2).trimmed().toInt(&ok);
                QVERIFY2(ok && ring >= 0 && ring <= 10, r.toHex().constData());
                const double varde = som == Sam ? post.trimmed().toDouble(&ok) : post.toInt(&ok) / 10.0;
                QVERIFY2(ok && std::floor(varde) == ring, r.toHex().constData());
                summa += ring;
                const QChar symbol = l.skottstrang[k - 1];
                const bool inner = static_cast<float>(varde) >= innertia;
                QVERIFY2(symbol == u'*'   ? inner
                         : symbol == u'+' ? ring == 10 && !inner
                                          : symbol == QChar(u'0' + ring) && ring < 10 && !inner,
                         r.toHex().constData());
            }
            QCOMPARE(l.serie, summa);
        }

        QVERIFY(lasta > 20000 && lastaEfterAndring > 2000);
    }

    // The simulator answers polls with its cards, each first with a wrong check
    // character; a repeat request gets it again, the acknowledgement moves on.
    void simulatorn_data() { modeller(); }
    void simulatorn() {
        QFETCH(Modell, modell);
        const bool sam = modell == Sam;
        Simulator sim({"--model", sam ? "sam4000" : "rika", "--card", GottKort, "--card", "10.3, ?,10,9.9,0",
                       "--corrupt", "1", "--chunk", "16", "--chunk-delay", "1"});
        const QByteArray poll(1, sam ? P::Enq : P::Syn);
        if (!sam) // the RIKA answers its start with three characters
            QCOMPARE(sim.fraga("\x0C\xD4", 3).size(), 3);
        for (const QString& k : {GottKort, QStringLiteral("10.3,?,10.0,9.9,0.0")}) {
            const QByteArray ratt = ram(modell, k);
            const QByteArray forsta = sim.fraga(poll, 0, modell);
            QCOMPARE(forsta.size(), ratt.size());
            QVERIFY(!kontrollsummanStammer(forsta, modell));
            QCOMPARE(forsta.chopped(kontrollFranSlut(modell)), ratt.chopped(kontrollFranSlut(modell)));
            QCOMPARE(sim.fraga(sam ? "\x15" : "\x08", 0, modell), ratt);
            // A card never acknowledged is still there after a new start.
            if (sam) {
                QCOMPARE(sim.fraga("\xB2\x06\x05", 0), ratt);
            } else {
                QCOMPARE(sim.fraga("\xD0\x0C\xD4", P::RikaStartsvarLangd).size(), P::RikaStartsvarLangd);
                QCOMPARE(sim.fraga(poll, 0, modell), ratt);
            }
            sim.port.write(sam ? "\x06" : "\x0C");
        }
        QCOMPARE(sim.fraga(poll, 1), QByteArray(1, sam ? P::Nak : P::Nul));
    }

    // A frame stopping part-way, type and count as given, a machine that goes
    // away; a card that is no card ends it with 2.
    void simulatornStannarOchForsvinner() {
        Simulator sim({"--card", "9.1,?,10.4", "--type", "lg", "--count", "10", "--stall-after", "40",
                       "--disconnect-after", "2"});
        const QByteArray ratt = ram(Sam, QStringLiteral("9.1,?,10.4"), "lg", 10);
        QCOMPARE(sim.fraga("\xB2\x06\x05", 40), ratt.left(40));
        QCOMPARE(sim.fraga("\x05", 0), ratt);
        QCOMPARE(KollaTavelsvar(ratt, Sam), Kontroll::FelTyp);
        QVERIFY(sim.avslutad());
        QProcess fel;
        fel.start(QStringLiteral(TOLKSIMULATOR), {"--card", "9,x", "/dev/null"});
        QVERIFY(fel.waitForFinished(10000));
        QCOMPARE(fel.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(T_tavelsvar)
#include "test_tavelsvar.moc"
