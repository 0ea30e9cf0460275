#pragma once

#include <QString>
#include <QtGlobal>

#include <variant>

// A value for one of the catalog's numeric columns (Value, Copyright, Hours, Minutes), made
// from the text libmdb gives: NULL (monostate) for an empty text; a whole number exactly as
// an integer, however large within 64 bits ("922337203685477.0000" included); any other
// decimal as the double nearest to its exact value (the text is parsed directly: no binary
// float stands between the file and this rounding); and a text that is no number, as text,
// for SQLite's column affinity to deal with.
//
// So the catalog keeps an amount exactly when it is whole or has at most 15 significant
// digits (every amount below 100,000,000,000 with four decimals): read back and rounded to
// four decimals it is the amount in the old file. Beyond that it keeps the nearest double:
// the Currency maximum 922337203685477.5807 is kept as 922337203685477.625.
using CatalogNumber = std::variant<std::monostate, qint64, double, QString>;

CatalogNumber CatalogNumberFromText(const QString &text);
