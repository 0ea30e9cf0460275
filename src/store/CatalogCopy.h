#pragma once

#include <QString>

#include <optional>

class Database;

struct CopyFailure {
    bool busy = false; // another program kept writing the catalog past the wait
    QString reason;    // what went wrong, in plain words ("the disk is full")
};

// Copies the whole of an open catalog, page by page, into the SQLite file at `path` (an empty
// file already there, which becomes the copy), while other programs may keep using the catalog:
// a write in the way is waited for, five busy timeouts at most. Nothing on success.
std::optional<CopyFailure> CopyCatalog(Database &catalog, const QString &path);
