#include "XmlGuard.h"

#include <algorithm>

namespace
{

bool isPrefixOf(const QString &start, const char *word)
{
    return QLatin1String(word).startsWith(start);
}

// The bytes that change nothing but the run's length (and the line, for a newline) in a
// state: every byte but those listed. Nothing is plain where no table is given.
struct PlainBytes {
    bool plain[256];
    constexpr explicit PlainBytes(const char *special) : plain{}
    {
        for (int c = 0; c < 256; ++c)
            plain[c] = true;
        for (; *special; ++special)
            plain[uchar(*special)] = false;
    }
};

constexpr PlainBytes kTextBytes("<");
constexpr PlainBytes kTagBytes("\"'=>");
constexpr PlainBytes kDoctypeBytes("\"'[>");
constexpr PlainBytes kCloseBytes(">");
constexpr PlainBytes kDoubleQuotedBytes("\"");
constexpr PlainBytes kSingleQuotedBytes("'");

} // namespace

XmlGuard::XmlGuard(QIODevice *source) : m_source(source)
{
    QIODevice::open(QIODevice::ReadOnly);
}

qint64 XmlGuard::readData(char *data, qint64 maxSize)
{
    if (!m_failure.isEmpty())
        return -1;
    const qint64 n = m_source->read(data, maxSize);
    if (n < 0) {
        m_failure = QStringLiteral("cannot be read: %1.").arg(m_source->errorString());
    } else if (scan(data, n)) {
        return n;
    }
    setErrorString(m_failure);
    return -1;
}

bool XmlGuard::scan(const char *data, qint64 size)
{
    qint64 i = 0;
    if (m_offset == 0 && size >= 2) {
        const auto a = uchar(data[0]), b = uchar(data[1]);
        m_wide = (a == 0xFF && b == 0xFE) || (a == '<' && b == 0)   ? 1
                 : (a == 0xFE && b == 0xFF) || (a == 0 && b == '<') ? 2
                                                                    : 0;
    }
    m_offset += size;
    for (; i < size; ++i) {
        const auto byte = uchar(data[i]);
        if (m_wide == 0) {
            i += skipPlain(data + i, size - i);
            m_bytes = data, m_at = i;
            if (i < size && !unit(uchar(data[i])))
                return false;
        } else if (m_pending < 0) {
            m_pending = byte;
        } else {
            const char16_t c =
                m_wide == 1 ? char16_t(m_pending | byte << 8) : char16_t(m_pending << 8 | byte);
            m_pending = -1;
            if (!unit(c))
                return false;
        }
    }
    if (m_wide == 0)
        m_line += std::count(data, data + size, '\n');
    return true;
}

// What the bytes of the current state that need no look of their own are: all but the ones
// that end or change the state (a quote, '=', '>', ...); none in a state decided byte by byte.
const bool *XmlGuard::plainBytes() const
{
    const auto quoted = [this] {
        return m_quote == u'"' ? kDoubleQuotedBytes.plain : kSingleQuotedBytes.plain;
    };
    switch (m_state) {
    case State::Text:
        return kTextBytes.plain;
    case State::StartTag:
        return m_quote ? quoted() : kTagBytes.plain;
    case State::Doctype:
        return m_quote ? quoted() : kDoctypeBytes.plain;
    case State::EndTag:
    case State::Comment:
    case State::CData:
    case State::Instruction:
        return kCloseBytes.plain;
    case State::Open:
    case State::Bang:
        break;
    }
    return nullptr;
}

// Passes over the bytes at `data` that unit() would only count, as it would count them (the
// lines are counted by scan()), up to
// the run's limit (the byte beyond it goes to unit(), which refuses it); gives how many.
qint64 XmlGuard::skipPlain(const char *data, qint64 size)
{
    const bool *plain = plainBytes();
    if (!plain)
        return 0;
    const qint64 room = std::min(size, XmlLimits::kMaxRun - m_run);
    qint64 n = 0;
    while (n < room && plain[uchar(data[n])])
        ++n;
    m_run += n;
    if (m_state != State::Text && n > 0) {
        m_beforeLast = n > 1 ? char16_t(uchar(data[n - 2])) : m_last;
        m_last = uchar(data[n - 1]);
    }
    return n;
}

