#pragma once

#include <QObject>

// Keeps the keyboard with the program's window that should have it. A window
// manager usually does this: a dialog that opens gets the keyboard, and when it
// closes the window it belongs to gets it back. Without one (a bare X server, a
// kiosk set-up) the keyboard stays where it was, keys go to a window that is not
// the active one, and a field that has lost the keyboard is never told. Asking
// for the activation ourselves is harmless where a window manager does it too.
class Tangentbordsfokus : public QObject {
    Q_OBJECT
public:
    explicit Tangentbordsfokus(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
};
