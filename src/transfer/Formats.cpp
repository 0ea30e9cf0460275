#include "Formats.h"

#include "AccessImport.h"
#include "AccessSignature.h"
#include "ForeignFile.h"
#include "FormatProbe.h"
#include "GcstarFormat.h"
#include "HtmlFormat.h"
#include "TellicoFormat.h"
#include "amc/AmcFormat.h"
#include "collectorz/CollectorzFormat.h"
#include "datacrow/DataCrowFormat.h"
#include "delicious/DeliciousFormat.h"
#include "dvdprofiler/DvdProfilerFormat.h"
#include "griffith/GriffithFormat.h"
#include "nfo/NfoFormat.h"
#include "reelwarden/ReelwardenReader.h"

#include <QFileInfo>

namespace
{

using namespace FormatProbe;

template <std::unique_ptr<MovieReader> (*Open)(const QString &)>
std::unique_ptr<MovieReader> pathOnly(const QString &path, const ReadOptions &)
{
    return Open(path);
}

std::unique_ptr<MovieReader> readCsv(const QString &path, const ReadOptions &options)
{
    return OpenCsvReader(path, options.csv);
}

std::unique_ptr<MovieReader> readAccess(const QString &path, const ReadOptions &options)
{
    return OpenAccessReader(path, options.readerProgram);
}

std::unique_ptr<MovieWriter> writeTc(const QString &path)
{
    return OpenTellicoWriter(path, true);
}

std::unique_ptr<MovieWriter> writeTellicoXml(const QString &path)
{
    return OpenTellicoWriter(path, false);
}

// A probe that also tells what a file holds, for the table, which asks only whether it is ours.
template <ProbeResult (*Probe)(const QString &, QByteArrayView)>
bool recognised(const QString &path, const QByteArray &head)
{
    return Probe(path, head).recognised;
}

bool isTellico(const QString &path, const QByteArray &head)
{
    return xmlRoot(head) == u"tellico" ||
           (isZip(head) && (hasExtension(path, "tc") || head.contains("tellico.xml")));
}

bool isGcstar(const QString &, const QByteArray &head)
{
    return xmlRoot(head) == u"collection" && head.contains("type=\"GC");
}

bool isReelwarden(const QString &path, const QByteArray &head)
{
    return head.startsWith(QByteArrayLiteral("SQLite format 3\0")) && IsReelwardenCatalog(path);
}

bool isAccess(const QString &, const QByteArray &head)
{
    return IsAccessSignature(head);
}

// The order matters where two rows could claim one file: the first probe that recognises it
// wins, and an export to .xml is Tellico's.
constexpr FormatRow kFormats[] = {
    {"csv", "CSV spreadsheets (.csv)", "csv", nullptr, readCsv, OpenCsvWriter},
    {"tc", "Tellico collections (.tc)", "tc", isTellico, pathOnly<OpenTellicoReader>, writeTc},
    {"xml", "Tellico collections as plain XML (.xml)", "xml", nullptr, pathOnly<OpenTellicoReader>,
     writeTellicoXml},
    {"gcs", "GCstar collections (.gcs)", "gcs", isGcstar, pathOnly<OpenGcstarReader>, nullptr},
    {"mdb", "the earlier version's Access catalogs (.mdb)", "mdb", isAccess, readAccess, nullptr},
    {"html", "web pages (.html)", "html htm", nullptr, nullptr, OpenHtmlWriter},
    {"nfo", "Kodi, Jellyfin, Emby and MediaPortal movie .nfo files, or a folder of them", "nfo",
     IsNfo, pathOnly<OpenNfoPathReader>, nullptr, true},
    {"videodb", "Kodi's exported library (videodb.xml)", "xml", IsVideodb,
     pathOnly<OpenVideodbReader>, nullptr},
    {"dvdprofiler", "DVD Profiler's collection export (collection.xml)", "xml", IsDvdProfiler,
     pathOnly<OpenDvdProfilerReader>, nullptr},
    {"griffith", "Griffith's database (griffith.db) and XML export", "db xml", IsGriffith,
     pathOnly<OpenGriffithReader>, nullptr},
    {"amc", "Ant Movie Catalog's catalogs (.amc) and XML catalogs", "amc xml", recognised<ProbeAmc>,
     pathOnly<OpenAmcReader>, nullptr},
    {"collectorz", "Collectorz Movie Collector's XML export", "xml", recognised<ProbeCollectorz>,
     pathOnly<OpenCollectorzReader>, nullptr},
    {"datacrow", "Data Crow's XML export", "xml", recognised<ProbeDataCrow>,
     pathOnly<OpenDataCrowReader>, nullptr},
    {"delicious", "Delicious Library's XML export", "xml", recognised<ProbeDelicious>,
     pathOnly<OpenDeliciousReader>, nullptr},
    {"reelwarden", "another Reelwarden catalog or a backup of one (any name)", "", isReelwarden,
     pathOnly<OpenReelwardenReader>, nullptr},
};

QStringList split(const char *words)
{
    return QString::fromLatin1(words).split(u' ', Qt::SkipEmptyParts);
}

const FormatRow *byExtension(const QString &path, bool reading)
{
    const FormatRow *found = nullptr;
    for (const FormatRow &row : kFormats) {
        if ((reading ? row.read != nullptr : row.write != nullptr) &&
            hasExtension(path, row.extensions)) {
            if (found)
                return nullptr; // an extension several formats share says nothing
            found = &row;
        }
    }
    return found;
}

} // namespace

