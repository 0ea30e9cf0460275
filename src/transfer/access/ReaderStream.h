#pragma once

#include <cstddef>
#include <string_view>

// The stream reelwarden-mdb-reader writes on its standard output, read back by the converter.
// Every value is length-prefixed, so no text (tabs, line breaks, NUL-free UTF-8 of any kind)
// can be mistaken for framing:
//
//   stream := magic item*
//   magic  := "REELWARDEN-MDB 1\n"
//   item   := 'R' field{column count} '\n'        one row, fields in the order asked for
//           | 'E' rows '\n'                       the end; rows = number of 'R' items before it
//           | 'X' code ' ' len ':' bytes '\n'     a failure; the reader exits with code
//   field  := 'N'                                 NULL
//           | 'V' len ':' bytes                   a value, UTF-8
//           | 'C' len ':' bytes                   a value that filled the read buffer: it may
//                                                 have been cut
//
// A stream without its 'E' or 'X' item was cut off (the reader crashed or was killed).
namespace ReaderStream
{

inline constexpr std::string_view kMagic = "REELWARDEN-MDB 1\n";

inline constexpr char kRow = 'R';
inline constexpr char kEnd = 'E';
inline constexpr char kError = 'X';
inline constexpr char kNull = 'N';
inline constexpr char kValue = 'V';
inline constexpr char kMaybeCut = 'C';

// Exit codes, also the code of an 'X' item.
enum Code : int {
    Ok = 0,
    Usage = 1,
    Unreadable = 2,   // not openable as an Access file: damaged, encrypted or truncated
    NoTable = 3,      // detail: the table name asked for
    NoColumns = 4,    // detail: the missing column names, one a line
    Damaged = 5,      // the table was found but reading its rows went wrong
    OutputFailed = 6, // writing to standard output failed
};

// libmdb's buffer for one value. A Memo typed in Access holds at most 65,535 characters, at
// most 196,605 bytes of UTF-8, so it fits; a longer one (filled in by a program) is marked as
// possibly cut. libmdb allocates a buffer of this size for every value it converts, so a
// larger one makes reading markedly slower.
inline constexpr std::size_t kBindSize = std::size_t(1) << 18;

} // namespace ReaderStream
