#pragma once

#include "MovieColumnTable.h"

#include <array>
#include <string_view>

// What the converter asks the reader for: the old catalog's table and the columns the new
// catalog keeps besides ID, in the new catalog's column order, which the old catalog's columns
// share by name. Plain C++ so that the reader, which links no Qt, shares the list with the
// converter.
namespace AccessColumns
{

inline constexpr std::string_view kMoviesTable = "Movies";

inline constexpr std::array<std::string_view, ::kMovieColumns.size()> kMovieColumns = [] {
    std::array<std::string_view, ::kMovieColumns.size()> names;
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i] = ::kMovieColumns[i].name;
    return names;
}();

// Columns the new catalog holds as numbers; every other column is text.
inline constexpr bool isNumericColumn(std::string_view name)
{
    for (const MovieColumnInfo &column : ::kMovieColumns) {
        if (column.name == name)
            return column.kind != ColumnKind::Text;
    }
    return false;
}

} // namespace AccessColumns
