#pragma once

#include "entry/Resultatsparning.h"

#include <QDialog>
#include <optional>

class Formkontext;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

// "5 Skott": one series entered as its five shots ("98*++" is 47). Spara
// stores the series, its shot string, the pair sum, the totals and the
// automatic counts in one go; Avbryt and the close box store nothing.
class frmSfS : public QDialog {
    Q_OBJECT
public:
    frmSfS(Formkontext& k, Resultatsparning& sparning, Banrad& rad, int serie, QWidget* parent);

    // The series value that was saved, nothing when the dialog stored nothing.
    std::optional<int> sparatVarde() const { return m_sparat; }

    // How many keys and pastes the field has refused with a beep.
    int antalPip() const { return m_pip; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void cmdSpara_Click();
    bool txtSfS_KeyPress(QKeyEvent* e);
    void pip();

    Formkontext& m_k;
    Resultatsparning& m_sparning;
    Banrad& m_rad;
    int m_serie;
    QLineEdit* m_txtSfS = nullptr;
    QPushButton* m_cmdSpara = nullptr;
    QPushButton* m_cmdAvbryt = nullptr;
    QLabel* m_lblTavlanr = nullptr;
    std::optional<int> m_sparat;
    int m_pip = 0;
};
