#include "DeliciousFormat.h"
#include "ForeignReader.h"
#include "RtfText.h"
#include "XmlNode.h"

#include <QHash>
#include <QSet>

namespace
{

// What items of a kind are called in messages, by the version 1 element or version 2 type.
QString kindOf(const QString &item)
{
    static const QHash<QString, QString> kinds{{"book", "books"},
                                               {"music", "music albums"},
                                               {"game", "games"},
                                               {"videogame", "video games"},
                                               {"software", "software titles"},
                                               {"gadget", "gadgets"},
                                               {"toy", "toys"},
                                               {"tool", "tools"}};
    return kinds.value(item.toLower());
}

// The program's bookkeeping and the numbers it writes for every item: nothing to report.
bool bookkeeping(const QString &name, const QString &value)
{
    static const QSet<QString> names{
        "uuid",           "uuidString",           "asin",      "created", "creationDate",
        "lastLookupTime", "lastModificationDate", "fullTitle", "type"};
    return names.contains(name) || name.startsWith(u"box") || value == u"0" || value == u"0.0";
}

// A movie's values by name, whichever version wrote them.
using Values = QHash<QString, QString>;

class DeliciousReader : public XmlFileReader<ForeignReader>
{
  public:
    explicit DeliciousReader(const QString &path);
    std::optional<MovieRow> next() override;

  private:
    std::optional<Values> nextItem();
    std::optional<Values> fromLibrary(const XmlNode &item);
    std::optional<Values> fromDictionary(const XmlNode &dict);
    MovieRow toRow(const Values &movie);

    QString m_path;
    bool m_plist = false;
    int m_depth = 1; // elements open: the root
    int m_movies = 0;
};

DeliciousReader::DeliciousReader(const QString &path) : XmlFileReader(path), m_path(path)
{
    const bool started = m_xml.nextChild();
    m_plist = started && m_xml.name() == u"plist";
    if (!started || (!m_plist && m_xml.name() != u"library"))
        m_xml.fail(QStringLiteral("is not a Delicious Library export."));
}

std::optional<MovieRow> DeliciousReader::next()
{
    const auto movie = nextItem();
    if (movie)
        return toRow(*movie);
    requireMovies(m_path, m_movies);
    return std::nullopt;
}

// Version 1 keeps items in <items> and, now and then, beside it; version 2 in the <array>.
std::optional<Values> DeliciousReader::nextItem()
{
    while (m_depth > 0) {
        if (!m_xml.nextChild()) {
            --m_depth;
            continue;
        }
        const QString name = m_xml.name().toString();
        if (m_depth == 1 && (name == u"items" || name == u"array")) {
            ++m_depth;
            continue;
        }
        const bool item =
            name == u"movie" || !kindOf(name).isEmpty() || (m_plist && name == u"dict");
        if (!item) {
            m_xml.skipElement(); // shelves, borrowers
            continue;
        }
        const XmlNode node = readXmlNode(m_xml);
        if (auto movie = m_plist ? fromDictionary(node) : fromLibrary(node))
            return movie;
    }
    return std::nullopt;
}

std::optional<Values> DeliciousReader::fromLibrary(const XmlNode &item)
{
    if (item.name != u"movie") {
        skipItem(kindOf(item.name));
        return std::nullopt;
    }
    Values values;
    for (const auto &attribute : item.attributes)
        values.insert(attribute.name().toString(), attribute.value().toString());
    for (const XmlNode &child : item.children)
        values.insert(child.name, rtfToText(child.text));
    return values;
}

// <key>name</key> then its value's element, in turn.
std::optional<Values> DeliciousReader::fromDictionary(const XmlNode &dict)
{
    Values values;
    for (std::size_t i = 0; i + 1 < dict.children.size(); i += 2)
        if (dict.children[i].name == u"key")
            values.insert(dict.children[i].text.trimmed(), dict.children[i + 1].text);
    const QString type = values.value(QStringLiteral("type"));
    if (type.compare(u"movie", Qt::CaseInsensitive) == 0)
        return values;
    skipItem(kindOf(type).isEmpty() ? QStringLiteral("items of other kinds") : kindOf(type));
    return std::nullopt;
}

MovieRow DeliciousReader::toRow(const Values &movie)
{
    using namespace MovieColumn;
    // Each column's name in version 1, then in version 2.
    static const std::tuple<int, const char *, const char *> direct[] = {
        {Rating, "mpaarating", "audienceRecommendedAgeSingularString"},
        {Format, "aspect", "formatSingularString"},
        {Value, "price", "price"},
        {Minutes, "minutes", "minutes"},
        {Comments, "notes", "notes"},
    };
    ForeignMovie out;
    out.row.where = QStringLiteral("entry %1").arg(++m_movies);
    QSet<QString> used{"title",    "theatricalDate",          "published",  "publishDate",
                       "genre",    "genresCompositeString",   "stars",      "actorsCompositeString",
                       "director", "creatorsCompositeString", "description"};
    for (const auto &[column, first, second] : direct) {
        const QString name = QLatin1String(movie.contains(QLatin1String(first)) ? first : second);
        out.set(column, movie.value(name)), used.insert(name);
    }
    out.set(Title,
            movie.value("title").isEmpty() ? movie.value("fullTitle") : movie.value("title"));
    for (const char *date : {"theatricalDate", "published", "publishDate"})
        if (!out.row.values[Copyright])
            out.set(Copyright, yearOfDate(movie.value(QLatin1String(date))));
    setJoined(out, Category, nonBlankLines(movie.value("genre")), "genres");
    setStars(out, nonBlankLines(movie.value("stars")));
    setJoined(
        out, Director,
        nonBlankLines(movie.value("director") + u'\n' + movie.value("creatorsCompositeString")),
        "directors");
    // Version 2 runs a list's names together with spaces: the actors cannot be told apart,
    // and the genres are the shop's shelves rather than the movie's.
    const QStringList actors = nonBlankLines(movie.value("actorsCompositeString"));
    if (actors.size() > 1)
        setStars(out, actors);
    else
        out.keep(QStringLiteral("Actors"), actors.value(0));
    const QStringList genres = nonBlankLines(movie.value("genresCompositeString"));
    if (genres.size() > 1)
        setJoined(out, Category, genres, "genres");
    else
        used.remove(QStringLiteral("genresCompositeString"));
    out.keep(QStringLiteral("Description"), movie.value("description"));
    QStringList names = movie.keys();
    names.sort();
    for (const QString &name : names)
        if (!used.contains(name) && !bookkeeping(name, movie[name].trimmed()) &&
            !movie[name].trimmed().isEmpty())
            markUnused(name);
    return out.finished();
}

} // namespace

std::unique_ptr<MovieReader> OpenDeliciousReader(const QString &path)
{
    return std::make_unique<DeliciousReader>(path);
}

ProbeResult ProbeDelicious(const QString &, QByteArrayView head)
{
    const XmlHead xml = readXmlHead(head);
    const bool library =
        xml.root == u"library" &&
        (xml.firstChild == u"items" || xml.attributes.hasAttribute(QStringLiteral("uuid")));
    const bool plist =
        xml.root == u"plist" && QByteArrayView(head).contains("CompositeString</key>");
    return {library || plist, {}};
}
