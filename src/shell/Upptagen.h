#pragma once

#include <QCursor>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

// The program at work: the hourglass up and, when given, a widget disabled so
// that no key or click reaches it meanwhile. Both are given back once, however
// the scope ends: at klar() (a window that loads until it is first activated),
// at a step that throws, or when the guard goes. A widget that was disabled
// already stays so. Nothing is told to the operator under the hourglass: a
// failure goes after it (steg), a box in the middle of the work is shown with
// it down (utanTimglas). A widget disabled takes the focus with it; the
// control that had it gets it back, so that the operator goes on from the
// button pressed.
class Upptagen {
public:
    explicit Upptagen(QWidget* avstangd = nullptr) : m_w(avstangd) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        if (m_w && !m_w->testAttribute(Qt::WA_ForceDisabled)) {
            if (QWidget* fokus = m_w->window()->focusWidget(); fokus && m_w->isAncestorOf(fokus))
                m_fokus = fokus;
            m_w->setEnabled(false);
            m_aterstall = true;
        }
    }
    ~Upptagen() { klar(); }
    Upptagen(const Upptagen&) = delete;
    Upptagen& operator=(const Upptagen&) = delete;

    void klar() {
        if (!m_uppe)
            return;
        m_uppe = false;
        if (m_w && m_aterstall) {
            m_w->setEnabled(true);
            // Unless the work put the focus elsewhere meanwhile.
            if (m_fokus && m_fokus->isVisible() && m_fokus->isEnabled() && !m_w->window()->focusWidget())
                m_fokus->setFocus(Qt::OtherFocusReason);
        }
        QGuiApplication::restoreOverrideCursor();
    }

    // Runs a step of the work and gives back what it gives; when it throws,
    // the hourglass goes before the failure is told, so that the message is
    // not shown under it.
    template <class F> decltype(auto) steg(F&& f) {
        try {
            return f();
        } catch (...) {
            klar();
            throw;
        }
    }

    // Runs f, a box the operator answers in the middle of the work, with the
    // hourglass down, and puts it up again after when the work goes on.
    template <class F> decltype(auto) utanTimglas(F&& f) {
        if (!m_uppe)
            return f();
        QGuiApplication::restoreOverrideCursor();
        const struct Igen {
            ~Igen() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
        } igen;
        return f();
    }

private:
    QPointer<QWidget> m_w;
    QPointer<QWidget> m_fokus;
    bool m_aterstall = false;
    bool m_uppe = true;
};
