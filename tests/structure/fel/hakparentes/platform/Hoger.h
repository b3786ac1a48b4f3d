#pragma once

// A lone "]" in a comment, as in i]: the includes below count all the same.
// Kept in this order, which clang-format would sort.
// clang-format off
#include <array> // i]
#include "shell/Tavling.h"
#include <QWidget>
// clang-format on
