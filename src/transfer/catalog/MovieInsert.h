#pragma once

#include "Database.h"

#include <QString>

#include <optional>
#include <span>

// Adds movies to the Movies table of an open connection through one prepared statement. The
// values are the catalog's 17 columns besides ID in AccessColumns::kMovieColumns order: text
// columns take the text as it is (NULL stays NULL), numeric columns CatalogNumberFromText of
// it. IDs are SQLite's: the next free one for each row.
class MovieInsert
{
  public:
    // Throws StoreError when the statement cannot be prepared.
    explicit MovieInsert(Database &db);

    // Nothing on success, else SQLite's reason; the row is then not in the table.
    std::optional<QString> insert(std::span<const std::optional<QString>> values);
    // The SQLite result code of the last insert, for Database::check(): no failure when it
    // succeeded.
    int lastCode() const { return m_lastCode; }

  private:
    Database &m_db;
    Statement m_statement;
    int m_lastCode = 0;
};
