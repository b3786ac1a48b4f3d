#pragma once

#include <QString>

// Finds a file below a folder whatever the letter case of each part of the
// relative path ("grafik\bilder\OS.gif" finds Grafik/Bilder/OS.gif): files made
// for a case-blind file system are named inconsistently. Separators may be "\" or
// "/". Returns the real path, or an empty text when there is no such file.
QString hittaFil(const QString& bas, const QString& relativ);

// Whether this user can change the file or folder. The mode bits count as well,
// so that a write-protected file counts as such also for root, who could write
// it anyway.
bool arSkrivbar(const QString& sokvag);

// Makes the entries of a folder (new names, renames) last through a power cut.
void synkaMapp(const QString& mapp);
