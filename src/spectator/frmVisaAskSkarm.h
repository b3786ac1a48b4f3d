#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class Askadarflode;
class Formkontext;

// "Visning åskådarskärm": which squad the display shows and whether it shows
// free lanes. "&Uppdatera" stores the lane choice and sends the chosen squad at
// once with a full redraw. The only place where AllaBanor is written.
class frmVisaAskSkarm : public QWidget {
    Q_OBJECT
public:
    frmVisaAskSkarm(Formkontext& k, Askadarflode& flode, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void cmdOK_Click();
    void cmdAvbryt_Click();
    void Form_Load();

    Formkontext& m_k;
    Askadarflode& m_flode;
    QComboBox* cboSkjutlag;
    QCheckBox* chkAllaBanor;
};
