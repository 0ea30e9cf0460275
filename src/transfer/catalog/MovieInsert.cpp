#include "MovieInsert.h"

#include "AccessColumns.h"
#include "CatalogNumber.h"

#include <QByteArray>

#include <sqlite3.h>

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

int bindText(sqlite3_stmt *statement, int slot, const QString &value)
{
    const QByteArray text = value.toUtf8();
    return sqlite3_bind_text(statement, slot, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

int bindValue(sqlite3_stmt *statement, int slot, std::string_view column,
              const std::optional<QString> &value)
{
    if (!value)
        return sqlite3_bind_null(statement, slot);
    if (!AccessColumns::isNumericColumn(column))
        return bindText(statement, slot, *value);
    const CatalogNumber number = CatalogNumberFromText(*value);
    if (const auto *whole = std::get_if<qint64>(&number))
        return sqlite3_bind_int64(statement, slot, *whole);
    if (const auto *real = std::get_if<double>(&number))
        return sqlite3_bind_double(statement, slot, *real);
    if (const auto *text = std::get_if<QString>(&number))
        return bindText(statement, slot, *text);
    return sqlite3_bind_null(statement, slot);
}

} // namespace

MovieInsert::MovieInsert(sqlite3 *db) : m_db(db)
{
    if (sqlite3_prepare_v2(db, insertStatement().constData(), -1, &m_statement, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }
}

MovieInsert::~MovieInsert()
{
    sqlite3_finalize(m_statement);
}

std::optional<QString> MovieInsert::insert(std::span<const std::optional<QString>> values)
{
    m_lastCode = SQLITE_MISUSE;
    if (!m_statement)
        return QString::fromUtf8(sqlite3_errmsg(m_db));
    if (values.size() != AccessColumns::kMovieColumns.size())
        return QStringLiteral("a row has %1 values").arg(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        m_lastCode = bindValue(m_statement, int(i) + 1, AccessColumns::kMovieColumns[i], values[i]);
        if (m_lastCode != SQLITE_OK)
            return QString::fromUtf8(sqlite3_errmsg(m_db));
    }
    m_lastCode = sqlite3_step(m_statement);
    const QString reason = QString::fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_reset(m_statement);
    if (m_lastCode != SQLITE_DONE)
        return reason;
    m_lastCode = SQLITE_OK;
    return std::nullopt;
}
