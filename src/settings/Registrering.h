#pragma once

struct Programdelar;

namespace Installningsfonster {
// Registers the settings form.
void registrera(const Programdelar& delar);
} // namespace Installningsfonster
