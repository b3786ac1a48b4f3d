#pragma once

#include <QByteArray>
#include <QString>

// The code page of the old Windows program's files and of the display program at
// the range. Latin-1 except for 0x80..0x9F; the five bytes Windows leaves
// undefined there (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control of the
// same number, as MultiByteToWideChar gives them, so every byte survives a trip
// through text and back.
namespace Windows1252 {

QString tillText(const QByteArray& bytes);
// One byte per character; a character the code page cannot hold becomes "?".
QByteArray tillBytes(const QString& text);
// True when tillBytes() would keep every character of the text.
bool rymmer(const QString& text);

} // namespace Windows1252
