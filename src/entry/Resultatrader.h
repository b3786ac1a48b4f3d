#pragma once

#include "competition/Klassmodell.h"
#include "competition/Serieregler.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class modGlobalt;

// One occupied lane of a squad in result entry: the lane and what result entry
// shows and stores of its shooter. The window keeps one per lane row, in lane
// order, and the saving code keeps it equal to the stored row.
struct Banrad {
    qint64 lopnummer = 0;
    int skjutlag = 0;
    int bana = 0;
    QString klass;
    QString namn;
    QString efternamn;
    QString forening;
    Serieregler::Serier res{};
    QStringList sfst; // SfST1..SfST12
    int lagserier = 0;
    int vandringsSerier = 0;
    int innertior = 0;
    QString tioNior;
    double sarskjutning = 0;
    int man1098 = 0;
    QString sportNat; // the class's Sport/Nat, mixed competitions only

    QString heltNamn() const { return namn + QLatin1Char(' ') + efternamn; }
};

// The class table of the competition's kind, read once when result entry
// opens: how many shots each class shoots. Class codes are matched without
// regard to letter case; an apostrophe is an ordinary character.
class Klassuppslag {
public:
    explicit Klassuppslag(const modGlobalt& g);
    std::optional<int> antalSkott(const QString& klass) const;
    // The series the class shoots, nothing when the class is missing.
    std::optional<int> klassensSerier(const QString& klass) const;

private:
    Klassmodell::Klassregister m_klasser;
};

// The message of a lane whose class is missing from the class table.
QString ingenKlassText(int bana);
inline const QString IngenKlassTitel = QStringLiteral("Ingen klass.");

// The occupied lanes of a squad in lane order: shooters joined with their lanes,
// free lanes (the placeholder shooter) left out, and in a mixed competition the
// shooters whose class is missing from the mixed class table left out too.
// Throws Fel.
QList<Banrad> hamtaSkjutlag(const modGlobalt& g, int skjutlag);
