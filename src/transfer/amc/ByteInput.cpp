#include "ByteInput.h"
#include "MovieRow.h"

#include <QtEndian>

#include <cstring>

namespace
{
constexpr qint64 kBufferSize = 1 << 16;
}

ByteInput::ByteInput(const QString &path, QFile &file)
    : m_path(path), m_file(file), m_size(file.size())
{
}

void ByteInput::damaged(qint64 at, const QString &why) const
{
    throw TransferError{
        QStringLiteral("The file %1 is damaged at byte %2: %3").arg(m_path).arg(at).arg(why)};
}

void ByteInput::fill(char *out, qint64 count, const char *what)
{
    if (count > left())
        damaged(m_offset,
                QStringLiteral("the file ends in the middle of %1.").arg(QLatin1String(what)));
    while (count > 0) {
        if (m_next == m_buffer.size()) {
            m_buffer = m_file.read(std::min(kBufferSize, m_size - m_file.pos()));
            m_next = 0;
            if (m_buffer.isEmpty())
                damaged(m_offset,
                        QStringLiteral("the file cannot be read: %1.").arg(m_file.errorString()));
        }
        const qint64 part = std::min<qint64>(count, m_buffer.size() - m_next);
        std::memcpy(out, m_buffer.constData() + m_next, size_t(part));
        out += part, m_next += part, m_offset += part, count -= part;
    }
}

qint32 ByteInput::int32(const char *what)
{
    char bytes[4];
    fill(bytes, 4, what);
    return qFromLittleEndian<qint32>(bytes);
}

bool ByteInput::boolean(const char *what)
{
    char byte;
    fill(&byte, 1, what);
    return byte != 0;
}

QByteArray ByteInput::raw(qint64 count, const char *what)
{
    QByteArray bytes(count, Qt::Uninitialized);
    fill(bytes.data(), count, what);
    return bytes;
}

QByteArray ByteInput::string(const char *what, qint64 limit)
{
    const qint64 at = m_offset;
    const qint32 length = int32(what);
    if (length < 0)
        damaged(
            at,
            QStringLiteral("%1 has a negative length (%2).").arg(QLatin1String(what)).arg(length));
    if (length > left())
        damaged(at, QStringLiteral("%1 is %2 bytes long, past the end of the file.")
                        .arg(QLatin1String(what))
                        .arg(length));
    if (length > limit)
        damaged(at, QStringLiteral("%1 is %2 bytes long, beyond the longest text kept (%3).")
                        .arg(QLatin1String(what))
                        .arg(length)
                        .arg(limit));
    return raw(length, what);
}

void ByteInput::skip(qint64 count, const char *what)
{
    if (count < 0 || count > left())
        damaged(m_offset, QStringLiteral("%1 is %2 bytes long, past the end of the file.")
                              .arg(QLatin1String(what))
                              .arg(count));
    const qint64 buffered = m_buffer.size() - m_next;
    if (count <= buffered) {
        m_next += count, m_offset += count;
        return;
    }
    m_offset += count;
    m_buffer.clear(), m_next = 0;
    if (!m_file.seek(m_offset))
        damaged(m_offset, QStringLiteral("the file cannot be read: %1.").arg(m_file.errorString()));
}

qint32 ByteInput::count(const char *what, qint64 smallest)
{
    const qint64 at = m_offset;
    const qint32 number = int32(what);
    if (number < 0 || qint64(number) * smallest > left())
        damaged(at, QStringLiteral("a count of %1 %2, more than the rest of the file can hold.")
                        .arg(quint32(number))
                        .arg(QLatin1String(what)));
    return number;
}
