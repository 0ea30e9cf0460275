#pragma once

// Makes catalogs for tests: a folder with movies.mdb made from the catalog's schema and the
// given movies, and optionally a settings file.
#include "CatalogSchema.h"

#include <QCryptographicHash>
#include <QFile>
#include <QString>
#include <QVariantMap>

#include <sqlite3.h>

#include <stdexcept>

namespace TestCatalog {

inline void exec(sqlite3 *db, const QString &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "sqlite error";
        sqlite3_free(error);
        throw std::runtime_error(message);
    }
}

// Adds movies (column name -> value; a null QVariant stores NULL) to the catalog at `path`.
inline void insert(const QString &path, const QList<QVariantMap> &movies)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    exec(db, QStringLiteral("BEGIN"));
    for (const QVariantMap &movie : movies) {
        const QStringList columns = movie.keys();
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        const QByteArray sql = QStringLiteral("INSERT INTO Movies (%1) VALUES (%2)")
                                   .arg(columns.join(','), marks.join(','))
                                   .toUtf8();
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr);
        for (int i = 0; i < columns.size(); ++i) {
            const QVariant value = movie.value(columns[i]);
            if (value.isNull())
                sqlite3_bind_null(statement, i + 1);
            else if (value.typeId() == QMetaType::Double)
                sqlite3_bind_double(statement, i + 1, value.toDouble());
            else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong)
                sqlite3_bind_int64(statement, i + 1, value.toLongLong());
            else {
                const QByteArray text = value.toString().toUtf8();
                sqlite3_bind_text(statement, i + 1, text.constData(), int(text.size()),
                                  SQLITE_TRANSIENT);
            }
        }
        if (sqlite3_step(statement) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db));
        sqlite3_finalize(statement);
    }
    exec(db, QStringLiteral("COMMIT"));
    sqlite3_close(db);
}

// A catalog file at `path` made from the schema, holding `movies`.
inline void create(const QString &path, const QList<QVariantMap> &movies = {})
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot create catalog");
    exec(db, QString::fromUtf8(kCatalogSchemaSql));
    sqlite3_close(db);
    insert(path, movies);
}

// Movies with the given titles and nothing else.
inline QList<QVariantMap> titled(const QStringList &titles)
{
    QList<QVariantMap> movies;
    for (const QString &title : titles)
        movies.append({{QStringLiteral("Title"), title}});
    return movies;
}

// A single value from the catalog, or a null QVariant.
inline QVariant scalar(const QString &path, const QString &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *statement = nullptr;
    QVariant result;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        switch (sqlite3_column_type(statement, 0)) {
        case SQLITE_NULL: break;
        case SQLITE_INTEGER: result = qint64(sqlite3_column_int64(statement, 0)); break;
        case SQLITE_FLOAT: result = sqlite3_column_double(statement, 0); break;
        default:
            result = QString::fromUtf8(
                reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

inline QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write test file");
    file.write(bytes);
}

} // namespace TestCatalog
