#pragma once

#include <QFile>
#include <QString>

// Opens a file to read from, or throws TransferError saying in plain words why it cannot
// be read: it is not there, it is a folder, it may not be read.
void OpenForeignFile(QFile &file);

// The file's name, for messages.
QString ForeignFileName(const QString &path);
