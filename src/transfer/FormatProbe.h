#pragma once

#include <QByteArray>
#include <QString>

// What a format's probe looks at to recognise a file by its content: the first bytes of the
// file (kProbeBytes at most, empty for a folder) and its path. Probes never throw and never
// read more than they are given, except those that must look inside (an SQLite file's tables).
namespace FormatProbe
{

inline constexpr qint64 kProbeBytes = 8192;

// The first kProbeBytes of the file; empty for a folder, a missing or an unreadable file.
QByteArray head(const QString &path);

// The name of the XML document's root element as far as `head` shows it (a byte-order mark,
// the XML declaration, comments, processing instructions and a DOCTYPE skipped); empty when
// `head` does not start like XML.
QString xmlRoot(const QByteArray &head);

// Whether the file's extension, lower case, is one of `extensions` (space separated).
bool hasExtension(const QString &path, const char *extensions);

bool isSqlite(const QByteArray &head);
bool isZip(const QByteArray &head);

} // namespace FormatProbe
