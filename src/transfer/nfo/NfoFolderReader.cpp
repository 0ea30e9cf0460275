#include "NfoFormat.h"
#include "NfoMovie.h"

#include "FormatProbe.h"
#include "XmlInput.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#include <vector>

namespace
{

// Far beyond a real library, and small enough that a damaged or looping tree cannot exhaust
// the memory or run for hours.
constexpr int kMaxFolderDepth = 64;
constexpr qint64 kMaxEntries = 1'000'000;

class NfoFolderReader : public MovieReader
{
  public:
    explicit NfoFolderReader(const QString &path) : m_root(QDir(path)) { enter(QFileInfo(path)); }
    std::optional<MovieRow> next() override;
    QStringList unusedColumns() const override { return m_movie.unusedColumns(); }
    QStringList notes() const override;
    qint64 bytesRead() const override { return m_bytes; }

  private:
    void enter(const QFileInfo &folder);
    std::optional<MovieRow> readFile(const QFileInfo &file);
    [[noreturn]] void refuse(const QString &what) const;

    QDir m_root;
    // The folders being read, outermost first: each read an entry at a time, so that a folder
    // of a million files is never listed whole.
    std::vector<std::unique_ptr<QDirIterator>> m_folders;
    QSet<QString> m_seen; // canonical paths of the folders and files read
    NfoMovie m_movie;
    int m_movies = 0, m_otherFiles = 0, m_textNfo = 0, m_linksAgain = 0, m_unreadable = 0;
    QMap<QString, int> m_otherNfo; // what an .nfo holds instead of a movie: files
    qint64 m_entries = 0, m_bytes = 0;
};

void NfoFolderReader::refuse(const QString &what) const
{
    throw TransferError{QStringLiteral("The folder %1 %2").arg(m_root.path(), what)};
}

void NfoFolderReader::enter(const QFileInfo &folder)
{
    if (!m_seen.contains(folder.canonicalFilePath())) {
        if (m_folders.size() >= kMaxFolderDepth)
            refuse(QStringLiteral("nests folders deeper than %1 levels (at %2).")
                       .arg(kMaxFolderDepth)
                       .arg(folder.filePath()));
        m_seen.insert(folder.canonicalFilePath());
        m_folders.push_back(std::make_unique<QDirIterator>(folder.filePath(),
                                                           QDir::AllEntries | QDir::NoDotAndDotDot |
                                                               QDir::Hidden | QDir::System));
    } else {
        ++m_linksAgain;
    }
}

std::optional<MovieRow> NfoFolderReader::next()
{
    while (!m_folders.empty()) {
        QDirIterator &folder = *m_folders.back();
        if (!folder.hasNext()) {
            m_folders.pop_back();
            continue;
        }
        folder.next();
        const QFileInfo entry = folder.fileInfo();
        if (++m_entries > kMaxEntries)
            refuse(QStringLiteral("holds more than %1 files and folders.").arg(kMaxEntries));
        if (entry.isDir() && !entry.isReadable())
            ++m_unreadable;
        else if (entry.isDir())
            enter(entry);
        else if (entry.suffix().compare(u"nfo", Qt::CaseInsensitive) != 0 || !entry.isFile())
            ++m_otherFiles;
        else if (auto row = readFile(entry))
            return row;
    }
    if (m_movies == 0)
        refuse(m_otherNfo.isEmpty() && m_textNfo == 0
                   ? QStringLiteral("holds no .nfo file.")
                   : QStringLiteral("holds no movie .nfo file, only %1.").arg(notes().join(", ")));
    return std::nullopt;
}

std::optional<MovieRow> NfoFolderReader::readFile(const QFileInfo &file)
{
    const QString canonical = file.canonicalFilePath();
    if (m_seen.contains(canonical))
        return ++m_linksAgain, std::nullopt;
    m_seen.insert(canonical);
    std::unique_ptr<QFile> input = openInputFile(file.filePath());
    m_bytes += input->size();
    const QString root = FormatProbe::xmlRoot(input->peek(FormatProbe::kProbeBytes));
    if (root.isEmpty())
        return ++m_textNfo, std::nullopt;
    if (root != u"movie")
        return ++m_otherNfo[root], std::nullopt;
    XmlInput xml(file.filePath(), input.get());
    xml.nextChild();
    ++m_movies;
    return m_movie.read(xml, m_root.relativeFilePath(file.filePath()));
}

QStringList NfoFolderReader::notes() const
{
    QStringList notes = m_movie.notes();
    if (m_otherFiles)
        notes << QStringLiteral("%1 skipped (not .nfo)").arg(counted(m_otherFiles, "file"));
    if (m_textNfo)
        notes << QStringLiteral("%1 without XML skipped").arg(counted(m_textNfo, ".nfo file"));
    for (auto it = m_otherNfo.cbegin(); it != m_otherNfo.cend(); ++it)
        notes
            << QStringLiteral("%1 of <%2> skipped").arg(counted(it.value(), ".nfo file"), it.key());
    if (m_unreadable)
        notes << QStringLiteral("%1 that cannot be read skipped")
                     .arg(counted(m_unreadable, "folder"));
    if (m_linksAgain)
        notes << QStringLiteral("%1 to what was read already skipped")
                     .arg(counted(m_linksAgain, "link"));
    return notes;
}

} // namespace

std::unique_ptr<MovieReader> OpenNfoFolderReader(const QString &path)
{
    return std::make_unique<NfoFolderReader>(path);
}
