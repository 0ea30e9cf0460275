#include "MdbTableReader.h"

#include "ReaderStream.h"
#include "StderrCapture.h"

// glib first: mdbtools.h uses its types inside an extern "C" block, which fails to compile
// under C++ when mdbtools.h is the one to pull glib in.
#include <glib.h>

#include <mdbtools.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

namespace
{

// Row offsets in a data page carry flags in their top bits.
constexpr int kRowOffsetMask = 0x1fff;

struct HandleCloser {
    void operator()(MdbHandle *mdb) const { mdb_close(mdb); }
};
struct TableFreer {
    void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};
using Handle = std::unique_ptr<MdbHandle, HandleCloser>;
using Table = std::unique_ptr<MdbTableDef, TableFreer>;

MdbColumn *columnAt(const MdbTableDef &table, unsigned index)
{
    return static_cast<MdbColumn *>(g_ptr_array_index(table.columns, index));
}

MdbCatalogEntry *findTable(const MdbHandle &mdb, const std::string &name)
{
    for (unsigned i = 0; i < mdb.num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb.catalog, i));
        if (entry->object_type == MDB_TABLE &&
            g_ascii_strcasecmp(entry->object_name, name.c_str()) == 0)
            return entry;
    }
    return nullptr;
}

int findColumn(const MdbTableDef &table, const std::string &name)
{
    for (unsigned i = 0; i < table.num_cols; ++i) {
        if (g_ascii_strcasecmp(columnAt(table, i)->name, name.c_str()) == 0)
            return int(i);
    }
    return -1;
}

// A file cut short mid-page opens fine and then reads as if tables had vanished.
bool endsOnPageBoundary(const std::string &path, const MdbHandle &mdb)
{
    struct stat info {
    };
    return ::stat(path.c_str(), &info) == 0 && info.st_size > 0 &&
           info.st_size % mdb.fmt->pg_size == 0;
}

// libmdb hands a NULL Text or Memo value over as "", the same as a zero-length string; only
// the row's null mask tells them apart. mdb_fetch_row leaves the fetched row's page in pg_buf
// and its number one below cur_row, so the row can be taken apart again for its mask.
// Returns false when the row cannot be found again, leaving `nulls` unset.
bool readNullMask(MdbTableDef &table, std::vector<unsigned char> &nulls)
{
    MdbHandle *mdb = table.entry->mdb;
    int start = 0;
    size_t size = 0;
    if (table.cur_row == 0 || mdb_find_row(mdb, int(table.cur_row) - 1, &start, &size) != 0)
        return false;
    std::vector<MdbField> fields(table.num_cols);
    if (mdb_crack_row(&table, start & kRowOffsetMask, size, fields.data()) < 0)
        return false;
    nulls.assign(table.num_cols, 0);
    for (const MdbField &field : fields) {
        if (field.colnum >= 0 && unsigned(field.colnum) < table.num_cols)
            nulls[unsigned(field.colnum)] = field.is_null;
    }
    return true;
}

struct Bound {
    std::vector<char> text = std::vector<char>(ReaderStream::kBindSize);
    int length = 0;
};

void writeField(std::FILE *out, const MdbColumn &column, const Bound &bound, bool maskSaysNull)
{
    // Yes/No keeps its value in the null mask and is never NULL; a fixed-size column is
    // NULL when libmdb gives it no text (a number always has digits); a Text or Memo value
    // is NULL when the mask says so and libmdb agrees by giving no text.
    const bool isNull =
        column.col_type != MDB_BOOL && bound.length == 0 && (column.is_fixed || maskSaysNull);
    if (isNull) {
        std::fputc(ReaderStream::kNull, out);
        return;
    }
    const std::size_t length = std::strlen(bound.text.data());
    // libmdb stops converting when the buffer is full, possibly a few bytes early so as not
    // to split a character; a value that close to the end may have lost its tail.
    const bool maybeCut = length + 8 >= ReaderStream::kBindSize;
    std::fprintf(out, "%c%zu:", maybeCut ? ReaderStream::kMaybeCut : ReaderStream::kValue, length);
    std::fwrite(bound.text.data(), 1, length, out);
}

} // namespace

MdbTableReader::MdbTableReader(std::FILE *out, const StderrCapture &diagnostics)
    : out_(out), diagnostics_(diagnostics)
{
}

int MdbTableReader::fail(int code, const std::string &detail, const std::string &explanation)
{
    std::fprintf(out_, "%c%d %zu:", ReaderStream::kError, code, detail.size());
    std::fwrite(detail.data(), 1, detail.size(), out_);
    std::fputc('\n', out_);
    diagnostics_.tell("reelwarden-mdb-reader: " + (explanation.empty() ? detail : explanation));
    return code;
}

int MdbTableReader::run(const std::string &path, const std::string &tableName,
                        const std::vector<std::string> &columns)
{
    using namespace ReaderStream;
    std::fwrite(kMagic.data(), 1, kMagic.size(), out_);

    Handle mdb(mdb_open(path.c_str(), MDB_NOFLAGS));
    if (!mdb)
        return fail(Unreadable, path + " cannot be opened as an Access file");
    if (!endsOnPageBoundary(path, *mdb))
        return fail(Unreadable, path + " is cut short: it does not end on a page boundary");
    mdb_set_bind_size(mdb.get(), kBindSize);
    mdb_set_date_fmt(mdb.get(), "%Y-%m-%d %H:%M:%S");
    mdb_set_shortdate_fmt(mdb.get(), "%Y-%m-%d");
    mdb_set_boolean_fmt_numbers(mdb.get());

    if (!mdb_read_catalog(mdb.get(), MDB_TABLE))
        return fail(Unreadable, "the list of tables in " + path + " cannot be read");
    MdbCatalogEntry *entry = findTable(*mdb, tableName);
    if (!entry) {
        // A damaged catalogue also loses tables; only a clean read proves the table absent.
        if (diagnostics_.any())
            return fail(Unreadable, diagnostics_.firstLine());
        return fail(NoTable, tableName, path + " has no table " + tableName);
    }
    Table table(mdb_read_table(entry));
    if (!table || !mdb_read_columns(table.get()))
        return fail(Unreadable, "the definition of table " + tableName + " cannot be read");

    std::vector<int> wanted;
    std::string missing;
    for (const std::string &name : columns) {
        wanted.push_back(findColumn(*table, name));
        if (wanted.back() < 0)
            missing += (missing.empty() ? "" : "\n") + name;
    }
    if (!missing.empty()) {
        std::string listed = missing;
        std::replace(listed.begin(), listed.end(), '\n', ' ');
        return fail(NoColumns, missing, "table " + tableName + " has no column " + listed);
    }

    std::map<int, Bound> bound; // one buffer a table column, however often it is asked for
    for (int index : wanted) {
        if (bound.count(index))
            continue;
        Bound &slot = bound[index];
        mdb_bind_column(table.get(), index + 1, slot.text.data(), &slot.length);
    }

    mdb_rewind_table(table.get());
    long rows = 0;
    std::vector<unsigned char> nulls;
    while (mdb_fetch_row(table.get())) {
        const bool haveMask = readNullMask(*table, nulls);
        std::fputc(kRow, out_);
        for (int index : wanted) {
            const bool maskSaysNull = haveMask && nulls[unsigned(index)];
            writeField(out_, *columnAt(*table, unsigned(index)), bound[index], maskSaysNull);
        }
        std::fputc('\n', out_);
        ++rows;
    }
    if (diagnostics_.any())
        return fail(Damaged, diagnostics_.firstLine());
    std::fprintf(out_, "%c%ld\n", kEnd, rows);
    return Ok;
}
