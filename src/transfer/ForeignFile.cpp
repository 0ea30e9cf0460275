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

void OpenForeignFile(QFile &file, FileNaming naming)
{
    const QFileInfo info(file.fileName());
    const bool byPath = naming == FileNaming::ByPath;
    const QString name = byPath ? file.fileName() : ForeignFileName(file.fileName());
    if (!info.exists())
        throw TransferError{byPath ? QStringLiteral("The file %1 does not exist.").arg(name)
                                   : QStringLiteral("%1 was not found.").arg(name)};
    if (info.isDir())
        throw TransferError{QStringLiteral("%1 is a folder, not a file.").arg(name)};
    RefuseSpecialFile(info, name);
    if (file.open(QIODevice::ReadOnly))
        return;
    throw TransferError{
        byPath ? QStringLiteral("The file %1 cannot be read: %2.").arg(name, file.errorString())
               : QStringLiteral("%1 cannot be read: %2.").arg(name, file.errorString().toLower())};
}

std::unique_ptr<QFile> OpenForeignFile(const QString &path, FileNaming naming)
{
    auto file = std::make_unique<QFile>(path);
    OpenForeignFile(*file, naming);
    return file;
}
