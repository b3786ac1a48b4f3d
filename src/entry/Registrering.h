#pragma once

class Askadarflode;
class Fonsterregister;

// Result entry's windows: the squad picker (the "&Resultat" command) and the
// result-entry window it opens.
namespace Resultatfonster {
void registrera(Fonsterregister& register_, Askadarflode& flode);
}
