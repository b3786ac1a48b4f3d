#pragma once

class Meddelanden;
class modGlobalt;

// Result entry counts tens, nines, eights ... and inner tens by itself until
// the operator types them by hand; from then on the competition keeps the
// hand-typed counts. Before any result is entered the automatic counting can
// be had back.
namespace AutoRakning {

// Gives the automatic counting back: refused with a message while any shooter
// has a result; otherwise clears the hand-typed marks and inner tens of every
// shooter and the two INI keys, all or nothing, and says so. False when
// refused. Throws Fel when the database or the INI cannot be written; nothing
// has changed then.
bool aterstall(modGlobalt& g, Meddelanden& m);

} // namespace AutoRakning
