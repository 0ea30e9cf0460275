#include "DataCrowFormat.h"
#include "ForeignReader.h"
#include "XmlNode.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace
{

// What items of Data Crow's main modules other than movies are called in messages; the
// modules they refer to (actors, genres, countries) have no name here.
QString kindOf(const QString &item)
{
    static const QHash<QString, QString> kinds{{"book", "books"},
                                               {"music-album", "music albums"},
                                               {"audio-cd", "audio CDs"},
                                               {"software", "software titles"},
                                               {"image", "images"}};
    return kinds.value(item);
}

// A list field: its entries (Data Crow 4: genres/genre/name, 5: genres-items/genre/name), else
// the joined text Data Crow writes beside them ("Action, Drama").
QStringList listOf(const XmlNode &movie, const QString &name)
{
    QStringList values = movie.values(name);
    if (values.isEmpty())
        values = movie.values(name + QStringLiteral("-items"));
    if (values.isEmpty()) {
        const QString joined = movie.value(name + QStringLiteral("-list")).isEmpty()
                                   ? movie.value(name + QStringLiteral("-items-list"))
                                   : movie.value(name + QStringLiteral("-list"));
        for (const QString &value : joined.split(u','))
            if (!value.trimmed().isEmpty())
                values << value.trimmed();
    }
    if (values.isEmpty() && !movie.value(name).isEmpty())
        values << movie.value(name);
    return values;
}

// Seconds (version 5) or h:mm:ss (version 4) as minutes; any other text as it is.
QString minutesOf(const QString &length)
{
    static const QRegularExpression clock(
        QStringLiteral("^\\s*(\\d{1,6}):(\\d{1,2}):(\\d{1,2})\\s*$"));
    static const QRegularExpression seconds(QStringLiteral("^\\s*(\\d{1,12})\\s*$"));
    if (const auto m = clock.match(length); m.hasMatch())
        return QString::number(m.captured(1).toLongLong() * 60 + m.captured(2).toInt() +
                               (m.captured(3).toInt() >= 30));
    if (const auto m = seconds.match(length); m.hasMatch())
        return QString::number((m.captured(1).toLongLong() + 30) / 60);
    return length;
}

class DataCrowReader : public XmlFileReader<ForeignReader>
{
  public:
    explicit DataCrowReader(const QString &path);
    std::optional<MovieRow> next() override;

  private:
    MovieRow toRow(const XmlNode &movie);
    void markRest(const XmlNode &movie);

    QString m_path;
    bool m_inList = false;
    int m_movies = 0;
};

DataCrowReader::DataCrowReader(const QString &path) : XmlFileReader(path), m_path(path)
{
    m_xml.requireRoot(u"data-crow-objects", QStringLiteral("is not a Data Crow export."));
}

std::optional<MovieRow> DataCrowReader::next()
{
    for (;;) {
        if (!m_xml.nextChild()) {
            if (m_inList) {
                m_inList = false;
                continue;
            }
            requireMovies(m_path, m_movies);
            return std::nullopt;
        }
        const QString name = m_xml.name().toString();
        if (name == u"movie")
            return toRow(readXmlNode(m_xml));
        if (!m_inList && name.endsWith(u"-items")) {
            m_inList = true; // version 5: a list of the items of each module
            continue;
        }
        if (!kindOf(name).isEmpty())
            skipItem(kindOf(name));
        m_xml.skipElement();
    }
}

MovieRow DataCrowReader::toRow(const XmlNode &movie)
{
    using namespace MovieColumn;
    ForeignMovie out;
    out.row.where = QStringLiteral("entry %1").arg(++m_movies);
    out.set(Title, movie.value(u"title").isEmpty() ? movie.value(u"label") : movie.value(u"title"));
    setJoined(out, Category, listOf(movie, "genres"), "genres");
    out.set(Rating, movie.value(u"certification"));
    setJoined(out, Format, listOf(movie, "storage-medium"), "storage media");
    out.set(Value, movie.value(u"item-value"));
    out.set(Copyright, movie.value(u"year"));
    out.set(Minutes, minutesOf(movie.value(u"playlength")));
    setJoined(out, TapePosition, listOf(movie, "container"), "containers");
    setStars(out, listOf(movie, "actors"));
    setJoined(out, Director, listOf(movie, "directors"), "directors");
    out.set(Comments, movie.value(u"comment"));
    out.keep(QStringLiteral("Description"), movie.value(u"description"));
    if (movie.value(u"title-local") != movie.value(u"title"))
        out.keep(QStringLiteral("Local title"), movie.value(u"title-local"));
    markRest(movie);
    return out.finished();
}

void DataCrowReader::markRest(const XmlNode &movie)
{
    static const QSet<QString> taken{"title",
                                     "genres",
                                     "certification",
                                     "storage-medium",
                                     "item-value",
                                     "year",
                                     "playlength",
                                     "container",
                                     "actors",
                                     "directors",
                                     "comment",
                                     "description",
                                     "title-local",
                                     "id",
                                     "label",
                                     "item",
                                     "created",
                                     "modified",
                                     "datacrow-module-index",
                                     "service"};
    for (const XmlNode &field : movie.children) {
        QString name = field.name;
        for (const char *suffix : {"-list", "-items"})
            if (name.endsWith(QLatin1String(suffix)))
                name.chop(qsizetype(strlen(suffix)));
        if (!taken.contains(name) && !name.startsWith(u"picture") &&
            (!field.shownText().isEmpty() || !field.children.empty()))
            markUnused(name);
    }
}

} // namespace

std::unique_ptr<MovieReader> OpenDataCrowReader(const QString &path)
{
    return std::make_unique<DataCrowReader>(path);
}

ProbeResult ProbeDataCrow(const QString &, QByteArrayView head)
{
    const XmlHead xml = readXmlHead(head);
    if (xml.root != u"data-crow-objects")
        return {};
    QString item = xml.firstChild.endsWith(u"-items") ? xml.firstChild.chopped(6) : xml.firstChild;
    if (item.isEmpty()) { // not within the bytes given: the schema the export names tells
        static const QRegularExpression schema(QStringLiteral("datacrow_([a-z-]+?)s?\\d*\\.xsd"));
        item = schema.match(xml.attributes.value(QStringLiteral("xsi:noNamespaceSchemaLocation")))
                   .captured(1);
    }
    return {true, item.isEmpty() || item == u"movie" ? QString()
                  : kindOf(item).isEmpty()           ? item
                                                     : kindOf(item)};
}
