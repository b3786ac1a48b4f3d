#include "entry/Resultatsparning.h"
