#pragma once

class Fonsterregister;

namespace Registreringsfonster {
// Registers the registration window, the shooter search and team entry.
void registrera(Fonsterregister& register_);
} // namespace Registreringsfonster
