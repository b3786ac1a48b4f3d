#pragma once

#include <QLockFile>
#include <memory>

// A competition's lock as this program holds it (Tavling::lasTavling). The
// program keeps count of the locks it holds: a lock file that names this very
// process and is not among them is one it could not remove (its medium went
// away), and never keeps it out.
struct TavlingslasSlapp {
    void operator()(QLockFile* las) const;
};
using Tavlingslas = std::unique_ptr<QLockFile, TavlingslasSlapp>;
