#pragma once

#include "platform/folder_copy/Mappkopia.h"

#include <QHash>
#include <QString>
#include <cerrno>
#include <fcntl.h>
#include <functional>

// The folder copy's system calls, each told to fore before it is made, while
// the guard lives: "skapa a" for a file created, "oppna a" for anything else
// opened, "fsync a", "syncfs a", "skriv a" and "stang a" by what the descriptor was
// opened as, "link a b", "rename a b", "mkdir a", "unlink a", "rmdir a". fore
// may throw or kill to stop the copy there. A call for which misslyckas
// answers an error number fails with it (a descriptor is closed even so).
// With utanLankar every link is refused as exFAT through FUSE refuses it
// (EPERM).
class Anropsvakt : public Mappkopia::Systemanrop {
public:
    std::function<void(const QString& anrop)> fore;
    std::function<int(const QString& anrop)> misslyckas;
    bool utanLankar = false;

    Anropsvakt() : m_forra(Mappkopia::anvandSystemanrop(this)) {}
    ~Anropsvakt() override { Mappkopia::anvandSystemanrop(m_forra); }
    Anropsvakt(const Anropsvakt&) = delete;
    Anropsvakt& operator=(const Anropsvakt&) = delete;

    int open(const char* s, int f, mode_t l) override {
        tala(QString::fromLatin1((f & O_CREAT) ? "skapa " : "oppna ") + namn(s));
        const int fd = Systemanrop::open(s, f, l);
        m_fd.insert(fd, namn(s));
        return fd;
    }
    int fsync(int fd) override {
        const QString anrop = QStringLiteral("fsync ") + m_fd.value(fd);
        tala(anrop);
        if (const int fel = misslyckas ? misslyckas(anrop) : 0) {
            errno = fel;
            return -1;
        }
        return Systemanrop::fsync(fd);
    }
    int close(int fd) override {
        const QString anrop = QStringLiteral("stang ") + m_fd.take(fd);
        tala(anrop);
        const int svar = Systemanrop::close(fd);
        if (const int fel = misslyckas ? misslyckas(anrop) : 0) {
            errno = fel;
            return -1;
        }
        return svar;
    }
    int syncfs(int fd) override {
        tala(QStringLiteral("syncfs ") + m_fd.value(fd));
        return Systemanrop::syncfs(fd);
    }
    int link(const char* a, const char* b) override {
        tala(QStringLiteral("link ") + namn(a) + QLatin1Char(' ') + namn(b));
        if (!utanLankar)
            return Systemanrop::link(a, b);
        errno = EPERM;
        return -1;
    }
    int rename(const char* a, const char* b) override {
        const QString anrop = QStringLiteral("rename ") + namn(a) + QLatin1Char(' ') + namn(b);
        tala(anrop);
        if (const int fel = misslyckas ? misslyckas(anrop) : 0) {
            errno = fel;
            return -1;
        }
        return Systemanrop::rename(a, b);
    }
    int mkdir(const char* s, mode_t l) override {
        tala(QStringLiteral("mkdir ") + namn(s));
        return Systemanrop::mkdir(s, l);
    }
    int unlink(const char* s) override {
        tala(QStringLiteral("unlink ") + namn(s));
        return Systemanrop::unlink(s);
    }
    ssize_t write(int fd, const void* data, size_t antal) override {
        tala(QStringLiteral("skriv ") + m_fd.value(fd));
        return Systemanrop::write(fd, data, antal);
    }
    int rmdir(const char* s) override {
        tala(QStringLiteral("rmdir ") + namn(s));
        return Systemanrop::rmdir(s);
    }

private:
    static QString namn(const char* s) { return QString::fromUtf8(s); }
    void tala(const QString& anrop) {
        if (fore)
            fore(anrop);
    }
    Mappkopia::Systemanrop* m_forra;
    QHash<int, QString> m_fd;
};
