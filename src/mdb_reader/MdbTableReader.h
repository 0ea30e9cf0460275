#pragma once

#include <cstdio>
#include <string>
#include <vector>

class StderrCapture;

// Reads one table of an Access (Jet 3, Jet 4 or ACE) file with libmdb and writes its rows to
// `out` in the ReaderStream format. The table is found by name regardless of case, and so is
// each column; values are libmdb's text in the C locale (Currency with four decimals, whole
// numbers plain, dates as "YYYY-MM-DD hh:mm:ss", Yes/No as 1 or 0). The file is opened read
// only and never changed.
class MdbTableReader
{
  public:
    MdbTableReader(std::FILE *out, const StderrCapture &diagnostics);

    // Writes the whole stream, ending with its 'E' item or an 'X' item, and returns the
    // ReaderStream::Code for the process to exit with. The caller sets the C locale first.
    int run(const std::string &path, const std::string &table,
            const std::vector<std::string> &columns);

  private:
    // Ends the stream with an 'X' item; `explanation` (or else `detail`) goes to the person
    // running the reader by hand.
    int fail(int code, const std::string &detail, const std::string &explanation = {});

    std::FILE *out_;
    const StderrCapture &diagnostics_;
};
