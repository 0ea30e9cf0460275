#include "GriffithMovie.h"

#include "ReaderLimits.h"
#include "XmlInput.h"

namespace
{

// Griffith's keys and links, which mean nothing outside its own database.
bool isKey(const QString &name)
{
    static const QSet<QString> keys{"movie_id",      "number",     "medium_id",
                                    "collection_id", "volume_id",  "ratio_id",
                                    "vcodec_id",     "poster_md5", "image"};
    return keys.contains(name);
}

} // namespace

MovieRow GriffithMovie::rowOf(const QHash<QString, QString> &fields, const QString &where)
{
    using namespace MovieColumn;
    static const QHash<QString, int> columns{{"title", Title},           {"year", Copyright},
                                             {"classification", Rating}, {"genre", Category},
                                             {"runtime", Minutes},       {"media_name", Format},
                                             {"director", Director}};
    MovieRow row;
    row.where = where;
    QStringList comments;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        const QString value = it.value().trimmed();
        const auto column = columns.constFind(it.key());
        if (value.isEmpty() || isKey(it.key()) || it.key() == u"o_title")
            continue;
        if (column != columns.cend())
            row.values[*column] = value;
        else if (it.key() == u"cast")
            setStars(row, value);
        else if (it.key() != u"plot" && it.key() != u"notes" && !m_unusedSeen.contains(it.key()) &&
                 m_unused.size() < ReaderLimits::kMaxUnusedNames)
            m_unusedSeen.insert(it.key()), m_unused << it.key();
    }
    if (!row.values[Title])
        row.values[Title] = fields.value(QStringLiteral("o_title")).trimmed();
    for (const char *kind : {"plot", "notes"})
        if (const QString text = fields.value(QLatin1String(kind)).trimmed(); !text.isEmpty())
            comments << text;
    if (!comments.isEmpty())
        row.values[Comments] = comments.join(QStringLiteral("\n\n"));
    return row;
}

// A line per actor: "Name" or "Name as Role".
void GriffithMovie::setStars(MovieRow &row, const QString &cast)
{
    int star = 0;
    for (const QString &line : cast.split(u'\n')) {
        const qsizetype as = line.indexOf(QStringLiteral(" as "));
        const QString name = (as < 0 ? line : line.left(as)).trimmed();
        if (name.isEmpty())
            continue;
        if (as >= 0)
            m_cast.countRole();
        if (star < 4)
            row.values[MovieColumn::StarOne + star] = name;
        ++star;
    }
    m_cast.countActors(star);
}

QStringList GriffithMovie::notes() const
{
    return m_cast.notes();
}
