#include "settings/Utskriftsval.h"
