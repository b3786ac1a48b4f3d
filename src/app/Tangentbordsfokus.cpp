#include "app/Tangentbordsfokus.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

// The windows that take the keyboard when they open: dialogs and message boxes,
// and the main window; never menus, tooltips or the splash.
bool tarTangentbordet(const QWidget* w) {
    if (!w->isWindow())
        return false;
    const Qt::WindowType typ = w->windowType();
    return typ == Qt::Window || typ == Qt::Dialog;
}

void aktiveraSenare(QWidget* w) {
    // After the show or hide has been dealt with, so that Qt's own idea of the
    // active window is settled first.
    // A window under an open modal dialog is left alone: the dialog keeps it.
    QTimer::singleShot(0, w, [p = QPointer<QWidget>(w)] {
        if (!p || !p->isVisible() || p->isActiveWindow())
            return;
        const QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == p)
            p->activateWindow();
    });
}

} // namespace

Tangentbordsfokus::Tangentbordsfokus(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

bool Tangentbordsfokus::eventFilter(QObject* o, QEvent* e) {
    if (e->type() != QEvent::Show && e->type() != QEvent::Hide)
        return false;
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || !tarTangentbordet(w))
        return false;
    if (e->type() == QEvent::Show) {
        aktiveraSenare(w);
    } else if (QWidget* agare = w->parentWidget()) {
        // A dialog has closed: the keyboard goes back to the window it belonged to,
        // or to the dialog still open beneath it.
        QWidget* nasta = QApplication::activeModalWidget();
        aktiveraSenare(nasta && nasta != w ? nasta : agare->window());
    }
    return false;
}
