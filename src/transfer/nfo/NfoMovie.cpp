#include "NfoMovie.h"

#include "ReaderLimits.h"
#include "XmlInput.h"

#include <QRegularExpression>

#include <algorithm>

namespace
{

// A value of a list element without the separator some programs leave after it
// ("Zack Snyder,").
QString listed(const QString &text)
{
    QString value = text.trimmed();
    while (value.endsWith(u',') || value.endsWith(u';') || value.endsWith(u'/'))
        value = value.chopped(1).trimmed();
    return value;
}

} // namespace

struct NfoMovie::Fields {
    QString title, originalTitle, year, premiered, mpaa, runtime, plot, outline;
    QStringList directors, genres;
    QList<std::pair<qint64, QString>> actors; // Kodi's order, or the place in the file after all
};

MovieRow NfoMovie::read(XmlInput &xml, const QString &where)
{
    Fields fields;
    while (xml.nextChild())
        readField(xml, fields);
    return rowOf(fields, where);
}

void NfoMovie::readField(XmlInput &xml, Fields &fields)
{
    const QStringView name = xml.name();
    QString *single = name == u"title"           ? &fields.title
                      : name == u"originaltitle" ? &fields.originalTitle
                      : name == u"year"          ? &fields.year
                      : name == u"premiered"     ? &fields.premiered
                      : name == u"mpaa"          ? &fields.mpaa
                      : name == u"runtime"       ? &fields.runtime
                      : name == u"plot"          ? &fields.plot
                      : name == u"outline"       ? &fields.outline
                                                 : nullptr;
    if (fields.directors.size() + fields.genres.size() > ReaderLimits::kMaxListedPerMovie)
        xml.fail(QStringLiteral("has more than %1 directors and genres in one movie, beyond the "
                                "limit.")
                     .arg(ReaderLimits::kMaxListedPerMovie));
    if (single) {
        *single = xml.readText().trimmed();
    } else if (name == u"director") {
        fields.directors << listed(xml.readText());
    } else if (name == u"genre") {
        fields.genres << listed(xml.readText());
    } else if (name == u"actor") {
        if (fields.actors.size() == ReaderLimits::kMaxListedPerMovie)
            xml.fail(QStringLiteral("has more than %1 actors in one movie, beyond the limit.")
                         .arg(ReaderLimits::kMaxListedPerMovie));
        readActor(xml, fields);
    } else {
        markUnused(name.toString());
        xml.skipElement();
    }
}

void NfoMovie::readActor(XmlInput &xml, Fields &fields)
{
    QString actor;
    qint64 order = (qint64(1) << 32) + fields.actors.size();
    while (xml.nextChild()) {
        if (xml.name() == u"name") {
            actor = xml.readText().trimmed();
        } else if (xml.name() == u"order") {
            bool ok = false;
            const int given = xml.readText().trimmed().toInt(&ok);
            if (ok && given >= 0)
                order = given;
        } else if (xml.name() == u"role") {
            if (!xml.readText().trimmed().isEmpty())
                m_cast.countRole();
        } else {
            xml.skipElement(); // thumb, profile
        }
    }
    if (!actor.isEmpty())
        fields.actors.append({order, actor});
}

void NfoMovie::markUnused(const QString &name)
{
    if (!m_unusedSeen.contains(name) && m_unused.size() < ReaderLimits::kMaxUnusedNames)
        m_unusedSeen.insert(name), m_unused << name;
}

namespace
{

std::optional<QString> known(const QString &value)
{
    return value.isEmpty() || value == u"0" ? std::nullopt : std::optional<QString>(value);
}

} // namespace

MovieRow NfoMovie::rowOf(const Fields &fields, const QString &where)
{
    using namespace MovieColumn;
    static const QRegularExpression date(QStringLiteral("^(\\d{4})-\\d{1,2}-\\d{1,2}"));
    MovieRow row;
    row.where = where;
    row.values[Title] = fields.title.isEmpty() ? fields.originalTitle : fields.title;
    row.values[Copyright] = known(fields.year);
    const auto premiered = date.match(fields.premiered);
    if (!row.values[Copyright] && premiered.hasMatch())
        row.values[Copyright] = premiered.captured(1);
    row.values[Rating] = known(fields.mpaa);
    row.values[Minutes] = known(fields.runtime);
    row.values[Comments] = known(fields.plot.isEmpty() ? fields.outline : fields.plot);
    setJoined(row, Director, fields.directors);
    setJoined(row, Category, fields.genres);
    QList<std::pair<qint64, QString>> actors = fields.actors;
    std::stable_sort(actors.begin(), actors.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (qsizetype i = 0; i < actors.size() && i < 4; ++i)
        row.values[StarOne + i] = actors[i].second;
    m_cast.countActors(fields.actors.size());
    return row;
}

void NfoMovie::setJoined(MovieRow &row, int column, const QStringList &values)
{
    QStringList given = values;
    given.removeAll(QString());
    if (given.size() > 1)
        ++m_joined[column];
    if (!given.isEmpty())
        row.values[column] = given.join(QStringLiteral("; "));
}

QStringList NfoMovie::notes() const
{
    QStringList notes = m_cast.notes();
    for (auto it = m_joined.cbegin(); it != m_joined.cend(); ++it)
        notes << QStringLiteral("several %1 joined with \"; \" in %2")
                     .arg(it.key() == MovieColumn::Director ? "directors" : "genres",
                          movieCount(it.value()));
    return notes;
}
