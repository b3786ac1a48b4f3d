#pragma once

class Fonsterregister;

namespace Installningsfonster {
// Registers the settings form.
void registrera(Fonsterregister& register_);
} // namespace Installningsfonster
