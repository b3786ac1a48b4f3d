#pragma once

namespace Kalkyl {
class Omrade;
}

// How the lists write their cells, so that a score looks the same in every
// list.
namespace Cellregler {

// What a score below full marks gets: no colour of its own, or black set
// outright (a series cell of the result and prize lists).
enum class Annars { Ofargad, Svart };

// A score in its cell: red at full marks (a series of 50, a pair of 100, a
// total of 400 or 600), bold when asked.
void poang(const Kalkyl::Omrade& cell, int varde, int fullt, bool fet = false,
           Annars annars = Annars::Ofargad);

} // namespace Cellregler
