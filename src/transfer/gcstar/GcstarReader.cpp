#include "CastLeftOut.h"
#include "GcstarFormat.h"
#include "XmlInput.h"

#include <QHash>
#include <QMap>
#include <QSet>

namespace
{

using Table = QList<QStringList>;

// The first column of each line, the lines that say something.
QStringList firstColumns(const Table &table)
{
    QStringList values;
    for (const QStringList &line : table)
        if (!line.value(0).trimmed().isEmpty())
            values << line.value(0);
    return values;
}

// GCstar's minimum age as a certification: 1 is for all ages, 2 with parental guidance, a
// higher number the age itself; 0 (unknown) or another text gives nothing.
std::optional<QString> certificationOf(const QString &age)
{
    bool ok = false;
    const int years = age.trimmed().toInt(&ok);
    if (!ok || years <= 0 || years > 99)
        return std::nullopt;
    if (years == 1)
        return QStringLiteral("All ages");
    if (years == 2)
        return QStringLiteral("Parental guidance");
    return QStringLiteral("Age %1+").arg(years);
}

class GcstarReader : public XmlFileReader<MovieReader>
{
  public:
    explicit GcstarReader(const QString &path);
    std::optional<MovieRow> next() override;
    QStringList unusedColumns() const override { return m_unused.list(); }
    QStringList notes() const override;

  private:
    MovieRow readItem();
    void take(MovieRow &row, const QString &name, const Table &table);
    void setStars(MovieRow &row, const Table &table);
    void setJoined(MovieRow &row, int column, const QStringList &values, const char *kind);

    int m_items = 0;
    UnusedNames m_unused;
    QMap<QString, int> m_joined;
    CastLeftOut m_cast;
};

GcstarReader::GcstarReader(const QString &path) : XmlFileReader(path)
{
    m_xml.requireRoot(u"collection", QStringLiteral("is not a GCstar collection."));
    if (m_xml.attributes().value(QStringLiteral("type")) != u"GCfilms")
        m_xml.fail(QStringLiteral("is a GCstar collection of another kind, not of films."));
}

std::optional<MovieRow> GcstarReader::next()
{
    while (m_xml.nextChild()) {
        if (m_xml.name() == u"item")
            return readItem();
        m_xml.skipElement(); // information
    }
    return std::nullopt;
}

// GCstar 1.2 and later write the simple values as attributes of the item, earlier versions
// as its elements; both are read.
MovieRow GcstarReader::readItem()
{
    MovieRow row;
    row.where = QStringLiteral("entry %1").arg(++m_items);
    for (const auto &attribute : m_xml.attributes())
        take(row, attribute.name().toString(), {{attribute.value().toString()}});
    while (m_xml.nextChild()) {
        const QString name = m_xml.name().toString();
        take(row, name, m_xml.readTable());
    }
    return row;
}

void GcstarReader::take(MovieRow &row, const QString &name, const Table &table)
{
    using namespace MovieColumn;
    static const QHash<QString, int> simple{
        {"title", Title}, {"format", Format}, {"place", TapePosition}, {"comment", Comments}};
    const QStringList values = firstColumns(table);
    if (values.isEmpty() || name == u"id" || (name == u"age" && values == QStringList{"0"}))
        return; // GCstar writes every field, most of them empty; age 0 is "unknown"
    if (simple.contains(name))
        row.values[simple[name]] = values.join(u'\n');
    else if (name == u"genre")
        setJoined(row, Category, values, "genres");
    else if (name == u"director")
        setJoined(row, Director, values, "directors");
    else if (name == u"producer")
        setJoined(row, Producer, values, "producers");
    else if (name == u"age")
        row.values[Rating] = certificationOf(values.first());
    else if (name == u"date")
        row.values[Copyright] = values.first(); // a year or a date: the import takes its year
    else if (name == u"time")
        row.values[Minutes] = values.first(); // "102 min", "1h42": the import splits it
    else if (name == u"actors")
        setStars(row, table);
    else
        m_unused.add(name);
}

// Lines of actor and role; an older file writes "Actor, Actor (role)" as one text.
void GcstarReader::setStars(MovieRow &row, const Table &table)
{
    QStringList actors = firstColumns(table);
    for (const QStringList &line : table) {
        if (line.size() > 1 && !line[1].trimmed().isEmpty())
            m_cast.countRole();
    }
    if (table.size() == 1 && table.first().size() == 1) {
        actors.clear();
        for (const QString &actor : table.first().first().split(u','))
            if (!actor.trimmed().isEmpty())
                actors << actor.section(u'(', 0, 0).trimmed();
    }
    for (int star = 0; star < 4 && star < actors.size(); ++star)
        row.values[MovieColumn::StarOne + star] = actors[star];
    m_cast.countActors(actors.size());
}

void GcstarReader::setJoined(MovieRow &row, int column, const QStringList &values, const char *kind)
{
    if (values.size() > 1)
        ++m_joined[QLatin1String(kind)];
    row.values[column] = values.join(QStringLiteral("; "));
}

QStringList GcstarReader::notes() const
{
    QStringList notes = m_cast.notes();
    for (auto it = m_joined.cbegin(); it != m_joined.cend(); ++it)
        notes << QStringLiteral("several %1 joined with \"; \" in %2")
                     .arg(it.key())
                     .arg(movieCount(it.value()));
    return notes;
}

} // namespace

std::unique_ptr<MovieReader> OpenGcstarReader(const QString &path)
{
    return std::make_unique<GcstarReader>(path);
}
