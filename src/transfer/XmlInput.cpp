#include "XmlInput.h"

#include <QFileInfo>

std::unique_ptr<QFile> openInputFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw TransferError{QStringLiteral("The file %1 does not exist.").arg(path)};
    if (info.isDir())
        throw TransferError{QStringLiteral("%1 is a folder, not a file.").arg(path)};
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        throw TransferError{
            QStringLiteral("The file %1 cannot be read: %2.").arg(path, file->errorString())};
    return file;
}

XmlInput::XmlInput(const QString &path, QIODevice *device) : m_path(path), m_xml(device) {}

void XmlInput::fail(const QString &what) const
{
    throw TransferError{QStringLiteral("The file %1 %2").arg(m_path, what)};
}

QXmlStreamReader::TokenType XmlInput::readToken()
{
    const auto token = m_xml.readNext();
    if (token == QXmlStreamReader::Invalid)
        fail(QStringLiteral("is not well-formed XML (line %1: %2).")
                 .arg(m_xml.lineNumber())
                 .arg(m_xml.errorString()));
    if (token == QXmlStreamReader::DTD
        && (!m_xml.entityDeclarations().isEmpty() || m_xml.text().contains(u"<!ENTITY")))
        fail(QStringLiteral("declares entities (line %1). Files with entity declarations are "
                            "not read.")
                 .arg(m_xml.lineNumber()));
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
        if (token != QXmlStreamReader::Characters && token != QXmlStreamReader::Comment
            && token != QXmlStreamReader::ProcessingInstruction)
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

QString XmlInput::readText()
{
    QString text;
    for (;;) {
        const auto token = readToken();
        if (token == QXmlStreamReader::Characters)
            text += m_xml.text();
        else if (token == QXmlStreamReader::StartElement)
            skipElement();
        else if (token == QXmlStreamReader::EndElement)
            return text;
    }
}

void XmlInput::skipElement()
{
    while (nextChild())
        skipElement();
}

QList<QStringList> XmlInput::readTable()
{
    QList<QStringList> rows;
    QString own;
    for (auto token = readToken(); token != QXmlStreamReader::EndElement; token = readToken()) {
        if (token == QXmlStreamReader::StartElement)
            rows << readValues();
        else if (token == QXmlStreamReader::Characters)
            own += m_xml.text();
    }
    return rows.isEmpty() ? QList<QStringList>{{own}} : rows;
}

QStringList XmlInput::readValues()
{
    QStringList values;
    QString own;
    for (auto token = readToken(); token != QXmlStreamReader::EndElement; token = readToken()) {
        if (token == QXmlStreamReader::StartElement)
            values << readText();
        else if (token == QXmlStreamReader::Characters)
            own += m_xml.text();
    }
    return values.isEmpty() ? QStringList{own} : values;
}
