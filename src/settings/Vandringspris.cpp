#include "settings/Vandringspris.h"
