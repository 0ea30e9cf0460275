#include "ConvertedCatalog.h"

#include "CatalogSchema.h"
#include "MovieInsert.h"
#include "TextFold.h"

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

QString lastError(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

std::optional<QString> insertRows(sqlite3 *db, const QList<AccessRow> &rows)
{
    MovieInsert insert(db);
    for (const AccessRow &row : rows) {
        if (std::optional<QString> failure = insert.insert(row))
            return failure;
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
    if (TextFold::install(db.get()) != SQLITE_OK)
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
