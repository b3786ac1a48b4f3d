#include "entry/scoring_machine/Tavelsvar.h"
