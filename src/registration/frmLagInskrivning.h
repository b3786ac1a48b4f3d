#pragma once

#include "competition/Lagmedlemmar.h"
#include "shell/Upptagen.h"

#include <QIcon>
#include <QWidget>
#include <optional>

class Formkontext;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class Rutnat;

// "Lag inskrivning": the teams of the team competitions in a tree (one node
// per team competition, its teams under it), the members of the chosen team in
// a grid, and a panel where shooters are looked up by name and put into the
// team or taken out of it. Nodes carry their records' keys; names are only
// shown. Every change is written at once.
class frmLagInskrivning : public QWidget {
    Q_OBJECT
public:
    explicit frmLagInskrivning(Formkontext& k, QWidget* parent = nullptr);

    // The node of a team competition or a team, by its key; null when the
    // tree has none.
    QTreeWidgetItem* nodForLagtavling(qint64 lagtavling) const;
    QTreeWidgetItem* nodForLag(qint64 lagNr) const;

    // The team competition chosen (also that of a chosen team), 0 when none.
    qint64 valdLagtavling() const { return m_lagtavling; }
    // The chosen team, 0 while a team competition is chosen.
    qint64 valtLag() const { return m_lagNr; }
    // Member entry: the name boxes take a search.
    bool medlemsinmatningOppen() const;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    // What a node stands for.
    enum class Nodtyp { Lagtavling, Lag };
    static Nodtyp nodtyp(const QTreeWidgetItem* nod);
    static qint64 nodnyckel(const QTreeWidgetItem* nod);

    // The widgets, each with its object name.
    QTreeWidget* tvwLagtavlingar;
    QLabel* lblLagtavlingOverskrift;
    QLabel* lblLaget;
    Rutnat* vbagrLag;
    QPushButton* cmdNyttLag;
    QPushButton* cmdTaBortLag;
    QLineEdit* txtNamn;
    QLineEdit* txtEfternamn;
    QLineEdit* txtStartNummer;
    QLineEdit* txtForening;
    QLineEdit* txtKlass;
    QPushButton* cmdTaBort;
    QPushButton* cmdRensaFalt;

    void Form_Activate();
    void tvwLagtavlingar_NodeClick(QTreeWidgetItem* nod);
    void tvwLagtavlingar_Expand(QTreeWidgetItem* nod);
    void tvwLagtavlingar_Collapse(QTreeWidgetItem* nod);
    void cmdNyttLag_Click();
    void cmdTaBortLag_Click();
    void cmdAterga_Click();
    // Enter in a name box.
    void LaggTillSkytt();
    // A key or mouse button released over the member grid.
    void vbagrLag_Slapp();
    void cmdTaBort_Click();
    void cmdRensaFalt_Click();

    void Form_Load();
    void Skapa_rutnat();
    void Hamta_lagtavlingar_till_tradet();
    void Hamta_lagmedlemmar_till_gridden(const QList<Skytt>& medlemmar);
    void HamtaSkytt();
    void Skapa_nytt_lag(qint64 nr, const QString& namn);

    // Chooses a node as the operator would, without a second round through
    // the change signal.
    void valjNod(QTreeWidgetItem* nod);
    // The state of a chosen team competition, as after a click on it.
    void visaLagtavling(qint64 lagtavling);
    void visaLag(qint64 lagNr);
    // Fills the grid with the chosen team's members, or clears it when it has none.
    void visaMedlemmar();
    void sattMedlemsinmatning(bool oppen);
    // Open while the chosen team has fewer members than its size.
    void medlemsinmatningEfterLaget(bool medFokus);
    void tomMedlemsfalten();
    void visaSkytt(const Skytt& s);
    // A search that ended without a new member: the panel is ready for the next.
    void aterstallPanelen();
    QTreeWidgetItem* hitta(Nodtyp typ, qint64 nyckel) const;

    Formkontext& m_k;

    QIcon m_stangd;
    QIcon m_oppen;
    QIcon m_lag;
    QIcon m_pil;

    qint64 m_lagtavling = 0;
    qint64 m_lagNr = 0;
    int m_lagstorlek = 0;
    // The member shown in the panel, 0 when none.
    qint64 m_visadMedlem = 0;
    int m_antalMedlemmar = 0;
    // The window itself chooses a node: the choice is no click of the operator's.
    bool m_valjer = false;
    // Up while the window loads, until its first activation.
    std::optional<Upptagen> m_laddas;
};
