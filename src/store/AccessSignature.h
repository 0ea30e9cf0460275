#pragma once

#include <QByteArray>

// True when a file's first bytes `head` are those of a Microsoft Access database: "Standard
// Jet DB" (Jet 3 and Jet 4, Access 97 to 2003) or "Standard ACE DB" (Access 2007 and later),
// at byte 4. A file cut short after the signature still begins like one; the reader then
// finds it damaged.
inline bool IsAccessSignature(const QByteArray &head)
{
    const QByteArray signature = head.mid(4, 15);
    return signature == "Standard Jet DB" || signature == "Standard ACE DB";
}
