#include "ReaderOutput.h"

#include "ReaderStream.h"

namespace
{

// Walks the stream; every read reports failure instead of running past the end.
class StreamCursor
{
  public:
    explicit StreamCursor(const QByteArray &bytes) : bytes_(bytes) {}

    bool atEnd() const { return pos_ >= bytes_.size(); }

    bool skip(std::string_view expected)
    {
        const QByteArrayView want(expected.data(), qsizetype(expected.size()));
        if (!QByteArrayView(bytes_).sliced(pos_).startsWith(want))
            return false;
        pos_ += want.size();
        return true;
    }

    std::optional<char> take()
    {
        if (atEnd())
            return std::nullopt;
        return bytes_.at(pos_++);
    }

    // Decimal digits up to `end`, which is consumed.
    std::optional<qint64> number(char end)
    {
        const qsizetype stop = bytes_.indexOf(end, pos_);
        if (stop <= pos_ || stop - pos_ > 18)
            return std::nullopt;
        bool ok = false;
        const qint64 value = QByteArrayView(bytes_).sliced(pos_, stop - pos_).toLongLong(&ok);
        if (!ok || value < 0 || bytes_.at(pos_) == '+')
            return std::nullopt;
        pos_ = stop + 1;
        return value;
    }

    std::optional<QByteArray> bytes(qint64 count)
    {
        if (count > bytes_.size() - pos_)
            return std::nullopt;
        const QByteArray value = bytes_.mid(pos_, qsizetype(count));
        pos_ += qsizetype(count);
        return value;
    }

  private:
    const QByteArray &bytes_;
    qsizetype pos_ = 0;
};

// One field: NULL, or a length-prefixed value. Sets `maybeCut` for a value the reader
// marked as possibly cut.
std::optional<AccessValue> readField(StreamCursor &in, bool &maybeCut)
{
    const std::optional<char> tag = in.take();
    if (tag == ReaderStream::kNull)
        return AccessValue();
    if (tag != ReaderStream::kValue && tag != ReaderStream::kMaybeCut)
        return std::nullopt;
    const std::optional<qint64> length = in.number(':');
    const std::optional<QByteArray> text = length ? in.bytes(*length) : std::nullopt;
    if (!text)
        return std::nullopt;
    maybeCut = maybeCut || tag == ReaderStream::kMaybeCut;
    return AccessValue(QString::fromUtf8(*text));
}

std::optional<AccessRow> readRow(StreamCursor &in, int columnCount, bool &maybeCut)
{
    AccessRow row;
    row.reserve(columnCount);
    for (int i = 0; i < columnCount; ++i) {
        std::optional<AccessValue> value = readField(in, maybeCut);
        if (!value)
            return std::nullopt;
        row.append(std::move(*value));
    }
    if (in.take() != '\n')
        return std::nullopt;
    return row;
}

// The 'X' item, after its tag.
bool readFailure(StreamCursor &in, AccessTableRead &read)
{
    const std::optional<qint64> code = in.number(' ');
    const std::optional<qint64> length = code ? in.number(':') : std::nullopt;
    const std::optional<QByteArray> detail = length ? in.bytes(*length) : std::nullopt;
    if (!detail || in.take() != '\n' || *code == ReaderStream::Ok)
        return false;
    read.outcome = AccessTableRead::Outcome::ReaderFailed;
    read.readerCode = int(*code);
    read.detail = QString::fromUtf8(*detail);
    read.rows.clear();
    return true;
}

AccessTableRead malformed()
{
    return {};
}

} // namespace

AccessTableRead ParseReaderOutput(const QByteArray &output, int columnCount)
{
    AccessTableRead read;
    StreamCursor in(output);
    if (!in.skip(ReaderStream::kMagic))
        return malformed();
    while (const std::optional<char> tag = in.take()) {
        if (*tag == ReaderStream::kRow) {
            std::optional<AccessRow> row = readRow(in, columnCount, read.valuesMayBeCut);
            if (!row)
                return malformed();
            read.rows.append(std::move(*row));
        } else if (*tag == ReaderStream::kEnd) {
            const std::optional<qint64> count = in.number('\n');
            if (!count || *count != read.rows.size() || !in.atEnd())
                return malformed();
            read.outcome = AccessTableRead::Outcome::Complete;
            return read;
        } else if (*tag == ReaderStream::kError) {
            return readFailure(in, read) && in.atEnd() ? read : malformed();
        } else {
            return malformed();
        }
    }
    return malformed(); // no end mark: the reader did not finish
}
