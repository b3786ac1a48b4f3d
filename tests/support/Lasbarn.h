#pragma once

#include "shell/Tavling.h"

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <cstdio>
#include <cstring>
#include <unistd.h>

// Another program with a competition open: a child of this test program that
// holds the competition's lock until the object ends or the test is gone. The
// test's main() hands a child's arguments to `omBarn` first.
class Lasbarn {
public:
    Lasbarn(const QString& mapp, const QString& namn) {
        m_barn.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(Arg), mapp, namn});
        m_haller = m_barn.waitForStarted(10000) && m_barn.waitForReadyRead(10000) &&
                   m_barn.readLine().startsWith("haller");
    }
    ~Lasbarn() {
        m_barn.kill();
        m_barn.waitForFinished(10000);
    }
    Lasbarn(const Lasbarn&) = delete;
    Lasbarn& operator=(const Lasbarn&) = delete;

    bool haller() const { return m_haller; }
    qint64 pid() const { return m_barn.processId(); }

    // In the child: holds the lock and returns once the test is gone, with
    // the exit code main() is to give. In the test: nullopt.
    static std::optional<int> omBarn(int argc, char** argv) {
        if (argc != 4 || std::strcmp(argv[1], Arg) != 0)
            return std::nullopt;
        QCoreApplication app(argc, argv);
        const Tavling::Las las =
            Tavling::lasTavling(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
        if (!las.fil)
            return 1;
        std::puts("haller");
        std::fflush(stdout);
        const pid_t foralder = ::getppid();
        while (::getppid() == foralder)
            ::usleep(50000);
        return 0;
    }

private:
    static constexpr const char* Arg = "--hall-laset";
    QProcess m_barn;
    bool m_haller = false;
};
