#pragma once

#include <QString>

// True when the file at `path` begins like a Microsoft Access database: "Standard Jet DB"
// (Jet 3 and Jet 4, Access 97 to 2003) or "Standard ACE DB" (Access 2007 and later) at
// byte 4. False for anything else, including a file that cannot be read.
bool IsAccessFile(const QString &path);
