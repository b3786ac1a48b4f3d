#pragma once

// What the spectator tests share: a display on loopback (a plain TCP client, or
// a raw socket that never reads), a competition to send from, and a message seam
// whose switch question stays open, as a real box does, until it is answered or
// closed.

#include "common/IniNamn.h"
#include "shell/modGlobalt.h"
#include "spectator/Askadarflode.h"
#include "spectator/Meddelandedelare.h"
#include "support/Testfixtur.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

inline const QHostAddress Loopback(QHostAddress::LocalHost);

// A display that reads everything it is sent.
class Askadare {
public:
    Askadare() {
        QObject::connect(&s, &QTcpSocket::readyRead, [this] {
            const QByteArray nytt = s.readAll();
            data += nytt;
            hela += m_delare.lagg(nytt);
        });
    }
    bool anslut(quint16 port) {
        s.connectToHost(Loopback, port);
        return s.waitForConnected(10000);
    }
    // Waits, with the event loop running (the server shares this thread), until
    // at least antal bytes have come; returns all that came.
    QByteArray tagEmot(qsizetype antal) {
        QSignalSpy nytt(&s, &QTcpSocket::readyRead);
        while (data.size() < antal && nytt.wait(10000)) {
        }
        return data;
    }
    // Waits until antal messages have begun with a whole header line.
    bool vantaPaMeddelanden(int antal) {
        QSignalSpy nytt(&s, &QTcpSocket::readyRead);
        while (meddelanden().size() < antal)
            if (!nytt.wait(10000))
                return false;
        return true;
    }
    // The messages so far, the last one as far as it has come.
    QList<QByteArray> meddelanden() const {
        QList<QByteArray> alla = hela;
        if (!m_delare.pagaende().isEmpty())
            alla << m_delare.pagaende();
        return alla;
    }
    // The redraw flags of the messages so far, "1" or "0" each.
    QByteArray omritningar() const {
        QByteArray flaggor;
        const auto alla = meddelanden();
        for (const QByteArray& m : alla)
            flaggor += m.left(m.indexOf("\r\n")).split('|').value(4);
        return flaggor;
    }

    QTcpSocket s;
    QByteArray data;
    QList<QByteArray> hela;

private:
    Meddelandedelare m_delare;
};

// A display that connects and never reads a byte: its receive buffer is kept
// small so that the server's writes back up quickly.
class HangandeAskadare {
public:
    explicit HangandeAskadare(int mottagningsbuffert = 4096) {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &mottagningsbuffert, sizeof mottagningsbuffert);
    }
    ~HangandeAskadare() { stang(); }
    bool anslut(quint16 port) {
        sockaddr_in adr{};
        adr.sin_family = AF_INET;
        adr.sin_port = htons(port);
        adr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return ::connect(fd, reinterpret_cast<sockaddr*>(&adr), sizeof adr) == 0;
    }
    // Sends without blocking; the number of bytes the system took.
    qint64 skicka(const QByteArray& data) {
        const ssize_t n = ::send(fd, data.constData(), size_t(data.size()), MSG_DONTWAIT | MSG_NOSIGNAL);
        return n < 0 ? 0 : n;
    }
    // Stops sending but could still read: the server sees the end of the stream.
    void halvstang() { ::shutdown(fd, SHUT_WR); }
    // Whether the server cut the line with a reset (reading what is left, without
    // waiting). The system tells it once; it is remembered.
    bool aterstalld() {
        char buffert[65536];
        while (!m_aterstalld) {
            const ssize_t n = ::recv(fd, buffert, sizeof buffert, MSG_DONTWAIT);
            if (n > 0)
                continue;
            m_aterstalld = n < 0 && errno == ECONNRESET;
            break;
        }
        return m_aterstalld;
    }
    void stang() {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    int fd = -1;

private:
    bool m_aterstalld = false;
};

