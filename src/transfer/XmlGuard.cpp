#include "XmlGuard.h"

namespace
{

bool isPrefixOf(const QString &start, const char *word)
{
    return QLatin1String(word).startsWith(start);
}

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
            if (!unit(byte))
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
    return true;
}

bool XmlGuard::stop(const QString &what)
{
    m_failure = QStringLiteral("%1 (line %2).").arg(what).arg(m_line);
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
    if (c == u'\n')
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
