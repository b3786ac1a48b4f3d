#include "common/IniNamn.h"
#include "platform/Serieport.h"
#include "settings/AutoRakning.h"
#include "settings/FlikTolkmaskin.h"
#include "settings/Registrering.h"
#include "settings/Tolkmaskinstest.h"
#include "settings/frmInstallningar.h"
#include "shell/Fonsternamn.h"
#include "support/Kabel.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"
#include "support/VanligAnvandare.h"
#include "support/Widget.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace std::chrono_literals;
using Modell = Tolkmaskinstest::Modell;
using Resultat = Tolkmaskinstest::Resultat;
using Ikon = Meddelanden::Ikon;

namespace {

// The scoring machine at its end of the cable: records every byte and answers
// those it has an answer for, given as "05:15 D4:616263" (a byte and its
// answer, in hex).
class Maskin {
public:
    explicit Maskin(const QString& enhet, const QString& svar = {}) {
        if (oppnaSerieport(port, enhet))
            qFatal("the machine's end does not open");
        svara(svar);
        QObject::connect(&port, &QSerialPort::readyRead, &port, [this] {
            for (const char c : port.readAll()) {
                mottaget += c;
                if (m_svar.contains(c))
                    port.write(m_svar.value(c));
            }
        });
    }
    void svara(const QString& svar) {
        m_svar.clear();
        for (const QString& par : svar.split(u' ', Qt::SkipEmptyParts))
            m_svar[QByteArray::fromHex(par.section(u':', 0, 0).toLatin1()).at(0)] =
                QByteArray::fromHex(par.section(u':', 1).toLatin1());
    }
    QSerialPort port;
    QByteArray mottaget;

private:
    QHash<char, QByteArray> m_svar;
};

const QByteArray SamSkickar("\xB2\x06\x05");
const QByteArray RikaSkickar("\x0C\xD4\x16");

// Short waits, so that a test takes a fraction of a second; a bound that a
// test does not mean to reach is long.
Tolkmaskinstider korta() {
    Tolkmaskinstider t;
    t.startsvar = 60s;
    t.frekvens = 20ms;
    t.timeout = 300ms;
    t.efterSoh = 60s;
    return t;
}

// Whether this process holds the device open, under any name.
bool harOppen(const QString& enhet) {
    const QString mal = QFileInfo(enhet).canonicalFilePath();
    const QFileInfoList fd = QDir(u"/proc/self/fd"_s).entryInfoList(QDir::AllEntries | QDir::System);
    for (const QFileInfo& i : fd)
        if (i.symLinkTarget() == mal)
            return true;
    return false;
}

// The test has let go of the port: no descriptor, and another user gets it.
bool slappt(const Tolkmaskinstest& test, const QString& enhet) {
    if (test.portOppen() || test.pagar() || harOppen(enhet))
        return false;
    QSerialPort annan;
    annan.setPortName(enhet);
    if (!annan.open(QIODevice::ReadWrite))
        return false;
    annan.close();
    return true;
}

Tolkmaskinstest::Utfall kor(Tolkmaskinstest& test, const QString& enhet, Modell modell) {
    QSignalSpy klar(&test, &Tolkmaskinstest::klar);
    test.starta(enhet, modell);
    if (klar.isEmpty() && !klar.wait(10000))
        qFatal("the link test gave no verdict");
    if (klar.size() != 1)
        qFatal("the link test gave %d verdicts", int(klar.size()));
    return klar.first().first().value<Tolkmaskinstest::Utfall>();
}

const QString Saknas = u"Du har valt en Com port som inte finns!\rÄndra Com port och prova igen."_s;

} // namespace

