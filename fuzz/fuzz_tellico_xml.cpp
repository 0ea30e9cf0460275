// Any bytes as a .xml file: the reader gives movies or refuses, within its limits.
#include "FuzzFile.h"
#include "TellicoFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzFile("xml", data, size);
    readEveryMovie([&] { return OpenTellicoReader(path); });
    return 0;
}
