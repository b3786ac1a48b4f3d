#include "support/VanligAnvandare.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {
constexpr auto Alla = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                      QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;

QStringList somNobody(const QStringList& kommando) {
    return QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                       QStringLiteral("--clear-groups")} +
           kommando;
}

// A build folder under root's home cannot be entered by nobody: then the test
// program runs from a copy under /tmp, with the template and Grafik/ beside it
// as in the build.
QString programForNobody(QTemporaryDir& kopia) {
    const QString program = QCoreApplication::applicationFilePath();
    if (QProcess::execute(QStringLiteral("setpriv"),
                          somNobody({QStringLiteral("test"), QStringLiteral("-x"), program})) == 0)
        return program;
    QFile::setPermissions(kopia.path(), Alla);
    const QDir bygge(QCoreApplication::applicationDirPath());
    QDirIterator it(bygge.path(),
                    {QFileInfo(program).fileName(), QStringLiteral("Pilkrona.mdb"), QStringLiteral("*.*")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString fran = it.next();
        const QString relativ = bygge.relativeFilePath(fran);
        if (!relativ.startsWith(QLatin1String("Grafik/")) && fran != program &&
            relativ != QLatin1String("Pilkrona.mdb"))
            continue;
        const QString till = QDir(kopia.path()).filePath(relativ);
        QDir().mkpath(QFileInfo(till).path());
        QFile::copy(fran, till);
    }
    QDirIterator mappar(kopia.path(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (mappar.hasNext())
        QFile::setPermissions(mappar.next(), Alla);
    return QDir(kopia.path()).filePath(QFileInfo(program).fileName());
}
} // namespace

bool korSomVanligAnvandare(const char* testfunktion) {
    if (geteuid() != 0)
        return false;
    QTemporaryDir kopia(QStringLiteral("/tmp/pilkrona-nobody-XXXXXX"));
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
               somNobody({programForNobody(kopia), QString::fromLatin1(testfunktion)}));
    const bool klar = barn.waitForFinished(120000);
    const QByteArray utdata = barn.readAll();
    if (!klar || barn.exitStatus() != QProcess::NormalExit || barn.exitCode() != 0)
        QTest::qFail(
            qPrintable(QStringLiteral("the run as user nobody failed:\n") + QString::fromLocal8Bit(utdata)),
            __FILE__, __LINE__);
    return true;
}
