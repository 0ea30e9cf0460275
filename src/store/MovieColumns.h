#pragma once

#include "MovieColumnTable.h"

#include <QString>
#include <QVariant>

#include <optional>

// The columns of a Movie (kMovieColumns), as the program reads and writes them by name.

// Index of a column in kMovieColumns (names compared without case), or -1.
int movieColumnIndex(const QString &name);

// The caption the windows show beside a column's field.
inline QString movieColumnCaption(int column)
{
    return QLatin1String(kMovieColumns[std::size_t(column)].label);
}

// The value a text stands for in a column of `kind`, as Save stores it, or nothing when the
// column cannot take the text. An empty text stands for no value (NULL). Amounts are read by
// Money::parse in the user's locale.
std::optional<QVariant> columnValue(const QString &text, ColumnKind kind);

// Why a text was refused for `column` ("The value must be an amount, such as $12.50.").
QString columnInputError(ColumnKind kind, const QString &column);
