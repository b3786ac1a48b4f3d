#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QString>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

// How a child holds a file while a test saves over it: open for writing as
// LibreOffice holds the file it edits (it takes no system lock), open for
// reading only (a viewer), or with a system lock (fcntl) as other programs do.
enum class Grepp { Skriver, Laser, Last };

// A child of this test program that holds a file until the object ends; the
// test's main() hands a child's arguments to `omBarn` first.
class Filhallarbarn {
public:
    Filhallarbarn(const QString& fil, Grepp grepp) {
        m_barn.start(QCoreApplication::applicationFilePath(),
                     {QString::fromLatin1(Arg), fil, QString::number(int(grepp))});
        m_haller = m_barn.waitForStarted(10000) && m_barn.waitForReadyRead(10000) &&
                   m_barn.readLine().startsWith("haller");
    }
    ~Filhallarbarn() {
        m_barn.kill();
        m_barn.waitForFinished(10000);
    }
    Filhallarbarn(const Filhallarbarn&) = delete;
    Filhallarbarn& operator=(const Filhallarbarn&) = delete;

    bool haller() const { return m_haller; }
    qint64 pid() const { return m_barn.processId(); }

    // In the child: holds the file and never returns. In the test: nothing.
    static void omBarn(int argc, char** argv) {
        if (argc != 4 || std::strcmp(argv[1], Arg) != 0)
            return;
        const auto grepp = Grepp(std::atoi(argv[3]));
        const int fd = ::open(argv[2], grepp == Grepp::Skriver ? O_RDWR : O_RDONLY);
        if (fd < 0)
            ::_exit(2);
        if (grepp == Grepp::Last) {
            struct flock las {};
            las.l_type = F_RDLCK;
            las.l_whence = SEEK_SET;
            if (::fcntl(fd, F_SETLK, &las) != 0)
                ::_exit(3);
        }
        std::puts("haller");
        std::fflush(stdout);
        for (;;)
            ::pause();
    }

private:
    static constexpr const char* Arg = "--hall-filen";
    QProcess m_barn;
    bool m_haller = false;
};
