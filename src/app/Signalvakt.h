#pragma once

#include <QObject>
#include <csignal>
#include <iterator>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, a closed terminal, Ctrl+C)
// taken out of the system's hands and into the event loop. The handler, which
// may run at any moment on any thread, only writes the signal's number to one
// end of a socket pair; the GUI thread reads the other end when its loop comes
// round and says so. Until then the program goes on as it was: a copy half
// way through a rename is not cut off, and a system call of another thread
// goes on where the signal found it (SA_RESTART). One guard at a time; the
// signals' earlier handling comes back when it goes.
//
// The guard needs no application: the program puts it up before anything
// else, and what comes before the application's loop waits in the pair until
// lyssna(). It leaves the signal mask alone: whoever puts it up sees that its
// signals are not blocked once it is up (korProgrammet unblocks them even when
// the program was started with them blocked), or they never reach it.
class Signalvakt : public QObject {
    Q_OBJECT
public:
    static constexpr int Signaler[] = {SIGTERM, SIGINT, SIGHUP};

    explicit Signalvakt(QObject* parent = nullptr);
    ~Signalvakt() override;

    // From now on mottagen tells each signal, those that came before as well,
    // when this thread's event loop comes round. The application must exist
    // now, and sluta() must come before it goes.
    void lyssna();
    // Nothing more is told; what comes later waits in the pair.
    void sluta();

signals:
    void mottagen(int signal);

private:
    void las();

    int m_par[2] = {-1, -1};
    QSocketNotifier* m_notis = nullptr;
    struct sigaction m_fore[std::size(Signaler)] = {};
};
