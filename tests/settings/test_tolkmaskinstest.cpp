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
    const QFileInfoList fd =
        QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::AllEntries | QDir::System);
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

const QString Saknas =
    QStringLiteral("Du har valt en Com port som inte finns!\rÄndra Com port och prova igen.");

} // namespace

class TestTolkmaskinstest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<Tolkmaskinstest::Utfall>(); }

    void portnummerBlirEnhet() {
        Testfixtur f;
        const clsIni& ini = f.g.iniProgram;
        QCOMPARE(serieportEnhet(1, ini), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(serieportEnhet(9, ini), QStringLiteral("/dev/ttyS8"));
        QCOMPARE(serieportEnhet(0, ini), QString());
        QCOMPARE(serieportEnhet(-2, ini), QString());
        QVERIFY(f.g.iniProgram.WriteKey(SerieportarSektion, QStringLiteral("COM3"),
                                        QStringLiteral("/dev/ttyUSB0")));
        QCOMPARE(serieportEnhet(3, ini), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(serieportEnhet(2, ini), QStringLiteral("/dev/ttyS1"));
        // What the operator typed in the port box.
        QCOMPARE(Tolkmaskinstest::enhetForComport(QStringLiteral("3"), ini), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(Tolkmaskinstest::enhetForComport(QStringLiteral(" 2 "), ini), QStringLiteral("/dev/ttyS1"));
        for (const QString& text :
             {QString(), QStringLiteral("0"), QStringLiteral("x"), QStringLiteral("  ")})
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
        Maskin maskin(kabel.tolk, QStringLiteral("D4:616263 16:013039"));
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
        const QString fil = f.t.fil(QStringLiteral("inte en port"));
        QFile(fil).open(QIODevice::WriteOnly);
        // No path, no such device, a file, a device that is no tty.
        for (const QString& enhet : {Tolkmaskinstest::enhetForComport(QStringLiteral("0"), f.g.iniProgram),
                                     f.t.fil(QStringLiteral("ttyUSB9")), fil, QStringLiteral("/dev/null")}) {
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
        QVERIFY2(u.felbeskrivning.startsWith(QStringLiteral("Porten används")), qPrintable(u.felbeskrivning));
        annan.close();
        Maskin maskin(kabel.tolk, QStringLiteral("05:15"));
        QCOMPARE(kor(test, kabel.pc, Modell::Sam4000).resultat, Resultat::Kontakt);
    }

    void ttySNoder() {
        // The kernel makes nodes for ports that may exist; one with no UART
        // behind it is no port at all. Neither kind is opened here.
        int provade = 0;
        for (int n = 0; n < 32; ++n) {
            const QString enhet = QStringLiteral("/dev/ttyS%1").arg(n);
            QFile typ(QStringLiteral("/sys/class/tty/ttyS%1/type").arg(n));
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
        const QString fel = QStringLiteral("Fel inställningar");
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
        Tolkmaskinstest::meddela(m, {resultat, 5, QStringLiteral("Porten används")});
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
                        {QStringLiteral("--model"), modell, QStringLiteral("--mode"), lage,
                         QStringLiteral("--verbose"), kabel.tolk});
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
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 10, 1, 5);
        Databas& db = f.g.cnnTavling;
        const auto raknat = [&] {
            return db.varde(QStringLiteral("SELECT sum(Man1098) + sum(Innertior) FROM Skyttar")).toInt();
        };
        const auto ini = [&](const IniNyckel& n) {
            return f.g.iniTavling.GetKeyValue(n.sektion, n.nyckel, {});
        };
        db.kor(QStringLiteral("UPDATE Skyttar SET Man1098 = 1, Innertior = 2 WHERE Startnr IN (2, 3)"));
        db.kor(QStringLiteral("UPDATE Skyttar SET Innertior = 4, Res1 = 48, Sum60 = 95 WHERE Startnr = 5"));
        QVERIFY(f.g.iniTavling.WriteKeys({{Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, "1"},
                                          {Ini::EjAutoInnertior.sektion, Ini::EjAutoInnertior.nyckel, "1"}}));
        f.g.blnEjAuto1098 = true;

        QVERIFY(!AutoRakning::aterstall(f.g, f.m));
        QCOMPARE(f.m.senasteText(), QStringLiteral("Det finns fortfarande skyttar med resultat inskrivna.\r\n"
                                                   "Det går inte att få tillbaka Auto 10,9,8.. då."));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Resultat kvar"));
        QCOMPARE(f.m.visade.back().ikon, Ikon::Kritisk);
        QCOMPARE(raknat(), 10);
        QCOMPARE(ini(Ini::EjAuto1098), QStringLiteral("1"));
        QVERIFY(f.g.blnEjAuto1098);
        db.kor(QStringLiteral("UPDATE Skyttar SET Sum60 = 0"));

        // An INI that cannot be written leaves the database as it was; the
        // tab's button tells it with its procedure.
        const QString sokvag = f.g.iniTavling.Path();
        f.g.iniTavling.setPath(f.t.fil(QStringLiteral("saknas/Cup.ini")));
        QCOMPARE(felnummer([&] { AutoRakning::aterstall(f.g, f.m); }), Felnummer::SokvagsAtkomstfel);
        QCOMPARE(raknat(), 10);
        QVERIFY(f.g.blnEjAuto1098);
        FlikTolkmaskin flik(f.kontext);
        widget<QPushButton>(&flik, "cmdAuto1098")->click();
        QVERIFY2(f.m.senasteText().startsWith(QStringLiteral("frmInställningar, cmdAuto1098_Click: 75 ")),
                 qPrintable(f.m.senasteText()));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Fel"));
        f.g.iniTavling.setPath(sokvag);

        QVERIFY(AutoRakning::aterstall(f.g, f.m));
        QCOMPARE(raknat(), 0);
        QCOMPARE(db.varde(QStringLiteral("SELECT Res1 FROM Skyttar WHERE Startnr = 5")).toInt(), 48);
        QCOMPARE(ini(Ini::EjAuto1098), QStringLiteral("0"));
        QCOMPARE(ini(Ini::EjAutoInnertior), QStringLiteral("0"));
        QVERIFY(!f.g.blnEjAuto1098);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Nu är det Automatisk räkning av 10,9,8.. igen."));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Klart"));
        QCOMPARE(f.m.visade.back().ikon, Ikon::Utropstecken);
    }

    // The machine's controls follow whether it is used; its values stay when
    // it is not, they only cannot be changed. The decimals are RIKA's.
    void flikensReglar() {
        Testfixtur f;
        FlikTolkmaskin flik(f.kontext);
        auto* grund = widget<QCheckBox>(&flik, "chkTolkmGrund");
        auto* sam = widget<QRadioButton>(&flik, "optSAM4000");
        auto* rika = widget<QRadioButton>(&flik, "optRIKA");
        auto* comport = widget<QLineEdit>(&flik, "txtComport");
        auto* decimaler = widget<QCheckBox>(&flik, "chkDecimalerRika");
        QVERIFY(sam->isChecked());
        for (const char* namn : {"frameVilkenTolkmaskin", "optSAM4000", "optRIKA", "txtComport",
                                 "chkDecimalerRika", "chkTolkmFinal", "chkBarCode"})
            QVERIFY2(!widget<QWidget>(&flik, namn)->isEnabled(), namn);
        QVERIFY(widget<QLineEdit>(&flik, "txtInnertia")->isEnabled());

        grund->click();
        QVERIFY(widget<QWidget>(&flik, "frameVilkenTolkmaskin")->isEnabled() && rika->isEnabled() &&
                comport->isEnabled());
        QVERIFY(!decimaler->isEnabled());
        rika->click();
        QVERIFY(decimaler->isEnabled());
        decimaler->click();
        sam->click();
        QVERIFY(!decimaler->isEnabled() && !decimaler->isChecked());

        rika->click();
        comport->setText(QStringLiteral("3"));
        grund->click();
        QVERIFY(!rika->isEnabled() && !comport->isEnabled() && !decimaler->isEnabled());
        Installningsvarden v;
        flik.hamta(v);
        QCOMPARE(v.modell, Installningsvarden::Modell::Rika);
        QCOMPARE(v.comport, QStringLiteral("3"));
        QVERIFY(!v.tolkmaskinIGrundomg);

        // Shown from the INI, the rule follows.
        Installningsvarden fran;
        fran.tolkmaskinIGrundomg = true;
        fran.modell = Installningsvarden::Modell::Rika;
        fran.decimalerRika = true;
        fran.comport = QStringLiteral("4");
        fran.innertia = QStringLiteral("10,5");
        FlikTolkmaskin visad(f.kontext);
        visad.visa(fran);
        QVERIFY(widget<QCheckBox>(&visad, "chkDecimalerRika")->isEnabled() &&
                widget<QCheckBox>(&visad, "chkDecimalerRika")->isChecked());
        QVERIFY(widget<QLineEdit>(&visad, "txtComport")->isEnabled());
        Installningsvarden tillbaka;
        visad.hamta(tillbaka);
        QVERIFY(tillbaka.tolkmaskinIGrundomg && tillbaka.decimalerRika && !tillbaka.tolkmaskinIFinalen);
        QCOMPARE(tillbaka.modell, Installningsvarden::Modell::Rika);
        QCOMPARE(tillbaka.comport, QStringLiteral("4"));
        QCOMPARE(tillbaka.innertia, QStringLiteral("10,5"));
    }

    // The port takes digits and Enter moves on; the inner ten takes one comma
    // after a digit and is checked when the operator moves on within the tab;
    // leaving the tab is left to the form's close check.
    void flikensTangenter() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        Installningsfonster::registrera(f.delar());
        QWidget* form = f.fonster.visaFonster(Fonsternamn::Installningar);
        QApplication::setActiveWindow(form);
        QVERIFY(QTest::qWaitForWindowActive(form));
        widget<QTabWidget>(form, "tabInstallningar")->setCurrentIndex(frmInstallningar::Tolkmaskin);
        auto* comport = widget<QLineEdit>(form, "txtComport");
        auto* innertia = widget<QLineEdit>(form, "txtInnertia");
        widget<QCheckBox>(form, "chkTolkmGrund")->click();

        comport->setFocus();
        comport->clear();
        QTest::keyClicks(comport, QStringLiteral("1a.2"));
        QCOMPARE(comport->text(), QStringLiteral("12"));
        QTest::keyClick(comport, Qt::Key_Backspace);
        QCOMPARE(comport->text(), QStringLiteral("1"));
        QTest::keyClick(comport, Qt::Key_Return);
        QVERIFY(!comport->hasFocus());

        innertia->clear();
        innertia->setFocus();
        QTest::keyClicks(innertia, QStringLiteral(",10.,5,3x"));
        QCOMPARE(innertia->text(), QStringLiteral("10,53"));

        f.g.sngInnertia = 0;
        innertia->setText(QStringLiteral("10,05"));
        QTest::keyClick(innertia, Qt::Key_Tab);
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(f.g.sngInnertia, 10.05);
        for (const QString& fel :
             {QStringLiteral("11"), QStringLiteral("10"), QStringLiteral("11,5"), QString()}) {
            f.m.tom();
            innertia->setFocus();
            innertia->setText(fel);
            QTest::keyClick(innertia, Qt::Key_Tab);
            QCOMPARE(f.m.senasteText(),
                     QStringLiteral("Du får bara skriva ett värde mellan 10,1 och 10,9 på innertian!"));
            QCOMPARE(f.m.visade.back().titel, QStringLiteral("Fel inmatat"));
            QCOMPARE(innertia->text(), QString());
            QTRY_VERIFY(innertia->hasFocus());
        }
        QCOMPARE(f.g.sngInnertia, 10.05);
        f.m.tom();
        widget<QPushButton>(form, "cmdOK")->setFocus();
        QVERIFY(!innertia->hasFocus());
        QVERIFY(f.m.visade.isEmpty());
    }

    // The tab's test button: busy while the test runs, its verdict told, the
    // port let go; closing the form mid-test ends it without one.
    void flikensTest() {
        Testfixtur f;
        Kabel kabel;
        Maskin maskin(kabel.tolk, QStringLiteral("05:15"));
        QVERIFY(f.g.iniProgram.WriteKey(SerieportarSektion, QStringLiteral("COM4"), kabel.pc));
        FlikTolkmaskin flik(f.kontext, nullptr, korta());
        auto* testa = widget<QPushButton>(&flik, "cmdTestaKomm");
        auto* test = widget<Tolkmaskinstest>(&flik, "comTolkmaskinTest");
        widget<QCheckBox>(&flik, "chkTolkmGrund")->click();
        widget<QLineEdit>(&flik, "txtComport")->setText(QStringLiteral("4"));
        QSignalSpy klar(test, &Tolkmaskinstest::klar);

        testa->click();
        QVERIFY(!testa->isEnabled());
        QVERIFY(QApplication::overrideCursor());
        QVERIFY(klar.wait(10000));
        QVERIFY(testa->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(f.m.senasteText(), QStringLiteral("Kommunikationen med tolkmaskinen fungerar!"));
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
        widget<QLineEdit>(&flik, "txtComport")->setText(QStringLiteral("0"));
        testa->click();
        QCOMPARE(f.m.senasteText(), Saknas);
        QVERIFY(testa->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(TestTolkmaskinstest)
#include "test_tolkmaskinstest.moc"
