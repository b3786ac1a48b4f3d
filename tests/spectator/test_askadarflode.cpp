#include "platform/Windows1252.h"
#include "shell/Tavling.h"
#include "support/Askadarstod.h"

#include <QProcess>

// The feed's rules with real displays on loopback: what is sent when, the redraw
// flag, the switch question, one display at a time, and displays that misbehave.
class TestAskadarflode : public QObject {
    Q_OBJECT

    using Svar = Meddelanden::Svar;

    // Two squads with a shooter each.
    static void skyttar(Flodesmiljo& f) {
        f.skytt(1, 1, QStringLiteral("Anna"), QStringLiteral("Ek"), QStringLiteral("SK"), QStringLiteral("H"),
                {{QStringLiteral("Sum10"), 90}});
        f.skytt(2, 1, QStringLiteral("Bo"), QStringLiteral("Al"), QStringLiteral("SK"), QStringLiteral("D"));
    }
    static QTcpSocket* serversidan(Flodesmiljo& f) { return f.flode->tcpPeer().findChild<QTcpSocket*>(); }

private slots:
    // Which messages make the display redraw the whole screen: the first of the
    // run, a changed lane choice, "Uppdatera", a new display, a reopened
    // competition; not a squad switch or an ordinary update. Only a message that
    // was sent settles a demand.
    void omritningsfoljd() {
        Flodesmiljo f;
        skyttar(f);
        auto a = f.anslut();
        QVERIFY(a);
        QVERIFY(f.flode->visaSkjutlag(1)); // 1: first of the run
        QVERIFY(f.flode->visaSkjutlag(1)); // 0
        f.allaBanor(QStringLiteral("0"));
        QVERIFY(f.flode->visaSkjutlag(1)); // 1: lanes changed
        QVERIFY(f.flode->visaSkjutlag(1)); // 0
        f.flode->begarOmritning(true);     // "Uppdatera"
        QVERIFY(f.flode->visaSkjutlag(2)); // 1
        f.flode->begarOmritning(false);    // the picker switches squad
        QVERIFY(f.flode->visaSkjutlag(1)); // 0
        f.flode->begarOmritning(true);
        f.g.cnnTavling.Close();
        QVERIFY(!f.flode->visaSkjutlag(1)); // not built: the demand stays
        f.g.cnnTavling.Open(f.databas);
        QVERIFY(f.flode->visaSkjutlag(1)); // 1
        QVERIFY(a->vantaPaMeddelanden(7));
        QCOMPARE(a->omritningar(), QByteArray("1010101"));

        a->s.disconnectFromHost();
        QTRY_COMPARE(f.flode->tcpPeer().State(), TcpPeer::Lyssnar);
        f.flode->begarOmritning(true);
        QVERIFY(!f.flode->visaSkjutlag(1)); // nobody to send to: the demand stays too
        QVERIFY(f.flode->omritningBegard());
        f.flode->begarOmritning(false);
        auto b = f.anslut();
        QVERIFY(b);
        QVERIFY(f.flode->visaSkjutlag(1)); // 1: a new display, whatever was asked
        QVERIFY(f.flode->visaSkjutlag(1)); // 0

        // Reopening clears the last lane choice to 0, which equals "0" here: only
        // the feed's own note of the opening asks for the redraw.
        Tavling::stang(f.g);
        Tavling::sattSokvagar(f.g, f.databas);
        QCOMPARE(Tavling::OppnaTavling(f.g, f.m, false).utfall, Tavling::Utfall::Oppnad);
        f.flode->tavlingOppnad();
        QCOMPARE(f.flode->senastAllaBanor(), 0);
        QVERIFY(f.flode->ansluten());
        QVERIFY(f.flode->visaSkjutlag(1)); // 1
        QVERIFY(f.flode->visaSkjutlag(1)); // 0
        QVERIFY(b->vantaPaMeddelanden(4));
        QCOMPARE(b->omritningar(), QByteArray("1010"));
        QCOMPARE(f.flode->antalFel(), 1); // the build without a database
    }

