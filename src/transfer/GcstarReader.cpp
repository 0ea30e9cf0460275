#include "GcstarFormat.h"
#include "XmlInput.h"

#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

namespace {

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

// A year alone, or the year of a date written dd/mm/yyyy or yyyy-mm-dd; anything else as it is.
QString yearOf(const QString &date)
{
    static const QRegularExpression dated(
        QStringLiteral("^\\s*(?:\\d{1,2}[/.]\\d{1,2}[/.](\\d{4})|(\\d{4})(?:-\\d{1,2}-\\d{1,2})?)\\s*$"));
    const auto match = dated.match(date);
    return match.hasMatch() ? match.captured(1) + match.captured(2) : date;
}

class GcstarReader : public MovieReader
{
  public:
    explicit GcstarReader(const QString &path);
    std::optional<MovieRow> next() override;
    QStringList unusedColumns() const override { return m_unused.list(); }
    QStringList notes() const override;
    qint64 bytesRead() const override { return m_file->pos(); }
    qint64 bytesTotal() const override { return m_file->size(); }

  private:
    MovieRow readItem();
    void take(MovieRow &row, const QString &name, const Table &table);
    void setLength(MovieRow &row, const QString &time);
    void setStars(MovieRow &row, const Table &table);
    void setJoined(MovieRow &row, int column, const QStringList &values, const char *kind);

    std::unique_ptr<QFile> m_file;
    XmlInput m_xml;
    int m_items = 0;
    UnusedNames m_unused;
    QMap<QString, int> m_joined;
    int m_actorsLeftOut = 0, m_moviesWithMoreActors = 0;
};

GcstarReader::GcstarReader(const QString &path) : m_file(openInputFile(path)), m_xml(path, m_file.get())
{
    if (!m_xml.nextChild() || m_xml.name() != u"collection")
        m_xml.fail(QStringLiteral("is not a GCstar collection."));
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
    static const QHash<QString, int> simple{{"title", Title},   {"format", Format},
                                             {"place", TapePosition}, {"comment", Comments}};
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
        row.values[Rating] = values.first();
    else if (name == u"date")
        row.values[Copyright] = yearOf(values.first());
    else if (name == u"time")
        setLength(row, values.first());
    else if (name == u"actors")
        setStars(row, table);
    else
        m_unused.add(name);
}

// "102 min", "102", "1h42", "1 h 42 min": the minutes split into Hours and Minutes. Another
// text goes to Minutes as it is, for the import to refuse by name.
void GcstarReader::setLength(MovieRow &row, const QString &time)
{
    static const QRegularExpression minutes(QStringLiteral("^\\s*(\\d{1,9})\\s*(?:mn|mins?|m)?\\.?\\s*$"));
    static const QRegularExpression hours(
        QStringLiteral("^\\s*(\\d{1,7})\\s*h\\s*(?:(\\d{1,2})\\s*(?:mn|mins?|m)?\\.?)?\\s*$"));
    qint64 total = -1;
    if (const auto m = minutes.match(time); m.hasMatch())
        total = m.captured(1).toLongLong();
    else if (const auto h = hours.match(time); h.hasMatch())
        total = h.captured(1).toLongLong() * 60 + h.captured(2).toLongLong();
    row.values[MovieColumn::Hours] = total < 0 ? std::optional<QString>() : QString::number(total / 60);
    row.values[MovieColumn::Minutes] = total < 0 ? time : QString::number(total % 60);
}

// Lines of actor and role; an older file writes "Actor, Actor (role)" as one text.
void GcstarReader::setStars(MovieRow &row, const Table &table)
{
    QStringList actors = firstColumns(table);
    if (table.size() == 1 && table.first().size() == 1) {
        actors.clear();
        for (const QString &actor : table.first().first().split(u','))
            if (!actor.trimmed().isEmpty())
                actors << actor.section(u'(', 0, 0).trimmed();
    }
    for (int star = 0; star < 4 && star < actors.size(); ++star)
        row.values[MovieColumn::StarOne + star] = actors[star];
    if (actors.size() > 4)
        m_actorsLeftOut += int(actors.size()) - 4, ++m_moviesWithMoreActors;
}

void GcstarReader::setJoined(MovieRow &row, int column, const QStringList &values, const char *kind)
{
    if (values.size() > 1)
        ++m_joined[QLatin1String(kind)];
    row.values[column] = values.join(QStringLiteral("; "));
}

QStringList GcstarReader::notes() const
{
    QStringList notes;
    if (m_actorsLeftOut)
        notes << QStringLiteral("%1 beyond the fourth left out in %2")
                     .arg(counted(m_actorsLeftOut, "actor"))
                     .arg(movieCount(m_moviesWithMoreActors));
    for (auto it = m_joined.cbegin(); it != m_joined.cend(); ++it)
        notes << QStringLiteral("several %1 joined with \"; \" in %2").arg(it.key()).arg(movieCount(it.value()));
    return notes;
}

} // namespace

std::unique_ptr<MovieReader> OpenGcstarReader(const QString &path)
{
    return std::make_unique<GcstarReader>(path);
}
