#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Little-endian numbers, one-byte booleans and length-prefixed byte strings read from a file
// through a buffer of its own. Every length is checked against what is left of the file
// before anything is allocated; a file that ends early or states a length past its end is
// refused with the byte where the damage starts (TransferError).
class ByteInput
{
  public:
    ByteInput(const QString &path, QFile &file);
    qint64 offset() const { return m_offset; }
    qint64 size() const { return m_size; }
    qint64 left() const { return m_size - m_offset; }
    bool atEnd() const { return m_offset >= m_size; }

    qint32 int32(const char *what);
    bool boolean(const char *what);
    // A length-prefixed string of at most `limit` bytes.
    QByteArray string(const char *what, qint64 limit);
    void skip(qint64 count, const char *what);
    // A count of items of at least `smallest` bytes each, that the rest of the file can hold.
    qint32 count(const char *what, qint64 smallest);
    QByteArray raw(qint64 count, const char *what);
    [[noreturn]] void damaged(qint64 at, const QString &why) const;

  private:
    void fill(char *out, qint64 count, const char *what);
    QString m_path;
    QFile &m_file;
    qint64 m_offset = 0;
    qint64 m_size = 0;
    QByteArray m_buffer;
    qsizetype m_next = 0;
};
