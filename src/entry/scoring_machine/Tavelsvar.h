#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The frame a scoring machine answers a poll with when a card has been read:
// what the program checks in it, takes out of it, and how its check character
// is made. Positions are 1-based in the received text, which begins with the
// frame's first byte (STX for SAM 4000, SOH for RIKA).
namespace Tavelsvar {

enum class Modell { Sam4000, Rika, Okand };
// The competition INI's Model text, compared exactly: "SAM 4000", "RIKA".
Modell modellAv(const QString& model);

// --- Completion and the check character ---

// Whether the text gathered so far is a whole frame: SAM 4000 has ETB, the
// check character and "$" after it; RIKA has EOT and the check character.
// The check character may be any byte ("$", NAK, ETB, EOT, NUL too).
bool arHel(const QByteArray& text, Modell modell);
// Whether the text is only the machine's "no card" answer (SAM 4000 NAK,
// RIKA NUL), which empties the buffer for the next poll.
bool arEjKlar(const QByteArray& text, Modell modell);
// Whether the start of a frame (STX, SOH) has arrived.
bool harRamstart(const QByteArray& text, Modell modell);

// The check character of a frame body: an 8-bit XOR of every byte from the
// frame's first byte through ETB (SAM 4000) or EOT (RIKA). One function, so
// that another algorithm can take its place.
quint8 kontrollsumma(const QByteArray& kropp);
// Whether a whole frame's check character agrees with its body.
bool kontrollsummanStammer(const QByteArray& ram, Modell modell);

// --- Checks and reading ---

enum class Kontroll { Ok, FelTyp, FelAntal };
// The target type must be "LG" (exactly) and the number of shots 5; the type is
// checked first. An unknown model passes. So does a frame too short for the
// type or the count, or whose count is no number: las() refuses it as unreadable.
Kontroll KollaTavelsvar(const QByteArray& ram, Modell modell);

struct Lasning {
    enum class Utfall {
        Ok,
        // A shot record begins with "?".
        SaknatSkott,
        // A value that does not read as a number, out of range, or a frame too
        // short for what is read.
        Olasbar,
    };
    Utfall utfall = Utfall::Olasbar;
    int serie = 0;       // the sum of the five ring values, 0..50
    QString skottstrang; // five shot symbols
};
// The five shots of a checked frame: ring values 0..10, decimal values 0.0..10.9
// agreeing with the ring, the series and the shot string (inner ten from the
// threshold innertia on).
Lasning las(const QByteArray& ram, Modell modell, float innertia);

// The symbol of one decimal shot value: "*" an inner ten (from innertia on),
// "+" another ten (from 10.0), else the ring digit.
QString Skottsymbol(float varde, float innertia);

// --- Making frames (the simulator, tests, benchmarks) ---

struct Kort {
    QByteArray typ = "LG";
    int antal = 5;
    // The decimal value of each shot; nothing for a missing shot ("?").
    QList<std::optional<double>> skott;
};
// A whole frame as the machine sends it, with its right check character.
QByteArray bygg(Modell modell, const Kort& kort);

// The messages of the checks, as the operator sees them.
inline const QString FelTypText =
    QStringLiteral("Du har valt fel typ av tavlor på tolkmaskinen.\r\nDet måste vara luftgevär!");
inline const QString FelTypTitel = QStringLiteral("Fel typ");
inline const QString FelAntalText =
    QStringLiteral("Du har valt fel antal skott på tolkmaskinen.\r\nDet måste vara 5st!");
inline const QString FelAntalTitel = QStringLiteral("Fel antal skott");
inline const QString SaknatSkottText = QStringLiteral("Det saknas skott från tolkmaskinen!");
inline const QString OlasbarText =
    QStringLiteral("Tavelsvaret från tolkmaskinen kunde inte läsas.\rKör tavlan en gång till.");
inline const QString OlasbarTitel = QStringLiteral("Överföringsfel!");

} // namespace Tavelsvar
