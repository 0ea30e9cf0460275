#include "Profile.h"

#include "Windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace
{

enum class Encoding { Utf8, Windows1252 };

// A file's text and how to turn edited text back into the same kind of bytes.
struct FileText {
    QByteArray bom;
    Encoding encoding = Encoding::Utf8;
    QString text;
};

constexpr char Utf8Bom[] = "\xEF\xBB\xBF";

FileText decodeFile(QByteArrayView bytes)
{
    FileText file;
    if (bytes.startsWith(QByteArrayView(Utf8Bom))) {
        file.bom = Utf8Bom;
        bytes = bytes.sliced(file.bom.size());
    }
    // Stateless, so that a sequence cut off at the end counts as invalid.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    file.text = utf8(bytes);
    if (utf8.hasError()) {
        file.encoding = Encoding::Windows1252;
        file.text = Windows1252::decode(bytes);
    }
    return file;
}

QByteArray encodeFile(const FileText &file, QStringView text)
{
    return file.bom + (file.encoding == Encoding::Utf8 ? text.toUtf8() : Windows1252::encode(text));
}

// The first MaxReadSize bytes of a regular file, and whether that is the whole file; nullopt
// when there is no regular file to read. Pipes and devices are refused before opening: opening
// or reading them could block for ever.
std::optional<QByteArray> readHead(const QString &path, bool &complete)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.isSequential())
        return std::nullopt;
    const QByteArray bytes = file.read(qMin(file.size(), Profile::MaxReadSize));
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    complete = file.atEnd();
    return bytes;
}

