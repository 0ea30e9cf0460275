#pragma once

#include "MovieRow.h"

#include <QHash>

#include <memory>

// Other programs' column names for the catalog's columns, from --map "Their Name=Title": the
// key in lower case, the value a catalog column's name.
using ColumnMap = QHash<QString, QString>;

// Reads a CSV file (RFC 4180): UTF-8, a byte-order mark accepted, or Windows-1252 when the
// file is not valid UTF-8. The first row names the columns, matched to the catalog's by name
// (letter case aside, in any order) or through `map`. An empty cell is NULL, a quoted empty
// cell ("") an empty text. Movies are "line N", the line on which their row begins. Throws
// TransferError naming the file and the line.
std::unique_ptr<MovieReader> OpenCsvReader(const QString &path, const ColumnMap &map = {});

// Writes a CSV file in UTF-8 with a byte-order mark, so spreadsheets read it as such: a
// header of the catalog's 17 column names in its order, then one row a movie, CRLF between
// rows, values exactly as given (line breaks inside quotes). NULL is an empty cell, an empty
// text a quoted one.
std::unique_ptr<MovieWriter> OpenCsvWriter(const QString &path);
