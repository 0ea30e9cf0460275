#pragma once

#include "ReaderOutput.h"

#include <QList>
#include <QString>

#include <optional>

struct CatalogWriteFailure {
    bool checkFailed = false; // the file was written but did not pass its check
    QString reason;
};

// Creates a new catalog at `path` (no file may be there) holding `rows`, whose values are in
// AccessColumns::kMovieColumns order, written in one transaction. IDs are given in row order
// from 1. Text columns take the text as it is (NULL stays NULL); numeric columns take
// CatalogNumberFromText of it. The file is then checked: it holds exactly as many rows as
// given and SQLite's integrity check finds nothing wrong. On failure the file may be left
// behind; the caller removes it.
std::optional<CatalogWriteFailure> WriteConvertedCatalog(const QString &path,
                                                         const QList<AccessRow> &rows);
