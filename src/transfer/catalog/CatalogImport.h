#pragma once

#include "MovieRow.h"

#include <QStringList>

#include <functional>

class Database;

struct ImportOptions {
    bool check = false;            // find out what an import would do; write nothing
    bool renameDuplicates = false; // "Title (2)" instead of skipping a title already there
    bool strict = false;           // refuse a value that fits no column instead of keeping it
    DecimalMark decimalMark = DecimalMark::Unknown; // of the file's amounts, when the user says
};

struct ImportSummary {
    int added = 0;
    QStringList skipped;        // "line 4: Alien", a title the catalog or an earlier movie has
    QStringList renamed;        // "line 5: Alien -> Alien (2)"
    QStringList keptInComments; // "entry 2: Alien (Value: approx. 10)"
    QStringList unusedColumns;
    QStringList notes;
};

// Adds the movies of `reader` to the catalog in one transaction: all of them or none. A movie
// without a title stops the import with a TransferError naming `fileName`, the movie's place
// and the column; then nothing has been written. Numbers are read as ForeignValues reads them;
// one that fits no column is kept at the end of the movie's Comments ("Value: approx. 10") and
// listed in the summary, or with `strict` stops the import like a missing title. An amount
// whose decimal mark cannot be told stops it always. A title that the catalog or an
// earlier movie of the file has (letters compared without case) is skipped, or renamed as
// RenameDuplicateTitles renames when `renameDuplicates`. The whole file is read and checked
// first (StagedMovies); the catalog's write lock is held only while the movies are added, and
// waits for another program's lock as the catalog program's own writes do. `progress` is called now
// and then.
ImportSummary ImportMovies(Database &db, MovieReader &reader, const QString &fileName,
                           const ImportOptions &options,
                           const std::function<void()> &progress = {});
