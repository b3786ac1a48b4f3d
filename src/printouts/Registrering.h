#pragma once

struct Programdelar;

// The printouts' windows and builders: the squad list, the club list, the team
// results list and the challenge-prize list.
namespace Utskrifter {
void registrera(const Programdelar& delar);
// The squad list's dialog.
void registreraSkjutlagslista(const Programdelar& delar);
// The challenge-prize list's builder.
void registreraVandringsprislista(const Programdelar& delar);
// The team results list's dialog.
void registreraLagutskrift(const Programdelar& delar);
// The club list's dialog.
void registreraForeningslista(const Programdelar& delar);
} // namespace Utskrifter
