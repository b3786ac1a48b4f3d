#pragma once

#include "lists/Klassval.h"
#include "lists/Skarmlista.h"
#include "output/Arbetsboksram.h"
#include "shell/Fonsternamn.h"
#include "shell/Upptagen.h"

#include <QIcon>
#include <QWidget>
#include <functional>
#include <optional>

class Formkontext;
class Grafik;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class Rutnat;

// Writes the chosen classes into a workbook and prints or saves it with what
// the run gives it, as the order's output kind says. It tells the operator
// itself what became of the file; what it throws is shown by the dialog.
using Arbetsboksutskrift = std::function<void(const Arbetsboksram::Omgivning&, const Listbestallning&)>;

// "Resultat grundomg.": where every result list starts, whatever its output
// kind. The operator chooses the round (when the competition uses rounds)
// and all classes or the marked ones, and makes the list: on screen in the
// list window, or as a workbook through the given output. The dialog stays
// open for further lists; chosen again under another output kind it makes
// that kind from then on.
class frmValResSkarmGrund : public QWidget, public TarNyBegaran<Utskriftsmal> {
    Q_OBJECT
public:
    frmValResSkarmGrund(Formkontext& k, Utskriftsmal mal, Arbetsboksutskrift arbetsbok,
                        QWidget* parent = nullptr);

    // False when loading failed and was told: the dialog is not to be shown.
    bool laddad() const { return m_laddad; }
    // Its icon, question and button become the new kind's.
    void nyBegaran(const Utskriftsmal& mal) override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void Form_Load();
    void Form_Activate();
    void Formatera_klassgridden();
    void Hamta_in_klasser_till_gridden();
    void Hamta_in_omgangar();
    void optAlla_Click();
    void optValda_Click();
    // Enter or the left button (vaxla), or any other key or button, on the grid.
    void vbagrKlasser_Slapp(bool vaxla);
    void cmdVisa_Click();
    void cmdAvbryt_Click();

    // The on-screen list's rows of the chosen classes, added to rader class
    // by class; a failure is thrown with the classes before it in rader.
    void Skapa_resultatlista_skarm(const Listbestallning& b, QList<Skarmlista::Rad>& rader) const;
    // Paints the marks and the show button from the choice.
    void visaVal();
    // The icon, the question and the show button of the output kind.
    void visaUtskriftsmal(Grafik& grafik);

    QLabel* lblTavlingsOmg;
    QComboBox* cboTavlingsOmg;
    QGroupBox* frameVilkaKlasser;
    QRadioButton* optAlla;
    QRadioButton* optValda;
    Rutnat* vbagrKlasser;
    QPushButton* cmdAvbryt;
    QPushButton* cmdVisa;

    Formkontext& m_k;
    Utskriftsmal m_mal;
    Arbetsboksutskrift m_arbetsbok;
    std::optional<Klassval> m_val;
    QIcon m_kryss;
    bool m_laddad = false;
    // A list is being made: nothing of the dialog runs meanwhile, and it does
    // not close.
    bool m_kor = false;
    std::optional<Upptagen> m_laddas;
};
