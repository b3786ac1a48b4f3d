#include "settings/Installningsvarden.h"

#include "common/Fel.h"
#include "common/IniNamn.h"
#include "common/Konvertering.h"
#include "platform/clsIni.h"
#include "shell/modGlobalt.h"

#include <cmath>

namespace Installningar {

namespace {

QString las(const clsIni& ini, const IniNyckel& n, const QString& standard) {
    return ini.GetKeyValue(n.sektion, n.nyckel, standard);
}
QString las(const clsIni& ini, const IniNyckel& n) {
    return las(ini, n, n.standard);
}
// A check box shows the key's number: 0 unticked, anything else ticked.
bool kryss(const clsIni& ini, const IniNyckel& n, const QString& standard) {
    return Konvertering::textTillJaNej(las(ini, n, standard));
}
QString kryss(bool pa) {
    return pa ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

Installningsvarden las(const modGlobalt& g) {
    const clsIni& ini = g.iniTavling;
    Installningsvarden v;
    const QString nej = QStringLiteral("0");
    v.lagtavling = kryss(ini, Ini::Lagtavling, nej);
    v.decimalerIFinal = kryss(ini, Ini::DecimalerIFinalen, nej);
    v.tolkmaskinIFinalen = kryss(ini, Ini::TolkmaskinIFinalen, nej);
    v.tolkmaskinIGrundomg = kryss(ini, Ini::TolkmaskinIGrundomg, nej);
    v.comport = las(ini, Ini::Comport);
    v.modell = las(ini, Ini::Model) == QLatin1String("RIKA") ? Installningsvarden::Modell::Rika
                                                             : Installningsvarden::Modell::Sam4000;
    v.innertia = las(ini, Ini::Innertia);
    v.decimalerRika = kryss(ini, Ini::DecimalerRika, nej);

    const QString fem = las(ini, Ini::Femskottsserier);
    if (fem == QLatin1String("1"))
        v.femskottsserier = true;
    else if (fem == QLatin1String("0"))
        v.femskottsserier = false;

    v.skjutlagslistaMedResultat = kryss(ini, Ini::SkjutlagslistaMedResultat, QStringLiteral("1"));
    v.forklaringar = g.blnFleraTavlingar && kryss(ini, Ini::Forklaringar, Ini::Forklaringar.standard);
    v.datum = las(ini, Ini::Datum);
    v.tavlingskatalog = g.iniProgram.GetKeyValue(Ini::Tavlingskatalog.sektion, Ini::Tavlingskatalog.nyckel,
                                                 g.programmappMedAvslut());

    v.vandringspris = kryss(ini, Ini::VandringsprisPa, nej);
    v.vandringsprisNamn = las(ini, Ini::VandringsprisTavlingsnamn);
    v.antalSkottVandring = las(ini, Ini::VandringsprisAntalSkott);
    const QString vilka = las(ini, Ini::VandringsprisVilka);
    if (vilka == QLatin1String("Alla"))
        v.vilka = Installningsvarden::Vilka::Alla;
    else if (vilka == QLatin1String("Valda"))
        v.vilka = Installningsvarden::Vilka::Valda;

    v.vansterMarginal = las(ini, Ini::VansterMarginal);
    v.hogerMarginal = las(ini, Ini::HogerMarginal);
    bool ok = false;
    const int layout = las(ini, Ini::Layout).trimmed().toInt(&ok);
    if (ok && layout == 1)
        v.layout = Installningsvarden::Layout::Staende;
    return v;
}

bool comportGodkand(const QString& text) {
    if (text.trimmed().isEmpty())
        return false;
    try {
        const double tal = Konvertering::textTillDecimal(text);
        const double hel = std::floor(tal);
        return hel >= 1 && hel <= 9;
    } catch (const Fel&) {
        return false;
    }
}

std::optional<double> innertiaGodkand(const QString& text) {
    if (text.trimmed().isEmpty())
        return std::nullopt;
    try {
        const double varde = Konvertering::textTillDecimal(text);
        if (varde > 10 && varde < 11)
            return varde;
    } catch (const Fel&) {
    }
    return std::nullopt;
}

bool ejTom(const QString& text) {
    return !text.trimmed().isEmpty();
}

void skriv(modGlobalt& g, const Installningsvarden& v) {
    clsIni& ini = g.iniTavling;
    // What cannot be used keeps what the file holds.
    const auto behall = [&](const IniNyckel& n, const QString& ny, bool godkand) {
        return godkand ? ny : las(ini, n);
    };
    const std::optional<double> innertia = innertiaGodkand(v.innertia);
    const QString vansterMarginal = v.vansterMarginal.trimmed();
    const QString hogerMarginal = v.hogerMarginal.trimmed();
    const QString antalSkott = v.antalSkottVandring.trimmed();
    const auto post = [](const IniNyckel& n, const QString& varde) {
        return clsIni::Post{n.sektion, n.nyckel, varde};
    };
    QString vilka;
    if (v.vilka == Installningsvarden::Vilka::Alla)
        vilka = QStringLiteral("Alla");
    else if (v.vilka == Installningsvarden::Vilka::Valda)
        vilka = QStringLiteral("Valda");

    // The competitions folder first: when that write fails, nothing of the
    // competition has changed, and when the competition's fails, the folder
    // written is harmless to write again.
    if (!g.iniProgram.WriteKey(Ini::Tavlingskatalog.sektion, Ini::Tavlingskatalog.nyckel, v.tavlingskatalog))
        throw Fel(Felnummer::SokvagsAtkomstfel, g.iniProgram.senasteFel());
    const bool skrevs = ini.WriteKeys({
        post(Ini::Lagtavling, kryss(v.lagtavling)),
        post(Ini::LagAntalSkyttar, v.lagAntalSkyttar),
        post(Ini::LagAntalSkott, v.lagAntalSkott),
        post(Ini::Femskottsserier, kryss(v.femskottsserier.value_or(false))),
        post(Ini::DecimalerIFinalen, kryss(v.decimalerIFinal)),
        post(Ini::TolkmaskinIFinalen, kryss(v.tolkmaskinIFinalen)),
        post(Ini::TolkmaskinIGrundomg, kryss(v.tolkmaskinIGrundomg)),
        post(Ini::Comport, v.comport),
        post(Ini::Innertia, behall(Ini::Innertia, v.innertia, innertia.has_value())),
        post(Ini::DecimalerRika, kryss(v.decimalerRika)),
        post(Ini::Model, v.modell == Installningsvarden::Modell::Rika ? QStringLiteral("RIKA")
                                                                      : QStringLiteral("SAM 4000")),
        post(Ini::Settings, Ini::Settings.standard),
        post(Ini::SkjutlagslistaMedResultat, kryss(v.skjutlagslistaMedResultat)),
        post(Ini::Forklaringar, kryss(v.forklaringar)),
        post(Ini::VansterMarginal, behall(Ini::VansterMarginal, vansterMarginal, ejTom(vansterMarginal))),
        post(Ini::HogerMarginal, behall(Ini::HogerMarginal, hogerMarginal, ejTom(hogerMarginal))),
        post(Ini::Layout,
             v.layout == Installningsvarden::Layout::Staende ? QStringLiteral("1") : QStringLiteral("2")),
        post(Ini::Datum, v.datum),
        post(Ini::VandringsprisPa, kryss(v.vandringspris)),
        post(Ini::VandringsprisTavlingsnamn, v.vandringsprisNamn.trimmed()),
        post(Ini::VandringsprisAntalSkott,
             behall(Ini::VandringsprisAntalSkott, antalSkott, ejTom(antalSkott))),
        post(Ini::VandringsprisVilka, vilka),
    });
    if (!skrevs)
        throw Fel(Felnummer::SokvagsAtkomstfel, ini.senasteFel());

    if (innertia)
        g.sngInnertia = *innertia;
    g.strTavlingsdatum = v.datum;
    g.blnLagtavling = v.lagtavling;
    g.blnTolkmaskinGrundomg = v.tolkmaskinIGrundomg;
    g.blnSkjutlagslistaMedResultat = v.skjutlagslistaMedResultat;
}

} // namespace Installningar
