// Files of any content read as DVD Profiler's collection export.
#include "ReaderFuzz.h"
#include "dvdprofiler/DvdProfilerFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzReader(data, size, "collection.xml", OpenDvdProfilerReader);
    return 0;
}
