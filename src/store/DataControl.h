#pragma once

#include "BoundField.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class Database;

// The record source that yields every movie in stored order (start-up, Clear). A search's
// statement is this followed by a WHERE clause.
inline constexpr char kAllMovies[] = "SELECT * FROM [Movies]";

// One row of the recordset as the list and the cursor need it; the other columns are read
// from the catalog when the row becomes current.
struct RecordsetRow {
    qint64 rowId = 0;
    QString title; // a NULL title reads as an empty text
};

class DataControl;

// The last change of the rows made by this program's own Update or Delete: one row
// appended, removed or renamed. A list built from the rows of generation `from` can apply it
// instead of being rebuilt to reach generation `to`.
struct RowChange {
    enum class Kind { None, Appended, Removed, Renamed } kind = Kind::None;
    quint64 from = 0;
    quint64 to = 0;
    QString oldTitle; // Removed, Renamed
    QString newTitle; // Appended, Renamed
};

// The rows that the record source yields, in the order the database yields them, with a
// cursor. BOF and EOF are both true when there are no rows.
class Recordset
{
  public:
    bool BOF() const;
    bool EOF_() const; // named with an underscore: EOF is a macro of the C library
    void MoveFirst();
    void MoveNext();
    // The current row's column `name` as text ("" for NULL). Only "Title" is kept in memory.
    QString Fields(const QString &name) const;
    // Moves forward from the current row (included) to the first row whose title is `title`;
    // past the last row (EOF) when there is none. The title is compared as a value, never
    // pasted into a criterion.
    void Find(const QString &title);
    void AddNew();
    // Writes the pending new row or the bound fields' changes to the current row.
    // Throws StoreError (Kind::Input when a field holds a value the column cannot take);
    // then nothing was written and the pending values stay as they are.
    void Update();
    void CancelUpdate();
    // Removes the current row from the catalog. No current row: nothing happens.
    void Delete();
    // Runs the record source again, as Refresh does (the cursor on the first row).
    void Requery();
    // 0: nothing pending; 1: a bound field differs from the stored row; 2: a new row pending.
    int EditMode() const;

    // The rows as of the last query: the list is built from these.
    const std::vector<RecordsetRow> &rows() const;
    int position() const { return m_pos; }
    // Changes whenever the rows (their order, ids or titles) change; equal numbers mean the
    // same rows.
    quint64 generation() const { return m_generation; }
    // How the rows last changed, when by a single row; Kind::None after a query.
    const RowChange &lastChange() const { return m_lastChange; }
    bool hasCurrentRow() const;

  private:
    friend class DataControl;
    explicit Recordset(DataControl &owner) : m_owner(owner) {}
    void load();
    void moveTo(int pos);
    // Records a change our own write made to one row.
    void changed(RowChange change);
    // How many rows hold a title whose upper case is `folded`.
    int foldedTitleUses(const QString &folded) const;

    DataControl &m_owner;
    std::vector<RecordsetRow> m_rows;
    int m_pos = -1;
    bool m_adding = false;
    bool m_stale = true;
    quint64 m_generation = 0;
    quint64 m_issued = 0; // the last generation number given out: each is given once
    RowChange m_lastChange;
    // Title in upper case -> rows holding it, for the rows of generation m_foldedGeneration.
    mutable QHash<QString, int> m_foldedTitles;
    mutable quint64 m_foldedGeneration = 0;
    mutable bool m_folded = false;
    // The whole table's rows while a search shows others: Clear takes them back when the
    // catalog has not changed since (m_wholeDataVersion, and no write of ours).
    std::vector<RecordsetRow> m_wholeRows;
    quint64 m_wholeGeneration = 0;
    qint64 m_wholeDataVersion = -1;
    bool m_wholeKept = false;
};

// Holds the connection to the catalog, the record source, the one recordset over it and the
// fields bound to its current row.
class DataControl
{
  public:
    DataControl();
    ~DataControl();
    DataControl(const DataControl &) = delete;
    DataControl &operator=(const DataControl &) = delete;

    // Opens the catalog at `path`; throws StoreError naming the file and what is wrong.
    void Open(const QString &path);

    QString RecordSource() const { return m_recordSource; }
    void setRecordSource(const QString &sql) { m_recordSource = sql; }
    // Runs the record source again: exactly the rows it yields, the cursor on the first,
    // the bound fields showing it. Throws StoreError; the previous rows then stay.
    void Refresh();
    Recordset &recordset() { return m_recordset; }

    void bind(BoundField *field);
    // True when another row than `rowId` has the title `title`, letters compared without
    // case (full Unicode upper case), over the whole table.
    bool titleTaken(const QString &title, std::optional<qint64> exceptRowId) const;

  private:
    friend class Recordset;
    struct Binding {
        BoundField *field;
        int column;
    };
    void showCurrent();
    void loadCurrent();
    std::vector<Binding> changedBindings() const;
    QVariant storedValueFor(const Binding &binding, const QString &text) const;
    std::vector<RecordsetRow> query() const;
    // Whether the rows in memory are what the record source yields now, so that running it
    // again can be skipped: it was last run as it stands and no other connection has written
    // to the catalog since; our own writes are mirrored in the whole table's rows as they are
    // made, and make any other source's rows out of date.
    bool rowsCurrent() const;
    bool rowsCurrentFor(const QString &source, qint64 version) const;
    qint64 dataVersion() const;
    QString keyedStatement() const;

    std::unique_ptr<Database> m_db;
    QString m_recordSource;
    Recordset m_recordset;
    std::vector<Binding> m_bindings;
    std::vector<QVariant> m_current; // stored values of the current row
    QString m_loadedSource;          // the record source the rows come from
    qint64 m_loadedDataVersion = -1; // the catalog's data version when they were read
};
