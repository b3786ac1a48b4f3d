#pragma once

#include "settings/Installningsflik.h"

class QLineEdit;
class Rutnat;
class Rutnatsredigerare;

// The tab "F&lera tävlingar": the competition's rounds, offered only when the
// competition uses them. A round is entered new (number and description) or
// has its description changed; both are saved with the second press of the new
// button, whose caption tells whether an entry is open. While one is open the
// grid does not swap the round shown. A number of 0 is refused as soon as the
// operator moves on from it.
class FlikOmgangar : public Installningsflik {
    Q_OBJECT
public:
    enum class Lage { Vilande, NyOmgang, AndraOmgang };

    explicit FlikOmgangar(Formkontext& k, QWidget* parent = nullptr);

    // The form's load fills the grid, when the competition uses rounds.
    void visa(const Installningsvarden&) override;
    // Leaving the tab ends an open entry without saving it.
    void lamnas() override;

    Lage lage() const;

signals:
    // A round was added or changed: the round list of the team tab follows.
    void omgangarAndrade();

private:
    // The grid from the table, in order of the round number.
    void Hamta_in_tavlingar_till_gridden();
    // Ends an entry or a change without saving.
    void Avsluta_andring_omgang();
    // The round of the grid's row, found by its number, into the boxes.
    bool visaOmgang(int rad);
    bool spara();
    bool radera(int rad);

    // The number of the round shown in the boxes: the key that a change acts
    // on. It counts only while the boxes show a round; with them empty a change
    // first shows the selected one.
    int m_visadOmg = 0;
    Rutnatsredigerare* redigerare;
    Rutnat* vbagrTavlingar;
    QLineEdit* txtOmg;
    QLineEdit* txtBeskrivning;
};
