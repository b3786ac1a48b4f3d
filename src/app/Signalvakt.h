#pragma once

#include <QObject>
#include <csignal>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, a closed terminal, Ctrl+C)
// taken out of the system's hands and into the event loop. The handler, which
// may run at any moment on any thread, only writes the signal's number to one
// end of a socket pair; the GUI thread reads the other end when its loop comes
// round and says so. Until then the program goes on as it was: a copy half
// way through a rename is not cut off. One guard at a time; the signals'
// earlier handling comes back when it goes.
class Signalvakt : public QObject {
    Q_OBJECT
public:
    explicit Signalvakt(QObject* parent = nullptr);
    ~Signalvakt() override;

signals:
    void mottagen(int signal);

private:
    void las();

    int m_par[2] = {-1, -1};
    QSocketNotifier* m_notis = nullptr;
    struct sigaction m_fore[3] = {};
};
