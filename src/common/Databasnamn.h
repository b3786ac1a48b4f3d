#pragma once

#include <QString>

// Names of the competition database that code uses outside the text of a
// statement: the class tables chosen by the competition's kind, and the fields
// that records are read by (Poster) or that a statement is put together from.
// A statement otherwise names its tables and fields in its own text. Names
// with a blank or a slash stand in square brackets, as statements write them.
namespace Tabell {
// The class table of each kind of competition; which one a competition uses is
// chosen in code (modGlobalt::klasstabell), so these names go into statements.
inline const QString Sportskytteklasser = QStringLiteral("Sportskytteklasser");
inline const QString Nationellaklasser = QStringLiteral("Nationellaklasser");
inline const QString Mixadeklasser = QStringLiteral("Mixadeklasser");
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
