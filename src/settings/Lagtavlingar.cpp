#include "settings/Lagtavlingar.h"
