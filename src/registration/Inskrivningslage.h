#pragma once

#include <QString>

// Where the registration window's shooter part stands, and what that allows:
// every button of the window and the main menu's shooter search follow from
// this one value, which the window changes at each step and then applies.
//
// The shooter part is always in one of five states: a free lane (idle), a new
// shooter being typed, a saved shooter shown, the shown shooter being edited,
// or a copy of him being entered. While an entry is under way (new, edit,
// copy) the squads cannot be added or deleted, since the entry is bound to a
// squad by its number; switching squads stays possible, as moving or copying
// a shooter to another squad needs it. The search is off while a shooter is
// typed or edited.
struct Inskrivningslage {
    enum class Lage { Ledig, Ny, Visad, Andrar, Kopierar };

    Lage lage = Lage::Ledig;
    // The shooter shown or edited; 0 in the other states (a new or copied
    // shooter has no key until he is saved).
    qint64 lopnummer = 0;
    // A new shooter has a lane: typed, or picked in the grid. Saving needs one.
    bool banaSkriven = false;
    int antalSkjutlag = 1;

    bool pagarInmatning() const { return lage == Lage::Ny || lage == Lage::Andrar || lage == Lage::Kopierar; }

    struct Knappar {
        bool spara = false;
        bool andra = false;
        // Deletes the shown shooter; cancels a new or copied one.
        bool taBort = false;
        // Clears a shown shooter from the fields; cancels an edit.
        bool tomFalt = false;
        bool kopiera = false;
        bool nyttSkjutlag = false;
        bool infogaSkjutlag = false;
        bool taBortSistaSkjutlag = false;
        bool taBortValtSkjutlag = false;
        // The main menu's shooter search.
        bool sokSkytt = false;
        QString taBortText;
        QString tomFaltText;

        bool operator==(const Knappar&) const = default;
    };
    Knappar knappar() const;

    // The steps that change the state. Each leaves what it does not concern
    // (the squad count) as it was.
    void visaLedig();
    void visa(qint64 lopnummer);
    void borjaNy();
    void andra();
    void kopiera();
};
