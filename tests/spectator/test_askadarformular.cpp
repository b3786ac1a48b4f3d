#include "Askadarstod.h"
#include "shell/Fonsternamn.h"
#include "spectator/Askadarmenyer.h"
#include "spectator/Registrering.h"
#include "spectator/frmKonfigAskSkarm.h"
#include "spectator/frmVisaAskSkarm.h"

#include <QCheckBox>
#include <QComboBox>
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
            // The menus as an open competition has them.
            fonster.sattMeny(Meny::mnuAskadarskarm, true);
        }
        bool pa(Meny meny) const { return fonster.menyPa(meny); }
        frmKonfigAskSkarm* lank() {
            return qobject_cast<frmKonfigAskSkarm*>(fonster.visaFonster(Fonsternamn::KonfigAskSkarm));
        }
        frmVisaAskSkarm* skarm() {
            return qobject_cast<frmVisaAskSkarm*>(fonster.visaFonster(Fonsternamn::VisaAskSkarm));
        }
        // A window that stands for the registration window.
        void oppnaRegistrering() {
            fonster.registreraFonster(Fonsternamn::InskrivningSkyttar,
                                      [](Formkontext&) { return new QWidget; });
            QVERIFY(fonster.visaFonster(Fonsternamn::InskrivningSkyttar));
        }
    };

