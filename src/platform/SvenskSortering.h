#pragma once

#include <string_view>

struct sqlite3;

// Swedish text order with letter case ignored: a..z, then å, ä (æ), ö (ø); ü sorts
// as y and other accented letters beside their base letter, after it. Texts that
// differ only in letter case compare equal, so "ÅSA" = "åsa" in WHERE and GROUP BY.
int jamforSvenska(std::string_view a, std::string_view b);

// Registers the collation SVENSKA on a connection. Every connection to a
// competition database needs it: the schema names it.
bool registreraSvenskSortering(sqlite3* db);

// SQL LIKE with letter case ignored in every alphabet, not only A-Z as SQLite's
// own: "åsa%" matches "ÅSA". % is any run of characters, _ any one character,
// and the escape character (0 for none) makes the next character plain.
bool liknar(std::string_view monster, std::string_view text, char32_t flykttecken = 0);

// Replaces SQLite's like() with liknar() on a connection, in both the LIKE and the
// LIKE ... ESCAPE form.
bool registreraSvenskLike(sqlite3* db);
