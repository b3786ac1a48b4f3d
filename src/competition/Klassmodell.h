#pragma once

#include "common/Poster.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

class Databas;
class modGlobalt;

// How a class's rows are ranked and shown. In a mixed competition the class
// says its kind (Sport/Nat), elsewhere the competition does; a sport class of
// more than 40 shots is a 60-shot one. Okand: a mixed competition's class that
// is missing or of no known kind. Each caller decides what Okand means for it.
enum class Klassslag { Nationell, Sport60, Sport40, Okand };

namespace Klassmodell {

inline const QString Sport = QStringLiteral("Sport");
inline const QString Nat = QStringLiteral("Nat");

// The competition's kind flags, as the settings read them.
struct Tavlingsslag {
    bool mix = false;
    bool nationellt = false;
    bool sportskytte = false;
};
Tavlingsslag tavlingsslag(const modGlobalt& g);

// The kind of a class of this Sport/Nat and shot count. A mixed competition
// goes by the class; otherwise sport wins over national when both are set.
Klassslag slag(const Tavlingsslag& t, const QString& sportNat, int antalSkott);
// The same for a class row; nullptr when the class is not in the table: then
// only the competition's kind is known (a sport one as of 40 shots).
Klassslag slag(const modGlobalt& g, const Klass* klass);

inline bool arSport(Klassslag s) {
    return s == Klassslag::Sport60 || s == Klassslag::Sport40;
}

// The key a class code is found by: letter case ignored, as the database's
// own comparison of codes ignores it.
QString nyckel(const QString& kod);

// The class table of the open competition (modGlobalt::klasstabell), with
// Sport/Nat where the table has it, in Räknare order; villkor is a WHERE
// clause with bound values, or empty.
QList<Klass> lasKlasser(const modGlobalt& g, const QString& villkor = {}, const QVariantList& varden = {});

// The codes of the class table of the open competition in Swedish order, as
// a shooter's class is chosen from them.
QStringList klasskoder(const modGlobalt& g);

// The classes by their code; the first row of a code counts, as the table is
// read in Räknare order.
class Klassregister {
public:
    Klassregister() = default;
    explicit Klassregister(const QList<Klass>& klasser);
    static Klassregister las(const modGlobalt& g);
    // The class of this code in any letter case, or nullptr.
    const Klass* hitta(const QString& kod) const;
    const QList<Klass>& klasser() const { return m_klasser; }

private:
    QList<Klass> m_klasser;
    QHash<QString, qsizetype> m_index;
};

} // namespace Klassmodell
