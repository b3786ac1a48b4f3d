#pragma once

#include <QString>

// Where the program INI (Pilkrona.ini) lies: beside the program when the
// program's folder is writable (a folder of its own, carried on a memory stick
// from PC to PC), else in the user's configuration folder, which is made when
// missing (an installed program, whose folder belongs to the system).
QString programIniSokvag(const QString& programmapp, const QString& anvandarmapp);
// The same, with the user's configuration folder of this platform.
QString programIniSokvag(const QString& programmapp);
