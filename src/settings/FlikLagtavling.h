#pragma once

#include "settings/Installningsflik.h"

// The tab "&Lagtävling": team competitions on or off, and the competition's team competitions.
class FlikLagtavling : public Installningsflik {
    Q_OBJECT
public:
    explicit FlikLagtavling(Formkontext& k, QWidget* parent = nullptr);

    // The close check while team competitions are ticked: true when at least
    // one team competition exists, else its message is shown and false.
    bool FinnsLag() { return true; }

public slots:
    // The rounds changed on their tab: the round list is filled again.
    void omgangarAndrade() {}
};
