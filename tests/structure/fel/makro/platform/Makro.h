#pragma once

// The file a macro names is known only to the compiler: the checks refuse
// what they cannot follow, here even a file of the layer itself.
#define FELET "common/Fel.h"
#include FELET
