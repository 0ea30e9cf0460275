#include "MovieInsert.h"

#include "AccessColumns.h"
#include "CatalogNumber.h"

#include <QByteArray>

namespace
{

QByteArray insertStatement()
{
    QByteArray names;
    QByteArray placeholders;
    for (std::size_t i = 0; i < AccessColumns::kMovieColumns.size(); ++i) {
        names += (i ? ", " : "") + QByteArray(AccessColumns::kMovieColumns[i].data());
        placeholders += (i ? ", ?" : "?");
    }
    return "INSERT INTO Movies (" + names + ") VALUES (" + placeholders + ")";
}

QVariant boundValue(std::string_view column, const std::optional<QString> &value)
{
    if (!value)
        return {};
    if (!AccessColumns::isNumericColumn(column))
        return *value;
    const CatalogNumber number = CatalogNumberFromText(*value);
    if (const auto *whole = std::get_if<qint64>(&number))
        return *whole;
    if (const auto *real = std::get_if<double>(&number))
        return *real;
    if (const auto *text = std::get_if<QString>(&number))
        return *text;
    return {};
}

} // namespace

MovieInsert::MovieInsert(Database &db)
    : m_db(db), m_statement(db, QString::fromUtf8(insertStatement()))
{
}

std::optional<QString> MovieInsert::insert(std::span<const std::optional<QString>> values)
{
    m_lastCode = Database::kMisuse;
    if (values.size() != AccessColumns::kMovieColumns.size())
        return QStringLiteral("a row has %1 values").arg(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        m_lastCode =
            m_statement.tryBind(int(i) + 1, boundValue(AccessColumns::kMovieColumns[i], values[i]));
        if (Database::failed(m_lastCode))
            return m_db.lastErrorText();
    }
    m_lastCode = m_statement.tryStep();
    const QString reason = m_db.lastErrorText();
    m_statement.reset();
    if (Database::failed(m_lastCode))
        return reason;
    return std::nullopt;
}
