#include "ConvertedCatalog.h"

#include "AccessColumns.h"
#include "CatalogNumber.h"
#include "CatalogSchema.h"

#include <QFile>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace
{

struct DatabaseCloser {
    void operator()(sqlite3 *db) const { sqlite3_close(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// The catalog's text columns are declared COLLATE NOCASE, which the program gives a meaning
// for every letter, not only A to Z. A connection touching the table defines it the same way.
int compareUpperCase(void *, int leftLength, const void *left, int rightLength, const void *right)
{
    const QString a = QString::fromUtf8(static_cast<const char *>(left), leftLength).toUpper();
    const QString b = QString::fromUtf8(static_cast<const char *>(right), rightLength).toUpper();
    return a.compare(b);
}

QString lastError(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

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

int bindValue(sqlite3_stmt *statement, int slot, std::string_view column, const AccessValue &value)
{
    if (!value)
        return sqlite3_bind_null(statement, slot);
    if (!AccessColumns::isNumericColumn(column)) {
        const QByteArray text = value->toUtf8();
        return sqlite3_bind_text(statement, slot, text.constData(), int(text.size()),
                                 SQLITE_TRANSIENT);
    }
    const CatalogNumber number = CatalogNumberFromText(*value);
    if (const auto *whole = std::get_if<qint64>(&number))
        return sqlite3_bind_int64(statement, slot, *whole);
    if (const auto *real = std::get_if<double>(&number))
        return sqlite3_bind_double(statement, slot, *real);
    if (const auto *text = std::get_if<QString>(&number)) {
        const QByteArray utf8 = text->toUtf8();
        return sqlite3_bind_text(statement, slot, utf8.constData(), int(utf8.size()),
                                 SQLITE_TRANSIENT);
    }
    return sqlite3_bind_null(statement, slot);
}

std::optional<QString> insertRows(sqlite3 *db, const QList<AccessRow> &rows)
{
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, insertStatement().constData(), -1, &raw, nullptr) != SQLITE_OK)
        return lastError(db);
    Statement insert(raw);
    for (const AccessRow &row : rows) {
        if (row.size() != qsizetype(AccessColumns::kMovieColumns.size()))
            return QStringLiteral("a row has %1 values").arg(row.size());
        for (int i = 0; i < row.size(); ++i) {
            if (bindValue(insert.get(), i + 1, AccessColumns::kMovieColumns[std::size_t(i)],
                          row[i]) != SQLITE_OK)
                return lastError(db);
        }
        if (sqlite3_step(insert.get()) != SQLITE_DONE)
            return lastError(db);
        sqlite3_reset(insert.get());
    }
    return std::nullopt;
}

std::optional<QString> singleText(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK)
        return std::nullopt;
    Statement query(raw);
    if (sqlite3_step(query.get()) != SQLITE_ROW)
        return std::nullopt;
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(query.get(), 0)));
}

std::optional<QString> check(sqlite3 *db, qsizetype expectedRows)
{
    const std::optional<QString> count = singleText(db, "SELECT count(*) FROM Movies");
    if (!count || count->toLongLong() != expectedRows)
        return QStringLiteral("it holds %1 movies instead of %2")
            .arg(count.value_or(QStringLiteral("no")))
            .arg(expectedRows);
    const std::optional<QString> integrity = singleText(db, "PRAGMA integrity_check");
    if (integrity != QStringLiteral("ok"))
        return QStringLiteral("SQLite's integrity check says: %1")
            .arg(integrity.value_or(lastError(db)));
    return std::nullopt;
}

std::optional<QString> exec(sqlite3 *db, const char *sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return std::nullopt;
    const QString reason = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    return reason;
}

} // namespace

std::optional<CatalogWriteFailure> WriteConvertedCatalog(const QString &path,
                                                         const QList<AccessRow> &rows)
{
    if (QFile::exists(path))
        return CatalogWriteFailure{false, QStringLiteral("%1 is in the way").arg(path)};
    sqlite3 *raw = nullptr;
    const int opened = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Database db(raw);
    if (opened != SQLITE_OK) {
        // The system's reason ("Permission denied") says more than SQLite's own.
        const int systemError = raw ? sqlite3_system_errno(raw) : ENOMEM;
        return CatalogWriteFailure{false, systemError
                                              ? QString::fromLocal8Bit(std::strerror(systemError))
                                              : lastError(raw)};
    }
    if (sqlite3_create_collation_v2(db.get(), "NOCASE", SQLITE_UTF8, nullptr, compareUpperCase,
                                    nullptr) != SQLITE_OK)
        return CatalogWriteFailure{false, lastError(db.get())};

    std::optional<QString> failure = exec(db.get(), "BEGIN");
    if (!failure)
        failure = exec(db.get(), kCatalogSchemaSql);
    if (!failure)
        failure = insertRows(db.get(), rows);
    if (!failure)
        failure = exec(db.get(), "COMMIT");
    if (failure)
        return CatalogWriteFailure{false, *failure};
    if (std::optional<QString> problem = check(db.get(), rows.size()))
        return CatalogWriteFailure{true, *problem};
    if (sqlite3_close(db.release()) != SQLITE_OK)
        return CatalogWriteFailure{false, QStringLiteral("the file could not be closed")};
    return std::nullopt;
}
