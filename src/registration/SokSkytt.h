#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class Databas;

// Finding a registered shooter again by the beginning of his first name, family
// name, licence number and start number, optionally within one round, and
// walking through the hits in squad and lane order. Only shooters placed on a
// lane are found: a hit is shown as its lane in the registration window.
namespace SokSkytt {

// What the operator typed; each text is a beginning, and an empty one does not
// restrict. The round is its key (Omg); none searches every round.
struct Kriterier {
    QString fornamn;
    QString efternamn;
    QString licensnr;
    QString startnr;
    std::optional<int> omg;
};

// One hit: the shooter and the lane he stands on.
struct Traff {
    qint64 lopnummer = 0;
    int skjutlag = 0;
    int bana = 0;

    bool operator==(const Traff&) const = default;
};

struct Meddelande {
    QString text;
    QString titel;
};
// An apostrophe in a box: nothing is searched.
inline const Meddelande FelaktigtTecken{QStringLiteral("Du har angivit ett felaktigt tecken i sökningen!"),
                                        QStringLiteral("Fel tecken")};
// No hit, or no further hit.
inline const Meddelande SkyttenFinnsInte{QStringLiteral("Skytten finns inte!"), QStringLiteral("Sök")};

// Whether any box holds an apostrophe, which searches have always refused.
bool harFelaktigtTecken(const Kriterier& k);

// Every placed shooter that matches, in squad and lane order. Texts are trimmed
// and taken literally ("%", "_", "*" and "?" are characters like any other);
// letter case is ignored, Å, Ä and Ö included. The start number matches as the
// text of the number, so 5 finds 5, 50 to 59, 500 to 599 and so on. The free-lane
// placeholder is never a hit. Database failures are thrown as Fel.
QList<Traff> sok(const Databas& db, const Kriterier& k);

// The hits of the last search and the one shown. Showing is handed to visa,
// which answers whether the hit could be shown; one that could not (its lane is
// not in the registration window) is passed over as if it were no hit.
class Sokning {
public:
    using Visare = std::function<bool(const Traff&)>;
    enum class Utfall { FelaktigtTecken, IngenTraff, Visad };

    explicit Sokning(Visare visa) : m_visa(std::move(visa)) {}

    // A new search that replaces the hits and shows the first one. An apostrophe
    // keeps the hits of the last search as they were.
    Utfall sok(const Databas& db, const Kriterier& k);
    // Shows the next hit; IngenTraff when they have run out.
    Utfall nasta();

    // Whether "Sök nästa" is usable: a hit is shown and the operator has not yet
    // gone past the last one (he is told so when he does).
    bool kanGaVidare() const { return m_visad.has_value(); }
    // The hit shown; none before a search that found something and after the
    // hits have run out.
    std::optional<Traff> visad() const;
    const QList<Traff>& traffar() const { return m_traffar; }

private:
    Utfall visaFran(qsizetype index);

    Visare m_visa;
    QList<Traff> m_traffar;
    std::optional<qsizetype> m_visad;
};

} // namespace SokSkytt
