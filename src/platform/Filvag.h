#pragma once

#include <QString>

// Finds a file below a folder whatever the letter case of each part of the
// relative path ("grafik\bilder\OS.gif" finds Grafik/Bilder/OS.gif): files made
// for a case-blind file system are named inconsistently. Separators may be "\" or
// "/". Returns the real path, or an empty text when there is no such file.
QString hittaFil(const QString& bas, const QString& relativ);
