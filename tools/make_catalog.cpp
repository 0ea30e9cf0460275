// Places an empty catalog at the given path when no file is there.
// An existing file is never opened, changed or replaced.
#include "CatalogSchema.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_catalog PATH\n");
        return 2;
    }
    const std::filesystem::path target = argv[1];
    std::error_code ec;
    if (std::filesystem::exists(target, ec))
        return 0;
    // Build under a temporary name, then move into place, so a half-made file never
    // stands where the program looks for its catalog.
    const std::filesystem::path temp = target.string() + ".new";
    std::filesystem::remove(temp, ec);
    sqlite3 *db = nullptr;
    int rc =
        sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    char *error = nullptr;
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, kCatalogSchemaSql, nullptr, nullptr, &error);
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        std::fprintf(stderr, "make_catalog: %s\n", error ? error : "cannot create the catalog");
        sqlite3_free(error);
        std::filesystem::remove(temp, ec);
        return 1;
    }
    std::filesystem::rename(temp, target, ec);
    if (ec) {
        std::fprintf(stderr, "make_catalog: %s\n", ec.message().c_str());
        return 1;
    }
    return 0;
}
