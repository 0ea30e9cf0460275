#pragma once

#include "MovieRow.h"

#include <QString>

#include <vector>

// Reads the numbers of a movie from another program the way a person reads them, and brings
// them to the plain form the catalog stores ("1049.50", "1979", "1" and "42"):
//
// - Value: an amount with a currency symbol or code before or after it ("12,50 €", "€12.50",
//   "12.50 USD", "CHF 1'049.50"), a minus before or after the number, blanks or apostrophes
//   between digit groups. When both "." and "," stand in it, the last one is the decimal mark.
//   One of them alone is a decimal mark, unless it comes more than once (then it groups
//   thousands) or exactly three digits follow it ("1,234", "1.234"): that one is read with
//   the file's decimal mark (DecimalMark, from --decimal-comma/--decimal-point or the file's
//   own convention), else with the mark an earlier amount of the file showed; a file that
//   shows none is refused as ambiguous. The locale plays no part.
// - Copyright: a year of 1800 to 2200, alone, in brackets, or the year of a date
//   (1979-05-25, 25.05.1979, 25/05/1979); "????", "?", "-", "unknown", "n/a" and blanks mean
//   no year.
// - Hours and Minutes: whole numbers, hours 0 to 20 and minutes 0 to 59. A running time given
//   as one text stands in Minutes with Hours NULL: "102", "102 min", "1h 42m", "1:42",
//   "1:42:00", "PT1H42M" are split into hours and minutes ("42" is 0 hours 42 minutes). A
//   file that has hours apart but none for a movie gives Hours as an empty text.
//
// A value that still fits no column is set aside: the column becomes NULL and the value is
// given back, for the import to keep in Comments or refuse.
class ForeignValues
{
  public:
    struct SetAside {
        int column;     // index into MovieRow::values
        QString label;  // how Comments names it: the column, or "Length" for a running time
        QString text;   // the value as the file has it
        QString reason; // why it fits no column, for --strict
        bool ambiguous; // an amount whose decimal mark only the user can tell
    };

    // `ranges`: whether a year, hours and minutes must lie in their ranges; a catalog of this
    // program's earlier version keeps any whole number it holds.
    explicit ForeignValues(DecimalMark mark = DecimalMark::Unknown, bool ranges = true)
        : m_mark(mark), m_ranges(ranges)
    {
    }

    // Brings the movie's Value, Copyright, Hours and Minutes to the stored form; gives what
    // did not fit, those columns then NULL.
    std::vector<SetAside> read(MovieRow &movie);

    // Adds "Label: text" lines for the values set aside at the end of the movie's Comments.
    static void keepInComments(MovieRow &movie, const std::vector<SetAside> &setAside);

  private:
    void readAmount(MovieRow &movie, std::vector<SetAside> &setAside);
    void readYear(MovieRow &movie, std::vector<SetAside> &setAside);
    void readLength(MovieRow &movie, std::vector<SetAside> &setAside);

    DecimalMark m_mark; // the file's, when known
    bool m_ranges;
    DecimalMark m_learned = DecimalMark::Unknown; // shown by an earlier amount of the file
};
