#pragma once

#include "settings/Installningsflik.h"

// The tab "&Utskrift": squad-list options, the result list's columns, margins and layout.
class FlikUtskrift : public Installningsflik {
    Q_OBJECT
public:
    explicit FlikUtskrift(Formkontext& k, QWidget* parent = nullptr);
};
