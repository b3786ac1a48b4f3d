#include "entry/Resultatrader.h"
