#pragma once

#include "common/Poster.h"
#include "shell/Fonsternamn.h"
#include "shell/Upptagen.h"

#include <QWidget>
#include <optional>

class Formkontext;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

// "Utskrift föreningslista": the operator prints the marked club or every
// club, each on a page of its own or not, with or without results. The dialog
// stays open for further lists; chosen again under another output kind it
// makes that kind from then on.
class frmForeningsutskrift : public QWidget, public TarNyBegaran<Utskriftsmal> {
    Q_OBJECT
public:
    frmForeningsutskrift(Formkontext& k, Utskriftsmal mal, QWidget* parent = nullptr);

    // False when loading failed and was told: the dialog is not to be shown.
    bool laddad() const { return m_laddad; }
    void nyBegaran(const Utskriftsmal& mal) override;
    // The window's size in twips.
    static constexpr int Bredd = 4800;
    static constexpr int Hojd = 3810;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void Form_Load();
    void Form_Activate();
    // The icon of the output kind.
    void visaUtskriftsmal();
    void Hamta_foreningar(const QStringList& foreningar);
    void cmdVald_Click();
    void cmdAlla_Click();
    void cmdAngra_Click();
    // One run; forening empty: every club.
    void UtskriftExcel(const std::optional<QString>& forening);

    QLabel* lblOverskrift;
    QListWidget* lstForeningar;
    QLabel* Label1;
    QCheckBox* chkNysida;
    QLabel* lblResultat;
    QCheckBox* chkResultat;
    QGroupBox* frameSkrivUt;
    QPushButton* cmdVald;
    QPushButton* cmdAlla;
    QPushButton* cmdAngra;

    Formkontext& m_k;
    Utskriftsmal m_mal;
    bool m_laddad = false;
    // A list is being made: the dialog does not close meanwhile.
    bool m_kor = false;
    std::optional<Upptagen> m_laddas;
};
