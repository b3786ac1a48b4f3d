#pragma once

#include "settings/Installningsflik.h"

// The tab "F&lera tävlingar": the competition's rounds.
class FlikOmgangar : public Installningsflik {
    Q_OBJECT
public:
    explicit FlikOmgangar(Formkontext& k, QWidget* parent = nullptr);

signals:
    // A round was added or changed: the round list of the team tab follows.
    void omgangarAndrade();
};
