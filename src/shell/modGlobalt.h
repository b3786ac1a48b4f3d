#pragma once

#include "common/Poster.h"
#include "platform/Databas.h"
#include "platform/clsIni.h"

#include <QLockFile>
#include <QString>
#include <memory>

// What every part of the program must know about the open competition and the
// run. One object, owned by the application and handed by reference to whoever
// needs it. NollstallTavlingsdata() clears the competition's part and keeps what
// belongs to the run (INI objects, connection object, printer count, flags that
// are never reset).
class modGlobalt {
public:
    // --- The open competition and its settings (cleared) ---
    QString strTavlingsmapp;    // with a trailing separator
    QString strTavlingsdatabas; // full path of <name>.air
    QString strTavlingsnamn;
    bool blnSportskytte = false;
    bool blnNationellt = false;
    bool blnMix = false;
    int intSkjutlagsstorlek = 0;
    bool blnFleraTavlingar = false;
    QString strTavlingsdatum;
    double sngInnertia = 0;
    bool blnTolkmaskinGrundomg = false;
    bool blnEjAuto1098 = false;
    bool blnSkjutlagslistaMedResultat = false;
    bool blnLagtavling = false;

    // --- Database and INI files (kept) ---
    Databas cnnTavling;
    // Held while a competition is open, so that a second program cannot open it
    // too; released by a close.
    std::unique_ptr<QLockFile> tavlingslas;
    clsIni iniTavling;
    clsIni iniProgram;

    // --- Cooperation of forms ---
    int intAntalFilnamn = 0;       // kept
    bool blnNyHuvudklass = false;  // cleared
    int intLagstorlek = 0;         // cleared
    bool blnFranSokSkytt = false;  // cleared
    bool blnBladdraImport = false; // kept

    // --- Output of lists ---
    Utskriftsmal strUtskriftsmal = Utskriftsmal::Ingen; // cleared to Ingen
    int intAntalKopior = 0;                             // kept
    QString strValdSkrivare;                            // printer chosen in the copies dialog; kept
    long lngAntalSkrivare = 0;                          // kept
    bool blnExcelSaknas = false;                        // kept, never reset
    QString strExcelVersion;                            // kept
    QString strSkarmlista;                              // cleared
    QString strDecimaltecken;                           // kept

    // --- Spectator feed ---
    int intSkjutlagPaSkarm = 0;               // cleared
    int intValtSkjutlag = 0;                  // cleared
    bool blnKonfigAskSkarmOppen = false;      // cleared
    bool blnResultatInskrivningOppen = false; // cleared
    int intAntalTCPFel = 0;                   // kept
    QString strSenasteTCPFel;                 // kept
    bool blnTCPStartFel = false;              // kept, never reset
    int intSenastAllaBanor = 0;               // cleared
    bool blnTvingaOmritning = false;          // kept

    // --- The run ---
    QString strProgrammapp; // folder of the executable, no trailing separator
    QString strHjalpfil;

    void NollstallTavlingsdata();

    // The program folder with a trailing separator: the default of several paths.
    QString programmappMedAvslut() const;
    bool tavlingOppen() const { return !strTavlingsdatabas.isEmpty(); }
    // The class table of the competition's kind.
    const QString& klasstabell() const;
};
