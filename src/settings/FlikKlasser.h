#pragma once

#include "settings/Installningsflik.h"

// The tab "&Klasser": the competition's classes, the class dialog and the merging into main classes.
class FlikKlasser : public Installningsflik {
    Q_OBJECT
public:
    explicit FlikKlasser(Formkontext& k, QWidget* parent = nullptr);
};
