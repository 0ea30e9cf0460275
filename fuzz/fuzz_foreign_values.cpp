// Any text in a numeric column of another program's file, with any decimal mark: reading it
// never crashes; an amount or year it stores reads back as itself; what it sets aside is kept
// in Comments.
#include "ForeignValues.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    static const int columns[] = {4, 5, 6, 7}; // Value, Copyright, Hours, Minutes
    const int column = columns[data[0] % 4];
    const DecimalMark mark = DecimalMark(data[1] % 3);
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    MovieRow movie;
    movie.values[std::size_t(column)] = text;
    if (data[0] & 0x80)
        movie.values[6] = QString(); // hours apart: Minutes is not a running time
    ForeignValues values(mark);
    const auto aside = values.read(movie);
    ForeignValues::keepInComments(movie, aside);
    if (!aside.empty() && !movie.values[16]->endsWith(text))
        std::abort();
    // An amount or year as stored, read again as a plain decimal, is itself.
    if (column > 5 || !movie.values[std::size_t(column)])
        return 0;
    MovieRow again;
    again.values[std::size_t(column)] = movie.values[std::size_t(column)];
    if (!ForeignValues(DecimalMark::Point).read(again).empty() ||
        again.values[std::size_t(column)] != movie.values[std::size_t(column)])
        std::abort();
    return 0;
}
