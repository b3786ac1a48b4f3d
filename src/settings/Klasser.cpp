#include "settings/Klasser.h"
