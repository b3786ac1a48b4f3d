#pragma once

#include <QList>
#include <QString>

namespace Kalkyl {

// A run of a header or footer line printed in one font.
struct Textbit {
    QString text;
    QString typsnitt = QStringLiteral("Arial");
    double storlek = 10;
    bool fet = false;
    bool kursiv = false;
    bool understruken = false;
    bool operator==(const Textbit&) const = default;
};
using Textrad = QList<Textbit>;

// The codes of a header or footer section: &"font,style", &nn (font size),
// &P (page number), &N (number of pages), &B, &I, &U (bold, italic, underline
// on and off), && (an ampersand). A line feed, with or without a carriage
// return, starts a new line. Codes this engine does not know are left out of
// the print, as the spreadsheet program leaves them out.
class Sidhuvudkod {
public:
    static QList<Textrad> tolka(const QString& kod, int sida, int antalSidor, const Textbit& start = {});
    // The one way a list puts data (a competition's name, a club, a class) into
    // a header or footer: doubles every "&", so that "R&R Cup" is saved as
    // "R&&R Cup" and prints as it is instead of being read as codes.
    static QString skydda(const QString& text);
    // The text of the lines without their fonts, lines joined by "\n".
    static QString text(const QList<Textrad>& rader);
};

} // namespace Kalkyl
