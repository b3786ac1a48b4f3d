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

// What a call throws; number 0 and no description when it throws nothing.
template <class F> Fel fangaFel(F&& f) {
    try {
        f();
    } catch (const Fel& fel) {
        return fel;
    }
    return Fel(0, QString());
}