    // A display that connects while result entry has a squad open is offered it
    // (the question names the squad on screen, 0 for a new display); Yes sends it.
    // While the question is open nobody else may ask: another asker gets No at
    // once.
    void nyDisplayErbjudsSkjutlagetIInskrivningen() {
        Flodesmiljo f;
        skyttar(f);
        f.inskrivningOppen = true;
        f.g.intValtSkjutlag = 2;
        bool inuti = false;
        f.fragor.vidFraga = [&] {
            inuti = f.flode->fragaOppen() && !f.flode->fragaOmByte(1);
            f.fragor.svaraOppen(Svar::Ja);
        };
        auto a = f.anslut();
        QVERIFY(a);
        QVERIFY(a->vantaPaMeddelanden(1));
        QVERIFY(inuti && !f.flode->fragaOppen());
        QCOMPARE(f.fragor.stallda, 1);
        QCOMPARE(f.fragor.flestOppna, 1);
        const auto& fraga = f.fragor.visade.back();
        QCOMPARE(fraga.text, QStringLiteral("Vill du byta till det här skjutlaget på åskådarskärmen?\r\n"
                                            "Aktuellt skjutlag på den är för närvarande: 0"));
        QCOMPARE(fraga.titel, QStringLiteral("Åskådarskärm"));
        QCOMPARE(fraga.ikon, Meddelanden::Ikon::Fraga);
        QCOMPARE(fraga.knappar, Meddelanden::Knappar::JaNej);
        QVERIFY(a->meddelanden().first().startsWith("Vintercupen|Sport| |2|1\r\n"));
        QCOMPARE(f.g.intSkjutlagPaSkarm, 2);

        // No: nothing is sent; nor is anything without a squad in result entry.
        a->s.disconnectFromHost();
        QTRY_COMPARE(f.flode->tcpPeer().State(), TcpPeer::Lyssnar);
        f.fragor.vidFraga = [&] { f.fragor.svaraOppen(Svar::Nej); };
        auto b = f.anslut();
        QVERIFY(b);
        QTRY_COMPARE(f.fragor.stallda, 2);
        QCOMPARE(f.g.intSkjutlagPaSkarm, 0);
        b->s.disconnectFromHost();
        QTRY_COMPARE(f.flode->tcpPeer().State(), TcpPeer::Lyssnar);
        f.g.intValtSkjutlag = 0;
        auto c = f.anslut();
        QVERIFY(c);
        QTest::qWait(50);
        QCOMPARE(f.fragor.stallda, 2);
        QVERIFY(c->data.isEmpty());
    }

    // What result entry does when it opens or switches to a squad.
    void oppnatSkjutlagVisasEllerFragas() {
        Flodesmiljo f;
        skyttar(f);
        QVERIFY(!f.flode->visaOppnatSkjutlag(1)); // no display
        QCOMPARE(f.fragor.stallda, 0);
        auto a = f.anslut();
        QVERIFY(a);
        QVERIFY(f.flode->visaOppnatSkjutlag(2)); // nothing on screen: at once
        QVERIFY(f.flode->visaOppnatSkjutlag(2)); // the same squad: at once
        QCOMPARE(f.fragor.stallda, 0);
        f.fragor.vidFraga = [&] { f.fragor.svaraOppen(Svar::Nej); };
        QVERIFY(!f.flode->visaOppnatSkjutlag(1));
        QCOMPARE(f.fragor.stallda, 1);
        QVERIFY(f.fragor.visade.back().text.endsWith(QStringLiteral("för närvarande: 2")));
        QCOMPARE(f.g.intSkjutlagPaSkarm, 2);
        f.fragor.vidFraga = [&] { f.fragor.svaraOppen(Svar::Ja); };
        QVERIFY(f.flode->visaOppnatSkjutlag(1));
        QCOMPARE(f.g.intSkjutlagPaSkarm, 1);
        QVERIFY(a->vantaPaMeddelanden(3));
        QCOMPARE(a->meddelanden().size(), 3);
        QVERIFY(a->meddelanden().last().startsWith("Vintercupen|Sport| |1|0\r\n"));
    }

