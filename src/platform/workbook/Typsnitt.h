#pragma once

#include <QFont>
#include <QString>

namespace Kalkyl {

// Fonts on paper. The lists ask for Windows fonts ("MS Sans Serif"); the file
// keeps the name, the printer gets a metric twin that Debian ships.
class Typsnitt {
public:
    // "MS Sans Serif", "Arial" and the other Windows sans fonts print as
    // Liberation Sans, the serif and fixed-width ones as Liberation Serif and
    // Mono; an installed font prints as itself; anything else as Liberation Sans.
    static QString familj(const QString& namn);
    static QFont font(const QString& namn, double storlek, bool fet = false, bool kursiv = false,
                      bool understruken = false);
    // The widest digit of the font in pixels at 96 dpi. The standard font's is
    // the unit behind column widths in characters.
    static int siffrbredd(const QString& namn, double storlek);
};

} // namespace Kalkyl
