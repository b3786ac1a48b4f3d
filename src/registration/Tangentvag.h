#pragma once

#include <functional>

// Where a key typed in the registration window goes: which field gets the
// focus on Enter, which fields typing opens up, and which keys a field refuses.
// The window sorts the key and names the field; this says what follows, so the
// whole keyboard of the window is one table that tests read row by row.
namespace Tangentvag {

// The fields and buttons of the window that keys reach or go to.
enum class Falt {
    Ingen,
    Startnummer,
    TavlingsOmg,
    Namn,
    Efternamn,
    Forening,
    Klass,
    Licensnr,
    SkyttekortNr,
    Fodelsear,
    Bana,
    Vandringspris,
    Spara,
    Skjuttid,
    Rutnat, // the squad's grid of lanes
};

// A key as the rules tell keys apart.
enum class Tangent {
    Enter,
    Siffra,
    Backsteg,
    Tecken, // any other key that types (a letter, a sign, pasting)
    Annan,  // a key that types nothing: arrows, Delete, Home
};

// What the window is like when the key comes.
struct Lage {
    bool pagarInmatning = false;       // a shooter is being typed, edited or copied
    bool vandringsprisForHand = false; // the prize box is ticked by hand
    bool fleraTavlingar = false;       // rounds are in use
    std::function<bool(Falt)> pa;      // whether a field or button takes input now
};

// What typing opens up before the key goes on into its field.
enum class Forst {
    Inget,
    NySkytt,     // typing a first name on a free lane starts a new shooter
    ForeningPa,  // the club field comes on
    KlassPa,     // the class field comes on
    Klassfalt,   // what a typed class brings on (the national fields)
    BanaPa,      // the lane field comes on
    BanaSkriven, // a lane has been typed: the state says which buttons work
};

struct Steg {
    enum class Gor {
        Slapp,   // the key goes on to the field
        Ata,     // the key is taken and does nothing more
        Pip,     // the key is refused with a beep
        Nasta,   // the focus goes on as Tab takes it
        Till,    // the focus goes to `till`, as Tab brings it there
        ValjRad, // the marked lane of the grid is chosen
    };
    Gor gor = Gor::Slapp;
    Falt till = Falt::Ingen;
    Forst forst = Forst::Inget;
    friend bool operator==(const Steg&, const Steg&) = default;
};

// The rule for a key in a field. Enter goes on as Tab does, each field to the
// next one the operator fills in; typing in a field opens the next one; the
// number fields (start number, birth year, lane) take digits and Backspace
// only.
Steg steg(Falt falt, Tangent tangent, const Lage& lage);

} // namespace Tangentvag
