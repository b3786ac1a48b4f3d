#pragma once

// An include over two lines: the compiler joins them, the checks refuse it.
// clang-format off
#include \
    "common/Fel.h"
// clang-format on