private slots:
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
        QCOMPARE(mj.g.intAntalTCPFel, 1);
        QTRY_COMPARE(a->s.state(), QAbstractSocket::UnconnectedState);

        // While result entry or registration is open a display leaves both items off.
        mj.g.blnResultatInskrivningOppen = true;
        mj.fonster.sattMeny(Meny::mnuKonfigAskSkarm, false);
        a = mj.anslut();
        QVERIFY(a);
        QVERIFY(!mj.pa(Meny::mnuVisaAskSkarm) && !mj.pa(Meny::mnuKonfigAskSkarm));
        a->s.disconnectFromHost();
        QTRY_COMPARE(mj.flode->tcpPeer().State(), TcpPeer::Lyssnar);
        mj.g.blnResultatInskrivningOppen = false;
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
        QCOMPARE(w->windowTitle(), QStringLiteral("Konfigurera åskådarskärm"));
        QVERIFY2(mj.m.visade.isEmpty(), qPrintable(mj.m.senasteText())); // its icon is there
        QCOMPARE(w->txtDatornamn->text(), QSysInfo::machineHostName());
        QVERIFY(!w->txtDatornamn->isEnabled() && !w->txtIPNummer->isEnabled());
        QVERIFY(w->txtIPNummer->text().startsWith(TcpPeer::LocalIP()));
        QCOMPARE(w->lblStatusTCP2->text(), QStringLiteral("2, Väntar på anslutning"));
        QCOMPARE(w->lblTCPErrorDesc->text(), QString());
        QCOMPARE(w->lblAntalFel->text(), QStringLiteral("Antal fel: 0"));
        QVERIFY(!w->cmdStartaTCP->isEnabled() && w->cmdStoppaTCP->isEnabled());

        auto a = mj.anslut();
        QVERIFY(a);
        QCOMPARE(w->lblStatusTCP2->text(), QStringLiteral("7, Ansluten"));
        QVERIFY(!w->cmdStartaTCP->isEnabled() && w->cmdStoppaTCP->isEnabled());
        QVERIFY(mj.pa(Meny::mnuVisaAskSkarm));

        // An error while the dialog is open shows at once.
        emit mj.flode->tcpPeer().findChild<QTcpSocket*>()->errorOccurred(QAbstractSocket::SocketTimeoutError);
        QTRY_COMPARE(w->lblAntalFel->text(), QStringLiteral("Antal fel: 1"));
        QCOMPARE(w->lblTCPErrorDesc->text(),
                 QStringLiteral("10060, Tidsgränsen för anslutningen överskreds"));
        QCOMPARE(w->lblStatusTCP2->text(), QStringLiteral("2, Väntar på anslutning"));

        a = mj.anslut();
        QVERIFY(a);
        mj.g.intSkjutlagPaSkarm = 2;
        QTest::mouseClick(w->cmdStoppaTCP, Qt::LeftButton);
        QCOMPARE(w->lblStatusTCP2->text(), QStringLiteral("0, Anslutningen är stängd"));
        QVERIFY(w->cmdStartaTCP->isEnabled() && !w->cmdStoppaTCP->isEnabled());
        QVERIFY(!mj.pa(Meny::mnuVisaAskSkarm));
        QCOMPARE(mj.g.intSkjutlagPaSkarm, 0);
        QTRY_COMPARE(a->s.state(), QAbstractSocket::UnconnectedState);

        QTest::mouseClick(w->cmdStartaTCP, Qt::LeftButton);
        QCOMPARE(w->lblStatusTCP2->text(), QStringLiteral("2, Väntar på anslutning"));
        QVERIFY(!w->cmdStartaTCP->isEnabled() && w->cmdStoppaTCP->isEnabled());
        QCOMPARE(w->Status_TCP(), w->lblStatusTCP2->text());

        QPointer<frmKonfigAskSkarm> vakt(w);
        QTest::mouseClick(w->cmdOK, Qt::LeftButton);
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
        frmVisaAskSkarm* w = mj.skarm();
        QVERIFY(w);
        QCOMPARE(w->cboSkjutlag->count(), rader);
        QCOMPARE(w->cboSkjutlag->currentText(), vald);
        QVERIFY(w->chkAllaBanor->isChecked());
        QVERIFY(w->optSkjutlag->isChecked() && !w->optResultatlista->isEnabled());
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

        frmVisaAskSkarm* w = mj.skarm();
        QVERIFY(!mj.pa(Meny::mnuKonfigAskSkarm));
        QCOMPARE(w->cboSkjutlag->currentText(), QStringLiteral("3"));
        w->cboSkjutlag->setCurrentIndex(0);
        QTest::mouseClick(w->cmdAvbryt, Qt::LeftButton);
        QVERIFY(mj.pa(Meny::mnuKonfigAskSkarm));
        QCOMPARE(mj.g.intSkjutlagPaSkarm, 3);

        w = mj.skarm();
        QTest::mouseClick(w->cmdOK, Qt::LeftButton); // unchanged: still sent, with a redraw
        QVERIFY(mj.pa(Meny::mnuKonfigAskSkarm));

        w = mj.skarm();
        w->chkAllaBanor->setChecked(false);
        QTest::mouseClick(w->cmdOK, Qt::LeftButton);
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
        w->chkAllaBanor->setChecked(true);
        w->cboSkjutlag->setCurrentIndex(1);
        a->s.disconnectFromHost();
        QTRY_COMPARE(mj.flode->tcpPeer().State(), TcpPeer::Lyssnar);
        mj.g.blnResultatInskrivningOppen = true; // result entry opened meanwhile
        QTest::mouseClick(w->cmdOK, Qt::LeftButton);
        QCOMPARE(mj.g.iniTavling.GetKeyValue(Ini::AllaBanor.sektion, Ini::AllaBanor.nyckel, QString()),
                 QStringLiteral("1"));
        QCOMPARE(mj.g.intSkjutlagPaSkarm, 0);
        QVERIFY(mj.g.blnTvingaOmritning);
        QVERIFY(!mj.pa(Meny::mnuKonfigAskSkarm));
        mj.g.blnResultatInskrivningOppen = false;

        mj.oppnaRegistrering();
        w = mj.skarm();
        QTest::mouseClick(w->cmdAvbryt, Qt::LeftButton);
        QVERIFY(!mj.pa(Meny::mnuKonfigAskSkarm));
    }

    // The switch question closes as No when its display leaves while it is
    // open: the feed asks the message seam to close it.
    void fraganStangsNarDisplayenGar() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 2, 2, 2);
        Askadarflode flode(f.g, f.m, Testfixtur::ledigPort(), Loopback);
        Askadarskarm::registrera({f.fonster, flode});
        flode.tavlingOppnad();
        Askadare a;
        QVERIFY(a.anslut(flode.tcpPeer().LocalPort()));
        QTRY_VERIFY(flode.ansluten());
        QVERIFY(flode.visaSkjutlag(1));

        const QString fraga = Askadarflode::bytesfraga(1);
        // The operator waits; meanwhile the display goes, and the feed hears it.
        f.m.svaraMed([&] {
            a.s.abort();
            (void)QTest::qWaitFor([&] { return !f.m.stangda.isEmpty(); });
            return Meddelanden::Svar::Ja;
        });
        QVERIFY(!flode.visaOppnatSkjutlag(2));
        QCOMPARE(f.m.visade.size(), 1);
        QCOMPARE(f.m.visade[0].text, fraga);
        QCOMPARE(f.m.visade[0].titel, QStringLiteral("Åskådarskärm"));
        QCOMPARE(f.m.stangda, QStringList{fraga});
        QVERIFY(!flode.fragaOppen());
        QCOMPARE(f.g.intSkjutlagPaSkarm, 0);
    }
};

QTEST_MAIN(TestAskadarformular)
#include "test_askadarformular.moc"
