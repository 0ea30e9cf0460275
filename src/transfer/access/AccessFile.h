#pragma once

#include <QString>

// True when the file at `path` begins like a Microsoft Access database (IsAccessSignature).
// False for anything else, including a file that cannot be read.
bool IsAccessFile(const QString &path);
