#pragma once

#include <QString>

// Whether a new file or folder can have this name both here and on a USB stick
// formatted FAT (the usual stick, and what the club's Windows computers read):
// empty when it can, otherwise why not, as a Swedish clause that a message can
// end with ("tecknet \":\" kan inte användas i ett namn").
QString namnfel(const QString& namn);
