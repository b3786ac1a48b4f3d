#include "settings/Omgangar.h"
