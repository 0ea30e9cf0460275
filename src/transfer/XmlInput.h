#pragma once

#include "MovieRow.h"
#include "XmlGuard.h"
#include "XmlTokenizer.h"

#include <QFile>
#include <QSet>
#include <QXmlStreamReader>

#include <memory>

// "1 movie", "3 movies": a count for the readers' notes, of `noun` and its plural.
inline QString counted(int count, const char *noun = "movie")
{
    return QStringLiteral("%1 %2%3").arg(count).arg(QLatin1String(noun)).arg(count == 1 ? "" : "s");
}
inline QString movieCount(int count)
{
    return counted(count);
}

// A file's field names that go into no catalog column, each once, in the order first met:
// linear in the names seen, and at most kMaxNames of them (then "others").
class UnusedNames
{
  public:
    static constexpr int kMaxNames = 100;
    void add(const QString &name);
    QStringList list() const { return m_list; }

  private:
    QSet<QString> m_seen;
    QStringList m_list;
};

// Opens a file to read, refusing a folder, a missing file and one that cannot be read.
std::unique_ptr<QFile> openInputFile(const QString &path);

// A streaming XML reader that refuses, with a message naming the file, what it never expands:
// entity declarations, entity references and any DTD of the file's own, besides anything not
// well formed and anything beyond XmlLimits (checked while reading, see XmlGuard). A value
// longer than the catalog takes (kMaxValueLength), or a field of more than kMaxRowsPerField
// values, is refused as it is read.
class XmlInput
{
  public:
    XmlInput(const QString &path, QIODevice *device);
    // The next token that is not whitespace, a comment or a processing instruction.
    QXmlStreamReader::TokenType next();
    // The next child start element of the current element; false at the current element's end.
    bool nextChild();
    // The text of the current element (child elements skipped), up to its end.
    QString readText();
    // The rows of a table element: the values of each child (Tellico's cast rows of columns,
    // GCstar's lines of cols); an element with no child gives one row of its own text.
    QList<QStringList> readTable();
    // The values of a field element: the texts of its children when it has any (a field of
    // several values), else its own text.
    QStringList readValues();
    // Skips the rest of the current element, however deep (without recursion).
    void skipElement();
    QStringView name() const { return m_xml.name(); }
    // The text of the current Characters token.
    QStringView text() const { return m_xml.text(); }
    QXmlStreamAttributes attributes() const { return m_xml.attributes(); }
    [[noreturn]] void fail(const QString &what) const;
    // Reads the root element; a file whose root is another is refused as `notThis` ("is not
    // a GCstar collection.").
    void requireRoot(QStringView root, const QString &notThis);
    const QString &path() const { return m_path; }

  private:
    QXmlStreamReader::TokenType readToken();
    void append(QString &text, qint64 &total);
    void addRow(qsizetype rows);
    [[noreturn]] void refuseLongValue() const;
    QString m_path;
    XmlGuard m_guard;
    XmlTokenizer m_xml;
};

// What a reader of one foreign XML file holds: the file, the XML read from it, and its
// progress through the file. `Reader` is the reader's own base (MovieReader, ForeignReader).
template <class Reader> class XmlFileReader : public Reader
{
  public:
    qint64 bytesRead() const override { return m_file->pos(); }
    qint64 bytesTotal() const override { return m_file->size(); }

  protected:
    explicit XmlFileReader(const QString &path)
        : m_file(openInputFile(path)), m_xml(path, m_file.get())
    {
    }
    std::unique_ptr<QFile> m_file;
    XmlInput m_xml;
};
