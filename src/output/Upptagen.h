#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>

// A list while it is made: the busy cursor up and the list's dialog (when it
// has one) disabled, both given back however the run ends.
class Upptagen {
public:
    explicit Upptagen(QWidget* w) : m_w(w) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (m_w)
            m_w->setEnabled(false);
    }
    ~Upptagen() {
        if (m_w)
            m_w->setEnabled(true);
        QApplication::restoreOverrideCursor();
    }
    Upptagen(const Upptagen&) = delete;
    Upptagen& operator=(const Upptagen&) = delete;

private:
    QPointer<QWidget> m_w;
};
