#include "shell/Fonsternamn.h"
#include "spectator/Askadarmenyer.h"
#include "spectator/Registrering.h"
#include "spectator/frmKonfigAskSkarm.h"
#include "support/Askadarstod.h"
#include "support/Widget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

// The Åskådarskärm menu as the link moves, and the two dialogs, over a test
// window host.
class TestAskadarformular : public QObject {
    Q_OBJECT

    // The feed's dialogs and menu side registered as the program registers them.
    struct Miljo : Flodesmiljo {
        Miljo() {
            Askadarskarm::registrera({fonster, *flode});
            // Result entry stands as a flag here, not as a window.
            flode->sattInskrivningsfraga([this] { return inskrivningOppen; });
            // The menus as an open competition has them.
            fonster.sattMeny(Meny::mnuAskadarskarm, true);
        }
        bool pa(Meny meny) const { return fonster.menyPa(meny); }
        frmKonfigAskSkarm* lank() {
            return qobject_cast<frmKonfigAskSkarm*>(fonster.visaFonster(Fonsternamn::KonfigAskSkarm));
        }
        QWidget* skarm() { return fonster.visaFonster(Fonsternamn::VisaAskSkarm); }
        // A window that stands for the registration window.
        void oppnaRegistrering() {
            fonster.registreraFonster(Fonsternamn::InskrivningSkyttar,
                                      [](Formkontext&) { return new QWidget; });
            QVERIFY(fonster.visaFonster(Fonsternamn::InskrivningSkyttar));
        }
    };
    static void klicka(QWidget* form, const char* knapp) {
        QTest::mouseClick(widget<QPushButton>(form, knapp), Qt::LeftButton);
    }

private slots:
    // A missing icon is told under the title every window of the feed shares,
    // and the window opens all the same.
    void saknadIkon_data() {
        QTest::addColumn<bool>("lank");
        QTest::addColumn<QString>("text");
        QTest::newRow("länken") << true << QStringLiteral("frmKonfigÅskSkärm, Form_load: Ikon saknas!");
        QTest::newRow("skärmen") << false << QStringLiteral("frmVisaÅskSkärm, Form_load: Ikon saknas!");
    }
    void saknadIkon() {
        QFETCH(bool, lank);
        QFETCH(QString, text);
        Miljo mj;
        QVERIFY(QDir(mj.g.strProgrammapp + QStringLiteral("/Grafik")).removeRecursively());
        QVERIFY(lank ? static_cast<QWidget*>(mj.lank()) : mj.skarm());
        QCOMPARE(mj.m.visade.size(), 1);
        QCOMPARE(mj.m.senasteText(), text);
        QCOMPARE(mj.m.visade[0].titel, QStringLiteral("Ikon saknas"));
        QCOMPARE(mj.m.visade[0].ikon, Meddelanden::Ikon::Information);
    }

    // "&Visa" follows the display: on when one connects (unless registration or
    // result entry is open), off when it leaves, fails or is stopped.
    void visaFoljerDisplayen() {
        Miljo mj;
        QVERIFY(mj.pa(Meny::mnuKonfigAskSkarm));
        QVERIFY(!mj.pa(Meny::mnuVisaAskSkarm));
        auto a = mj.anslut();
        QVERIFY(a);
        QVERIFY(mj.pa(Meny::mnuVisaAskSkarm));
        QVERIFY(mj.pa(Meny::mnuAskadarskarm) && mj.pa(Meny::mnuKonfigAskSkarm));
        a->s.disconnectFromHost();
        QTRY_VERIFY(!mj.pa(Meny::mnuVisaAskSkarm));

        // A socket error: the display is let go and "&Visa" goes as after a close.
        a = mj.anslut();
        QVERIFY(a && mj.pa(Meny::mnuVisaAskSkarm));
        auto* server = mj.flode->tcpPeer().findChild<QTcpSocket*>();
        emit server->errorOccurred(QAbstractSocket::NetworkError);
        QTRY_VERIFY(!mj.pa(Meny::mnuVisaAskSkarm));
        QCOMPARE(mj.flode->antalFel(), 1);
        QTRY_COMPARE(a->s.state(), QAbstractSocket::UnconnectedState);

        // While result entry or registration is open a display leaves both items off.
        mj.inskrivningOppen = true;
        mj.fonster.sattMeny(Meny::mnuKonfigAskSkarm, false);
        a = mj.anslut();
        QVERIFY(a);
        QVERIFY(!mj.pa(Meny::mnuVisaAskSkarm) && !mj.pa(Meny::mnuKonfigAskSkarm));
        a->s.disconnectFromHost();
        QTRY_COMPARE(mj.flode->tcpPeer().State(), TcpPeer::Lyssnar);
        mj.inskrivningOppen = false;
        mj.oppnaRegistrering();
        a = mj.anslut();
        QVERIFY(a);
        QVERIFY(!mj.pa(Meny::mnuVisaAskSkarm) && !mj.pa(Meny::mnuKonfigAskSkarm));

        // A network that was down when listening began takes the whole menu.
        mj.g.blnTCPStartFel = true;
        mj.flode->Starta_winsock_tcp();
        QVERIFY(!mj.pa(Meny::mnuAskadarskarm));
    }

