#pragma once

#include "platform/Filslag.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

// Puts what is no plain file at sokvag: a named pipe, a folder, a character
// device, or a symbolic link to lankmal (which need not exist). False, with
// errno, when that failed. The device is the null device's: a fault that opens
// it reads nothing and waits for nothing, and is seen in what follows.
inline bool laggPost(const QString& sokvag, Filslag slag, const QString& lankmal = {}) {
    const QByteArray s = QFile::encodeName(sokvag);
    switch (slag) {
    case Filslag::Pipe:
        return ::mkfifo(s.constData(), 0644) == 0;
    case Filslag::Enhet:
        return ::mknod(s.constData(), S_IFCHR | 0644, makedev(1, 3)) == 0;
    case Filslag::Mapp:
        return ::mkdir(s.constData(), 0755) == 0;
    case Filslag::Lank:
        return ::symlink(QFile::encodeName(lankmal).constData(), s.constData()) == 0;
    default:
        return false;
    }
}

// Watches named pipes that the program must never open for reading (a pipe
// where a lock or a lock file should be): a thread opens each one for writing
// without waiting, over and over, until the watch ends; a watched path where
// no pipe lies is let be. Such an open succeeds only while some reader has the
// pipe open, and lets a reader stuck in open() or read() go on (it reads the
// end of the file), so a fault fails the test, with the count, instead of
// hanging it.
//
//     Pipvakt vakt({fifo});
//     ... the work ...
//     QCOMPARE(vakt.stoppa(), 0);
class Pipvakt {
public:
    explicit Pipvakt(const QStringList& pipor) {
        for (const QString& pipa : pipor)
            m_pipor.append(QFile::encodeName(pipa));
        m_trad = std::thread([this] {
            while (!m_slut.load()) {
                for (const QByteArray& pipa : m_pipor) {
                    struct stat st {};
                    if (::lstat(pipa.constData(), &st) != 0 || !S_ISFIFO(st.st_mode))
                        continue;
                    const int fd = ::open(pipa.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
                    if (fd < 0)
                        continue;
                    if (::fstat(fd, &st) == 0 && S_ISFIFO(st.st_mode))
                        ++m_lasare;
                    ::close(fd);
                }
                ::usleep(2000);
            }
        });
    }
    ~Pipvakt() { stoppa(); }
    Pipvakt(const Pipvakt&) = delete;
    Pipvakt& operator=(const Pipvakt&) = delete;

    // Ends the watch: how many times a reader was found at a pipe.
    int stoppa() {
        m_slut = true;
        if (m_trad.joinable())
            m_trad.join();
        return m_lasare.load();
    }

private:
    QList<QByteArray> m_pipor;
    std::atomic<bool> m_slut{false};
    std::atomic<int> m_lasare{0};
    std::thread m_trad;
};
