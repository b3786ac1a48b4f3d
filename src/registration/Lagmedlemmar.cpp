#include "registration/Lagmedlemmar.h"
