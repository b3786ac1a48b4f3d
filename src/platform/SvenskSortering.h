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
