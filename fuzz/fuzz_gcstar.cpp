// Any bytes as a .gcs file: the reader gives movies or refuses, within its limits.
#include "FuzzFile.h"
#include "GcstarFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzFile("gcs", data, size);
    readEveryMovie([&] { return OpenGcstarReader(path); });
    return 0;
}
