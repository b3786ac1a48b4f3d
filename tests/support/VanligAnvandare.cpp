#include "support/VanligAnvandare.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>
#include <unistd.h>

bool korSomVanligAnvandare(const char* testfunktion) {
    if (geteuid() != 0)
        return false;
    QProcess barn;
    QProcessEnvironment miljo = QProcessEnvironment::systemEnvironment();
    miljo.insert(QStringLiteral("HOME"), QStringLiteral("/tmp"));
    miljo.insert(QStringLiteral("TMPDIR"), QStringLiteral("/tmp"));
    miljo.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    miljo.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    barn.setProcessEnvironment(miljo);
    barn.setProcessChannelMode(QProcess::MergedChannels);
    barn.setWorkingDirectory(QStringLiteral("/tmp"));
    barn.start(QStringLiteral("setpriv"),
               {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath(),
                QString::fromLatin1(testfunktion)});
    const bool klar = barn.waitForFinished(120000);
    const QByteArray utdata = barn.readAll();
    if (!klar || barn.exitStatus() != QProcess::NormalExit || barn.exitCode() != 0)
        QTest::qFail(
            qPrintable(QStringLiteral("the run as user nobody failed:\n") + QString::fromLocal8Bit(utdata)),
            __FILE__, __LINE__);
    return true;
}
