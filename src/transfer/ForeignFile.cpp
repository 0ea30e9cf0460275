#include "ForeignFile.h"

#include "MovieRow.h"

#include <QFileInfo>

QString ForeignFileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

void RefuseSpecialFile(const QFileInfo &info, const QString &shownAs)
{
    if (info.exists() && !info.isDir() && !info.isFile())
        throw TransferError{
            QStringLiteral("%1 is a device, pipe or socket, not a file; only files are read.")
                .arg(shownAs)};
}

void OpenForeignFile(QFile &file)
{
    const QFileInfo info(file.fileName());
    const QString name = ForeignFileName(file.fileName());
    if (!info.exists())
        throw TransferError{QStringLiteral("%1 was not found.").arg(name)};
    if (info.isDir())
        throw TransferError{QStringLiteral("%1 is a folder, not a file.").arg(name)};
    RefuseSpecialFile(info, name);
    if (!file.open(QIODevice::ReadOnly))
        throw TransferError{
            QStringLiteral("%1 cannot be read: %2.").arg(name, file.errorString().toLower())};
}
