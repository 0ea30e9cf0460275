#include "XmlNode.h"

namespace
{

struct Budget {
    int nodes;
    qsizetype chars;
};

// Deeper than any program nests a movie's values; the limit keeps the recursion below short.
constexpr int kMaxDepth = 32;

void readInto(XmlInput &xml, XmlNode &node, Budget &budget, int depth = 0)
{
    if (depth > kMaxDepth)
        xml.fail(QStringLiteral("nests an entry's elements deeper than any movie has (the entry "
                                "depth limit, %1).")
                     .arg(kMaxDepth));
    node.name = xml.name().toString();
    node.attributes = xml.attributes();
    for (const auto &attribute : node.attributes)
        budget.chars -= attribute.value().size();
    for (;;) {
        const auto token = xml.next();
        if (token == QXmlStreamReader::EndElement || token == QXmlStreamReader::EndDocument)
            return;
        if (token == QXmlStreamReader::Characters) {
            budget.chars -= xml.text().size();
            if (budget.chars >= 0)
                node.text += xml.text();
        } else if (token == QXmlStreamReader::StartElement) {
            if (--budget.nodes < 0)
                xml.fail(QStringLiteral("holds an entry of more elements than any movie has "
                                        "(the entry size limit)."));
            node.children.emplace_back();
            readInto(xml, node.children.back(), budget, depth + 1);
        }
        if (budget.chars < 0)
            xml.fail(QStringLiteral("holds an entry of more text than any movie has (the entry "
                                    "size limit)."));
    }
}

} // namespace

XmlNode readXmlNode(XmlInput &xml, int maxNodes, qsizetype maxChars)
{
    XmlNode node;
    Budget budget{maxNodes, maxChars};
    readInto(xml, node, budget);
    return node;
}

const XmlNode *XmlNode::child(QAnyStringView childName) const
{
    for (const XmlNode &node : children)
        if (QAnyStringView::equal(node.name, childName))
            return &node;
    return nullptr;
}

QString XmlNode::shownText() const
{
    for (const char *shown : {"displayname", "name"})
        if (const XmlNode *node = child(QLatin1String(shown)))
            return node->text.trimmed();
    return text.trimmed();
}

QString XmlNode::value(QAnyStringView childName) const
{
    const XmlNode *node = child(childName);
    return node ? node->shownText() : QString();
}

QStringList XmlNode::values(QAnyStringView listName) const
{
    QStringList list;
    if (const XmlNode *node = child(listName))
        for (const XmlNode &entry : node->children)
            if (!entry.shownText().isEmpty())
                list << entry.shownText();
    return list;
}

XmlHead readXmlHead(QByteArrayView head)
{
    XmlHead found;
    QXmlStreamReader xml(head.toByteArray());
    int depth = 0;
    while (!xml.atEnd() && found.secondLevel.isEmpty()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::DTD && !xml.entityDeclarations().isEmpty())
            break; // the reader refuses such a file; nothing here expands it
        if (token == QXmlStreamReader::EndElement)
            --depth;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (++depth == 1)
            found.root = xml.name().toString(), found.attributes = xml.attributes();
        else if (depth == 2 && found.firstChild.isEmpty())
            found.firstChild = xml.name().toString();
        else if (depth == 3)
            found.secondLevel = xml.name().toString();
    }
    return found;
}
