#include "CsvEncoding.h"

#include "MovieRow.h"

namespace
{

constexpr qint64 kChunkBytes = 1 << 20;

// A UTF-8 validator fed a byte at a time, so a sequence may straddle two chunks.
class Utf8Scan
{
  public:
    void feed(uchar byte)
    {
        if (m_expect > 0 && byte >= m_low && byte <= m_high) {
            m_low = 0x80, m_high = 0xBF;
            if (--m_expect == 0)
                ++m_sequences;
            return;
        }
        if (m_expect > 0)
            bad();
        if (byte < 0x80)
            return;
        m_low = 0x80, m_high = 0xBF;
        if (byte >= 0xC2 && byte <= 0xDF)
            m_expect = 1;
        else if (byte >= 0xE0 && byte <= 0xEF)
            m_expect = 2, m_low = byte == 0xE0 ? 0xA0 : 0x80, m_high = byte == 0xED ? 0x9F : 0xBF;
        else if (byte >= 0xF0 && byte <= 0xF4)
            m_expect = 3, m_low = byte == 0xF0 ? 0x90 : 0x80, m_high = byte == 0xF4 ? 0x8F : 0xBF;
        else
            bad();
    }
    void end()
    {
        if (m_expect > 0)
            bad();
    }
    void newLine() { ++m_line; }
    qint64 sequences() const { return m_sequences; }
    qint64 firstBadLine() const { return m_badLine; }

  private:
    void bad()
    {
        m_expect = 0;
        if (m_badLine == 0)
            m_badLine = m_line;
    }
    int m_expect = 0;
    uchar m_low = 0x80, m_high = 0xBF;
    qint64 m_sequences = 0;
    qint64 m_line = 1, m_badLine = 0;
};

} // namespace

CsvEncoding DetectCsvEncoding(QFile &file, const QString &name)
{
    const QByteArray start = file.peek(2);
    if (start == "\xFF\xFE")
        return CsvEncoding::Utf16LE;
    if (start == "\xFE\xFF")
        return CsvEncoding::Utf16BE;
    Utf8Scan scan;
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(kChunkBytes);
        if (chunk.isEmpty())
            break;
        for (const char c : chunk) {
            scan.feed(uchar(c));
            if (c == '\n')
                scan.newLine();
        }
    }
    scan.end();
    if (file.error() != QFileDevice::NoError)
        throw TransferError{QStringLiteral("%1 cannot be read: %2.").arg(name, file.errorString())};
    file.seek(0);
    if (scan.firstBadLine() == 0)
        return CsvEncoding::Utf8;
    if (scan.sequences() == 0)
        return CsvEncoding::Windows1252;
    throw TransferError{QStringLiteral("%1, line %2: the file is UTF-8 text, but this line holds a "
                                       "byte UTF-8 cannot hold (the file mixes encodings); save "
                                       "it again as \"CSV UTF-8\".")
                            .arg(name)
                            .arg(scan.firstBadLine())};
}

QString CsvEncodingName(CsvEncoding encoding)
{
    switch (encoding) {
    case CsvEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case CsvEncoding::Utf16LE:
    case CsvEncoding::Utf16BE:
        return QStringLiteral("UTF-16");
    case CsvEncoding::Windows1252:
        break;
    }
    return QStringLiteral("Windows-1252");
}
