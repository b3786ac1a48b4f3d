#pragma once

class Askadarflode;
class Fonsterregister;
class Fonstervard;
class QObject;

namespace Askadarskarm {
// Registers the link dialog and the squad-on-screen dialog, both working on the
// program's one spectator feed, and ties the feed to the main menu (the menu
// side lives as long as agare, or the feed when there is none).
void registrera(Fonsterregister& register_, Fonstervard& fonster, Askadarflode& flode,
                QObject* agare = nullptr);
} // namespace Askadarskarm
