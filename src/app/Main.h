#pragma once

#include "app/SvenskaQtTexter.h"

class QApplication;
class Signalvakt;

// The whole program as main() runs it: the signal guard before anything else,
// then the application, then Main. Returns the process's exit status.
int korProgrammet(int& argc, char** argv);

// The program's start: state, splash, main window; returns the event loop's
// code, or 0 when the system told the program to end (the guard's signals).
int Main(QApplication& app, Signalvakt& vakt);

// Number of installed printers (0 for none).
long AntalSkrivare();
