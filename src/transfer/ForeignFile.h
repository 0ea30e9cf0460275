#pragma once

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <memory>

// How a refusal names a file that cannot be opened. ByName: "movies.csv was not found.", "...
// cannot be read: permission denied." ByPath, as the XML readers word it: "The file
// /home/ann/movies.xml does not exist.", "The file ... cannot be read: Permission denied."
enum class FileNaming { ByName, ByPath };

// Opens a file to read from, or throws TransferError saying in plain words why it cannot
// be read: it is not there, it is a folder, a device, pipe or socket, it may not be read.
void OpenForeignFile(QFile &file, FileNaming naming = FileNaming::ByName);
std::unique_ptr<QFile> OpenForeignFile(const QString &path, FileNaming naming);

// Refuses, naming it as `shownAs`, a device, pipe or socket at `info`: only files are read,
// and opening a pipe would wait for a writer. Throws TransferError.
void RefuseSpecialFile(const QFileInfo &info, const QString &shownAs);

// The file's name, for messages.
QString ForeignFileName(const QString &path);
