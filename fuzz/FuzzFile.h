#pragma once

// The fuzz input as a file the readers open by name: one file per process and extension,
// rewritten for each input, removed at exit.
#include "MovieRow.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

inline QString fuzzFile(const char *extension, const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("input.") + QLatin1String(extension));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    return path;
}

// Reads every movie; a refusal is an answer, anything else (a crash, a leak, a hang) is not.
template <typename Open> void readEveryMovie(Open open)
{
    try {
        auto reader = open();
        while (reader->next()) {
        }
        reader->unusedColumns();
        reader->notes();
    } catch (const TransferError &) {
    }
}
