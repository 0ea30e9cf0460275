#pragma once

#include "MovieRow.h"

#include <memory>

// Whether the file at `path` is a Reelwarden catalog or a backup of one, whatever its name:
// an SQLite file whose Movies table has the catalog's columns. A catalog that another program
// holds locked counts as one; an SQLite file of another program (a `movies` table with other
// columns) does not.
bool IsReelwardenCatalog(const QString &path);

// Reads the movies of another Reelwarden catalog or backup, in the order its list shows them
// ("movie N"). The file is only read. Throws TransferError naming the file and what is wrong.
std::unique_ptr<MovieReader> OpenReelwardenReader(const QString &path);