// The message seam with a switch question that waits in an event loop of its
// own, as a real box does, until the test answers it or the feed closes it. It
// counts how many are open at once.
class VantandeMeddelanden : public TestMeddelanden {
public:
    Svar visa(const QString& text, const QString& titel, Ikon ikon, Knappar knappar) override {
        if (titel != QStringLiteral("Åskådarskärm"))
            return TestMeddelanden::visa(text, titel, ikon, knappar);
        visade.append({text, titel, ikon, knappar});
        ++stallda;
        flestOppna = std::max(flestOppna, ++oppna);
        QEventLoop vanta;
        m_oppna.append(&vanta);
        // A question nobody closes would hang the test; it is counted instead.
        QTimer vakt;
        vakt.setSingleShot(true);
        QObject::connect(&vakt, &QTimer::timeout, &vanta, [&] {
            ++obesvarade;
            vanta.exit(0);
        });
        vakt.start(20000);
        if (vidFraga)
            QTimer::singleShot(0, &vanta, vidFraga);
        const int svar = vanta.exec();
        m_oppna.removeOne(&vanta);
        --oppna;
        return svar == 1 ? Svar::Ja : Svar::Nej;
    }
    // Answers the open question (the innermost, if the feed ever opened two).
    void svaraOppen(Svar s) {
        if (!m_oppna.isEmpty())
            m_oppna.back()->exit(s == Svar::Ja ? 1 : 0);
    }
    // The feed closes a question whose display has gone: it answers No.
    bool stangFraga(const QString& text) override {
        if (m_oppna.isEmpty())
            return false;
        stangda.append(text);
        m_oppna.back()->exit(0);
        return true;
    }

    // Run from inside the wait when a question opens.
    std::function<void()> vidFraga;
    int oppna = 0;
    int flestOppna = 0;
    int stallda = 0;
    int obesvarade = 0;

private:
    QList<QEventLoop*> m_oppna;
};

// A competition and a spectator feed listening on loopback. The feed shows its
// question through `fragor` and closes it there when its display goes.
struct Flodesmiljo : Testfixtur {
    explicit Flodesmiljo(TcpPeer::Granser granser = TcpPeer::Granser(),
                         NyTavling::Typ typ = NyTavling::Typ::Sportskytte, int banor = 2, int skjutlag = 3) {
        databas = skapaTavling(QStringLiteral("Vintercupen"), typ, banor, skjutlag, 0);
        port = ledigPort();
        flode = std::make_unique<Askadarflode>(g, fragor, port, Loopback, granser);
        flode->sattInskrivningsfraga([this] { return inskrivningOppen; });
        flode->tavlingOppnad();
    }
    // The windows over the feed go before it.
    ~Flodesmiljo() {
        fonster.forstorAlla();
        flode.reset();
    }

    // A shooter on a lane of a squad; its Löpnummer.
    qint64 skytt(int skjutlag, int bana, const QString& namn, const QString& efternamn,
                 const QString& forening, const QString& klass, const QVariantMap& resultat = {}) {
        Databas& db = g.cnnTavling;
        // Text columns take no NULL: a name left out is an empty name.
        auto text = [](const QString& t) { return t.isNull() ? QStringLiteral("") : t; };
        db.kor(QStringLiteral("INSERT INTO Skyttar (Namn, Efternamn, Förening, Klass) VALUES (?, ?, ?, ?)"),
               {text(namn), text(efternamn), text(forening), text(klass)});
        const qint64 nr = db.varde(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
        for (auto it = resultat.constBegin(); it != resultat.constEnd(); ++it)
            db.kor(QStringLiteral("UPDATE Skyttar SET %1 = ? WHERE Löpnummer = ?").arg(it.key()),
                   {it.value(), nr});
        db.kor(QStringLiteral("UPDATE Skjutlag SET Startnummer = ? WHERE Skjutlag = ? AND Bana = ?"),
               {nr, skjutlag, bana});
        return nr;
    }
    void allaBanor(const QString& varde) {
        QVERIFY(g.iniTavling.WriteKey(Ini::AllaBanor.sektion, Ini::AllaBanor.nyckel, varde));
    }
    // The display connected and seen by the feed.
    std::unique_ptr<Askadare> anslut() {
        auto a = std::make_unique<Askadare>();
        if (!a->anslut(port))
            return nullptr;
        QSignalSpy ansluten(flode.get(), &Askadarflode::klientAnsluten);
        if (!flode->ansluten() && !ansluten.wait(10000))
            return nullptr;
        return a;
    }

    VantandeMeddelanden fragor;
    QString databas;
    quint16 port = 0;
    std::unique_ptr<Askadarflode> flode;
    // Whether result entry counts as open: the feed asks this in place of the host.
    bool inskrivningOppen = false;
};
