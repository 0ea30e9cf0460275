// Files of any content read as Griffith's XML export (and a database, when the bytes start like
// SQLite's).
#include "ReaderFuzz.h"
#include "griffith/GriffithFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzReader(data, size, "griffith.xml", OpenGriffithReader);
    return 0;
}
