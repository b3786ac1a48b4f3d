#pragma once

#include <QFont>
#include <QString>

namespace Kalkyl {

// Fonts on paper. The lists ask for Windows fonts ("MS Sans Serif"); the file
// keeps the name, the printer gets a metric twin that Debian ships.
class Typsnitt {
public:
    // Calibri, the workbook's standard font, prints as Carlito (its metric
    // twin, which LibreOffice uses for it too) when that is installed. "MS Sans
    // Serif", "Arial" and the other Windows sans fonts print as Liberation
    // Sans, the serif and fixed-width ones as Liberation Serif and Mono; an
    // installed font prints as itself; anything else as Liberation Sans.
    static QString familj(const QString& namn);
    // Lets every QFont that asks for Calibri get Carlito, as the printed
    // lists do; run at the start of the program and of printing.
    static void ersattWindowsTypsnitt();
    static QFont font(const QString& namn, double storlek, bool fet = false, bool kursiv = false,
                      bool understruken = false);
    // The widest digit of the font in pixels at 96 dpi. The standard font's is
    // the unit behind column widths in characters.
    static int siffrbredd(const QString& namn, double storlek);
};

} // namespace Kalkyl
