#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class Formkontext;
class Meddelanden;

// The About box.
class frmOm : public QDialog {
    Q_OBJECT
public:
    explicit frmOm(Formkontext& k, QWidget* parent = nullptr);

    // A graphical system-information tool on the PATH, or "" when there is none.
    static QString hittaSysteminfo();

    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblRegelbocker;
    QLabel* lblAnvandare;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;

public slots:
    void StartSysInfo();

private:
    Meddelanden& m_m;
};
