#pragma once

#include "CatalogImport.h"
#include "CsvFormat.h"
#include "Formats.h"

#include <functional>

// What reelwarden-transfer and the catalog window do alike, on a catalog file given by path.
// `progress` is called now and then with how far the work has come (`total` 0: not known); it
// may throw to stop the work, and then nothing has been written.
using TransferProgress = std::function<void(qint64 done, qint64 total)>;

struct ImportRequest {
    QString file;
    const FormatRow *format = nullptr; // one that reads
    QString catalog;
    QString readerProgram; // reads Access files
    CsvOptions csv;        // CSV only
    ImportOptions options;
};

// Adds the movies of the file to the catalog as ImportMovies does: all or none. Throws
// TransferError (a file that is the catalog itself, or cannot be read) or StoreError.
ImportSummary ImportFile(const ImportRequest &request, const TransferProgress &progress = {});

// Writes every movie of the catalog, in the list's order, to `file` in `format` (one that writes).
// An existing file is replaced only when `replace`, never the catalog itself. Gives the number
// of movies written. Throws TransferError or StoreError; then `file` is as it was.
int ExportCatalog(const QString &catalog, const QString &file, const FormatRow &format,
                  bool replace, const TransferProgress &progress = {});
