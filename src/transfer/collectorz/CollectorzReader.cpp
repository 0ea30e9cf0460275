#include "CollectorzFormat.h"
#include "ForeignReader.h"
#include "XmlNode.h"

#include <QSet>

namespace
{

// The export's root element for each of the program's collections, and what it holds.
const std::pair<const char *, const char *> kCollections[] = {
    {"movieinfo", ""},       {"bookinfo", "books"}, {"musicinfo", "music albums"},
    {"comicinfo", "comics"}, {"gameinfo", "games"},
};

std::optional<QString> collectionOf(QStringView root)
{
    for (const auto &[name, holds] : kCollections)
        if (root == QLatin1String(name))
            return QString::fromLatin1(holds);
    return std::nullopt;
}

class CollectorzReader : public XmlFileReader<ForeignReader>
{
  public:
    explicit CollectorzReader(const QString &path);
    std::optional<MovieRow> next() override;

  private:
    MovieRow toRow(const XmlNode &movie);
    void setPeople(ForeignMovie &out, const XmlNode &movie);
    void markRest(const XmlNode &movie);

    bool m_inList = false;
    int m_movies = 0;
};

CollectorzReader::CollectorzReader(const QString &path) : XmlFileReader(path)
{
    const bool started = m_xml.nextChild();
    const auto holds = started ? collectionOf(m_xml.name()) : std::nullopt;
    if (!holds)
        m_xml.fail(QStringLiteral("is not a Collectorz export."));
    if (!holds->isEmpty())
        m_xml.fail(
            QStringLiteral("is a Collectorz export of %1, not of movies: there is nothing to "
                           "import.")
                .arg(*holds));
}

std::optional<MovieRow> CollectorzReader::next()
{
    for (;;) {
        if (!m_xml.nextChild()) {
            if (!m_inList)
                return std::nullopt;
            m_inList = false;
            continue;
        }
        if (m_inList && m_xml.name() == u"movie")
            return toRow(readXmlNode(m_xml));
        if (!m_inList && m_xml.name() == u"movielist")
            m_inList = true;
        else
            m_xml.skipElement();
    }
}

MovieRow CollectorzReader::toRow(const XmlNode &movie)
{
    using namespace MovieColumn;
    ForeignMovie out;
    out.row.where = QStringLiteral("entry %1").arg(++m_movies);
    static const std::pair<const char *, int> direct[] = {
        {"title", Title},         {"mpaarating", Rating},   {"format", Format},
        {"purchaseprice", Value}, {"condition", Condition}, {"location", TapePosition},
        {"notes", Comments},
    };
    for (const auto &[name, column] : direct)
        out.set(column, movie.value(QLatin1String(name)));
    setJoined(out, Category, movie.values(u"genres"), "genres");
    if (const XmlNode *release = movie.child(u"releasedate"))
        out.set(Copyright, release->value(u"year").isEmpty() ? yearOfDate(release->value(u"date"))
                                                             : release->value(u"year"));
    out.set(Minutes, movie.value(u"runtime").isEmpty() ? movie.value(u"runtimeminutes")
                                                       : movie.value(u"runtime"));
    setPeople(out, movie);
    out.keep(QStringLiteral("Plot"), movie.value(u"plot"));
    markRest(movie);
    return out.finished();
}

// The cast's actors in order; the crew's directors and producers.
void CollectorzReader::setPeople(ForeignMovie &out, const XmlNode &movie)
{
    QStringList actors, directors, producers;
    for (const char *list : {"cast", "crew"}) {
        const XmlNode *people = movie.child(QLatin1String(list));
        for (const XmlNode &person : people ? people->children : std::vector<XmlNode>{}) {
            const QString role = person.value(u"roleid");
            const QString name = person.value(u"person");
            if (role == u"dfActor" || (role.isEmpty() && person.name == u"star"))
                actors << name;
            else if (role == u"dfDirector")
                directors << name;
            else if (role == u"dfProducer")
                producers << name;
        }
    }
    setStars(out, actors);
    setJoined(out, MovieColumn::Director, directors, "directors");
    setJoined(out, MovieColumn::Producer, producers, "producers");
}

// Everything else the movie says, for the summary; the program's own bookkeeping left aside.
void CollectorzReader::markRest(const XmlNode &movie)
{
    static const QSet<QString> taken{"title",
                                     "mpaarating",
                                     "format",
                                     "purchaseprice",
                                     "condition",
                                     "location",
                                     "notes",
                                     "genres",
                                     "releasedate",
                                     "runtime",
                                     "runtimeminutes",
                                     "cast",
                                     "crew",
                                     "plot",
                                     "id",
                                     "index",
                                     "lastmodified",
                                     "thumbfilepath",
                                     "titlefirstletter",
                                     "links"};
    for (const XmlNode &field : movie.children)
        if (!taken.contains(field.name) && !field.name.startsWith(u"bp") &&
            (!field.shownText().isEmpty() || !field.children.empty()))
            markUnused(field.name);
}

} // namespace

std::unique_ptr<MovieReader> OpenCollectorzReader(const QString &path)
{
    return std::make_unique<CollectorzReader>(path);
}

ProbeResult ProbeCollectorz(const QString &, QByteArrayView head)
{
    const auto holds = collectionOf(readXmlHead(head).root);
    return {holds.has_value(), holds.value_or(QString())};
}
