#include "QueryBuilder.h"

#include "Money.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace
{

const QString kPrefix = QStringLiteral("SELECT * FROM [Movies] WHERE ");

bool isFilled(const QString &text)
{
    return !text.isEmpty();
}

bool isChosen(const QString &listText)
{
    return !listText.isEmpty() && listText != QLatin1String("ANY");
}

// The year lists hold years only, but the shown text of a combo box is still text: anything
// other than plain digits stays out of the statement, as if no year had been chosen.
bool isYear(const QString &text)
{
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString likeClause(const QString &column, const QString &entry)
{
    return QStringLiteral("[%1] LIKE %2").arg(column, QuoteSqlText(ConvertWildcards(entry)));
}

QString equalsClause(const QString &column, const QString &entry)
{
    return QStringLiteral("[%1] = %2").arg(column, QuoteSqlText(entry));
}

void addLike(QStringList &clauses, const QString &column, const QString &entry)
{
    if (isFilled(entry))
        clauses << likeClause(column, entry);
}

void addEquals(QStringList &clauses, const QString &column, const QString &entry)
{
    if (isChosen(entry))
        clauses << equalsClause(column, entry);
}

void addYears(QStringList &clauses, const SearchEntries &entries)
{
    if (isYear(entries.copyrightFrom))
        clauses << QStringLiteral("[Copyright] >= ") + entries.copyrightFrom;
    if (isYear(entries.copyrightTo))
        clauses << QStringLiteral("[Copyright] <= ") + entries.copyrightTo;
}

// False when both bounds are filled and one of them is not an amount.
bool addValues(QStringList &clauses, const SearchEntries &entries, const QLocale &locale)
{
    if (!isFilled(entries.valueFrom) || !isFilled(entries.valueTo))
        return true;
    const std::optional<Money::Units> from = Money::parse(entries.valueFrom, locale);
    const std::optional<Money::Units> to = Money::parse(entries.valueTo, locale);
    if (!from || !to)
        return false;
    clauses << QStringLiteral("[Value] >= ") + Money::formatPlain(*from)
            << QStringLiteral("[Value] <= ") + Money::formatPlain(*to);
    return true;
}

// A star name may stand in any of the four star columns.
QString starGroup(const QString &name)
{
    QStringList columns;
    for (const char *column : {"StarOne", "StarTwo", "StarThree", "StarFour"})
        columns << likeClause(QString::fromLatin1(column), name);
    return u'(' + columns.join(QLatin1String(" OR ")) + u')';
}

// The star groups stand together in one bracket so that the ANY/ALL joiner between them never
// binds to a neighbouring clause.
void addStars(QStringList &clauses, const SearchEntries &entries)
{
    QStringList groups;
    for (const QString *name :
         {&entries.starOne, &entries.starTwo, &entries.starThree, &entries.starFour}) {
        if (isFilled(*name))
            groups << starGroup(*name);
    }
    const QLatin1String joiner(entries.allStars ? " AND " : " OR ");
    if (groups.size() == 1)
        clauses << groups.front();
    else if (groups.size() > 1)
        clauses << u'(' + groups.join(joiner) + u')';
}

} // namespace

SearchStatement BuildSearchStatement(const SearchEntries &entries, const QLocale &locale)
{
    QStringList clauses;
    addLike(clauses, QStringLiteral("Title"), entries.title);
    addEquals(clauses, QStringLiteral("Category"), entries.category);
    addEquals(clauses, QStringLiteral("Rating"), entries.rating);
    addEquals(clauses, QStringLiteral("Format"), entries.format);
    addYears(clauses, entries);
    if (!addValues(clauses, entries, locale))
        return {SearchStatement::Outcome::BadAmount, QString()};
    addLike(clauses, QStringLiteral("Condition"), entries.condition);
    addStars(clauses, entries);
    addLike(clauses, QStringLiteral("Producer"), entries.producer);
    addLike(clauses, QStringLiteral("Director"), entries.director);
    if (clauses.isEmpty())
        return {SearchStatement::Outcome::NoCriteria, QString()};
    return {SearchStatement::Outcome::Statement, kPrefix + clauses.join(QLatin1String(" AND "))};
}

QString ConvertWildcards(const QString &text)
{
    QString converted = text;
    converted.replace(u'*', u'%');
    return converted;
}

QString DropFirstChar(const QString &text)
{
    return text.mid(1);
}

QString QuoteSqlText(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', QLatin1String("''"));
    // SQLite reads statement text only up to a NUL: a NUL goes in as char(0) instead.
    quoted.replace(QChar(0), QLatin1String("'||char(0)||'"));
    return u'\'' + quoted + u'\'';
}
