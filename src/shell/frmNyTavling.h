#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Formkontext;

// The dialog that creates a competition.
class frmNyTavling : public QWidget {
    Q_OBJECT
public:
    explicit frmNyTavling(Formkontext& k, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void KollacmdOK();
    void cmdOK_Click();
    void cmdAvbryt_Click();
    void cmdBladdra_Click();
    void txtAntalBanor_Validate();
    void txtSokvag_LostFocus();

    Formkontext& m_k;
    QLineEdit* txtTavlingensNamn;
    QLineEdit* txtAntalBanor;
    QLineEdit* txtTavlingsdatum;
    QRadioButton* optSportskytte;
    QRadioButton* optMix;
    QCheckBox* chkFleraTavlingar;
    QLineEdit* txtSokvag;
    QPushButton* cmdOK;
    bool m_validerar = false;
};
