#include "Formats.h"

#include "AccessImport.h"
#include "GcstarFormat.h"
#include "HtmlFormat.h"
#include "ReelwardenReader.h"
#include "TellicoFormat.h"

#include <QFileInfo>

namespace
{

struct FormatName {
    const char *name; // the --format name, and the file extension unless `patterns` says more
    FileFormat format;
    bool readable;
    bool writable;
    const char *description = nullptr; // for a file chooser; "NAME files" when not given
    const char *patterns = nullptr;    // for a file chooser, " " between; "*.NAME" when not given
    bool folder = false;               // the format reads a folder, not a file
};

constexpr FormatName kFormats[] = {
    {"csv", FileFormat::Csv, true, true, "CSV files"},
    {"tc", FileFormat::Tellico, true, true, "Tellico files"},
    {"xml", FileFormat::TellicoXml, true, true, "Tellico XML files"},
    {"gcs", FileFormat::Gcstar, true, false, "GCstar files"},
    {"mdb", FileFormat::Access, true, false, "Catalogs of the earlier Windows version"},
    {"html", FileFormat::Html, false, true, "Web pages", "*.html *.htm"},
    {"reelwarden", FileFormat::Reelwarden, true, false, "Reelwarden catalogs and backups",
     "*.mdb *.db *.sqlite *.sqlite3"},
};

// A format whose patterns leave out its own name (a Reelwarden catalog, known by its
// content) is not listed among the extensions that messages name.
bool nameIsExtension(const FormatName &known)
{
    return !known.patterns ||
           QString::fromLatin1(known.patterns).split(u' ').contains(
               QStringLiteral("*.") + QLatin1String(known.name));
}

const FormatName &entry(FileFormat format)
{
    for (const FormatName &known : kFormats) {
        if (known.format == format)
            return known;
    }
    return kFormats[0];
}

QString formatList(bool FormatName::*can)
{
    QStringList names;
    for (const FormatName &known : kFormats) {
        if (known.*can && nameIsExtension(known))
            names << QStringLiteral(".%1").arg(QLatin1String(known.name));
    }
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           names.last();
}

} // namespace

std::optional<FileFormat> FormatNamed(const QString &name, const QString &path)
{
    const QString wanted = name.isEmpty() ? QFileInfo(path).suffix() : name;
    for (const FormatName &known : kFormats) {
        if (wanted.compare(QLatin1String(known.name), Qt::CaseInsensitive) == 0)
            return known.format;
    }
    if (name.isEmpty() && wanted.compare(QLatin1String("htm"), Qt::CaseInsensitive) == 0)
        return FileFormat::Html;
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
        ChooserFormat format;
        format.description = known.description ? QLatin1String(known.description)
                                                : name.toUpper() + QStringLiteral(" files");
        format.patterns = known.patterns ? QString::fromLatin1(known.patterns).split(u' ')
                                         : QStringList{QStringLiteral("*.") + name};
        format.folder = known.folder;
        formats << format;
    }
    return formats;
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
