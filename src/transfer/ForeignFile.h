#pragma once

#include <QFile>
#include <QFileInfo>
#include <QString>

// Opens a file to read from, or throws TransferError saying in plain words why it cannot
// be read: it is not there, it is a folder, it may not be read.
void OpenForeignFile(QFile &file);

// Refuses, naming it as `shownAs`, a device, pipe or socket at `info`: only files are read,
// and opening a pipe would wait for a writer. Throws TransferError.
void RefuseSpecialFile(const QFileInfo &info, const QString &shownAs);

// The file's name, for messages.
QString ForeignFileName(const QString &path);
