#pragma once

#include <QString>

// The plain text of an RTF document as Delicious Library stores a description: groups of
// fonts, colours and styles left out, control words dropped, \par as a line break, \'hh as
// the Mac Roman or Windows character it stands for taken as Latin-1. Text that is not RTF is
// returned as it is.
QString rtfToText(const QString &rtf);
