#pragma once

#include "settings/Installningsflik.h"

// The tab "&Skjuttider": each squad's shooting time.
class FlikSkjuttider : public Installningsflik {
    Q_OBJECT
public:
    explicit FlikSkjuttider(Formkontext& k, QWidget* parent = nullptr);
};
