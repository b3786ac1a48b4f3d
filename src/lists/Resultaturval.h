#pragma once

#include "common/Poster.h"
#include "competition/Klassmodell.h"

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

// A chosen class with its shooters ranked and placed, ready to be written.
struct Klassblock {
    ValdKlass vald;
    Klassslag slag = Klassslag::Nationell; // never Okand
    QList<Skytt> skyttar;                  // in ranked order
    QList<int> platser;                    // one per shooter: 1, 2, 2, 4
};

// The shooters of one chosen class, read from the open competition, ranked and
// placed. A class's kind (national, or sport by its shot count) decides its
// chain; a main class ranks the shooters of all its member classes as one class.
class Resultaturval {
public:
    Resultaturval(const modGlobalt& g); // the open competition (g.cnnTavling, kind flags)
    // The chosen classes' shooters (in the round when omg is given), read in
    // one pass, each class ranked and placed; a class of no known kind or
    // without shooters is left out, the others keep their order. The screen
    // and the workbook both take their blocks from here. Throws Fel on a
    // database failure.
    QList<Klassblock> valjUt(const QList<ValdKlass>& valda, std::optional<int> omg) const;
    // One chosen class; nullopt when it is left out.
    std::optional<Klassblock> valjUt(const ValdKlass& k, std::optional<int> omg) const;

private:
    const modGlobalt& m_g;
};
