#pragma once

class Fonsterregister;

namespace Skal {
// Registers the shell's own windows: the new-competition dialog and the About box.
void registrera(Fonsterregister& register_);
} // namespace Skal
