#pragma once

#include "common/Poster.h"

#include <QList>

// One class chosen in the class-choice dialog, carried whole into the run: a
// class is never looked up again by its code, so a main class named like an
// ordinary class lists its own members.
struct ValdKlass {
    Klass klass;             // a class-table row, or a main class (kod = HuvudKlassnamn)
    bool huvudklass = false; // a main class of SammanslagningKlasser
};

// How a class is ranked: its kind decides the key chain.
enum class Klassslag { Nationell, Sport60, Sport40 };

// A chosen class with its shooters ranked and placed, ready to be written.
struct Klassblock {
    ValdKlass vald;
    Klassslag slag = Klassslag::Nationell;
    QList<Skytt> skyttar; // in ranked order
    QList<int> platser;   // one per shooter: 1, 2, 2, 4
};
