#pragma once

#include "common/Fel.h"

// The error number a call throws, 0 when it throws none.
template <class F> int felnummer(F&& f) {
    try {
        f();
    } catch (const Fel& fel) {
        return fel.nummer();
    }
    return 0;
}
