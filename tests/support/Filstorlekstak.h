#pragma once

#include <csignal>
#include <sys/resource.h>

// Runs a call with the largest file this process may write set to `tak` bytes, as
// on a disk about to fill up: writes past it fail with EFBIG instead of killing
// the process. Returns what the call returns.
template <class F> auto medFilstorlekstak(rlim_t tak, F&& anrop) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit forut{};
    getrlimit(RLIMIT_FSIZE, &forut);
    rlimit nytt = forut;
    nytt.rlim_cur = tak;
    setrlimit(RLIMIT_FSIZE, &nytt);
    const auto svar = anrop();
    setrlimit(RLIMIT_FSIZE, &forut);
    std::signal(SIGXFSZ, SIG_DFL);
    return svar;
}
