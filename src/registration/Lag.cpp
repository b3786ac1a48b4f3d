#include "registration/Lag.h"
