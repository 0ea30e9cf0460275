#include "CsvFormat.h"

#include "ForeignFile.h"
#include "MovieColumns.h"
#include "Windows1252.h"

#include <QSaveFile>
#include <QStringDecoder>

#include <vector>

namespace
{

constexpr qint64 kChunkBytes = 1 << 20;
const QByteArray kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kMaxColumns = 10000; // columns a header may name

struct Cell {
    QByteArray bytes;
    bool quoted = false;
};

struct Record {
    std::vector<Cell> cells;
    int line = 0; // the line on which the record begins
};

bool isUtf8(QFile &file)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(kChunkBytes);
        if (chunk.isEmpty())
            break;
        const QString decoded = decoder(chunk);
        if (decoder.hasError())
            break;
    }
    const bool valid = !decoder.hasError() && file.error() == QFileDevice::NoError;
    file.seek(0);
    return valid;
}

// RFC 4180 records from a file read a chunk at a time.
class CsvParser
{
  public:
    CsvParser(QFile &file, const QString &name) : m_file(file), m_name(name) {}

    std::optional<Record> next()
    {
        Record record;
        record.line = m_line;
        Cell cell;
        for (;;) {
            const int c = get();
            if (c < 0 && record.cells.empty() && cell.bytes.isEmpty() && !cell.quoted)
                return std::nullopt;
            if (c < 0 || c == '\n' || (c == '\r' && (peek() != '\n' || get() == '\n'))) {
                record.cells.push_back(std::move(cell));
                return record;
            }
            if (c == ',') {
                record.cells.push_back(std::move(cell));
                cell = Cell();
                if (record.cells.size() >= m_cellLimit)
                    throw TransferError{QStringLiteral("%1, line %2: the row has more values than "
                                                       "the header names columns (%3).")
                                            .arg(m_name)
                                            .arg(record.line)
                                            .arg(m_cellLimit)};
            } else if (c == '"' && cell.bytes.isEmpty() && !cell.quoted) {
                readQuoted(cell, record.line);
            } else {
                append(cell, char(c), record.line, false);
            }
        }
    }

    qint64 position() const { return m_consumed; }
    // Rows of more cells than this are refused as soon as they have one too many, so a row of
    // millions of commas never fills the memory.
    void limitCells(std::size_t count) { m_cellLimit = count; }

  private:
    void readQuoted(Cell &cell, int line)
    {
        cell.quoted = true;
        for (;;) {
            const int c = get();
            if (c < 0)
                throw TransferError{QStringLiteral("%1, line %2: a quoted value is never closed "
                                                   "(a quote character is missing).")
                                        .arg(m_name)
                                        .arg(line)};
            if (c == '"' && peek() != '"')
                break;
            if (c == '"')
                get();
            append(cell, char(c), line, true);
        }
        const int after = peek();
        if (after >= 0 && after != ',' && after != '\r' && after != '\n')
            throw TransferError{QStringLiteral("%1, line %2: a quoted value is followed by more "
                                               "text (a quote inside a value must be doubled).")
                                    .arg(m_name)
                                    .arg(line)};
    }

    void append(Cell &cell, char c, int line, bool quoted)
    {
        if (cell.bytes.size() >= kMaxValueLength)
            throw TransferError{
                QStringLiteral("%1, line %2: a value is longer than the catalog takes (%3 "
                               "characters)%4.")
                    .arg(m_name)
                    .arg(line)
                    .arg(kMaxValueLength)
                    .arg(quoted ? QStringLiteral(", or a quote character that opens a value is "
                                                 "never closed")
                                : QString())};
        cell.bytes.append(c);
    }

    bool fill()
    {
        if (m_pos < m_buffer.size())
            return true;
        m_buffer = m_file.read(kChunkBytes);
        m_pos = 0;
        if (m_file.error() != QFileDevice::NoError)
            throw TransferError{
                QStringLiteral("%1 cannot be read: %2.").arg(m_name, m_file.errorString())};
        return !m_buffer.isEmpty();
    }

    int peek() { return fill() ? uchar(m_buffer.at(m_pos)) : -1; }

    int get()
    {
        if (!fill())
            return -1;
        const int c = uchar(m_buffer.at(m_pos++));
        ++m_consumed;
        if (c == '\n' || (c == '\r' && peek() != '\n'))
            ++m_line;
        return c;
    }

    QFile &m_file;
    const QString m_name;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qint64 m_consumed = 0;
    int m_line = 1;
    std::size_t m_cellLimit = kMaxColumns;
};

class CsvReader : public MovieReader
{
  public:
    CsvReader(const QString &path, const ColumnMap &map)
        : m_file(path), m_name(ForeignFileName(path)), m_parser(m_file, m_name)
    {
        OpenForeignFile(m_file);
        const QByteArray start = m_file.peek(2);
        if (start == "\xFF\xFE" || start == "\xFE\xFF")
            throw TransferError{QStringLiteral("%1 is written in UTF-16, which the import does not "
                                               "read; a spreadsheet saves it as \"CSV UTF-8\".")
                                    .arg(m_name)};
        m_utf8 = isUtf8(m_file);
        if (m_file.peek(kByteOrderMark.size()) == kByteOrderMark)
            m_file.skip(kByteOrderMark.size());
        std::optional<Record> header = m_parser.next();
        if (!header || (header->cells.size() == 1 && header->cells[0].bytes.isEmpty()))
            throw TransferError{QStringLiteral("%1 is empty: it holds no header row naming the "
                                               "columns.")
                                    .arg(m_name)};
        matchColumns(*header, map);
        m_parser.limitCells(m_target.size());
    }

