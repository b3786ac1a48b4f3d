#pragma once

#include "settings/Installningsflik.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The tab "&Lagtävling": team competitions on or off, and the competition's team
// competitions. The list and the round list carry their records' keys; the
// fields edit the team competition shown and write themselves when the operator
// moves on from them.
class FlikLagtavling : public Installningsflik {
    Q_OBJECT
public:
    explicit FlikLagtavling(Formkontext& k, QWidget* parent = nullptr);

    void visa(const Installningsvarden& v) override;
    void hamta(Installningsvarden& v) const override;
    void aktiverad() override;
    void lamnas() override;
    void sparaVantande() override;

    // The close check while team competitions are ticked: true when at least
    // one team competition exists, else its message is shown and false.
    bool FinnsLag();

    // The team competition shown in the fields, 0 when none.
    qint64 visadLagtavling() const { return m_visad; }

public slots:
    // The rounds changed on their tab: the round list is filled again.
    void omgangarAndrade();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void chkLagtavling_Click();
    void cmdNyTavling_Click();
    void cmdTabortTavling_Click();
    void lstLagtavlingar_Click();
    void Hamta_in_lagtavlingar();
    void Hamta_in_omgangar();
    // Shows a team competition in the fields, open or greyed by whether it has teams.
    void visaLagtavling(qint64 nyckel);
    // Empties the fields; nothing is shown.
    void tomFalten();
    void sattFalt(const QList<QWidget*>& falt, bool pa, bool gra);
    // The operator moved on from a field: its check, then its write.
    void lamnaFalt(QWidget* falt, bool meddela);
    void valjOmgang(int omg);
    void valjIListan(qint64 nyckel);

    QCheckBox* chkLagtavling;
    QListWidget* lstLagtavlingar;
    QPushButton* cmdNyTavling;
    QPushButton* cmdTabortTavling;
    QGroupBox* frameUppgifter;
    QLineEdit* txtLagtavling;
    QLabel* lblAntalSkyttar;
    QLineEdit* txtAntalSkyttar;
    QLabel* lblAntalSkott;
    QLineEdit* txtAntalSkott;
    QLabel* lblTavlingsomgLag;
    QComboBox* cboTavlingsOmg;
    QLabel* lblSportNatLag;
    QComboBox* cboSportNatLag;
    bool m_rundor = false; // the competition uses rounds
    bool m_mix = false;
    qint64 m_visad = 0;
    // Filling lists and boxes from the database is no choice of the operator's.
    bool m_fyller = false;
    // A field refused its value and takes the focus back; a click in the list
    // that took the focus from it is undone, as the focus never really left.
    bool m_nekad = false;
};
