#pragma once

#include "common/Poster.h"
#include "shell/Fonsternamn.h"
#include "shell/Upptagen.h"

#include <QWidget>
#include <optional>

class Formkontext;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Utskrift skjutlag": the squad list of all squads, or of one typed squad,
// to the printer or to a file as the output kind it was opened with says. It
// opens asking for all squads; "Välj" turns it to one squad for the rest of
// its life. It stays open for further lists; chosen again under another
// output kind it makes that kind from then on.
class frmUtskriftSkjutlag : public QWidget, public TarNyBegaran<Utskriftsmal> {
    Q_OBJECT
public:
    frmUtskriftSkjutlag(Formkontext& k, Utskriftsmal mal, QWidget* parent = nullptr);
    void nyBegaran(const Utskriftsmal& mal) override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void Form_Load();
    void Form_Activate();
    // The icon of the output kind.
    void visaUtskriftsmal();
    void cmdValj_Click();
    void cmdAlla_Click();
    void cmdSkrivut_Click();
    void cmdAngra_Click();
    // One run of the list: every squad, or the one given.
    void UtskriftExcel(std::optional<int> skjutlag);

    QLabel* lblAllaValj;
    QLabel* lblVilket;
    QLineEdit* txtVilketlag;
    QCheckBox* chkForklaringar;
    QLabel* lblForklaringar;
    QPushButton* cmdValj;
    QPushButton* cmdAlla;
    QPushButton* cmdSkrivut;
    QPushButton* cmdAngra;

    Formkontext& m_k;
    Utskriftsmal m_mal;
    bool m_kor = false;
    // Rounds are in use: the explanation box is shown and its choice kept.
    bool m_forklaringar = false;
    // The hourglass from the start of loading until the dialog is first active.
    std::optional<Upptagen> m_laddas;
};
