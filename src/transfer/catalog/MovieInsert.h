#pragma once

#include <QString>

#include <optional>
#include <span>

struct sqlite3;
struct sqlite3_stmt;

// Adds movies to the Movies table of an open connection through one prepared statement. The
// values are the catalog's 17 columns besides ID in AccessColumns::kMovieColumns order: text
// columns take the text as it is (NULL stays NULL), numeric columns CatalogNumberFromText of
// it. IDs are SQLite's: the next free one for each row.
class MovieInsert
{
  public:
    explicit MovieInsert(sqlite3 *db);
    ~MovieInsert();
    MovieInsert(const MovieInsert &) = delete;
    MovieInsert &operator=(const MovieInsert &) = delete;

    // Nothing on success, else SQLite's reason; the row is then not in the table.
    std::optional<QString> insert(std::span<const std::optional<QString>> values);
    // The SQLite result code of the last insert: SQLITE_OK when it succeeded.
    int lastCode() const { return m_lastCode; }

  private:
    sqlite3 *m_db;
    sqlite3_stmt *m_statement = nullptr;
    int m_lastCode = 0;
};
