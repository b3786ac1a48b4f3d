#pragma once

#include <QApplication>
#include <QWidget>

// A list dialog while it makes its list: the busy cursor up and the dialog
// disabled, both given back however the run ends.
class Upptagen {
public:
    explicit Upptagen(QWidget* w) : m_w(w) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_w->setEnabled(false);
    }
    ~Upptagen() {
        m_w->setEnabled(true);
        QApplication::restoreOverrideCursor();
    }
    Upptagen(const Upptagen&) = delete;
    Upptagen& operator=(const Upptagen&) = delete;

private:
    QWidget* m_w;
};
