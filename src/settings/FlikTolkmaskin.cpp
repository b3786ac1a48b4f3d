#include "settings/FlikTolkmaskin.h"

FlikTolkmaskin::FlikTolkmaskin(Formkontext& k, QWidget* parent) : Installningsflik(k, parent) {}
