#pragma once

struct Programdelar;

// The result lists' windows: the class-choice dialog of the result list (for
// printer, file and screen) and the on-screen list window.
namespace Resultatlistor {
void registrera(const Programdelar& delar);
}
