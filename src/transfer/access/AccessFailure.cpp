#include "AccessFailure.h"

#include "ReaderStream.h"

#include <QDir>

namespace
{

// The columns a NoColumns failure's detail names: "the column A", "the columns A, B and C".
QString missingColumns(const QString &detail)
{
    const QStringList names = detail.split(u'\n', Qt::SkipEmptyParts);
    if (names.size() == 1)
        return QStringLiteral("the column %1").arg(names.first());
    return QStringLiteral("the columns %1 and %2")
        .arg(names.mid(0, names.size() - 1).join(QStringLiteral(", ")), names.last());
}

} // namespace

AccessFailure AccessFailureOf(const AccessTableRead &read)
{
    using Outcome = AccessTableRead::Outcome;
    if (read.outcome == Outcome::ReaderMissing)
        return AccessFailure::ReaderMissing;
    if (read.outcome == Outcome::TimedOut)
        return AccessFailure::TimedOut;
    if (read.outcome == Outcome::ReaderFailed && read.readerCode == ReaderStream::NoTable)
        return AccessFailure::NoMoviesTable;
    if (read.outcome == Outcome::ReaderFailed && read.readerCode == ReaderStream::NoColumns)
        return AccessFailure::MissingColumns;
    return AccessFailure::Damaged;
}

QString AccessFailureText(const AccessTableRead &read, const QString &name,
                          const QString &readerProgram, const AccessFailureWords &words)
{
    switch (AccessFailureOf(read)) {
    case AccessFailure::ReaderMissing:
        return QStringLiteral("%1 cannot be %2: the %3 program %4 cannot be started. "
                              "Reinstalling Reelwarden puts it back.")
            .arg(name, words.done, words.program, QDir::toNativeSeparators(readerProgram));
    case AccessFailure::TimedOut:
        return QStringLiteral("Reading %1 was stopped after %2: the file appears to be damaged.")
            .arg(name, words.timeLimit);
    case AccessFailure::NoMoviesTable:
        return QStringLiteral("%1 is a Microsoft Access file but has no Movies table, so it is "
                              "not a catalog of Reelwarden.")
            .arg(name);
    case AccessFailure::MissingColumns:
        return QStringLiteral("The Movies table in %1 lacks %2%3.")
            .arg(name, missingColumns(read.detail), words.lackingResult);
    case AccessFailure::Damaged:
        break;
    }
    return QStringLiteral("%1 cannot be read: the file appears to be damaged or encrypted.")
        .arg(name);
}
