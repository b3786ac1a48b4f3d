#pragma once

#include <QObject>
#include <memory>

class QWidget;

// The keyboard follows each window's tab order, as it did on the platform
// the program came from, in every window however it was built:
// - Tab and Shift+Tab leave a grid for the next and previous control; the
//   arrow keys move between its cells. Qt's table views keep Tab to walk
//   their cells, which traps the focus in a grid and moves its chosen row.
// - The arrow keys move between the options of an option group in the
//   group's tab order, round from the last to the first: Up and Left to the
//   previous, Down and Right to the next. Qt moves by where the options
//   stand, which goes nowhere or skips options laid out in columns.
// One application event filter for every window host, gone with the last.
class Tabbordning : public QObject {
public:
    Tabbordning();
    ~Tabbordning() override;

    static std::shared_ptr<QObject> delad();

    // Gives the window's first control in tab order the focus, unless a
    // control of the window has it already. Qt's child windows give it to
    // the first widget that takes the focus even when that one is hidden,
    // and then nothing has it.
    static void fokuseraForsta(QWidget* fonster);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
};
