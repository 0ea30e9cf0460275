// Files of any content read as Kodi's library export.
#include "ReaderFuzz.h"
#include "nfo/NfoFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzReader(data, size, "videodb.xml", OpenVideodbReader);
    return 0;
}
