#pragma once

struct Programdelar;

// Result entry's windows: the squad picker (the "&Resultat" command) and the
// result-entry window it opens.
namespace Resultatfonster {
void registrera(const Programdelar& delar);
}
