#pragma once

// A platform file that reaches the shell by a way round: the layer check must
// see the shell here, not the platform folder the path begins with.
#include "platform/../shell/Tavling.h"
