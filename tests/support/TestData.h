#pragma once

// What the tests share that needs no window: catalogs made from the schema, data files and
// fixtures, another program's connection, and a data control over fake bound fields.
#include "BoundField.h"
#include "DataControl.h"

#include <QFileInfo>
#include <QTest>
#include <QVariantMap>

#include <map>
#include <memory>
#include <optional>

struct sqlite3;

// Fails the test, naming the file, when a file it needs is missing or unreadable.
#define REQUIRE_FILE(path)                                                                         \
    do {                                                                                           \
        if (!TestSupport::fileReady(path, __FILE__, __LINE__))                                     \
            return;                                                                                \
    } while (false)

namespace TestSupport
{

QString dataPath(const QString &name); // a file under tests/data
// Whether the file can be read; when not, the test fails with a message naming it.
bool fileReady(const QString &path, const char *file, int line);
QByteArray readFile(const QString &path); // null when it cannot be read
bool writeFile(const QString &path, const QByteArray &bytes);
bool matches(const QString &text, const QString &pattern); // each * of it standing for any text
// \n \r \t \\ \0 and \xHH undone.
QByteArray unescape(const QByteArray &text);
// A named row per line of the tab-separated file `name` under tests/data (lines starting with
// # and empty lines left out): the first cell names the row, the others, unescaped, fill
// `columns` in order, as QString, or as QByteArray for a column whose name ends in "Bytes".
// A header row (first cell "name") must name exactly `columns`.
// A missing file fails the test, naming it. `newColumns` false: the columns are there already.
void addRows(const QString &name, const QStringList &columns, bool newColumns = true);

// `columns`, then the movie columns Title to Comments as the catalog names them: a table row
// holding a movie. The row's movie, a cell a column: an empty cell NULL, "<empty>" an empty text.
QStringList withMovieColumns(QStringList columns);
QList<std::optional<QString>> expectedMovie();

// A program's run: its exit status (-1 when it crashed or hung), what it wrote out and as errors.
struct Run {
    int code = -1;
    QString out, err;
};
// Runs `program` with `arguments`, LC_ALL and LANG set to `locale` when one is given.
Run runProgram(const QString &program, const QStringList &arguments, const QString &locale = {});

// Runs `sql` on the SQLite file at `path` (made when missing); false when it fails.
bool exec(const QString &path, const QByteArray &sql);
// A catalog made from the schema, then `movies` (column -> value; null stores NULL) added.
void createCatalog(const QString &path, const QList<QVariantMap> &movies = {});
void insert(const QString &path, const QList<QVariantMap> &movies);
QList<QVariantMap> titled(const QStringList &titles);
// The first value of the statement's first row; a null QVariant for NULL or no row.
QVariant scalar(const QString &path, const QString &sql);

// Another program's connection to the catalog, running `sql` (a transaction begun, say) and
// holding what that takes until it ends, when it commits.
struct OtherProgram {
    sqlite3 *db = nullptr;
    OtherProgram(const QString &path, const char *sql);
    ~OtherProgram();
};

} // namespace TestSupport

using namespace TestSupport;

// A bound field without a window: what the user "types" is what the data control reads back.
class FakeField : public BoundField
{
  public:
    explicit FakeField(QString column) : m_column(std::move(column)) {}
    QString boundColumn() const override { return m_column; }
    QString text() const override { return m_text; }
    void showValue(const QString &text) override { m_text = text; }
    void type(const QString &text) { m_text = text; }

  private:
    QString m_column;
    QString m_text;
};

// A data control with a fake field bound to every column, over the catalog at `path`.
struct BoundCatalog {
    DataControl data;
    std::map<QString, std::unique_ptr<FakeField>> fields;
    explicit BoundCatalog(const QString &path);
    FakeField &field(const QString &name) { return *fields.at(name); }
    Recordset &rs() { return data.recordset(); }
    QStringList titles();
    bool select(const QString &title); // found from the first row
};
