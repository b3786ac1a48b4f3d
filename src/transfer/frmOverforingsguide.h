#pragma once

#include "transfer/Tavlingsoverforing.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QWidget;
class Formkontext;

// The import wizard (frmImporteraGuide) and the export wizard
// (frmExporteraGuide): one form, its words, prefilled destination and chooser
// mode given by the direction. An introduction, then three steps (source,
// destination, confirmation); "&Slutför" checks the paths and copies the whole
// competition folder. Cancel and the close box leave without copying.
class frmOverforingsguide : public QDialog {
    Q_OBJECT
public:
    // The step values of the wizard.
    static constexpr int Introduktion = 32767;

    frmOverforingsguide(Formkontext& k, Overforing::Riktning riktning, QWidget* parent = nullptr);

    int steg() const { return m_steg; }
    void VisaSteg(int steg);

    void reject() override;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void cmdNasta_Click();
    void cmdForegaende_Click();
    void cmdBladdraExp_Click();
    void cmdBladdraDest_Click();
    // Runs the copy with the wizard busy; true when it succeeded.
    bool Kopiera(const Overforing::Sokvagar& s);
    QString ord(const char* import, const char* export_) const;

    Formkontext& m_k;
    Overforing::Riktning m_riktning;
    int m_steg = Introduktion;
    bool m_bladdrat = false;
    QString m_filtitel;
    bool m_kopierar = false;
    // Where the last copy kept the files it replaced, when not in the usual backup folder.
    QString m_sakerhetskopia;

    QStackedWidget* m_sidor;
    QStackedWidget* picSteg;
    QWidget* picIntroduktion;
    QLabel* lblRubrik;
    QLabel* lblRubrikForklaring;
    QLabel* lblValdTavling;
    QLabel* lblValdDest;
    QLabel* lblStatusKopiering;
    QLineEdit* txtSokvagExpTavling;
    QLineEdit* txtSokvagDestTavling;
    QPushButton* cmdBladdraExp;
    QPushButton* cmdBladdraDest;
    QPushButton* cmdForegaende;
    QPushButton* cmdNasta;
    QPushButton* cmdAvbryt;
    QWidget* m_knapprad; // the three buttons, off while the copy runs
};
