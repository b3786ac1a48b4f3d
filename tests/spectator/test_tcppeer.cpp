#include "Askadarstod.h"
#include "shell/modGlobalt.h"
#include "spectator/TcpPeer.h"
#include "support/TestMeddelanden.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <memory>

#include <netinet/tcp.h>

// The spectator display is played by a plain TCP client on loopback; the server
// is kept on loopback too.
namespace {
quint16 ledigPort() {
    return Testfixtur::ledigPort();
}

int heltalsval(int fd, int niva, int namn) {
    int v = -1;
    socklen_t langd = sizeof v;
    if (::getsockopt(fd, niva, namn, &v, &langd) != 0)
        return -1;
    return v;
}

// A connected display; fails the test when the server does not take it.
std::unique_ptr<QTcpSocket> anslutKlient(quint16 port) {
    auto k = std::make_unique<QTcpSocket>();
    k->connectToHost(Loopback, port);
    if (!k->waitForConnected(10000))
        return nullptr;
    return k;
}

// Waits for `antal` bytes at the display and returns them. The server shares
// this thread, so the wait must keep the event loop running.
QByteArray tagEmot(QTcpSocket& k, qsizetype antal) {
    QSignalSpy nytt(&k, &QTcpSocket::readyRead);
    QByteArray data = k.readAll();
    while (data.size() < antal && nytt.wait(10000))
        data += k.readAll();
    return data;
}
} // namespace

class TestTcpPeer : public QObject {
    Q_OBJECT

    std::unique_ptr<modGlobalt> pg;
    TestMeddelanden medd;
    std::unique_ptr<TcpPeer> peer;
    quint16 port = 0;

    void startaServer() {
        port = ledigPort();
        QVERIFY(port != 0);
        peer = std::make_unique<TcpPeer>(*pg, port, Loopback);
        QCOMPARE(peer->State(), TcpPeer::Stangd);
        peer->Starta_winsock_tcp(medd);
        QVERIFY(medd.visade.isEmpty());
        QCOMPARE(peer->State(), TcpPeer::Lyssnar);
        QCOMPARE(peer->LocalPort(), port);
    }

private slots:
    void init() {
        pg = std::make_unique<modGlobalt>();
        medd.tom();
        startaServer();
    }
    void cleanup() {
        peer.reset();
        pg.reset();
    }

