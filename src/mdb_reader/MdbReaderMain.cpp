// reelwarden-mdb-reader FILE [TABLE COLUMN...]
//
// Writes the rows of a table of an Access file on standard output in the ReaderStream format;
// without TABLE, the Movies table of a catalog written by the earlier Windows version, with
// the columns the converter needs. Reelwarden runs it in a child process because libmdb
// prints diagnostics and may loop forever on a damaged file; the parent can then drop the
// chatter and stop a reading that takes too long.
#include "AccessColumns.h"
#include "MdbTableReader.h"
#include "ReaderStream.h"
#include "StderrCapture.h"

#include <clocale>
#include <cstdio>

int main(int argc, char **argv)
{
    // libmdb writes numbers with the C library's printf: a decimal comma would break them.
    std::setlocale(LC_ALL, "C");
    if (argc < 2 || argc == 3) {
        std::fprintf(stderr, "usage: reelwarden-mdb-reader FILE [TABLE COLUMN...]\n");
        return ReaderStream::Usage;
    }
    std::string table(AccessColumns::kMoviesTable);
    std::vector<std::string> columns(AccessColumns::kMovieColumns.begin(),
                                     AccessColumns::kMovieColumns.end());
    if (argc > 3) {
        table = argv[2];
        columns.assign(argv + 3, argv + argc);
    }

    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    StderrCapture diagnostics;
    MdbTableReader reader(stdout, diagnostics);
    int code = reader.run(argv[1], table, columns);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        diagnostics.tell("reelwarden-mdb-reader: writing the rows failed");
        code = ReaderStream::OutputFailed;
    }
    return code;
}
