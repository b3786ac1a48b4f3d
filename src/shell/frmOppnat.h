#pragma once

#include <QWidget>

class Meddelanden;
class modGlobalt;

// The small note that tells which competition was opened and when its database
// last changed. It goes away as soon as the operator turns to something else.
class frmOppnat : public QWidget {
    Q_OBJECT
public:
    frmOppnat(const modGlobalt& g, Meddelanden& m, QWidget* parent = nullptr);
    static QString informationstext(const modGlobalt& g);
};
