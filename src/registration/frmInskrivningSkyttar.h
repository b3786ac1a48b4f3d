#pragma once

#include "competition/Skjutlag.h"
#include "registration/Inskrivningslage.h"
#include "registration/Skytt.h"
#include "registration/Tangentvag.h"
#include "shell/Upptagen.h"

#include <QList>
#include <QWidget>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Formkontext;
class Rutnat;

// The registration of shooters: one squad at a time in a grid of its lanes,
// the squad buttons and squad operations above it, and the fields of one
// shooter beside it. Which state the shooter part is in, and so which buttons
// work, is one Inskrivningslage; the window changes it step by step and
// applies it.
class frmInskrivningSkyttar : public QWidget {
    Q_OBJECT
public:
    using Lage = Inskrivningslage::Lage;

    explicit frmInskrivningSkyttar(Formkontext& k, QWidget* parent = nullptr);

    // What the shooter search drives (it shows each hit here): the squad shown,
    // the lane row selected in the squad's grid (false when the squad has no
    // row for the lane), and the shooter of that lane shown in the fields.
    void valjSkjutlag(int skjutlag);
    bool valjBana(int bana);
    // Shows the shooter of the selected lane. franSokSkytt: the shooter search
    // chose the lane, and its shooter is shown whatever the window was doing.
    void HamtaSkytt(bool franSokSkytt = false);

    int aktuelltSkjutlag() const { return m_intAktuelltSkjutlag; }
    Lage lage() const { return m_lage.lage; }

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // The widgets, each with its object name. The squad area: Opt[1] ..
    // Opt[30] (Opt1 .. Opt30); Opt[0] is unused.
    QGroupBox* frameSkjutlag;
    QList<QPushButton*> Opt;
    QPushButton* cmdNyttSkjutlag;
    QPushButton* cmdInfogaNyttSkjutlag;
    QPushButton* cmdTabortSkjutlag;
    QPushButton* cmdTabortValtSkjutlag;
    QLabel* lblLedigaBanor;
    QLabel* lblSkjuttidOpt;
    QLineEdit* txtSkjutlag;
    QLineEdit* txtSkjuttid;

    // The shooter.
    QLabel* lblTavlingsOmg;
    QComboBox* cboTavlingsOmg;
    QComboBox* cboStartnummer;
    QLineEdit* txtNamn;
    QLineEdit* txtEfternamn;
    QComboBox* cboForening;
    QComboBox* cboKlassADO;
    QLineEdit* txtLicensnr;
    QLineEdit* txtSkyttekortNr;
    QLineEdit* txtFodelsenr;
    QLineEdit* txtBana;
    QLabel* lblVandringspris;
    QCheckBox* chkVandringspris;
    QPushButton* cmdSparaSkytt;
    QPushButton* cmdAndraSkytt;
    QPushButton* cmdTabortSkytt;
    QPushButton* cmdTomFalt;
    QPushButton* cmdCopy;

    Rutnat* vbagrSkjutlag;

    // The buttons.
    void cmdNyttSkjutlag_Click();
    void cmdInfogaNyttSkjutlag_Click();
    void cmdTabortSkjutlag_Click();
    void cmdTabortValtSkjutlag_Click();
    void Opt_Click(int index);
    void cmdSparaSkytt_Click();
    void cmdAndraSkytt_Click();
    void cmdCopy_Click();
    void cmdTabortSkytt_Click();
    void cmdTomFalt_Click();
    void cmdAterga_Click();

    void byggFormular();
    void Form_Load();
    void Form_Activate();
    bool Form_QueryUnload();
    void Form_Unload();

    // The squads.
    void StallinFargerOpt();
    void Rakna_lediga_banor(int skjutlag, bool visaSkjuttid);
    void Opt_MouseMove(int index);
    void frameSkjutlag_MouseMove();
    void visaSkjuttid();
    void sparaSkjuttid();
    // Shows squad 1 after a delete, or the inserted squad.
    void bytTillSkjutlag(int skjutlag);

    // The grid and the lists.
    int kolumnLopnummer() const;
    void Hamta_skyttar_till_gridden();
    void markeraBana(int bana);
    void Hamta_klasser();
    void Hamta_omg();
    void fyllForeningar();
    void Ny_Skytt_Markerad(const QString& procedur);

    // The shooter.
    void LaggTillSkytt();
    void Sok_ledigt_startnummer();
    void visaSkytt(const Skytt& skytt, const QString& bana);
    // The free-lane state: only the first name (and the round) can be typed,
    // which starts a new shooter.
    void visaLedigBana();
    void borjaNySkytt();
    void aktiveraKlassfalt();
    void fokusForstaFaltet();
    void cboStartnummer_LostFocus();
    void tillbakaTill(QWidget* falt);
    bool pagarInmatning() const { return m_lage.pagarInmatning(); }
    // Result entry shows squads by their numbers: while it is open they stay.
    Skjutlag::Resultatinskrivning resultatinskrivning() const;
    // Every button, and the main menu's search, as the state has them.
    void tillampaLage();
    // The key's way is the rule of Tangentvag; the window does what it says.
    bool hanteraTangent(QObject* o, QKeyEvent* e);
    QWidget* faltet(Tangentvag::Falt falt) const;
    void hanteraFokusUt(QObject* o);

    Formkontext& m_k;
    QButtonGroup* m_optGrupp = nullptr;
    Skyttregister::Prisregel m_prisregel;

    int m_intAktuelltSkjutlag = 1;
    int m_intSenastVisatSkjutlag = 0;
    bool m_blnBanetextAterstalld = false;
    bool m_blnSkjuttidAndrad = false;

    Inskrivningslage m_lage;
    bool m_blnRadVald = false;
    bool m_blnHoppaOverHamtning = false;

    bool m_stangd = false;
    // Up while the window loads, until its first activation.
    std::optional<Upptagen> m_laddas;
};
