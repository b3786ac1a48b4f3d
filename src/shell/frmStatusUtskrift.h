#pragma once

#include <QWidget>

class QLabel;
class Meddelanden;

// The small window that tells the operator a list is being made. The list
// builders write their own text into lblStatus and close it when done.
class frmStatusUtskrift : public QWidget {
    Q_OBJECT
public:
    frmStatusUtskrift(const QString& programmapp, Meddelanden& m, QWidget* parent = nullptr);
    QLabel* lblStatus;
    // Shows a text at once, even when the caller does not return to the event loop.
    void visaStatus(const QString& text);
};
