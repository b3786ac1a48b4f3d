#include "registration/Skjutlag.h"
