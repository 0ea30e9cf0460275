#include "TransferCommands.h"

#include "CatalogBackup.h"
#include "ForeignFile.h"
#include "MovieColumns.h"
#include "OutputTarget.h"
#include "Progress.h"
#include "ReaderProcess.h"
#include "StoreError.h"
#include "TransferJobs.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cerrno>
#include <cstdio>

namespace
{

// %1 and %2: the --format names of what import reads and export writes.
const char kUsage[] = R"usage(Usage:
  reelwarden-transfer import FILE|FOLDER [--catalog PATH] [--check] [--rename-duplicates]
                                  [--strict] [--decimal-comma | --decimal-point]
                                  [--map "Their Name=Title" ...] [--columns "Title,..."]
                                  [--format FORMAT]
  reelwarden-transfer export FILE [--catalog PATH] [--format FORMAT] [--force]
  reelwarden-transfer backup FILE [--catalog PATH] [--force]
  reelwarden-transfer --list-formats | --help | --version

Brings movies into the Reelwarden catalog, takes them out, and makes a safe copy of it.
The catalog is movies.mdb beside the program unless --catalog names another.

  import    adds the movies of FILE, or of a FOLDER of .nfo files, to the catalog, all or
            none; the kind of file is told from its content; from another
            Reelwarden catalog or a backup, the movies whose titles it lacks
  export    writes every movie, sorted by title, to FILE, the kind told from its extension
  backup    writes a consistent copy of the catalog to FILE, also while Reelwarden is open

  --catalog PATH        the catalog to use
  --check               say what an import would do, and write nothing
  --rename-duplicates   a title the catalog already has becomes "Title (2)" instead of being
                        skipped
  --strict              refuse the file when a value fits no column, instead of keeping
                        the value at the end of the movie's Comments ("Value: approx. 10")
  --decimal-comma       amounts have a decimal comma: 1,234 is 1.234 and 1.234 is 1234
  --decimal-point       amounts have a decimal point: 1,234 is 1234 and 1.234 is 1.234
  --map "Theirs=Ours"   a CSV column named Theirs goes into the catalog's column Ours
  --columns "A,B,..."   the CSV file has no header row; these name its columns in order
  --format FORMAT       the kind of FILE, whatever its content or extension says
  --force               replace FILE when it exists
  --list-formats        list the formats: name, commands, file endings, description
  -h, --help            show this help
  --version             show the version

Formats (--format): import reads %1; export writes %2.

Amounts are read the same whatever the language settings: a currency symbol or code
before or after is ignored; with both "." and "," the last one is the decimal mark; one of
them alone is the decimal mark unless it comes twice or more (1.234.567) or exactly three
digits follow it (1,234): then --decimal-comma or --decimal-point says which, else the file's
own convention (a CSV separated by ";" has decimal commas, one separated by "," decimal
points), else an earlier amount of the file; a file that shows none is refused.

Exit status: 0 done, 1 refused (nothing written), 2 wrong usage.
See reelwarden-transfer(1) for more.
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
    CsvOptions csv;
    bool check = false;
    bool renameDuplicates = false;
    bool strict = false;
    DecimalMark decimalMark = DecimalMark::Unknown;
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
        const int column = CsvColumns::catalogColumn(ours);
        if (column < 0)
            throw UsageError{QStringLiteral("--map \"%1\": %2 is not a column of the catalog; "
                                            "the columns are %3.")
                                 .arg(pair, ours, CsvColumns::acceptedNames())};
        map.insert(theirs.toLower(), QLatin1String(kMovieColumns[std::size_t(column)].name));
    }
    return map;
}

// The names of --columns, each a column of the catalog (or one of the names a header may use).
QStringList csvColumns(const QString &list)
{
    QStringList names;
    if (list.trimmed().isEmpty())
        return names;
    for (const QString &name : list.split(u',')) {
        names << name.trimmed();
        if (CsvColumns::catalogColumn(name.trimmed()) < 0 && !name.trimmed().isEmpty())
            throw UsageError{QStringLiteral("--columns: %1 is not a column of the catalog; the "
                                            "columns are %2. An empty name leaves a column out.")
                                 .arg(name.trimmed(), CsvColumns::acceptedNames())};
    }
    return names;
}

// The options each command takes besides --catalog.
void checkOptions(const QCommandLineParser &parser, const QString &command)
{
    const QStringList importOnly = {"check",         "rename-duplicates", "map",   "columns",
                                    "decimal-comma", "decimal-point",     "strict"};
    for (const QString &option : importOnly) {
        if (command != QLatin1String("import") && parser.isSet(option))
            throw UsageError{QStringLiteral("--%1 applies to import only.").arg(option)};
    }
    if (parser.isSet("decimal-comma") && parser.isSet("decimal-point"))
        throw UsageError{QStringLiteral("--decimal-comma and --decimal-point exclude each other.")};
    if (command == QLatin1String("import") && parser.isSet("force"))
        throw UsageError{QStringLiteral("--force applies to export and backup only.")};
    if (command == QLatin1String("backup") && parser.isSet("format"))
        throw UsageError{QStringLiteral("--format applies to import and export only.")};
}

