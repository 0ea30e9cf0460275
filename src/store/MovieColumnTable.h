#pragma once

#include <array>

// The columns of a Movie: the one table the catalog, the window and every file format take
// them from. Plain C++, so that the Access reader, which links no Qt, shares it.

enum class ColumnKind {
    Text,   // free text; an empty control and NULL are the same value
    Money,  // an amount, shown as "$#,##0.00"
    Integer // a whole number (years, hours, minutes)
};

struct MovieColumnInfo {
    const char *name; // as the Movies table names it
    ColumnKind kind;
    const char *label; // the caption the main window shows for it
    // The whole numbers a file may bring into an Integer column (an import refuses or keeps
    // in Comments what lies beyond); both 0 for the other kinds.
    int first = 0;
    int last = 0;
};

inline constexpr std::array<MovieColumnInfo, 17> kMovieColumns = {{
    {"Title", ColumnKind::Text, "Title"},
    {"Category", ColumnKind::Text, "Category"},
    {"Rating", ColumnKind::Text, "Rating"},
    {"Format", ColumnKind::Text, "Format"},
    {"Value", ColumnKind::Money, "Value"},
    {"Copyright", ColumnKind::Integer, "Copyright", 1800, 2200},
    {"Hours", ColumnKind::Integer, "Hours", 0, 20},
    {"Minutes", ColumnKind::Integer, "Minutes", 0, 59},
    {"Condition", ColumnKind::Text, "Condition"},
    {"TapePosition", ColumnKind::Text, "Tape Position"},
    {"StarOne", ColumnKind::Text, "Star #1"},
    {"StarTwo", ColumnKind::Text, "Star #2"},
    {"StarThree", ColumnKind::Text, "Star #3"},
    {"StarFour", ColumnKind::Text, "Star #4"},
    {"Producer", ColumnKind::Text, "Producer"},
    {"Director", ColumnKind::Text, "Director"},
    {"Comments", ColumnKind::Text, "Comments"},
}};

// A column's index in kMovieColumns, by its name: MovieColumn::Title ... MovieColumn::Comments.
namespace MovieColumn
{
enum : int {
    Title,
    Category,
    Rating,
    Format,
    Value,
    Copyright,
    Hours,
    Minutes,
    Condition,
    TapePosition,
    StarOne,
    StarTwo,
    StarThree,
    StarFour,
    Producer,
    Director,
    Comments
};
}

namespace MovieColumnCheck
{
constexpr bool sameName(const char *a, const char *b)
{
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}
static_assert(sameName(kMovieColumns[MovieColumn::Title].name, "Title") &&
              sameName(kMovieColumns[MovieColumn::Value].name, "Value") &&
              sameName(kMovieColumns[MovieColumn::Copyright].name, "Copyright") &&
              sameName(kMovieColumns[MovieColumn::Hours].name, "Hours") &&
              sameName(kMovieColumns[MovieColumn::Minutes].name, "Minutes") &&
              sameName(kMovieColumns[MovieColumn::TapePosition].name, "TapePosition") &&
              sameName(kMovieColumns[MovieColumn::StarFour].name, "StarFour") &&
              sameName(kMovieColumns[MovieColumn::Comments].name, "Comments") &&
              MovieColumn::Comments + 1 == kMovieColumns.size());
} // namespace MovieColumnCheck
