#include "shell/modGlobalt.h"
#include "spectator/TcpPeer.h"
#include "support/Askadarstod.h"
#include "support/TestMeddelanden.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <memory>

#include <netinet/tcp.h>

// The link itself, with a plain TCP client on loopback as the display. What the
// feed does with it (one display at a time, what it sends, displays that stop
// reading or flood us) is in test_askadarflode.
namespace {
int heltalsval(int fd, int niva, int namn) {
    int v = -1;
    socklen_t langd = sizeof v;
    return ::getsockopt(fd, niva, namn, &v, &langd) == 0 ? v : -1;
}
} // namespace

class TestTcpPeer : public QObject {
    Q_OBJECT

    std::unique_ptr<modGlobalt> pg;
    TestMeddelanden medd;
    std::unique_ptr<TcpPeer> peer;
    quint16 port = 0;

    void starta(TcpPeer::Granser granser = TcpPeer::Granser()) {
        peer = std::make_unique<TcpPeer>(*pg, port, Loopback, granser);
        QCOMPARE(peer->State(), TcpPeer::Stangd);
        peer->Starta_winsock_tcp(medd);
        QVERIFY(medd.visade.isEmpty());
        QCOMPARE(peer->State(), TcpPeer::Lyssnar);
    }
    // A display connected and accepted.
    std::unique_ptr<QTcpSocket> anslut() {
        QSignalSpy ansluten(peer.get(), &TcpPeer::klientAnsluten);
        auto k = std::make_unique<QTcpSocket>();
        k->connectToHost(Loopback, port);
        if (!k->waitForConnected(10000) || !ansluten.wait(10000))
            return nullptr;
        return k;
    }

private slots:
    void init() {
        pg = std::make_unique<modGlobalt>();
        medd.tom();
        port = Testfixtur::ledigPort();
        starta();
    }
    void cleanup() {
        peer.reset();
        pg.reset();
    }

    // The display's connection is watched by the system, so that a vanished
    // display PC is noticed within a minute. A display that hangs up, even hard
    // with data unread, has left: no error, the screen shows nothing known, and
    // the next display is taken. A socket error is counted once with its text,
    // the display is let go, and the server listens for the next one.
    void displayenGarEllerFaller() {
        QVERIFY(!peer->SendData(QStringLiteral("ingen ansluten")));
        QSignalSpy frankopplad(peer.get(), &TcpPeer::klientFrankopplad);
        QSignalSpy fel(peer.get(), &TcpPeer::socketfel);
        auto forsta = anslut();
        QVERIFY(forsta);
        const int fd = int(peer->findChild<QTcpSocket*>()->socketDescriptor());
        QCOMPARE(heltalsval(fd, SOL_SOCKET, SO_KEEPALIVE), 1);
        QCOMPARE(heltalsval(fd, IPPROTO_TCP, TCP_KEEPIDLE), 30);
        QCOMPARE(heltalsval(fd, IPPROTO_TCP, TCP_KEEPINTVL), 10);
        QCOMPARE(heltalsval(fd, IPPROTO_TCP, TCP_KEEPCNT), 3);
        QCOMPARE(heltalsval(fd, IPPROTO_TCP, TCP_USER_TIMEOUT), 60000);

        pg->intSkjutlagPaSkarm = 4;
        forsta->setReadBufferSize(1);
        QVERIFY(peer->SendData(QStringLiteral("olast")));
        QTRY_VERIFY(forsta->bytesAvailable() > 0);
        forsta->abort();
        QVERIFY(frankopplad.wait());
        QCOMPARE(peer->State(), TcpPeer::Lyssnar);
        QCOMPARE(pg->intSkjutlagPaSkarm, 0);

        auto andra = anslut();
        QVERIFY(andra);
        QCOMPARE(peer->State(), TcpPeer::Ansluten);
        QCOMPARE(fel.count(), 0);
        QCOMPARE(peer->antalFel(), 0);
        QVERIFY(peer->senasteFel().isEmpty());

        pg->intSkjutlagPaSkarm = 3;
        emit peer->findChild<QTcpSocket*>()->errorOccurred(QAbstractSocket::NetworkError);
        QTRY_COMPARE(fel.count(), 1);
        QCOMPARE(fel.back().at(0).toInt(), TcpPeer::FelNatverketNere);
        QCOMPARE(peer->antalFel(), 1);
        QCOMPARE(peer->senasteFel(), QStringLiteral("10050, Nätverket är inte tillgängligt"));
        QCOMPARE(pg->intSkjutlagPaSkarm, 0);
        QCOMPARE(peer->State(), TcpPeer::Lyssnar);
        QTRY_COMPARE(andra->state(), QAbstractSocket::UnconnectedState);

        auto tredje = anslut();
        QVERIFY(tredje);
        QVERIFY(peer->SendData(QStringLiteral("Skjutlag 1\r\n")));
        QByteArray fatt;
        QTRY_COMPARE(fatt += tredje->readAll(), QByteArray("Skjutlag 1\r\n"));
        QCOMPARE(frankopplad.count(), 1);
    }