    // One display at a time: a second is refused straight away while the first
    // stays connected and keeps receiving; what the display sends is dropped.
    void enKlientAccepterasAndraNekas() {
        QSignalSpy ansluten(peer.get(), &TcpPeer::klientAnsluten);
        auto forsta = anslutKlient(port);
        QVERIFY(forsta);
        QVERIFY(ansluten.wait());
        QCOMPARE(peer->State(), TcpPeer::Ansluten);

        QTcpSocket andra;
        QSignalSpy andraAnslot(&andra, &QTcpSocket::connected);
        QSignalSpy andraFel(&andra, &QTcpSocket::errorOccurred);
        andra.connectToHost(Loopback, port);
        QVERIFY(andraFel.wait());
        QCOMPARE(andra.state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(andraAnslot.count(), 0);

        QByteArray skrap(70000, '\0');
        for (qsizetype i = 0; i < skrap.size(); ++i)
            skrap[i] = static_cast<char>(i * 31);
        forsta->write(skrap);
        forsta->write("|||\r\n\r\nSkjutlag 4\r\n");
        QTRY_COMPARE(forsta->bytesToWrite(), 0);

        QVERIFY(peer->SendData(QStringLiteral("Cup|Sport| |1|1\r\n")));
        QCOMPARE(tagEmot(*forsta, 17), QByteArray("Cup|Sport| |1|1\r\n"));
        QCOMPARE(peer->State(), TcpPeer::Ansluten);
        QCOMPARE(forsta->state(), QAbstractSocket::ConnectedState);
        QCOMPARE(ansluten.count(), 1);
        QCOMPARE(pg->intAntalTCPFel, 0);
    }

    // The display leaving puts the server back to listening, forgets what the
    // screen showed and lets the next display in; hanging up is not an error.
    void klientLamnarOchNastaAccepteras() {
        QSignalSpy ansluten(peer.get(), &TcpPeer::klientAnsluten);
        QSignalSpy frankopplad(peer.get(), &TcpPeer::klientFrankopplad);
        QSignalSpy fel(peer.get(), &TcpPeer::socketfel);

        auto forsta = anslutKlient(port);
        QVERIFY(forsta);
        QVERIFY(ansluten.wait());
        pg->intSkjutlagPaSkarm = 4;
        forsta->disconnectFromHost();
        QVERIFY(frankopplad.wait());
        QCOMPARE(peer->State(), TcpPeer::Lyssnar);
        QCOMPARE(pg->intSkjutlagPaSkarm, 0);

        // One that hangs up hard, with data still unread, counts as leaving too.
        auto andra = anslutKlient(port);
        QVERIFY(andra);
        andra->setReadBufferSize(1);
        QTRY_COMPARE(ansluten.count(), 2);
        QVERIFY(peer->SendData(QStringLiteral("olast")));
        QTRY_VERIFY(andra->bytesAvailable() > 0);
        andra->abort();
        QTRY_COMPARE(frankopplad.count(), 2);
        QCOMPARE(peer->State(), TcpPeer::Lyssnar);

        auto tredje = anslutKlient(port);
        QVERIFY(tredje);
        QTRY_COMPARE(ansluten.count(), 3);
        QCOMPARE(peer->State(), TcpPeer::Ansluten);
        QCOMPARE(fel.count(), 0);
        QCOMPARE(pg->intAntalTCPFel, 0);
        QVERIFY(pg->strSenasteTCPFel.isEmpty());
    }

    // Opening another competition starts the listener again; that must leave a
    // listening server and a connected display exactly as they were.
    // A socket error other than the display hanging up is counted once, the
    // display is let go, and the server listens again for the next display.
    void socketfelRaknasOchServernLyssnarIgen() {
        QSignalSpy ansluten(peer.get(), &TcpPeer::klientAnsluten);
        QSignalSpy fel(peer.get(), &TcpPeer::socketfel);
        auto forsta = anslutKlient(port);
        QVERIFY(forsta);
        QVERIFY(ansluten.wait());
        pg->intSkjutlagPaSkarm = 3;
        auto* serversidan = peer->findChild<QTcpSocket*>();
        QVERIFY(serversidan);
        emit serversidan->errorOccurred(QAbstractSocket::NetworkError);
        QTRY_COMPARE(fel.count(), 1);
        QCOMPARE(fel.back().at(0).toInt(), TcpPeer::FelNatverketNere);
        QCOMPARE(pg->intAntalTCPFel, 1);
        QCOMPARE(pg->strSenasteTCPFel, QStringLiteral("10050, Nätverket är inte tillgängligt"));
        QCOMPARE(pg->intSkjutlagPaSkarm, 0);
        QCOMPARE(peer->State(), TcpPeer::Lyssnar);
        QTRY_COMPARE(forsta->state(), QAbstractSocket::UnconnectedState);

        auto andra = anslutKlient(port);
        QVERIFY(andra);
        QTRY_COMPARE(ansluten.count(), 2);
        QCOMPARE(peer->State(), TcpPeer::Ansluten);
        QVERIFY(peer->SendData(QStringLiteral("Skjutlag 1\r\n")));
        QCOMPARE(tagEmot(*andra, 12), QByteArray("Skjutlag 1\r\n"));
        QCOMPARE(pg->intAntalTCPFel, 1);
    }

    void startaIgenAndrarIngenting() {
        peer->Starta_winsock_tcp(medd);
        QCOMPARE(peer->State(), TcpPeer::Lyssnar);

        QSignalSpy ansluten(peer.get(), &TcpPeer::klientAnsluten);
        auto klient = anslutKlient(port);
        QVERIFY(klient);
        QVERIFY(ansluten.wait());
        QSignalSpy nedkopplad(klient.get(), &QTcpSocket::disconnected);
        peer->Starta_winsock_tcp(medd);
        QCOMPARE(peer->State(), TcpPeer::Ansluten);

        QVERIFY(peer->SendData(QStringLiteral("kvar\r\n")));
        QCOMPARE(tagEmot(*klient, 6), QByteArray("kvar\r\n"));
        QCOMPARE(nedkopplad.count(), 0);
        QVERIFY(medd.visade.isEmpty());
        QVERIFY(!pg->blnTCPStartFel);
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
        QCOMPARE(pg->intAntalTCPFel, 0);

        upptagen.close();
        peer->Starta_winsock_tcp(medd);
        QCOMPARE(medd.visade.size(), 1);
        QCOMPARE(peer->State(), TcpPeer::Lyssnar);
    }

    // Stopping cuts off the display and stops listening until started again.
    void closeStangerBada() {
        QSignalSpy ansluten(peer.get(), &TcpPeer::klientAnsluten);
        QSignalSpy frankopplad(peer.get(), &TcpPeer::klientFrankopplad);
        auto klient = anslutKlient(port);
        QVERIFY(klient);
        QVERIFY(ansluten.wait());
        QVERIFY(peer->SendData(QStringLiteral("sista\r\n")));

        peer->Close();
        QCOMPARE(peer->State(), TcpPeer::Stangd);
        QVERIFY(!peer->SendData(QStringLiteral("bort")));
        // What was handed over before the stop still arrives, then the line closes.
        QCOMPARE(tagEmot(*klient, 7), QByteArray("sista\r\n"));
        QTRY_COMPARE(klient->state(), QAbstractSocket::UnconnectedState);

        QTcpSocket ny;
        QSignalSpy nyFel(&ny, &QTcpSocket::errorOccurred);
        ny.connectToHost(Loopback, port);
        QVERIFY(nyFel.wait());
        QCOMPARE(nyFel.at(0).at(0).value<QAbstractSocket::SocketError>(),
                 QAbstractSocket::ConnectionRefusedError);

        peer->Close();
        QCOMPARE(peer->State(), TcpPeer::Stangd);
        QCOMPARE(frankopplad.count(), 0);
        peer->Starta_winsock_tcp(medd);
        QCOMPARE(peer->State(), TcpPeer::Lyssnar);
        QVERIFY(medd.visade.isEmpty());
    }

    // The display program reads one byte per character in the Windows code page.
    void textSkickasSomAnsi() {
        QVERIFY(!peer->SendData(QStringLiteral("ingen ansluten")));

        QSignalSpy ansluten(peer.get(), &TcpPeer::klientAnsluten);
        auto klient = anslutKlient(port);
        QVERIFY(klient);
        QVERIFY(ansluten.wait());
        QVERIFY(peer->SendData(QStringLiteral("Åby SK|Göran Ärlig|€\r\n")));
        QCOMPARE(tagEmot(*klient, 22), QByteArray("\xc5"
                                                  "by SK|G\xf6ran \xc4rlig|\x80\r\n"));
    }

    // The system is asked to notice a vanished display PC within a minute.
    void vaktenPaAnslutningen() {
        QSignalSpy ansluten(peer.get(), &TcpPeer::klientAnsluten);
        auto klient = anslutKlient(port);
        QVERIFY(klient);
        QVERIFY(ansluten.wait());
        auto* serversidan = peer->findChild<QTcpSocket*>();
        QVERIFY(serversidan);
        const int fd = int(serversidan->socketDescriptor());
        QCOMPARE(heltalsval(fd, SOL_SOCKET, SO_KEEPALIVE), 1);
        QCOMPARE(heltalsval(fd, IPPROTO_TCP, TCP_KEEPIDLE), 30);
        QCOMPARE(heltalsval(fd, IPPROTO_TCP, TCP_KEEPINTVL), 10);
        QCOMPARE(heltalsval(fd, IPPROTO_TCP, TCP_KEEPCNT), 3);
        QCOMPARE(heltalsval(fd, IPPROTO_TCP, TCP_USER_TIMEOUT), 60000);
    }

    // A display that stops reading is let go once more than the bound waits for
    // it: counted as an error, the message not sent, the server listening again.
    // What waits never grows past the bound.
    void enDisplaySomInteLaserKlipps() {
        peer.reset();
        TcpPeer::Granser granser;
        granser.maxOskickat = 32 * 1024;
        peer = std::make_unique<TcpPeer>(*pg, port, Loopback, granser);
        peer->Starta_winsock_tcp(medd);
        QSignalSpy ansluten(peer.get(), &TcpPeer::klientAnsluten);
        QSignalSpy fel(peer.get(), &TcpPeer::socketfel);
        HangandeAskadare hangande;
        QVERIFY(hangande.anslut(port));
        QVERIFY(ansluten.wait());
        auto* serversidan = peer->findChild<QTcpSocket*>();
        QVERIFY(serversidan);
        serversidan->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, 4096);

        const QString rad = QString(1000, QLatin1Char('x')) + QStringLiteral("\r\n");
        int skickade = 0;
        qint64 mest = 0;
        QPointer<QTcpSocket> vakt(serversidan);
        while (skickade < 10000 && peer->SendData(rad)) {
            ++skickade;
            if (vakt)
                mest = std::max(mest, vakt->bytesToWrite());
            QCoreApplication::processEvents();
        }
        QVERIFY2(skickade < 10000, "the display was never cut off");
        QVERIFY(mest <= granser.maxOskickat);
        QCOMPARE(fel.count(), 1);
        QCOMPARE(pg->intAntalTCPFel, 1);
        QCOMPARE(pg->strSenasteTCPFel, QStringLiteral("10055, Åskådar-PC:n tar inte emot data"));
        QCOMPARE(peer->State(), TcpPeer::Lyssnar);
        QVERIFY(!peer->SendData(rad));
        QTRY_VERIFY(hangande.aterstalld());

        auto nasta = anslutKlient(port);
        QVERIFY(nasta);
        QTRY_COMPARE(ansluten.count(), 2);
        QVERIFY(peer->SendData(QStringLiteral("igen\r\n")));
        QCOMPARE(tagEmot(*nasta, 6), QByteArray("igen\r\n"));
    }