    // The question belongs to the display that was there when it was asked: when
    // that display leaves, the feed closes the question through the message
    // seam, and even a Yes that comes after sends nothing.
    void fraganStangsNarDisplayenGar() {
        Flodesmiljo f;
        skyttar(f);
        auto a = f.anslut();
        QVERIFY(a);
        QVERIFY(f.flode->visaSkjutlag(2));
        f.fragor.vidFraga = [&] {
            a->s.abort();
            (void)QTest::qWaitFor([&] { return !f.fragor.stangda.isEmpty(); });
            f.fragor.svaraOppen(Svar::Ja);
        };
        QVERIFY(!f.flode->visaOppnatSkjutlag(1));
        QCOMPARE(f.fragor.stallda, 1);
        QCOMPARE(f.fragor.visade.back().titel, QStringLiteral("Åskådarskärm"));
        QCOMPARE(f.fragor.stangda, QStringList{Askadarflode::bytesfraga(2)});
        QCOMPARE(f.fragor.obesvarade, 0);
        QVERIFY(!f.flode->ansluten() && !f.flode->fragaOppen());
        QCOMPARE(f.g.intSkjutlagPaSkarm, 0);
        QCOMPARE(f.flode->antalFel(), 0);
    }

    // Displays that come and go while result entry has a squad open, one of
    // them half closed: never more than one question, each closed with its
    // display, nothing counted; then a display that stays is offered the squad
    // and gets it.
    void tvahundraAnslutningarSomKommerOchGar() {
        Flodesmiljo f;
        skyttar(f);
        f.inskrivningOppen = true;
        f.g.intValtSkjutlag = 2;
        std::unique_ptr<QTcpSocket> klient;
        f.fragor.vidFraga = [&] {
            if (klient)
                klient->abort();
        };
        for (int i = 0; i < 200; ++i) {
            klient = std::make_unique<QTcpSocket>();
            klient->connectToHost(Loopback, f.port);
            QVERIFY(klient->waitForConnected(10000));
            const int fore = f.fragor.stallda;
            if (i % 2 == 0)
                klient->abort(); // gone before anything is asked, or while it is
            else
                QTRY_VERIFY(f.fragor.stallda > fore);
            QTRY_COMPARE(f.flode->tcpPeer().State(), TcpPeer::Lyssnar);
        }
        klient.reset();
        QVERIFY(f.fragor.stallda >= 100);
        QCOMPARE(f.fragor.flestOppna, 1);
        QCOMPARE(f.fragor.obesvarade, 0);
        QVERIFY(!f.flode->fragaOppen());
        QCOMPARE(f.flode->antalFel(), 0);
        QCOMPARE(f.g.intSkjutlagPaSkarm, 0);

        // One that stops sending without leaving (half closed) is gone too.
        HangandeAskadare halv;
        f.fragor.vidFraga = [&] { halv.halvstang(); };
        const int fore = f.fragor.stallda;
        QVERIFY(halv.anslut(f.port));
        QTRY_COMPARE(f.fragor.stallda, fore + 1);
        QTRY_COMPARE(f.flode->tcpPeer().State(), TcpPeer::Lyssnar);
        QVERIFY(!f.flode->fragaOppen());
        QCOMPARE(f.fragor.obesvarade, 0);
        QCOMPARE(f.flode->antalFel(), 0);

        // Result entry saves at once, and the next display is served.
        f.g.cnnTavling.kor(QStringLiteral("UPDATE Skyttar SET Sum10 = 77 WHERE Namn = 'Bo'"));
        f.fragor.vidFraga = [&] { f.fragor.svaraOppen(Svar::Ja); };
        auto a = f.anslut();
        QVERIFY(a);
        QVERIFY(a->vantaPaMeddelanden(1));
        QVERIFY(a->tagEmot(60).contains("|2|1\r\n1|Bo Al|SK|D|Sport|40|77|"));
    }