const FormatRow &formatFor(const Request &request, bool reading)
{
    if (!request.format.isEmpty()) {
        const FormatRow *named = FormatNamed(request.format, request.file);
        if (!named || !(reading ? named->read != nullptr : named->write != nullptr))
            throw UsageError{
                QStringLiteral("--format %1 is not a format that can be %2; the "
                               "formats are %3.")
                    .arg(request.format, reading ? "imported" : "exported", FormatNames(reading))};
    }
    if (reading)
        return FormatToRead(request.format, request.file);
    const FormatRow *format = FormatNamed(request.format, request.file);
    if (!format || !format->write)
        throw UsageError{QStringLiteral("%1 is not of a kind that can be exported; export writes "
                                        "%2 files.")
                             .arg(ForeignFileName(request.file), WritableFormats())};
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
                    ? QStringLiteral("Found %1 in %2: an import would add %3 to %4; nothing was "
                                     "written.")
                          .arg(movies(summary.added + int(summary.skipped.size())),
                               ForeignFileName(request.file), movies(summary.added), catalog)
                    : QStringLiteral("Added %1 to %2.").arg(movies(summary.added), catalog));
    printList(QStringLiteral("Skipped %1 whose title the catalog or an earlier movie of the file "
                             "already has (letter case aside):")
                  .arg(movies(int(summary.skipped.size()))),
              summary.skipped);
    printList(QStringLiteral("Renamed %1 whose title was taken:")
                  .arg(movies(int(summary.renamed.size()))),
              summary.renamed);
    printList(QStringLiteral("Kept in Comments, at the end, %1 that fit no column (--strict "
                             "refuses them instead):")
                  .arg(summary.keptInComments.size() == 1
                           ? QStringLiteral("1 value")
                           : QStringLiteral("%1 values").arg(summary.keptInComments.size())),
              summary.keptInComments);
    if (!summary.unusedColumns.isEmpty())
        say(stdout, QStringLiteral("Columns of the file that were not used: %1.")
                        .arg(summary.unusedColumns.join(QStringLiteral(", "))));
    for (const QString &note : summary.notes)
        say(stdout, note);
}

int runImport(const Request &request)
{
    const FormatRow &format = formatFor(request, true);
    const bool csv = format.isNamed(QStringLiteral("csv"));
    if (!csv && !request.csv.map.isEmpty())
        throw UsageError{QStringLiteral("--map applies to CSV files only.")};
    if (!csv && !request.csv.columns.isEmpty())
        throw UsageError{QStringLiteral("--columns applies to CSV files only.")};
    Progress progress(QStringLiteral("Importing"));
    const ImportSummary summary =
        ImportFile({request.file,
                    &format,
                    request.catalog,
                    ReaderProgramPath(request.programFolder),
                    request.csv,
                    {request.check, request.renameDuplicates, request.strict, request.decimalMark}},
                   [&](qint64 done, qint64 total) { progress.show(done, total); });
    progress.end();
    printSummary(summary, request);
    return kDone;
}

int runExport(const Request &request)
{
    const FormatRow &format = formatFor(request, false);
    Progress progress(QStringLiteral("Exporting"));
    const int count = ExportCatalog(request.catalog, request.file, format, request.force,
                                    [&](qint64 done, qint64 total) { progress.show(done, total); });
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

// Qt's own wording, except for an unknown option, which is named as typed.
QString parseError(const QCommandLineParser &parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty())
        return parser.errorText();
    const QString &name = unknown.first();
    return QStringLiteral("unknown option '%1%2'")
        .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
}

Request parse(const QStringList &arguments, const QString &programFolder,
              QCommandLineParser &parser)
{
    parser.addOptions({{"catalog", "", "PATH"},
                       {"check", ""},
                       {"rename-duplicates", ""},
                       {"map", "", "PAIR"},
                       {"columns", "", "NAMES"},
                       {"strict", ""},
                       {"decimal-comma", ""},
                       {"decimal-point", ""},
                       {"format", "", "FORMAT"},
                       {"force", ""},
                       {"list-formats", ""},
                       {{"h", "help"}, ""},
                       {"version", ""}});
    if (!parser.parse(arguments))
        throw UsageError{parseError(parser)};
    Request request;
    for (const char *query : {"help", "version", "list-formats"}) {
        if (parser.isSet(query)) {
            request.command = QLatin1String(query);
            return request;
        }
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
    request.csv.map = columnMap(parser.values("map"));
    request.csv.columns = csvColumns(parser.value("columns"));
    request.strict = parser.isSet("strict");
    request.decimalMark = parser.isSet("decimal-comma")   ? DecimalMark::Comma
                          : parser.isSet("decimal-point") ? DecimalMark::Point
                                                          : DecimalMark::Unknown;
    request.check = parser.isSet("check");
    request.renameDuplicates = parser.isSet("rename-duplicates");
    request.force = parser.isSet("force");
    return request;
}

int run(const Request &request)
{
    if (request.command == QLatin1String("help")) {
        say(stdout, QString::fromUtf8(kUsage).arg(FormatNames(true), FormatNames(false)).trimmed());
        return kDone;
    }
    if (request.command == QLatin1String("list-formats")) {
        for (const QString &line : FormatList())
            say(stdout, line);
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
