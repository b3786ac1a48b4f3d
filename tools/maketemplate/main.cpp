// Builds the template competition database from the schema files:
//   pilkrona_maketemplate <output.mdb> <file.sql>...
// The database is written beside the output under a temporary name and renamed
// into place only when every statement has run.

#include "platform/SvenskSortering.h"

#include <cstdio>
#include <fstream>
#include <sqlite3.h>
#include <sstream>
#include <string>

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s output.mdb file.sql...\n", argv[0]);
        return 2;
    }
    const std::string mal = argv[1];
    const std::string tillfallig = mal + ".tmp";
    std::remove(tillfallig.c_str());

    sqlite3* db = nullptr;
    if (sqlite3_open(tillfallig.c_str(), &db) != SQLITE_OK || !registreraSvenskSortering(db)) {
        std::fprintf(stderr, "cannot create %s\n", tillfallig.c_str());
        return 1;
    }
    bool ok = true;
    for (int i = 2; i < argc && ok; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            ok = false;
            break;
        }
        std::stringstream ss;
        ss << in.rdbuf();
        char* fel = nullptr;
        if (sqlite3_exec(db, ss.str().c_str(), nullptr, nullptr, &fel) != SQLITE_OK) {
            std::fprintf(stderr, "%s: %s\n", argv[i], fel ? fel : "error");
            sqlite3_free(fel);
            ok = false;
        }
    }
    if (ok && sqlite3_exec(db, "VACUUM", nullptr, nullptr, nullptr) != SQLITE_OK)
        ok = false;
    sqlite3_close(db);
    if (!ok || std::rename(tillfallig.c_str(), mal.c_str()) != 0) {
        std::remove(tillfallig.c_str());
        return 1;
    }
    return 0;
}
