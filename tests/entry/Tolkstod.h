#pragma once

// What the scoring-machine tests share: the bytes of either model's talk, cards
// and their frames, and the machine at its end of a socat cable.

#include "entry/scoring_machine/Tavelsvar.h"
#include "entry/scoring_machine/Tolklank.h"
#include "platform/Serieport.h"
#include "support/Kabel.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPort>
#include <QTest>
#include <QTimer>
#include <functional>

using Modell = Tavelsvar::Modell;
using namespace std::chrono_literals;

// What the program says to each model, and its "no card".
struct Tal {
    QByteArray start, omstart, poll, kvittens, igen, stopp, ejKlar;
};
inline Tal tal(Modell modell, char decimaler = '0') {
    if (modell == Modell::Rika) {
        const QByteArray s = "\x1BS5\r\x1BT0\r\x1BU1\r\x1BZ" + QByteArray(1, decimaler) + "\r";
        return {"\x0C\xD4" + s, "\x0C" + s, "\x16", "\x0C", "\x08", "\xD0", QByteArray(1, '\0')};
    }
    return {"\xB2\x06", "\x06", "\x05", "\x06", "\x15", "\xB0", "\x15"};
}

inline QString modelltext(Modell modell) {
    return modell == Modell::Rika ? QStringLiteral("RIKA") : QStringLiteral("SAM 4000");
}

// "10.9,10.2,?,9.5,8.0": the decimal values of a card, "?" a missing shot.
inline Tavelsvar::Kort kort(const QString& skott, const QByteArray& typ = "LG", int antal = 5) {
    Tavelsvar::Kort k;
    k.typ = typ;
    k.antal = antal;
    for (const QString& s : skott.split(u',', Qt::SkipEmptyParts))
        k.skott << (s.trimmed() == u'?' ? std::nullopt : std::optional<double>(s.toDouble()));
    return k;
}
inline QByteArray ram(Modell modell, const QString& skott, const QByteArray& typ = "LG", int antal = 5) {
    return Tavelsvar::bygg(modell, kort(skott, typ, antal));
}
// 46, "*+998" at an inner ten of 10.3.
inline const QString GottKort = QStringLiteral("10.9,10.2,9.8,9.5,8.0");

// Where the check character stands from the frame's end.
inline qsizetype kontrollFranSlut(Modell modell) {
    return modell == Modell::Sam4000 ? 2 : 1;
}
// The good card with this check character, by the unread blank at position 2.
inline QByteArray medKontrolltecken(Modell modell, char tecken) {
    QByteArray r = ram(modell, GottKort);
    const qsizetype k = r.size() - kontrollFranSlut(modell);
    r[1] = char(r[1] ^ r[k] ^ tecken);
    r[k] = tecken;
    return r;
}

// Whether this process holds the device open, under any name.
inline bool harOppen(const QString& enhet) {
    const QString mal = QFileInfo(enhet).canonicalFilePath();
    const QFileInfoList fd =
        QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::AllEntries | QDir::System);
    for (const QFileInfo& i : fd)
        if (!mal.isEmpty() && i.symLinkTarget() == mal)
            return true;
    return false;
}

// Short waits, one set; a bound no test means to reach long.
inline Tolklank::Tider korta(std::chrono::milliseconds Tolklank::Tider::*tid = nullptr,
                             std::chrono::milliseconds varde = {}) {
    Tolklank::Tider t;
    t.frekvens = 20ms;
    t.timeout = 60s;
    t.omstart = 20ms;
    t.rikaStartsvar = 60s;
    t.efterRamstart = 60s;
    if (tid)
        t.*tid = varde;
    return t;
}

// The machine at its end of the cable: records what it gets, answers a poll or
// a repeat request with the next answer (pieces a little apart) or "no card",
// other bytes from svar.
class Maskin {
public:
    Maskin(const QString& enhet, Modell modell) : modell(modell), m_tal(tal(modell)) {
        if (oppnaSerieport(port, enhet))
            qFatal("the machine's end does not open");
        if (modell == Modell::Rika)
            svar[char(0xD4)] = "abc";
        QObject::connect(&port, &QSerialPort::readyRead, &port, [this] {
            for (const char c : port.readAll()) {
                mottaget += c;
                if (c == m_tal.poll[0] || c == m_tal.igen[0])
                    svaraPaPoll();
                else if (svar.contains(c))
                    skriv(svar.value(c));
                if (efterByte)
                    efterByte(c);
            }
        });
    }

    void skriv(const QByteArray& data) {
        port.write(data);
        port.waitForBytesWritten(5000);
    }
    // A card to answer a poll with, as the machine frames it.
    void lagg(const QString& skott) { kort.append({ram(modell, skott)}); }
    // What the program sent after the last card went out.
    QByteArray efterRam() const { return mottaget.mid(m_vidRam); }

    Modell modell;
    QSerialPort port;
    QByteArray mottaget;
    QHash<char, QByteArray> svar;
    QList<QByteArrayList> kort;
    int ramar = 0;
    // Says nothing to polls.
    bool tyst = false;
    std::function<void(char)> efterByte;

private:
    void svaraPaPoll() {
        if (tyst)
            return;
        if (kort.isEmpty())
            return skriv(m_tal.ejKlar);
        const QByteArrayList delar = kort.takeFirst();
        m_vidRam = int(mottaget.size());
        ++ramar;
        skriv(delar.first());
        for (int i = 1; i < delar.size(); ++i)
            QTimer::singleShot(20 * i, &port, [this, del = delar[i]] { skriv(del); });
    }

    Tal m_tal;
    int m_vidRam = 0;
};

inline void modeller() {
    QTest::addColumn<Modell>("modell");
    QTest::newRow("SAM 4000") << Modell::Sam4000;
    QTest::newRow("RIKA") << Modell::Rika;
}
