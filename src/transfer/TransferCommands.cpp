#include "TransferCommands.h"

#include "CatalogBackup.h"
#include "CatalogImport.h"
#include "CatalogReader.h"
#include "CatalogSettle.h"
#include "Database.h"
#include "ForeignFile.h"
#include "Formats.h"
#include "MovieColumns.h"
#include "OutputTarget.h"
#include "Progress.h"
#include "ReaderProcess.h"
#include "StoreError.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cerrno>
#include <cstdio>

namespace
{

const char kUsage[] = R"usage(Usage:
  reelwarden-transfer import FILE [--catalog PATH] [--check] [--rename-duplicates]
                                  [--map "Their Name=Title" ...] [--format FORMAT]
  reelwarden-transfer export FILE [--catalog PATH] [--format FORMAT] [--force]
  reelwarden-transfer backup FILE [--catalog PATH] [--force]
  reelwarden-transfer --help | --version

Brings movies into the Reelwarden catalog, takes them out, and makes a safe copy of it.
The catalog is movies.mdb beside the program unless --catalog names another.

  import    adds the movies of FILE (.csv, .tc, .xml, .gcs, .mdb) to the catalog, all or none
  export    writes every movie, sorted by title, to FILE (.csv, .tc, .xml, .html)
  backup    writes a consistent copy of the catalog to FILE, also while Reelwarden is open

  --catalog PATH        the catalog to use
  --check               say what an import would do, and write nothing
  --rename-duplicates   a title the catalog already has becomes "Title (2)" instead of being
                        skipped
  --map "Theirs=Ours"   a CSV column named Theirs goes into the catalog's column Ours
  --format FORMAT       csv, tc, xml, gcs, mdb or html, whatever FILE's extension says
  --force               replace FILE when it exists

Exit status: 0 done, 1 refused (nothing written), 2 wrong usage.
)usage";

struct UsageError {
    QString message;
};

