// Settings files of any content: reading never crashes, and what is read obeys the reader's
// own limits.
#include "Profile.h"
#include "Settings.h"

#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace
{
const QString &scratchPath()
{
    static const QString path = QStringLiteral("/tmp/reelwarden-fuzz-%1.ini").arg(::getpid());
    return path;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    {
        QFile file(scratchPath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const Profile profile(scratchPath());
    const QString count = ReadIni(profile, QStringLiteral("Categories"),
                                  QStringLiteral("CategoryTotal"), QStringLiteral("0"));
    if (count.size() > MaxIniValueLength)
        std::abort();
    const int entries = pickListCount(count);
    if (entries < 0 || entries > MaxPickListCount)
        std::abort();
    const QStringList list =
        ReadPickList(profile, QStringLiteral("Categories"), QStringLiteral("CategoryTotal"),
                     QStringLiteral("Category."));
    if (list.size() != entries)
        std::abort();
    for (const QString &entry : list) {
        if (entry.size() > MaxIniValueLength)
            std::abort();
    }
    ReadPickList(profile, QStringLiteral("Ratings"), QStringLiteral("RatingTotal"),
                 QStringLiteral("Rating."));
    return 0;
}
