#pragma once

#include "app/SvenskaQtTexter.h"

class QApplication;

// The program's start: state, splash, main window; returns the event loop's code.
int Main(QApplication& app);

// Number of installed printers (0 for none).
long AntalSkrivare();
