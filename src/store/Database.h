#pragma once

#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

class Database;

// A prepared statement. Values are bound, never pasted into the SQL text.
class Statement
{
  public:
    Statement(Database &db, const QString &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void bind(int index, const QVariant &value); // 1-based; a null QVariant binds NULL
    bool step();                                 // true while a row is ready; throws on error
    void reset();                                // ready to run again; bindings are kept
    // The same without throwing, for callers that word a failure themselves: SQLite's result
    // code, which Database::failed() tells apart and Database::check() words.
    int tryBind(int index, const QVariant &value);
    int tryStep();

    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int column) const;
    QString text(int column) const;
    qint64 integer(int column) const;
    double real(int column) const;
    QVariant value(int column) const; // by the stored value's own type

  private:
    Database &m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

// Rolls back unless committed: a write either lands whole or not at all.
class Transaction
{
  public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

  private:
    Database &m_db;
    bool m_done = false;
};

// One open connection to a catalog file. Opening checks that the file is a catalog:
// it never creates, changes or replaces a file, and says plainly what is wrong with one
// that is not a catalog (StoreError).
class Database
{
  public:
    static std::unique_ptr<Database> open(const QString &path);
    // Another program's SQLite file, opened read-only and without the catalog's checks, to
    // read its tables. Throws StoreError when it is no SQLite file or cannot be opened.
    static std::unique_ptr<Database> openForeign(const QString &path);
    // A new SQLite file at `path`, which must not exist yet, for a catalog the caller builds
    // (no catalog checks). Nothing when it cannot be made; `why` then says why in plain
    // words: the system's reason ("Permission denied") where there is one, else SQLite's.
    static std::unique_ptr<Database> create(const QString &path, QString &why);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    void exec(const QString &sql);
    // Runs `sql` without throwing: nothing on success, else SQLite's message.
    std::optional<QString> tryExec(const QString &sql);
    // Closes the connection now; false when SQLite could not close the file cleanly. The
    // object then holds no connection and may only be destroyed.
    bool close();
    QString lastErrorText() const;
    qint64 lastInsertRowId() const;
    const QString &path() const { return m_path; }
    sqlite3 *handle() const { return m_db; }

    // Whether an SQLite result code is a failure (neither OK nor ROW nor DONE).
    static bool failed(int rc);
    // SQLite's code for a call the program got wrong, for callers that refuse one themselves.
    static const int kMisuse;
    // Throws StoreError for an SQLite result code that is not OK/ROW/DONE.
    void check(int rc, const QString &what) const;
    // What went wrong, in plain words, for an SQLite result code just returned.
    QString reasonFor(int rc) const;

    // How long a write waits for another program's lock before it gives up.
    static constexpr int kBusyTimeoutMs = 2000;

  private:
    Database(sqlite3 *db, const QString &path);
    void validateCatalog();

    sqlite3 *m_db;
    QString m_path;
};
