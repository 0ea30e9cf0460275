#include "TitleRenamer.h"

#include "TextFold.h"

#include <QHash>
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
            taken.insert(TextFold::folded(*title));
    }
    QSet<QString> kept;
    QHash<QString, int> nextNumber; // per title: numbers below it are taken, whatever is renamed
    int renamed = 0;
    for (AccessValue &title : titles) {
        if (!isNamed(title))
            continue;
        const QString key = TextFold::folded(*title);
        if (!kept.contains(key)) {
            kept.insert(key);
            continue;
        }
        QString candidate;
        auto found = nextNumber.find(key);
        if (found == nextNumber.end())
            found = nextNumber.insert(key, 2);
        int &number = *found;
        while (taken.contains(TextFold::folded(candidate = numbered(*title, number))))
            ++number;
        taken.insert(TextFold::folded(candidate));
        kept.insert(TextFold::folded(candidate));
        title = candidate;
        ++renamed;
    }
    return renamed;
}
