#pragma once

#include "settings/Installningsflik.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class Rutnat;

// The tab "&Klasser": the competition's classes in a grid, created, changed and
// deleted through the class dialog, and merged into main classes in the merge
// dialog. Every change is written at once; the grid is read anew after each.
class FlikKlasser : public Installningsflik {
    Q_OBJECT
public:
    explicit FlikKlasser(Formkontext& k, QWidget* parent = nullptr);

private:
    // The grid's columns; the Sport/Nat column only in a mixed competition.
    void Skapa_rutnat();
    // Fills the grid from the class table, in Räknare order.
    void Hamta_in_klasser_till_gridden();
    void cmdNyKlass_Click();
    void cmdAndraKlass_Click();
    void cmdTabortKlass_Click();
    void cmdSlaSamman_Click();
    // Räknare of the selected class; 0 after telling that none is selected.
    qint64 valdKlass();
    // The settings form the dialogs belong to.
    QWidget* installningar();

    QLabel* lblKlasser;
    Rutnat* vbagrKlasser;
    QPushButton* cmdNyKlass;
    QPushButton* cmdAndraKlass;
    QPushButton* cmdTabortKlass;
    QPushButton* cmdSlaSamman;
    QMenu* mnuPopupKlasser;
    QAction* mnuNyKlass;
    QAction* mnuAndraKlass;
    QAction* mnuTabortKlass;
};
