#pragma once

#include <QCursor>
#include <QGuiApplication>

// The hourglass of a window that loads: up from the moment loading starts
// until the window is first activated, and down at once when loading fails
// or the window goes without ever being activated. It is put up once and
// taken down once, whichever comes first, so no cursor is left stacked.
class Laddningsmarkor {
public:
    Laddningsmarkor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Laddningsmarkor() { klar(); }
    Laddningsmarkor(const Laddningsmarkor&) = delete;
    Laddningsmarkor& operator=(const Laddningsmarkor&) = delete;

    void klar() {
        if (!m_uppe)
            return;
        m_uppe = false;
        QGuiApplication::restoreOverrideCursor();
    }

    // Runs a step of the loading; when it throws, the hourglass goes before
    // the failure is told, so the message is not shown under it.
    template <class F> void steg(F&& f) {
        try {
            f();
        } catch (...) {
            klar();
            throw;
        }
    }

private:
    bool m_uppe = true;
};