    // A port held by another program is reported, description then number, and
    // is no reason to give up the spectator screen; the next start succeeds.
    void upptagenPortVisasMenStoppar() {
        peer->Close();
        QTcpServer upptagen;
        QVERIFY(upptagen.listen(Loopback, port));
        peer->Starta_winsock_tcp(medd);
        QCOMPARE(medd.visade.size(), 1);
        QCOMPARE(medd.senasteText(),
                 QStringLiteral("modGlobalt Starta_winsock_tcp: Adressen används redan 10048"));
        QCOMPARE(medd.visade.back().titel, QString());
        QCOMPARE(medd.visade.back().ikon, Meddelanden::Ikon::Ingen);
        QCOMPARE(medd.visade.back().knappar, Meddelanden::Knappar::OK);
        QVERIFY(!pg->blnTCPStartFel);
        QCOMPARE(peer->State(), TcpPeer::Stangd);
        QCOMPARE(peer->antalFel(), 0);

        upptagen.close();
        peer->Starta_winsock_tcp(medd);
        QCOMPARE(medd.visade.size(), 1);
        QCOMPARE(peer->State(), TcpPeer::Lyssnar);
    }

    // Stopping lets a display take what it was handed, but one that does not take
    // it within the time is cut; so is one still holding data when the server goes.
    void stoppadAnslutningKlippsEfterTiden() {
        for (bool avslut : {false, true}) {
            peer.reset();
            TcpPeer::Granser granser;
            granser.stangningMs = 100;
            starta(granser);
            QSignalSpy ansluten(peer.get(), &TcpPeer::klientAnsluten);
            HangandeAskadare hangande;
            QVERIFY(hangande.anslut(port));
            QVERIFY(ansluten.wait());
            peer->findChild<QTcpSocket*>()->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption,
                                                            4096);
            QVERIFY(peer->SendData(QString(200 * 1024, QLatin1Char('y'))));
            QCoreApplication::processEvents();
            peer->Close();
            QCOMPARE(peer->State(), TcpPeer::Stangd);
            if (avslut)
                peer.reset();
            else
                QTRY_VERIFY(peer->findChildren<QTcpSocket*>().isEmpty());
            QTRY_VERIFY(hangande.aterstalld());
            if (peer)
                QCOMPARE(peer->antalFel(), 0);
        }
    }

    // While a display is connected nothing listens, so another program may take
    // the port; then the server cannot listen again when the display leaves, and
    // that is counted and recorded for the link dialog.
    void lyssnaIgenMisslyckasRaknas() {
        QSignalSpy frankopplad(peer.get(), &TcpPeer::klientFrankopplad);
        auto klient = anslut();
        QVERIFY(klient);
        QTcpServer inkrakare;
        QVERIFY(inkrakare.listen(Loopback, port));
        klient->disconnectFromHost();
        QVERIFY(frankopplad.wait());
        QCOMPARE(peer->State(), TcpPeer::Stangd);
        QCOMPARE(peer->antalFel(), 1);
        QCOMPARE(peer->senasteFel(), QStringLiteral("10048, Adressen används redan"));
        inkrakare.close();
        peer->Starta_winsock_tcp(medd);
        QCOMPARE(peer->State(), TcpPeer::Lyssnar);
    }

    // The link dialog's texts, and its error count, which stops at the largest
    // number it shows.
    void statustexterOchFelraknare() {
        const QStringList vantat = {"0, Anslutningen är stängd",
                                    "1, Anslutningen är öppen",
                                    "2, Väntar på anslutning",
                                    "3",
                                    "4",
                                    "5",
                                    "6, Ansluter",
                                    "7, Ansluten",
                                    "8, Stänger anslutningen",
                                    "9, Error"};
        for (int i = 0; i < vantat.size(); ++i)
            QCOMPARE(TcpPeer::statustext(i), vantat[i]);
        QCOMPARE(TcpPeer::statustext(10), QString());
        QCOMPARE(TcpPeer::statustext(-1), QString());

        for (int i = 0; i < 32766; ++i)
            peer->raknaFel(QStringLiteral("1"));
        peer->raknaFel(QStringLiteral("1"));
        peer->raknaFel(QStringLiteral("2"));
        QCOMPARE(peer->antalFel(), 32767);
        QCOMPARE(peer->senasteFel(), QStringLiteral("2"));
    }

    // The address shown first is that of the default route's interface, not a
    // bridge of virtual machines that happens to come first.
    void standardvagensGranssnitt() {
        const QByteArray tabell =
            "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
            "virbr0\t007AA8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"
            "wlan0\t00000000\t0101A8C0\t0003\t0\t0\t600\t00000000\t0\t0\t0\n"
            "eth0\t00000000\t0100000A\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
            "eth1\t00000000\t0100000A\t0002\t0\t0\t50\t00000000\t0\t0\t0\n"
            "eth0\t0000000A\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n";
        QCOMPARE(TcpPeer::standardgranssnitt(tabell), QStringLiteral("eth0"));
        QCOMPARE(TcpPeer::standardgranssnitt("Iface\tDestination\n"), QString());
        QCOMPARE(TcpPeer::standardgranssnitt(QByteArray()), QString());
        const QStringList adresser = TcpPeer::LocalIPs();
        QVERIFY(!adresser.isEmpty());
        QCOMPARE(TcpPeer::LocalIP(), adresser.first());
        QVERIFY(adresser.size() == 1 || !QHostAddress(adresser.first()).isLoopback());
    }
};

QTEST_MAIN(TestTcpPeer)
#include "test_tcppeer.moc"
