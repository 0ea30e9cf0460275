#pragma once

#include "CsvFormat.h"
#include "MovieRow.h"

#include <memory>
#include <optional>

enum class FileFormat { Csv, Tellico, TellicoXml, Gcstar, Access, Html };

// The format a --format name ("csv", "tc", "xml", "gcs", "mdb", "html", letter case aside)
// or, when `name` is empty, a file's extension stands for; nothing for an unknown one.
std::optional<FileFormat> FormatNamed(const QString &name, const QString &path);

// The formats that can be read (imported) and written (exported), as extensions for messages.
QString ReadableFormats();
QString WritableFormats();
bool CanRead(FileFormat format);
bool CanWrite(FileFormat format);

// Opens the file in `format`, which CanRead / CanWrite. `csv` applies to CSV files; Access
// files are read with `readerProgram`. Throws TransferError.
std::unique_ptr<MovieReader> OpenReader(FileFormat format, const QString &path,
                                        const CsvOptions &csv, const QString &readerProgram);
std::unique_ptr<MovieWriter> OpenWriter(FileFormat format, const QString &path);
