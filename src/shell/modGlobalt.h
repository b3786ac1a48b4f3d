#pragma once

#include "platform/Databas.h"
#include "platform/clsIni.h"
#include "shell/Tavlingslas.h"

#include <QLockFile>
#include <QString>
#include <memory>

// What every part of the program must know about the open competition and the
// run. One object, owned by the application and handed by reference to whoever
// needs it. NollstallTavlingsdata() clears the competition's part and keeps what
// belongs to the run (INI objects, connection object, printer count, flags that
// are never reset). What a window is opened for is not kept here: it goes with
// the open request (shell/Fonsternamn.h).
class modGlobalt {
public:
    // --- The open competition and its settings (cleared) ---
    QString strTavlingsmapp;                   // with a trailing separator; opening and creation
    QString strTavlingsdatabas;                // full path of <name>.air; opening and creation
    QString strTavlingsnamn;                   // opening and creation
    bool blnSportskytte = false;               // the settings' load (Installningar)
    bool blnNationellt = false;                // the settings' load
    bool blnMix = false;                       // the settings' load
    int intSkjutlagsstorlek = 0;               // lanes per squad; the settings' load
    bool blnFleraTavlingar = false;            // rounds in use; the settings' load
    QString strTavlingsdatum;                  // the settings' load and the settings form
    double sngInnertia = 0;                    // the settings' load and the settings form
    bool blnTolkmaskinGrundomg = false;        // the settings' load and the settings form
    bool blnEjAuto1098 = false;                // the settings' load, the settings form, result entry's saves
    bool blnSkjutlagslistaMedResultat = false; // the settings' load and the settings form
    bool blnLagtavling = false;                // the settings' load and the settings form

    // --- Database and INI files (kept) ---
    Databas cnnTavling; // opened and closed by opening, creation and closing (Tavling)
    // Held while a competition is open, so that a second program cannot open it
    // too; taken by opening, released by a close.
    Tavlingslas tavlingslas;
    clsIni iniTavling; // its path set by opening and creation
    clsIni iniProgram; // its path set by the program's start

    // --- Output of lists (kept) ---
    int intAntalKopior = 0;    // the program's start and the copies dialog (mnuSkrivare)
    QString strValdSkrivare;   // the printer chosen in the copies dialog (mnuSkrivare)
    long lngAntalSkrivare = 0; // the program's start

    // --- Spectator feed ---
    int intSkjutlagPaSkarm = 0;  // the squad on the display; the feed (cleared)
    int intValtSkjutlag = 0;     // the squad open in result entry, 0 none; result entry (cleared)
    bool blnTCPStartFel = false; // the TCP link could not listen (kept, never reset)

    // --- The run (set by the program's start) ---
    QString strProgrammapp; // folder of the executable, no trailing separator
    QString strHjalpfil;

    void NollstallTavlingsdata();

    // The program folder with a trailing separator: the default of several paths.
    QString programmappMedAvslut() const;
    bool tavlingOppen() const { return !strTavlingsdatabas.isEmpty(); }
    // The class table of the competition's kind.
    const QString& klasstabell() const;
};