    // The link dialog: this PC's name and addresses, the state, the errors, and
    // the two buttons, which follow the link while the dialog is open.
    void lankdialogen() {
        Miljo mj;
        frmKonfigAskSkarm* w = mj.lank();
        QVERIFY(w);
        QVERIFY2(mj.m.visade.isEmpty(), qPrintable(mj.m.senasteText())); // its icon is there
        auto* datornamn = widget<QLineEdit>(w, "txtDatornamn");
        auto* ip = widget<QLineEdit>(w, "txtIPNummer");
        QCOMPARE(datornamn->text(), QSysInfo::machineHostName());
        QVERIFY(!datornamn->isEnabled() && !ip->isEnabled());
        QVERIFY(ip->text().startsWith(TcpPeer::LocalIP()));
        auto* status = widget<QLabel>(w, "lblStatusTCP2");
        auto* antalFel = widget<QLabel>(w, "lblAntalFel");
        auto* starta = widget<QPushButton>(w, "cmdStartaTCP");
        auto* stoppa = widget<QPushButton>(w, "cmdStoppaTCP");
        const auto lage = [&](const char* text, bool igang) {
            QCOMPARE(status->text(), QString::fromUtf8(text));
            QCOMPARE(w->Status_TCP(), status->text());
            QVERIFY(starta->isEnabled() != igang && stoppa->isEnabled() == igang);
        };
        lage("2, Väntar på anslutning", true);
        QCOMPARE(widget<QLabel>(w, "lblTCPErrorDesc")->text(), QString());
        QCOMPARE(antalFel->text(), QStringLiteral("Antal fel: 0"));

        auto a = mj.anslut();
        QVERIFY(a);
        lage("7, Ansluten", true);
        // An error while the dialog is open shows at once.
        emit mj.flode->tcpPeer().findChild<QTcpSocket*>()->errorOccurred(QAbstractSocket::SocketTimeoutError);
        QTRY_COMPARE(antalFel->text(), QStringLiteral("Antal fel: 1"));
        QCOMPARE(widget<QLabel>(w, "lblTCPErrorDesc")->text(),
                 QStringLiteral("10060, Tidsgränsen för anslutningen överskreds"));
        lage("2, Väntar på anslutning", true);

        a = mj.anslut();
        QVERIFY(a);
        mj.g.intSkjutlagPaSkarm = 2;
        QTest::mouseClick(stoppa, Qt::LeftButton);
        lage("0, Anslutningen är stängd", false);
        QVERIFY(!mj.pa(Meny::mnuVisaAskSkarm));
        QCOMPARE(mj.g.intSkjutlagPaSkarm, 0);
        QTRY_COMPARE(a->s.state(), QAbstractSocket::UnconnectedState);
        QTest::mouseClick(starta, Qt::LeftButton);
        lage("2, Väntar på anslutning", true);

        QPointer<frmKonfigAskSkarm> vakt(w);
        QTest::mouseClick(widget<QPushButton>(w, "cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(!vakt);
        QVERIFY(!mj.fonster.fonster(Fonsternamn::KonfigAskSkarm));
    }

    // The squad dialog offers the database's three squads, whatever the INI's
    // count says, and picks the one on screen when it still exists, else the
    // first: there is always a squad to send.
    void skjutlagsdialogenValjerEttSkjutlag_data() {
        QTest::addColumn<QString>("antal");
        QTest::addColumn<int>("paSkarm");
        QTest::addColumn<int>("rader");
        QTest::addColumn<QString>("vald");
        QTest::newRow("inget på skärmen") << "3" << 0 << 3 << "1";
        QTest::newRow("tre på skärmen") << "3" << 3 << 3 << "3";
        QTest::newRow("borttaget") << "3" << 5 << 3 << "1";
        QTest::newRow("INI efter") << "2" << 3 << 3 << "3";
        QTest::newRow("saknas") << QString() << 2 << 3 << "2";
        QTest::newRow("skräp") << "många" << 0 << 3 << "1";
    }
    void skjutlagsdialogenValjerEttSkjutlag() {
        QFETCH(QString, antal);
        QFETCH(int, paSkarm);
        QFETCH(int, rader);
        QFETCH(QString, vald);
        Miljo mj;
        if (antal.isNull())
            QVERIFY(mj.g.iniTavling.DeleteKey(Ini::AntalSkjutlag.sektion, Ini::AntalSkjutlag.nyckel));
        else
            QVERIFY(mj.g.iniTavling.WriteKey(Ini::AntalSkjutlag.sektion, Ini::AntalSkjutlag.nyckel, antal));
        mj.g.intSkjutlagPaSkarm = paSkarm;
        QWidget* w = mj.skarm();
        QVERIFY(w);
        QCOMPARE(widget<QComboBox>(w, "cboSkjutlag")->count(), rader);
        QCOMPARE(widget<QComboBox>(w, "cboSkjutlag")->currentText(), vald);
        QVERIFY(widget<QCheckBox>(w, "chkAllaBanor")->isChecked());
        QVERIFY(widget<QRadioButton>(w, "optSkjutlag")->isChecked());
        QVERIFY(!widget<QRadioButton>(w, "optResultatlista")->isEnabled());
        QVERIFY2(mj.m.visade.isEmpty(), qPrintable(mj.m.senasteText()));
    }

    // "&Uppdatera" stores the lane choice and sends the squad with a redraw; the
    // next message from result entry keeps the choice and does not redraw.
    // "&Avbryt" changes nothing. Either way "&Konfigurera" comes back, unless
    // registration or result entry holds it.
    void skjutlagsdialogensKnappar() {
        Miljo mj;
        mj.skytt(3, 1, QStringLiteral("Anna"), QStringLiteral("Ek"), QStringLiteral("SK"),
                 QStringLiteral("H"));
        auto a = mj.anslut();
        QVERIFY(a);
        QVERIFY(mj.flode->visaSkjutlag(3));

        QWidget* w = mj.skarm();
        QVERIFY(!mj.pa(Meny::mnuKonfigAskSkarm));
        QCOMPARE(widget<QComboBox>(w, "cboSkjutlag")->currentText(), QStringLiteral("3"));
        widget<QComboBox>(w, "cboSkjutlag")->setCurrentIndex(0);
        klicka(w, "cmdAvbryt");
        QVERIFY(mj.pa(Meny::mnuKonfigAskSkarm));
        QCOMPARE(mj.g.intSkjutlagPaSkarm, 3);

        klicka(mj.skarm(), "cmdOK"); // unchanged: still sent, with a redraw
        QVERIFY(mj.pa(Meny::mnuKonfigAskSkarm));

        w = mj.skarm();
        widget<QCheckBox>(w, "chkAllaBanor")->setChecked(false);
        klicka(w, "cmdOK");
        QCOMPARE(mj.g.iniTavling.GetKeyValue(Ini::AllaBanor.sektion, Ini::AllaBanor.nyckel, QString()),
                 QStringLiteral("0"));
        QVERIFY(mj.flode->visaSkjutlag(3)); // result entry's next update
        const QByteArray ena = "1|Anna Ek|SK|H|Sport|60|0|0|0|0|0|0|-|-|0|0\r\n";
        const QByteArray fria = "2| |||Sport|0|0|0|0|0|0|0|-|-|0|0\r\n";
        const QList<QByteArray> vantat = {
            "Vintercupen|Sport| |3|1\r\n" + ena + fria, "Vintercupen|Sport| |3|1\r\n" + ena + fria,
            "Vintercupen|Sport| |3|1\r\n" + ena, "Vintercupen|Sport| |3|0\r\n" + ena};
        a->tagEmot(vantat.join().size());
        QCOMPARE(a->meddelanden(), vantat);

        // The display gone while the dialog is open: the choice is stored, nothing
        // is sent, the screen is not taken to show the squad, and the redraw waits.
        w = mj.skarm();
        widget<QCheckBox>(w, "chkAllaBanor")->setChecked(true);
        widget<QComboBox>(w, "cboSkjutlag")->setCurrentIndex(1);
        a->s.disconnectFromHost();
        QTRY_COMPARE(mj.flode->tcpPeer().State(), TcpPeer::Lyssnar);
        mj.inskrivningOppen = true; // result entry opened meanwhile
        klicka(w, "cmdOK");
        QCOMPARE(mj.g.iniTavling.GetKeyValue(Ini::AllaBanor.sektion, Ini::AllaBanor.nyckel, QString()),
                 QStringLiteral("1"));
        QCOMPARE(mj.g.intSkjutlagPaSkarm, 0);
        QVERIFY(mj.flode->omritningBegard());
        QVERIFY(!mj.pa(Meny::mnuKonfigAskSkarm));
        mj.inskrivningOppen = false;

        mj.oppnaRegistrering();
        klicka(mj.skarm(), "cmdAvbryt");
        QVERIFY(!mj.pa(Meny::mnuKonfigAskSkarm));
    }
};

QTEST_MAIN(TestAskadarformular)
#include "test_askadarformular.moc"
