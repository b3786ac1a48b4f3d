#pragma once

class QApplication;

// Qt's own texts (file and print dialogs, standard buttons) in Swedish, whatever
// the user's locale: the program speaks Swedish throughout. False when the
// translation is not installed.
bool laddaSvenskaQtTexter(QApplication& app);
