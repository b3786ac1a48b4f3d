#include "app/Signalvakt.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The end the handler writes to; -1 while no guard is up.
volatile sig_atomic_t skrivande = -1;

extern "C" void hanterare(int signal) {
    // Only what may run at any moment: one write, errno kept for whoever was
    // interrupted. A full pair (a flood of signals) loses a byte, not the news.
    const int sparat = errno;
    const unsigned char b = static_cast<unsigned char>(signal);
    if (skrivande >= 0) {
        const ssize_t n = ::write(skrivande, &b, 1);
        static_cast<void>(n);
    }
    errno = sparat;
}

} // namespace

Signalvakt::Signalvakt(QObject* parent) : QObject(parent) {
    Q_ASSERT(skrivande < 0);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, m_par) != 0) {
        // Without the pair the signals keep their ordinary effect.
        qWarning("Signalvakt: socketpair: %s", strerror(errno));
        m_par[0] = m_par[1] = -1;
        return;
    }
    skrivande = m_par[0];
    struct sigaction sa = {};
    sa.sa_handler = hanterare;
    sigemptyset(&sa.sa_mask);
    // A system call of another thread (the copy's reads and writes) goes on
    // where the signal found it.
    sa.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(Signaler); ++i)
        ::sigaction(Signaler[i], &sa, &m_fore[i]);
}

Signalvakt::~Signalvakt() {
    sluta();
    if (m_par[0] < 0)
        return;
    for (size_t i = 0; i < std::size(Signaler); ++i)
        ::sigaction(Signaler[i], &m_fore[i], nullptr);
    skrivande = -1;
    ::close(m_par[0]);
    ::close(m_par[1]);
}

void Signalvakt::lyssna() {
    if (m_par[1] < 0 || m_notis)
        return;
    m_notis = new QSocketNotifier(m_par[1], QSocketNotifier::Read, this);
    connect(m_notis, &QSocketNotifier::activated, this, &Signalvakt::las);
}

void Signalvakt::sluta() {
    delete m_notis;
    m_notis = nullptr;
}

void Signalvakt::las() {
    unsigned char b[16];
    ssize_t n;
    while ((n = ::read(m_par[1], b, sizeof b)) > 0)
        for (ssize_t i = 0; i < n; ++i)
            emit mottagen(b[i]);
}
