#pragma once

#include "competition/Vandringspris.h"
#include "settings/Installningsflik.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

// The tab "&Vandringspris/Totaltävling": the challenge prize. The settings go to
// the INI when the form closes; the shooters' series follow at once when the
// prize is switched off or the shots change, and when the form closes.
class FlikVandringspris : public Installningsflik {
    Q_OBJECT
public:
    explicit FlikVandringspris(Formkontext& k, QWidget* parent = nullptr);

    void visa(const Installningsvarden& v) override;
    void hamta(Installningsvarden& v) const override;
    void lamnas() override;
    void sparaVantande() override;

    // The form closes: the shooters' prize series are brought up to date
    // (gammalVilka: the Vilka text the INI held before anything was written),
    // in two steps with the settings saved between them: what is to be written
    // (may ask the operator and choose "Valda" again; writes nothing), and the
    // write.
    Vandringspris::Stangningsbeslut beslutaVidStangning(const QString& gammalVilka);
    void verkstallStangning(const Vandringspris::Stangningsbeslut& beslut);

    // Some shooter had series when the tab was loaded (blnVandringsserierFinns).
    bool serierFanns() const { return m_serierFanns; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void chkVandringspris_Click();
    // The check of the shots box, then the series of the shooters; false when
    // the box refused its text.
    bool txtAntalSkottVandring_Validate(bool meddela);
    // The shots that go to the INI and to the shooters: the box when its check
    // accepted it, the last accepted text when it did not, "" when it is empty.
    QString giltigaSkott() const;

    QCheckBox* chkVandringspris;
    QGroupBox* frameVilka;
    QRadioButton* optAlla;
    QRadioButton* optValda;
    QLineEdit* txtVandringsprisNamn;
    QLineEdit* txtAntalSkottVandring;
    QButtonGroup* m_vilka;
    bool m_serierFanns = false;
    QString m_godkandaSkott;
};
