#pragma once

#include <QDate>
#include <QList>
#include <QString>

// The daily backups of a catalog, movies-YYYY-MM-DD.mdb, and which of them are kept: the
// newest seven, and the first of each of the six calendar months up to today's (this month
// and the five before it). Other files are never the rule's to remove.
class BackupRetention
{
  public:
    static constexpr int kNewest = 7;
    static constexpr int kMonths = 6;

    static QString fileName(QDate day);
    // The day a daily backup's file name stands for; an invalid date for any other name.
    static QDate dayOf(const QString &fileName);
    // The days of `backups` (each once) that the rule keeps, newest first.
    static QList<QDate> kept(QList<QDate> backups, QDate today);
};
