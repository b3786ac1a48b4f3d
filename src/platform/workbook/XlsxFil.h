#pragma once

#include <QString>

namespace Kalkyl {

class Arbetsblad;

// The engine's one file format: Office Open XML, written with libxlsxwriter.
class XlsxFil {
public:
    // The path a list's file name is saved under: "\" or "/" as separators, the
    // stem kept, the extension ".xlsx" ("Utskrifter\Resultatlista_Fil.xls" gives
    // "Utskrifter/Resultatlista_Fil.xlsx").
    static QString sokvag(const QString& filnamn);

    // Writes the sheet to a temporary file beside the target and renames it over
    // the old file only when it is complete, so a failed save keeps the old file.
    // Throws FilenOppen (Fel 70) when another program holds the file (see
    // Filhallare), Fel 70 when the folder may not be written, 75 when the file
    // is write-protected, 3026 when the disk is full, 1004 for any other
    // failure. Stale lock files of the target and temporary files that earlier
    // saves left in the folder are removed. `sakerhetskopia` keeps the old file
    // as "<name>.bak". Returns the path written.
    static QString spara(const Arbetsblad& blad, const QString& filnamn, bool sakerhetskopia);

    // Whether the file is a whole workbook as written: a zip whose every part
    // has its recorded length and checksum, and whose XML parts end with their
    // root element's end. Saving asks this before the file may replace another.
    static bool arHel(const QString& sokvag);

    // Whether a file name is one of the temporary files a save writes beside
    // its target before renaming it (".<name>.xlsx.XXXXXX"); one is left only
    // by a save cut short.
    static bool arTillfallig(const QString& filnamn);
};

} // namespace Kalkyl
