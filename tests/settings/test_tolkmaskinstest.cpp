#include "common/Fel.h"
#include "common/IniNamn.h"
#include "platform/Serieport.h"
#include "settings/AutoRakning.h"
#include "settings/FlikTolkmaskin.h"
#include "settings/Tolkmaskinstest.h"
#include "support/Kabel.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"
#include "support/VanligAnvandare.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

using namespace std::chrono_literals;
using Modell = Tolkmaskinstest::Modell;
using Resultat = Tolkmaskinstest::Resultat;
using Ikon = Meddelanden::Ikon;

namespace {

// The scoring machine at its end of the cable: records every byte and answers
// those it has an answer for.
class Maskin {
public:
    explicit Maskin(const QString& enhet) {
        if (oppnaSerieport(port, enhet))
            qFatal("the machine's end does not open");
        QObject::connect(&port, &QSerialPort::readyRead, &port, [this] {
            for (const char c : port.readAll()) {
                mottaget += c;
                if (svar.contains(c))
                    port.write(svar.value(c));
            }
        });
    }
    QSerialPort port;
    QByteArray mottaget;
    QHash<char, QByteArray> svar;
};

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

    void sam4000() {
        Kabel kabel;
        Maskin maskin(kabel.tolk);
        Tolkmaskinstest test(korta());

        // No card: NAK.
        maskin.svar[0x05] = "\x15";
        QCOMPARE(kor(test, kabel.pc, Modell::Sam4000).resultat, Resultat::Kontakt);
        QCOMPARE(maskin.mottaget, QByteArray("\xB2\x06\x05"));
        QVERIFY(slappt(test, kabel.pc));

        // A card in it: its frame, which ends with "$".
        maskin.mottaget.clear();
        maskin.svar[0x05] = "0912345$";
        QCOMPARE(kor(test, kabel.pc, Modell::Sam4000).resultat, Resultat::Kontakt);
        QVERIFY(slappt(test, kabel.pc));

        // Silent.
        maskin.mottaget.clear();
        maskin.svar.clear();
        const auto u = kor(test, kabel.pc, Modell::Sam4000);
        QCOMPARE(u.resultat, Resultat::IngenKontakt);
        QCOMPARE(maskin.mottaget, QByteArray("\xB2\x06\x05"));
        QVERIFY(slappt(test, kabel.pc));
        TestMeddelanden m;
        Tolkmaskinstest::meddela(m, u);
        QCOMPARE(m.senasteText(),
                 QStringLiteral("Ingen kontakt med tolkmaskinen!\r\rProva en annan Com port\r"
                                "och att kabeln sitter i ordentligt."));
        QCOMPARE(m.visade.back().titel, QStringLiteral("Kommunikationsfel!"));
        QCOMPARE(m.visade.back().ikon, Ikon::Kritisk);
    }

    void rikaStart() {
        Kabel kabel;
        Maskin maskin(kabel.tolk);
        maskin.svar[char(0xD4)] = "abc";
        maskin.svar[0x16] = QByteArray(1, '\0');
        // The start's answer ends the wait, long before its bound.
        Tolkmaskinstest test(korta());
        QCOMPARE(kor(test, kabel.pc, Modell::Rika).resultat, Resultat::Kontakt);
        QCOMPARE(maskin.mottaget, QByteArray("\x0C\xD4\x16"));
        QVERIFY(slappt(test, kabel.pc));

        // A machine that does not answer the start is polled when the bound has passed.
        maskin.mottaget.clear();
        maskin.svar.remove(char(0xD4));
        Tolkmaskinstider tider = korta();
        tider.startsvar = 50ms;
        Tolkmaskinstest kort(tider);
        QCOMPARE(kor(kort, kabel.pc, Modell::Rika).resultat, Resultat::Kontakt);
        QCOMPARE(maskin.mottaget, QByteArray("\x0C\xD4\x16"));

        // What comes beyond the three characters is thrown away before the
        // poll: these NULs are no answer to it.
        maskin.mottaget.clear();
        maskin.svar.clear();
        maskin.svar[char(0xD4)] = QByteArray(5, '\0');
        QCOMPARE(kor(test, kabel.pc, Modell::Rika).resultat, Resultat::IngenKontakt);
        QCOMPARE(maskin.mottaget, QByteArray("\x0C\xD4\x16"));
        QVERIFY(slappt(test, kabel.pc));
    }

