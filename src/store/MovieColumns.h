#pragma once

#include <QString>

#include <array>

// The columns of a Movie, as the program reads and writes them by name.
enum class ColumnKind {
    Text,    // free text; an empty control and NULL are the same value
    Money,   // an amount, shown as "$#,##0.00"
    Integer  // a whole number (years, hours, minutes)
};

struct MovieColumn {
    const char *name;
    ColumnKind kind;
};

inline constexpr std::array<MovieColumn, 17> kMovieColumns = {{
    {"Title", ColumnKind::Text},       {"Category", ColumnKind::Text},
    {"Rating", ColumnKind::Text},      {"Format", ColumnKind::Text},
    {"Value", ColumnKind::Money},      {"Copyright", ColumnKind::Integer},
    {"Hours", ColumnKind::Integer},    {"Minutes", ColumnKind::Integer},
    {"Condition", ColumnKind::Text},   {"TapePosition", ColumnKind::Text},
    {"StarOne", ColumnKind::Text},     {"StarTwo", ColumnKind::Text},
    {"StarThree", ColumnKind::Text},   {"StarFour", ColumnKind::Text},
    {"Producer", ColumnKind::Text},    {"Director", ColumnKind::Text},
    {"Comments", ColumnKind::Text},
}};

// Index of a column in kMovieColumns (names compared without case), or -1.
int movieColumnIndex(const QString &name);
