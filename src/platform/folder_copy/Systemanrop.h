#pragma once

#include <sys/types.h>
#include <time.h>

namespace Mappkopia {

// The system calls through which the copy and the undo change the file system
// and flush it. The program uses the system's own; a test puts others in to
// record the order of the calls, or to make one of them fail or stop as a file
// system or a kill would. A database is the exception: SQLite writes its
// snapshot itself, into the staging folder that the copy then flushes.
class Systemanrop {
public:
    virtual ~Systemanrop();
    virtual int open(const char* sokvag, int flaggor, mode_t lage);
    virtual ssize_t write(int fd, const void* data, size_t antal);
    virtual int close(int fd);
    virtual int fsync(int fd);
    virtual int syncfs(int fd);
    virtual int link(const char* fran, const char* till);
    virtual int rename(const char* fran, const char* till);
    virtual int mkdir(const char* sokvag, mode_t lage);
    virtual int unlink(const char* sokvag);
    virtual int rmdir(const char* sokvag);
    virtual int fchmod(int fd, mode_t lage);
    virtual int chmod(const char* sokvag, mode_t lage);
    virtual int futimens(int fd, const struct timespec tider[2]);
    virtual int utimensat(const char* sokvag, const struct timespec tider[2]);
    virtual ssize_t copy_file_range(int in, int ut, size_t antal);
    // The clone of a whole file (FICLONE) on a file system that shares blocks.
    virtual int klona(int ut, int in);
};
// Puts anrop in use for every copy and undo from now on (nullptr: the
// system's own) and answers the calls used before.
Systemanrop* anvandSystemanrop(Systemanrop* anrop);

} // namespace Mappkopia
