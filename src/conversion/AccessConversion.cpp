#include "AccessConversion.h"

#include "AccessFailure.h"
#include "ConvertedCatalog.h"
#include "ReaderProcess.h"
#include "TitleRenamer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

ConversionResult failed(ConversionError error, const QString &message)
{
    ConversionResult result;
    result.error = error;
    result.message = message;
    return result;
}

QString unchanged(const QString &catalogPath)
{
    return QStringLiteral(" %1 was left unchanged.").arg(fileName(catalogPath));
}

ConversionError conversionError(AccessFailure failure)
{
    switch (failure) {
    case AccessFailure::ReaderMissing:
        return ConversionError::ReaderMissing;
    case AccessFailure::TimedOut:
        return ConversionError::TimedOut;
    case AccessFailure::NoMoviesTable:
        return ConversionError::NoMoviesTable;
    case AccessFailure::MissingColumns:
        return ConversionError::MissingColumns;
    case AccessFailure::Damaged:
        break;
    }
    return ConversionError::DamagedFile;
}

ConversionResult readFailure(const AccessTableRead &read, const QString &catalogPath,
                             const QString &readerProgram, int timeoutMs)
{
    const AccessFailureWords words{QStringLiteral("converted"), QStringLiteral("converter"),
                                   timeoutMs > 1000
                                       ? QStringLiteral("%1 seconds").arg((timeoutMs + 999) / 1000)
                                       : QStringLiteral("a second"),
                                   QStringLiteral(", so it cannot be converted")};
    return failed(conversionError(AccessFailureOf(read)),
                  AccessFailureText(read, fileName(catalogPath), readerProgram, words) +
                      unchanged(catalogPath));
}

QString cannotWrite(const QString &catalogPath, const QString &reason)
{
    return QStringLiteral("The converted catalog cannot be written in the folder %1 (%2).")
               .arg(QDir::toNativeSeparators(QFileInfo(catalogPath).absolutePath()), reason) +
           unchanged(catalogPath);
}

// Removes a temporary file left by an interrupted conversion; it is ours and half made.
std::optional<QString> clearTemporary(const QString &temporary)
{
    const QFileInfo info(temporary);
    if (!info.exists() && !info.isSymLink())
        return std::nullopt;
    if (info.isDir() || !QFile::remove(temporary))
        return QStringLiteral("%1 is in the way").arg(QDir::toNativeSeparators(temporary));
    return std::nullopt;
}

void removeTemporary(const QString &temporary)
{
    QFile::remove(temporary);
    QFile::remove(temporary + QStringLiteral("-journal"));
}

int renameTitles(QList<AccessRow> &rows)
{
    QList<AccessValue> titles;
    titles.reserve(rows.size());
    for (const AccessRow &row : rows)
        titles.append(row.first());
    const int renamed = RenameDuplicateTitles(titles);
    for (qsizetype i = 0; i < rows.size(); ++i)
        rows[i].first() = titles[i];
    return renamed;
}

QString notice(const ConversionResult &result)
{
    QStringList parts;
    if (result.titlesRenamed == 1)
        parts << QStringLiteral("1 title appeared twice (letters compared without regard to "
                                "case) and was renamed with a number, as in \"Title (2)\".");
    else if (result.titlesRenamed > 1)
        parts << QStringLiteral("%1 titles appeared more than once (letters compared without "
                                "regard to case) and were renamed with a number, as in "
                                "\"Title (2)\".")
                     .arg(result.titlesRenamed);
    if (result.valuesMayBeCut)
        parts << QStringLiteral("Some very long values may have been cut short; %1 holds them "
                                "in full.")
                     .arg(fileName(result.keptOriginalAs));
    return parts.join(u' ');
}

} // namespace

QString ConversionQuestion(const QString &catalogPath)
{
    return QStringLiteral("%1 was written by an earlier version of Reelwarden (Microsoft Access "
                          "format). Convert it to the current format? The original file will "
                          "be kept as %2.")
        .arg(fileName(catalogPath), fileName(KeptOriginalPath(catalogPath)));
}

ConversionResult ConvertAccessCatalog(const QString &catalogPath, const QString &readerProgram,
                                      int timeoutMs)
{
    if (!IsAccessFile(catalogPath))
        return failed(
            ConversionError::NotAccessFile,
            QStringLiteral("%1 is not a Microsoft Access file.").arg(fileName(catalogPath)) +
                unchanged(catalogPath));
    AccessTableRead read = ReadMoviesTable(readerProgram, catalogPath, timeoutMs);
    if (read.outcome != AccessTableRead::Outcome::Complete)
        return readFailure(read, catalogPath, readerProgram, timeoutMs);

    ConversionResult result;
    result.titlesRenamed = renameTitles(read.rows);
    const QString temporary = catalogPath + QStringLiteral(".converting");
    if (std::optional<QString> inTheWay = clearTemporary(temporary))
        return failed(ConversionError::CannotWrite, cannotWrite(catalogPath, *inTheWay));
    if (std::optional<CatalogWriteFailure> failure = WriteConvertedCatalog(temporary, read.rows)) {
        removeTemporary(temporary);
        if (failure->checkFailed)
            return failed(ConversionError::CheckFailed,
                          QStringLiteral("The converted catalog failed its check (%1), so it was "
                                         "not used.")
                                  .arg(failure->reason) +
                              unchanged(catalogPath));
        return failed(ConversionError::CannotWrite, cannotWrite(catalogPath, failure->reason));
    }
    // The new catalog is as readable and writable as the old one was; a failure leaves the
    // usual permissions of a new file, which is no reason to give up.
    QFile::setPermissions(temporary, QFile::permissions(catalogPath));
    const CatalogSwapResult swapped = SwapInConvertedCatalog(catalogPath, temporary);
    if (swapped.keptAs.isEmpty()) {
        removeTemporary(temporary);
        return failed(ConversionError::CannotWrite, cannotWrite(catalogPath, swapped.error));
    }
    result.ok = true;
    result.keptOriginalAs = swapped.keptAs;
    result.rowsConverted = int(read.rows.size());
    result.valuesMayBeCut = read.valuesMayBeCut;
    result.message = notice(result);
    return result;
}
