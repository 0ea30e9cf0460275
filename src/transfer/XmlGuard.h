#pragma once

#include <QIODevice>
#include <QString>

// What an XML collection file may hold, far beyond any real collection and small enough that
// a hostile file is refused within some tens of megabytes of memory.
namespace XmlLimits
{
// A run of text, whitespace, a comment, a CDATA section, or one tag with its attributes,
// in characters: the XML parser holds each whole, so it must be bounded before it gets them.
inline constexpr qint64 kMaxRun = qint64(8) << 20;
inline constexpr int kMaxDepth = 256;           // elements open at once
inline constexpr int kMaxAttributes = 1024;     // attributes of one element
inline constexpr int kMaxRowsPerField = 100000; // values or table rows in one field
} // namespace XmlLimits

// Passes an XML file's bytes on to the parser while scanning them, and stops (a read error)
// at the first limit the file breaks: a run of text or markup longer than XmlLimits::kMaxRun,
// elements nested deeper than kMaxDepth, more than kMaxAttributes on one element, or a
// DOCTYPE with declarations of its own (entities, default attributes), which are never read.
// A read error of the source is kept as well. failure() then says what, in words that follow
// "The file NAME ", with the line. UTF-8, other 8-bit encodings and UTF-16 with a byte-order
// mark are scanned.
class XmlGuard : public QIODevice
{
  public:
    explicit XmlGuard(QIODevice *source);
    bool isSequential() const override { return true; }
    const QString &failure() const { return m_failure; }

  protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

  private:
    enum class State { Text, Open, Bang, StartTag, EndTag, Comment, CData, Instruction, Doctype };
    bool scan(const char *data, qint64 size);
    qint64 skipPlain(const char *data, qint64 size);
    const bool *plainBytes() const;
    bool unit(char16_t c);
    bool openTag(char16_t c);
    bool bang(char16_t c);
    bool startTag(char16_t c);
    bool doctype(char16_t c);
    bool stop(const QString &what);
    void enter(State state);

    QIODevice *m_source;
    QString m_failure;
    State m_state = State::Text;
    qint64 m_run = 0;
    qint64 m_line = 1;
    qint64 m_offset = 0;
    int m_depth = 0;
    int m_attributes = 0;
    char16_t m_quote = 0;
    char16_t m_last = 0, m_beforeLast = 0;
    QString m_bang;                // what follows "<!" until it is known
    int m_wide = 0;                // 0: bytes, 1: UTF-16 little endian, 2: big endian
    int m_pending = -1;            // the first byte of a UTF-16 unit split between two reads
    const char *m_bytes = nullptr; // the bytes being scanned, and the one at unit()
    qint64 m_at = 0;
};
