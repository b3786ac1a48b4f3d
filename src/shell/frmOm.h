#pragma once

#include <QDialog>

class Formkontext;
class Meddelanden;

// The About box.
class frmOm : public QDialog {
    Q_OBJECT
public:
    explicit frmOm(Formkontext& k, QWidget* parent = nullptr);

    // A graphical system-information tool on the PATH, or "" when there is none.
    static QString hittaSysteminfo();

private:
    void StartSysInfo();

    Meddelanden& m_m;
};
