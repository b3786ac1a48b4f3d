#include "settings/FlikUtskrift.h"

FlikUtskrift::FlikUtskrift(Formkontext& k, QWidget* parent) : Installningsflik(k, parent) {}
