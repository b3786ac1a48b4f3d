#pragma once

#include "settings/Installningsflik.h"

class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class Rutnat;
class Rutnatsredigerare;

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

    Lage lage() const;

    Rutnatsredigerare* redigerare;
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

private:
    // The selected row into the boxes.
    bool visaTid(int rad);
    bool spara();
    bool radera(int rad);
};
