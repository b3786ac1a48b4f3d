#pragma once

#include <QDialog>

class QAction;
class QGroupBox;
class QMenu;
class QPushButton;
class Formkontext;
class Rutnat;

// Merges classes into main classes for the result lists: the main classes, the
// classes of the selected one, and the classes in none. Every action is written
// at once; OK only closes.
class frmSlaSammanKlasser : public QDialog {
    Q_OBJECT
public:
    explicit frmSlaSammanKlasser(Formkontext& k, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void Skapa_rutnat();
    // The main classes, in table order.
    void Hamta_Huvud();
    // The classes in no main class.
    void Hamta_Ex();
    // The classes of the selected main class.
    void Hamta_Ink();
    void cmdLaggTillKlass_Click();
    void cmdTabortKlass_Click();
    void cmdNyHuvudklass_Click();
    void cmdRaderaHuvudKlass_Click();
    void cmdOK_Click();
    // Runs an action in the dialog's trap: a row that is gone ends it quietly,
    // anything else is told with the procedure's name.
    template <class F> void fanga(const QString& procedur, F&& f);

    Rutnat* vbagrHuvudklass;
    Rutnat* vbagrInkKlasser;
    Rutnat* vbagrExKlasser;
    QGroupBox* frameSammanslKlasser;
    QPushButton* cmdNyHuvudklass;
    QPushButton* cmdRaderaHuvudKlass;
    QPushButton* cmdLaggTillKlass;
    QPushButton* cmdTabortKlass;
    QPushButton* cmdOK;
    QMenu* popupmnuHuvud;
    QAction* popupmnuNyklass;
    QAction* popupmnuRaderaklass;
    Formkontext& m_k;
    qint64 m_huvudklassRaknare = 0;
};
