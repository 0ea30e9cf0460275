#include "Formats.h"

#include "AccessImport.h"
#include "GcstarFormat.h"
#include "HtmlFormat.h"
#include "ReelwardenReader.h"
#include "TellicoFormat.h"

#include <QFileInfo>

namespace
{

// The one list of formats: --format, the file endings, the messages, --list-formats and, through
// it, the manual page and the shell completion all read it.
struct FormatName {
    const char *name; // the --format name
    FileFormat format;
    bool readable;
    bool writable;
    const char *endings;     // the file name endings that stand for it, space-separated
    const char *description; // one line, for --list-formats
    const char *chooser = nullptr; // for a file chooser: "CSV files"; "NAME files" when not given
    bool folder = false;           // the format reads a folder of files
};

// clang-format off
constexpr FormatName kFormats[] = {
    {"csv", FileFormat::Csv, true, true, "csv",
     "comma-separated values, a header row naming the columns", "CSV files"},
    {"tc", FileFormat::Tellico, true, true, "tc", "a Tellico collection file (zipped XML)",
     "Tellico files"},
    {"xml", FileFormat::TellicoXml, true, true, "xml", "a Tellico collection as plain XML",
     "Tellico XML files"},
    {"gcs", FileFormat::Gcstar, true, false, "gcs", "a GCstar collection of films", "GCstar files"},
    {"mdb", FileFormat::Access, true, false, "mdb",
     "the Access catalog of the earlier Windows version", "Catalogs of the earlier Windows version"},
    {"html", FileFormat::Html, false, true, "html htm", "a printable list of the movies", "Web pages"},
    // Known by its content whatever its name; its .mdb goes to the Access row before it.
    {"reelwarden", FileFormat::Reelwarden, true, false, "mdb",
     "another Reelwarden catalog or a backup of one, known by its content",
     "Reelwarden catalogs and backups"},
};
// clang-format on

QStringList endings(const FormatName &known)
{
    return QString::fromLatin1(known.endings).split(u' ', Qt::SkipEmptyParts);
}

const FormatName &entry(FileFormat format)
{
    for (const FormatName &known : kFormats) {
        if (known.format == format)
            return known;
    }
    return kFormats[0];
}

// The file endings of the formats that `can`: ".csv, .tc and .html".
QString formatList(bool FormatName::*can)
{
    QStringList names;
    for (const FormatName &known : kFormats) {
        for (const QString &ending : endings(known)) {
            if (known.*can)
                names << u'.' + ending;
        }
    }
    names.removeDuplicates();
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           names.last();
}

} // namespace

std::optional<FileFormat> FormatNamed(const QString &name, const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    for (const FormatName &known : kFormats) {
        if (name.isEmpty() ? endings(known).contains(suffix, Qt::CaseInsensitive)
                           : name.compare(QLatin1String(known.name), Qt::CaseInsensitive) == 0)
            return known.format;
    }
    return std::nullopt;
}

std::optional<FileFormat> FormatToRead(const QString &name, const QString &path)
{
    const bool mayBeCatalog = name.isEmpty() ||
                              name.compare(QLatin1String("mdb"), Qt::CaseInsensitive) == 0 ||
                              name.compare(QLatin1String("reelwarden"), Qt::CaseInsensitive) == 0;
    if (mayBeCatalog && IsReelwardenCatalog(path))
        return FileFormat::Reelwarden;
    return FormatNamed(name, path);
}

QList<ChooserFormat> ChooserFormats(bool reading)
{
    QList<ChooserFormat> formats;
    for (const FormatName &known : kFormats) {
        if (!(reading ? known.readable : known.writable))
            continue;
        const QString name = QLatin1String(known.name);
        QStringList patterns;
        for (const QString &ending : endings(known))
            patterns << QStringLiteral("*.") + ending;
        formats << ChooserFormat{known.chooser ? QLatin1String(known.chooser)
                                               : name.toUpper() + QStringLiteral(" files"),
                                 patterns, known.folder};
    }
    return formats;
}

QStringList FormatList()
{
    QStringList lines;
    for (const FormatName &known : kFormats) {
        QStringList commands;
        if (known.readable)
            commands << QStringLiteral("import");
        if (known.writable)
            commands << QStringLiteral("export");
        lines << QStringList{QLatin1String(known.name), commands.join(u' '),
                             u'.' + endings(known).join(QStringLiteral(" .")),
                             QLatin1String(known.description)}
                     .join(u'\t');
    }
    return lines;
}

QString ReadableFormats()
{
    return formatList(&FormatName::readable);
}

QString WritableFormats()
{
    return formatList(&FormatName::writable);
}

bool CanRead(FileFormat format)
{
    return entry(format).readable;
}

bool CanWrite(FileFormat format)
{
    return entry(format).writable;
}

std::unique_ptr<MovieReader> OpenReader(FileFormat format, const QString &path,
                                        const ColumnMap &map, const QString &readerProgram)
{
    switch (format) {
    case FileFormat::Csv:
        return OpenCsvReader(path, map);
    case FileFormat::Tellico:
    case FileFormat::TellicoXml:
        return OpenTellicoReader(path);
    case FileFormat::Gcstar:
        return OpenGcstarReader(path);
    case FileFormat::Access:
        return OpenAccessReader(path, readerProgram);
    case FileFormat::Reelwarden:
        return OpenReelwardenReader(path);
    case FileFormat::Html:
        break;
    }
    throw TransferError{QStringLiteral("Files of this kind cannot be imported.")};
}

std::unique_ptr<MovieWriter> OpenWriter(FileFormat format, const QString &path)
{
    switch (format) {
    case FileFormat::Csv:
        return OpenCsvWriter(path);
    case FileFormat::Tellico:
        return OpenTellicoWriter(path, true);
    case FileFormat::TellicoXml:
        return OpenTellicoWriter(path, false);
    case FileFormat::Html:
        return OpenHtmlWriter(path);
    case FileFormat::Gcstar:
    case FileFormat::Access:
    case FileFormat::Reelwarden:
        break;
    }
    throw TransferError{QStringLiteral("Files of this kind cannot be exported.")};
}
