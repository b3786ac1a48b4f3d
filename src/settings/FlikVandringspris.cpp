#include "settings/FlikVandringspris.h"

FlikVandringspris::FlikVandringspris(Formkontext& k, QWidget* parent) : Installningsflik(k, parent) {}