    // A display that arrives while the question for the one before is still
    // closing is asked in its turn, once.
    void displaySomKommerUnderFraganFragasSen() {
        Flodesmiljo f;
        skyttar(f);
        f.inskrivningOppen = true;
        f.g.intValtSkjutlag = 1;
        auto a = std::make_unique<Askadare>();
        Askadare b;
        bool bAnslot = false;
        QObject::connect(f.flode.get(), &Askadarflode::anslutningSlut, &b.s, [&] {
            if (!bAnslot)
                bAnslot = b.anslut(f.port);
        });
        f.fragor.vidFraga = [&] {
            if (f.fragor.stallda == 1)
                a->s.abort();
            else
                f.fragor.svaraOppen(Svar::Ja);
        };
        QVERIFY(a->anslut(f.port));
        QVERIFY(b.vantaPaMeddelanden(1));
        QVERIFY(bAnslot);
        QCOMPARE(f.fragor.stallda, 2);
        QCOMPARE(f.fragor.flestOppna, 1);
        QCOMPARE(f.g.intSkjutlagPaSkarm, 1);
        QTest::qWait(20);
        QCOMPARE(f.fragor.stallda, 2);
    }

    // One display at a time: a second is refused while the first is there and
    // taken once it has left; hanging up is no error; what a display sends, even
    // when it looks like messages, is dropped.
    void enDisplayITagetOchDetDenSkickarSlangs() {
        Flodesmiljo f;
        skyttar(f);
        auto a = f.anslut();
        QVERIFY(a);
        QTcpSocket andra;
        QSignalSpy andraFel(&andra, &QTcpSocket::errorOccurred);
        andra.connectToHost(Loopback, f.port);
        QVERIFY(andraFel.wait());
        QCOMPARE(andraFel.first().first().value<QAbstractSocket::SocketError>(),
                 QAbstractSocket::ConnectionRefusedError);

        QByteArray skrap(64 * 1024, '\0');
        for (qsizetype i = 0; i < skrap.size(); ++i)
            skrap[i] = static_cast<char>((i * 7919) >> 3);
        a->s.write(skrap);
        a->s.write("Vintercupen|Sport| |9|1\r\n1|x|y|z|Sport|0|0|0|0|0|0|0|-|-|0|0\r\n");
        QTRY_COMPARE(a->s.bytesToWrite(), 0);
        QTest::qWait(20);
        QVERIFY(f.flode->visaSkjutlag(1));
        QVERIFY(a->vantaPaMeddelanden(1));
        QCOMPARE(a->meddelanden().size(), 1);
        QCOMPARE(f.g.intSkjutlagPaSkarm, 1);

        QSignalSpy slut(f.flode.get(), &Askadarflode::anslutningSlut);
        a->s.disconnectFromHost();
        QVERIFY(slut.wait());
        QCOMPARE(f.g.intSkjutlagPaSkarm, 0);
        auto b = f.anslut();
        QVERIFY(b);
        QVERIFY(f.flode->visaSkjutlag(1));
        QVERIFY(b->vantaPaMeddelanden(1));
        QCOMPARE(f.flode->antalFel(), 0);
        QVERIFY(f.flode->senasteFel().isEmpty());
    }

