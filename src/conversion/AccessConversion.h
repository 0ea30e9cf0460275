#pragma once

#include "AccessFile.h"
#include "CatalogSwap.h"
#include "ReaderProcess.h"

#include <QString>

// Converting a catalog written by the earlier Windows version of Reelwarden (a Microsoft
// Access file with the table Movies) into the program's own format. The reading is done by
// the separate program reelwarden-mdb-reader, which the build puts beside reelwarden.

// The question to ask before converting movies.mdb when its original is to be kept as
// movies-access.mdb (the usual case; see ConversionQuestion for the others).
inline constexpr char kConversionQuestion[] =
    "movies.mdb was written by an earlier version of Reelwarden (Microsoft Access format). "
    "Convert it to the current format? The original file will be kept as movies-access.mdb.";

// The question for the catalog at `catalogPath`, naming the file under which its original
// will be kept (KeptOriginalPath); kConversionQuestion for movies.mdb in a folder without a
// movies-access.mdb.
QString ConversionQuestion(const QString &catalogPath);

enum class ConversionError {
    None,
    ReaderMissing,  // the reader program is not there or does not start
    NotAccessFile,  // the catalog does not begin like an Access file
    DamagedFile,    // libmdb cannot read it: damaged, encrypted or cut short
    TimedOut,       // reading took longer than the time limit (a damaged file, most likely)
    NoMoviesTable,  // an Access file, but without the table Movies
    MissingColumns, // Movies lacks columns the catalog needs; the message names them
    CannotWrite,    // the new catalog cannot be written in the catalog's folder
    CheckFailed,    // the new catalog was written but failed its check
};

struct ConversionResult {
    bool ok = false;
    ConversionError error = ConversionError::None;
    // For the user. On failure: what went wrong, naming the file, the table, the column or
    // the folder, and that the original was left unchanged. On success: empty, or what the
    // user should know (titles renamed, values that may have been cut).
    QString message;
    QString keptOriginalAs; // full path the original was kept under, on success
    int rowsConverted = 0;
    int titlesRenamed = 0;
    bool valuesMayBeCut = false;
};

// Converts the Access catalog at `catalogPath` in place. The Movies rows are read with
// `readerProgram` (killed after `timeoutMs`), written to a new catalog in a temporary file
// beside it (the catalog's name followed by ".converting"; a file of that name left by an
// interrupted conversion is replaced), and checked. Only then is the original renamed to
// KeptOriginalPath and the new catalog put in its place; a catalog stands at `catalogPath` at
// every moment. On failure at any step the original is exactly as it was and the temporary
// file is gone. Duplicate titles are renamed as RenameDuplicateTitles says.
//
// While the reader runs, the calling thread's event loop keeps running with user input held
// back, so a splash window stays painted.
ConversionResult ConvertAccessCatalog(const QString &catalogPath, const QString &readerProgram,
                                      int timeoutMs = 60000);
