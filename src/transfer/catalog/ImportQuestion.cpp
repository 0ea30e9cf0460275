#include "ImportQuestion.h"

#include <QLocale>

namespace
{

QString movies(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 movie")
                      : QStringLiteral("%1 movies").arg(QLocale().toString(count));
}

} // namespace

QString ImportQuestion::list(const QString &heading, const QStringList &items)
{
    if (items.isEmpty())
        return {};
    QStringList lines{heading};
    for (const QString &item : items.mid(0, kListedAtMost))
        lines << QStringLiteral("    ") + item;
    if (items.size() > kListedAtMost)
        lines << QStringLiteral("    ... and %1 more")
                     .arg(QLocale().toString(items.size() - kListedAtMost));
    return QStringLiteral("\n\n") + lines.join(u'\n');
}

QString ImportQuestion::text(const ImportSummary &trial, const QString &fileName)
{
    QString text = QStringLiteral("Import the movies of %1 into the catalog?\n\n").arg(fileName);
    text += trial.added == 0 ? QStringLiteral("No movie would be added.")
                             : QStringLiteral("%1 would be added.").arg(movies(trial.added));
    text += list(QStringLiteral("%1 would be skipped, the catalog or an earlier movie of the file "
                                "having the title already (letter case aside):")
                     .arg(movies(trial.skipped.size())),
                 trial.skipped);
    text += list(QStringLiteral("%1 would be renamed, the title being taken:")
                     .arg(movies(trial.renamed.size())),
                 trial.renamed);
    if (!trial.unusedColumns.isEmpty())
        text += QStringLiteral("\n\nColumns of the file that would not be used: %1.")
                    .arg(trial.unusedColumns.join(QStringLiteral(", ")));
    text += list(QStringLiteral("On the way in:"), trial.notes);
    return text;
}
