#include "Formats.h"

#include "AccessImport.h"
#include "GcstarFormat.h"
#include "HtmlFormat.h"
#include "TellicoFormat.h"

#include <QFileInfo>

namespace
{

struct FormatName {
    const char *name;
    FileFormat format;
    bool readable;
    bool writable;
};

constexpr FormatName kFormats[] = {
    {"csv", FileFormat::Csv, true, true},        {"tc", FileFormat::Tellico, true, true},
    {"xml", FileFormat::TellicoXml, true, true}, {"gcs", FileFormat::Gcstar, true, false},
    {"mdb", FileFormat::Access, true, false},    {"html", FileFormat::Html, false, true},
};

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
        if (known.*can)
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
                                        const CsvOptions &csv, const QString &readerProgram)
{
    switch (format) {
    case FileFormat::Csv:
        return OpenCsvReader(path, csv);
    case FileFormat::Tellico:
    case FileFormat::TellicoXml:
        return OpenTellicoReader(path);
    case FileFormat::Gcstar:
        return OpenGcstarReader(path);
    case FileFormat::Access:
        return OpenAccessReader(path, readerProgram);
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
        break;
    }
    throw TransferError{QStringLiteral("Files of this kind cannot be exported.")};
}
