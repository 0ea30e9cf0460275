// Any bytes as a .csv file: the reader gives movies or refuses, within its limits.
#include "CsvFormat.h"
#include "FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzFile("csv", data, size);
    readEveryMovie([&] { return OpenCsvReader(path); });
    return 0;
}
