#include "settings/FlikOmgangar.h"

FlikOmgangar::FlikOmgangar(Formkontext& k, QWidget* parent) : Installningsflik(k, parent) {}
