#pragma once

#include <array>
#include <string_view>

// What the converter asks the reader for: the old catalog's table and the columns the new
// catalog keeps besides ID, in the new catalog's column order. Plain C++ so that the reader,
// which links no Qt, shares the list with the converter.
namespace AccessColumns
{

inline constexpr std::string_view kMoviesTable = "Movies";

inline constexpr std::array<std::string_view, 17> kMovieColumns = {
    "Title",     "Category", "Rating",    "Format",       "Value",    "Copyright",
    "Hours",     "Minutes",  "Condition", "TapePosition", "StarOne",  "StarTwo",
    "StarThree", "StarFour", "Producer",  "Director",     "Comments",
};

// Columns the new catalog holds as numbers; every other column is text.
inline constexpr bool isNumericColumn(std::string_view name)
{
    return name == "Value" || name == "Copyright" || name == "Hours" || name == "Minutes";
}

} // namespace AccessColumns
