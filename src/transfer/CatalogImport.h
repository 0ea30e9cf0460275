#pragma once

#include "MovieRow.h"

#include <QStringList>

#include <functional>

class Database;

struct ImportOptions {
    bool check = false;            // find out what an import would do; write nothing
    bool renameDuplicates = false; // "Title (2)" instead of skipping a title already there
};

struct ImportSummary {
    int added = 0;
    QStringList skipped; // "line 4: Alien", a title the catalog or an earlier movie has
    QStringList renamed; // "line 5: Alien -> Alien (2)"
    QStringList unusedColumns;
    QStringList notes;
};

// Adds the movies of `reader` to the catalog in one transaction: all of them or none. Each
// movie passes the checks Save applies: a movie without a title, or with a number that is no
// number of its column's kind, stops the import with a TransferError naming `fileName`, the
// movie's place and the column; then nothing has been written. A title that the catalog or an
// earlier movie of the file has (letters compared without case) is skipped, or renamed as
// RenameDuplicateTitles renames when `renameDuplicates`. The whole file is read and checked
// first (StagedMovies); the catalog's write lock is held only while the movies are added, and
// waits for another program's lock as the catalog program's own writes do. `progress` is called now and then.
ImportSummary ImportMovies(Database &db, MovieReader &reader, const QString &fileName,
                           const ImportOptions &options,
                           const std::function<void()> &progress = {});
