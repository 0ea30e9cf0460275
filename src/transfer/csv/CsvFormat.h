#pragma once

#include "CsvColumns.h"
#include "MovieRow.h"

#include <memory>

// How to read a CSV file beyond what it says itself.
struct CsvOptions {
    ColumnMap map;       // --map "Their Name=Title"
    QStringList columns; // --columns: the file has no header row, these name its columns
};

// Reads a CSV file (RFC 4180) as spreadsheets and film sites write it. The values are
// separated by what the header line separates most: ",", ";" or a tab. The text is UTF-8
// (a byte-order mark or none) or UTF-16 with a byte-order mark; a file with no valid UTF-8
// sequence of several bytes is Windows-1252; a file that mixes them is refused naming the
// first line that is not UTF-8. The first row names the columns (CsvColumns), unless
// `options.columns` does. An empty cell is NULL, a quoted empty cell ("") an empty text, and a
// text cell starting with an apostrophe before "=", "+", "-", "@", a tab or a carriage return
// (as the export protects them) loses that apostrophe. Movies are "line N", the line on which
// their row begins. Throws TransferError naming the file and the line.
std::unique_ptr<MovieReader> OpenCsvReader(const QString &path, const CsvOptions &options = {});

// Writes a CSV file in UTF-8 with a byte-order mark, so spreadsheets read it as such: a
// header of the catalog's 17 column names in its order, then one row a movie, CRLF between
// rows, values exactly as given (line breaks inside quotes). NULL is an empty cell, an empty
// text a quoted one. A text a spreadsheet would take for a formula (starting with "=", "+",
// "-", "@", a tab or a carriage return, after any apostrophes) gets an apostrophe before it, so
// it is shown as text; the import takes it off again.
std::unique_ptr<MovieWriter> OpenCsvWriter(const QString &path);
