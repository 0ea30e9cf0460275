#include "CatalogCopy.h"

#include "Database.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>

namespace
{

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

} // namespace

std::optional<CopyFailure> CopyCatalog(Database &catalog, const QString &path)
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
        return CopyFailure{true, why};
    if (rc != SQLITE_OK)
        return CopyFailure{false, why};
    return std::nullopt;
}
