#include "AccessFile.h"

#include "AccessSignature.h"

#include <QFile>

bool IsAccessFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return IsAccessSignature(file.read(20));
}
