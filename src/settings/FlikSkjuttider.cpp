#include "settings/FlikSkjuttider.h"

FlikSkjuttider::FlikSkjuttider(Formkontext& k, QWidget* parent) : Installningsflik(k, parent) {}
