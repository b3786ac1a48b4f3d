#pragma once

#include "settings/Installningsflik.h"

class QLineEdit;
class Rutnat;
class Rutnatsredigerare;

// The tab "&Skjuttider": each squad's shooting time. A time is typed as a new
// one (squad and time) or changed (the time of the selected squad); the two
// share the save button, whose caption tells which state the tab is in.
class FlikSkjuttider : public Installningsflik {
    Q_OBJECT
public:
    enum class Lage { Vilande, NyTid, AndraTid };

    explicit FlikSkjuttider(Formkontext& k, QWidget* parent = nullptr);

    // The form's load fills the grid.
    void visa(const Installningsvarden&) override;

    Lage lage() const;

private:
    void Hamta_in_tider_till_gridden();
    // The selected row into the boxes.
    bool visaTid(int rad);
    bool spara();
    bool radera(int rad);

    Rutnatsredigerare* redigerare;
    Rutnat* vbagrSkjuttider;
    QLineEdit* txtSkjuttidLag;
    QLineEdit* txtSkjuttidBeskr;
};
