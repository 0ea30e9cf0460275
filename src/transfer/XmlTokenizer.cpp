#include "XmlTokenizer.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <mutex>

namespace
{

// What is read of the file and parsed at a time.
constexpr qint64 kChunk = 16384;

QString fromXml(const xmlChar *text, qsizetype size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(text), size);
}

QString fromXml(const xmlChar *text)
{
    return text ? fromXml(text, qsizetype(qstrlen(reinterpret_cast<const char *>(text))))
                : QString();
}

bool allWhitespace(const xmlChar *text, int size)
{
    for (int i = 0; i < size; ++i)
        if (text[i] != ' ' && text[i] != '\t' && text[i] != '\n' && text[i] != '\r')
            return false;
    return true;
}

// Windows-1252's bytes 0x80 to 0x9F; the five it leaves undefined stand for the C1 controls of
// the same numbers, as browsers read them.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// libxml2's input converter for windows-1252 (DVD Profiler's encoding): a table instead of
// iconv, which took a third of libxml2's time on such a file. Converts whole characters while
// both buffers last; gives the bytes written, *inlen and *outlen set to the bytes used.
int windows1252ToUtf8(unsigned char *out, int *outlen, const unsigned char *in, int *inlen)
{
    int i = 0, o = 0;
    while (i < *inlen) {
        const int ascii = std::min(*inlen - i, *outlen - o);
        int k = 0;
        for (; k < ascii && in[i + k] < 0x80; ++k)
            out[o + k] = in[i + k];
        i += k, o += k;
        if (i == *inlen)
            break;
        const char16_t c = in[i] < 0x80 || in[i] >= 0xA0 ? in[i] : kWindows1252High[in[i] - 0x80];
        const int size = c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (o + size > *outlen)
            break;
        if (size == 1) {
            out[o++] = uchar(c);
        } else if (size == 2) {
            out[o++] = uchar(0xC0 | c >> 6);
            out[o++] = uchar(0x80 | (c & 0x3F));
        } else {
            out[o++] = uchar(0xE0 | c >> 12);
            out[o++] = uchar(0x80 | (c >> 6 & 0x3F));
            out[o++] = uchar(0x80 | (c & 0x3F));
        }
        ++i;
    }
    *inlen = i;
    *outlen = o;
    return o;
}

// libxml2's messages that reach no parser's handler (a failed conversion, ...): the parse
// itself fails and says so.
void XMLCDECL ignoreMessage(void *, const char *, ...) {}

// Readies libxml2 and registers the converter with it (process-wide), once.
void initLibxml()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlNewCharEncodingHandler("windows-1252", windows1252ToUtf8, nullptr);
    });
}

} // namespace

// The SAX2 callbacks, each queueing its token. Nothing is queued after the first error.
struct XmlTokenizer::Callbacks {
    static XmlTokenizer &of(void *context) { return *static_cast<XmlTokenizer *>(context); }

    static void startElement(void *context, const xmlChar *localName, const xmlChar *,
                             const xmlChar *, int, const xmlChar **, int attributeCount, int,
                             const xmlChar **attributes)
    {
        XmlTokenizer &self = of(context);
        if (!self.m_error.isEmpty())
            return;
        ++self.m_depth;
        Token &token = self.queue(QXmlStreamReader::StartElement);
        token.name = self.cachedName(localName);
        token.attributes.reserve(attributeCount);
        for (int i = 0; i < attributeCount; ++i) {
            const xmlChar **attribute = attributes + 5 * i; // name, prefix, URI, value, end
            QString value = fromXml(attribute[3], attribute[4] - attribute[3]);
            // Entities left in (none substituted), libxml2 passes an '&' on as "&#38;".
            if (value.contains(u'&'))
                value.replace(QLatin1String("&#38;"), QLatin1String("&"));
            if (attribute[1])
                token.attributes.append(fromXml(attribute[2]), self.cachedName(attribute[0]),
                                        value);
            else
                token.attributes.append(self.cachedName(attribute[0]), value);
        }
    }

    static void endElement(void *context, const xmlChar *localName, const xmlChar *,
                           const xmlChar *)
    {
        XmlTokenizer &self = of(context);
        if (!self.m_error.isEmpty())
            return;
        --self.m_depth;
        self.queue(QXmlStreamReader::EndElement).name = self.cachedName(localName);
    }

    // Text as the parser passes it, in pieces: one token up to the next markup.
    static void characters(void *context, const xmlChar *text, int size)
    {
        XmlTokenizer &self = of(context);
        if (!self.m_error.isEmpty())
            return;
        const bool whitespace = allWhitespace(text, size);
        if (self.m_tokens.empty() || self.m_tokens.back().type != QXmlStreamReader::Characters) {
            Token &token = self.queue(QXmlStreamReader::Characters);
            token.text = whitespace ? self.whitespaceText(text, size) : fromXml(text, size);
            token.whitespace = whitespace;
        } else {
            Token &token = self.m_tokens.back();
            token.text += fromXml(text, size);
            token.whitespace = token.whitespace && whitespace;
            token.line = xmlSAX2GetLineNumber(self.m_parser);
        }
    }

    static void comment(void *context, const xmlChar *)
    {
        if (of(context).m_error.isEmpty())
            of(context).queue(QXmlStreamReader::Comment);
    }

    static void instruction(void *context, const xmlChar *, const xmlChar *)
    {
        if (of(context).m_error.isEmpty())
            of(context).queue(QXmlStreamReader::ProcessingInstruction);
    }

