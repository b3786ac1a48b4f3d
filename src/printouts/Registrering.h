#pragma once

struct Programdelar;

// The printouts' windows and builders: the squad list, the club list, the team
// results list and the challenge-prize list.
namespace Utskrifter {
void registrera(const Programdelar& delar);
} // namespace Utskrifter