// Drops a last line cut off by the size limit, which could end inside a UTF-8 sequence.
QByteArray wholeLines(const QByteArray &bytes)
{
    const qsizetype lastBreak = qMax(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
    return bytes.left(lastBreak + 1);
}

struct Line {
    QStringView text; // without its line break
    qsizetype begin = 0;
    qsizetype next = 0; // just after the line break

    qsizetype end() const { return begin + text.size(); }
    bool hasBreak() const { return next > end(); }
};

class LineReader
{
  public:
    explicit LineReader(QStringView text) : m_text(text) {}

    bool next(Line &line)
    {
        if (m_pos >= m_text.size())
            return false;
        qsizetype end = m_pos;
        while (end < m_text.size() && m_text[end] != u'\n' && m_text[end] != u'\r')
            ++end;
        line.begin = m_pos;
        line.text = m_text.sliced(m_pos, end - m_pos);
        if (m_text.sliced(end).startsWith(u"\r\n"))
            end += 2;
        else if (end < m_text.size())
            ++end;
        line.next = m_pos = end;
        return true;
    }

  private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

struct Parsed {
    enum Kind { Other, Section, Entry } kind = Other;
    QStringView name;         // section name or key, without surrounding blanks
    QStringView value;        // without surrounding blanks, quotes kept
    qsizetype valueBegin = 0; // in the line: the first character after '=' that is not a blank
};

Parsed parse(QStringView line)
{
    const QStringView trimmed = line.trimmed();
    const qsizetype close = trimmed.indexOf(u']');
    if (trimmed.startsWith(u'[') && close > 0)
        return {Parsed::Section, trimmed.sliced(1, close - 1).trimmed(), {}, 0};
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return {};
    qsizetype valueBegin = equals + 1;
    while (valueBegin < line.size() && line[valueBegin].isSpace())
        ++valueBegin;
    return {Parsed::Entry, line.first(equals).trimmed(), line.sliced(equals + 1).trimmed(),
            valueBegin};
}

QStringView unquoted(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

// Upper-casing first applies the full mappings (ß to SS); folding then evens out the rest.
QString fold(QStringView name)
{
    return name.trimmed().toString().toUpper().toCaseFolded();
}

// The line break the file already uses; a new file gets the platform's own.
QString lineBreakOf(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n')
            return QStringLiteral("\n");
        if (text[i] == u'\r')
            return text.sliced(i).startsWith(u"\r\n") ? QStringLiteral("\r\n")
                                                      : QStringLiteral("\r");
    }
#ifdef Q_OS_WIN
    return QStringLiteral("\r\n");
#else
    return QStringLiteral("\n");
#endif
}

// Where write() puts its text: over the value of an existing key (replaceEnd >= 0), else after
// the last non-blank line of the section when there is one.
struct Placement {
    bool sectionFound = false;
    qsizetype at = 0;
    qsizetype replaceEnd = -1;
    bool needsBreak = false; // the line before `at` ends the file without a line break
};

Placement placement(QStringView text, const QString &sectionId, const QString &keyId)
{
    Placement place;
    // Keys before the first section header form the section with the empty name.
    bool inSection = place.sectionFound = sectionId.isEmpty();
    LineReader lines(text);
    Line line;
    while (lines.next(line)) {
        const Parsed parsed = parse(line.text);
        if (parsed.kind == Parsed::Section) {
            if (inSection)
                break; // only the first section of a name counts, as in reading
            inSection = place.sectionFound = fold(parsed.name) == sectionId;
        } else if (inSection && parsed.kind == Parsed::Entry && fold(parsed.name) == keyId) {
            return {true, line.begin + parsed.valueBegin, line.end(), false};
        }
        if (inSection && !line.text.trimmed().isEmpty()) {
            place.at = line.next;
            place.needsBreak = !line.hasBreak();
        }
    }
    return place;
}

QString edited(const QString &text, const QString &section, const QString &key,
               const QString &value)
{
    const QString eol = lineBreakOf(text);
    const Placement place = placement(text, fold(section), fold(key));
    if (place.replaceEnd >= 0)
        return text.first(place.at) + value + text.sliced(place.replaceEnd);
    const QString entry = key + u'=' + value + eol;
    if (place.sectionFound)
        return text.first(place.at) + (place.needsBreak ? eol : QString()) + entry +
               text.sliced(place.at);
    const bool open = !text.isEmpty() && !text.endsWith(u'\n') && !text.endsWith(u'\r');
    return text + (open ? eol : QString()) + u'[' + section + u']' + eol + entry;
}

bool hasLineBreak(QStringView text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

// Whether the names and the value can be written without changing how the file's lines read.
bool fitsOnLines(const QString &section, const QString &key, const QString &value)
{
    return !hasLineBreak(section) && !hasLineBreak(key) && !hasLineBreak(value) &&
           !section.contains(u']') && !key.contains(u'=') && !key.startsWith(u'[');
}

bool save(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // A file we may change in a folder we may not add to is written in place instead.
    file.setDirectWriteFallback(true);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

Profile::Profile(QString path) : m_path(std::move(path))
{
    reload();
}

void Profile::reload()
{
    bool complete = false;
    const std::optional<QByteArray> bytes = readHead(m_path, complete);
    if (!bytes) {
        m_sections.clear();
        return;
    }
    index(decodeFile(complete ? *bytes : wholeLines(*bytes)).text);
}

void Profile::index(QStringView text)
{
    m_sections.clear();
    // Keys before the first section header form the section with the empty name.
    QHash<QString, QString> *section = &m_sections[QString()];
    LineReader lines(text);
    Line line;
    while (lines.next(line)) {
        const Parsed parsed = parse(line.text);
        if (parsed.kind == Parsed::Section) {
            const QString name = fold(parsed.name);
            // Adding a section may move the others; `section` is only used until the next one.
            section = m_sections.contains(name) ? nullptr : &m_sections[name];
        } else if (parsed.kind == Parsed::Entry && section) {
            const QString key = fold(parsed.name);
            if (!section->contains(key))
                section->insert(key, unquoted(parsed.value).toString());
        }
    }
}

std::optional<QString> Profile::value(const QString &section, const QString &key) const
{
    const auto found = m_sections.constFind(fold(section));
    if (found == m_sections.cend())
        return std::nullopt;
    const auto entry = found->constFind(fold(key));
    if (entry == found->cend())
        return std::nullopt;
    return *entry;
}

QString Profile::value(const QString &section, const QString &key, const QString &def) const
{
    return value(section, key).value_or(def);
}

bool Profile::write(const QString &section, const QString &key, const QString &value)
{
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    if (!fitsOnLines(sectionName, keyName, value))
        return false;
    FileText file;
    const QFileInfo info(m_path);
    if (info.exists()) {
        bool complete = false;
        const std::optional<QByteArray> bytes = readHead(m_path, complete);
        // Never rewrite what cannot be given back byte for byte.
        if (!bytes || !complete || !info.isWritable())
            return false;
        file = decodeFile(*bytes);
        if (encodeFile(file, file.text) != *bytes)
            return false;
    }
    const QByteArray bytes = encodeFile(file, edited(file.text, sectionName, keyName, value));
    if (!save(m_path, bytes))
        return false;
    // From the bytes written: a character the file's code page lacks was written as '?'.
    index(decodeFile(bytes).text);
    return true;
}
