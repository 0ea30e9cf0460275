// Files of any content offered as a Reelwarden catalog or backup to import from: telling
// whether one is, and reading its movies, never crashes, and every movie read has a place
// and values within the import's limit.
#include "MovieRow.h"
#include "ReelwardenReader.h"

#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace
{
const QString &scratchPath()
{
    static const QString path = QStringLiteral("/tmp/reelwarden-fuzz-%1.mdb").arg(::getpid());
    return path;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    {
        QFile::remove(scratchPath() + QStringLiteral("-journal"));
        QFile file(scratchPath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    if (!IsReelwardenCatalog(scratchPath()))
        return 0;
    try {
        auto reader = OpenReelwardenReader(scratchPath());
        while (std::optional<MovieRow> movie = reader->next()) {
            if (movie->where.isEmpty())
                std::abort();
        }
    } catch (const TransferError &) {
        // a damaged catalog is refused with a message
    }
    return 0;
}