QString FormatRow::name() const
{
    return split(names).value(0);
}

bool FormatRow::isNamed(const QString &wanted) const
{
    for (const QString &known : split(names))
        if (wanted.compare(known, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

const FormatRow *FormatNamed(const QString &name, const QString &path)
{
    for (const FormatRow &row : kFormats) {
        if (name.isEmpty() ? hasExtension(path, row.extensions) : row.isNamed(name))
            return &row;
    }
    return nullptr;
}

const FormatRow &FormatToRead(const QString &name, const QString &path)
{
    if (!name.isEmpty()) {
        const FormatRow *named = FormatNamed(name, path);
        if (!named || !named->read)
            throw TransferError{
                QStringLiteral("--format %1 is not a format that can be imported.").arg(name)};
        return *named;
    }
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        throw TransferError{QStringLiteral("The file %1 was not found.").arg(path)};
    RefuseSpecialFile(info, path);
    const QByteArray head = FormatProbe::head(path);
    for (const FormatRow &row : kFormats) {
        if (row.read && row.probe && row.probe(path, head))
            return row;
    }
    if (const FormatRow *row = byExtension(path, true))
        return *row;
    throw TransferError{QStringLiteral("%1 is not of a kind that can be imported. Import reads %2.")
                            .arg(path, ReadableFormats())};
}

QStringList FormatList()
{
    QStringList lines;
    for (const FormatRow &row : kFormats) {
        QStringList commands;
        if (row.read)
            commands << QStringLiteral("import");
        if (row.write)
            commands << QStringLiteral("export");
        lines << QStringList{row.name(), commands.join(u' '),
                             split(row.extensions).isEmpty()
                                 ? QString()
                                 : u'.' + split(row.extensions).join(QStringLiteral(" .")),
                             QString::fromUtf8(row.title)}
                     .join(u'\t');
    }
    return lines;
}

QList<ChooserFormat> ChooserFormats(bool reading)
{
    QList<ChooserFormat> formats;
    for (const FormatRow &row : kFormats) {
        if (!(reading ? row.read != nullptr : row.write != nullptr))
            continue;
        QStringList patterns;
        for (const QString &extension : split(row.extensions))
            patterns << QStringLiteral("*.") + extension;
        QString title = QString::fromUtf8(row.title);
        title[0] = title[0].toUpper();
        formats << ChooserFormat{title, patterns.isEmpty() ? QStringList{"*"} : patterns,
                                 row.folder};
    }
    return formats;
}

QString FormatNames(bool reading)
{
    QStringList names;
    for (const FormatRow &row : kFormats)
        if (reading ? row.read != nullptr : row.write != nullptr)
            names << row.name();
    return names.join(QStringLiteral(", "));
}

QString ReadableFormats()
{
    QStringList titles;
    for (const FormatRow &row : kFormats)
        if (row.read && *row.title)
            titles << QString::fromUtf8(row.title);
    return titles.join(QStringLiteral("; "));
}

QString WritableFormats()
{
    QStringList extensions;
    for (const FormatRow &row : kFormats)
        if (row.write)
            extensions << QStringLiteral(".") + split(row.extensions).value(0);
    return extensions.mid(0, extensions.size() - 1).join(QStringLiteral(", ")) +
           QStringLiteral(" and ") + extensions.last();
}

std::unique_ptr<MovieReader> OpenReader(const FormatRow &format, const QString &path,
                                        const CsvOptions &csv, const QString &readerProgram)
{
    if (!format.read)
        throw TransferError{QStringLiteral("Files of this kind cannot be imported.")};
    return format.read(path, {csv, readerProgram});
}

std::unique_ptr<MovieWriter> OpenWriter(const FormatRow &format, const QString &path)
{
    if (!format.write)
        throw TransferError{QStringLiteral("Files of this kind cannot be exported.")};
    return format.write(path);
}
