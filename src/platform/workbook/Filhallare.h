#pragma once

#include "common/Fel.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace Kalkyl {

// Who has a file open for editing, as its lock file and this machine's
// processes tell.
struct Innehavare {
    QString lasfil;          // the lock file beside the file; empty: none
    QString anvandare;       // the user the lock file or the process names
    QString dator;           // the machine the lock file names; empty: this one
    bool datorOkand = false; // a lock file that names no machine (Office's)
    qint64 process = 0;      // the process that has the file open; 0: none seen
    QString program;         // that process's name
    // What the lock file is when it is no plain file ("en namngiven pipe
    // (FIFO)", "en mapp", "en symbolisk länk"): nothing can be read from it,
    // and it stands in the way until the operator removes it.
    QString slag;

    // One sentence for the operator: who, where, and the lock file to remove
    // once the file is closed there.
    QString text() const;
};

// A save refused because another program has the file open.
class FilenOppen : public Fel {
public:
    FilenOppen(const QString& sokvag, Innehavare innehavare);
    const Innehavare& innehavare() const { return m_innehavare; }

private:
    Innehavare m_innehavare;
};

// The lock files spreadsheet programs keep beside a file they have open, and
// whether the file really is open. LibreOffice writes ".~lock.<name>#" (CSV:
// name, login, machine, time, profile) and holds the file open for writing
// while it edits it; it takes no system lock on it. Microsoft Office's owner
// file "~$<name>" names the user only; no Office runs on this machine, so it
// comes from one on another machine that has the file open on a shared
// folder, which cannot be asked. A lock file outlives a program that crashed,
// and travels with a copied folder.
namespace Filhallare {

// The two lock files a file may have, whether they exist or not.
QStringList lasfiler(const QString& sokvag);
// Whether a file name is such a lock file (of any file).
bool arLasfil(const QString& filnamn);

// The holder when the file is open elsewhere: an Office owner file lies beside
// it (whatever it says), a lock file names another machine, a process of this
// machine holds a system lock on the file, or a lock file lies beside it and a
// process of this machine has the file open for writing (the lock file, when
// there is one, tells who). A lock file of another login on this machine
// counts as held unless every process can be seen. Nothing when every lock
// file beside it is stale. A lock file that is no plain file (a pipe, a folder,
// a link) is not opened, since a pipe would hold the program up for good, and
// holds the file (Innehavare::slag): no program of ours made it, nothing tells
// whether the file is in use, and saving would leave it there.
std::optional<Innehavare> oppnadAv(const QString& sokvag);

// Removes LibreOffice's lock file beside the file; for a stale one, once
// oppnadAv() has said nobody holds it. An Office owner file is never removed:
// only its program knows when it is done with the file; nor is anything that
// is no plain file.
void taBortLasfil(const QString& sokvag);

} // namespace Filhallare

} // namespace Kalkyl
