#pragma once

#include "lists/frmValResSkarmGrund.h"

struct Programdelar;

// The result lists' windows: the class-choice dialog of the result list (for
// printer, file and screen) and the on-screen list window.
namespace Resultatlistor {
void registrera(const Programdelar& delar);
// The same, with the output that writes a printed or saved list's workbook.
void registrera(const Programdelar& delar, Arbetsboksutskrift arbetsbok);
} // namespace Resultatlistor
