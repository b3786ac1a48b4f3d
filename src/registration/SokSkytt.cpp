#include "registration/SokSkytt.h"
