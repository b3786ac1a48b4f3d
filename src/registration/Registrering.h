#pragma once

struct Programdelar;

namespace Registreringsfonster {
// Registers the registration window, the shooter search and team entry.
void registrera(const Programdelar& delar);
} // namespace Registreringsfonster
