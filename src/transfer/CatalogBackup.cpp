#include "CatalogBackup.h"

#include "Database.h"
#include "ForeignFile.h"
#include "MovieRow.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QThread>

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace
{

[[noreturn]] void refuse(const QString &message)
{
    throw TransferError{message};
}

void checkTarget(const QString &catalogPath, const QString &target, bool replace)
{
    const QFileInfo info(target);
    const QString name = ForeignFileName(target);
    if (info.isDir())
        refuse(QStringLiteral("%1 is a folder; the backup needs a file name.").arg(name));
    if (info.exists() && info.canonicalFilePath() == QFileInfo(catalogPath).canonicalFilePath())
        refuse(
            QStringLiteral("%1 is the catalog itself; a backup goes to another file.").arg(name));
    if (info.exists() && !replace)
        refuse(QStringLiteral("%1 already exists; --force replaces it.").arg(name));
    if (!info.absoluteDir().exists())
        refuse(QStringLiteral("The folder %1 does not exist.")
                   .arg(QDir::toNativeSeparators(info.absolutePath())));
}

QString reason(sqlite3 *db, int rc)
{
    const int error = sqlite3_system_errno(db);
    if ((rc & 0xff) == SQLITE_FULL || error == ENOSPC)
        return QStringLiteral("the disk is full");
    if (error != 0)
        return QString::fromLocal8Bit(std::strerror(error));
    return QString::fromUtf8(sqlite3_errstr(rc));
}

// Copies every page; a write of another program in the way is waited for.
int copyPages(sqlite3 *source, sqlite3 *copy)
{
    sqlite3_backup *backup = sqlite3_backup_init(copy, "main", source, "main");
    if (!backup)
        return sqlite3_errcode(copy);
    QDeadlineTimer patience(Database::kBusyTimeoutMs * 5);
    int rc = SQLITE_OK;
    do {
        rc = sqlite3_backup_step(backup, -1);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            QThread::msleep(20);
    } while ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED || rc == SQLITE_OK) &&
             !patience.hasExpired());
    sqlite3_backup_finish(backup);
    return rc == SQLITE_DONE ? sqlite3_errcode(copy) : rc;
}

void writeCopy(Database &catalog, const QString &path)
{
    sqlite3 *copy = nullptr;
    int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &copy, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK)
        rc = copyPages(catalog.handle(), copy);
    const QString why = reason(copy, rc);
    if (sqlite3_close(copy) != SQLITE_OK && rc == SQLITE_OK)
        rc = SQLITE_IOERR;
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        refuse(QStringLiteral("The catalog is in use by another program. Try again in a moment."));
    if (rc != SQLITE_OK)
        refuse(QStringLiteral("The backup cannot be written: %1.").arg(why));
}

// Puts the complete copy under its name: link() never replaces a file, rename() does.
void putInPlace(const QString &temporary, const QString &target, bool replace)
{
    const QByteArray from = QFile::encodeName(temporary);
    const QByteArray to = QFile::encodeName(target);
    const int done = replace ? std::rename(from.constData(), to.constData())
                             : ::link(from.constData(), to.constData());
    if (done != 0 && errno == EEXIST)
        refuse(
            QStringLiteral("%1 already exists; --force replaces it.").arg(ForeignFileName(target)));
    if (done != 0)
        refuse(QStringLiteral("The backup cannot be written: %1.")
                   .arg(QString::fromLocal8Bit(std::strerror(errno))));
}

} // namespace

void BackupCatalog(const QString &catalogPath, const QString &target, bool replace)
{
    std::unique_ptr<Database> catalog = Database::open(catalogPath);
    checkTarget(catalogPath, target, replace);
    QTemporaryFile temporary(QFileInfo(target).absoluteFilePath() + QStringLiteral(".XXXXXX.part"));
    if (!temporary.open())
        refuse(QStringLiteral("The backup cannot be written in the folder %1: %2.")
                   .arg(QDir::toNativeSeparators(QFileInfo(target).absolutePath()),
                        temporary.errorString()));
    temporary.close();
    writeCopy(*catalog, temporary.fileName());
    // The copy may be read by whoever may read the catalog (QTemporaryFile makes it private).
    QFile::setPermissions(temporary.fileName(),
                          QFile::permissions(catalogPath) | QFile::ReadOwner | QFile::WriteOwner);
    putInPlace(temporary.fileName(), target, replace);
}
