#pragma once

#include <QWidget>

class QLabel;
class Meddelanden;
class modGlobalt;

// The small note that tells which competition was opened and when its database
// last changed. It goes away as soon as the operator turns to something else.
class frmOppnat : public QWidget {
    Q_OBJECT
public:
    frmOppnat(const modGlobalt& g, Meddelanden& m, QWidget* parent = nullptr);
    QLabel* lblTavlingsInfo() const { return m_info; }
    static QString informationstext(const modGlobalt& g);

private:
    QLabel* m_info;
};