    void rikaSvar_data() {
        QTest::addColumn<QByteArray>("svar");
        QTest::addColumn<Resultat>("resultat");
        QTest::newRow("NUL") << QByteArray(1, '\0') << Resultat::Kontakt;
        QTest::newRow("kort") << QByteArray("\x01"
                                            "0912345\x04"
                                            "7")
                              << Resultat::Kontakt;
        QTest::newRow("EOT och ett tecken") << QByteArray("\x04"
                                                          "7")
                                            << Resultat::Kontakt;
        QTest::newRow("EOT sist") << QByteArray("\x04") << Resultat::IngenKontakt;
        QTest::newRow("tyst") << QByteArray() << Resultat::IngenKontakt;
    }
    void rikaSvar() {
        QFETCH(QByteArray, svar);
        QFETCH(Resultat, resultat);
        Kabel kabel;
        Maskin maskin(kabel.tolk);
        maskin.svar[char(0xD4)] = "abc";
        if (!svar.isEmpty())
            maskin.svar[0x16] = svar;
        Tolkmaskinstest test(korta());
        QCOMPARE(kor(test, kabel.pc, Modell::Rika).resultat, resultat);
        QCOMPARE(maskin.mottaget, QByteArray("\x0C\xD4\x16"));
        QVERIFY(slappt(test, kabel.pc));
    }

    void rikaEfterSoh() {
        Kabel kabel;
        Maskin maskin(kabel.tolk);
        maskin.svar[char(0xD4)] = "abc";
        maskin.svar[0x16] = "\x01"
                            "09";

        // SOH and then nothing: the bound after SOH ends it, the time-out
        // being off.
        Tolkmaskinstider tider = korta();
        tider.timeout = 60s;
        tider.efterSoh = 100ms;
        Tolkmaskinstest test(tider);
        QCOMPARE(kor(test, kabel.pc, Modell::Rika).resultat, Resultat::IngenKontakt);
        QVERIFY(slappt(test, kabel.pc));

        // A card that takes longer than the time-out still counts.
        Tolkmaskinstest lang(korta());
        QSignalSpy klar(&lang, &Tolkmaskinstest::klar);
        maskin.mottaget.clear();
        lang.starta(kabel.pc, Modell::Rika);
        QTRY_VERIFY(maskin.mottaget.endsWith('\x16'));
        QTest::qWait(2 * int(korta().timeout.count()));
        QVERIFY(klar.isEmpty());
        maskin.port.write("345\x04"
                          "7");
        QVERIFY(klar.wait(10000));
        QCOMPARE(klar.first().first().value<Tolkmaskinstest::Utfall>().resultat, Resultat::Kontakt);
        QVERIFY(slappt(lang, kabel.pc));
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

    void portSomInteFinns() {
        Testfixtur f;
        Tolkmaskinstest test(korta());
        const QString fil = f.t.fil(QStringLiteral("inte en port"));
        QFile(fil).open(QIODevice::WriteOnly);
        // No path, no such device, a file, a device that is no tty.
        for (const QString& enhet : {Tolkmaskinstest::enhetForComport(QStringLiteral("0"), f.g.iniProgram),
                                     f.t.fil(QStringLiteral("ttyUSB9")), fil, QStringLiteral("/dev/null")}) {
            const auto u = kor(test, enhet, Modell::Sam4000);
            QCOMPARE(u.resultat, Resultat::PortSaknas);
            QVERIFY(!test.portOppen());
        }
        Tolkmaskinstest::meddela(f.m, {Resultat::PortSaknas});
        QCOMPARE(f.m.senasteText(), Saknas);
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Fel inställningar"));
        QCOMPARE(f.m.visade.back().ikon, Ikon::Kritisk);
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
        Testfixtur f;
        Kabel kabel;
        QVERIFY(QFile::setPermissions(QFileInfo(kabel.pc).canonicalFilePath(), {}));
        QCOMPARE(serieportLage(kabel.pc), Serieportlage::Nekad);
        Tolkmaskinstest test(korta());
        const auto u = kor(test, kabel.pc, Modell::Sam4000);
        QCOMPARE(u.resultat, Resultat::PortNekad);
        Tolkmaskinstest::meddela(f.m, u);
        QVERIFY(f.m.senasteText().contains(QStringLiteral("dialout")));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Fel inställningar"));
    }

    void portSomAnnanHaller() {
        Testfixtur f;
        Kabel kabel;
        QSerialPort annan;
        annan.setPortName(kabel.pc);
        QVERIFY(annan.open(QIODevice::ReadWrite));
        Tolkmaskinstest test(korta());
        const auto u = kor(test, kabel.pc, Modell::Sam4000);
        QCOMPARE(u.resultat, Resultat::Fel);
        Tolkmaskinstest::meddela(f.m, u);
        QVERIFY2(f.m.senasteText().startsWith(
                     QStringLiteral("frmInställningar_TestaKommTolkmaskin\r%1 Porten används")
                         .arg(int(QSerialPort::PermissionError))),
                 qPrintable(f.m.senasteText()));
        QCOMPARE(f.m.visade.back().titel, QString());
        QCOMPARE(f.m.visade.back().ikon, Ikon::Ingen);
        annan.close();
        Maskin maskin(kabel.tolk);
        maskin.svar[0x05] = "\x15";
        QCOMPARE(kor(test, kabel.pc, Modell::Sam4000).resultat, Resultat::Kontakt);
    }

    void simulatorSvarar_data() {
        QTest::addColumn<QString>("modell");
        QTest::addColumn<QString>("lage");
        QTest::addColumn<QByteArray>("skickat");
        QTest::addColumn<Resultat>("resultat");
        QTest::newRow("SAM 4000") << "sam4000"
                                  << "not-ready" << QByteArray("\xB2\x06\x05") << Resultat::Kontakt;
        QTest::newRow("RIKA") << "rika"
                              << "not-ready" << QByteArray("\x0C\xD4\x16") << Resultat::Kontakt;
        QTest::newRow("RIKA tyst") << "rika"
                                   << "silent" << QByteArray("\x0C\xD4\x16") << Resultat::IngenKontakt;
    }
    void simulatorSvarar() {
        QFETCH(QString, modell);
        QFETCH(QString, lage);
        QFETCH(QByteArray, skickat);
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
        QCOMPARE(
            kor(test, kabel.pc, modell == QLatin1String("rika") ? Modell::Rika : Modell::Sam4000).resultat,
            resultat);
        // Its log in hex tells what it was sent.
        const auto mottaget = [&] {
            logg += simulator.readAllStandardError();
            QByteArray hex;
            for (const QByteArray& rad : logg.split('\n'))
                if (rad.startsWith("<- "))
                    hex += rad.mid(3);
            return QByteArray::fromHex(hex);
        };
        while (mottaget() != skickat && simulator.waitForReadyRead(5000)) {
        }
        QCOMPARE(mottaget(), skickat);
    }

    void autoRakningMedResultat() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 10, 1, 5);
        Databas& db = f.g.cnnTavling;
        db.kor(QStringLiteral("UPDATE Skyttar SET Man1098 = 1, Innertior = 2 WHERE Startnr = 2"));
        db.kor(QStringLiteral("UPDATE Skyttar SET Sum60 = 95 WHERE Startnr = 4"));
        QVERIFY(
            f.g.iniTavling.WriteKey(Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, QStringLiteral("1")));
        f.g.blnEjAuto1098 = true;

