// Search entries of any content: the statement built is always one statement over Movies that
// SQLite accepts, so no entry can change what it does.
#include "CatalogSchema.h"
#include "QueryBuilder.h"

#include <QString>

#include <sqlite3.h>

#include <cstdint>
#include <cstdlib>

namespace
{
sqlite3 *catalog()
{
    static sqlite3 *db = [] {
        sqlite3 *handle = nullptr;
        sqlite3_open(":memory:", &handle);
        if (sqlite3_exec(handle, kCatalogSchemaSql, nullptr, nullptr, nullptr) != SQLITE_OK)
            std::abort();
        return handle;
    }();
    return db;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A NUL inside an entry still ends the statement text early; the hostile input test
    // tracks that, so it is left out here to let the fuzzer look further.
    QString input = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    input.replace(QChar(0), QLatin1Char(' '));
    const QStringList parts = input.split(QLatin1Char('\x1e'));
    SearchEntries entries;
    QString *fields[] = {&entries.title,     &entries.category,      &entries.rating,
                         &entries.format,    &entries.copyrightFrom, &entries.copyrightTo,
                         &entries.valueFrom, &entries.valueTo,       &entries.condition,
                         &entries.starOne,   &entries.starTwo,       &entries.starThree,
                         &entries.starFour,  &entries.producer,      &entries.director};
    for (qsizetype i = 0; i < parts.size() && i < qsizetype(std::size(fields)); ++i)
        *fields[i] = parts[i];
    entries.allStars = size % 2;
    const SearchStatement search = BuildSearchStatement(entries);
    if (search.outcome != SearchStatement::Outcome::Statement)
        return search.sql.isEmpty() ? 0 : (std::abort(), 0);
    const QByteArray sql = search.sql.toUtf8();
    sqlite3_stmt *statement = nullptr;
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(catalog(), sql.constData(), int(sql.size()), &statement, &tail) !=
            SQLITE_OK ||
        tail != sql.constData() + sql.size() || !sqlite3_stmt_readonly(statement))
        std::abort();
    sqlite3_finalize(statement);
    return 0;
}
