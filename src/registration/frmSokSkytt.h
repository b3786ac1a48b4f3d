#pragma once

#include "registration/SokSkytt.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Formkontext;

// The shooter search: a window of its own, modal to the main window, that finds
// registered shooters and shows each hit in the registration window beneath it
// (its squad, its lane's row, the shooter in the fields). It is run with exec().
class frmSokSkytt : public QDialog {
    Q_OBJECT
public:
    // visa shows a hit; by default in the open registration window. A hit that
    // cannot be shown there is passed over.
    explicit frmSokSkytt(Formkontext& k, QWidget* parent = nullptr, SokSkytt::Sokning::Visare visa = {});

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // The widgets, each with its object name.
    QLineEdit* txtFornamn;
    QLineEdit* txtEfternamn;
    QLineEdit* txtLicensnr;
    QLineEdit* txtStartnr;
    QLabel* lblOmg;
    QComboBox* cboOmg;
    QPushButton* cmdSok;
    QPushButton* cmdSokNasta;

    void cmdSok_Click();
    void cmdSokNasta_Click();
    void cmdAvbryt_Click();
    void Hamta_omg();
    // Shows the hit in the registration window; false when that window is not
    // open or has no row for the hit's lane.
    bool visaIInskrivningen(const SokSkytt::Traff& traff);

    Formkontext& m_k;
    SokSkytt::Sokning m_sokning;
};
