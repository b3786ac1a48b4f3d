#include "shell/Installningar.h"

#include "common/IniNamn.h"
#include "common/Konvertering.h"
#include "shell/modGlobalt.h"

namespace Installningar {

namespace {
QString las(const clsIni& ini, const IniNyckel& n) {
    return ini.GetKeyValue(n.sektion, n.nyckel, n.standard);
}

// A whole number outside the range a key may hold reads as the key's default,
// as a missing key does: a hand-edited -5 lanes must not reach the squads.
int inomGranser(int varde, int minst, int storst, const IniNyckel& n) {
    return varde >= minst && varde <= storst ? varde : Konvertering::textTillHeltal(n.standard);
}

// The old runtime's Int() of one character: a digit gives its value, anything else
// is a conversion error.
int siffra(QChar c) {
    return Konvertering::textTillHeltal(QString(c));
}
} // namespace

Filversion lasFilversion(const clsIni& ini) {
    Filversion v;
    const QString gammal = las(ini, Ini::Version);
    if (gammal != QLatin1String("0")) {
        if (gammal.isEmpty())
            return v;
        v.major = siffra(gammal.at(0));
        v.minor = gammal.size() > 1 ? siffra(gammal.at(1)) : 0;
        v.build = gammal.size() > 2 ? siffra(gammal.back()) : 0;
        return v;
    }
    v.major = Konvertering::textTillHeltal(las(ini, Ini::MajorVersion));
    v.minor = Konvertering::textTillHeltal(las(ini, Ini::MinorVersion));
    v.build = Konvertering::textTillHeltal(las(ini, Ini::BuildVersion));
    return v;
}

bool versionGodkand(const Filversion& v) {
    if (v.major < 1)
        return false;
    if (v.major == 1 && (v.minor < 0 || (v.minor == 0 && v.build < 7)))
        return false;
    return true;
}

Menyval LaddaInstallningar(modGlobalt& g) {
    using namespace Konvertering;
    const clsIni& ini = g.iniTavling;
    Menyval val;
    g.blnSportskytte = textTillJaNej(las(ini, Ini::Sportskytte));
    g.blnNationellt = textTillJaNej(las(ini, Ini::Nationellt));
    g.blnMix = textTillJaNej(las(ini, Ini::Mix));
    g.intSkjutlagsstorlek =
        inomGranser(textTillHeltal(las(ini, Ini::Skjutlagsstorlek)), 1, 999, Ini::Skjutlagsstorlek);
    g.blnTolkmaskinGrundomg = textTillJaNej(las(ini, Ini::TolkmaskinIGrundomg));
    g.blnEjAuto1098 = textTillJaNej(las(ini, Ini::EjAuto1098));
    g.blnFleraTavlingar = textTillJaNej(las(ini, Ini::FleraTavlingar));
    g.blnSkjutlagslistaMedResultat = textTillJaNej(las(ini, Ini::SkjutlagslistaMedResultat));
    g.strTavlingsdatum = las(ini, Ini::Datum);
    g.sngInnertia = textTillDecimal(las(ini, Ini::Innertia));
    if (!(g.sngInnertia > 10 && g.sngInnertia < 11))
        g.sngInnertia = textTillDecimal(Ini::Innertia.standard);
    val.vandringspris = textTillJaNej(las(ini, Ini::VandringsprisPa));
    val.lagtavling = lagtavlingPa(las(ini, Ini::Lagtavling));
    if (val.lagtavling)
        g.blnLagtavling = true; // only ever set here; a clear turns it off
    return val;
}

} // namespace Installningar
