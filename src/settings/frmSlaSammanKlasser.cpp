#include "settings/frmSlaSammanKlasser.h"
