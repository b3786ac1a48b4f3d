#pragma once

#include "entry/Resultatsparning.h"

#include <QDialog>

class Formkontext;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

// "Antal?": one shooter's tie-break counts, typed by hand. Only OK stores;
// closing the dialog any other way stores nothing.
class frm1098 : public QDialog {
    Q_OBJECT
public:
    frm1098(Formkontext& k, Resultatsparning& sparning, Banrad& rad, QWidget* parent);

    // Whether OK stored the counts, and what the save reported.
    bool sparat() const { return m_sparat; }
    const Resultatsparning::Utfall& utfall() const { return m_utfall; }

    // How many keys and pastes the fields have refused with a beep.
    int antalPip() const { return m_pip; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void Form_Load();
    void visaAntal();
    void cmdOK_Click();
    bool txtAntal_KeyPress(int index, QKeyEvent* e);
    bool txtAntal_KeyDown(int index, QKeyEvent* e);
    int faltIndex(const QObject* o) const;
    int antal(int index) const;
    void pip();

    Formkontext& m_k;
    Resultatsparning& m_sparning;
    Banrad& m_rad;
    // Index 11 inner tens, 10 tens .. 1 ones.
    QLineEdit* m_txtAntal[12] = {};
    QPushButton* m_cmdOK = nullptr;
    QLabel* m_lblBana = nullptr;
    bool m_sparat = false;
    Resultatsparning::Utfall m_utfall;
    int m_pip = 0;
};
