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

    void KollacmdOK();

    QLineEdit* txtTavlingensNamn;
    QLineEdit* txtAntalBanor;
    QLineEdit* txtTavlingsdatum;
    QRadioButton* optNationellt;
    QRadioButton* optSportskytte;
    QRadioButton* optMix;
    QCheckBox* chkMasterskap;
    QCheckBox* chkFleraTavlingar;
    QLineEdit* txtSokvag;
    QPushButton* cmdBladdra;
    QPushButton* cmdOK;
    QPushButton* cmdAvbryt;

public slots:
    void cmdOK_Click();
    void cmdAvbryt_Click();
    void cmdBladdra_Click();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void txtAntalBanor_Validate();
    void txtSokvag_LostFocus();

    Formkontext& m_k;
    bool m_validerar = false;
};
