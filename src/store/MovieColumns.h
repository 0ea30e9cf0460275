#pragma once

#include <QString>
#include <QVariant>

#include <array>
#include <optional>

// The columns of a Movie, as the program reads and writes them by name.
enum class ColumnKind {
    Text,   // free text; an empty control and NULL are the same value
    Money,  // an amount, shown as "$#,##0.00"
    Integer // a whole number (years, hours, minutes)
};

struct MovieColumn {
    const char *name;
    ColumnKind kind;
};

inline constexpr std::array<MovieColumn, 17> kMovieColumns = {{
    {"Title", ColumnKind::Text},
    {"Category", ColumnKind::Text},
    {"Rating", ColumnKind::Text},
    {"Format", ColumnKind::Text},
    {"Value", ColumnKind::Money},
    {"Copyright", ColumnKind::Integer},
    {"Hours", ColumnKind::Integer},
    {"Minutes", ColumnKind::Integer},
    {"Condition", ColumnKind::Text},
    {"TapePosition", ColumnKind::Text},
    {"StarOne", ColumnKind::Text},
    {"StarTwo", ColumnKind::Text},
    {"StarThree", ColumnKind::Text},
    {"StarFour", ColumnKind::Text},
    {"Producer", ColumnKind::Text},
    {"Director", ColumnKind::Text},
    {"Comments", ColumnKind::Text},
}};

// Index of a column in kMovieColumns (names compared without case), or -1.
int movieColumnIndex(const QString &name);

// The value a text stands for in a column of `kind`, as Save stores it, or nothing when the
// column cannot take the text. An empty text stands for no value (NULL). Amounts are read by
// Money::parse in the user's locale.
std::optional<QVariant> columnValue(const QString &text, ColumnKind kind);

// Why a text was refused for `column` ("The value must be an amount, such as $12.50.").
QString columnInputError(ColumnKind kind, const QString &column);