void say(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

struct Request {
    QString command;
    QString file;
    QString catalog;
    QString programFolder;
    QString format;
    ColumnMap map;
    bool check = false;
    bool renameDuplicates = false;
    bool force = false;
};

ColumnMap columnMap(const QStringList &pairs)
{
    ColumnMap map;
    for (const QString &pair : pairs) {
        const qsizetype equals = pair.lastIndexOf(u'=');
        const QString theirs = pair.left(equals).trimmed();
        const QString ours = pair.mid(equals + 1).trimmed();
        if (equals < 0 || theirs.isEmpty())
            throw UsageError{
                QStringLiteral("--map \"%1\" is not of the form \"Their Name=Title\".").arg(pair)};
        const int column = movieColumnIndex(ours);
        if (column < 0)
            throw UsageError{
                QStringLiteral("--map \"%1\": %2 is not a column of the catalog.").arg(pair, ours)};
        map.insert(theirs.toLower(), QLatin1String(kMovieColumns[std::size_t(column)].name));
    }
    return map;
}

// The options each command takes besides --catalog.
void checkOptions(const QCommandLineParser &parser, const QString &command)
{
    const QStringList importOnly = {"check", "rename-duplicates", "map"};
    for (const QString &option : importOnly) {
        if (command != QLatin1String("import") && parser.isSet(option))
            throw UsageError{QStringLiteral("--%1 applies to import only.").arg(option)};
    }
    if (command == QLatin1String("import") && parser.isSet("force"))
        throw UsageError{QStringLiteral("--force applies to export and backup only.")};
    if (command == QLatin1String("backup") && parser.isSet("format"))
        throw UsageError{QStringLiteral("--format applies to import and export only.")};
}

FileFormat formatFor(const Request &request, bool reading)
{
    const std::optional<FileFormat> format = FormatNamed(request.format, request.file);
    const QString what =
        request.format.isEmpty()
            ? QStringLiteral("%1 is not of a kind").arg(ForeignFileName(request.file))
            : QStringLiteral("--format %1 is not a format").arg(request.format);
    if (reading && (!format || !CanRead(*format)))
        throw UsageError{QStringLiteral("%1 that can be imported; import reads %2 files.")
                             .arg(what, ReadableFormats())};
    if (!reading && (!format || !CanWrite(*format)))
        throw UsageError{QStringLiteral("%1 that can be exported; export writes %2 files.")
                             .arg(what, WritableFormats())};
    return *format;
}

void printList(const QString &heading, const QStringList &items)
{
    if (items.isEmpty())
        return;
    say(stdout, heading);
    for (const QString &item : items)
        say(stdout, QStringLiteral("  ") + item);
}

QString movies(int count)
{
    return count == 1 ? QStringLiteral("1 movie") : QStringLiteral("%1 movies").arg(count);
}

void printSummary(const ImportSummary &summary, const Request &request)
{
    const QString catalog = ForeignFileName(request.catalog);
    say(stdout, request.check
                    ? QStringLiteral("An import would add %1 to %2; nothing was written.")
                          .arg(movies(summary.added), catalog)
                    : QStringLiteral("Added %1 to %2.").arg(movies(summary.added), catalog));
    printList(QStringLiteral("Skipped %1 whose title the catalog or an earlier movie of the file "
                             "already has (letter case aside):")
                  .arg(movies(int(summary.skipped.size()))),
              summary.skipped);
    printList(QStringLiteral("Renamed %1 whose title was taken:")
                  .arg(movies(int(summary.renamed.size()))),
              summary.renamed);
    if (!summary.unusedColumns.isEmpty())
        say(stdout, QStringLiteral("Columns of the file that were not used: %1.")
                        .arg(summary.unusedColumns.join(QStringLiteral(", "))));
    for (const QString &note : summary.notes)
        say(stdout, note);
}

int runImport(const Request &request)
{
    const FileFormat format = formatFor(request, true);
    if (!request.map.isEmpty() && format != FileFormat::Csv)
        throw UsageError{QStringLiteral("--map applies to CSV files only.")};
    std::unique_ptr<Database> db = Database::open(request.catalog);
    std::unique_ptr<MovieReader> reader =
        OpenReader(format, request.file, request.map, ReaderProgramPath(request.programFolder));
    Progress progress(QStringLiteral("Importing"));
    ImportSummary summary;
    try {
        summary = ImportMovies(*db, *reader, ForeignFileName(request.file),
                               {request.check, request.renameDuplicates},
                               [&] { progress.show(reader->bytesRead(), reader->bytesTotal()); });
    } catch (...) {
        db.reset();
        SettleCatalog(request.catalog);
        throw;
    }
    progress.end();
    printSummary(summary, request);
    return kDone;
}

// A writer's failure, worded for the name the user gave rather than the staging file's, and a
// full disk named as such (a short write leaves the system's reason unknown).
TransferError exportFailure(const TransferError &error, int systemError,
                            const OutputTarget &target, const QString &file)
{
    QString message = error.message;
    message.replace(target.stagingPath(), file)
        .replace(ForeignFileName(target.stagingPath()), ForeignFileName(file));
    if (DiskIsFull(QFileInfo(file).absolutePath(), message, systemError))
        message = QStringLiteral("The file %1 cannot be written: the disk is full.").arg(file);
    return TransferError{message};
}

int runExport(const Request &request)
{
    const FileFormat format = formatFor(request, false);
    OutputTarget target(request.file, request.force, request.catalog, "export");
    std::unique_ptr<Database> db = Database::open(request.catalog);
    std::unique_ptr<MovieReader> reader = OpenCatalogReader(*db);
    Progress progress(QStringLiteral("Exporting"));
    int count = 0;
    try {
        std::unique_ptr<MovieWriter> writer = OpenWriter(format, target.stagingPath());
        while (std::optional<MovieRow> movie = reader->next()) {
            writer->write(*movie);
            if (++count % 512 == 0)
                progress.show(reader->bytesRead(), reader->bytesTotal());
        }
        writer->finish();
    } catch (const TransferError &error) {
        throw exportFailure(error, errno, target, request.file);
    }
    target.commit();
    progress.end();
    say(stdout,
        QStringLiteral("Exported %1 to %2.").arg(movies(count), ForeignFileName(request.file)));
    return kDone;
}

int runBackup(const Request &request)
{
    BackupCatalog(request.catalog, request.file, request.force);
    say(stdout, QStringLiteral("Wrote a copy of %1 to %2.")
                    .arg(ForeignFileName(request.catalog), ForeignFileName(request.file)));
    return kDone;
}

Request parse(const QStringList &arguments, const QString &programFolder,
              QCommandLineParser &parser)
{
    parser.addOptions({{"catalog", "", "PATH"},
                       {"check", ""},
                       {"rename-duplicates", ""},
                       {"map", "", "PAIR"},
                       {"format", "", "FORMAT"},
                       {"force", ""},
                       {"help", ""},
                       {"version", ""}});
    if (!parser.parse(arguments))
        throw UsageError{parser.errorText() + QLatin1Char('.')};
    Request request;
    if (parser.isSet("help") || parser.isSet("version")) {
        request.command = parser.isSet("help") ? QStringLiteral("help") : QStringLiteral("version");
        return request;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        throw UsageError{QStringLiteral("Say what to do: import, export or backup.")};
    request.command = positional.first();
    if (!QStringList{"import", "export", "backup"}.contains(request.command))
        throw UsageError{QStringLiteral("%1 is not a command; the commands are import, export and "
                                        "backup.")
                             .arg(request.command)};
    if (positional.size() != 2)
        throw UsageError{QStringLiteral("%1 takes one FILE.").arg(request.command)};
    checkOptions(parser, request.command);
    request.file = positional.at(1);
    request.programFolder = programFolder;
    request.catalog = parser.isSet("catalog")
                          ? parser.value("catalog")
                          : QDir(programFolder).filePath(QStringLiteral("movies.mdb"));
    request.format = parser.value("format");
    request.map = columnMap(parser.values("map"));
    request.check = parser.isSet("check");
    request.renameDuplicates = parser.isSet("rename-duplicates");
    request.force = parser.isSet("force");
    return request;
}

int run(const Request &request)
{
    if (request.command == QLatin1String("help")) {
        std::fputs(kUsage, stdout);
        return kDone;
    }
    if (request.command == QLatin1String("version")) {
        say(stdout,
            QStringLiteral("reelwarden-transfer %1").arg(QStringLiteral(REELWARDEN_VERSION)));
        return kDone;
    }
    if (request.command == QLatin1String("import"))
        return runImport(request);
    if (request.command == QLatin1String("export"))
        return runExport(request);
    return runBackup(request);
}

int refused(const QString &message, const Request &request)
{
    say(stderr, QStringLiteral("reelwarden-transfer: ") + message);
    if (request.command == QLatin1String("import") && !request.check)
        say(stderr, QStringLiteral("Nothing was written to the catalog."));
    return kRefused;
}

} // namespace

int RunTransfer(const QStringList &arguments, const QString &programFolder)
{
    Request request;
    try {
        QCommandLineParser parser;
        request = parse(arguments, programFolder, parser);
        return run(request);
    } catch (const UsageError &error) {
        say(stderr, QStringLiteral("reelwarden-transfer: ") + error.message);
        say(stderr, QStringLiteral("Try reelwarden-transfer --help."));
        return kWrongUsage;
    } catch (const TransferError &error) {
        return refused(error.message, request);
    } catch (const StoreError &error) {
        return refused(error.message(), request);
    }
}