    static void doctype(void *context, const xmlChar *, const xmlChar *, const xmlChar *)
    {
        if (of(context).m_error.isEmpty())
            of(context).queue(QXmlStreamReader::DTD);
    }

    // An entity the file does not declare, where libxml2 lets it pass (a DTD not read).
    static void reference(void *context, const xmlChar *name)
    {
        if (of(context).m_error.isEmpty())
            of(context).queue(QXmlStreamReader::EntityReference).name = fromXml(name);
    }

    // Keeps the first error; warnings (a relative namespace name, ...) pass.
    static void error(void *context, xmlError *error)
    {
        XmlTokenizer &self = of(context);
        if (error->level < XML_ERR_ERROR || !self.m_error.isEmpty())
            return;
        self.m_error = QString::fromUtf8(error->message).trimmed();
        self.m_errorLine = error->line;
    }
};

XmlTokenizer::XmlTokenizer(QIODevice *source) : m_source(source)
{
    initLibxml();
    xmlSetGenericErrorFunc(nullptr, ignoreMessage); // the calling thread's
    xmlResetLastError();
    xmlSAXHandler sax{};
    sax.initialized = XML_SAX2_MAGIC;
    sax.startElementNs = Callbacks::startElement;
    sax.endElementNs = Callbacks::endElement;
    sax.characters = Callbacks::characters;
    sax.ignorableWhitespace = Callbacks::characters;
    sax.cdataBlock = Callbacks::characters;
    sax.comment = Callbacks::comment;
    sax.processingInstruction = Callbacks::instruction;
    sax.internalSubset = Callbacks::doctype;
    sax.reference = Callbacks::reference;
    sax.serror = Callbacks::error;
    m_parser = xmlCreatePushParserCtxt(&sax, this, nullptr, 0, nullptr);
    // No option substitutes entities, loads a DTD or lifts libxml2's limits.
    if (!m_parser || xmlCtxtUseOptions(m_parser, XML_PARSE_NONET) != 0)
        m_error = QStringLiteral("out of memory");
}

XmlTokenizer::~XmlTokenizer()
{
    if (m_parser)
        xmlFreeParserCtxt(m_parser);
}

XmlTokenizer::Token &XmlTokenizer::queue(QXmlStreamReader::TokenType type)
{
    Token &token = m_tokens.emplace_back();
    token.type = type;
    token.line = xmlSAX2GetLineNumber(m_parser);
    return token;
}

QXmlStreamReader::TokenType XmlTokenizer::readNext()
{
    while (!complete() && parseMore()) {
    }
    if (m_tokens.empty())
        return m_token.type; // Invalid or EndDocument, as parseMore() left it
    m_token = std::move(m_tokens.front());
    m_tokens.pop_front();
    return m_token.type;
}

// Whether the first token queued is whole: a text goes on to the next markup, which may be in
// a read still to come.
bool XmlTokenizer::complete() const
{
    return !m_tokens.empty() && (m_ended || m_tokens.size() > 1 ||
                                 m_tokens.front().type != QXmlStreamReader::Characters);
}

// Parses the next read of the file; false once nothing more comes (the current token then
// Invalid or EndDocument).
bool XmlTokenizer::parseMore()
{
    if (m_ended)
        return false;
    if (m_error.isEmpty()) {
        char chunk[kChunk];
        const qint64 size = m_source->read(chunk, kChunk);
        if (size < 0) {
            m_error = QStringLiteral("the file cannot be read");
        } else if (xmlParseChunk(m_parser, chunk, int(size), size == 0) != 0 &&
                   (m_parser->disableSAX || !m_parser->wellFormed) && m_error.isEmpty()) {
            // A failure libxml2 gave no handler, such as bytes its converter refuses.
            const xmlError *error = xmlCtxtGetLastError(m_parser);
            if (!error || !error->message)
                error = xmlGetLastError(); // the converter's, kept for the thread
            m_error = error && error->message ? QString::fromUtf8(error->message).trimmed()
                                              : QStringLiteral("the file cannot be parsed");
            m_errorLine = xmlSAX2GetLineNumber(m_parser);
        } else if (size == 0 && m_error.isEmpty() && m_depth != 0) {
            m_error = QStringLiteral("the file ends inside an element");
            m_errorLine = xmlSAX2GetLineNumber(m_parser);
        }
        if (size == 0 && m_error.isEmpty()) {
            m_ended = true;
            queue(QXmlStreamReader::EndDocument);
            return true;
        }
    }
    if (!m_error.isEmpty()) {
        m_ended = true;
        if (!m_tokens.empty() && m_tokens.back().type == QXmlStreamReader::Characters)
            m_tokens.pop_back(); // a text cut off by the error
        queue(QXmlStreamReader::Invalid).line = m_errorLine;
    }
    return true;
}

// The indentation between elements, shared instead of decoded again and again.
QString XmlTokenizer::whitespaceText(const xmlChar *text, int size)
{
    if (size_t(size) >= m_whitespace.size())
        return fromXml(text, size);
    QString &cached = m_whitespace[size];
    const auto same = [](xmlChar byte, QChar c) { return byte == c.unicode(); };
    if (cached.size() != size || !std::equal(text, text + size, cached.cbegin(), same))
        cached = fromXml(text, size);
    return cached;
}

const QString &XmlTokenizer::cachedName(const xmlChar *name)
{
    auto &entry = m_names[(quintptr(name) >> 3) % m_names.size()];
    if (entry.first != name)
        entry = {name, fromXml(name)};
    return entry.second;
}
