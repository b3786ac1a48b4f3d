#pragma once

#include <QDialog>
#include <QList>
#include <optional>

class Formkontext;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QRadioButton;

// "Välj skjutlag": the squad result entry opens, chosen among the competition's
// squads. Opened by the main menu before result entry has a squad (the first
// use) and by the result-entry window to switch squads; the caller does what the
// choice means, the picker only chooses. Each squad shows its shooting time when
// it gets the focus or the mouse pointer.
class frmValjSkjutlag : public QDialog {
    Q_OBJECT
public:
    static constexpr int AntalOptioner = 30;

    // forvalt: the squad marked first; 0 when none has been chosen yet (the
    // first squad is marked then).
    frmValjSkjutlag(Formkontext& k, int forvalt, QWidget* parent);

    // Runs the picker modal to foralder and gives the chosen squad (once the
    // picker is off the screen, when it is another than forvalt), or nothing
    // when the operator cancelled.
    static std::optional<int> valj(Formkontext& k, int forvalt, QWidget* foralder);

    // The squad chosen with OK; only meaningful when exec() accepted.
    int valtSkjutlag() const { return intMarkeratSkjutlag; }
    bool blnOK() const { return m_blnOK; }
    bool forstaGangen() const { return blnForstaGangen; }
    int antalSkjutlag() const { return intAntalSkjutlag; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void cmdOK_Click();
    void cmdAvbryt_Click();
    void byggFormular();
    void Form_Load();
    void Opt_Click(int index);
    void Opt_MouseMove(int index);
    void frameSkjutlag_MouseMove();
    void visaSkjuttid(int skjutlag);

    // Opt[1] .. Opt[30]; Opt[0] is unused.
    QGroupBox* frameSkjutlag = nullptr;
    QList<QRadioButton*> Opt;
    QLabel* lblSkjuttidVarde = nullptr;

    Formkontext& m_k;
    int m_forvalt = 0;
    QButtonGroup* m_grupp = nullptr;

    int intForvaltSkjutlag = 1;
    int intAntalSkjutlag = 1;
    int intMarkeratSkjutlag = 1;
    bool blnForstaGangen = false;
    int intSenastPekat = 0;
    bool blnVisarValt = false;
    bool m_blnOK = false;
};
