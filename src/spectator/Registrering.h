#pragma once

struct Programdelar;

namespace Askadarskarm {
// Registers the link dialog and the squad-on-screen dialog, both working on the
// program's one spectator feed, and ties the feed to the main menu (the menu
// side lives as long as the window host).
void registrera(const Programdelar& delar);
} // namespace Askadarskarm
