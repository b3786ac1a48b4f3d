#pragma once

// A class of the widgets declared ahead after another declaration.
// clang-format off
struct Ruta; class QWidget;
// clang-format on
