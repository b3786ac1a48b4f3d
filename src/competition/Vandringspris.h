#pragma once

#include <QString>

class Databas;
class Meddelanden;
class modGlobalt;

// The challenge prize: per shooter, Skyttar.VandringsSerier holds the number of
// five-shot series that count for the prize (0: not in it). The settings keep
// that field in step with the number of shots and with who takes part. The
// placeholder shooter of the free lanes never gets series.
namespace Vandringspris {

constexpr int MinstaAntalSkott = 10;
// The most shots a prize can count in each kind of competition.
constexpr int TakNationellt = 40;
constexpr int TakSportskytte = 60;

// Series for a number of shots: shots / 5 to the nearest whole number, halves
// to even (40 gives 8, 42 gives 8, 43 gives 9, 60 gives 12).
int serier(int skott);

// Some real shooter has series above 0.
bool serierFinns(const Databas& db);
// The highest series count among the real shooters; 0 when none.
int hogstaSerier(const Databas& db);
// Registered shooters, the placeholder not counted.
int antalSkyttar(const Databas& db);

struct Skottkontroll {
    enum class Utfall {
        Godkand, // the number stands
        Tom,     // nothing typed (or no number): refused
        ForFa,   // below 10: refused
        Bytt,    // more than the classes or the kind allow: replaced by the most allowed
    };
    Utfall utfall = Utfall::Tom;
    int skott = 0; // the shots that count from now on (Godkand, Bytt)
};
// The check of the shots box against the kind's ceiling (40 national, 60 sport
// shooting) and the longest class of the competition's class table; without a
// class only the ceiling limits. The messages go to m when it is given.
Skottkontroll kontrolleraSkott(const modGlobalt& g, const QString& text, Meddelanden* m);

// The number of shots changed while shooters had series (serierFanns, as the
// tab found them when it was loaded): every shooter at the highest count gets
// the count of the new shots. Nothing happens when that highest count is 0.
void bytAntalSkott(Databas& db, bool serierFanns, int skott);

// The prize is switched off. With series present the operator is asked, and Yes
// zeroes every shooter's series; false when the operator said No (the prize
// stays on).
bool stangAv(Databas& db, Meddelanden& m, bool serierFanns);

// What the tab holds when the form closes.
struct Stangningslage {
    bool pa = false;          // the prize ticked
    bool alla = false;        // "Alla" chosen
    bool serierFanns = false; // series present when the tab was loaded
    QString gammalVilka;      // the Vilka text the INI held before the close
    QString antalSkott;       // the shots that count
};
enum class Stangning {
    Inget,     // nothing written to Skyttar
    Skrivet,   // every shooter got the series of the shots
    ValdaIgen, // the operator did not want "Alla": "Valda" is chosen again
};
// The closing update of the shooters' series: the first switch-on with "Alla"
// (and at least one shooter) gives everyone the series; going from "Valda" to
// "Alla" with series present asks first. An empty shots text writes nothing.
Stangning uppdateraVidStangning(Databas& db, Meddelanden& m, const Stangningslage& l);

// The same update in two steps, so that the settings it belongs with can be
// saved between them and nothing is written when they cannot: the decision,
// which asks where it must and writes nothing, and the write.
struct Stangningsbeslut {
    Stangning utfall = Stangning::Inget;
    int serier = 0; // every shooter's series, when utfall is Skrivet
};
Stangningsbeslut beslutaVidStangning(const Databas& db, Meddelanden& m, const Stangningslage& l);
void verkstall(Databas& db, const Stangningsbeslut& beslut);

} // namespace Vandringspris
