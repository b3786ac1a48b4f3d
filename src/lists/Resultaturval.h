#pragma once

#include "common/Poster.h"

#include <QList>
#include <optional>

class modGlobalt;

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

// The shooters of one chosen class, read from the open competition, ranked and
// placed. A class's kind (national, or sport by its shot count) decides its
// chain; a main class ranks the shooters of all its member classes as one class.
class Resultaturval {
public:
    Resultaturval(const modGlobalt& g); // the open competition (g.cnnTavling, kind flags)
    // The class's shooters selected (and in the round when omg is given),
    // ranked and placed; nullopt when the class is left out (kind unknown,
    // no shooters). Throws Fel on a database failure.
    std::optional<Klassblock> valjUt(const ValdKlass& k, std::optional<int> omg) const;

private:
    const modGlobalt& m_g;
};