    // A display that floods us with 10 MB and reads nothing: everything it sends
    // is read in bounded pieces and dropped while squads are still sent; nothing
    // is counted, and after it the next display is served.
    void flodFranEnDisplaySomInteLaser() {
        Flodesmiljo f;
        skyttar(f);
        HangandeAskadare flod;
        QVERIFY(flod.anslut(f.port));
        QTRY_VERIFY(f.flode->ansluten());
        QPointer<QTcpSocket> server(serversidan(f));
        QVERIFY(server);
        const QByteArray bit(64 * 1024, 'z');
        const qint64 mal = 10 * 1024 * 1024;
        qint64 skickat = 0, mestOlast = 0;
        int skickadeSkjutlag = 0;
        for (int varv = 0; skickat < mal && varv < 1000000; ++varv) {
            const qint64 fore = skickat;
            skickat += flod.skicka(bit);
            if (fore / (1024 * 1024) != skickat / (1024 * 1024))
                skickadeSkjutlag += f.flode->visaSkjutlag(1) ? 1 : 0;
            QCoreApplication::processEvents();
            if (server)
                mestOlast = std::max(mestOlast, server->bytesAvailable());
        }
        QVERIFY(skickat >= mal);
        QVERIFY(mestOlast <= TcpPeer::Granser().lasbuffert);
        QCOMPARE(skickadeSkjutlag, 10);
        QVERIFY(f.flode->ansluten());
        QCOMPARE(f.flode->antalFel(), 0);

        flod.stang();
        QTRY_COMPARE(f.flode->tcpPeer().State(), TcpPeer::Lyssnar);
        auto a = f.anslut();
        QVERIFY(a);
        QVERIFY(f.flode->visaSkjutlag(2));
        QVERIFY(a->vantaPaMeddelanden(1));
        QCOMPARE(f.flode->antalFel(), 0);
    }

    // A display that connects and never reads while a thousand squads are sent is
    // cut off at the bound, never holding more than that; the error is recorded;
    // result entry goes on, and the next display gets the next message.
    void tusenMeddelandenTillEnSomInteLaser() {
        TcpPeer::Granser granser;
        granser.maxOskickat = 64 * 1024;
        Flodesmiljo f(granser, NyTavling::Typ::Sportskytte, 10, 2);
        for (int bana = 1; bana <= 10; ++bana)
            f.skytt(1, bana, QStringLiteral("Namn%1").arg(bana), QStringLiteral("Efternamn"),
                    QStringLiteral("Föreningen"), QStringLiteral("H"),
                    {{QStringLiteral("Sum10"), 80 + bana}});
        HangandeAskadare hangande;
        QVERIFY(hangande.anslut(f.port));
        QTRY_VERIFY(f.flode->ansluten());
        QPointer<QTcpSocket> server(serversidan(f));
        server->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, 4096);
        QSignalSpy slut(f.flode.get(), &Askadarflode::anslutningSlut);
        int skickade = 0;
        qint64 mestVantande = 0;
        for (int i = 0; i < 1000; ++i) {
            skickade += f.flode->visaSkjutlag(1) ? 1 : 0;
            if (server)
                mestVantande = std::max(mestVantande, server->bytesToWrite());
            QCoreApplication::processEvents();
        }
        QVERIFY2(skickade < 1000, "the display was never cut off");
        QVERIFY(skickade > 0);
        QVERIFY(mestVantande <= granser.maxOskickat);
        QCOMPARE(slut.count(), 1);
        QCOMPARE(f.flode->antalFel(), 1);
        QCOMPARE(f.flode->senasteFel(), QStringLiteral("10055, Åskådar-PC:n tar inte emot data"));
        QCOMPARE(f.g.intSkjutlagPaSkarm, 0);
        QCOMPARE(f.flode->tcpPeer().State(), TcpPeer::Lyssnar);
        QVERIFY(!f.flode->tcpPeer().SendData(QStringLiteral("x")));
        QTRY_VERIFY(hangande.aterstalld()); // cut, not left to drain

