#pragma once

#include <QString>

// XML 1.0 cannot hold most C0 control characters (nor U+FFFE, U+FFFF), so each is written as
// the private-use escape U+E000 followed by U+E100 plus its code (U+E1FE, U+E1FF for the two
// non-characters); a U+E000 of the text is doubled. Reading undoes exactly that, so any text
// goes through a Tellico file unchanged.
QString escapeForXml(const QString &text);
QString unescapeFromXml(const QString &text);

// Tellico keeps the line breaks of a paragraph field as "<br/>" (and reads "<br>" too). The
// rest of the text is written as it stands, as Tellico itself writes what a user types: a
// "<br>" tag already in the text comes back as a line break, as it shows in Tellico.
QString paragraphToTellico(const QString &text);
QString paragraphFromTellico(const QString &text);
