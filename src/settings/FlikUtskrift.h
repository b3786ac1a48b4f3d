#pragma once

#include "settings/Installningsflik.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// The tab "&Utskrift": squad-list options, the result list's columns, margins and
// layout. A column's tick and width are written to its row when the operator
// moves on from the box that changed; the rest goes to the INI when the form
// closes.
class FlikUtskrift : public Installningsflik {
    Q_OBJECT
public:
    explicit FlikUtskrift(Formkontext& k, QWidget* parent = nullptr);

    void visa(const Installningsvarden& v) override;
    void hamta(Installningsvarden& v) const override;
    void lamnas() override;
    void sparaVantande() override;

    // The column shown in the boxes, "" when none.
    const QString& valdKolumn() const { return m_valdKolumn; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void lstUtskriftsKolumner_Click();
    void cmdStandardInstUtskrift_Click();
    void Hamta_in_listnamn();
    void Hamta_Utskriftsval(const QString& listnamn);
    // Nothing chosen: the column boxes empty and closed.
    void ingenKolumn();
    // The operator moved on from a box: its check, then its write.
    void fokusUt(QObject* o);
    void tillbakaTill(QLineEdit* falt);

    QCheckBox* chkUtskriftSkjutlagRes;
    QCheckBox* chkForklaringar;
    QGroupBox* frameResultatlistaUtskrift;
    QListWidget* lstUtskriftsKolumner;
    QCheckBox* chkFaltMedIUtskrift;
    QLabel* lblKolumnBredd;
    QLineEdit* txtKolumnBredd;
    QLineEdit* txtVansterMarg;
    QLineEdit* txtHogerMarg;
    QRadioButton* optLayoutSta;
    QRadioButton* optLayoutLigg;
    QPushButton* cmdStandardInstUtskrift;
    QString m_valdKolumn; // strValdKolumn
    bool m_fyller = false;
    // A box refused its text and takes the focus back; a click in the list
    // that took the focus from it is undone.
    bool m_nekad = false;
};
