#pragma once

#include <QString>

// Where a converted catalog's original is kept: beside it, its base name followed by
// "-access" ("movies.mdb" is kept as "movies-access.mdb"), or "-access-2", "-access-3", ...:
// the first name under which no file exists. Nothing is ever overwritten.
QString KeptOriginalPath(const QString &catalogPath);

struct CatalogSwapResult {
    QString keptAs; // full path of the original's new name; empty on failure
    QString error;  // why it failed; empty on success
};

// Keeps the original catalog under its KeptOriginalPath and puts the file at `newCatalogPath`
// in its place. A catalog stands at `catalogPath` at every moment: the original first gets
// its second name (a hard link, or a copy where the file system has no links), then one
// rename puts the new file over the first name. On failure the original is unchanged under
// its own name and the second name is removed again; `newCatalogPath` is left to the caller.
CatalogSwapResult SwapInConvertedCatalog(const QString &catalogPath, const QString &newCatalogPath);
