#include "ForeignReader.h"
#include "XmlInput.h"

#include <QRegularExpression>

void ForeignMovie::set(int column, const QString &text)
{
    const QString value = text.trimmed();
    if (!value.isEmpty())
        row.values[column] = value;
}

void ForeignMovie::keep(const QString &label, const QString &text)
{
    const QString value = text.trimmed();
    if (!value.isEmpty())
        kept << (label.isEmpty() ? value : label + QStringLiteral(": ") + value);
}

MovieRow ForeignMovie::finished() const
{
    MovieRow done = row;
    if (kept.isEmpty())
        return done;
    QStringList parts = kept;
    if (const auto &own = row.values[MovieColumn::Comments])
        parts.prepend(*own);
    done.values[MovieColumn::Comments] = parts.join(u'\n');
    return done;
}

void ForeignReader::setJoined(ForeignMovie &movie, int column, QStringList values, const char *kind)
{
    for (QString &value : values)
        value = value.trimmed();
    values.removeAll(QString());
    values.removeDuplicates();
    if (values.size() > 1)
        ++m_joined[QLatin1String(kind)];
    movie.set(column, values.join(QStringLiteral("; ")));
}

void ForeignReader::setStars(ForeignMovie &movie, QStringList actors)
{
    for (QString &actor : actors)
        actor = actor.trimmed();
    actors.removeAll(QString());
    for (int star = 0; star < 4 && star < actors.size(); ++star)
        movie.row.values[MovieColumn::StarOne + star] = actors[star];
    m_cast.countActors(actors.size());
}

void ForeignReader::markUnused(const QString &field)
{
    if (!m_unusedSeen.contains(field))
        m_unusedSeen.insert(field), m_unused << field;
}

void ForeignReader::skipItem(const QString &kinds)
{
    ++m_skipped[kinds];
}

namespace
{

// "1 book", "16 books": the kinds are kept in the plural.
QString countedKind(int count, const QString &kinds)
{
    if (count != 1)
        return QStringLiteral("%1 %2").arg(count).arg(kinds);
    if (kinds == u"items of other kinds")
        return QStringLiteral("1 item of another kind");
    return QStringLiteral("1 %1").arg(kinds.endsWith(u's') ? kinds.chopped(1) : kinds);
}

// "16 books and 2 games"
QString listed(const QMap<QString, int> &counts)
{
    QStringList parts;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        parts << countedKind(it.value(), it.key());
    if (parts.size() < 2)
        return parts.join(QString());
    return parts.mid(0, parts.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           parts.last();
}

} // namespace

void ForeignReader::requireMovies(const QString &path, int movies) const
{
    if (movies == 0 && !m_skipped.isEmpty())
        throw TransferError{QStringLiteral("The file %1 holds %2, no movies: there is nothing to "
                                           "import.")
                                .arg(path, listed(m_skipped))};
}

QStringList ForeignReader::notes() const
{
    QStringList notes = m_cast.notes();
    for (auto it = m_joined.cbegin(); it != m_joined.cend(); ++it)
        notes << QStringLiteral("several %1 joined with \"; \" in %2")
                     .arg(it.key())
                     .arg(movieCount(it.value()));
    if (!m_skipped.isEmpty())
        notes << QStringLiteral("%1 skipped: only movies are imported").arg(listed(m_skipped));
    return notes;
}

QStringList nonBlankLines(const QString &text)
{
    QStringList lines;
    for (const QString &line : text.split(QRegularExpression(QStringLiteral("[\r\n]+"))))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    return lines;
}

QString yearOfDate(const QString &date)
{
    static const QRegularExpression dated(
        QStringLiteral("^\\s*(?:(\\d{4})-\\d{1,2}-\\d{1,2}(?:[T "
                       "][0-9:.]+Z?)?|\\d{1,2}[-/.]\\d{1,2}[-/.](\\d{4}))\\s*$"));
    const auto match = dated.match(date);
    return match.hasMatch() ? match.captured(1) + match.captured(2) : date;
}
