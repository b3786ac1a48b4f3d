#pragma once

class Askadarflode;
class Fonstervard;

// What every part's registration function is given: the window host to file
// its windows with, and the program's one spectator feed, which result entry
// and the spectator menus work on. Every part registers with the same
// signature:
//
//     namespace Installningsfonster { void registrera(const Programdelar& p); }
struct Programdelar {
    Fonstervard& fonster;
    Askadarflode& askadarflode;
};
