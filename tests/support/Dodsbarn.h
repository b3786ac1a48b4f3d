#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QThread>

// A child of this test program started with args, killed with SIGKILL a random
// time in [franMs, tillMs) after its first output line: the child writes that
// line once it is working, so every kill lands in the middle of the work.
// Returns an empty string when the child died by the kill, else what went
// wrong with what it wrote on stderr.
inline QString dodaMittIArbetet(const QStringList& args, QRandomGenerator& rng, int franMs, int tillMs) {
    QProcess barn;
    barn.start(QCoreApplication::applicationFilePath(), args);
    if (!barn.waitForStarted(10000))
        return QStringLiteral("barnet startade inte");
    const auto fel = [&](const char* vad) {
        return QString::fromLatin1(vad) + u'\n' + QString::fromLocal8Bit(barn.readAllStandardError());
    };
    if (!barn.waitForReadyRead(30000))
        return fel("barnet skrev aldrig att det arbetar");
    QThread::msleep(rng.bounded(franMs, tillMs));
    if (barn.state() != QProcess::Running)
        return fel("barnet var klart innan det dödades");
    barn.kill();
    if (!barn.waitForFinished(10000) || barn.exitStatus() != QProcess::CrashExit)
        return fel("barnet dog inte av signalen");
    return {};
}