    // Stopping lets a display take what it was handed, but one that does not take
    // it within the time is cut; so is one still holding data when the server goes.
    void stoppadAnslutningKlippsEfterTiden() {
        for (bool avslut : {false, true}) {
            peer.reset();
            TcpPeer::Granser granser;
            granser.stangningMs = 100;
            peer = std::make_unique<TcpPeer>(*pg, port, Loopback, granser);
            peer->Starta_winsock_tcp(medd);
            QSignalSpy ansluten(peer.get(), &TcpPeer::klientAnsluten);
            HangandeAskadare hangande;
            QVERIFY(hangande.anslut(port));
            QVERIFY(ansluten.wait());
            auto* serversidan = peer->findChild<QTcpSocket*>();
            serversidan->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, 4096);
            const QString block(200 * 1024, QLatin1Char('y'));
            QVERIFY(peer->SendData(block));
            QCoreApplication::processEvents();
            peer->Close();
            QCOMPARE(peer->State(), TcpPeer::Stangd);
            if (avslut)
                peer.reset();
            else
                QTRY_VERIFY(peer->findChildren<QTcpSocket*>().isEmpty());
            QTRY_VERIFY(hangande.aterstalld());
        }
        QCOMPARE(pg->intAntalTCPFel, 0);
    }

    // A display that stops sending but could still read has left; the server
    // takes the next one and counts nothing.
    void halvstangdDisplayArBorta() {
        QSignalSpy ansluten(peer.get(), &TcpPeer::klientAnsluten);
        QSignalSpy frankopplad(peer.get(), &TcpPeer::klientFrankopplad);
        HangandeAskadare halv;
        QVERIFY(halv.anslut(port));
        QVERIFY(ansluten.wait());
        halv.halvstang();
        QVERIFY(frankopplad.wait());
        QCOMPARE(peer->State(), TcpPeer::Lyssnar);
        QCOMPARE(pg->intAntalTCPFel, 0);
        auto nasta = anslutKlient(port);
        QVERIFY(nasta);
        QTRY_COMPARE(ansluten.count(), 2);
    }

    // While a display is connected nothing listens, so another program may take
    // the port; then the server cannot listen again when the display leaves, and
    // that is counted and recorded for the link dialog.
    void lyssnaIgenMisslyckasRaknas() {
        QSignalSpy ansluten(peer.get(), &TcpPeer::klientAnsluten);
        QSignalSpy frankopplad(peer.get(), &TcpPeer::klientFrankopplad);
        auto klient = anslutKlient(port);
        QVERIFY(klient);
        QVERIFY(ansluten.wait());
        QTcpServer inkrakare;
        QVERIFY(inkrakare.listen(Loopback, port));
        klient->disconnectFromHost();
        QVERIFY(frankopplad.wait());
        QCOMPARE(peer->State(), TcpPeer::Stangd);
        QCOMPARE(pg->intAntalTCPFel, 1);
        QCOMPARE(pg->strSenasteTCPFel, QStringLiteral("10048, Adressen används redan"));
        inkrakare.close();
        peer->Starta_winsock_tcp(medd);
        QCOMPARE(peer->State(), TcpPeer::Lyssnar);
    }

    // The error count stops at the largest number the dialog shows.
    void felraknarenSlarInteOm() {
        pg->intAntalTCPFel = 32766;
        peer->raknaFel(QStringLiteral("1"));
        peer->raknaFel(QStringLiteral("2"));
        QCOMPARE(pg->intAntalTCPFel, 32767);
        QCOMPARE(pg->strSenasteTCPFel, QStringLiteral("2"));
    }

    void statustexter() {
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
