#pragma once

class QApplication;

// The program's start: state, splash, main window; returns the event loop's code.
int Main(QApplication& app);

// Number of installed printers (0 for none).
long AntalSkrivare();

// Qt's own texts (file and print dialogs, standard buttons) in Swedish, whatever
// the user's locale: the program speaks Swedish throughout. False when the
// translation is not installed.
bool laddaSvenskaQtTexter(QApplication& app);
