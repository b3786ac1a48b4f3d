#pragma once

#include "settings/Installningsflik.h"

class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class Rutnat;

// The tab "&Skjuttider": each squad's shooting time. A time is typed as a new
// one (squad and time) or changed (the time of the selected squad); the two
// share the save button, whose caption tells which state the tab is in.
class FlikSkjuttider : public Installningsflik {
    Q_OBJECT
public:
    enum class Lage { Vilande, NyTid, AndraTid };

    explicit FlikSkjuttider(Formkontext& k, QWidget* parent = nullptr);

    // The form's load fills the grid.
    void visa(const Installningsvarden&) override;

    Lage lage() const { return m_lage; }

    Rutnat* vbagrSkjuttider;
    QLineEdit* txtSkjuttidLag;
    QLineEdit* txtSkjuttidBeskr;
    QPushButton* cmdNySkjuttid;
    QPushButton* cmdAndraSkjuttid;
    QPushButton* cmdRaderaSkjuttid;
    QPushButton* cmdAvbrytSkjuttid;
    QMenu* mnuPopupTider;
    QAction* mnuNyTid;
    QAction* mnuAndraTid;
    QAction* mnuRaderaTid;

public slots:
    void Hamta_in_tider_till_gridden();
    // "&Ny tid" starts a new time; "S&para" saves the new or changed one.
    void cmdNySkjuttid_Click();
    void cmdAndraSkjuttid_Click();
    void cmdRaderaSkjuttid_Click();
    void cmdAvbrytSkjuttid_Click();
    void vbagrSkjuttider_SelectionChange();
    void vbagrSkjuttider_Click();
    void vbagrSkjuttider_DblClick();
    // The right button released over the grid, at this global position.
    void vbagrSkjuttider_MouseUp(const QPoint& var);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void sattLage(Lage lage);
    // Change and delete can be used exactly when a row is selected.
    void sattAndraRadera(bool pa);
    // The selected row into the boxes, and the tab back to idle.
    void visaValdRad();
    void spara();

    Lage m_lage = Lage::Vilande;
};
