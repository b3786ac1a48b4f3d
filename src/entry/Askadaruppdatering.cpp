#include "entry/Askadaruppdatering.h"