        f.g.cnnTavling.kor(QStringLiteral("UPDATE Skyttar SET Sum10 = 100 WHERE Namn = 'Namn1'"));
        auto a = f.anslut();
        QVERIFY(a);
        QVERIFY(f.flode->visaSkjutlag(1));
        QVERIFY(a->tagEmot(70).startsWith(
            Windows1252::tillBytes(QStringLiteral("Vintercupen|Sport| |1|1\r\n1|Namn1 Efternamn|Föreningen|H|"
                                                  "Sport|60|100|"))));
    }

    // "Stoppa TCP" lets the display go and listens no more; "Starta TCP" listens
    // again; starting while listening or connected changes nothing.
    void stoppaOchStarta() {
        Flodesmiljo f;
        skyttar(f);
        auto a = f.anslut();
        QVERIFY(a);
        QVERIFY(f.flode->visaSkjutlag(1));
        QSignalSpy slut(f.flode.get(), &Askadarflode::anslutningSlut);
        f.flode->Starta_winsock_tcp();
        QVERIFY(f.flode->ansluten());
        f.flode->stoppa();
        QCOMPARE(slut.count(), 1);
        QCOMPARE(f.flode->Status_TCP(), QStringLiteral("0, Anslutningen är stängd"));
        QCOMPARE(f.g.intSkjutlagPaSkarm, 0);
        QVERIFY(a->vantaPaMeddelanden(1)); // what was handed over still arrives
        QTRY_COMPARE(a->s.state(), QAbstractSocket::UnconnectedState);
        QVERIFY(!f.flode->visaSkjutlag(1));
        f.flode->Starta_winsock_tcp();
        QCOMPARE(f.flode->Status_TCP(), QStringLiteral("2, Väntar på anslutning"));
        QVERIFY(f.anslut());
        QCOMPARE(f.flode->Status_TCP(), QStringLiteral("7, Ansluten"));
        QCOMPARE(f.flode->antalFel(), 0);
    }

    // The display client for trying the feed by hand: it says how it is used,
    // and prints each message, decoded, as it arrives.
    void klientprogrammet() {
        QProcess hjalp;
        hjalp.start(QStringLiteral(ASKADARKLIENT), {QStringLiteral("--help")});
        QVERIFY(hjalp.waitForFinished(10000));
        QCOMPARE(hjalp.exitCode(), 0);
        const QByteArray text = hjalp.readAllStandardOutput();
        for (const char* val : {"--host", "--port", "--count", "--pause", "--no-read"})
            QVERIFY2(text.contains(val), text.constData());

        Flodesmiljo f;
        skyttar(f);
        QProcess klient;
        klient.start(QStringLiteral(ASKADARKLIENT),
                     {QStringLiteral("--port"), QString::number(f.port), QStringLiteral("--count"),
                      QStringLiteral("2"), QStringLiteral("--pause"), QStringLiteral("100")});
        QVERIFY(klient.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(f.flode->ansluten(), 10000);
        QVERIFY(f.flode->visaSkjutlag(1));
        QVERIFY(f.flode->visaSkjutlag(2));
        QTRY_COMPARE_WITH_TIMEOUT(klient.state(), QProcess::NotRunning, 10000);
        QCOMPARE(klient.exitCode(), 0);
        const QString ut = QString::fromUtf8(klient.readAllStandardOutput());
        QCOMPARE(ut, QStringLiteral("--- message 1: squad 1, redraw 1, 106 bytes\n"
                                    "Vintercupen|Sport| |1|1\n"
                                    "1|Anna Ek|SK|H|Sport|60|90|0|0|0|0|0|-|-|0|0\n"
                                    "2| |||Sport|0|0|0|0|0|0|0|-|-|0|0\n"
                                    "--- message 2: squad 2, redraw 0, 103 bytes\n"
                                    "Vintercupen|Sport| |2|0\n"
                                    "1|Bo Al|SK|D|Sport|40|0|0|0|0|0|0|-|-|0|0\n"
                                    "2| |||Sport|0|0|0|0|0|0|0|-|-|0|0\n"));
    }
};

QTEST_MAIN(TestAskadarflode)
#include "test_askadarflode.moc"
