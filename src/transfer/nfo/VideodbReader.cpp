#include "NfoFormat.h"
#include "NfoMovie.h"

#include "FormatProbe.h"
#include "XmlInput.h"

#include <QMap>

namespace
{

class VideodbReader : public XmlFileReader<MovieReader>
{
  public:
    explicit VideodbReader(const QString &path) : XmlFileReader(path)
    {
        m_xml.requireRoot(u"videodb",
                          QStringLiteral("is not a Kodi library export (videodb.xml)."));
    }
    std::optional<MovieRow> next() override;
    QStringList unusedColumns() const override { return m_movie.unusedColumns(); }
    QStringList notes() const override;

  private:
    NfoMovie m_movie;
    int m_movies = 0;
    bool m_done = false;
    QMap<QString, int> m_skipped; // entries of other kinds: how many
};

std::optional<MovieRow> VideodbReader::next()
{
    while (!m_done && m_xml.nextChild()) {
        if (m_xml.name() == u"movie")
            return m_movie.read(m_xml, QStringLiteral("movie %1").arg(++m_movies));
        if (m_xml.name() != u"version" && m_xml.name() != u"paths")
            ++m_skipped[m_xml.name().toString()];
        m_xml.skipElement();
    }
    m_done = true; // what follows the root is never read
    if (m_movies == 0 && !m_skipped.isEmpty())
        m_xml.fail(QStringLiteral("holds no movie, only what is not imported: %1.")
                       .arg(notes().join(QStringLiteral(", "))));
    return std::nullopt;
}

QStringList VideodbReader::notes() const
{
    QStringList notes = m_movie.notes();
    for (auto it = m_skipped.cbegin(); it != m_skipped.cend(); ++it)
        notes << QStringLiteral("%1 skipped")
                     .arg(it.key() == u"tvshow" ? counted(it.value(), "TV show")
                                                : QStringLiteral("%1 of <%2>")
                                                      .arg(counted(it.value(), "entry"), it.key()));
    return notes;
}

} // namespace

std::unique_ptr<MovieReader> OpenVideodbReader(const QString &path)
{
    return std::make_unique<VideodbReader>(path);
}

bool IsVideodb(const QString &, const QByteArray &head)
{
    return FormatProbe::xmlRoot(head) == u"videodb";
}