        QVERIFY(!AutoRakning::aterstall(f.g, f.m));
        QCOMPARE(f.m.senasteText(), QStringLiteral("Det finns fortfarande skyttar med resultat inskrivna.\r\n"
                                                   "Det går inte att få tillbaka Auto 10,9,8.. då."));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Resultat kvar"));
        QCOMPARE(f.m.visade.back().ikon, Ikon::Kritisk);
        QCOMPARE(
            db.varde(QStringLiteral("SELECT Man1098 + Innertior FROM Skyttar WHERE Startnr = 2")).toInt(), 3);
        QCOMPARE(f.g.iniTavling.GetKeyValue(Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, {}),
                 QStringLiteral("1"));
        QVERIFY(f.g.blnEjAuto1098);
    }

    void autoRakningAterstalls() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Nationellt, 10, 1, 5);
        Databas& db = f.g.cnnTavling;
        db.kor(QStringLiteral("UPDATE Skyttar SET Man1098 = 1, Innertior = 2 WHERE Startnr IN (2, 3)"));
        db.kor(QStringLiteral("UPDATE Skyttar SET Innertior = 4, Res1 = 48 WHERE Startnr = 5"));
        QVERIFY(f.g.iniTavling.WriteKeys(
            {{Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, QStringLiteral("1")},
             {Ini::EjAutoInnertior.sektion, Ini::EjAutoInnertior.nyckel, QStringLiteral("1")}}));
        f.g.blnEjAuto1098 = true;

        // An INI that cannot be written leaves the database as it was.
        const QString ini = f.g.iniTavling.Path();
        f.g.iniTavling.setPath(f.t.fil(QStringLiteral("saknas/Cup.ini")));
        QCOMPARE(felnummer([&] { AutoRakning::aterstall(f.g, f.m); }), Felnummer::SokvagsAtkomstfel);
        QCOMPARE(db.varde(QStringLiteral("SELECT sum(Man1098) + sum(Innertior) FROM Skyttar")).toInt(), 10);
        QVERIFY(f.g.blnEjAuto1098);
        f.g.iniTavling.setPath(ini);

        f.m.tom();
        QVERIFY(AutoRakning::aterstall(f.g, f.m));
        QCOMPARE(db.varde(QStringLiteral("SELECT count(*) FROM Skyttar WHERE Man1098 <> 0 OR Innertior <> 0"))
                     .toInt(),
                 0);
        // Only the counts go; the series stay.
        QCOMPARE(db.varde(QStringLiteral("SELECT Res1 FROM Skyttar WHERE Startnr = 5")).toInt(), 48);
        QCOMPARE(f.g.iniTavling.GetKeyValue(Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, {}),
                 QStringLiteral("0"));
        QCOMPARE(f.g.iniTavling.GetKeyValue(Ini::EjAutoInnertior.sektion, Ini::EjAutoInnertior.nyckel, {}),
                 QStringLiteral("0"));
        QVERIFY(!f.g.blnEjAuto1098);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Nu är det Automatisk räkning av 10,9,8.. igen."));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Klart"));
        QCOMPARE(f.m.visade.back().ikon, Ikon::Utropstecken);
    }

    void flikensReglar() {
        Testfixtur f;
        FlikTolkmaskin flik(f.kontext);
        // As designed.
        QVERIFY(flik.optSAM4000->isChecked());
        for (QWidget* w : std::initializer_list<QWidget*>{
                 flik.frameVilkenTolkmaskin, flik.optSAM4000, flik.optRIKA, flik.txtComport,
                 flik.chkDecimalerRika, flik.chkTolkmFinal, flik.chkBarCode})
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        QVERIFY(flik.txtInnertia->isEnabled());

        flik.chkTolkmGrund->click();
        QVERIFY(flik.frameVilkenTolkmaskin->isEnabled() && flik.optRIKA->isEnabled() &&
                flik.txtComport->isEnabled());
        QVERIFY(!flik.chkDecimalerRika->isEnabled());
        flik.optRIKA->click();
        QVERIFY(flik.chkDecimalerRika->isEnabled());
        flik.chkDecimalerRika->click();
        flik.optSAM4000->click();
        QVERIFY(!flik.chkDecimalerRika->isEnabled() && !flik.chkDecimalerRika->isChecked());

        // Unticked: the values stay, they can only not be changed.
        flik.optRIKA->click();
        flik.txtComport->setText(QStringLiteral("3"));
        flik.chkTolkmGrund->click();
        QVERIFY(!flik.optRIKA->isEnabled() && !flik.txtComport->isEnabled() &&
                !flik.chkDecimalerRika->isEnabled());
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
        QVERIFY(visad.chkDecimalerRika->isEnabled() && visad.chkDecimalerRika->isChecked());
        QVERIFY(visad.txtComport->isEnabled());
        Installningsvarden tillbaka;
        visad.hamta(tillbaka);
        QVERIFY(tillbaka.tolkmaskinIGrundomg && tillbaka.decimalerRika && !tillbaka.tolkmaskinIFinalen);
        QCOMPARE(tillbaka.modell, Installningsvarden::Modell::Rika);
        QCOMPARE(tillbaka.comport, QStringLiteral("4"));
        QCOMPARE(tillbaka.innertia, QStringLiteral("10,5"));
    }

    void flikensTangenter() {
        Testfixtur f;
        QWidget fonster;
        auto* flik = new FlikTolkmaskin(f.kontext);
        auto* utanfor = new QLineEdit;
        auto* layout = new QVBoxLayout(&fonster);
        layout->addWidget(flik);
        layout->addWidget(utanfor);
        fonster.show();
        fonster.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&fonster));
        flik->chkTolkmGrund->click();

        flik->txtComport->setFocus();
        QTest::keyClicks(flik->txtComport, QStringLiteral("1a.2"));
        QCOMPARE(flik->txtComport->text(), QStringLiteral("12"));
        QTest::keyClick(flik->txtComport, Qt::Key_Backspace);
        QCOMPARE(flik->txtComport->text(), QStringLiteral("1"));
        QTest::keyClick(flik->txtComport, Qt::Key_Return);
        QVERIFY(!flik->txtComport->hasFocus());

        flik->txtInnertia->clear();
        flik->txtInnertia->setFocus();
        QTest::keyClicks(flik->txtInnertia, QStringLiteral(",10.,5,3x"));
        QCOMPARE(flik->txtInnertia->text(), QStringLiteral("10,53"));

        // Moving on within the tab checks the value.
        f.g.sngInnertia = 0;
        flik->txtInnertia->setText(QStringLiteral("10,05"));
        QTest::keyClick(flik->txtInnertia, Qt::Key_Tab);
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(f.g.sngInnertia, 10.05);
        for (const QString& fel :
             {QStringLiteral("11"), QStringLiteral("10"), QStringLiteral("11,5"), QString()}) {
            f.m.tom();
            flik->txtInnertia->setFocus();
            flik->txtInnertia->setText(fel);
            QTest::keyClick(flik->txtInnertia, Qt::Key_Tab);
            QCOMPARE(f.m.senasteText(),
                     QStringLiteral("Du får bara skriva ett värde mellan 10,1 och 10,9 på innertian!"));
            QCOMPARE(f.m.visade.back().titel, QStringLiteral("Fel inmatat"));
            QCOMPARE(flik->txtInnertia->text(), QString());
            QTRY_VERIFY(flik->txtInnertia->hasFocus());
        }
        QCOMPARE(f.g.sngInnertia, 10.05);
        // Leaving the tab is left to the form's close check.
        f.m.tom();
        utanfor->setFocus();
        QVERIFY(utanfor->hasFocus());
        QVERIFY(f.m.visade.isEmpty());
    }

    void flikensTest() {
        Testfixtur f;
        Kabel kabel;
        Maskin maskin(kabel.tolk);
        maskin.svar[0x05] = "\x15";
        QVERIFY(f.g.iniProgram.WriteKey(SerieportarSektion, QStringLiteral("COM4"), kabel.pc));
        FlikTolkmaskin flik(f.kontext, nullptr, korta());
        flik.chkTolkmGrund->click();
        flik.txtComport->setText(QStringLiteral("4"));
        QSignalSpy klar(flik.comTolkmaskinTest, &Tolkmaskinstest::klar);

        flik.cmdTestaKomm->click();
        QVERIFY(!flik.cmdTestaKomm->isEnabled());
        QVERIFY(QApplication::overrideCursor());
        QVERIFY(klar.wait(10000));
        QVERIFY(flik.cmdTestaKomm->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(f.m.senasteText(), QStringLiteral("Kommunikationen med tolkmaskinen fungerar!"));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Kommunikation OK"));
        QCOMPARE(f.m.visade.back().ikon, Ikon::Information);
        QVERIFY(slappt(*flik.comTolkmaskinTest, kabel.pc));

        // The form closes mid-test: no verdict, port let go.
        f.m.tom();
        maskin.svar.clear();
        maskin.mottaget.clear();
        flik.cmdTestaKomm->click();
        QTRY_VERIFY(maskin.mottaget.endsWith('\x05'));
        flik.avbrytTest();
        QVERIFY(flik.cmdTestaKomm->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(slappt(*flik.comTolkmaskinTest, kabel.pc));
        QTest::qWait(2 * int(korta().timeout.count()));
        QVERIFY(f.m.visade.isEmpty());

        // A port that is not there: the message, and the button back.
        flik.txtComport->setText(QStringLiteral("0"));
        flik.cmdTestaKomm->click();
        QCOMPARE(f.m.senasteText(), Saknas);
        QVERIFY(flik.cmdTestaKomm->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }

    void flikensAutoRakningFel() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Nationellt, 10, 1, 2);
        f.g.iniTavling.setPath(f.t.fil(QStringLiteral("saknas/Cup.ini")));
        FlikTolkmaskin flik(f.kontext);
        flik.cmdAuto1098->click();
        QVERIFY2(f.m.senasteText().startsWith(QStringLiteral("frmInställningar, cmdAuto1098_Click: 75 ")),
                 qPrintable(f.m.senasteText()));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Fel"));
    }
};

QTEST_MAIN(TestTolkmaskinstest)
#include "test_tolkmaskinstest.moc"
