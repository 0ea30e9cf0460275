#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <optional>
#include <vector>

// One cell of a CSV record, its bytes as the file has them.
struct Cell {
    QByteArray bytes;
    bool quoted = false;
};

struct Record {
    std::vector<Cell> cells;
    int line = 0; // the line on which the record begins
};

// RFC 4180 records from a file read a chunk at a time.
class CsvParser
{
  public:
    CsvParser(QFile &file, const QString &name, char delimiter)
        : m_file(file), m_name(name), m_delimiter(delimiter)
    {
    }

    // The next record, or nothing at the end of the file. Throws TransferError naming the file
    // and the line.
    std::optional<Record> next();

    qint64 position() const { return m_consumed; }
    // Rows of more cells than this are refused as soon as they have one too many, so a row of
    // millions of commas never fills the memory.
    void limitCells(std::size_t count) { m_cellLimit = count; }

  private:
    void readQuoted(Cell &cell, int line);
    void append(Cell &cell, char c, int line, bool quoted);
    bool fill();
    int peek() { return fill() ? uchar(m_buffer.at(m_pos)) : -1; }
    int get();

    QFile &m_file;
    const QString m_name;
    const char m_delimiter;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qint64 m_consumed = 0;
    int m_line = 1;
    std::size_t m_cellLimit = 10000; // columns a header may name
};