    std::optional<MovieRow> next() override
    {
        std::optional<Record> record;
        do
            record = m_parser.next();
        while (record && record->cells.size() == 1 && record->cells[0].bytes.isEmpty() &&
               !record->cells[0].quoted);
        if (!record)
            return std::nullopt;
        if (record->cells.size() != m_target.size())
            throw TransferError{QStringLiteral("%1, line %2: the row has %3 values, but the "
                                               "header names %4 columns.")
                                    .arg(m_name)
                                    .arg(record->line)
                                    .arg(record->cells.size())
                                    .arg(m_target.size())};
        MovieRow movie;
        movie.where = QStringLiteral("line %1").arg(record->line);
        for (std::size_t i = 0; i < m_target.size(); ++i) {
            const Cell &cell = record->cells[i];
            if (m_target[i] >= 0 && (cell.quoted || !cell.bytes.isEmpty()))
                movie.values[std::size_t(m_target[i])] = text(cell.bytes);
        }
        return movie;
    }

    QStringList unusedColumns() const override { return m_unused; }
    qint64 bytesRead() const override { return m_parser.position(); }
    qint64 bytesTotal() const override { return m_file.size(); }

  private:
    QString text(const QByteArray &bytes) const
    {
        return m_utf8 ? QString::fromUtf8(bytes) : Windows1252::decode(bytes);
    }

    void matchColumns(const Record &header, const ColumnMap &map)
    {
        std::array<QString, kMovieColumns.size()> source;
        for (const Cell &cell : header.cells) {
            const QString name = text(cell.bytes).trimmed();
            const int column = movieColumnIndex(map.value(name.toLower(), name));
            m_target.push_back(column);
            if (column < 0) {
                m_unused << name;
                continue;
            }
            if (!source[std::size_t(column)].isNull())
                throw TransferError{
                    QStringLiteral("%1: the columns %2 and %3 both go into %4.")
                        .arg(m_name, source[std::size_t(column)], name,
                             QLatin1String(kMovieColumns[std::size_t(column)].name))};
            source[std::size_t(column)] = name;
        }
        if (m_unused.size() == qsizetype(header.cells.size()))
            throw TransferError{QStringLiteral("%1: its header row names no column of the "
                                               "catalog (Title, Category, Rating, ...).")
                                    .arg(m_name)};
        if (source[0].isNull())
            throw TransferError{QStringLiteral("%1 has no Title column: its header row names none "
                                               "of the catalog's columns as Title (--map \"Their "
                                               "Name=Title\" names one).")
                                    .arg(m_name)};
    }

    QFile m_file;
    const QString m_name;
    CsvParser m_parser;
    bool m_utf8 = true;
    std::vector<int> m_target; // the catalog column of each of the file's columns, or -1
    QStringList m_unused;
};

QByteArray cellText(const std::optional<QString> &value)
{
    if (!value)
        return {};
    QByteArray bytes = value->toUtf8();
    static const QByteArrayView needsQuotes = ",\"\r\n";
    bool quote = bytes.isEmpty();
    for (char c : needsQuotes)
        quote = quote || bytes.contains(c);
    if (!quote)
        return bytes;
    return '"' + bytes.replace('"', "\"\"") + '"';
}

class CsvWriter : public MovieWriter
{
  public:
    explicit CsvWriter(const QString &path) : m_file(path), m_name(ForeignFileName(path))
    {
        if (!m_file.open(QIODevice::WriteOnly))
            fail();
        QByteArray header = kByteOrderMark;
        for (std::size_t i = 0; i < kMovieColumns.size(); ++i)
            header += (i ? "," : "") + QByteArray(kMovieColumns[i].name);
        put(header + "\r\n");
    }

    void write(const MovieRow &movie) override
    {
        QByteArray line;
        for (std::size_t i = 0; i < movie.values.size(); ++i)
            line += (i ? "," : "") + cellText(movie.values[i]);
        put(line + "\r\n");
    }

    void finish() override
    {
        if (!m_file.commit())
            fail();
    }

  private:
    void put(const QByteArray &bytes)
    {
        if (m_file.write(bytes) != bytes.size())
            fail();
    }

    [[noreturn]] void fail()
    {
        const QString reason = m_file.errorString();
        m_file.cancelWriting();
        throw TransferError{QStringLiteral("%1 cannot be written: %2.").arg(m_name, reason)};
    }

    QSaveFile m_file;
    const QString m_name;
};

} // namespace

std::unique_ptr<MovieReader> OpenCsvReader(const QString &path, const ColumnMap &map)
{
    return std::make_unique<CsvReader>(path, map);
}

std::unique_ptr<MovieWriter> OpenCsvWriter(const QString &path)
{
    return std::make_unique<CsvWriter>(path);
}
