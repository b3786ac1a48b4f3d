#pragma once

#include <QString>

// Every section and key of the program INI (Pilkrona.ini beside the program) and
// of a competition INI (<name>.ini in the competition folder), with the default
// that a read gives when the key is missing. Where a reader needs another default
// it says so at the call.
struct IniNyckel {
    QString sektion;
    QString nyckel;
    QString standard;
};

namespace Ini {

inline const QString ProgramIniNamn = QStringLiteral("Pilkrona.ini");

namespace Sektion {
inline const QString Sokvagar = QStringLiteral("Sökvägar");
inline const QString ManuellaVal = QStringLiteral("ManuellaVal");
inline const QString Allmant = QStringLiteral("Allmänt");
inline const QString Final = QStringLiteral("Final");
inline const QString Resultat = QStringLiteral("Resultat");
inline const QString Tolkmaskin = QStringLiteral("Tolkmaskin");
inline const QString Utskrifter = QStringLiteral("Utskrifter");
inline const QString Vandringspris = QStringLiteral("Vandringspris");
inline const QString Lag = QStringLiteral("Lag");
inline const QString Debug = QStringLiteral("Debug");
inline const QString Askadarskarm = QStringLiteral("Åskådarskärm");
} // namespace Sektion

// Program INI, Sökvägar. Filnamn1 (newest) .. Filnamn5: see filnamn().
inline QString filnamnNyckel(int i) {
    return QStringLiteral("Filnamn%1").arg(i);
}
inline IniNyckel filnamn(int i) {
    return {Sektion::Sokvagar, filnamnNyckel(i), QString()};
}
constexpr int AntalSenasteFiler = 5;
// The default is the program folder with a trailing separator; readers supply it.
inline const IniNyckel Tavlingskatalog{Sektion::Sokvagar, QStringLiteral("Tävlingskatalog"), QString()};
inline const IniNyckel Exportkatalog{Sektion::Sokvagar, QStringLiteral("Exportkatalog"), QString()};

// Program INI, ManuellaVal.
inline const IniNyckel LagsortVal{Sektion::ManuellaVal, QStringLiteral("LagsortVal"),
                                  QStringLiteral("False")};

// Competition INI, Allmänt.
inline const IniNyckel Version{Sektion::Allmant, QStringLiteral("Version"), QStringLiteral("0")};
inline const IniNyckel MajorVersion{Sektion::Allmant, QStringLiteral("MajorVersion"), QStringLiteral("0")};
inline const IniNyckel MinorVersion{Sektion::Allmant, QStringLiteral("MinorVersion"), QStringLiteral("0")};
inline const IniNyckel BuildVersion{Sektion::Allmant, QStringLiteral("BuildVersion"), QStringLiteral("0")};
inline const IniNyckel Sportskytte{Sektion::Allmant, QStringLiteral("Sportskytte"), QStringLiteral("True")};
inline const IniNyckel Nationellt{Sektion::Allmant, QStringLiteral("Nationellt"), QStringLiteral("False")};
inline const IniNyckel Mix{Sektion::Allmant, QStringLiteral("Mix"), QStringLiteral("False")};
inline const IniNyckel Skjutlagsstorlek{Sektion::Allmant, QStringLiteral("Skjutlagsstorlek"),
                                        QStringLiteral("10")};
inline const IniNyckel FleraTavlingar{Sektion::Allmant, QStringLiteral("Flera tävlingar"),
                                      QStringLiteral("False")};
inline const IniNyckel Datum{Sektion::Allmant, QStringLiteral("Datum"), QString()};
inline const IniNyckel AntalSkjutlag{Sektion::Allmant, QStringLiteral("Antal skjutlag"), QStringLiteral("1")};

// Competition INI, Final and Resultat.
inline const IniNyckel DecimalerIFinalen{Sektion::Final, QStringLiteral("Decimaler i finalen"),
                                         QStringLiteral("0")};
inline const IniNyckel Femskottsserier{Sektion::Resultat, QStringLiteral("Femskottsserier"),
                                       QStringLiteral("True")};

// Competition INI, Tolkmaskin (the scoring machine).
inline const IniNyckel TolkmaskinIGrundomg{Sektion::Tolkmaskin, QStringLiteral("Tolkmaskin i grundomg"),
                                           QStringLiteral("0")};
inline const IniNyckel TolkmaskinIFinalen{Sektion::Tolkmaskin, QStringLiteral("Tolkmaskin i finalen"),
                                          QStringLiteral("0")};
inline const IniNyckel Model{Sektion::Tolkmaskin, QStringLiteral("Model"), QStringLiteral("SAM 4000")};
inline const IniNyckel Comport{Sektion::Tolkmaskin, QStringLiteral("Comport"), QStringLiteral("1")};
inline const IniNyckel Settings{Sektion::Tolkmaskin, QStringLiteral("Settings"),
                                QStringLiteral("9600,N,8,1")};
inline const IniNyckel Innertia{Sektion::Tolkmaskin, QStringLiteral("Innertia"), QStringLiteral("10,3")};
inline const IniNyckel DecimalerRika{Sektion::Tolkmaskin, QStringLiteral("DecimalerRika"),
                                     QStringLiteral("0")};
inline const IniNyckel EjAutoInnertior{Sektion::Tolkmaskin, QStringLiteral("EjAutoInnertior"),
                                       QStringLiteral("0")};
inline const IniNyckel EjAuto1098{Sektion::Tolkmaskin, QStringLiteral("EjAuto1098"), QStringLiteral("0")};
inline const IniNyckel Barcode{Sektion::Tolkmaskin, QStringLiteral("Barcode"), QStringLiteral("0")};

// Competition INI, Utskrifter.
inline const IniNyckel SkjutlagslistaMedResultat{
    Sektion::Utskrifter, QStringLiteral("Skjutlagslista med resultat"), QStringLiteral("True")};
inline const IniNyckel Forklaringar{Sektion::Utskrifter, QStringLiteral("Förklaringar"), QStringLiteral("1")};
inline const IniNyckel VansterMarginal{Sektion::Utskrifter, QStringLiteral("VänsterMarginal"),
                                       QStringLiteral("1,2")};
inline const IniNyckel HogerMarginal{Sektion::Utskrifter, QStringLiteral("HögerMarginal"),
                                     QStringLiteral("0")};
inline const IniNyckel Layout{Sektion::Utskrifter, QStringLiteral("Layout"), QStringLiteral("2")};

// Competition INI, Vandringspris (the challenge prize).
inline const IniNyckel VandringsprisPa{Sektion::Vandringspris, QStringLiteral("Vandringspris"),
                                       QStringLiteral("0")};
inline const IniNyckel VandringsprisTavlingsnamn{Sektion::Vandringspris, QStringLiteral("Tävlingsnamn"),
                                                 QString()};
inline const IniNyckel VandringsprisAntalSkott{Sektion::Vandringspris, QStringLiteral("AntalSkott"),
                                               QStringLiteral("40")};
inline const IniNyckel VandringsprisVilka{Sektion::Vandringspris, QStringLiteral("Vilka"),
                                          QStringLiteral("Alla")};

// Competition INI, Lag. Lagtävling reads "1" when missing at opening (on unless
// "0"), while the settings form reads it with "0".
inline const IniNyckel Lagtavling{Sektion::Lag, QStringLiteral("Lagtävling"), QStringLiteral("1")};
inline const IniNyckel LagAntalSkyttar{Sektion::Lag, QStringLiteral("Antal skyttar"), QString()};
inline const IniNyckel LagAntalSkott{Sektion::Lag, QStringLiteral("Antal skott"), QString()};

// Competition INI, Debug and Åskådarskärm.
inline const IniNyckel ExcelVisible{Sektion::Debug, QStringLiteral("ExcelVisible"), QStringLiteral("False")};
inline const IniNyckel VersionExcel{Sektion::Debug, QStringLiteral("VersionExcel"), QString()};
inline const IniNyckel AllaBanor{Sektion::Askadarskarm, QStringLiteral("AllaBanor"), QStringLiteral("1")};

} // namespace Ini
