#pragma once

// A "[" without its pair in a comment, as in a[i: the includes below count
// all the same. Kept in this order, which clang-format would sort.
// clang-format off
#include <array> // a[i
#include "shell/Tavling.h"
#include <QWidget>
// clang-format on
