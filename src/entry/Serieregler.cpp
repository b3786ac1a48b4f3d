#include "entry/Serieregler.h"
