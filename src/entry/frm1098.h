#pragma once

#include "entry/Resultatsparning.h"

#include <QDialog>

class Formkontext;
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

    // Index 11 inner tens, 10 tens .. 1 ones.
    QLineEdit* txtAntal(int index) const;
    QPushButton* cmdOK() const { return m_cmdOK; }
    QLabel* lblBana() const { return m_lblBana; }

private:
    Formkontext& m_k;
    Resultatsparning& m_sparning;
    Banrad& m_rad;
    QLineEdit* m_txtAntal[12] = {};
    QPushButton* m_cmdOK = nullptr;
    QLabel* m_lblBana = nullptr;
    bool m_sparat = false;
    Resultatsparning::Utfall m_utfall;
};
