#pragma once

#include <QRect>

// The program's windows and controls are measured in twips, 15 to the pixel,
// as the forms were first laid out; a part of a pixel is dropped. A place is
// always worked out from its own twip position, never by adding pixels up, so
// rows far down a window stand where their twips say.
constexpr int twips(int t) {
    return t / 15;
}

inline QRect twips(int vanster, int topp, int bredd, int hojd) {
    return {twips(vanster), twips(topp), twips(bredd), twips(hojd)};
}
