#include "settings/Skjuttider.h"
