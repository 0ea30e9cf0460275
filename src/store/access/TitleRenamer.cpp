#include "TitleRenamer.h"

#include <QSet>

namespace
{

bool isNamed(const AccessValue &title)
{
    return title && !title->isEmpty();
}

QString numbered(const QString &title, int number)
{
    return title + QStringLiteral(" (") + QString::number(number) + QLatin1Char(')');
}

} // namespace

int RenameDuplicateTitles(QList<AccessValue> &titles)
{
    // Every original title is reserved up front, so that a new name never takes the title
    // of a row further down.
    QSet<QString> taken;
    for (const AccessValue &title : titles) {
        if (isNamed(title))
            taken.insert(title->toUpper());
    }
    QSet<QString> kept;
    int renamed = 0;
    for (AccessValue &title : titles) {
        if (!isNamed(title))
            continue;
        const QString key = title->toUpper();
        if (!kept.contains(key)) {
            kept.insert(key);
            continue;
        }
        QString candidate;
        for (int number = 2; taken.contains((candidate = numbered(*title, number)).toUpper());
             ++number) {
        }
        taken.insert(candidate.toUpper());
        kept.insert(candidate.toUpper());
        title = candidate;
        ++renamed;
    }
    return renamed;
}
