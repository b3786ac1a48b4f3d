#include "settings/FlikKlasser.h"

FlikKlasser::FlikKlasser(Formkontext& k, QWidget* parent) : Installningsflik(k, parent) {}
