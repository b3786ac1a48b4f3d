#include "platform/Windows1252.h"

namespace {

// 0x80..0x9F; 0 marks a byte the code page leaves undefined.
constexpr char16_t tabell[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The byte for one UTF-16 unit, or -1 when the code page has none.
int byteFor(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i) {
        if (tabell[i] == u || (tabell[i] == 0 && u == 0x80 + i))
            return 0x80 + i;
    }
    return -1;
}

} // namespace

namespace Windows1252 {

QString tillText(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b <= 0x9F && tabell[b - 0x80] != 0)
            text.append(QChar(tabell[b - 0x80]));
        else
            text.append(QChar(b));
    }
    return text;
}

QByteArray tillBytes(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        // A character outside the BMP is one "?", not one for each half.
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        const int b = byteFor(ch.unicode());
        bytes.append(b < 0 ? '?' : static_cast<char>(b));
    }
    return bytes;
}

bool rymmer(const QString& text) {
    for (QChar ch : text) {
        if (byteFor(ch.unicode()) < 0)
            return false;
    }
    return true;
}

} // namespace Windows1252
