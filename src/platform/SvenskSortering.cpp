#include "platform/SvenskSortering.h"

#include <QChar>
#include <sqlite3.h>
#include <vector>

namespace {

struct Vikt {
    char32_t primar;
    char32_t sekundar;
};

char32_t nastaTecken(std::string_view s, size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    int langd = 1;
    char32_t cp = b;
    if (b >= 0xF0 && b < 0xF8) {
        langd = 4;
        cp = b & 0x07;
    } else if (b >= 0xE0) {
        langd = 3;
        cp = b & 0x0F;
    } else if (b >= 0xC0) {
        langd = 2;
        cp = b & 0x1F;
    } else if (b >= 0x80) {
        ++i; // a stray continuation byte counts as itself
        return b;
    }
    if (i + langd > s.size()) {
        ++i;
        return b;
    }
    for (int k = 1; k < langd; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += langd;
    return cp;
}

// Letters of the Latin-1 range that Swedish sorts beside a base letter.
char32_t basbokstav(char32_t c) {
    switch (c) {
    case U'à':
    case U'á':
    case U'â':
    case U'ã':
        return U'a';
    case U'ç':
        return U'c';
    case U'ð':
        return U'd';
    case U'è':
    case U'é':
    case U'ê':
    case U'ë':
        return U'e';
    case U'ì':
    case U'í':
    case U'î':
    case U'ï':
        return U'i';
    case U'ñ':
        return U'n';
    case U'ò':
    case U'ó':
    case U'ô':
    case U'õ':
        return U'o';
    case U'ù':
    case U'ú':
    case U'û':
        return U'u';
    case U'ü':
    case U'ý':
    case U'ÿ':
        return U'y';
    case U'ß':
        return U's';
    case U'þ':
        return U't';
    default:
        return 0;
    }
}

Vikt vikt(char32_t c) {
    // Codes, digits and most names are ASCII, whose only folding is A-Z.
    c = c < 0x80 ? (c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c) : QChar::toCaseFolded(c);
    constexpr char32_t siffror = 0x100, bokstaver = 0x200, ovrigt = 0x1000;
    if (c >= U'0' && c <= U'9')
        return {siffror + (c - U'0'), 0};
    if (c >= U'a' && c <= U'z')
        return {bokstaver + (c - U'a') * 2, 0};
    if (c == U'å')
        return {bokstaver + 26 * 2, 0};
    if (c == U'ä' || c == U'æ')
        return {bokstaver + 27 * 2, c == U'æ' ? 1u : 0u};
    if (c == U'ö' || c == U'ø')
        return {bokstaver + 28 * 2, c == U'ø' ? 1u : 0u};
    if (char32_t bas = basbokstav(c))
        return {bokstaver + (bas - U'a') * 2, c};
    if (c < 0x80)
        return {c, 0}; // blanks and punctuation before digits
    return {ovrigt + c, 0};
}

} // namespace

int jamforSvenska(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    int sekundartSkillnad = 0;
    while (i < a.size() && j < b.size()) {
        const Vikt va = vikt(nastaTecken(a, i));
        const Vikt vb = vikt(nastaTecken(b, j));
        if (va.primar != vb.primar)
            return va.primar < vb.primar ? -1 : 1;
        if (sekundartSkillnad == 0 && va.sekundar != vb.sekundar)
            sekundartSkillnad = va.sekundar < vb.sekundar ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return sekundartSkillnad;
}

namespace {
int svenskaCallback(void*, int la, const void* a, int lb, const void* b) {
    return jamforSvenska(std::string_view(static_cast<const char*>(a), la),
                         std::string_view(static_cast<const char*>(b), lb));
}
} // namespace

bool registreraSvenskSortering(sqlite3* db) {
    return sqlite3_create_collation(db, "SVENSKA", SQLITE_UTF8, nullptr, svenskaCallback) == SQLITE_OK;
}

namespace {

struct Monsterdel {
    enum Typ { Tecken, EttTecken, Foljd } typ;
    char32_t tecken;
};

} // namespace

bool liknar(std::string_view monster, std::string_view text, char32_t flykttecken) {
    std::vector<Monsterdel> delar;
    for (size_t i = 0; i < monster.size();) {
        char32_t c = nastaTecken(monster, i);
        if (flykttecken != 0 && c == flykttecken) {
            if (i >= monster.size())
                return false; // as SQLite: an escape with nothing after it matches nothing
            c = nastaTecken(monster, i);
        } else if (c == U'%') {
            if (delar.empty() || delar.back().typ != Monsterdel::Foljd)
                delar.push_back({Monsterdel::Foljd, 0});
            continue;
        } else if (c == U'_') {
            delar.push_back({Monsterdel::EttTecken, 0});
            continue;
        }
        delar.push_back({Monsterdel::Tecken, QChar::toCaseFolded(c)});
    }
    std::vector<char32_t> tecken;
    for (size_t i = 0; i < text.size();)
        tecken.push_back(QChar::toCaseFolded(nastaTecken(text, i)));

    // Greedy with a step back to the latest %: each % only ever needs to take one
    // character more than before, so the time stays below pattern times text length.
    size_t d = 0, t = 0;
    size_t senasteFoljd = delar.size(), aterupptaVid = 0;
    while (t < tecken.size()) {
        if (d < delar.size() && (delar[d].typ == Monsterdel::EttTecken ||
                                 (delar[d].typ == Monsterdel::Tecken && delar[d].tecken == tecken[t]))) {
            ++d;
            ++t;
        } else if (d < delar.size() && delar[d].typ == Monsterdel::Foljd) {
            senasteFoljd = d++;
            aterupptaVid = t;
        } else if (senasteFoljd < delar.size()) {
            d = senasteFoljd + 1;
            t = ++aterupptaVid;
        } else {
            return false;
        }
    }
    while (d < delar.size() && delar[d].typ == Monsterdel::Foljd)
        ++d;
    return d == delar.size();
}

namespace {
std::string_view textvarde(sqlite3_value* v) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return text ? std::string_view(text, sqlite3_value_bytes(v)) : std::string_view();
}

// like(pattern, text [, escape]): SQLite hands "text LIKE pattern" over in that order.
void likeCallback(sqlite3_context* ctx, int antal, sqlite3_value** varden) {
    for (int i = 0; i < antal; ++i)
        if (sqlite3_value_type(varden[i]) == SQLITE_NULL)
            return; // NULL, as any comparison with NULL
    char32_t flykttecken = 0;
    if (antal == 3) {
        const std::string_view flykt = textvarde(varden[2]);
        size_t i = 0;
        if (!flykt.empty())
            flykttecken = nastaTecken(flykt, i);
        if (flykt.empty() || i != flykt.size()) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
    }
    sqlite3_result_int(ctx, liknar(textvarde(varden[0]), textvarde(varden[1]), flykttecken) ? 1 : 0);
}
} // namespace

bool registreraSvenskLike(sqlite3* db) {
    constexpr int flaggor = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    for (int antal : {2, 3})
        if (sqlite3_create_function(db, "like", antal, flaggor, nullptr, likeCallback, nullptr, nullptr) !=
            SQLITE_OK)
            return false;
    return true;
}
