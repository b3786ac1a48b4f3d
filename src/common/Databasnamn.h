#pragma once

#include <QString>

// Names of the competition database's tables and of the fields that more than
// one part of the program reads or writes. Names with a blank or a slash stand
// in square brackets, as every statement writes them.
namespace Tabell {
inline const QString Skyttar = QStringLiteral("Skyttar");
inline const QString Skjutlag = QStringLiteral("Skjutlag");
inline const QString Skjuttider = QStringLiteral("Skjuttider");
inline const QString TavlingsOmg = QStringLiteral("[Tävlings omg]");
inline const QString Lagtavling = QStringLiteral("Lagtävling");
inline const QString Lag = QStringLiteral("Lag");
inline const QString Sportskytteklasser = QStringLiteral("Sportskytteklasser");
inline const QString Nationellaklasser = QStringLiteral("Nationellaklasser");
inline const QString Mixadeklasser = QStringLiteral("Mixadeklasser");
inline const QString SammanslagningKlasser = QStringLiteral("SammanslagningKlasser");
inline const QString TempKlasser = QStringLiteral("TempKlasser");
inline const QString TempSkyttar = QStringLiteral("TempSkyttar");
inline const QString Utskriftsval = QStringLiteral("Utskriftsval");
} // namespace Tabell

namespace Falt {
// Skyttar
inline const QString Lopnummer = QStringLiteral("Löpnummer");
inline const QString Startnr = QStringLiteral("Startnr");
inline const QString Namn = QStringLiteral("Namn");
inline const QString Efternamn = QStringLiteral("Efternamn");
inline const QString Forening = QStringLiteral("Förening");
inline const QString Klass = QStringLiteral("Klass");
inline const QString Licensnr = QStringLiteral("Licensnr");
inline const QString SkyttekortNr = QStringLiteral("SkyttekortNr");
inline const QString Fodelsear = QStringLiteral("Födelseår");
inline const QString Omg = QStringLiteral("Omg");
inline const QString Lag = QStringLiteral("Lag");
inline const QString LagRes = QStringLiteral("LagRes");
inline const QString Lagserier = QStringLiteral("Lagserier");
inline const QString VandringsSerier = QStringLiteral("VandringsSerier");
inline const QString Totalt40 = QStringLiteral("Totalt40");
inline const QString Totalt60 = QStringLiteral("Totalt60");
inline const QString Innertior = QStringLiteral("Innertior");
inline const QString TioNior = QStringLiteral("TioNior");
inline const QString Sarskjutning = QStringLiteral("Särskjutning");
inline const QString Man1098 = QStringLiteral("Man1098");
// Res1..Res12, Sum10..Sum60 and SfST1..SfST12.
inline QString res(int serie) {
    return QStringLiteral("Res%1").arg(serie);
}
inline QString sum(int par) {
    return QStringLiteral("Sum%1").arg(par * 10);
}
inline QString sfst(int serie) {
    return QStringLiteral("SfST%1").arg(serie);
}
// Skjutlag
inline const QString Skjutlag = QStringLiteral("Skjutlag");
inline const QString Bana = QStringLiteral("Bana");
inline const QString Startnummer = QStringLiteral("Startnummer");
// The class tables and SammanslagningKlasser
inline const QString Raknare = QStringLiteral("Räknare");
inline const QString Klassnamn = QStringLiteral("Klassnamn");
inline const QString AntalSkott = QStringLiteral("[Antal skott]");
inline const QString Sammanslagen = QStringLiteral("Sammanslagen");
inline const QString SportNat = QStringLiteral("[Sport/Nat]");
} // namespace Falt

// The shooter row that stands for nobody: a free lane points at it, and every
// list of real shooters leaves it out.
constexpr qint64 PlatshallareLopnummer = 1;
