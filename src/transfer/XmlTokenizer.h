#pragma once

#include <QIODevice>
#include <QString>
#include <QXmlStreamReader>

#include <array>
#include <deque>

struct _xmlParserCtxt;
struct _xmlError;

// libxml2's SAX2 parser behind the part of QXmlStreamReader's interface that XmlInput uses:
// tokens of QXmlStreamReader's types, an empty element given as a start and an end. The file
// is parsed a read of the device at a time, its tokens queued until asked for. No DTD is
// loaded, no entity substituted, nothing fetched from the network, and libxml2's own limits
// stay (no XML_PARSE_HUGE). libxml2 without a tree, tokens included, takes less than half the
// work of QXmlStreamReader, which is what a collection of 100,000 movies needs.
class XmlTokenizer
{
  public:
    explicit XmlTokenizer(QIODevice *source);
    ~XmlTokenizer();
    XmlTokenizer(const XmlTokenizer &) = delete;
    XmlTokenizer &operator=(const XmlTokenizer &) = delete;

    // The next token; Invalid, again and again, once the file is found wrong (errorString()
    // says why) or cannot be read; EndDocument, again and again, at its end.
    QXmlStreamReader::TokenType readNext();
    // The local name of the current element (start or end) or entity reference.
    QStringView name() const { return m_token.name; }
    // The text of the current Characters token.
    QStringView text() const { return m_token.text; }
    bool isWhitespace() const { return m_token.whitespace; }
    // The current start element's attributes, namespace declarations left out.
    QXmlStreamAttributes attributes() const { return m_token.attributes; }
    // The line the current token ends on.
    qint64 lineNumber() const { return m_token.line; }
    // libxml2's words for the first error, with its line in errorLine().
    QString errorString() const { return m_error; }
    qint64 errorLine() const { return m_errorLine; }

  private:
    struct Token {
        QXmlStreamReader::TokenType type = QXmlStreamReader::NoToken;
        QString name, text;
        QXmlStreamAttributes attributes;
        bool whitespace = false;
        qint64 line = 0;
    };
    struct Callbacks;
    bool complete() const;
    bool parseMore();
    Token &queue(QXmlStreamReader::TokenType type);
    const QString &cachedName(const unsigned char *name);
    QString whitespaceText(const unsigned char *text, int size);

    QIODevice *m_source;
    _xmlParserCtxt *m_parser = nullptr;
    std::deque<Token> m_tokens;
    Token m_token;
    bool m_ended = false; // the last token is queued
    int m_depth = 0;      // elements open
    QString m_error;
    qint64 m_errorLine = 0;
    // libxml2 keeps each name once (its dictionary), so a name's address stands for it:
    // the names last decoded, by address.
    std::array<std::pair<const unsigned char *, QString>, 256> m_names{};
    std::array<QString, 64> m_whitespace; // by length
};
