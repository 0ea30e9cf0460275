#include "NfoFormat.h"
#include "NfoMovie.h"

#include "FormatProbe.h"
#include "XmlInput.h"

#include <QFileInfo>
#include <QHash>

namespace
{

// What an .nfo of another root element holds, for messages; empty for one not known.
QString kindOfNfo(const QString &root)
{
    static const QHash<QString, QString> kinds{
        {"tvshow", "a TV show"},         {"episodedetails", "a TV episode"},
        {"musicvideo", "a music video"}, {"artist", "a music artist"},
        {"album", "a music album"},      {"set", "a movie set"},
        {"season", "a TV season"}};
    return kinds.value(root);
}

class NfoReader : public XmlFileReader<MovieReader>
{
  public:
    explicit NfoReader(const QString &path) : XmlFileReader(path)
    {
        const QString root = FormatProbe::xmlRoot(m_file->peek(FormatProbe::kProbeBytes));
        if (root.isEmpty())
            m_xml.fail(QStringLiteral("is not a movie .nfo of Kodi, Jellyfin or Emby: it holds "
                                      "no XML (a release's text, or a link alone)."));
        if (root != u"movie")
            m_xml.fail(
                kindOfNfo(root).isEmpty()
                    ? QStringLiteral("is not a movie .nfo: its XML is a <%1>.").arg(root)
                    : QStringLiteral("is the .nfo of %1, not of a movie.").arg(kindOfNfo(root)));
    }
    std::optional<MovieRow> next() override
    {
        if (m_done)
            return std::nullopt;
        m_done = true;
        m_xml.nextChild(); // the root, <movie>: checked above
        return m_movie.read(m_xml, QStringLiteral("movie 1"));
    }
    QStringList unusedColumns() const override { return m_movie.unusedColumns(); }
    QStringList notes() const override { return m_movie.notes(); }
    qint64 bytesRead() const override { return m_done ? m_file->size() : 0; }

  private:
    NfoMovie m_movie;
    bool m_done = false;
};

} // namespace

std::unique_ptr<MovieReader> OpenNfoReader(const QString &path)
{
    return std::make_unique<NfoReader>(path);
}

std::unique_ptr<MovieReader> OpenNfoPathReader(const QString &path)
{
    return QFileInfo(path).isDir() ? OpenNfoFolderReader(path) : OpenNfoReader(path);
}

bool IsNfo(const QString &path, const QByteArray &head)
{
    if (QFileInfo(path).isDir())
        return true;
    const QString root = FormatProbe::xmlRoot(head);
    return root == u"movie" ||
           (!kindOfNfo(root).isEmpty() && FormatProbe::hasExtension(path, "nfo"));
}
