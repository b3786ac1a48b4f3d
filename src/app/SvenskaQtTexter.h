#pragma once

class QApplication;

// Qt's own texts (file and print dialogs, standard buttons) in Swedish, whatever
// the user's locale: the program speaks Swedish throughout. False when the
// translation is not installed.
bool laddaSvenskaQtTexter(QApplication& app);

// The program's numbers, sizes and dates are Swedish also where the system
// speaks no language (its locale is C or POSIX, as on a bare install): the
// default locale is then Swedish. A system with a language of its own keeps it.
void svenskaFormatUtanSystemsprak();
