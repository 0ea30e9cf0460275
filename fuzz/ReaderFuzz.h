#pragma once

// What every foreign-file reader's fuzz target does: the bytes as a file named `name`, the
// format told from them as an import tells it, then `open` reading every movie. A refusal is
// fine; a crash, a hang or a value beyond the import's limit is not.
#include "Formats.h"

#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

inline void FuzzReader(const uint8_t *data, size_t size, const char *name,
                       std::unique_ptr<MovieReader> (*open)(const QString &))
{
    const QString path =
        QStringLiteral("/tmp/reelwarden-fuzz-%1-%2").arg(::getpid()).arg(QLatin1String(name));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    try {
        FormatToRead(QString(), path);
    } catch (const TransferError &) {
    }
    try {
        std::unique_ptr<MovieReader> reader = open(path);
        while (std::optional<MovieRow> row = reader->next()) {
            for (const std::optional<QString> &value : row->values)
                if (value && value->size() > qsizetype(size))
                    std::abort(); // a value longer than the file: read twice or made up
        }
        reader->notes();
        reader->unusedColumns();
    } catch (const TransferError &) {
    }
}
