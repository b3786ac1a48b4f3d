#pragma once

#include "competition/Omgangar.h"
#include "shell/Fonsternamn.h"

#include <QWidget>
#include <optional>

class Formkontext;
class QComboBox;
class QLabel;
class QPushButton;

// "Lagutskrift": the team results to printer or file. Loading rebuilds every
// team's score first. Without rounds the list of every team competition is
// written while the window loads, and the window has nothing more to do;
// with rounds it stays open as a dialog that prints one round at a time, as
// often as the operator wants, and chosen again under another output kind
// makes that kind from then on.
class frmLagutskrift : public QWidget, public TarNyBegaran<Utskriftsmal> {
    Q_OBJECT
public:
    frmLagutskrift(Formkontext& k, Utskriftsmal mal, QWidget* parent = nullptr);

    // False when loading failed and was told: the window is not to be shown.
    bool laddad() const { return m_laddad; }
    void nyBegaran(const Utskriftsmal& mal) override;
    // The window's size in twips.
    static constexpr int Bredd = 3135;
    static constexpr int Hojd = 2310;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void Form_Load();
    // The icon of the output kind.
    void visaUtskriftsmal();
    void Hamta_omg();
    void cmdOK_Click();
    void cmdAvbryt_Click();
    // One list: the round's team competitions, or all of them.
    void UtskriftExcel(const std::optional<Omgangar::Omgang>& omgang);

    QPushButton* cmdOK;
    QLabel* lblVilkenOmg;
    QComboBox* cboVilkenOmg;
    QPushButton* cmdAvbryt;

    Formkontext& m_k;
    Utskriftsmal m_mal;
    bool m_laddad = false;
    // A list is being made: the dialog takes nothing and does not close.
    bool m_kor = false;
};