class TestTolkmaskinstest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<Tolkmaskinstest::Utfall>(); }

    void portnummerBlirEnhet() {
        Testfixtur f;
        const clsIni& ini = f.g.iniProgram;
        QCOMPARE(serieportEnhet(1, ini), u"/dev/ttyS0"_s);
        QCOMPARE(serieportEnhet(9, ini), u"/dev/ttyS8"_s);
        QCOMPARE(serieportEnhet(0, ini), QString());
        QCOMPARE(serieportEnhet(-2, ini), QString());
        QVERIFY(f.g.iniProgram.WriteKey(SerieportarSektion, u"COM3"_s, u"/dev/ttyUSB0"_s));
        QCOMPARE(serieportEnhet(3, ini), u"/dev/ttyUSB0"_s);
        QCOMPARE(serieportEnhet(2, ini), u"/dev/ttyS1"_s);
        // What the operator typed in the port box.
        QCOMPARE(Tolkmaskinstest::enhetForComport(u"3"_s, ini), u"/dev/ttyUSB0"_s);
        QCOMPARE(Tolkmaskinstest::enhetForComport(u" 2 "_s, ini), u"/dev/ttyS1"_s);
        for (const QString& text : {QString(), u"0"_s, u"x"_s, u"  "_s})
            QCOMPARE(Tolkmaskinstest::enhetForComport(text, ini), QString());
    }

    // Byte for byte as each machine takes it, and which answers are contact.
    // Each row runs twice on one test, as the operator may try again.
    void lanken_data() {
        QTest::addColumn<Modell>("modell");
        QTest::addColumn<QString>("svar");
        QTest::addColumn<int>("startsvar"); // ms a RIKA's answer to the start is waited for
        QTest::addColumn<int>("efterSoh");  // ms after SOH, the time-out off; 0: as usual
        QTest::addColumn<Resultat>("resultat");
        const auto rad = [](const char* namn, Modell m, const char* svar, Resultat r, int startsvar = 60000,
                            int efterSoh = 0) {
            QTest::newRow(namn) << m << QString::fromLatin1(svar) << startsvar << efterSoh << r;
        };
        rad("SAM 4000, NAK", Modell::Sam4000, "05:15", Resultat::Kontakt);
        rad("SAM 4000, en tavla", Modell::Sam4000, "05:3039313233343524", Resultat::Kontakt);
        rad("SAM 4000, tyst", Modell::Sam4000, "", Resultat::IngenKontakt);
        // The start's answer ends its wait, long before its bound.
        rad("RIKA, NUL", Modell::Rika, "D4:616263 16:00", Resultat::Kontakt);
        // A machine that does not answer the start is polled when the bound has passed.
        rad("RIKA utan startsvar", Modell::Rika, "16:00", Resultat::Kontakt, 50);
        // What comes beyond the three characters is thrown away before the
        // poll: these NULs are no answer to it.
        rad("RIKA, NUL efter startsvaret", Modell::Rika, "D4:0000000000", Resultat::IngenKontakt);
        rad("RIKA, en tavla", Modell::Rika, "D4:616263 16:01303931323334350437", Resultat::Kontakt);
        rad("RIKA, EOT och ett tecken", Modell::Rika, "D4:616263 16:0437", Resultat::Kontakt);
        rad("RIKA, EOT sist", Modell::Rika, "D4:616263 16:04", Resultat::IngenKontakt);
        rad("RIKA, tyst", Modell::Rika, "D4:616263", Resultat::IngenKontakt);
        rad("RIKA, SOH och sedan inget", Modell::Rika, "D4:616263 16:013039", Resultat::IngenKontakt, 60000,
            100);
    }
    void lanken() {
        QFETCH(Modell, modell);
        QFETCH(QString, svar);
        QFETCH(int, startsvar);
        QFETCH(int, efterSoh);
        QFETCH(Resultat, resultat);
        Kabel kabel;
        Maskin maskin(kabel.tolk, svar);
        Tolkmaskinstider tider = korta();
        tider.startsvar = std::chrono::milliseconds(startsvar);
        if (efterSoh) {
            tider.timeout = 60s;
            tider.efterSoh = std::chrono::milliseconds(efterSoh);
        }
        Tolkmaskinstest test(tider);
        for (int gang = 0; gang < 2; ++gang) {
            maskin.mottaget.clear();
            QCOMPARE(kor(test, kabel.pc, modell).resultat, resultat);
            QCOMPARE(maskin.mottaget, modell == Modell::Rika ? RikaSkickar : SamSkickar);
            QVERIFY(slappt(test, kabel.pc));
        }
    }

    // Once a card is on its way, it counts however long it takes beyond the time-out.
    void kortSomDrojer() {
        Kabel kabel;
        Maskin maskin(kabel.tolk, u"D4:616263 16:013039"_s);
        Tolkmaskinstest test(korta());
        QSignalSpy klar(&test, &Tolkmaskinstest::klar);
        test.starta(kabel.pc, Modell::Rika);
        QTRY_VERIFY(maskin.mottaget.endsWith('\x16'));
        QTest::qWait(2 * int(korta().timeout.count()));
        QVERIFY(klar.isEmpty());
        maskin.port.write("345\x04"
                          "7");
        QVERIFY(klar.wait(10000));
        QCOMPARE(klar.first().first().value<Tolkmaskinstest::Utfall>().resultat, Resultat::Kontakt);
        QVERIFY(slappt(test, kabel.pc));
    }

    void avbrytSlapperPorten() {
        Kabel kabel;
        Maskin maskin(kabel.tolk);
        Tolkmaskinstest test(korta());
        QSignalSpy klar(&test, &Tolkmaskinstest::klar);
        test.starta(kabel.pc, Modell::Sam4000);
        QVERIFY(test.pagar());
        QTRY_VERIFY(maskin.mottaget.endsWith('\x05'));
        test.avbryt();
        QVERIFY(slappt(test, kabel.pc));
        QTest::qWait(2 * int(korta().timeout.count()));
        QVERIFY(klar.isEmpty());

        // Going away mid-test lets go of the port too.
        auto* borta = new Tolkmaskinstest(korta());
        borta->starta(kabel.pc, Modell::Rika);
        QTRY_VERIFY(maskin.mottaget.endsWith('\xD4'));
        QVERIFY(harOppen(kabel.pc));
        delete borta;
        QVERIFY(!harOppen(kabel.pc));
    }

    // A port that is not there, or that another holds: told at once, nothing
    // left open; the port works once the other lets it go.
    void portSomInteGar() {
        Testfixtur f;
        Tolkmaskinstest test(korta());
        const QString fil = f.t.fil(u"inte en port"_s);
        QFile(fil).open(QIODevice::WriteOnly);
        // No path, no such device, a file, a device that is no tty.
        for (const QString& enhet : {Tolkmaskinstest::enhetForComport(u"0"_s, f.g.iniProgram),
                                     f.t.fil(u"ttyUSB9"_s), fil, u"/dev/null"_s}) {
            QCOMPARE(kor(test, enhet, Modell::Sam4000).resultat, Resultat::PortSaknas);
            QVERIFY(!test.portOppen());
        }

        Kabel kabel;
        QSerialPort annan;
        annan.setPortName(kabel.pc);
        QVERIFY(annan.open(QIODevice::ReadWrite));
        const auto u = kor(test, kabel.pc, Modell::Sam4000);
        QCOMPARE(u.resultat, Resultat::Fel);
        QCOMPARE(u.felnummer, int(QSerialPort::PermissionError));
        QVERIFY2(u.felbeskrivning.startsWith(u"Porten används"_s), qPrintable(u.felbeskrivning));
        annan.close();
        Maskin maskin(kabel.tolk, u"05:15"_s);
        QCOMPARE(kor(test, kabel.pc, Modell::Sam4000).resultat, Resultat::Kontakt);
    }

    void ttySNoder() {
        // The kernel makes nodes for ports that may exist; one with no UART
        // behind it is no port at all. Neither kind is opened here.
        int provade = 0;
        for (int n = 0; n < 32; ++n) {
            const QString enhet = u"/dev/ttyS%1"_s.arg(n);
            QFile typ(u"/sys/class/tty/ttyS%1/type"_s.arg(n));
            if (!QFileInfo::exists(enhet) || !typ.open(QIODevice::ReadOnly))
                continue;
            ++provade;
            if (typ.readAll().trimmed() != "0") {
                QCOMPARE(serieportLage(enhet), Serieportlage::Finns);
                continue;
            }
            QCOMPARE(serieportLage(enhet), Serieportlage::Saknas);
            Tolkmaskinstest test(korta());
            QCOMPARE(kor(test, enhet, Modell::Sam4000).resultat, Resultat::PortSaknas);
        }
        if (provade == 0)
            QSKIP("this machine has no ttyS nodes");
    }

    void portUtanBehorighet() {
        if (korSomVanligAnvandare("portUtanBehorighet"))
            return;
        Kabel kabel;
        QVERIFY(QFile::setPermissions(QFileInfo(kabel.pc).canonicalFilePath(), {}));
        QCOMPARE(serieportLage(kabel.pc), Serieportlage::Nekad);
        Tolkmaskinstest test(korta());
        QCOMPARE(kor(test, kabel.pc, Modell::Sam4000).resultat, Resultat::PortNekad);
    }

    // What the operator is told of each outcome.
    void meddelanden_data() {
        QTest::addColumn<Resultat>("resultat");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("titel");
        QTest::addColumn<Ikon>("ikon");
        const QString fel = u"Fel inställningar"_s;
        QTest::newRow("kontakt") << Resultat::Kontakt << "Kommunikationen med tolkmaskinen fungerar!"
                                 << "Kommunikation OK" << Ikon::Information;
        QTest::newRow("ingen kontakt") << Resultat::IngenKontakt
                                       << "Ingen kontakt med tolkmaskinen!\r\rProva en annan Com port\r"
                                          "och att kabeln sitter i ordentligt."
                                       << "Kommunikationsfel!" << Ikon::Kritisk;
        QTest::newRow("saknas") << Resultat::PortSaknas << Saknas << fel << Ikon::Kritisk;
        QTest::newRow("nekad") << Resultat::PortNekad
                               << "Du har inte behörighet att använda datorns serieportar.\rBe datorns "
                                  "administratör att lägga till dig i gruppen dialout och logga sedan ut och "
                                  "in igen."
                               << fel << Ikon::Kritisk;
        QTest::newRow("fel") << Resultat::Fel << "frmInställningar_TestaKommTolkmaskin\r5 Porten används"
                             << QString() << Ikon::Ingen;
    }
    void meddelanden() {
        QFETCH(Resultat, resultat);
        TestMeddelanden m;
        Tolkmaskinstest::meddela(m, {resultat, 5, u"Porten används"_s});
        QCOMPARE(m.visade.size(), 1);
        QTEST(m.visade[0].text, "text");
        QTEST(m.visade[0].titel, "titel");
        QTEST(m.visade[0].ikon, "ikon");
    }

    void simulatorSvarar_data() {
        QTest::addColumn<QString>("modell");
        QTest::addColumn<QString>("lage");
        QTest::addColumn<Resultat>("resultat");
        QTest::newRow("SAM 4000") << "sam4000"
                                  << "not-ready" << Resultat::Kontakt;
        QTest::newRow("RIKA") << "rika"
                              << "not-ready" << Resultat::Kontakt;
        QTest::newRow("RIKA tyst") << "rika"
                                   << "silent" << Resultat::IngenKontakt;
    }
    void simulatorSvarar() {
        QFETCH(QString, modell);
        QFETCH(QString, lage);
        QFETCH(Resultat, resultat);
        Kabel kabel;
        QProcess simulator;
        simulator.setReadChannel(QProcess::StandardError);
        const auto stoppa = qScopeGuard([&] {
            simulator.terminate();
            simulator.waitForFinished(5000);
        });
        simulator.start(QStringLiteral(TOLKSIMULATOR),
                        {u"--model"_s, modell, u"--mode"_s, lage, u"--verbose"_s, kabel.tolk});
        QByteArray logg;
        while (!logg.contains("listening") && simulator.waitForReadyRead(5000))
            logg += simulator.readAllStandardError();
        QVERIFY2(logg.contains("listening"), logg.constData());

        Tolkmaskinstider tider = korta();
        tider.startsvar = 300ms;
        Tolkmaskinstest test(tider);
        const bool rika = modell == QLatin1String("rika");
        QCOMPARE(kor(test, kabel.pc, rika ? Modell::Rika : Modell::Sam4000).resultat, resultat);
        // Its log in hex tells what it was sent.
        const auto mottaget = [&] {
            logg += simulator.readAllStandardError();
            QByteArray hex;
            for (const QByteArray& rad : logg.split('\n'))
                if (rad.startsWith("<- "))
                    hex += rad.mid(3);
            return QByteArray::fromHex(hex);
        };
        const QByteArray skickat = rika ? RikaSkickar : SamSkickar;
        while (mottaget() != skickat && simulator.waitForReadyRead(5000)) {
        }
        QCOMPARE(mottaget(), skickat);
    }

    // Automatic counting comes back only while no shooter has a result; the
    // counts and the INI's flags go together or not at all, the series stay.
    void autoRakning() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 10, 1, 5);
        Databas& db = f.g.cnnTavling;
        const auto raknat = [&] {
            return db.varde(u"SELECT sum(Man1098) + sum(Innertior) FROM Skyttar"_s).toInt();
        };
        const auto ini = [&](const IniNyckel& n) {
            return f.g.iniTavling.GetKeyValue(n.sektion, n.nyckel, {});
        };
        db.kor(u"UPDATE Skyttar SET Man1098 = 1, Innertior = 2 WHERE Startnr IN (2, 3)"_s);
        db.kor(u"UPDATE Skyttar SET Innertior = 4, Res1 = 48, Sum60 = 95 WHERE Startnr = 5"_s);
        QVERIFY(f.g.iniTavling.WriteKeys({{Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, "1"},
                                          {Ini::EjAutoInnertior.sektion, Ini::EjAutoInnertior.nyckel, "1"}}));
        f.g.blnEjAuto1098 = true;

        QVERIFY(!AutoRakning::aterstall(f.g, f.m));
        QCOMPARE(f.m.senasteText(), u"Det finns fortfarande skyttar med resultat inskrivna.\r\n"
                                    "Det går inte att få tillbaka Auto 10,9,8.. då."_s);
        QCOMPARE(f.m.visade.back().titel, u"Resultat kvar"_s);
        QCOMPARE(f.m.visade.back().ikon, Ikon::Kritisk);
        QCOMPARE(raknat(), 10);
        QCOMPARE(ini(Ini::EjAuto1098), u"1"_s);
        QVERIFY(f.g.blnEjAuto1098);
        db.kor(u"UPDATE Skyttar SET Sum60 = 0"_s);

        // An INI that cannot be written leaves the database as it was; the
        // tab's button tells it with its procedure.
        const QString sokvag = f.g.iniTavling.Path();
        f.g.iniTavling.setPath(f.t.fil(u"saknas/Cup.ini"_s));
        QCOMPARE(felnummer([&] { AutoRakning::aterstall(f.g, f.m); }), Felnummer::SokvagsAtkomstfel);
        QCOMPARE(raknat(), 10);
        QVERIFY(f.g.blnEjAuto1098);
        FlikTolkmaskin flik(f.kontext);
        widget<QPushButton>(&flik, "cmdAuto1098")->click();
        QVERIFY2(f.m.senasteText().startsWith(u"frmInställningar, cmdAuto1098_Click: 75 "_s),
                 qPrintable(f.m.senasteText()));
        QCOMPARE(f.m.visade.back().titel, u"Fel"_s);
        f.g.iniTavling.setPath(sokvag);

        QVERIFY(AutoRakning::aterstall(f.g, f.m));
        QCOMPARE(raknat(), 0);
        QCOMPARE(db.varde(u"SELECT Res1 FROM Skyttar WHERE Startnr = 5"_s).toInt(), 48);
        QCOMPARE(ini(Ini::EjAuto1098), u"0"_s);
        QCOMPARE(ini(Ini::EjAutoInnertior), u"0"_s);
        QVERIFY(!f.g.blnEjAuto1098);
        QCOMPARE(f.m.senasteText(), u"Nu är det Automatisk räkning av 10,9,8.. igen."_s);
        QCOMPARE(f.m.visade.back().titel, u"Klart"_s);
        QCOMPARE(f.m.visade.back().ikon, Ikon::Utropstecken);
    }

    // The tab's test button: busy while the test runs, its verdict told, the
    // port let go; closing the form mid-test ends it without one.
    void flikensTest() {
        Testfixtur f;
        Kabel kabel;
        Maskin maskin(kabel.tolk, u"05:15"_s);
        QVERIFY(f.g.iniProgram.WriteKey(SerieportarSektion, u"COM4"_s, kabel.pc));
        FlikTolkmaskin flik(f.kontext, nullptr, korta());
        auto* testa = widget<QPushButton>(&flik, "cmdTestaKomm");
        auto* test = widget<Tolkmaskinstest>(&flik, "comTolkmaskinTest");
        widget<QCheckBox>(&flik, "chkTolkmGrund")->click();
        widget<QLineEdit>(&flik, "txtComport")->setText(u"4"_s);
        QSignalSpy klar(test, &Tolkmaskinstest::klar);

        testa->click();
        QVERIFY(!testa->isEnabled());
        QVERIFY(QApplication::overrideCursor());
        QVERIFY(klar.wait(10000));
        QVERIFY(testa->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(f.m.senasteText(), u"Kommunikationen med tolkmaskinen fungerar!"_s);
        QVERIFY(slappt(*test, kabel.pc));

        f.m.tom();
        maskin.svara({});
        maskin.mottaget.clear();
        testa->click();
        QTRY_VERIFY(maskin.mottaget.endsWith('\x05'));
        flik.avbrytTest();
        QVERIFY(testa->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(slappt(*test, kabel.pc));
        QTest::qWait(2 * int(korta().timeout.count()));
        QVERIFY(f.m.visade.isEmpty());

        // A port that is not there: the message, and the button back.
        widget<QLineEdit>(&flik, "txtComport")->setText(u"0"_s);
        testa->click();
        QCOMPARE(f.m.senasteText(), Saknas);
        QVERIFY(testa->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(TestTolkmaskinstest)
#include "test_tolkmaskinstest.moc"
