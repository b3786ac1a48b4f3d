#include "entry/Banrader.h"
