#include "AccessFile.h"

#include <QFile>

bool IsAccessFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(20);
    if (head.size() < 20)
        return false;
    // Both signatures are NUL-terminated in the file.
    const QByteArray signature = head.mid(4, 16);
    return signature == QByteArray("Standard Jet DB", 16) ||
           signature == QByteArray("Standard ACE DB", 16);
}
