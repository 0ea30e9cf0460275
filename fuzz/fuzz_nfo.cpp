// Files of any content read as a media centre's movie .nfo.
#include "ReaderFuzz.h"
#include "nfo/NfoFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzReader(data, size, "movie.nfo", OpenNfoReader);
    return 0;
}
