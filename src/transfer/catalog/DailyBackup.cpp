#include "DailyBackup.h"

#include "BackupRetention.h"
#include "CatalogBackup.h"
#include "MovieRow.h"
#include "StoreError.h"

#include <QDir>
#include <QFileInfo>

namespace
{

QString failure(const QString &folder, const QString &why)
{
    return QStringLiteral("Today's backup of the catalog could not be made in the folder %1. "
                          "%2\n\nYour catalog is as it was, and Reelwarden works on; it tries "
                          "again the next time it opens.")
        .arg(QDir::toNativeSeparators(folder), why);
}

} // namespace

DailyBackup::DailyBackup(const QString &catalogPath, QDate today)
    : m_catalog(QFileInfo(catalogPath).absoluteFilePath()), m_today(today)
{
}

QString DailyBackup::folder() const
{
    return QFileInfo(m_catalog).absoluteDir().filePath(QStringLiteral("backups"));
}

bool DailyBackup::due() const
{
    return !QFileInfo::exists(QDir(folder()).filePath(BackupRetention::fileName(m_today)));
}

QString DailyBackup::run() const
{
    if (!due())
        return {};
    if (!QDir().mkpath(folder()))
        return failure(folder(), QStringLiteral("The folder cannot be created."));
    try {
        BackupCatalog(m_catalog, QDir(folder()).filePath(BackupRetention::fileName(m_today)),
                      false);
    } catch (const TransferError &error) {
        if (due()) // not made by a second Reelwarden opening the catalog at the same moment
            return failure(folder(), error.message);
    } catch (const StoreError &error) {
        return failure(folder(), error.message());
    }
    return removeOldBackups();
}

QString DailyBackup::removeOldBackups() const
{
    QDir dir(folder());
    QList<QDate> days;
    const QStringList names = dir.entryList(QDir::Files);
    for (const QString &name : names) {
        if (const QDate day = BackupRetention::dayOf(name); day.isValid())
            days << day;
    }
    const QList<QDate> keep = BackupRetention::kept(days, m_today);
    QStringList left;
    for (const QDate day : days) {
        const QString name = BackupRetention::fileName(day);
        if (!keep.contains(day) && !dir.remove(name))
            left << name;
    }
    if (left.isEmpty())
        return {};
    return QStringLiteral("Old backups in the folder %1 could not be removed: %2.")
        .arg(QDir::toNativeSeparators(folder()), left.join(QStringLiteral(", ")));
}
