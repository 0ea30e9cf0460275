#include "BackupRetention.h"

#include <QRegularExpression>

#include <algorithm>

QString BackupRetention::fileName(QDate day)
{
    return QStringLiteral("movies-%1.mdb").arg(day.toString(QStringLiteral("yyyy-MM-dd")));
}

QDate BackupRetention::dayOf(const QString &fileName)
{
    static const QRegularExpression name(
        QStringLiteral("^movies-([0-9]{4})-([0-9]{2})-([0-9]{2})\\.mdb$"));
    const QRegularExpressionMatch match = name.match(fileName);
    if (!match.hasMatch())
        return {};
    return QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
}

QList<QDate> BackupRetention::kept(QList<QDate> backups, QDate today)
{
    std::sort(backups.begin(), backups.end(), std::greater<>());
    backups.erase(std::unique(backups.begin(), backups.end()), backups.end());
    QList<QDate> keep = backups.mid(0, kNewest);
    const QDate thisMonth(today.year(), today.month(), 1);
    for (int back = 0; back < kMonths; ++back) {
        const QDate month = thisMonth.addMonths(-back);
        // The first backup of the month: the last of the newest-first list within it.
        auto first = std::find_if(backups.rbegin(), backups.rend(), [&](QDate day) {
            return day.year() == month.year() && day.month() == month.month();
        });
        if (first != backups.rend() && !keep.contains(*first))
            keep << *first;
    }
    std::sort(keep.begin(), keep.end(), std::greater<>());
    return keep;
}
