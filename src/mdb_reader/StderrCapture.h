#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Sends whatever is written on standard error (libmdb prints its diagnostics there) to a
// private temporary file for the lifetime of the object. The reader's caller then sees none
// of that chatter, and the reader can still tell whether libmdb complained: on a damaged file
// it often prints a warning and carries on with what it could read.
class StderrCapture
{
  public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture &) = delete;
    StderrCapture &operator=(const StderrCapture &) = delete;

    // True once anything has been written on standard error since construction.
    bool any() const;
    // The first line written, without its line break; empty when nothing was.
    std::string firstLine() const;
    // Writes a line to the standard error the process had before the capture, for a person
    // running the reader by hand.
    void tell(std::string_view text) const;

  private:
    std::FILE *capture_ = nullptr;
    int original_ = -1;
};
