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
    // failure. Stale lock files of the target are removed, and so are the
    // temporary files that a killed save of the same list left
    // (rensaTillfalliga). Nothing else in the folder is touched.
    // `sakerhetskopia` keeps the old file as "<name>.bak". Returns the path
    // written.
    static QString spara(const Arbetsblad& blad, const QString& filnamn, bool sakerhetskopia);

    // Whether the file is a whole workbook as written: a zip whose every part
    // has its recorded length and checksum, and whose XML parts end with their
    // root element's end. Saving asks this before the file may replace another.
    static bool arHel(const QString& sokvag);

    // Whether a file name has the form of the temporary files a save writes
    // beside its target before renaming it (".<name>.xlsx.pilkrona-XXXXXX"): what a
    // copy of the folder leaves out. The form alone does not make a file the
    // engine's (see rensaTillfalliga).
    static bool arTillfallig(const QString& filnamn);

    // Removes from the folder mapp what saves killed half-way left there: the
    // temporary files of the list lista (its file name, "Lista_Fil.xlsx"), or
    // of every list when lista is empty, and only those that are, each on its
    // own: of exactly that name; a plain file with no other name; owned as the
    // file egen is, a file the program has just made on the same file system;
    // untouched for ten minutes. A folder that is a link (or a pipe, or
    // missing) is left alone, and a file that cannot be removed stays, without
    // a word: it is no more than it was.
    static void rensaTillfalliga(const QString& mapp, const QString& lista, const QString& egen);
};

} // namespace Kalkyl
