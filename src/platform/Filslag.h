#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// What lies where the program expects a plain file that it made or reads: a
// lock, a list's lock file, a database, an INI. What is found there may come
// from another computer, a damaged stick or a mistake, so it is looked at
// without following a link at the end of the path and without opening it: a
// named pipe opened for reading waits for a writer that never comes.
enum class Filslag {
    Saknas, // nothing there
    Fil,    // a plain file
    Mapp,
    Lank, // a symbolic link, whatever it leads to
    Pipe, // a named pipe (FIFO)
    Socket,
    Enhet, // a device
    Okant, // it could not be looked at (a folder on the way that may not be read)
};

Filslag filslag(const QString& sokvag);

// What such a thing is called in a message: "en mapp", "en symbolisk länk",
// "en namngiven pipe (FIFO)", "en socket", "en enhetsfil"; empty for a plain
// file, nothing, or what could not be looked at.
QString filslagText(Filslag slag);

// filslagText of what lies at sokvag when it is there and is no plain file;
// empty otherwise.
QString ovanligPost(const QString& sokvag);

// Reads the plain file at sokvag, at most max bytes from its start (all of it
// when max < 0), opened so that nothing found there can hold the program up or
// lead it elsewhere: a pipe or device is never waited on, anything but a plain
// file is refused once opened (so a swap between a look and the open is
// caught too), and a link at the end of the path is refused unless foljLank.
// nullopt with errno set when it was not read: ELOOP for a link, EISDIR for a
// folder, EINVAL for anything else that is no plain file.
std::optional<QByteArray> lasVanligFil(const QString& sokvag, qint64 max = -1, bool foljLank = false);
