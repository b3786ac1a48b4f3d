#pragma once

class modGlobalt;
class clsIni;

// Reading a competition's INI into the open-competition state.
namespace Installningar {

struct Filversion {
    int major = 0;
    int minor = 0;
    int build = 0;
};

// The version a competition file was made with: the old three-digit Version key
// when present, otherwise MajorVersion/MinorVersion/BuildVersion.
Filversion lasFilversion(const clsIni& ini);
// Files older than 1.0.7 cannot be opened.
bool versionGodkand(const Filversion& v);

// What the loading found that only chooses menu items.
struct Menyval {
    bool vandringspris = false; // Vandringspris/Vandringspris is yes
    bool lagtavling = false;    // Lag/Lagtävling is not "0"
};

// Loads the settings of the competition INI (iniTavling must point at it) into the
// state, in the order the program has always read them. Throws Fel (13, 6) on a
// value that does not convert; what was loaded before it stays.
Menyval LaddaInstallningar(modGlobalt& g);

} // namespace Installningar
