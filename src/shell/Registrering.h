#pragma once

struct Programdelar;

namespace Skal {
// Registers the shell's own windows: the new-competition dialog and the About box.
void registrera(const Programdelar& delar);
} // namespace Skal
