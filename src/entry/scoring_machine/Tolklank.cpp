#include "entry/scoring_machine/Tolklank.h"