bool XmlGuard::stop(const QString &what)
{
    // Bytes are counted into lines a read at a time, units one by one.
    const qint64 line = m_wide ? m_line : m_line + std::count(m_bytes, m_bytes + m_at + 1, '\n');
    m_failure = QStringLiteral("%1 (line %2).").arg(what).arg(line);
    return false;
}

void XmlGuard::enter(State state)
{
    m_state = state;
    m_run = 0;
    m_quote = m_last = m_beforeLast = 0;
}

bool XmlGuard::unit(char16_t c)
{
    if (c == u'\n' && m_wide)
        ++m_line;
    if (++m_run > XmlLimits::kMaxRun)
        return stop(
            m_state == State::Text
                ? QStringLiteral("holds a text longer than %1 characters").arg(XmlLimits::kMaxRun)
                : QStringLiteral("holds a tag, comment or declaration longer than %1 "
                                 "characters")
                      .arg(XmlLimits::kMaxRun));
    const bool ends = c == u'>';
    bool going = true;
    switch (m_state) {
    case State::Text:
        if (c == u'<')
            enter(State::Open);
        break;
    case State::Open:
        going = openTag(c);
        break;
    case State::Bang:
        going = bang(c);
        break;
    case State::StartTag:
        going = startTag(c);
        break;
    case State::EndTag:
        if (ends)
            --m_depth, enter(State::Text);
        break;
    case State::Comment:
        if (ends && m_last == u'-' && m_beforeLast == u'-')
            enter(State::Text);
        break;
    case State::CData:
        if (ends && m_last == u']' && m_beforeLast == u']')
            enter(State::Text);
        break;
    case State::Instruction:
        if (ends && m_last == u'?')
            enter(State::Text);
        break;
    case State::Doctype:
        going = doctype(c);
        break;
    }
    if (m_state != State::Text && m_run > 0)
        m_beforeLast = m_last, m_last = c;
    return going;
}

bool XmlGuard::openTag(char16_t c)
{
    if (c == u'!') {
        m_bang.clear();
        enter(State::Bang);
    } else if (c == u'?') {
        enter(State::Instruction);
    } else if (c == u'/') {
        enter(State::EndTag);
    } else {
        if (++m_depth > XmlLimits::kMaxDepth)
            return stop(
                QStringLiteral("nests elements deeper than %1 levels").arg(XmlLimits::kMaxDepth));
        m_attributes = 0;
        enter(State::StartTag);
        m_run = 1;
    }
    return true;
}

bool XmlGuard::bang(char16_t c)
{
    m_bang += QChar(c);
    if (m_bang == u"--")
        enter(State::Comment);
    else if (m_bang == u"[CDATA[")
        enter(State::CData);
    else if (m_bang == u"DOCTYPE" || (!isPrefixOf(m_bang, "--") && !isPrefixOf(m_bang, "[CDATA[") &&
                                      !isPrefixOf(m_bang, "DOCTYPE")))
        enter(State::Doctype); // anything else is no XML; the parser says so
    return true;
}

bool XmlGuard::startTag(char16_t c)
{
    if (m_quote) {
        if (c == m_quote)
            m_quote = 0;
        return true;
    }
    if (c == u'"' || c == u'\'') {
        m_quote = c;
    } else if (c == u'=' && ++m_attributes > XmlLimits::kMaxAttributes) {
        return stop(QStringLiteral("gives an element more than %1 attributes")
                        .arg(XmlLimits::kMaxAttributes));
    } else if (c == u'>') {
        if (m_last == u'/')
            --m_depth;
        enter(State::Text);
    }
    return true;
}

bool XmlGuard::doctype(char16_t c)
{
    if (m_quote) {
        if (c == m_quote)
            m_quote = 0;
    } else if (c == u'"' || c == u'\'') {
        m_quote = c;
    } else if (c == u'[') {
        return stop(QStringLiteral("declares entities or attributes of its own in a DOCTYPE, "
                                   "which is not read"));
    } else if (c == u'>') {
        enter(State::Text);
    }
    return true;
}
