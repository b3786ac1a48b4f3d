#include "shell/Tradvantan.h"

#include <QEventLoop>
#include <QThread>

void vantaPaTrad(QThread& trad) {
    QEventLoop vanta;
    // isFinished() turns true before finished is emitted, so a thread that
    // ends after the check below reaches the loop through its queue, and one
    // that ended before it is not waited for.
    QObject::connect(&trad, &QThread::finished, &vanta, &QEventLoop::quit, Qt::QueuedConnection);
    if (!trad.isFinished())
        vanta.exec(QEventLoop::ExcludeUserInputEvents);
    trad.wait();
}
