#include "TransferJobs.h"

#include "CatalogReader.h"
#include "Database.h"
#include "ForeignFile.h"

#include <QFileInfo>

namespace
{

bool sameFile(const QString &one, const QString &other)
{
    const QFileInfo first(one);
    return first.exists() && first.canonicalFilePath() == QFileInfo(other).canonicalFilePath();
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
    return ImportMovies(*db, *reader, ForeignFileName(request.file), request.options, step);
}

int ExportCatalog(const QString &catalog, const QString &file, const FormatRow &format,
                  bool replace, const TransferProgress &progress)
{
    if (sameFile(file, catalog))
        throw TransferError{
            QStringLiteral("%1 is the catalog itself; an export goes to another file.")
                .arg(ForeignFileName(file))};
    if (QFileInfo::exists(file) && !replace)
        throw TransferError{
            QStringLiteral("%1 already exists; --force replaces it.").arg(ForeignFileName(file))};
    std::unique_ptr<Database> db = Database::open(catalog);
    std::unique_ptr<MovieReader> reader = OpenCatalogReader(*db);
    std::unique_ptr<MovieWriter> writer = OpenWriter(format, file);
    int count = 0;
    while (std::optional<MovieRow> movie = reader->next()) {
        writer->write(*movie);
        if (++count % 512 == 0 && progress)
            progress(reader->bytesRead(), reader->bytesTotal());
    }
    writer->finish();
    return count;
}
