// Another catalog program's file of any content: the format's probe and reader never crash,
// hang or read without bound; a bad file ends in a TransferError. Built once per format, with
// FUZZ_HEADER declaring FUZZ_OPEN and FUZZ_PROBE.
#include FUZZ_HEADER

#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace
{
const QString &scratchPath()
{
    static const QString path = QStringLiteral("/tmp/reelwarden-fuzz-reader-%1").arg(::getpid());
    return path;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile file(scratchPath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(bytes);
    }
    FUZZ_PROBE(scratchPath(), QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), 4096)));
    try {
        auto reader = FUZZ_OPEN(scratchPath());
        while (const auto row = reader->next()) {
            if (row->where.isEmpty())
                std::abort();
        }
        if (reader->bytesRead() > reader->bytesTotal())
            std::abort();
        reader->notes();
        reader->unusedColumns();
    } catch (const TransferError &) {
    }
    return 0;
}
