#pragma once

#include "XmlInput.h"

#include <vector>

// One element of an XML file read whole: a movie entry of another program's export, small
// enough to look at as a tree. Reading stops, refusing the file, at the size given.
struct XmlNode {
    QString name;
    QString text; // the element's own text, children left out
    QXmlStreamAttributes attributes;
    std::vector<XmlNode> children;

    // The first child named `name`, or nothing.
    const XmlNode *child(QAnyStringView childName) const;
    // The trimmed text of the first child named `name`; of its "displayname" or "name" child
    // when it has one (Collectorz and Data Crow write a list entry so).
    QString value(QAnyStringView childName) const;
    // The values of every child of the first child named `listName` (genres/genre, ...).
    QStringList values(QAnyStringView listName) const;
    // The own text, or the text of a "displayname" or "name" child.
    QString shownText() const;
};

// Reads the element that has just started, to its end. A file whose element holds more than
// `maxNodes` elements or `maxChars` characters of text is refused with the limit's name.
XmlNode readXmlNode(XmlInput &xml, int maxNodes = 20000, qsizetype maxChars = 4 * kMaxValueLength);

// What the first few KiB of an XML file show: its root element, the root's attributes and the
// name of the root's first child element (empty when not within the bytes given).
struct XmlHead {
    QString root;
    QXmlStreamAttributes attributes;
    QString firstChild;
    QString secondLevel; // the first grandchild, for files that wrap their items in a list
};
XmlHead readXmlHead(QByteArrayView head);
