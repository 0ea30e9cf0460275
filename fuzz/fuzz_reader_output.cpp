// Any bytes as the Access reader's output stream: parsed to rows or to a failure, never
// trusted beyond what they say. The first byte picks the column count.
#include "ReaderOutput.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray output(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    ParseReaderOutput(output, data[0] % 24);
    return 0;
}
