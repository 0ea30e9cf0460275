#include "TransferJobs.h"

#include "CatalogReader.h"
#include "CatalogSettle.h"
#include "Database.h"
#include "ForeignFile.h"
#include "OutputTarget.h"

#include <QFileInfo>

#include <cerrno>

namespace
{

bool sameFile(const QString &one, const QString &other)
{
    const QFileInfo first(one);
    return first.exists() && first.canonicalFilePath() == QFileInfo(other).canonicalFilePath();
}

// A writer's failure, worded for the name the user gave rather than the staging file's, and a
// full disk named as such (a short write leaves the system's reason unknown).
TransferError exportFailure(const TransferError &error, int systemError, const OutputTarget &target,
                            const QString &file)
{
    QString message = error.message;
    message.replace(target.stagingPath(), file)
        .replace(ForeignFileName(target.stagingPath()), ForeignFileName(file));
    if (DiskIsFull(QFileInfo(file).absolutePath(), message, systemError))
        message = QStringLiteral("The file %1 cannot be written: the disk is full.").arg(file);
    return TransferError{message};
}

} // namespace

ImportSummary ImportFile(const ImportRequest &request, const TransferProgress &progress)
{
    // The catalog's own movies are all there already; reading the file while writing it
    // would only wait on itself.
    if (sameFile(request.file, request.catalog))
        throw TransferError{
            QStringLiteral("%1 is the catalog itself; its movies are all in the catalog already.")
                .arg(ForeignFileName(request.file))};
    std::unique_ptr<Database> db = Database::open(request.catalog);
    std::unique_ptr<MovieReader> reader =
        OpenReader(*request.format, request.file, request.csv, request.readerProgram);
    std::function<void()> step;
    if (progress)
        step = [&] { progress(reader->bytesRead(), reader->bytesTotal()); };
    try {
        return ImportMovies(*db, *reader, ForeignFileName(request.file), request.options, step);
    } catch (...) {
        db.reset();
        SettleCatalog(request.catalog);
        throw;
    }
}

int ExportCatalog(const QString &catalog, const QString &file, const FormatRow &format,
                  bool replace, const TransferProgress &progress)
{
    OutputTarget target(file, replace, catalog, "export");
    std::unique_ptr<Database> db = Database::open(catalog);
    std::unique_ptr<MovieReader> reader = OpenCatalogReader(*db);
    int count = 0;
    try {
        std::unique_ptr<MovieWriter> writer = OpenWriter(format, target.stagingPath());
        while (std::optional<MovieRow> movie = reader->next()) {
            writer->write(*movie);
            if (++count % 512 == 0 && progress)
                progress(reader->bytesRead(), reader->bytesTotal());
        }
        writer->finish();
    } catch (const TransferError &error) {
        throw exportFailure(error, errno, target, file);
    }
    target.commit();
    return count;
}
