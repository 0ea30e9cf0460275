#include "CatalogSwap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

QString keptName(const QFileInfo &catalog, int number)
{
    const QString suffix = catalog.suffix().isEmpty() ? QString() : u'.' + catalog.suffix();
    const QString counter = number > 1 ? u'-' + QString::number(number) : QString();
    return catalog.completeBaseName() + QStringLiteral("-access") + counter + suffix;
}

fs::path nativePath(const QString &path)
{
    return fs::path(QFile::encodeName(path).toStdString());
}

// A copy made with exclusive creation, so that an existing file is never overwritten, and
// synced before anyone relies on it. Returns an errno-style error.
std::error_code copyExclusive(const QString &from, const QString &to)
{
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly))
        return std::make_error_code(std::errc::permission_denied);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return QFile::exists(to) ? std::make_error_code(std::errc::file_exists)
                                 : std::make_error_code(std::errc::permission_denied);
    while (!source.atEnd()) {
        const QByteArray block = source.read(1 << 20);
        if (block.isEmpty() || target.write(block) != block.size()) {
            target.remove();
            return std::make_error_code(std::errc::io_error);
        }
    }
    if (!target.flush() || ::fsync(target.handle()) != 0) {
        target.remove();
        return std::make_error_code(std::errc::io_error);
    }
    return {};
}

// Gives the original its second name; returns the path used, or sets `error`.
QString linkOriginal(const QString &catalogPath, std::error_code &error)
{
    const QFileInfo catalog(catalogPath);
    for (int number = 1;; ++number) {
        const QString kept = catalog.dir().filePath(keptName(catalog, number));
        error.clear();
        fs::create_hard_link(nativePath(catalogPath), nativePath(kept), error);
        if (error && error != std::errc::file_exists)
            error = copyExclusive(catalogPath, kept); // e.g. a FAT volume: no hard links
        if (!error)
            return kept;
        if (error != std::errc::file_exists)
            return {};
    }
}

// Makes the renames durable; a folder that cannot be synced is no reason to fail.
void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

QString KeptOriginalPath(const QString &catalogPath)
{
    const QFileInfo catalog(catalogPath);
    for (int number = 1;; ++number) {
        const QString kept = catalog.dir().filePath(keptName(catalog, number));
        if (!QFileInfo::exists(kept) && !QFileInfo(kept).isSymLink())
            return kept;
    }
}

CatalogSwapResult SwapInConvertedCatalog(const QString &catalogPath, const QString &newCatalogPath)
{
    std::error_code error;
    const QString kept = linkOriginal(catalogPath, error);
    if (kept.isEmpty())
        return {{}, QString::fromStdString(error.message())};
    // rename(2) replaces the target in one step: there is no moment without a catalog.
    fs::rename(nativePath(newCatalogPath), nativePath(catalogPath), error);
    if (error) {
        QFile::remove(kept);
        return {{}, QString::fromStdString(error.message())};
    }
    syncFolder(QFileInfo(catalogPath).absolutePath());
    return {kept, {}};
}
