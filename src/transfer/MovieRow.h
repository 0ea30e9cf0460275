#pragma once

#include "MovieColumnTable.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// One movie as a foreign file carries it, on its way into or out of the catalog: the catalog's
// 17 columns besides ID, in the catalog's column order (kMovieColumns; MovieColumn::Title
// names an index). Every value is text or NULL. Numbers read from the catalog are plain decimals:
// whole numbers as digits, Value with at least two decimals ("12.50").
//
// What a reader of another program's file puts in: the file's own text, as it stands, in
// every column, numbers included ("12,50 €", "????", "102 min"); the import reads them
// (ForeignValues) and keeps in Comments what fits no column, so a reader never refuses a
// movie for a value. A file that has one running-time text puts it in Minutes and leaves
// Hours NULL; the import splits it into Hours and Minutes. A file with hours and minutes
// apart fills both, Hours with an empty text where a movie has minutes but no hours.
struct MovieRow {
    static constexpr int kColumnCount = int(kMovieColumns.size());
    std::array<std::optional<QString>, kColumnCount> values;
    // Where the movie stands in its file, for messages: "line 12", "entry 3".
    QString where;
};

// The decimal mark of a file's amounts where "1,234" or "1.234" alone cannot tell.
enum class DecimalMark { Unknown, Comma, Point };

// The longest text a movie brings in, in characters: far beyond any real comment (the earlier
// version's Memo held 65,535), and small enough that a damaged file cannot fill the memory.
inline constexpr qsizetype kMaxValueLength = 1 << 20;

// A foreign file that cannot be read or written. The message is for the user, in plain
// words: it names the file, and the line or entry and the column where it can.
//
// How transfer code fails: every reader and writer, and every job of the import, export and
// backup, throws TransferError (the catalog's own failures are the store's StoreError), and
// the one place that shows the message catches it. Only a step whose callers weigh its
// failure differently returns it instead: the Access reader's outcome (AccessTableRead, which
// the import and the start-up conversion word apart), the converted catalog's check
// (CatalogWriteFailure), a row the shared insert could not add (MovieInsert). New code throws.
struct TransferError {
    QString message;
};

// Reads movies from a file, one at a time, so a large file is never held whole.
class MovieReader
{
  public:
    virtual ~MovieReader() = default;
    // The next movie, or nothing after the last. Throws TransferError.
    virtual std::optional<MovieRow> next() = 0;
    // The file's own columns or fields that go into no catalog column; complete once next()
    // has given nothing.
    virtual QStringList unusedColumns() const { return {}; }
    // What was left out on the way, for the summary ("2 actors beyond the fourth in 1 movie").
    virtual QStringList notes() const { return {}; }
    // How far reading has come, for a progress bar: bytes of the file read, and its size
    // (0 when not known).
    virtual qint64 bytesRead() const { return 0; }
    virtual qint64 bytesTotal() const { return 0; }
    // The decimal mark the file's own convention implies (a CSV separated by ";" has decimal
    // commas), or Unknown.
    virtual DecimalMark decimalMark() const { return DecimalMark::Unknown; }
    // A catalog of this program's earlier version: its numbers are kept as stored, whatever
    // their range (a year the old pick lists never offered stays the year).
    virtual bool fromThisProgram() const { return false; }
};

// Writes movies to a file. Nothing stands under the file's name until finish() has returned:
// a failed or interrupted export leaves no half-written file and keeps any file it was to
// replace.
class MovieWriter
{
  public:
    virtual ~MovieWriter() = default;
    virtual void write(const MovieRow &movie) = 0; // throws TransferError
    virtual void finish() = 0;                     // throws TransferError
};
