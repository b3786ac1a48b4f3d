#pragma once

#include "shell/Upptagen.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class Formkontext;
class FlikKlasser;
class FlikLagtavling;
class FlikOmgangar;
class FlikSkjuttider;
class FlikTolkmaskin;
class FlikUtskrift;
class FlikVandringspris;
class Installningsflik;
struct Installningsvarden;

// The settings of the open competition: ten tabs, the INI-backed settings read
// when the form opens and written back, all of them, whenever it closes (there
// is no cancel); the tabs' tables are written at once by the tabs themselves.
class frmInstallningar : public QWidget {
    Q_OBJECT
public:
    // The tabs, numbered as the program has always numbered them.
    enum Flik {
        Klasser = 0,
        Lagtavling,
        Skjuttider,
        Final,
        Tolkmaskin,
        Utskrift,
        Resultat,
        Allmant,
        FleraTavlingar,
        Vandringspris,
    };

    explicit frmInstallningar(Formkontext& k, QWidget* parent = nullptr);
    ~frmInstallningar() override;

    // Whether the operator can open the tab.
    bool erbjuds(Flik flik) const;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QPushButton* cmdOK;
    void cmdOK_Click();
    void cmdBladdra_Click();
    void cmdRensaArkivMeny_Click();
    void Form_Load();
    void Form_Activate();
    void tabInstallningar_Click(int forra);
    // The checks before any close; false keeps the form open.
    bool Form_QueryUnload(const Installningsvarden& v);
    bool Kontrollera_installningar(const Installningsvarden& v);
    // Writes everything back; false when that failed and the operator keeps
    // the form open to correct and try again.
    bool Form_Unload();
    Installningsvarden hamta() const;
    QList<Installningsflik*> flikar() const;

    // The hourglass from the start of loading to the form's first activation,
    // or to a load that failed; given back once, also when the form goes
    // before it was ever activated. First, so that it is up before anything
    // of the form is built.
    Upptagen m_laddas;
    QTabWidget* tabInstallningar;
    FlikKlasser* flikKlasser;
    FlikLagtavling* flikLagtavling;
    FlikSkjuttider* flikSkjuttider;
    FlikTolkmaskin* flikTolkmaskin;
    FlikUtskrift* flikUtskrift;
    FlikOmgangar* flikOmgangar;
    FlikVandringspris* flikVandringspris;
    // The frame's own tabs.
    QCheckBox* chkDecimalerIFinal;
    QRadioButton* optSkottForSkott;
    QRadioButton* optFemSkott;
    QLineEdit* txtStandardSokvag;
    QPushButton* cmdBladdra;
    QLineEdit* txtTavlingsdatum;
    QPushButton* cmdRensaArkivMeny;
    Formkontext& m_k;
    bool m_laddat = false;
    bool m_stangd = false;
    int m_aktuellFlik = 0;
};
