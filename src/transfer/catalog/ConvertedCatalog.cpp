#include "ConvertedCatalog.h"

#include "CatalogSchema.h"
#include "Database.h"
#include "MovieInsert.h"
#include "StoreError.h"

#include <QFile>

#include <memory>

namespace
{

std::optional<QString> insertRows(Database &db, const QList<AccessRow> &rows)
{
    try {
        MovieInsert insert(db);
        for (const AccessRow &row : rows) {
            if (std::optional<QString> failure = insert.insert(row))
                return failure;
        }
    } catch (const StoreError &) {
        return db.lastErrorText();
    }
    return std::nullopt;
}

std::optional<QString> singleText(Database &db, const QString &sql)
{
    try {
        Statement query(db, sql);
        if (!query.step())
            return std::nullopt;
        return query.text(0);
    } catch (const StoreError &) {
        return std::nullopt;
    }
}

std::optional<QString> check(Database &db, qsizetype expectedRows)
{
    const std::optional<QString> count =
        singleText(db, QStringLiteral("SELECT count(*) FROM Movies"));
    if (!count || count->toLongLong() != expectedRows)
        return QStringLiteral("it holds %1 movies instead of %2")
            .arg(count.value_or(QStringLiteral("no")))
            .arg(expectedRows);
    const std::optional<QString> integrity =
        singleText(db, QStringLiteral("PRAGMA integrity_check"));
    if (integrity != QStringLiteral("ok"))
        return QStringLiteral("SQLite's integrity check says: %1")
            .arg(integrity.value_or(db.lastErrorText()));
    return std::nullopt;
}

} // namespace

std::optional<CatalogWriteFailure> WriteConvertedCatalog(const QString &path,
                                                         const QList<AccessRow> &rows)
{
    if (QFile::exists(path))
        return CatalogWriteFailure{false, QStringLiteral("%1 is in the way").arg(path)};
    QString why;
    const std::unique_ptr<Database> db = Database::create(path, why);
    if (!db)
        return CatalogWriteFailure{false, why};

    std::optional<QString> failure = db->tryExec(QStringLiteral("BEGIN"));
    if (!failure)
        failure = db->tryExec(QString::fromUtf8(kCatalogSchemaSql));
    if (!failure)
        failure = insertRows(*db, rows);
    if (!failure)
        failure = db->tryExec(QStringLiteral("COMMIT"));
    if (failure)
        return CatalogWriteFailure{false, *failure};
    if (std::optional<QString> problem = check(*db, rows.size()))
        return CatalogWriteFailure{true, *problem};
    if (!db->close())
        return CatalogWriteFailure{false, QStringLiteral("the file could not be closed")};
    return std::nullopt;
}
