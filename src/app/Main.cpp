#include "app/Main.h"

#include "app/Delsystem.h"
#include "app/MDIfrmHuvudmeny.h"
#include "app/QtDialoger.h"
#include "app/Signalvakt.h"
#include "app/SvenskaQtTexter.h"
#include "app/Tangentbordsfokus.h"
#include "app/frmSplash.h"
#include "platform/QtMeddelanden.h"
#include "platform/workbook/Typsnitt.h"
#include "shell/Avslutning.h"
#include "shell/ProgramIni.h"
#include "shell/modGlobalt.h"
#include "spectator/Askadarflode.h"

#include <QApplication>
#include <QDir>
#include <QPrinterInfo>
#include <pthread.h>

namespace {

extern "C" void utanVakt(int) {}

} // namespace

long AntalSkrivare() {
    return static_cast<long>(QPrinterInfo::availablePrinterNames().size());
}

int korProgrammet(int& argc, char** argv) {
    // From the first moment to the last a signal never ends the program with
    // its own status. Until the guard is up the signals are held back and
    // wait for it; from then on they reach it, however the program was
    // started; the guard stays until the application is gone; after it only
    // the exit is left, and a signal then finds a handler that does nothing.
    // (Not SIG_IGN: that would throw away a signal held back, and a program
    // started from here would inherit it.)
    sigset_t signaler;
    sigset_t fore;
    sigemptyset(&signaler);
    for (const int s : Signalvakt::Signaler)
        sigaddset(&signaler, s);
    pthread_sigmask(SIG_BLOCK, &signaler, &fore);
    struct sigaction tyst = {};
    tyst.sa_handler = utanVakt;
    sigemptyset(&tyst.sa_mask);
    tyst.sa_flags = SA_RESTART;
    for (const int s : Signalvakt::Signaler)
        sigaction(s, &tyst, nullptr);
    Signalvakt vakt;
    // The mask the program was started with comes back, but for the guard's
    // signals: a launcher may have left them blocked, and a signal held back
    // for good would never end the program.
    for (const int s : Signalvakt::Signaler)
        sigdelset(&fore, s);
    pthread_sigmask(SIG_SETMASK, &fore, nullptr);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pilkrona"));
    const int kod = Main(app, vakt);
    // What comes from now on waits in the guard: the program is at its end.
    vakt.sluta();
    return kod;
}

int Main(QApplication& app, Signalvakt& vakt) {
    laddaSvenskaQtTexter(app);
    svenskaFormatUtanSystemsprak();
    Kalkyl::Typsnitt::ersattWindowsTypsnitt();
    Tangentbordsfokus tangentbordsfokus;

    modGlobalt g;
    g.strProgrammapp = QCoreApplication::applicationDirPath();
    g.strHjalpfil = QDir(g.strProgrammapp).filePath(QStringLiteral("Hjälp/pilkrona.chm"));
    g.lngAntalSkrivare = AntalSkrivare();
    g.intAntalKopior = 1;
    g.iniProgram.setPath(programIniSokvag(g.strProgrammapp));

    QtMeddelanden meddelanden;
    // Told to end by the system, the program closes as Avsluta closes it,
    // after a copy that runs has ended, and asks nothing. It is heard before
    // the first message can come: one of the start (a missing picture) is
    // answered as unanswered, and the program closes instead of entering its
    // loop.
    MDIfrmHuvudmeny* huvudfonster = nullptr;
    Avslutning avslutning(meddelanden, [&huvudfonster] {
        if (huvudfonster)
            huvudfonster->avslutaUtanSvar();
    });
    // Goes before avslutning: what is told later reaches nothing gone.
    QObject mottagare;
    QObject::connect(&vakt, &Signalvakt::mottagen, &mottagare, [&avslutning] { avslutning.begar(); });
    vakt.lyssna();

    frmSplash splash(g.strProgrammapp, meddelanden);
    for (int i = 0; i < 3; ++i)
        app.processEvents();
    splash.show();
    for (int i = 0; i < 3; ++i)
        app.processEvents();

    // The spectator feed outlives the main window: a display still taking what it
    // was last sent gets its moment when the program ends.
    Askadarflode askadarflode(g, meddelanden);
    QtDialoger dialoger;
    MDIfrmHuvudmeny huvudmeny(g, meddelanden, dialoger, askadarflode);
    huvudfonster = &huvudmeny;
    registreraDelsystem(huvudmeny.programdelar());
    meddelanden.setForalder(&huvudmeny);
    huvudmeny.MDIForm_Load(&splash);
    return avslutning.kor();
}
