#pragma once

#include <QDate>
#include <QString>

// The backup made without asking once a day: a consistent copy of the catalog in the folder
// "backups" beside it, named for the day (BackupRetention), the older ones thinned out as
// BackupRetention keeps them. Safe to run on a thread of its own while the catalog program
// works on the catalog.
class DailyBackup
{
  public:
    DailyBackup(const QString &catalogPath, QDate today);

    QString folder() const;
    // Whether the day's backup is still to be made.
    bool due() const;
    // Makes the day's backup when it is due and removes the backups the rule no longer keeps.
    // Empty when that went well or nothing was due; otherwise, for the user, what went wrong,
    // naming the folder. The catalog is never changed.
    QString run() const;

  private:
    QString removeOldBackups() const;

    QString m_catalog;
    QDate m_today;
};
