#pragma once

#include <QWidget>

class QLabel;
class Meddelanden;

// The small window that tells the operator a list is being made. The list
// builders show their own text with visaStatus and close it when done.
class frmStatusUtskrift : public QWidget {
    Q_OBJECT
public:
    frmStatusUtskrift(const QString& programmapp, Meddelanden& m, QWidget* parent = nullptr);
    // Shows a text at once, even when the caller does not return to the event loop.
    void visaStatus(const QString& text);

private:
    QLabel* lblStatus;
};
