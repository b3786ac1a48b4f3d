#pragma once

#include <QString>
#include <optional>

class modGlobalt;

// The settings of the settings form that live in the INI files: read when the
// form opens, shown and edited in its tabs, written back when it closes. The
// texts are kept as typed; the close checks decide what may be written.
struct Installningsvarden {
    enum class Modell { Sam4000, Rika };
    enum class Layout { Staende, Liggande };
    enum class Vilka { Alla, Valda };

    // Lag
    bool lagtavling = false;
    QString lagAntalSkyttar, lagAntalSkott;
    // Final
    bool decimalerIFinal = false;
    // Tolkmaskin
    bool tolkmaskinIFinalen = false;
    bool tolkmaskinIGrundomg = false;
    QString comport = QStringLiteral("1");
    Modell modell = Modell::Sam4000;
    QString innertia = QStringLiteral("10,3");
    bool decimalerRika = false;
    // Utskrifter
    bool skjutlagslistaMedResultat = true;
    bool forklaringar = false; // loaded only when the competition uses rounds
    QString vansterMarginal = QStringLiteral("1,2");
    QString hogerMarginal = QStringLiteral("0");
    Layout layout = Layout::Liggande;
    // Resultat: "1" five-shot series, "0" shot by shot, anything else neither.
    std::optional<bool> femskottsserier;
    // Allmänt, and the program INI's competitions folder
    QString datum;
    QString tavlingskatalog;
    // Vandringspris
    bool vandringspris = false;
    QString vandringsprisNamn;
    QString antalSkottVandring = QStringLiteral("40");
    std::optional<Vilka> vilka;
};

namespace Installningar {

// Reads the form's settings from the competition INI (and the competitions
// folder from the program INI) with the defaults the form has always used.
// Throws Fel 13 on a yes/no value that is no yes/no.
Installningsvarden las(const modGlobalt& g);

// The port check of the close: a port number from 1 to 9.
bool comportGodkand(const QString& text);
// The inner-ten check: a decimal above 10 and below 11, written with "," or ".".
std::optional<double> innertiaGodkand(const QString& text);
// A margin or a prize shot count that can be written: not empty.
bool ejTom(const QString& text);

// Writes the settings back: the competitions folder in the program INI, then
// the competition INI keys in the order the form has always written them, in
// one rewrite; and sets the open-competition state from what was accepted.
// Values that cannot be used (an empty or out-of-range inner ten, empty
// margins, an empty prize shot count) keep what is stored. Throws Fel 75 with
// the INI's reason when a file cannot be written; the competition's INI and
// the state are then as they were.
void skriv(modGlobalt& g, const Installningsvarden& v);

} // namespace Installningar
