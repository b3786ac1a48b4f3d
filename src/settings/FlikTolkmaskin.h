#pragma once

#include "settings/Installningsflik.h"
#include "settings/Tolkmaskinstest.h"
#include "shell/Upptagen.h"

#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The tab "&Tolkmaskin": the scoring machine, its link test and the reset of automatic counting.
class FlikTolkmaskin : public Installningsflik {
    Q_OBJECT
public:
    explicit FlikTolkmaskin(Formkontext& k, QWidget* parent = nullptr, Tolkmaskinstider tider = {});
    ~FlikTolkmaskin() override;

    void visa(const Installningsvarden& v) override;
    void hamta(Installningsvarden& v) const override;

    // The close checks point at the field that failed.
    void fokuseraComport();
    void tomOchFokuseraInnertia();
    // A link test under way ends, with no verdict, when the form closes.
    void avbrytTest();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void cmdAuto1098_Click();
    void cmdTestaKomm_Click();
    // The machine's controls follow whether it is used in the base round.
    void Tolkmaskinsreglar();
    void optSAM4000_Click();
    void optRIKA_Click();
    bool txtComport_KeyPress(const QKeyEvent* e);
    bool txtInnertia_KeyPress(const QKeyEvent* e);
    void txtInnertia_Validate();
    void testKlar(const Tolkmaskinstest::Utfall& utfall);

    QCheckBox* chkTolkmGrund;
    QCheckBox* chkTolkmFinal;
    QGroupBox* frameVilkenTolkmaskin;
    QRadioButton* optSAM4000;
    QRadioButton* optRIKA;
    QLabel* lblComport;
    QLineEdit* txtComport;
    QCheckBox* chkDecimalerRika;
    QCheckBox* chkBarCode;
    QLabel* lblInnertia;
    QLineEdit* txtInnertia;
    QPushButton* cmdAuto1098;
    QLabel* lblAuto1098;
    QPushButton* cmdTestaKomm;
    Tolkmaskinstest* comTolkmaskinTest;
    // While a link test runs: the hourglass, and the test button off.
    std::optional<Upptagen> m_testar;
    bool m_validerar = false;
};
