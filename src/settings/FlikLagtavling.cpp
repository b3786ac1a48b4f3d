#include "settings/FlikLagtavling.h"

FlikLagtavling::FlikLagtavling(Formkontext& k, QWidget* parent) : Installningsflik(k, parent) {}
