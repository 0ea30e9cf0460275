#include "CsvParser.h"

#include "MovieRow.h"

namespace
{
constexpr qint64 kChunkBytes = 1 << 20;
}

std::optional<Record> CsvParser::next()
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
        if (c == m_delimiter) {
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

void CsvParser::readQuoted(Cell &cell, int line)
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
    if (after >= 0 && after != m_delimiter && after != '\r' && after != '\n')
        throw TransferError{QStringLiteral("%1, line %2: a quoted value is followed by more "
                                           "text (a quote inside a value must be doubled).")
                                .arg(m_name)
                                .arg(line)};
}

void CsvParser::append(Cell &cell, char c, int line, bool quoted)
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

bool CsvParser::fill()
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

int CsvParser::get()
{
    if (!fill())
        return -1;
    const int c = uchar(m_buffer.at(m_pos++));
    ++m_consumed;
    if (c == '\n' || (c == '\r' && peek() != '\n'))
        ++m_line;
    return c;
}
