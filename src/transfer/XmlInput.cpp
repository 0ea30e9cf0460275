#include "XmlInput.h"

#include "ForeignFile.h"

namespace
{

// All the values of one field together (the several genres, the cast's rows).
constexpr qint64 kMaxFieldLength = 4 * qint64(kMaxValueLength);

} // namespace

void UnusedNames::add(const QString &name)
{
    if (m_seen.size() > kMaxNames || m_seen.contains(name))
        return;
    m_seen.insert(name);
    m_list << (m_seen.size() > kMaxNames ? QStringLiteral("others") : name);
}

std::unique_ptr<QFile> openInputFile(const QString &path)
{
    return OpenForeignFile(path, FileNaming::ByPath);
}

void XmlInput::requireRoot(QStringView root, const QString &notThis)
{
    if (!nextChild() || name() != root)
        fail(notThis);
}

XmlInput::XmlInput(const QString &path, QIODevice *device)
    : m_path(path), m_guard(device), m_xml(&m_guard)
{
}

void XmlInput::fail(const QString &what) const
{
    throw TransferError{QStringLiteral("The file %1 %2").arg(m_path, what)};
}

QXmlStreamReader::TokenType XmlInput::readToken()
{
    const auto token = m_xml.readNext();
    if (token == QXmlStreamReader::Invalid && !m_guard.failure().isEmpty())
        fail(m_guard.failure());
    if (token == QXmlStreamReader::Invalid)
        fail(QStringLiteral("is not well-formed XML (line %1: %2).")
                 .arg(m_xml.errorLine())
                 .arg(m_xml.errorString()));
    if (token == QXmlStreamReader::EntityReference)
        fail(QStringLiteral("uses the entity &%1; that it does not declare (line %2).")
                 .arg(m_xml.name())
                 .arg(m_xml.lineNumber()));
    return token;
}

QXmlStreamReader::TokenType XmlInput::next()
{
    for (;;) {
        const auto token = readToken();
        if (token == QXmlStreamReader::Characters && !m_xml.isWhitespace())
            return token;
        if (token != QXmlStreamReader::Characters && token != QXmlStreamReader::Comment &&
            token != QXmlStreamReader::ProcessingInstruction)
            return token;
    }
}

bool XmlInput::nextChild()
{
    for (;;) {
        const auto token = next();
        if (token == QXmlStreamReader::StartElement)
            return true;
        if (token == QXmlStreamReader::EndElement || token == QXmlStreamReader::EndDocument)
            return false;
    }
}

// Adds the current text to `text`, refusing a value beyond what the catalog takes; `total`
// counts the characters of the whole field.
void XmlInput::append(QString &text, qint64 &total)
{
    total += m_xml.text().size();
    if (text.size() + m_xml.text().size() > kMaxValueLength || total > kMaxFieldLength)
        refuseLongValue();
    text += m_xml.text();
}

void XmlInput::refuseLongValue() const
{
    fail(QStringLiteral("holds a value longer than the catalog takes (%1 characters) (line %2).")
             .arg(kMaxValueLength)
             .arg(m_xml.lineNumber()));
}

void XmlInput::addRow(qsizetype rows)
{
    if (rows >= XmlLimits::kMaxRowsPerField)
        fail(QStringLiteral("holds a field of more than %1 values (line %2).")
                 .arg(XmlLimits::kMaxRowsPerField)
                 .arg(m_xml.lineNumber()));
}

QString XmlInput::readText()
{
    QString text;
    qint64 total = 0;
    for (;;) {
        const auto token = readToken();
        if (token == QXmlStreamReader::Characters)
            append(text, total);
        else if (token == QXmlStreamReader::StartElement)
            skipElement();
        else if (token == QXmlStreamReader::EndElement)
            return text;
    }
}

void XmlInput::skipElement()
{
    for (int depth = 1; depth > 0;) {
        const auto token = readToken();
        if (token == QXmlStreamReader::StartElement)
            ++depth;
        else if (token == QXmlStreamReader::EndElement)
            --depth;
        else if (token == QXmlStreamReader::EndDocument)
            return;
    }
}

QList<QStringList> XmlInput::readTable()
{
    QList<QStringList> rows;
    QString own;
    qint64 total = 0;
    for (auto token = readToken(); token != QXmlStreamReader::EndElement; token = readToken()) {
        if (token == QXmlStreamReader::StartElement) {
            addRow(rows.size());
            rows << readValues();
            for (const QString &value : rows.last())
                total += value.size();
        } else if (token == QXmlStreamReader::Characters) {
            append(own, total);
        }
        if (total > kMaxFieldLength)
            refuseLongValue();
    }
    return rows.isEmpty() ? QList<QStringList>{{own}} : rows;
}

QStringList XmlInput::readValues()
{
    QStringList values;
    QString own;
    qint64 total = 0;
    for (auto token = readToken(); token != QXmlStreamReader::EndElement; token = readToken()) {
        if (token == QXmlStreamReader::StartElement) {
            addRow(values.size());
            values << readText();
            total += values.last().size();
        } else if (token == QXmlStreamReader::Characters) {
            append(own, total);
        }
        if (total > kMaxFieldLength)
            refuseLongValue();
    }
    return values.isEmpty() ? QStringList{own} : values;
}
