#pragma once

#include "settings/Installningsflik.h"

class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class Rutnat;

// The tab "F&lera tävlingar": the competition's rounds, offered only when the
// competition uses them. A round is entered new (number and description) or
// has its description changed; both are saved with the second press of the new
// button, whose caption tells whether an entry is open. While one is open the
// grid does not swap the round shown.
class FlikOmgangar : public Installningsflik {
    Q_OBJECT
public:
    enum class Lage { Vilande, NyOmgang, AndraOmgang };

    explicit FlikOmgangar(Formkontext& k, QWidget* parent = nullptr);

    // The form's load fills the grid, when the competition uses rounds.
    void visa(const Installningsvarden&) override;
    // Leaving the tab ends an open entry without saving it.
    void lamnas() override;

    Lage lage() const { return m_lage; }

    Rutnat* vbagrTavlingar;
    QLineEdit* txtOmg;
    QLineEdit* txtBeskrivning;
    QPushButton* cmdNy;
    QPushButton* cmdAvbryt;
    QPushButton* cmdAndraTavling;
    QPushButton* cmdRadera;
    QMenu* mnuPopupTavlingar;
    QAction* mnuNyTavling;
    QAction* mnuAndraTavling;
    QAction* mnuRaderaTavling;

public slots:
    // The grid from the table, in order of the round number.
    void Hamta_in_tavlingar_till_gridden();
    // Ends an entry or a change without saving.
    void Avsluta_andring_omgang();
    // "&Ny tävling" opens a new round; "S&para" saves the new or changed round.
    void cmdNy_Click();
    void cmdAndraTavling_Click();
    void cmdRadera_Click();
    void cmdAvbryt_Click();
    void vbagrTavlingar_SelectionChange();
    void vbagrTavlingar_Click();
    void vbagrTavlingar_DblClick();
    // The right button released over the grid, at this global position.
    void vbagrTavlingar_MouseUp(const QPoint& var);

signals:
    // A round was added or changed: the round list of the team tab follows.
    void omgangarAndrade();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    bool iInmatning() const { return m_lage != Lage::Vilande; }
    void sattLast(QLineEdit* falt, bool last);
    void sattAndraRadera(bool andra, bool radera);
    // The round of the selected row, found by its number, into the boxes.
    void visaValdOmgang(bool klick);
    void spara();

    Lage m_lage = Lage::Vilande;
    // The number of the round shown in the boxes: the key that a change acts on.
    int m_visadOmg = 0;
};
