#pragma once

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A serial cable for the scoring-machine tests: two ptys joined by socat, the
// machine's end (tolk) and the program's end (pc).
class Kabel {
public:
    Kabel() : m_mapp(QDir::tempPath() + QStringLiteral("/tolk-XXXXXX")) {
        tolk = m_mapp.filePath(QStringLiteral("tolk"));
        pc = m_mapp.filePath(QStringLiteral("pc"));
        m_socat.setReadChannel(QProcess::StandardError);
        m_socat.start(QStringLiteral("socat"),
                      {QStringLiteral("-d"), QStringLiteral("-d"), QStringLiteral("pty,rawer,link=") + tolk,
                       QStringLiteral("pty,rawer,link=") + pc});
        QByteArray logg;
        while (!logg.contains("starting data transfer loop") && m_socat.waitForReadyRead(5000))
            logg += m_socat.readAllStandardError();
        if (!QFileInfo::exists(tolk) || !QFileInfo::exists(pc))
            qFatal("socat made no pty pair: %s", logg.constData());
    }
    ~Kabel() { dra(); }
    Kabel(const Kabel&) = delete;
    Kabel& operator=(const Kabel&) = delete;

    // The cable is pulled: both ends and their names go away.
    void dra() {
        if (m_socat.state() == QProcess::NotRunning)
            return;
        m_socat.terminate();
        m_socat.waitForFinished(5000);
    }

    QString tolk, pc;

private:
    QTemporaryDir m_mapp;
    QProcess m_socat;
};
